// Comparing the answer's records with expected ones the way the host reads them: a number token
// matches within a relative 1e-9 (absolutely near zero, where trigonometry leaves crumbs like
// 6E-16), every other token byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dovarin::test {

::testing::AssertionResult RecordsMatch(const std::vector<std::string>& actual,
                                        const std::vector<std::string>& expected);

// The numbers of a record of numbers only ("x1 y1 x2 y2"); empty when any token is no number.
std::vector<double> RecordNumbers(const std::string& record);

}  // namespace dovarin::test
