// From HostState to primitives. The input is drawn from the records the reader stored; the answer
// is read back through the same reader, so the picture shows what the host will take from it.
#include "app/batch/RunPicture.h"

#include <algorithm>
#include <cmath>

#include "app/batch/Cp932.h"
#include "dimension/Dimension.h"
#include "exchange/SafeFile.h"

namespace dovarin {

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

void AddSegment(Sketch& sketch, Point a, Point b, const char* cls) {
    sketch.Paths.push_back({{a, b}, false, false, cls});
}

// An elliptic arc: centre, radius, start and end angle, flatness (minor/major), tilt.
void AddArc(Sketch& sketch, const TJwwEntArc& arc, const char* cls) {
    const double start = arc.Values[0];
    // At most one turn, whatever the host's angles hold.
    double sweep = std::fmod(arc.Values[1] - start, kFullTurn);
    if (!std::isfinite(sweep) || !std::isfinite(start)) return;
    if (sweep <= 0) sweep += kFullTurn;
    const double flat = arc.Values[2] > 0 ? arc.Values[2] : 1.0;
    const double tilt = arc.Values[3] * kDegree;
    const int steps = std::max(8, static_cast<int>(kArcSteps * sweep / kFullTurn));
    Sketch::Path path{{}, false, false, cls};
    for (int i = 0; i <= steps; ++i) {
        const double t = (start + sweep * i / steps) * kDegree;
        const double u = arc.Radius * std::cos(t);
        const double v = arc.Radius * flat * std::sin(t);
        path.Points.push_back({arc.X + u * std::cos(tilt) - v * std::sin(tilt),
                               arc.Y + u * std::sin(tilt) + v * std::cos(tilt)});
    }
    sketch.Paths.push_back(std::move(path));
}

void AddText(Sketch& sketch, const THostState& state, const TJwwEntText& text, const char* cls) {
    const double scale = state.ScaleOfGroup(text.LayerGroup);
    Sketch::Text item;
    item.At = {text.X, text.Y};
    item.Angle = std::atan2(text.DY, text.DX) / kDegree;
    item.Height = text.Height * scale;
    item.Length = TextRunLength(text.Text, text.Width, text.Spacing) * scale;
    item.Utf8 = Cp932ToUtf8(text.Text);
    item.Cls = cls;
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
void AddMarker(Sketch& sketch, Point e, int code, double unit, double angle, const char* cls) {
    auto place = [&](Point local) {
        return Along(Along(e, angle, local.x * unit), angle + kQuarterTurn, local.y * unit);
    };
    for (const MarkerShape& shape : MarkerShapes()) {
        if (shape.Code != code) continue;
        if (shape.IsCircle) {
            sketch.Circles.push_back(
                {e, std::fabs(kSmallMarker / 2 * unit), false, shape.Filled, cls});
            return;
        }
        Sketch::Path path{{}, shape.Closed, shape.Filled, cls};
        for (Point local : shape.Outline) path.Points.push_back(place(local));
        sketch.Paths.push_back(std::move(path));
        return;
    }
    const double h = kSmallMarker / 2;
    AddSegment(sketch, place({-h, -h}), place({h, h}), cls);
    AddSegment(sketch, place({-h, h}), place({h, -h}), cls);
}

void AddLines(const THostState& state, const SketchStyle& style, Sketch& sketch) {
    bool first = true;
    for (const TJwwEntLine& line : state.SelectedLines) {
        AddSegment(sketch, {line.X1, line.Y1}, {line.X2, line.Y2},
                   first ? style.Picked : style.Line);
        first = false;
    }
}

void AddCurves(const THostState& state, const SketchStyle& style, Sketch& sketch) {
    for (const TJwwEntCircle& c : state.Circles) {
        sketch.Circles.push_back({{c.X, c.Y}, std::fabs(c.Radius), false, false, style.Line});
    }
    for (const TJwwEntArc& arc : state.Arcs) AddArc(sketch, arc, style.Line);
}

void AddPoints(const THostState& state, const SketchStyle& style, Sketch& sketch) {
    for (const TJwwEntPoint& p : state.Points) {
        sketch.Circles.push_back({{p.X, p.Y}, kDotPixels, true, true, style.Mark});
    }
    for (const TJwwEntCodePoint& p : state.CodePoints) {
        const double unit = p.Scale * state.ScaleOfGroup(p.LayerGroup);
        AddMarker(sketch, {p.X, p.Y}, p.Code, unit, p.Angle, style.Mark);
    }
}

template <class Sl>
void AddPolylines(const EntityList<Sl>& list, const char* cls, Sketch& sketch) {
    for (const Sl& sl : list) {
        Sketch::Path path{{}, false, false, cls};
        for (const SlPoint& p : sl.Points) path.Points.push_back({p.X, p.Y});
        sketch.Paths.push_back(std::move(path));
    }
}

void AddTextsAndDims(const THostState& state, const SketchStyle& style, Sketch& sketch) {
    for (const TJwwEntText& text : state.Texts) AddText(sketch, state, text, style.Text);
    for (const TJwwEntDim& dim : state.Dims) {
        AddSegment(sketch, {dim.Line.X1, dim.Line.Y1}, {dim.Line.X2, dim.Line.Y2}, style.Dim);
        AddText(sketch, state, dim.Text, style.Dim);
    }
    for (const TJwwEntBlk& block : state.Blocks) {
        sketch.Circles.push_back({{block.X, block.Y}, kDotPixels, true, false, style.Line});
        sketch.Texts.push_back({{block.X, block.Y}, 0, 0, 0, Cp932ToUtf8(block.Name), style.Text});
    }
}

}  // namespace

void AddEntities(const THostState& state, const SketchStyle& style, Sketch& sketch) {
    AddLines(state, style, sketch);
    AddCurves(state, style, sketch);
    AddPoints(state, style, sketch);
    AddPolylines(state.Sl2s, style.Line, sketch);
    AddPolylines(state.Sl3s, style.Line, sketch);
    AddPolylines(state.Sl4s, style.Line, sketch);
    AddTextsAndDims(state, style, sketch);
}

void AddAnswer(const std::vector<std::string>& lines, const THostState& input, Sketch& sketch) {
    InitHostState();
    // The answer names text types by number; their sizes are the drawing's.
    HostState.TextTypes = input.TextTypes;
    HostState.LayerGroupScale = input.LayerGroupScale;
    for (const std::string& line : lines) ParseExchangeText(line);
    const SketchStyle answer{"ans", "ans", "anstext", "ansmark", "ansdim"};
    AddEntities(HostState, answer, sketch);
    FreeHostState();
}

void RunPicture::CaptureInput() {
    input_ = HostState;
}

void RunPicture::CaptureAnswer() {
    answer_ = OutputLines();
}

bool RunPicture::Write(const std::filesystem::path& file) {
    Sketch sketch;
    const SketchStyle given{"in", "picked", "intext", "in", "in"};
    AddEntities(input_, given, sketch);
    AddAnswer(answer_, input_, sketch);
    static const std::array<std::pair<int, const char*>, 3> kReferences = {
        {{2, "Q hp2"}, {3, "K hp3"}, {4, "V hp4"}}};
    for (const auto& [n, caption] : kReferences) {
        if (n < static_cast<int>(input_.HpPoints.size()) && input_.HpPoints[n].Set) {
            sketch.Labels.push_back({{input_.HpPoints[n].X, input_.HpPoints[n].Y}, caption});
        }
    }
    return WriteFileReplacing(file, RenderSvg(sketch, outcome_));
}

}  // namespace dovarin
