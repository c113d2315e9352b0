// The form's windows as one table: control IDs, kinds, pixel boxes and texts. Everything the
// dialog shows is placed from here, and the UI test checks the running window against it.
//
// Control IDs are stable; automation and the UI test find controls by them:
//     ComboBox1 .. ComboBox5    1001 .. 1005
//     Edit1 .. Edit9            1011 .. 1019
//     RadioGroup1, RadioGroup2  1021, 1022 (the group boxes); their buttons 1031, 1032 and
//                               1033, 1034
//     CheckBox1 .. CheckBox4    1041 .. 1044
//     Button1 (OK)              1 (IDOK)
//     Button2 (Cancel)          2 (IDCANCEL)
//     Memo1, LabelA1            1051, 1052
//     static labels             1101 .. 1122, in reading order
#pragma once

#include <optional>
#include <vector>

#include "app/Unit1.h"

namespace dovarin::win32 {

enum class Widget {
    DropDownList,
    Edit,
    RadioButton,
    CheckBox,
    DefaultButton,
    CancelButton,
    Memo,
    Status,
    Label,
    SmallLabel,  // in the 11-pixel font
    GroupBox,
};

struct FormControl {
    int id;
    Widget widget;
    // Client pixels. A label's width and height of 0 take the size of its text.
    int left, top, width, height;
    const wchar_t* text;
    // The input control it shows; for a radio button and a group box, their radio group; for a
    // label, the input it names (the input comes right after it).
    std::optional<ControlId> control;
};

constexpr int kClientWidth = 511;
constexpr int kClientHeight = 376;
constexpr int kButton1Id = 1;  // IDOK: what Enter presses
constexpr int kButton2Id = 2;  // IDCANCEL: what Escape presses
constexpr int kMemo1Id = 1051;
constexpr int kLabelA1Id = 1052;

// Every window of the form in creation order, which is the z-order: the inputs in tab order,
// each after its label (a radio group's buttons after its group box), then the memo and the
// status label.
const std::vector<FormControl>& FormControls();
bool IsLabel(Widget widget);
// The row of a control ID, or nullptr.
const FormControl* FindFormControl(int id);
// The ID that shows an input control (a radio group: its group box).
int WinIdOf(ControlId control);
// The IDs of a radio group's buttons, in item order.
std::vector<int> RadioButtonIds(ControlId group);

}  // namespace dovarin::win32
