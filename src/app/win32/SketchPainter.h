// Paints a Sketch with GDI: the shell of the preview window. What is drawn, where and in which
// ink is the model's (Sketch, SketchView); this only turns it into pens, brushes and fonts.
#pragma once

#include <windows.h>

#include "app/Sketch.h"

namespace dovarin::win32 {

// Paints `sketch` through `view` on `dc` (pixels, y down) at `dpi`; texts in the dialog's face.
void PaintSketch(HDC dc, const Sketch& sketch, const SketchView& view, int dpi);

}  // namespace dovarin::win32
