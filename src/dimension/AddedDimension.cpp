// The added dimension, from the picked extension line and three reference points.
//
// The user picked one extension line of an existing dimension (a line with the dimension
// attribute) and indicated the measured point Q (reference point 2), the level K of the new
// dimension line (point 3) and the place V of its value (point 4). The construction works in a
// frame turned by -A, the dimension line's direction, in which the picked line runs straight up
// from its base end B. There it finds the feet F1 and F2 of K on the picked line and on the
// parallel through Q, lengthens the picked line to reach past the dimension line, and draws the
// second extension line, the dimension line, the value on its own horizontal line with a leader
// to the middle of the dimension line, and the end markers.
//
// Every check comes before the first record: a refused construction appends nothing. The
// construction works on its own copy of the picked line and leaves the state it reads as it was.
#include <cmath>
#include <initializer_list>
#include <string>
#include <string_view>

#include "dimension/Angles.h"
#include "dimension/Dimension.h"
#include "exchange/JwwGaibu.h"
#include "util/MyFunc.h"

namespace dovarin {

// 指定した線分に寸法属性がありません（寸法補助線ではない可能性が高い）ので作図出来ません
const std::string_view kMsgNoDimensionAttribute =
    "\x8e\x77\x92\xe8\x82\xb5\x82\xbd\x90\xfc\x95\xaa\x82\xc9\x90\xa1\x96\x40\x91\xae\x90\xab"
    "\x82\xaa\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1\x81\x69\x90\xa1\x96\x40\x95\xe2\x8f\x95"
    "\x90\xfc\x82\xc5\x82\xcd\x82\xc8\x82\xa2\x89\xc2\x94\x5c\x90\xab\x82\xaa\x8d\x82\x82\xa2"
    "\x81\x6a\x82\xcc\x82\xc5\x8d\xec\x90\x7d\x8f\x6f\x97\x88\x82\xdc\x82\xb9\x82\xf1";
// 寸法が「0」になりますので作図出来ません
const std::string_view kMsgZeroDimension =
    "\x90\xa1\x96\x40\x82\xaa\x81\x75\x30\x81\x76\x82\xc9\x82\xc8\x82\xe8\x82\xdc\x82\xb7\x82\xcc"
    "\x82\xc5\x8d\xec\x90\x7d\x8f\x6f\x97\x88\x82\xdc\x82\xb9\x82\xf1";
// 線分が指示されていませんので作図出来ません
const std::string_view kMsgNoLine =
    "\x90\xfc\x95\xaa\x82\xaa\x8e\x77\x8e\xa6\x82\xb3\x82\xea\x82\xc4\x82\xa2\x82\xdc\x82\xb9"
    "\x82\xf1\x82\xcc\x82\xc5\x8d\xec\x90\x7d\x8f\x6f\x97\x88\x82\xdc\x82\xb9\x82\xf1";
// 縮尺が「0」になっていますので作図出来ません
const std::string_view kMsgZeroScale =
    "\x8f\x6b\x8e\xda\x82\xaa\x81\x75\x30\x81\x76\x82\xc9\x82\xc8\x82\xc1\x82\xc4\x82\xa2\x82\xdc"
    "\x82\xb7\x82\xcc\x82\xc5\x8d\xec\x90\x7d\x8f\x6f\x97\x88\x82\xdc\x82\xb9\x82\xf1";
// 処理中です
const std::string_view kStatusWorking = "\x8f\x88\x97\x9d\x92\x86\x82\xc5\x82\xb7";
// ファイル生成中です
const std::string_view kStatusWriting =
    "\x83\x74\x83\x40\x83\x43\x83\x8b\x90\xb6\x90\xac\x92\x86\x82\xc5\x82\xb7";

namespace {

constexpr std::string_view kAnswerStart = "hd";  // the first record of a constructed answer

constexpr int kMeasuredPoint = 2;  // Q
constexpr int kLevelPoint = 3;     // K
constexpr int kValuePoint = 4;     // V

constexpr int kFreeSizeTextType = 0;
constexpr int kFirstTextType = 1;
constexpr int kLastTextType = 10;
constexpr int kValueTextKind = 2;  // "cs"

// A text turned past the vertical by more than this reads upside down and is turned around; a
// vertical text itself keeps reading upwards.
constexpr double kUprightTextLimit = 90.00000001;
constexpr double kTextVectorLength = 10;

// A reference point that the host did not give is (0, 0).
Point ReferencePoint(const THostState& h, int n) {
    if (n >= static_cast<int>(h.HpPoints.size())) return {};
    return {h.HpPoints[n].X, h.HpPoints[n].Y};
}

void PutDimensionSegment(ExchangeWriter& out, Point from, Point to) {
    out.PutAttributeFlags(kFlagDimension);
    out.PutSegment(from.x, from.y, to.x, to.y);
}

void ShowStatus(const StatusCallback& showStatus, std::string_view text) {
    if (showStatus) showStatus(text);
}

// The quantities of one construction, in drawing units of the current layer group.
struct Quantities {
    double s = 1;       // paper mm -> drawing units
    OrientedLine line;  // B, P, A, turned
    double m = 0;       // gap between the value and its horizontal line
    double g = 0;       // gap between the measured point and the second extension line
    double o = 0;       // overshoot of the extension lines
    Point Q, K, V;      // measured point, level point, value point
    Point K1, Q1, P1;   // K, Q, P in the frame turned by -A about B
    Point K2;           // K in the frame turned by -A about Q
    Point F1, F2;       // the dimension line
};

// A refusal that comes before any geometry: a scale that would divide by 0.
std::string_view RefusalBeforeMeasuring(const THostState& h, const TJwwEntLine& l0) {
    if (h.ScaleOfGroup(h.HostLayerGroup) == 0 || h.ScaleOfGroup(l0.LayerGroup) == 0) {
        return kMsgZeroScale;
    }
    return {};
}

// The picked line in the current layer group's units, base end first.
OrientedLine ConvertPickedLine(const THostState& h, const TJwwEntLine& l0) {
    const double k = h.ScaleOfGroup(h.HostLayerGroup) / h.ScaleOfGroup(l0.LayerGroup);
    return OrientPickedLine({l0.X1 * k, l0.Y1 * k}, {l0.X2 * k, l0.Y2 * k});
}

// The dialog's paper millimetres in drawing units.
void ConvertPaperLengths(const THostState& h, const DimensionSettings& settings, Quantities& q) {
    q.s = h.ScaleOfGroup(h.HostLayerGroup);
    q.m = settings.ValueGap * q.s;
    q.g = settings.PointGap * q.s;
    q.o = settings.ExtensionOvershoot * q.s;
}

// F1 is the foot of K on the picked line, F2 the foot of K on the parallel through Q.
void FindDimensionLine(const THostState& h, Quantities& q) {
    const Point b = q.line.B;
    const double a = q.line.A;
    q.Q = ReferencePoint(h, kMeasuredPoint);
    q.K = ReferencePoint(h, kLevelPoint);
    q.V = ReferencePoint(h, kValuePoint);
    q.K1 = RotatePoint(q.K, b, -a);
    q.F1 = RotatePoint({b.x, q.K1.y}, b, a);
    q.K2 = RotatePoint(q.K, q.Q, -a);
    q.F2 = RotatePoint({q.Q.x, q.K2.y}, q.Q, a);
    q.Q1 = RotatePoint(q.Q, b, -a);
    q.P1 = RotatePoint(q.line.P, b, -a);
}

// Everything that can refuse, before anything is appended: the quantities, or the text of a
// refusal.
std::string_view Measure(const THostState& h, const TJwwEntLine& l0,
                         const DimensionSettings& settings, Quantities& q) {
    if (const std::string_view refusal = RefusalBeforeMeasuring(h, l0); !refusal.empty()) {
        return refusal;
    }
    q.line = ConvertPickedLine(h, l0);
    if ((l0.Flags & kFlagDimension) == 0) return kMsgNoDimensionAttribute;
    ConvertPaperLengths(h, settings, q);
    FindDimensionLine(h, q);
    if (std::fabs(Distance(q.F1, q.F2)) < kGeomZero) return kMsgZeroDimension;
    return {};
}

enum class PickedEnd { None, Base, Far };

// The end of the picked line that moves to E1, o beyond the dimension line, if any.
PickedEnd EndToLengthen(const Quantities& q, Point e1) {
    const OrientedLine& line = q.line;
    const double length = Distance(line.B, line.P);
    if (std::fabs(q.P1.y - q.K1.y) < std::fabs(line.B.y - q.K1.y)) {
        return length < Distance(line.B, e1) ? PickedEnd::Far : PickedEnd::None;
    }
    // Nearer to B, or equally near. A dimension line between the ends is crossed already; E1
    // then lies on P's side, and moving B there could leave the line short of the dimension line.
    if (q.K1.y >= line.B.y) return PickedEnd::None;
    return length < Distance(line.P, e1) ? PickedEnd::Base : PickedEnd::None;
}

struct TextStyle {
    int type = kFreeSizeTextType;
    int color = 0;
    double width = 0, height = 0, spacing = 0;  // paper mm
};

// Everything the answer holds beyond the measured quantities, worked out before the first
// record, so that a construction whose numbers leave the range of doubles can still be refused.
struct Drawing {
    bool lengthened = false;
    bool secondEnd = false;  // the moved end is the stored (X2, Y2)
    Point storedEnd;         // the moved end in the line's own units
    bool secondExtension = false;
    Point S2, E2;
    TextStyle style;
    std::string text;
    double T = 0;     // text angle
    Point direction;  // of the text
    Point U1, U2, M;  // the horizontal line under the value, the middle of the dimension line
    Point leaderEnd;  // U1 or U2
};

// The picked line is lengthened where it falls short of the dimension line. The moved end goes
// back in the line's own units; the other stored end is not touched, so it keeps its value to the
// last bit.
void PlanLengthening(const THostState& state, const Quantities& q, int lineGroup, Drawing& d) {
    const OrientedLine& line = q.line;
    const double h = q.K1.y >= line.B.y ? q.K1.y + q.o : q.K1.y - q.o;
    const Point e1 = RotatePoint({line.B.x, h}, line.B, line.A);
    const PickedEnd end = EndToLengthen(q, e1);
    if (end == PickedEnd::None) return;
    d.lengthened = true;
    // P is the line's stored second end unless orienting exchanged the ends.
    d.secondEnd = (end == PickedEnd::Far) != line.turned;
    const double back = state.ScaleOfGroup(lineGroup);
    const double current = state.ScaleOfGroup(state.HostLayerGroup);
    d.storedEnd = {e1.x * back / current, e1.y * back / current};
}

void StorePickedEnd(const Drawing& d, TJwwEntLine& l0) {
    if (!d.lengthened) return;
    (d.secondEnd ? l0.X2 : l0.X1) = d.storedEnd.x;
    (d.secondEnd ? l0.Y2 : l0.Y1) = d.storedEnd.y;
}

// The picked line goes out again with its own attributes and its ends as they now stand.
void RewritePickedLine(ExchangeWriter& out, const TJwwEntLine& l0) {
    int openChain = 0;
    out.PutLineAttributes(l0, 0, openChain, kKeepOwnValue, kKeepOwnValue, kKeepOwnValue,
                          kKeepOwnValue, kKeepOwnValue);
}

// Every new entity carries the host's current attributes.
void PutHostAttributes(const THostState& h, ExchangeWriter& out) {
    out.PutLayerGroup(h.HostLayerGroup);
    out.PutLayer(h.HostLayer);
    out.PutLineColor(h.HostLineColor);
    out.PutPointColor(h.HostLineColor);
    out.PutLineType(h.HostLineType);
    out.PutLineWidth(h.HostLineWidth);
    out.PutFontName(h.HostFontName);
}

// The second extension line: from g off the measured point to o beyond the dimension line, unless
// the measured point lies within the gap of the dimension line.
void PlanSecondExtensionLine(const Quantities& q, Drawing& d) {
    if (std::fabs(q.K1.y - q.Q1.y) - q.g <= kGeomZero) return;
    const Point qp = q.Q;
    const bool up = q.K2.y >= qp.y;
    d.secondExtension = true;
    d.S2 = RotatePoint({qp.x, up ? qp.y + q.g : qp.y - q.g}, qp, q.line.A);
    d.E2 = RotatePoint({qp.x, up ? q.K2.y + q.o : q.K2.y - q.o}, qp, q.line.A);
}

bool IsTextType(int n) {
    return n >= kFirstTextType && n <= kLastTextType;
}

TextStyle HostTextTypeStyle(const THostState& h, int n) {
    const TextTypeEntry& entry = h.TextTypes[n];
    return {n, entry.Color, entry.Width, entry.Height, entry.Spacing};
}

// The text type of the value by ComboBox3's index. Index 0 is the host's current text type; so is
// an index the list cannot hold.
TextStyle ChooseValueTextStyle(const THostState& h, int index) {
    if (IsTextType(index)) return HostTextTypeStyle(h, index);
    if (h.HostTextType == kFreeSizeTextType) {
        return {kFreeSizeTextType, h.HostFreeTextColor, h.HostFreeTextWidth, h.HostFreeTextHeight,
                h.HostFreeTextSpacing};
    }
    return HostTextTypeStyle(h, IsTextType(h.HostTextType) ? h.HostTextType : kFirstTextType);
}

void PutTextStyle(ExchangeWriter& out, const TextStyle& style) {
    out.PutTextType(style.type, style.color, style.width, style.height, style.spacing);
}

// The text angle: along the dimension line, never upside down; a vertical line's text reads
// upwards.
double TextAngle(double a) {
    double t = NormalizeDegrees(a);
    if (t >= kHalfTurn) t -= kHalfTurn;
    if (t > kUprightTextLimit) t += kHalfTurn;
    return t;
}

// The value: its text type, its text and its direction.
void PlanValue(const THostState& h, const Quantities& q, const DimensionSettings& settings,
               Drawing& d) {
    d.style = ChooseValueTextStyle(h, settings.ValueTextType);
    d.text = BuildValueText(Distance(q.F1, q.F2), settings);
    d.T = TextAngle(q.line.A);
    d.direction = {kTextVectorLength * CosDegrees(d.T), kTextVectorLength * SinDegrees(d.T)};
}

// The horizontal line under the value covers the text (its run length in paper mm) with a
// margin of m before and after it; the leader joins the middle of the dimension line to the
// end of the horizontal line that lies towards it.
void PlanValueLineAndLeader(const Quantities& q, Drawing& d) {
    const double w = TextRunLength(d.text, d.style.width, d.style.spacing);
    const double t = d.T;
    const Point offset = RotatePoint({-q.m, -q.m}, {0, 0}, t);
    d.U1 = {q.V.x + offset.x, q.V.y + offset.y};
    d.M = {(q.F1.x + q.F2.x) / 2, (q.F1.y + q.F2.y) / 2};
    const double run = w * q.s + 2 * q.m;
    d.U2 = {d.U1.x + CosDegrees(t) * run, d.U1.y + SinDegrees(t) * run};
    const bool beforeMiddle = RotatePoint(d.U2, d.M, -t).x <= d.M.x;
    d.leaderEnd = beforeMiddle ? d.U2 : d.U1;
}

Drawing PlanDrawing(const THostState& h, const Quantities& q, int lineGroup,
                    const DimensionSettings& settings) {
    Drawing d;
    PlanLengthening(h, q, lineGroup, d);
    PlanSecondExtensionLine(q, d);
    PlanValue(h, q, settings, d);
    PlanValueLineAndLeader(q, d);
    return d;
}

bool AllFinite(std::initializer_list<double> values) {
    for (const double v : values) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

bool AllFinite(std::initializer_list<Point> points) {
    for (const Point& p : points) {
        if (!AllFinite({p.x, p.y})) return false;
    }
    return true;
}

// Whether every quantity the answer depends on is a finite double. Extreme scales, coordinates or
// paper lengths can overflow (or meet inf - inf), and such a number would reach the answer as a
// plausible-looking wrong value.
bool StaysFinite(const Quantities& q, const Drawing& d, const DimensionSettings& settings) {
    return AllFinite({q.s, q.m, q.g, q.o, q.line.A, d.T}) &&
           AllFinite({q.line.B, q.line.P, q.Q, q.K, q.V, q.K1, q.Q1, q.P1, q.K2, q.F1, q.F2}) &&
           std::isfinite(Distance(q.F1, q.F2)) && (!d.lengthened || AllFinite({d.storedEnd})) &&
           (!d.secondExtension || AllFinite({d.S2, d.E2})) &&
           AllFinite({d.direction, d.U1, d.U2, d.M}) &&
           EndMarkersStayFinite(q.F1, q.F2, q.s, settings);
}

// The dimension line and its value, as plain records or as one dimension figure.
void DrawDimensionLineAndValue(ExchangeWriter& out, const Quantities& q, const Drawing& d,
                               bool figure) {
    if (figure) {
        PutTextStyle(out, d.style);
        out.PutDimensionText(d.text, q.F1.x, q.F1.y, q.F2.x, q.F2.y, q.V.x, q.V.y, d.direction.x,
                             d.direction.y);
        return;
    }
    PutDimensionSegment(out, q.F1, q.F2);
    PutTextStyle(out, d.style);
    out.PutTextColor(0);
    out.PutAttributeFlags(kFlagDimension);
    out.PutText(kValueTextKind, d.text, q.V.x, q.V.y, d.direction.x, d.direction.y);
}

// The host gets its own text type back, free-size values included whatever the type.
void RestoreHostTextType(const THostState& h, ExchangeWriter& out) {
    out.PutTextType(h.HostTextType, h.HostFreeTextColor, h.HostFreeTextWidth, h.HostFreeTextHeight,
                    h.HostFreeTextSpacing);
}

}  // namespace

OrientedLine OrientPickedLine(Point first, Point second) {
    OrientedLine line{first, second};
    const double theta = DirectionDegrees(second.x - first.x, second.y - first.y);
    double a = theta - kQuarterTurn;
    if (a < 0) a += kFullTurn;
    if (a >= kHalfTurn) {
        a -= kHalfTurn;
        SwapReals(line.B.x, line.P.x);
        SwapReals(line.B.y, line.P.y);
        line.turned = true;
    }
    line.A = a;
    return line;
}

ConstructionResult BuildAddedDimension(const DimensionSettings& settings,
                                       const StatusCallback& showStatus, ExchangeWriter& out) {
    const THostState& h = out.State();
    if (h.SelectedLines.empty()) return {false, std::string(kMsgNoLine)};
    TJwwEntLine picked = h.SelectedLines[0];
    Quantities q;
    if (const std::string_view refusal = Measure(h, picked, settings, q); !refusal.empty()) {
        return {false, std::string(refusal)};
    }
    const Drawing d = PlanDrawing(h, q, picked.LayerGroup, settings);
    if (!StaysFinite(q, d, settings)) return {false, std::string(kMsgZeroDimension)};
    ShowStatus(showStatus, kStatusWorking);
    out.PutLine(kAnswerStart);
    StorePickedEnd(d, picked);
    RewritePickedLine(out, picked);
    PutHostAttributes(h, out);
    if (d.secondExtension) PutDimensionSegment(out, d.S2, d.E2);
    DrawDimensionLineAndValue(out, q, d, settings.DimensionFigure);
    PutDimensionSegment(out, d.M, d.leaderEnd);
    PutDimensionSegment(out, d.U1, d.U2);
    DrawEndMarkers(q.F1, q.F2, q.s, settings, out);
    RestoreHostTextType(h, out);
    ShowStatus(showStatus, kStatusWriting);
    return {true, {}};
}

ConstructionResult BuildAddedDimension(const DimensionSettings& settings,
                                       const StatusCallback& showStatus) {
    ExchangeWriter out = HostWriter();
    return BuildAddedDimension(settings, showStatus, out);
}

}  // namespace dovarin
