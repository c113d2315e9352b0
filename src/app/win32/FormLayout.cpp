#include "app/win32/FormLayout.h"

#include <deque>
#include <string>

#include "app/win32/WideText.h"

namespace dovarin::win32 {
namespace {

// The windows and their texts, made once from the control table.
struct Layout {
    std::deque<std::wstring> texts;  // a deque never moves what it holds
    std::vector<FormControl> rows;

    void Add(const WindowRow& row, const char* text, std::optional<ControlId> control) {
        const wchar_t* wide = nullptr;
        if (text) wide = texts.emplace_back(WideFromCp932(text)).c_str();
        rows.push_back({row.id, row.widget, row.left, row.top, row.width, row.height, wide, control,
                        row.fill});
    }

    Layout() {
        for (const ControlInfo& info : ControlTable()) {
            // A group box and a check box show the caption themselves.
            const bool ownCaption = info.label.id == 0;
            if (!ownCaption) Add(info.label, info.Caption, info.id);
            Add(info.window, ownCaption ? info.Caption : info.window.text, info.id);
            for (const WindowRow& button : info.buttons) {
                if (button.id != 0) Add(button, button.text, info.id);
            }
            if (info.note.id != 0) Add(info.note, info.note.text, std::nullopt);
        }
        for (const WindowRow& row : FormOwnWindows()) Add(row, row.text, std::nullopt);
    }
};

}  // namespace

const std::vector<FormControl>& FormControls() {
    static const Layout layout;
    return layout.rows;
}

const FormControl* FindFormControl(int id) {
    for (const FormControl& row : FormControls()) {
        if (row.id == id) return &row;
    }
    return nullptr;
}

bool IsLabel(Widget widget) {
    return widget == Widget::Label || widget == Widget::SmallLabel;
}

int WinIdOf(ControlId control) {
    return GetControlInfo(control).window.id;
}

std::vector<int> RadioButtonIds(ControlId group) {
    std::vector<int> ids;
    for (const WindowRow& button : GetControlInfo(group).buttons) {
        if (button.id != 0) ids.push_back(button.id);
    }
    return ids;
}

WidgetClass ClassOf(Widget widget) {
    // Every control in the tab order opens a group of its own; a radio group's first button
    // opens its group (see MainForm::CreateControl), so the arrow keys move between its buttons
    // only.
    constexpr DWORD kTab = WS_TABSTOP | WS_GROUP;
    switch (widget) {
        case Widget::DropDownList:
            return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | kTab, 0};
        case Widget::Edit:
            return {L"EDIT", ES_AUTOHSCROLL | kTab, WS_EX_CLIENTEDGE};
        case Widget::RadioButton:
            return {L"BUTTON", BS_AUTORADIOBUTTON, 0};
        case Widget::CheckBox:
            return {L"BUTTON", BS_AUTOCHECKBOX | kTab, 0};
        case Widget::DefaultButton:
            return {L"BUTTON", BS_DEFPUSHBUTTON | kTab, 0};
        case Widget::CancelButton:
            return {L"BUTTON", BS_PUSHBUTTON | kTab, 0};
        case Widget::Memo:
            return {L"EDIT",
                    ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL |
                        WS_GROUP,
                    WS_EX_CLIENTEDGE};
        case Widget::Status:
            return {L"STATIC", SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX | WS_GROUP, 0};
        case Widget::GroupBox:
            return {L"BUTTON", BS_GROUPBOX | WS_GROUP, 0};
        case Widget::Label:
        case Widget::SmallLabel:
            break;
    }
    return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX | WS_GROUP, 0};
}

COLORREF ColorOf(Fill fill) {
    switch (fill) {
        case Fill::Memo:
            return RGB(187, 235, 244);
        case Fill::Status:
            return RGB(231, 231, 231);
        case Fill::Form:
            break;
    }
    return RGB(255, 255, 255);
}

}  // namespace dovarin::win32
