// The form's windows as the shell creates them: the control table's windows in z-order, with
// their texts in UTF-16, and the window class and style each kind of window is made with.
// Everything the dialog shows is placed from here, and the UI test checks the running window
// against it. The stable window IDs are in the control table (settings/ControlTable.cpp).
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "settings/ControlTable.h"

namespace dovarin::win32 {

// The table's names where the shell's code and its tests look for them.
using dovarin::Fill;
using dovarin::kButton1Id;
using dovarin::kButton2Id;
using dovarin::kClientHeight;
using dovarin::kClientWidth;
using dovarin::kLabelA1Id;
using dovarin::kMemo1Id;
using dovarin::Widget;

// Room below a drop-down list's box for its open list, at 96 DPI.
constexpr int kDropDownListHeight = 240;

struct FormControl {
    int id;
    Widget widget;
    // Client pixels. A label's width and height of 0 take the size of its text.
    int left, top, width, height;
    const wchar_t* text;  // nullptr for none
    // The input control it shows; for a radio button and a group box, their radio group; for a
    // label, the input it names (the input comes right after it).
    std::optional<ControlId> control;
    Fill fill;
};

// Every window of the form in creation order, which is the z-order: the inputs in tab order,
// each after its label (a radio group's buttons after its group box) and before its note, then
// the buttons, the memo and the status label.
const std::vector<FormControl>& FormControls();
bool IsLabel(Widget widget);
// The row of a control ID, or nullptr.
const FormControl* FindFormControl(int id);
// The ID that shows an input control (a radio group: its group box).
int WinIdOf(ControlId control);
// The IDs of a radio group's buttons, in item order.
std::vector<int> RadioButtonIds(ControlId group);

// The window class and styles a widget of the layout table is created with.
struct WidgetClass {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};
WidgetClass ClassOf(Widget widget);
// The background colour of a fill.
COLORREF ColorOf(Fill fill);

}  // namespace dovarin::win32
