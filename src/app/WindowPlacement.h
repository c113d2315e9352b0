// Where the window may open and at what size: a position saved on another screen layout (a
// monitor since removed, a different resolution or scale) must not leave the title bar where the
// user cannot reach it, and the dialog keeps its look at every display scale.
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

// ---- display scale ---------------------------------------------------------------------------
//
// The layout is drawn at 96 DPI, the scale of a screen at 100 %. A window at another scale shows
// every box and font at value x DPI / 96, rounded as Windows' MulDiv rounds (half away from
// zero), so it looks as the system's stretching of a 96-DPI window did, only sharp. Positions in
// kelm.dat stay in the units of a program that declares no awareness: screen pixels x 96 / the
// system DPI. So a file written at 100 %, or by an older program, opens at the same place at
// 150 %, and for every system DPI of 96 or more (Windows offers no scale below 100 %) reading a
// position and saving it unmoved gives back the same numbers.
constexpr int kLayoutDpi = 96;

// value x dpi / 96, rounded half away from zero; a dpi of 0 or less counts as 96. Results beyond
// int are held at its ends.
int ScaleForDpi(int value, int dpi);
// A saved position in screen pixels, and back.
ScreenPoint ScreenFromSaved(ScreenPoint saved, int systemDpi);
ScreenPoint SavedFromScreen(ScreenPoint screen, int systemDpi);

// Where a window must stand so that its title bar lies wholly on the monitors' work areas. The
// window's top-left corner is at `position`; its title bar spans the window's `width` and the
// `titleHeight` pixels from its top edge. The position stays while the work areas together cover
// the whole title bar (also across two monitors); otherwise the window takes the least move that
// puts the title bar inside one work area, the earlier one on a tie. A title bar wider or taller
// than a work area is aligned with its left or top edge there, so the system menu stays in reach.
// No work areas: the position stays. Any int position is safe (a settings file may hold one).
ScreenPoint PlaceTitleBar(ScreenPoint position, int width, int titleHeight,
                          const std::vector<ScreenRect>& workAreas);

// Where a window of `width` x `height` stands beside the window `dialog` (both frames), within
// `workArea`, the work area of the dialog's monitor, and never over the dialog: to the right when
// it fits there, else to the left when it fits there, else on the side with more room, narrowed
// to that room. Its top is the dialog's, moved the least way into the work area; a window taller
// than the work area is cut to it. The result may be empty when the dialog leaves no room.
ScreenRect PlaceBeside(const ScreenRect& dialog, int width, int height, const ScreenRect& workArea);

}  // namespace dovarin
