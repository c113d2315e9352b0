// From a state to primitives. The input is drawn from the records the reader stored; the answer
// is read back through the same reader, so the picture shows what the host will take from it.
#include "app/Sketch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

#include "dimension/Dimension.h"

namespace dovarin {

const InkStyle& StyleOf(Ink ink) {
    static const InkStyle kStyles[] = {
        {0xa8, 0xa8, 0xa8, "in", 1},         // Input
        {0x70, 0x70, 0x70, "picked", 2.5},   // Picked
        {0xa0, 0xa0, 0xa0, "intext", 1},     // InputText
        {0xa8, 0xa8, 0xa8, "in", 1},         // InputMark
        {0x15, 0x65, 0xc0, "ans", 1.6},      // Answer
        {0xc6, 0x28, 0x28, "anstext", 1},    // AnswerText
        {0x2e, 0x7d, 0x32, "ansmark", 1.4},  // AnswerMark
        {0x8e, 0x24, 0xaa, "ansdim", 1.6},   // AnswerDim
        {0xef, 0x6c, 0x00, "ref", 1.5},      // Reference
        {0xc8, 0xc8, 0xc8, "stale", 1},      // Stale
    };
    return kStyles[static_cast<int>(ink)];
}

namespace {

constexpr double kDegree = static_cast<double>(kPi) / kHalfTurn;
// The point markers in paper mm, as long and as wide as the fit of the end markers takes them.
constexpr double kLongMarker = kLongMarkerExtent;
constexpr double kSmallMarker = kSmallMarkerExtent;
constexpr double kArrowHalfWidth = 1.25;
constexpr int kArcSteps = 96;  // per full turn
constexpr double kDotPixels = 2.5;

Point Along(Point origin, double angleDeg, double length) {
    return {origin.x + length * std::cos(angleDeg * kDegree),
            origin.y + length * std::sin(angleDeg * kDegree)};
}

void AddSegment(Sketch& sketch, Point a, Point b, Ink ink) {
    sketch.Paths.push_back({{a, b}, false, false, ink});
}

// An elliptic arc: centre, radius, start and end angle, flatness (minor/major), tilt.
void AddArc(Sketch& sketch, const TJwwEntArc& arc, Ink ink) {
    const double start = arc.Values[0];
    // At most one turn, whatever the host's angles hold.
    double sweep = std::fmod(arc.Values[1] - start, kFullTurn);
    if (!std::isfinite(sweep) || !std::isfinite(start)) return;
    if (sweep <= 0) sweep += kFullTurn;
    const double flat = arc.Values[2] > 0 ? arc.Values[2] : 1.0;
    const double tilt = arc.Values[3] * kDegree;
    const int steps = std::max(8, static_cast<int>(kArcSteps * sweep / kFullTurn));
    Sketch::Path path{{}, false, false, ink};
    for (int i = 0; i <= steps; ++i) {
        const double t = (start + sweep * i / steps) * kDegree;
        const double u = arc.Radius * std::cos(t);
        const double v = arc.Radius * flat * std::sin(t);
        path.Points.push_back({arc.X + u * std::cos(tilt) - v * std::sin(tilt),
                               arc.Y + u * std::sin(tilt) + v * std::cos(tilt)});
    }
    sketch.Paths.push_back(std::move(path));
}

void AddText(Sketch& sketch, const THostState& state, const TJwwEntText& text, Ink ink) {
    const double scale = state.ScaleOfGroup(text.LayerGroup);
    Sketch::Text item;
    item.At = {text.X, text.Y};
    item.Angle = std::atan2(text.DY, text.DX) / kDegree;
    item.Height = text.Height * scale;
    item.Length = TextRunLength(text.Text, text.Width, text.Spacing) * scale;
    item.Cp932 = text.Text;
    item.ink = ink;
    sketch.Texts.push_back(std::move(item));
}

// The marker shapes of the point codes, in paper mm along (x) and across (y) the marker's
// direction, tip or centre at the origin. The end markers' nominal extents set their size.
struct MarkerShape {
    int Code;
    bool IsCircle;  // a circle of diameter kSmallMarker; Outline unused
    bool Closed;
    bool Filled;
    std::vector<Point> Outline;
};

std::vector<Point> Triangle() {
    return {{0, 0}, {-kLongMarker, kArrowHalfWidth}, {-kLongMarker, -kArrowHalfWidth}};
}

std::vector<Point> Chevron() {
    return {{-kLongMarker, kArrowHalfWidth}, {0, 0}, {-kLongMarker, -kArrowHalfWidth}};
}

std::vector<Point> Square() {
    const double h = kSmallMarker / 2;
    return {{-h, -h}, {h, -h}, {h, h}, {-h, h}};
}

// A short wave across the marker's point, on the diagonal like the slash.
std::vector<Point> Wave() {
    std::vector<Point> wave;
    const double c = std::cos(45 * kDegree);
    for (int i = 0; i <= 12; ++i) {
        const double t = kSmallMarker * (i / 6.0 - 1);
        const double bend = 0.3 * std::sin(t / kSmallMarker * kHalfTurn * kDegree);
        wave.push_back({(t - bend) * c, (t + bend) * c});
    }
    return wave;
}

const std::vector<MarkerShape>& MarkerShapes() {
    const double slash = kSmallMarker * std::cos(45 * kDegree);
    static const std::vector<MarkerShape> shapes = {
        {1, false, true, false, Triangle()},                            // △
        {2, false, true, false, Square()},                              // □
        {3, true, false, false, {}},                                    // Ｏ
        {4, true, false, false, {}},                                    // ○
        {5, false, true, true, Square()},                               // ■
        {6, false, true, true, Triangle()},                             // ▲
        {7, true, false, true, {}},                                     // ●
        {8, false, false, false, Wave()},                               // ～
        {9, false, false, false, Chevron()},                            // ＞
        {10, false, false, false, {{-slash, -slash}, {slash, slash}}},  // ／
        {11, false, true, false, Triangle()},                           // △
    };
    return shapes;
}

// Point markers by code, turned to the angle and scaled by paper mm times the scales; a code
// without a shape is drawn as a cross.
void AddMarker(Sketch& sketch, Point e, int code, double unit, double angle, Ink ink) {
    auto place = [&](Point local) {
        return Along(Along(e, angle, local.x * unit), angle + kQuarterTurn, local.y * unit);
    };
    for (const MarkerShape& shape : MarkerShapes()) {
        if (shape.Code != code) continue;
        if (shape.IsCircle) {
            sketch.Circles.push_back(
                {e, std::fabs(kSmallMarker / 2 * unit), false, shape.Filled, ink});
            return;
        }
        Sketch::Path path{{}, shape.Closed, shape.Filled, ink};
        for (Point local : shape.Outline) path.Points.push_back(place(local));
        sketch.Paths.push_back(std::move(path));
        return;
    }
    const double h = kSmallMarker / 2;
    AddSegment(sketch, place({-h, -h}), place({h, h}), ink);
    AddSegment(sketch, place({-h, h}), place({h, -h}), ink);
}

void AddLines(const THostState& state, const SketchInks& inks, Sketch& sketch) {
    bool first = true;
    for (const TJwwEntLine& line : state.SelectedLines) {
        AddSegment(sketch, {line.X1, line.Y1}, {line.X2, line.Y2}, first ? inks.Picked : inks.Line);
        first = false;
    }
}

void AddCurves(const THostState& state, const SketchInks& inks, Sketch& sketch) {
    for (const TJwwEntCircle& c : state.Circles) {
        sketch.Circles.push_back({{c.X, c.Y}, std::fabs(c.Radius), false, false, inks.Line});
    }
    for (const TJwwEntArc& arc : state.Arcs) AddArc(sketch, arc, inks.Line);
}

void AddPoints(const THostState& state, const SketchInks& inks, Sketch& sketch) {
    for (const TJwwEntPoint& p : state.Points) {
        sketch.Circles.push_back({{p.X, p.Y}, kDotPixels, true, true, inks.Mark});
    }
    for (const TJwwEntCodePoint& p : state.CodePoints) {
        const double unit = p.Scale * state.ScaleOfGroup(p.LayerGroup);
        AddMarker(sketch, {p.X, p.Y}, p.Code, unit, p.Angle, inks.Mark);
    }
}

template <class Sl>
void AddPolylines(const EntityList<Sl>& list, Ink ink, Sketch& sketch) {
    for (const Sl& sl : list) {
        Sketch::Path path{{}, false, false, ink};
        for (const SlPoint& p : sl.Points) path.Points.push_back({p.X, p.Y});
        sketch.Paths.push_back(std::move(path));
    }
}

void AddTextsAndDims(const THostState& state, const SketchInks& inks, Sketch& sketch) {
    for (const TJwwEntText& text : state.Texts) AddText(sketch, state, text, inks.Text);
    for (const TJwwEntDim& dim : state.Dims) {
        AddSegment(sketch, {dim.Line.X1, dim.Line.Y1}, {dim.Line.X2, dim.Line.Y2}, inks.Dim);
        AddText(sketch, state, dim.Text, inks.Dim);
    }
    for (const TJwwEntBlk& block : state.Blocks) {
        sketch.Circles.push_back({{block.X, block.Y}, kDotPixels, true, false, inks.Line});
        sketch.Texts.push_back({{block.X, block.Y}, 0, 0, 0, block.Name, inks.Text});
    }
}

}  // namespace

void AddEntities(const THostState& state, const SketchInks& inks, Sketch& sketch) {
    AddLines(state, inks, sketch);
    AddCurves(state, inks, sketch);
    AddPoints(state, inks, sketch);
    AddPolylines(state.Sl2s, inks.Line, sketch);
    AddPolylines(state.Sl3s, inks.Line, sketch);
    AddPolylines(state.Sl4s, inks.Line, sketch);
    AddTextsAndDims(state, inks, sketch);
}

void AddAnswer(const std::vector<std::string>& lines, const THostState& input, THostState& scratch,
               Sketch& sketch) {
    scratch = FreshHostState();
    // The answer names text types by number; their sizes are the drawing's.
    scratch.TextTypes = input.TextTypes;
    scratch.LayerGroupScale = input.LayerGroupScale;
    for (const std::string& line : lines) ParseExchangeText(line, scratch);
    AddEntities(scratch, kAnswerInks, sketch);
}

void AddReferencePoints(const THostState& input, Sketch& sketch) {
    static const std::array<std::pair<int, const char*>, 3> kReferences = {
        {{2, "Q hp2"}, {3, "K hp3"}, {4, "V hp4"}}};
    for (const auto& [n, caption] : kReferences) {
        if (n < static_cast<int>(input.HpPoints.size()) && input.HpPoints[n].Set) {
            sketch.Labels.push_back({{input.HpPoints[n].X, input.HpPoints[n].Y}, caption});
        }
    }
}

namespace {

// A drawing that is a single point gets at least this extent, so that its scale stays finite.
constexpr double kPointDrawingSpan = 1e-9;
// A drawing flatter than this share of its larger extent is widened to it.
constexpr double kFlatDrawingShare = 0.05;

struct Box {
    double minX = std::numeric_limits<double>::infinity();
    double minY = minX;
    double maxX = -minX;
    double maxY = -minX;
    void Add(Point p) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    }
    bool Empty() const { return minX > maxX; }
};

Point TextCorner(const Sketch::Text& t, double along, double up) {
    const double a = t.Angle * kDegree;
    return {t.At.x + along * std::cos(a) - up * std::sin(a),
            t.At.y + along * std::sin(a) + up * std::cos(a)};
}

void Widen(double& lo, double& hi, double minSpan) {
    if (hi - lo >= minSpan) return;
    const double mid = (lo + hi) / 2;
    lo = mid - minSpan / 2;
    hi = mid + minSpan / 2;
}

}  // namespace

SketchBounds BoundsOf(const Sketch& sketch) {
    Box box;
    for (const auto& path : sketch.Paths) {
        for (Point p : path.Points) box.Add(p);
    }
    for (const auto& c : sketch.Circles) {
        const double r = c.ScreenSize ? 0 : c.Radius;
        box.Add({c.Centre.x - r, c.Centre.y - r});
        box.Add({c.Centre.x + r, c.Centre.y + r});
    }
    for (const auto& t : sketch.Texts) {
        box.Add(t.At);
        box.Add(TextCorner(t, t.Length, t.Height));
    }
    for (const auto& label : sketch.Labels) box.Add(label.At);
    if (box.Empty()) return {};
    SketchBounds bounds{box.minX, box.minY, box.maxX, box.maxY};
    const double span =
        std::max({bounds.MaxX - bounds.MinX, bounds.MaxY - bounds.MinY, kPointDrawingSpan});
    Widen(bounds.MinX, bounds.MaxX, span * kFlatDrawingShare);
    Widen(bounds.MinY, bounds.MaxY, span * kFlatDrawingShare);
    return bounds;
}

SketchView FitBounds(const SketchBounds& bounds, double width, double height, double margin) {
    const double w = bounds.MaxX - bounds.MinX;
    const double h = bounds.MaxY - bounds.MinY;
    SketchView view;
    view.Scale = std::max(0.0, std::min((width - 2 * margin) / w, (height - 2 * margin) / h));
    view.OffsetX = width / 2 - view.Scale * (bounds.MinX + bounds.MaxX) / 2;
    view.OffsetY = height / 2 + view.Scale * (bounds.MinY + bounds.MaxY) / 2;
    return view;
}

SketchView FitSketch(const Sketch& sketch, double width, double height, double margin) {
    return FitBounds(BoundsOf(sketch), width, height, margin);
}

}  // namespace dovarin
