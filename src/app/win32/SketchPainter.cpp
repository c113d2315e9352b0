#include "app/win32/SketchPainter.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/WindowPlacement.h"
#include "app/win32/DialogFont.h"
#include "app/win32/WideText.h"
#include "app/win32/WinUtil.h"

namespace dovarin::win32 {
namespace {

COLORREF ColorOf(Ink ink) {
    const InkStyle& style = StyleOf(ink);
    return RGB(style.R, style.G, style.B);
}

// A pixel value GDI takes: whatever a hostile file makes of the fit, never beyond its range nor
// a NaN.
int Px(double v) {
    constexpr double kLimit = 1 << 26;
    return std::isfinite(v) ? static_cast<int>(std::lround(std::clamp(v, -kLimit, kLimit))) : 0;
}

POINT Pixel(const SketchView& view, Point host) {
    const Point p = view.ToPixels(host);
    return {Px(p.x), Px(p.y)};
}

// A pen and a brush of one ink selected into the DC while it lives.
class InkTools {
  public:
    InkTools(HDC dc, Ink ink, bool filled, int penWidth)
        : dc_(dc),
          pen_(CreatePen(PS_SOLID, penWidth, ColorOf(ink))),
          brush_(filled ? CreateSolidBrush(ColorOf(ink)) : nullptr),
          oldPen_(SelectObject(dc, pen_.Get())),
          oldBrush_(SelectObject(
              dc, filled ? static_cast<HGDIOBJ>(brush_.Get()) : GetStockObject(NULL_BRUSH))) {}
    ~InkTools() {
        SelectObject(dc_, oldPen_);
        SelectObject(dc_, oldBrush_);
    }
    InkTools(const InkTools&) = delete;
    InkTools& operator=(const InkTools&) = delete;

  private:
    HDC dc_;
    GdiObject<HPEN> pen_;
    Brush brush_;
    HGDIOBJ oldPen_;
    HGDIOBJ oldBrush_;
};

int PenWidth(Ink ink, int dpi) {
    return std::max(1, Px(StyleOf(ink).Width * dpi / kLayoutDpi));
}

void PaintPath(HDC dc, const Sketch::Path& path, const SketchView& view, int dpi) {
    if (path.Points.size() < 2) return;
    std::vector<POINT> points;
    points.reserve(path.Points.size());
    for (const Point& p : path.Points) points.push_back(Pixel(view, p));
    const InkTools tools(dc, path.ink, path.Filled, PenWidth(path.ink, dpi));
    const int n = static_cast<int>(points.size());
    if (path.Closed || path.Filled) {
        Polygon(dc, points.data(), n);
    } else {
        Polyline(dc, points.data(), n);
    }
}

void PaintCircle(HDC dc, const Sketch::Circle& c, const SketchView& view, int dpi) {
    const POINT centre = Pixel(view, c.Centre);
    const double r = c.ScreenSize ? c.Radius * dpi / kLayoutDpi : c.Radius * view.Scale;
    const int radius = std::max(1, Px(r));
    const InkTools tools(dc, c.ink, c.Filled, PenWidth(c.ink, dpi));
    Ellipse(dc, centre.x - radius, centre.y - radius, centre.x + radius + 1, centre.y + radius + 1);
}

HFONT CreateTextFont(int height, int width, int tenthsOfDegrees) {
    return CreateFontW(-height, width, tenthsOfDegrees, tenthsOfDegrees, FW_NORMAL, FALSE, FALSE,
                       FALSE, SHIFTJIS_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       FIXED_PITCH | FF_MODERN, FormFontFace());
}

// The text on its baseline from its corner, at its height and angle, as the SVG picture places
// it; stretched or squeezed to its run length when known, as the host lays it out.
void PaintText(HDC dc, const Sketch::Text& t, const SketchView& view) {
    const std::wstring text = WideFromCp932(t.Cp932);
    const int height = Px(t.Height * view.Scale);
    if (text.empty() || height < 1) return;
    const int angle = Px(std::fmod(t.Angle, 360.0) * 10);
    Font font(CreateTextFont(height, 0, angle));
    HGDIOBJ old = SelectObject(dc, font.Get());
    const int length = Px(t.Length * view.Scale);
    SIZE natural = {};
    TEXTMETRICW metrics = {};
    if (length > 0 &&
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &natural) &&
        natural.cx > 0 && natural.cx != length && GetTextMetricsW(dc, &metrics)) {
        const int width = std::max(1, MulDiv(metrics.tmAveCharWidth, length, natural.cx));
        SelectObject(dc, old);
        font = Font(CreateTextFont(height, width, angle));
        old = SelectObject(dc, font.Get());
    }
    const POINT at = Pixel(view, t.At);
    SetTextColor(dc, ColorOf(t.ink));
    SetTextAlign(dc, TA_LEFT | TA_BASELINE | TA_NOUPDATECP);
    TextOutW(dc, at.x, at.y, text.c_str(), static_cast<int>(text.size()));
    SelectObject(dc, old);
}

// A numbered point: a ring and a cross under the drawing, its number below left of it over it.
void PaintLabelMark(HDC dc, const Sketch::Label& label, const SketchView& view, int dpi) {
    const POINT at = Pixel(view, label.At);
    const int r = ScaleForDpi(kReferenceMarkRadius, dpi);
    const InkTools tools(dc, label.ink, false, PenWidth(label.ink, dpi));
    Ellipse(dc, at.x - r, at.y - r, at.x + r + 1, at.y + r + 1);
    MoveToEx(dc, at.x - 2 * r, at.y, nullptr);
    LineTo(dc, at.x + 2 * r + 1, at.y);
    MoveToEx(dc, at.x, at.y - 2 * r, nullptr);
    LineTo(dc, at.x, at.y + 2 * r + 1);
}

void PaintLabelCaption(HDC dc, const Sketch::Label& label, const SketchView& view, HFONT font,
                       int dpi) {
    const POINT at = Pixel(view, label.At);
    const int r = ScaleForDpi(kReferenceMarkRadius, dpi);
    const std::wstring caption = WideFromCp932(label.Caption);
    const HGDIOBJ old = SelectObject(dc, font);
    SetTextColor(dc, ColorOf(label.ink));
    SetTextAlign(dc, TA_RIGHT | TA_TOP | TA_NOUPDATECP);
    TextOutW(dc, at.x - r, at.y + r, caption.c_str(), static_cast<int>(caption.size()));
    SelectObject(dc, old);
}

}  // namespace

void PaintSketch(HDC dc, const Sketch& sketch, const SketchView& view, int dpi) {
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    for (const auto& label : sketch.Labels) PaintLabelMark(dc, label, view, dpi);
    for (const auto& path : sketch.Paths) PaintPath(dc, path, view, dpi);
    for (const auto& circle : sketch.Circles) PaintCircle(dc, circle, view, dpi);
    for (const auto& text : sketch.Texts) PaintText(dc, text, view);
    if (!sketch.Labels.empty()) {
        const Font font(CreateFormFont(ScaleForDpi(kFontHeight, dpi)));
        for (const auto& label : sketch.Labels) {
            PaintLabelCaption(dc, label, view, font.Get(), dpi);
        }
    }
    SetBkMode(dc, oldMode);
}

}  // namespace dovarin::win32
