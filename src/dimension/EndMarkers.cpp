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

struct MarkerShape {
    int code;       // point code the host draws
    double extent;  // along the dimension line, paper mm at end-point scale 1
};

// By MarkerKind. Kind 0, the line arrow, is no shape: its extent comes from the arrow settings.
const std::array<MarkerShape, 12>& MarkerShapes() {
    constexpr double kLong = kLongMarkerExtent;
    constexpr double kSmall = kSmallMarkerExtent;
    static const double kDiagonal = std::sqrt(2.0) * kSmallMarkerExtent;
    static const std::array<MarkerShape, 12> shapes = {{
        {0, 0},           // 線矢印 (line arrow)
        {1, kLong},       // △
        {2, kSmall},      // □
        {3, kSmall},      // Ｏ
        {4, kSmall},      // ○
        {5, kSmall},      // ■
        {6, kLong},       // ▲
        {7, kSmall},      // ●
        {8, kDiagonal},   // ～
        {9, kLong},       // ＞
        {10, kDiagonal},  // ／
        {11, kLong},      // △
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
    return settings.ArrowLength * CosDegrees(settings.ArrowAngle) * s;
}

Point Offset(Point from, double length, double degrees) {
    return {from.x + length * CosDegrees(degrees), from.y + length * SinDegrees(degrees)};
}

// Direction from `from` to `to`, turned by `turn` and kept below a full turn.
double TurnedDirection(Point from, Point to, double turn) {
    double angle = DirectionDegrees(to.x - from.x, to.y - from.y) + turn;
    if (angle >= kFullTurn) angle -= kFullTurn;
    return angle;
}

// One marker at `end`, its outward direction `phi` (already turned when reversed), as
// segment(from, to) and shape(code, at, angle) calls in the order of its records.
template <typename Segment, typename Shape>
void VisitMarker(Point end, double phi, int kind, bool reversed, double s,
                 const DimensionSettings& settings, Segment& segment, Shape& shape) {
    const double overshoot = settings.ReverseOvershoot * s;
    if (reversed && overshoot > kGeomZero) segment(end, Offset(end, overshoot, phi + kHalfTurn));
    if (IsShapeKind(kind)) {
        shape(MarkerShapes()[kind].code, end, phi);
        return;
    }
    const double length = settings.ArrowLength * s;
    const double beta = settings.ArrowAngle;
    segment(end, Offset(end, length, phi + kHalfTurn + beta));
    segment(end, Offset(end, length, phi + kHalfTurn - beta));
}

// Both markers, the start one first.
template <typename Segment, typename Shape>
void VisitEndMarkers(Point f1, Point f2, double s, const DimensionSettings& settings,
                     Segment segment, Shape shape) {
    const double extents = MarkerExtent(settings.StartMarker, s, settings) +
                           MarkerExtent(settings.EndMarker, s, settings);
    // Markers that exactly fill the line still fit.
    const bool reversed = extents > Distance(f1, f2);
    const double turn = reversed ? kHalfTurn : 0;
    VisitMarker(f1, TurnedDirection(f2, f1, turn), settings.StartMarker, reversed, s, settings,
                segment, shape);
    VisitMarker(f2, TurnedDirection(f1, f2, turn), settings.EndMarker, reversed, s, settings,
                segment, shape);
}

bool IsFinitePoint(Point p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

}  // namespace

void DrawEndMarkers(Point f1, Point f2, double s, const DimensionSettings& settings,
                    ExchangeWriter& out) {
    const auto segment = [&out](Point from, Point to) {
        out.PutAttributeFlags(kFlagDimension);
        out.PutSegment(from.x, from.y, to.x, to.y);
    };
    const auto shape = [&out, &settings](int code, Point at, double angle) {
        out.PutAttributeFlags(kFlagDimension);
        out.PutPoint(code, at.x, at.y, settings.EndPointScale, angle);
    };
    VisitEndMarkers(f1, f2, s, settings, segment, shape);
}

void DrawEndMarkers(Point f1, Point f2, double s, const DimensionSettings& settings) {
    ExchangeWriter out = HostWriter();
    DrawEndMarkers(f1, f2, s, settings, out);
}

bool EndMarkersStayFinite(Point f1, Point f2, double s, const DimensionSettings& settings) {
    bool finite = true;
    const auto segment = [&finite](Point from, Point to) {
        finite = finite && IsFinitePoint(from) && IsFinitePoint(to);
    };
    const auto shape = [&finite, &settings](int, Point at, double angle) {
        finite = finite && IsFinitePoint(at) && std::isfinite(settings.EndPointScale) &&
                 std::isfinite(angle);
    };
    VisitEndMarkers(f1, f2, s, settings, segment, shape);
    return finite;
}

}  // namespace dovarin
