#include "app/WindowPlacement.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace dovarin {
namespace {

// Wide enough for a saved position near the ends of int plus the window's size.
struct Span {
    std::int64_t Left, Top, Right, Bottom;
};

Span Widen(const ScreenRect& r) {
    return {r.Left, r.Top, r.Right, r.Bottom};
}

bool IsEmpty(const Span& r) {
    return r.Left >= r.Right || r.Top >= r.Bottom;
}

// The parts of r outside cut: up to four bands (above, below, left and right of it).
void AppendOutside(const Span& r, const Span& cut, std::vector<Span>& out) {
    const bool disjoint =
        cut.Right <= r.Left || cut.Left >= r.Right || cut.Bottom <= r.Top || cut.Top >= r.Bottom;
    if (disjoint) {
        out.push_back(r);
        return;
    }
    const std::int64_t top = cut.Top > r.Top ? cut.Top : r.Top;
    const std::int64_t bottom = cut.Bottom < r.Bottom ? cut.Bottom : r.Bottom;
    const Span bands[] = {
        {r.Left, r.Top, r.Right, top},
        {r.Left, bottom, r.Right, r.Bottom},
        {r.Left, top, cut.Left, bottom},
        {cut.Right, top, r.Right, bottom},
    };
    for (const Span& band : bands) {
        if (!IsEmpty(band)) out.push_back(band);
    }
}

bool Covered(const Span& r, const std::vector<ScreenRect>& areas) {
    std::vector<Span> rest = {r};
    for (const ScreenRect& area : areas) {
        std::vector<Span> next;
        for (const Span& piece : rest) AppendOutside(piece, Widen(area), next);
        rest.swap(next);
    }
    return rest.empty();
}

// The least shift along one axis that brings [lo, hi) into [areaLo, areaHi); a span longer than
// the area is aligned with its low edge.
std::int64_t AxisShift(std::int64_t lo, std::int64_t hi, std::int64_t areaLo, std::int64_t areaHi) {
    if (hi - lo >= areaHi - areaLo || lo < areaLo) return areaLo - lo;
    if (hi > areaHi) return areaHi - hi;
    return 0;
}

// a x b / c rounded half away from zero, as MulDiv; held within int. c > 0.
int MulDivRounded(int a, int b, int c) {
    const std::int64_t product = std::int64_t{a} * b;
    const std::int64_t half = c / 2;
    const std::int64_t q = product >= 0 ? (product + half) / c : -((-product + half) / c);
    if (q > INT_MAX) return INT_MAX;
    if (q < INT_MIN) return INT_MIN;
    return static_cast<int>(q);
}

int ValidDpi(int dpi) {
    return dpi > 0 ? dpi : kLayoutDpi;
}

}  // namespace

int ScaleForDpi(int value, int dpi) {
    return MulDivRounded(value, ValidDpi(dpi), kLayoutDpi);
}

ScreenPoint ScreenFromSaved(ScreenPoint saved, int systemDpi) {
    return {ScaleForDpi(saved.X, systemDpi), ScaleForDpi(saved.Y, systemDpi)};
}

ScreenPoint SavedFromScreen(ScreenPoint screen, int systemDpi) {
    const int dpi = ValidDpi(systemDpi);
    return {MulDivRounded(screen.X, kLayoutDpi, dpi), MulDivRounded(screen.Y, kLayoutDpi, dpi)};
}

ScreenPoint PlaceTitleBar(ScreenPoint position, int width, int titleHeight,
                          const std::vector<ScreenRect>& workAreas) {
    const Span bar = {position.X, position.Y, std::int64_t{position.X} + width,
                      std::int64_t{position.Y} + titleHeight};
    if (workAreas.empty() || Covered(bar, workAreas)) return position;
    std::int64_t bestDx = 0, bestDy = 0;
    double bestDistance = -1;
    for (const ScreenRect& area : workAreas) {
        const std::int64_t dx = AxisShift(bar.Left, bar.Right, area.Left, area.Right);
        const std::int64_t dy = AxisShift(bar.Top, bar.Bottom, area.Top, area.Bottom);
        // A shift may come near 2^32, beyond what a squared int64 holds.
        const double distance = static_cast<double>(dx) * dx + static_cast<double>(dy) * dy;
        if (bestDistance < 0 || distance < bestDistance) {
            bestDx = dx;
            bestDy = dy;
            bestDistance = distance;
        }
    }
    // The moved corner lies inside a work area, so it is an int again.
    return {static_cast<int>(position.X + bestDx), static_cast<int>(position.Y + bestDy)};
}

ScreenRect PlaceBeside(const ScreenRect& dialog, int width, int height,
                       const ScreenRect& workArea) {
    // Rooms and sizes in 64 bits: a dialog may stand far off its monitor for a moment.
    const std::int64_t right = std::int64_t{workArea.Right} - std::max(dialog.Right, workArea.Left);
    const std::int64_t left = std::int64_t{std::min(dialog.Left, workArea.Right)} - workArea.Left;
    const std::int64_t w = std::max(width, 0);
    std::int64_t x = 0, cx = w;
    if (right >= w || (left < w && right >= left)) {
        cx = std::clamp<std::int64_t>(right, 0, w);
        x = std::max(dialog.Right, workArea.Left);
    } else {
        cx = std::clamp<std::int64_t>(left, 0, w);
        x = std::min(dialog.Left, workArea.Right) - cx;
    }
    const std::int64_t cy =
        std::clamp<std::int64_t>(height, 0, std::max(workArea.Bottom - workArea.Top, 0));
    const std::int64_t y = std::clamp<std::int64_t>(
        dialog.Top, workArea.Top, std::max<std::int64_t>(workArea.Bottom - cy, workArea.Top));
    return {static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + cx),
            static_cast<int>(y + cy)};
}

}  // namespace dovarin
