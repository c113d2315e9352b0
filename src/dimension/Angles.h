// Degrees to radians for the construction's own trigonometry, converted the way RotatePoint
// converts, so that the markers, the text direction and the horizontal line agree with the
// rotated points.
#pragma once

#include <cmath>

#include "util/MyFunc.h"

namespace dovarin {

// Divided by 180 first, then times pi, in extended precision; the result is a double.
inline double DegreesToRadians(double degrees) {
    return static_cast<double>(degrees / 180.0L * kPi);
}

// In extended precision, for formulas that round only their result to double.
inline long double CosDegrees(double degrees) {
    return std::cos(static_cast<long double>(DegreesToRadians(degrees)));
}
inline long double SinDegrees(double degrees) {
    return std::sin(static_cast<long double>(DegreesToRadians(degrees)));
}

}  // namespace dovarin
