// Degrees to radians for the construction's own trigonometry (the markers, the text direction,
// the horizontal line). These formulas are plain double arithmetic throughout; only the MyFunc
// routines carry extended precision inside.
#pragma once

#include "util/MyFunc.h"

namespace dovarin {

constexpr double kPiDouble = static_cast<double>(kPi);

// Divided by 180 first, then times pi.
inline double DegreesToRadians(double degrees) {
    return degrees / kHalfTurn * kPiDouble;
}

// MyFunc's cosine and sine, so that the Windows build writes the same digits as this one.
inline double CosDegrees(double degrees) {
    return static_cast<double>(CosRadians(DegreesToRadians(degrees)));
}
inline double SinDegrees(double degrees) {
    return static_cast<double>(SinRadians(DegreesToRadians(degrees)));
}

}  // namespace dovarin
