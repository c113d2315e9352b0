// Renders a Sketch as SVG: fitted into a fixed-size canvas with a margin, y turned upwards, line
// widths and marks in pixels so that they stay visible at any drawing scale.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/batch/Cp932.h"
#include "app/batch/RunPicture.h"
#include "util/MyFunc.h"

namespace dovarin {

namespace {

constexpr double kCanvasWidth = 1000;  // the drawing fits into this box, in pixels
constexpr double kCanvasHeight = 700;
constexpr double kMargin = 60;
constexpr double kMinWidth = 940;  // room for the title and the legend
constexpr double kTitleBand = 56;
constexpr double kTitleLeft = 12;
constexpr double kTitleFont = 15;  // pixels; a wide character takes about one, a narrow one half

// An ink's colour as CSS writes it.
std::string Colour(Ink ink) {
    const InkStyle& style = StyleOf(ink);
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", style.R, style.G, style.B);
    return text;
}

// A rule of the style sheet: the selector, the property that takes the ink's colour (none for a
// rule without colour; a stroke takes the ink's width too), and the rest of its declarations.
struct StyleRule {
    const char* selector;
    const char* colourProperty;
    Ink ink;
    const char* rest;
};

constexpr const char* kStroke = "stroke";

const StyleRule kStyleRules[] = {
    {".in", kStroke, Ink::Input, ""},
    {".in.fill", "fill", Ink::Input, ""},
    {".picked", kStroke, Ink::Picked, ""},
    {"text.intext", "fill", Ink::InputText, ""},
    {".ans", kStroke, Ink::Answer, ""},
    {".ansmark", kStroke, Ink::AnswerMark, ""},
    {".ansmark.fill", "fill", Ink::AnswerMark, ""},
    {".ansdim", kStroke, Ink::AnswerDim, ""},
    {"text.ansdim", "fill", Ink::AnswerDim, ""},
    {"text.anstext", "fill", Ink::AnswerText, ""},
    {".ref", kStroke, Ink::Reference, ";stroke-opacity:0.6"},
    {"text.anstext,text.ansdim", nullptr, Ink::Answer,
     "stroke:white;stroke-width:2.5px;paint-order:stroke"},
    {"text.ref", "fill", Ink::Reference,
     ";font-size:13px;stroke:white;stroke-width:3px;stroke-opacity:1;paint-order:stroke"},
};

// Line widths and text outlines in pixels; the colours are the inks'.
std::string StyleSheet() {
    std::string css = "path,circle{fill:none;stroke-linecap:round;stroke-linejoin:round}";
    for (const StyleRule& rule : kStyleRules) {
        css += std::string(rule.selector) + "{";
        if (rule.colourProperty) css += std::string(rule.colourProperty) + ":" + Colour(rule.ink);
        if (rule.colourProperty && std::string_view(rule.colourProperty) == kStroke)
            css += ";stroke-width:" + FormatReal(StyleOf(rule.ink).Width);
        css += std::string(rule.rest) + "}";
    }
    return css +
           "text{font-family:'MS Gothic','IPAGothic','Noto Sans CJK JP',monospace;white-space:pre}"
           "text.title{fill:#202020;font-size:15px}text.legend{font-size:12px}";
}

// Host units to canvas pixels: the drawing at the scale that fits the canvas, in a picture at
// least as wide as its title, under the title band.
class Viewport {
  public:
    Viewport(const SketchBounds& b, double minWidth) {
        const double scale =
            std::min(kCanvasWidth / (b.MaxX - b.MinX), kCanvasHeight / (b.MaxY - b.MinY));
        width_ = std::max({(b.MaxX - b.MinX) * scale + 2 * kMargin, kMinWidth, minWidth});
        const double drawingHeight = (b.MaxY - b.MinY) * scale + 2 * kMargin;
        height_ = drawingHeight + kTitleBand;
        view_ = FitBounds(b, width_, drawingHeight, kMargin);
        view_.OffsetY += kTitleBand;
    }
    double X(double x) const { return view_.ToPixels({x, 0}).x; }
    double Y(double y) const { return view_.ToPixels({0, y}).y; }
    double Length(double d) const { return view_.Length(d); }
    double Width() const { return width_; }
    double Height() const { return height_; }

  private:
    SketchView view_;
    double width_ = 0, height_ = 0;
};

// Two decimals are finer than a pixel; a non-finite number is written as zero.
std::string Num(double v) {
    return FormatFixedDigits(2, v);
}

std::string XmlEscape(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                // XML 1.0 allows no control characters but tab, CR and LF.
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') out += c;
        }
    }
    return out;
}

std::string ClassAttr(Ink ink, bool filled) {
    return std::string(" class=\"") + StyleOf(ink).SvgClass + (filled ? " fill" : "") + "\"";
}

void RenderPath(const Sketch::Path& path, const Viewport& v, std::string& svg) {
    if (path.Points.size() < 2) return;
    std::string d;
    for (size_t i = 0; i < path.Points.size(); ++i) {
        d += (i == 0 ? "M" : " L") + Num(v.X(path.Points[i].x)) + " " + Num(v.Y(path.Points[i].y));
    }
    if (path.Closed) d += " Z";
    svg += "<path" + ClassAttr(path.ink, path.Filled) + " d=\"" + d + "\"/>\n";
}

void RenderCircle(const Sketch::Circle& c, const Viewport& v, std::string& svg) {
    const double r = c.ScreenSize ? c.Radius : v.Length(c.Radius);
    svg += "<circle" + ClassAttr(c.ink, c.Filled) + " cx=\"" + Num(v.X(c.Centre.x)) + "\" cy=\"" +
           Num(v.Y(c.Centre.y)) + "\" r=\"" + Num(std::max(r, 0.5)) + "\"/>\n";
}

void RenderText(const Sketch::Text& t, const Viewport& v, std::string& svg) {
    if (t.Cp932.empty()) return;
    const std::string x = Num(v.X(t.At.x));
    const std::string y = Num(v.Y(t.At.y));
    const double size = t.Height > 0 ? v.Length(t.Height) : 11;
    svg += "<text class=\"" + std::string(StyleOf(t.ink).SvgClass) + "\" x=\"" + x + "\" y=\"" + y +
           "\" font-size=\"" + Num(std::max(size, 1.0)) + "\"";
    if (t.Length > 0) {
        svg += " textLength=\"" + Num(v.Length(t.Length)) + "\" lengthAdjust=\"spacingAndGlyphs\"";
    }
    if (t.Angle != 0) svg += " transform=\"rotate(" + Num(-t.Angle) + " " + x + " " + y + ")\"";
    svg += ">" + XmlEscape(Cp932ToUtf8(t.Cp932)) + "</text>\n";
}

// The mark goes under the drawing, so that it never hides the value text that starts at V.
void RenderReferenceMark(const Sketch::Label& label, const Viewport& v, std::string& svg) {
    const double x = v.X(label.At.x);
    const double y = v.Y(label.At.y);
    svg += "<circle class=\"ref\" cx=\"" + Num(x) + "\" cy=\"" + Num(y) + "\" r=\"" +
           Num(kReferenceMarkRadius) + "\"/>\n";
    svg += "<path class=\"ref\" d=\"M" + Num(x - 2 * kReferenceMarkRadius) + " " + Num(y) + " H" +
           Num(x + 2 * kReferenceMarkRadius) + " M" + Num(x) + " " +
           Num(y - 2 * kReferenceMarkRadius) + " V" + Num(y + 2 * kReferenceMarkRadius) + "\"/>\n";
}

// The caption goes over it: below left, since the value text and its line lie to the right of V.
void RenderReferenceCaption(const Sketch::Label& label, const Viewport& v, std::string& svg) {
    const double x = v.X(label.At.x);
    const double y = v.Y(label.At.y);
    svg += "<text class=\"ref\" text-anchor=\"end\" x=\"" + Num(x - kReferenceMarkRadius) +
           "\" y=\"" + Num(y + 3 * kReferenceMarkRadius + 4) + "\">" +
           XmlEscape(Cp932ToUtf8(label.Caption)) + "</text>\n";
}

// About how wide the title is drawn: a refusal's Japanese message must not run off the picture.
double TitleWidth(std::string_view utf8) {
    double width = 0;
    for (unsigned char c : utf8) {
        if (c < 0x80) width += kTitleFont * 0.55;
        if (c >= 0xC0) width += kTitleFont;  // the first byte of a wide character
    }
    return width + 2 * kTitleLeft;
}

void RenderTitle(const std::string& title, std::string& svg) {
    svg += "<text class=\"title\" x=\"" + Num(kTitleLeft) + "\" y=\"22\">" + XmlEscape(title) +
           "</text>\n";
    struct LegendItem {
        Ink ink;
        const char* caption;
    };
    static const LegendItem kLegend[] = {{Ink::Answer, "answer lines"},
                                         {Ink::AnswerText, "texts"},
                                         {Ink::AnswerMark, "point markers"},
                                         {Ink::AnswerDim, "dimension figure"},
                                         {Ink::Reference, "reference points"}};
    svg +=
        "<text class=\"legend\" x=\"12\" y=\"44\">"
        "<tspan fill=\"#909090\">&#9632; passed by the host (thick: picked line)</tspan>";
    for (const LegendItem& item : kLegend) {
        svg += "<tspan dx=\"14\" fill=\"" + Colour(item.ink) + "\">&#9632; " + item.caption +
               "</tspan>";
    }
    svg += "</text>\n";
}

}  // namespace

std::string RenderSvg(const Sketch& sketch, const std::string& title) {
    const Viewport v(BoundsOf(sketch), TitleWidth(title));
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Num(v.Width()) + "\" height=\"" +
           Num(v.Height()) + "\" viewBox=\"0 0 " + Num(v.Width()) + " " + Num(v.Height()) + "\">\n";
    svg += "<style>" + StyleSheet() + "</style>\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    RenderTitle(title, svg);
    for (const auto& label : sketch.Labels) RenderReferenceMark(label, v, svg);
    for (const auto& path : sketch.Paths) RenderPath(path, v, svg);
    for (const auto& c : sketch.Circles) RenderCircle(c, v, svg);
    for (const auto& t : sketch.Texts) RenderText(t, v, svg);
    for (const auto& label : sketch.Labels) RenderReferenceCaption(label, v, svg);
    svg += "</svg>\n";
    return svg;
}

}  // namespace dovarin
