// The picture of a run: what the host passed in grey, the answer the host will draw in colour over
// it, and the reference points. Primitives in the host's coordinates, y upwards, texts in code
// page 932. The batch tool renders it as SVG and the dialog's preview paints it; what is drawn is
// decided here, not by a renderer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "exchange/JwwGaibu.h"
#include "util/MyFunc.h"

namespace dovarin {

// How a primitive is drawn.
enum class Ink {
    Input,       // an entity the host passed
    Picked,      // the picked line
    InputText,   // a text the host passed
    InputMark,   // a point marker the host passed
    Answer,      // a line of the answer
    AnswerText,  // a text of the answer
    AnswerMark,  // a point marker of the answer
    AnswerDim,   // a dimension figure of the answer
    Reference,   // a reference point
    Stale,       // a drawing that no longer matches the dialog
};

struct InkStyle {
    std::uint8_t R, G, B;
    const char* SvgClass;
    double Width;  // a line's width in pixels at 100 %: the picked line and the answer stand out
};
// The one home of the colours and line widths; the SVG classes carry the same.
const InkStyle& StyleOf(Ink ink);

constexpr int kReferenceMarkRadius = 5;  // pixels at 100 %

struct Sketch {
    struct Path {
        std::vector<Point> Points;
        bool Closed = false;
        bool Filled = false;
        Ink ink = Ink::Input;
    };
    struct Circle {
        Point Centre;
        double Radius = 0;  // host units, or pixels when ScreenSize
        bool ScreenSize = false;
        bool Filled = false;
        Ink ink = Ink::Input;
    };
    struct Text {
        Point At;           // the text's lower left corner
        double Angle = 0;   // degrees, counter-clockwise
        double Height = 0;  // host units
        double Length = 0;  // run length in host units, 0 when unknown
        std::string Cp932;
        Ink ink = Ink::Input;
    };
    // A numbered reference point. Every renderer draws it alike, whatever the drawing's scale: a
    // ring of kReferenceMarkRadius pixels at 100 % with a cross of twice that reach, under the
    // drawing so that it never hides the value text that starts at V, and the caption over it,
    // below left, since the value text and its line lie to the right of V.
    struct Label {
        Point At;
        std::string Caption;  // code page 932
        Ink ink = Ink::Reference;
    };
    std::vector<Path> Paths;
    std::vector<Circle> Circles;
    std::vector<Text> Texts;
    std::vector<Label> Labels;
};

// The inks of one layer of the picture: what the host passed, or the answer.
struct SketchInks {
    Ink Line;
    Ink Picked;  // the first selected line
    Ink Text;
    Ink Mark;
    Ink Dim;
};
inline constexpr SketchInks kInputInks{Ink::Input, Ink::Picked, Ink::InputText, Ink::InputMark,
                                       Ink::InputMark};
inline constexpr SketchInks kAnswerInks{Ink::Answer, Ink::Answer, Ink::AnswerText, Ink::AnswerMark,
                                        Ink::AnswerDim};

// Adds every entity of a state to the sketch.
void AddEntities(const THostState& state, const SketchInks& inks, Sketch& sketch);
// Adds the answer's records as the host reads them: the lines go through the exchange reader into
// `scratch`, a state of the caller's that starts afresh, with the input's text types and scales
// in force. The run's HostState is not touched.
void AddAnswer(const std::vector<std::string>& lines, const THostState& input, THostState& scratch,
               Sketch& sketch);
// Marks and numbers the reference points Q, K and V (2, 3 and 4) that the host gave.
void AddReferencePoints(const THostState& input, Sketch& sketch);

// The drawing's extent in host units, never empty nor flat: a drawing that is a point or a line
// still gets an area to sit in.
struct SketchBounds {
    double MinX = -1, MinY = -1, MaxX = 1, MaxY = 1;
};
SketchBounds BoundsOf(const Sketch& sketch);

// Host coordinates (y up) to pixels (y down) of a width x height box with a margin; one home for
// the fit, used by the SVG writer and the preview's painter alike.
struct SketchView {
    double Scale = 1, OffsetX = 0, OffsetY = 0;
    Point ToPixels(Point host) const {
        return {OffsetX + host.x * Scale, OffsetY - host.y * Scale};
    }
    double Length(double host) const { return host * Scale; }
};
// The drawing as large as it fits within the margin, centred in the box.
SketchView FitSketch(const Sketch& sketch, double width, double height, double margin);
SketchView FitBounds(const SketchBounds& bounds, double width, double height, double margin);

}  // namespace dovarin
