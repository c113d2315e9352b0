// The form is a window of its own class run by the dialog manager's default procedure
// (DefDlgProc, with the dialog's extra window bytes), so that Tab, Enter on the default button,
// Escape, the Alt mnemonics and the focus kept across activation work as in any dialog, while
// the window stays ours: created hidden, shown after FormShow, closed when TForm1 says so.
#include "app/win32/MainForm.h"

#include <imm.h>

#include <algorithm>
#include <new>
#include <optional>

#include "app/WindowPlacement.h"
#include "app/win32/FormLayout.h"
#include "app/win32/WideText.h"
#include "app/win32/WinUtil.h"
#include "exchange/JwwGaibu.h"

namespace dovarin::win32 {
namespace {

namespace fs = std::filesystem;

constexpr const wchar_t* kFormClass = L"DovarinForm";
constexpr const wchar_t* kCaption = L"Dovarin";
constexpr const wchar_t* kMessageCaption = L"確認";
constexpr const wchar_t* kFontFace = L"ＭＳ ゴシック";
constexpr int kFontHeight = 13;       // pixels, whatever the screen's text size
constexpr int kSmallFontHeight = 11;  // "（線矢印）"
// Single border, system menu and minimise box: the size is fixed. No WS_CLIPCHILDREN: the form
// paints the inside of the group boxes, which do not paint it themselves.
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr COLORREF kFormColor = RGB(255, 255, 255);
constexpr COLORREF kMemoColor = RGB(187, 235, 244);
constexpr COLORREF kStatusColor = RGB(231, 231, 231);
// Room below a drop-down list's box for its open list.
constexpr int kDropDownListHeight = 240;

struct WidgetClass {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

WidgetClass ClassOf(Widget widget) {
    // Every control in the tab order opens a group of its own; a radio group's first button
    // opens its group (see CreateControl), so the arrow keys move between its buttons only.
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

HFONT CreateFormFont(int pixels) {
    return CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       FIXED_PITCH | FF_MODERN, kFontFace);
}

SIZE TextSize(HWND hwnd, HFONT font, const wchar_t* text) {
    SIZE size = {};
    HDC dc = GetDC(hwnd);
    const HGDIOBJ old = SelectObject(dc, font);
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return size;
}

// A drop-down list's closed height follows its font; its selection field is sized so that the
// closed box has the height of the table. The field's height and the box's differ by the
// borders, which not every system counts alike: measured, not assumed.
void FitClosedHeight(HWND combo, int height) {
    LRESULT field = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const RECT box = WindowRect(combo);
        const LRESULT shown = box.bottom - box.top;
        if (shown == height) return;
        field += height - shown;
        SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
}

bool RegisterFormClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass = {};
    if (GetClassInfoExW(instance, kFormClass, &windowClass)) return true;
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.cbWndExtra = DLGWINDOWEXTRA;  // the dialog manager keeps its state there
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kFormClass;
    return RegisterClassExW(&windowClass) != 0;
}

bool IsControlChar(wchar_t c) {
    return c < 0x20 || c == 0x7F;
}

// The part of `after` that `before` lacks: what the user typed or pasted.
std::wstring_view Inserted(std::wstring_view before, std::wstring_view after) {
    std::size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
        ++tail;
    }
    return after.substr(head, after.size() - head - tail);
}

// What an edit keeps of the user's change from `before` to `after`. A change that brings in a
// control character (a one-line edit holds none) or a character code page 932 cannot hold is
// refused whole; any other is cut at the typing limit, counted in bytes of code page 932.
std::wstring KeptText(const std::wstring& before, const std::wstring& after, int limit) {
    const std::wstring_view inserted = Inserted(before, after);
    if (std::any_of(inserted.begin(), inserted.end(), IsControlChar)) return before;
    const std::optional<std::string> typed = Cp932FromWide(after);
    if (!typed) return before;
    const std::string kept = ApplyTypingLimit(Cp932FromWide(before).value_or(""), *typed, limit);
    return kept == *typed ? after : WideFromCp932(kept);
}

}  // namespace

void WriteCancelAnswer() noexcept {
    if (ExeDir.empty()) return;  // nowhere known to answer
    OutputBuffer.clear();
    try {
        // Writes "hq", or removes the file when even that cannot be written.
        WriteExchangeFile(TForm1::ExchangeFilePath());
    } catch (...) {
        // No memory even for the path: nothing more can be done.
    }
}

MainForm::MainForm(HINSTANCE instance, HWND owner)
    : owner_(owner),
      font_(CreateFormFont(kFontHeight)),
      smallFont_(CreateFormFont(kSmallFontHeight)),
      formBrush_(CreateSolidBrush(kFormColor)),
      memoBrush_(CreateSolidBrush(kMemoColor)),
      statusBrush_(CreateSolidBrush(kStatusColor)) {
    if (!RegisterFormClass(instance, WindowProc)) return;
    RECT frame = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, kFormStyle, FALSE, 0);
    // WM_NCCREATE sets hwnd_.
    CreateWindowExW(0, kFormClass, kCaption, kFormStyle, 0, 0, frame.right - frame.left,
                    frame.bottom - frame.top, owner, nullptr, instance, this);
    if (hwnd_ && !CreateControls(instance)) DestroyWindow(hwnd_);
}

MainForm::~MainForm() {
    if (hwnd_) DestroyWindow(hwnd_);
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(font_), static_cast<HGDIOBJ>(smallFont_),
                           static_cast<HGDIOBJ>(formBrush_), static_cast<HGDIOBJ>(memoBrush_),
                           static_cast<HGDIOBJ>(statusBrush_)}) {
        if (object) DeleteObject(object);
    }
}

bool MainForm::CreateControls(HINSTANCE instance) {
    const std::vector<FormControl>& rows = FormControls();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (!CreateControl(instance, row)) return false;
    }
    for (const ControlInfo& info : ControlTable()) {
        if (info.kind == ControlKind::RadioGroup) UpdateRadioTabStop(info.id);
    }
    SendMessageW(hwnd_, DM_SETDEFID, kButton1Id, 0);
    return true;
}

HWND MainForm::CreateControl(HINSTANCE instance, std::size_t row) {
    const std::vector<FormControl>& rows = FormControls();
    const FormControl& c = rows[row];
    const WidgetClass kind = ClassOf(c.widget);
    DWORD style = WS_CHILD | WS_VISIBLE | kind.style;
    if (c.widget == Widget::RadioButton && (row == 0 || rows[row - 1].control != c.control)) {
        style |= WS_GROUP;
    }
    const HFONT font = c.widget == Widget::SmallLabel ? smallFont_ : font_;
    const wchar_t* text = c.text ? c.text : L"";
    SIZE size = {c.width, c.height};
    if (size.cx == 0) size = TextSize(hwnd_, font, text);
    if (c.widget == Widget::DropDownList) size.cy += kDropDownListHeight;
    HWND control = CreateWindowExW(
        kind.exStyle, kind.className, text, style, c.left, c.top, size.cx, size.cy, hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
    if (!control) return nullptr;
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (c.widget == Widget::DropDownList) FitClosedHeight(control, c.height);
    // Our own limit counts bytes of code page 932; the edit's own counts UTF-16 units.
    if (c.widget == Widget::Edit) SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
    const bool input = c.widget == Widget::Edit || c.widget == Widget::DropDownList;
    if (input && c.control && !GetControlInfo(*c.control).imeAllowed) {
        ImmAssociateContextEx(control, nullptr, 0);  // no input method while it has the focus
    }
    return control;
}

HWND MainForm::Item(int id) const {
    return hwnd_ ? GetDlgItem(hwnd_, id) : nullptr;
}

HWND MainForm::Item(ControlId id) const {
    return Item(WinIdOf(id));
}

// ---- running the form ------------------------------------------------------------------------

template <class Action>
void MainForm::Guarded(Action&& action) noexcept {
    // Nothing may be thrown into Windows: a failure in the window's own code breaks the run off
    // as one inside TForm1's handlers does.
    try {
        action();
    } catch (const std::bad_alloc&) {
        form_.Abort(true);
    } catch (...) {
        form_.Abort(false);
    }
}

void MainForm::Show(const fs::path& exeDir) {
    Guarded([&] {
        form_.FormShow(exeDir);
        if (!hwnd_ || closing_) return;
        if (owner_) {
            const RECT frame = WindowRect(hwnd_);
            SetWindowPos(owner_, nullptr, frame.left, frame.top, 0, 0,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        }
        ShowWindow(hwnd_, SW_SHOWNORMAL);
        SetForegroundWindow(hwnd_);
        FocusControl(ControlTable().front().id);
    });
}

LRESULT CALLBACK MainForm::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* form = static_cast<MainForm*>(created->lpCreateParams);
        form->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<MainForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!form) return DefDlgProcW(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    form->Guarded([&] { result = form->HandleMessage(hwnd, message, wParam, lParam); });
    return result;
}

LRESULT MainForm::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_CTLCOLORDLG:
            return reinterpret_cast<LRESULT>(formBrush_);
        case WM_CLOSE:  // the close box, Alt+F4, the system menu: as Cancel
            Close();
            return 0;
        case WM_SYSCOMMAND:
            // The form has no task bar button of its own: the application's window goes down
            // in its place, and shows the form again when it is restored.
            if ((wParam & 0xFFF0) == SC_MINIMIZE && owner_) {
                ShowWindow(hwnd, SW_HIDE);
                ShowWindow(owner_, SW_MINIMIZE);
                return 0;
            }
            break;
        case WM_NCDESTROY:
            hwnd_ = nullptr;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            PostQuitMessage(0);
            break;
    }
    return DefDlgProcW(hwnd, message, wParam, lParam);
}

void MainForm::OnCommand(int id, int code, HWND control) {
    if (code == BN_CLICKED && id == kButton1Id) {
        form_.Button1Click();
        return;
    }
    if (code == BN_CLICKED && id == kButton2Id) {
        form_.Button2Click();
        return;
    }
    const FormControl* row = FindFormControl(id);
    if (!row || !row->control) return;
    if (row->widget == Widget::Edit && code == EN_CHANGE) OnEditChange(*row->control, control);
    if (row->widget == Widget::RadioButton && code == BN_CLICKED) {
        UpdateRadioTabStop(*row->control);
    }
}

LRESULT MainForm::OnCtlColor(HDC dc, HWND control) const {
    const int id = GetDlgCtrlID(control);
    COLORREF color = kFormColor;
    HBRUSH brush = formBrush_;
    if (id == kMemo1Id) {
        color = kMemoColor;
        brush = memoBrush_;
    } else if (id == kLabelA1Id) {
        color = kStatusColor;
        brush = statusBrush_;
    }
    SetBkColor(dc, color);
    return reinterpret_cast<LRESULT>(brush);
}

// ---- FormWindow ------------------------------------------------------------------------------

void MainForm::ShowControls(const DialogControls& controls) {
    if (!hwnd_) return;
    // An index the control has no item for shows as no selection, as in any window.
    const auto shownIndex = [&controls](ControlId id) {
        return controls.HasSelection(id) ? controls.Index(id) : kNoSelection;
    };
    for (const ControlInfo& info : ControlTable()) {
        switch (info.kind) {
            case ControlKind::Edit:
                ShowEditText(info.id, controls.Text(info.id));
                break;
            case ControlKind::ComboBox:
                SetItems(Item(info.id), controls.Items(info.id));
                SelectItem(Item(info.id), shownIndex(info.id));
                break;
            case ControlKind::RadioGroup:
                CheckRadio(info.id, shownIndex(info.id));
                break;
            case ControlKind::CheckBox:
                SetChecked(Item(info.id), controls.Checked(info.id));
                break;
        }
    }
}

void MainForm::ReadControls(DialogControls& controls) {
    if (!hwnd_) return;
    for (const ControlInfo& info : ControlTable()) {
        switch (info.kind) {
            case ControlKind::Edit:
                controls.Text(info.id) = ReadEditText(info.id);
                break;
            case ControlKind::ComboBox:
                controls.Index(info.id) = SelectedIndex(Item(info.id));
                break;
            case ControlKind::RadioGroup:
                controls.Index(info.id) = CheckedRadio(info.id);
                break;
            case ControlKind::CheckBox:
                controls.Checked(info.id) = IsChecked(Item(info.id));
                break;
        }
    }
}

void MainForm::FocusControl(ControlId id) {
    if (!hwnd_) return;
    const bool group = GetControlInfo(id).kind == ControlKind::RadioGroup;
    HWND target = group ? RadioTabStop(id) : Item(id);
    // Through the dialog manager, so that the default button and an edit's selection follow.
    SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
}

void MainForm::SetStatus(std::string_view text) {
    HWND label = Item(kLabelA1Id);
    if (!label) return;
    SetControlText(label, text);
    // The work that follows keeps the message loop busy: paint now.
    UpdateWindow(label);
}

void MainForm::ShowMessage(std::string_view text) {
    if (!hwnd_) return;
    MessageBoxW(hwnd_, WideFromCp932(text).c_str(), kMessageCaption, MB_OK | MB_ICONQUESTION);
}

void MainForm::GetPosition(int& left, int& top) {
    if (!hwnd_) return;
    const RECT frame = WindowRect(hwnd_);
    left = frame.left;
    top = frame.top;
}

void MainForm::SetPosition(int left, int top) {
    if (!hwnd_) return;
    const RECT frame = WindowRect(hwnd_);
    POINT client = {0, 0};
    ClientToScreen(hwnd_, &client);
    const ScreenPoint place =
        PlaceTitleBar({left, top}, frame.right - frame.left, client.y - frame.top, WorkAreas());
    SetWindowPos(hwnd_, nullptr, place.X, place.Y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainForm::Close() {
    // One close event, however many ways ask for it.
    if (closing_) return;
    closing_ = true;
    form_.FormClose();
    if (hwnd_) DestroyWindow(hwnd_);
}

// ---- edits -----------------------------------------------------------------------------------

void MainForm::ShowEditText(ControlId id, const std::string& cp932) {
    EditText& edit = edits_[id];
    edit.setBytes = cp932;
    edit.setWide = WideFromCp932(cp932);
    edit.accepted = edit.setWide;
    ReplaceEditText(Item(id), edit.setWide);
}

std::string MainForm::ReadEditText(ControlId id) {
    const EditText& edit = edits_[id];
    const std::wstring shown = WindowText(Item(id));
    // A text the user left alone keeps its bytes, even those that UTF-16 cannot bring back.
    if (shown == edit.setWide) return edit.setBytes;
    // Every change was checked as it came, so the text has a code page 932 form.
    return Cp932FromWide(shown).value_or(edit.setBytes);
}

void MainForm::ReplaceEditText(HWND edit, const std::wstring& text) {
    settingText_ = true;
    SetWindowTextW(edit, text.c_str());
    settingText_ = false;
}

void MainForm::OnEditChange(ControlId id, HWND edit) {
    if (settingText_) return;
    EditText& state = edits_[id];
    const std::wstring typed = WindowText(edit);
    const std::wstring kept = KeptText(state.accepted, typed, GetControlInfo(id).typingLimit);
    if (kept != typed) {
        // The caret stays before the text that followed it.
        DWORD caret = 0;
        SendMessageW(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
        const std::size_t tail = typed.size() - std::min<std::size_t>(caret, typed.size());
        const std::size_t place = kept.size() > tail ? kept.size() - tail : 0;
        ReplaceEditText(edit, kept);
        SendMessageW(edit, EM_SETSEL, place, place);
        MessageBeep(MB_OK);
    }
    state.accepted = kept;
}

// ---- radio groups ----------------------------------------------------------------------------

void MainForm::CheckRadio(ControlId group, int index) {
    const std::vector<int> ids = RadioButtonIds(group);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        SetChecked(Item(ids[i]), static_cast<int>(i) == index);
    }
    UpdateRadioTabStop(group);
}

int MainForm::CheckedRadio(ControlId group) const {
    const std::vector<int> ids = RadioButtonIds(group);
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (IsChecked(Item(ids[i]))) return static_cast<int>(i);
    }
    return kNoSelection;
}

HWND MainForm::RadioTabStop(ControlId group) const {
    const int checked = CheckedRadio(group);
    return Item(RadioButtonIds(group)[checked == kNoSelection ? 0 : checked]);
}

void MainForm::UpdateRadioTabStop(ControlId group) {
    // Tab enters a radio group at its checked button, or at the first while none is checked.
    HWND stop = RadioTabStop(group);
    for (int id : RadioButtonIds(group)) SetStyleBit(Item(id), WS_TABSTOP, Item(id) == stop);
}

}  // namespace dovarin::win32
