// The dialog's controls as one table. A control's row holds everything about it: its id and
// name, where DialogControls keeps its state, its kind and typing limit, its line in the
// settings file, its caption, and the windows that
// show it (its label, its own window, a radio group's buttons, a note after it) with their
// stable window IDs, boxes and texts. The settings file, the validation, dovarin-batch --set and
// the Win32 form all read the rows; adding or moving a control is an edit of its row (and of
// DialogControls, where the control holds a value).
//
// Texts are code page 932. Boxes are client pixels at 96 DPI. Window IDs are stable: automation
// and the UI test find the controls by them.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace dovarin {

// Index of a drop-down list or radio group with nothing selected.
constexpr int kNoSelection = -1;

// The dialog's input controls, by their own names.
enum class ControlId {
    ComboBox1,
    ComboBox2,
    ComboBox3,
    ComboBox4,
    ComboBox5,
    Edit1,
    Edit2,
    Edit3,
    Edit4,
    Edit5,
    Edit6,
    Edit7,
    Edit8,
    Edit9,
    RadioGroup1,
    RadioGroup2,
    CheckBox1,
    CheckBox2,
    CheckBox3,
    CheckBox4,
};

enum class ControlKind { ComboBox, Edit, RadioGroup, CheckBox };

constexpr int kRadioButtonCount = 2;  // RadioGroup1, RadioGroup2

// Which standard control a window is; the window system's shell maps it to a class and style.
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

// The background a window is painted on.
enum class Fill { Form, Memo, Status };

// One window of the dialog. An id of 0 is no window.
struct WindowRow {
    int id = 0;
    Widget widget = Widget::Label;
    // A label's width and height of 0 take the size of its text.
    int left = 0, top = 0, width = 0, height = 0;
    const char* text = nullptr;  // the window's own text; nullptr for none
    Fill fill = Fill::Form;
};

struct DialogControls;

// Where DialogControls keeps a control's state: one of the three members, by the control's kind.
struct ControlField {
    int DialogControls::*index = nullptr;         // lists and radio groups
    std::string DialogControls::*text = nullptr;  // edits
    bool DialogControls::*checked = nullptr;      // check boxes
};

// One row of the control table.
struct ControlInfo {
    ControlId id;
    const char* name;  // "Edit7"
    ControlField field;
    ControlKind kind;
    int typingLimit;   // edits: most bytes of code page 932 the user may type; else 0
    bool imeAllowed;   // the Japanese input method stays on (prefix and suffix only)
    int settingsLine;  // its line in the settings file kelm.dat
    // What the dialog calls the control: its label's text, a radio group's group box caption, a
    // check box's own text.
    const char* Caption;
    // The label that shows Caption, right before the control (a screen reader names an input
    // after the window before it); none for a group box or check box, which show it themselves.
    WindowRow label;
    WindowRow window;  // the control's own window: a radio group's is its group box
    std::array<WindowRow, kRadioButtonCount> buttons;  // a radio group's, in item order
    WindowRow note;  // a label after it that names no input: a unit or a remark
};

// All input controls in tab order.
const std::vector<ControlInfo>& ControlTable();
const ControlInfo& GetControlInfo(ControlId id);
// The control of that name ("ComboBox3"), or nullptr.
const ControlInfo* FindControl(std::string_view name);

// The dialog's client size, and the IDs the dialog manager gives Enter and Escape.
constexpr int kClientWidth = 511;
constexpr int kClientHeight = 376;
constexpr int kButton1Id = 1;  // IDOK: what Enter presses
constexpr int kButton2Id = 2;  // IDCANCEL: what Escape presses
constexpr int kMemo1Id = 1051;
constexpr int kLabelA1Id = 1052;

// The form's windows that belong to no input, after the inputs in z-order: the two buttons (the
// end of the tab order), the memo and the status label.
const std::vector<WindowRow>& FormOwnWindows();

}  // namespace dovarin
