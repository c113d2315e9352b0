// The picture of one batch run as an SVG file: the entities the host passed in grey, the answer
// the host will draw in colour over them, and the reference points Q, K and V.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "exchange/JwwGaibu.h"
#include "util/MyFunc.h"

namespace dovarin {

// Primitives in drawing units, y upwards. cls names the style of the SVG element.
struct Sketch {
    struct Path {
        std::vector<Point> Points;
        bool Closed = false;
        bool Filled = false;
        const char* Cls = "";
    };
    struct Circle {
        Point Centre;
        double Radius = 0;  // drawing units, or pixels when ScreenSize
        bool ScreenSize = false;
        bool Filled = false;
        const char* Cls = "";
    };
    struct Text {
        Point At;           // the text's lower left corner
        double Angle = 0;   // degrees, counter-clockwise
        double Height = 0;  // drawing units
        double Length = 0;  // run length on the drawing, 0 when unknown
        std::string Utf8;
        const char* Cls = "";
    };
    struct Label {  // a reference point
        Point At;
        std::string Caption;
    };
    std::vector<Path> Paths;
    std::vector<Circle> Circles;
    std::vector<Text> Texts;
    std::vector<Label> Labels;
};

// Styles of one layer of the picture (input or answer).
struct SketchStyle {
    const char* Line;
    const char* Picked;  // the first selected line
    const char* Text;
    const char* Mark;
    const char* Dim;
};

// Adds every entity of a HostState to the sketch.
void AddEntities(const THostState& state, const SketchStyle& style, Sketch& sketch);
// Adds the answer's records as the host reads them: the lines go through the exchange reader,
// with the input's text types and scales in force. Resets HostState and frees it afterwards.
void AddAnswer(const std::vector<std::string>& lines, const THostState& input, Sketch& sketch);

class RunPicture {
  public:
    // After the form is shown: what the host passed. Keeps the reader's view of it.
    void CaptureInput();
    // Just before the form closes: the answer's lines.
    void CaptureAnswer();
    // The run's outcome for the title, UTF-8.
    void SetOutcome(std::string outcome) { outcome_ = std::move(outcome); }
    // Builds and writes the SVG; false when the file could not be written.
    bool Write(const std::filesystem::path& file);

  private:
    THostState input_;
    std::vector<std::string> answer_;
    std::string outcome_;
};

// The SVG text of a sketch; exposed for tests.
std::string RenderSvg(const Sketch& sketch, const std::string& title);

}  // namespace dovarin
