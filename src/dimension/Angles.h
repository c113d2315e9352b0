// Degrees to radians for the construction's own trigonometry (the markers, the text direction,
// the horizontal line). These formulas are plain double arithmetic throughout; only the MyFunc
// routines carry extended precision inside.
#pragma once

#include <cmath>

#include "util/MyFunc.h"

namespace dovarin {

constexpr double kPiDouble = static_cast<double>(kPi);

// Divided by 180 first, then times pi.
inline double DegreesToRadians(double degrees) {
    return degrees / 180.0 * kPiDouble;
}

inline double CosDegrees(double degrees) {
    return std::cos(DegreesToRadians(degrees));
}
inline double SinDegrees(double degrees) {
    return std::sin(DegreesToRadians(degrees));
}

}  // namespace dovarin
