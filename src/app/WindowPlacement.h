// Where the window may open: a position saved on another screen layout (a monitor since removed,
// a different resolution) must not leave the title bar where the user cannot reach it.
#pragma once

#include <vector>

namespace dovarin {

// A rectangle in screen pixels; Right and Bottom lie just outside it, as in Windows' RECT.
struct ScreenRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

struct ScreenPoint {
    int X = 0;
    int Y = 0;
};

// Where a window must stand so that its title bar lies wholly on the monitors' work areas. The
// window's top-left corner is at `position`; its title bar spans the window's `width` and the
// `titleHeight` pixels from its top edge. The position stays while the work areas together cover
// the whole title bar (also across two monitors); otherwise the window takes the least move that
// puts the title bar inside one work area, the earlier one on a tie. A title bar wider or taller
// than a work area is aligned with its left or top edge there, so the system menu stays in reach.
// No work areas: the position stays. Any int position is safe (a settings file may hold one).
ScreenPoint PlaceTitleBar(ScreenPoint position, int width, int titleHeight,
                          const std::vector<ScreenRect>& workAreas);

}  // namespace dovarin
