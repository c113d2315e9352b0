// The markers at both ends of the dimension line.
//
// A marker is a line arrow (two strokes from the end point) or one of eleven shapes that the host
// draws itself from a point record with the shape's code. Before drawing, the two markers are
// measured against the dimension line: when their extents along it add up to more than its
// length, both are reversed (they point inwards from outside) and the dimension line is continued
// beyond each end by the reversed-arrow overshoot.
#include <array>
#include <cmath>

#include "dimension/Angles.h"
#include "dimension/Dimension.h"
#include "exchange/JwwGaibu.h"
#include "util/MyFunc.h"

namespace dovarin {

namespace {

constexpr double kHalfTurn = 180;
constexpr double kFullTurn = 360;

struct MarkerShape {
    int code;       // point code the host draws
    double extent;  // along the dimension line, paper mm at end-point scale 1
};

// By MarkerKind. Kind 0, the line arrow, is no shape: its extent comes from the arrow settings.
const std::array<MarkerShape, 12>& MarkerShapes() {
    static const double kDiagonal = std::sqrt(2.0) * 1.25;
    static const std::array<MarkerShape, 12> shapes = {{
        {0, 0},           // 線矢印 (line arrow)
        {1, 7.5},         // △
        {2, 1.25},        // □
        {3, 1.25},        // Ｏ
        {4, 1.25},        // ○
        {5, 1.25},        // ■
        {6, 7.5},         // ▲
        {7, 1.25},        // ●
        {8, kDiagonal},   // ～
        {9, 7.5},         // ＞
        {10, kDiagonal},  // ／
        {11, 7.5},        // △
    }};
    return shapes;
}

// Kinds 1 to 11 are shapes. A kind outside 0..11 cannot come from the dialog's lists; it is
// drawn as the line arrow.
bool IsShapeKind(int kind) {
    return kind >= 1 && kind <= 11;
}

// Extent along the dimension line in drawing units. The end-point scale enlarges the shapes
// only; the arrow's extent is the projection of one stroke on the line (negative above 90°).
double MarkerExtent(int kind, double s, const DimensionSettings& settings) {
    if (IsShapeKind(kind)) return MarkerShapes()[kind].extent * settings.EndPointScale * s;
    return static_cast<double>(settings.ArrowLength * CosDegrees(settings.ArrowAngle) * s);
}

Point Offset(Point from, double length, double degrees) {
    return {static_cast<double>(from.x + length * CosDegrees(degrees)),
            static_cast<double>(from.y + length * SinDegrees(degrees))};
}

void PutDimensionStroke(Point from, Point to) {
    PutAttributeFlags(kFlagDimension);
    PutSegment(from.x, from.y, to.x, to.y);
}

// Direction from `from` to `to`, turned by `turn` and kept below a full turn.
double TurnedDirection(Point from, Point to, double turn) {
    double angle = DirectionDegrees(to.x - from.x, to.y - from.y) + turn;
    if (angle >= kFullTurn) angle -= kFullTurn;
    return angle;
}

// One marker at `end`, its outward direction `phi` (already turned when reversed).
void DrawMarker(Point end, double phi, int kind, bool reversed, double s,
                const DimensionSettings& settings) {
    const double overshoot = settings.ReverseOvershoot * s;
    if (reversed && overshoot > kGeomZero) {
        PutDimensionStroke(end, Offset(end, overshoot, phi + kHalfTurn));
    }
    if (IsShapeKind(kind)) {
        PutAttributeFlags(kFlagDimension);
        PutPoint(MarkerShapes()[kind].code, end.x, end.y, settings.EndPointScale, phi);
        return;
    }
    const double length = settings.ArrowLength * s;
    const double beta = settings.ArrowAngle;
    PutDimensionStroke(end, Offset(end, length, phi + kHalfTurn + beta));
    PutDimensionStroke(end, Offset(end, length, phi + kHalfTurn - beta));
}

}  // namespace

void DrawEndMarkers(Point f1, Point f2, double s, const DimensionSettings& settings) {
    const double extents = MarkerExtent(settings.StartMarker, s, settings) +
                           MarkerExtent(settings.EndMarker, s, settings);
    // Markers that exactly fill the line still fit.
    const bool reversed = extents > Distance(f1, f2);
    const double turn = reversed ? kHalfTurn : 0;
    DrawMarker(f1, TurnedDirection(f2, f1, turn), settings.StartMarker, reversed, s, settings);
    DrawMarker(f2, TurnedDirection(f1, f2, turn), settings.EndMarker, reversed, s, settings);
}

}  // namespace dovarin
