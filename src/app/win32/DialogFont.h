// The dialog's font: "ＭＳ ゴシック", or where that is not installed (a Wine without a replacement
// for it), the first installed of the faces that look like it.
#pragma once

#include <windows.h>

namespace dovarin::win32 {

constexpr int kFontHeight = 13;       // pixels at 96 DPI
constexpr int kSmallFontHeight = 11;  // "（線矢印）"

// The dialog's font at `pixels` (its em height).
HFONT CreateFormFont(int pixels);
// The face CreateFormFont asks for, found once per run.
const wchar_t* FormFontFace();

}  // namespace dovarin::win32
