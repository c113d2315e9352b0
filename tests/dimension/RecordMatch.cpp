#include "dimension/RecordMatch.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "util/MyFunc.h"

namespace dovarin::test {

namespace {

constexpr double kRelativeTolerance = 1e-9;
constexpr double kAbsoluteTolerance = 1e-12;

std::vector<std::string> Tokens(const std::string& record) {
    std::vector<std::string> tokens;
    std::istringstream in(record);
    for (std::string token; in >> token;) tokens.push_back(token);
    return tokens;
}

bool IsNumberToken(const std::string& token) {
    if (token.find_first_of("0123456789") == std::string::npos) return false;
    return token.find_first_not_of("0123456789.-E") == std::string::npos;
}

bool TokensMatch(const std::string& a, const std::string& e) {
    if (!IsNumberToken(a) || !IsNumberToken(e)) return a == e;
    const double x = StrToFloatOrZero(a);
    const double y = StrToFloatOrZero(e);
    return std::fabs(x - y) <= std::max(kAbsoluteTolerance, kRelativeTolerance * std::fabs(y));
}

// A text record's text (from its double quote on) is compared byte for byte, blanks included.
bool RecordMatches(const std::string& actual, const std::string& expected) {
    const std::size_t quoteA = actual.find('"');
    const std::size_t quoteE = expected.find('"');
    const std::string textA = quoteA == std::string::npos ? "" : actual.substr(quoteA);
    const std::string textE = quoteE == std::string::npos ? "" : expected.substr(quoteE);
    if (textA != textE) return false;
    const std::vector<std::string> a = Tokens(actual.substr(0, quoteA));
    const std::vector<std::string> e = Tokens(expected.substr(0, quoteE));
    if (a.size() != e.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!TokensMatch(a[i], e[i])) return false;
    }
    return true;
}

}  // namespace

std::vector<double> RecordNumbers(const std::string& record) {
    std::vector<double> numbers;
    for (const std::string& token : Tokens(record)) {
        if (!IsNumberToken(token)) return {};
        numbers.push_back(StrToFloatOrZero(token));
    }
    return numbers;
}

::testing::AssertionResult RecordsMatch(const std::vector<std::string>& actual,
                                        const std::vector<std::string>& expected) {
    const std::size_t n = std::min(actual.size(), expected.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (!RecordMatches(actual[i], expected[i])) {
            return ::testing::AssertionFailure() << "record " << i << ": got '" << actual[i]
                                                 << "', expected '" << expected[i] << "'";
        }
    }
    if (actual.size() != expected.size()) {
        return ::testing::AssertionFailure()
               << actual.size() << " records, expected " << expected.size() << "; first extra: '"
               << (actual.size() > n ? actual[n] : expected[n]) << "'";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace dovarin::test
