// The form is a window of its own class run by the dialog manager's default procedure
// (DefDlgProc, with the dialog's extra window bytes), so that Tab, Enter on the default button,
// Escape, the Alt mnemonics and the focus kept across activation work as in any dialog, while
// the window stays ours: created hidden, shown after FormShow, closed when TForm1 says so.
#include "app/win32/MainForm.h"

#include <imm.h>

#include <algorithm>

#include "app/WindowPlacement.h"
#include "app/win32/PreviewWindow.h"
#include "app/win32/WideText.h"

namespace dovarin::win32 {
namespace {

constexpr const wchar_t* kFormClass = L"DovarinForm";
constexpr const wchar_t* kCaption = L"Dovarin";
constexpr const wchar_t* kMessageCaption = L"確認";
// Single border, system menu and minimise box: the size is fixed. No WS_CLIPCHILDREN: the form
// paints the inside of the group boxes, which do not paint it themselves.
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

const wchar_t* TextOf(const FormControl& row) {
    return row.text ? row.text : L"";
}

}  // namespace

MainForm::MainForm(HINSTANCE instance, HWND owner)
    : owner_(owner),
      formBrush_(CreateSolidBrush(ColorOf(Fill::Form))),
      memoBrush_(CreateSolidBrush(ColorOf(Fill::Memo))),
      statusBrush_(CreateSolidBrush(ColorOf(Fill::Status))) {
    const auto background = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    // The dialog manager keeps its state in the window's own bytes.
    if (!RegisterWindowClass(instance, kFormClass, WindowProc, DLGWINDOWEXTRA, background)) return;
    // Sized for the primary screen, where a new window opens; placing it may move it to another.
    UseDpi(SystemDpi());
    SIZE frame = FrameSize(Scaled(kClientWidth), Scaled(kClientHeight), kFormStyle, dpi_);
    // WM_NCCREATE sets hwnd_.
    CreateWindowExW(0, kFormClass, kCaption, kFormStyle, 0, 0, frame.cx, frame.cy, owner, nullptr,
                    instance, this);
    if (!hwnd_) return;
    // The primary screen's scale changed since log-on: the window's own DPI counts.
    if (const int dpi = WindowDpi(hwnd_); dpi != dpi_) {
        UseDpi(dpi);
        frame = FrameSize(Scaled(kClientWidth), Scaled(kClientHeight), kFormStyle, dpi_);
        SetWindowPos(hwnd_, nullptr, 0, 0, frame.cx, frame.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (!CreateControls(instance)) {
        DestroyWindow(hwnd_);
        return;
    }
    preview_ = std::make_unique<PreviewWindow>(instance, hwnd_, [this] {
        DialogControls controls = form_.Dialog.Controls;
        ReadControls(controls);
        return controls;
    });
}

MainForm::~MainForm() {
    if (hwnd_) DestroyWindow(hwnd_);
}

// ---- the form at a DPI -----------------------------------------------------------------------

void MainForm::UseDpi(int dpi) {
    dpi_ = dpi;
    fittedField_ = {};
    // One font per size, shared by every control of that size.
    font_ = Font(CreateFormFont(Scaled(kFontHeight)));
    smallFont_ = Font(CreateFormFont(Scaled(kSmallFontHeight)));
}

HFONT MainForm::FontOf(Widget widget) const {
    return widget == Widget::SmallLabel ? smallFont_.Get() : font_.Get();
}

RECT MainForm::ControlBox(const FormControl& row, MeasuringContext& measure) const {
    const int left = Scaled(row.left), top = Scaled(row.top);
    SIZE size = {Scaled(row.width), Scaled(row.height)};
    if (row.width == 0) size = measure.TextSize(FontOf(row.widget), TextOf(row));
    if (row.widget == Widget::DropDownList) size.cy += Scaled(kDropDownListHeight);
    return {left, top, left + size.cx, top + size.cy};
}

// A drop-down list's closed height follows its font; its selection field is sized so that the
// closed box has the height of the table. The field's height and the box's differ by the
// borders, which not every system counts alike: measured, not assumed. The field that fitted
// the last list of that height at this DPI is the first guess, which is then only checked.
void MainForm::FitClosedHeight(HWND combo, int height) {
    int field = FieldHeight(combo);
    if (fittedField_.box == height && field != fittedField_.field) {
        field = fittedField_.field;
        SetFieldHeight(combo, field);
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::optional<RECT> box = WindowRect(combo);
        if (!box) return;
        if (box->bottom - box->top == height) {
            fittedField_ = {height, field};
            return;
        }
        field += height - (box->bottom - box->top);
        SetFieldHeight(combo, field);
    }
}

// A control at its box gets its font, and a drop-down list the closed height, which follows it.
void MainForm::FitControl(HWND control, const FormControl& row) {
    SetFont(control, FontOf(row.widget));
    if (row.widget == Widget::DropDownList) FitClosedHeight(control, Scaled(row.height));
}

bool MainForm::CreateControls(HINSTANCE instance) {
    MeasuringContext measure(hwnd_);
    for (std::size_t row = 0; row < FormControls().size(); ++row) {
        if (!CreateControl(instance, row, measure)) return false;
    }
    for (const ControlInfo& info : ControlTable()) {
        if (info.kind == ControlKind::RadioGroup) UpdateRadioTabStop(info.id);
    }
    SetDefaultButton(hwnd_, kButton1Id);
    return true;
}

bool MainForm::CreateControl(HINSTANCE instance, std::size_t row, MeasuringContext& measure) {
    const std::vector<FormControl>& rows = FormControls();
    const FormControl& c = rows[row];
    const WidgetClass kind = ClassOf(c.widget);
    DWORD style = WS_CHILD | WS_VISIBLE | kind.style;
    const bool opensGroup = row == 0 || rows[row - 1].widget != Widget::RadioButton;
    if (c.widget == Widget::RadioButton && opensGroup) style |= WS_GROUP;
    const RECT box = ControlBox(c, measure);
    // The memo lays its lines out as it gets them: given after its font, they are laid out once,
    // and never in the system font, which lacks their characters.
    const bool textAfterFont = c.widget == Widget::Memo;
    HWND control =
        CreateWindowExW(kind.exStyle, kind.className, textAfterFont ? L"" : TextOf(c), style,
                        box.left, box.top, box.right - box.left, box.bottom - box.top, hwnd_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
    if (!control) return false;
    FitControl(control, c);
    if (textAfterFont) SetWindowTextW(control, TextOf(c));
    // Our own limit counts bytes of code page 932; the edit's own counts UTF-16 units.
    if (c.widget == Widget::Edit) RemoveTypingLimit(control);
    const bool input = c.widget == Widget::Edit || c.widget == Widget::DropDownList;
    if (input && c.control && !GetControlInfo(*c.control).imeAllowed) {
        ImmAssociateContextEx(control, nullptr, 0);  // no input method while it has the focus
    }
    return true;
}

// The window moved to a screen of another scale: everything again at the new DPI, in the
// rectangle Windows suggests. The old fonts go once no control uses them.
void MainForm::OnDpiChanged(int dpi, const RECT& suggested) {
    Font oldFont = std::move(font_);
    Font oldSmallFont = std::move(smallFont_);
    UseDpi(dpi);
    MeasuringContext measure(hwnd_);
    for (const FormControl& row : FormControls()) {
        HWND control = Item(row.id);
        const RECT box = ControlBox(row, measure);
        SetWindowPos(control, nullptr, box.left, box.top, box.right - box.left,
                     box.bottom - box.top, SWP_NOZORDER | SWP_NOACTIVATE);
        FitControl(control, row);
    }
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

HWND MainForm::Item(int id) const {
    return hwnd_ ? GetDlgItem(hwnd_, id) : nullptr;
}

HWND MainForm::Item(ControlId id) const {
    return Item(WinIdOf(id));
}

// ---- running the form ------------------------------------------------------------------------

void MainForm::Show() {
    // Nothing may be thrown into Windows: a failure in the window's own code breaks the run off
    // as one inside TForm1's handlers does.
    AbortOnFailure(form_, [this] {
        form_.FormShow();
        if (!hwnd_ || closing_) return;
        if (const std::optional<RECT> frame = WindowRect(hwnd_); frame && owner_) {
            SetWindowPos(owner_, nullptr, frame->left, frame->top, 0, 0,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        }
        ShowWindow(hwnd_, SW_SHOWNORMAL);
        SetForegroundWindow(hwnd_);
        FocusControl(ControlTable().front().id);
        // Painted now, the form and its controls at once, with the focus where it starts,
        // rather than one control for each turn of the message loop.
        UpdateWindow(hwnd_);
    });
}

bool MainForm::PreTranslate(MSG& message) {
    if (!hwnd_) return false;
    if (preview_ && preview_->PreTranslate(message)) return true;  // F2
    // Alt+F4 closes the form whichever control has the focus: a drop-down list may keep the key
    // to itself.
    const bool ours = message.hwnd == hwnd_ || IsChild(hwnd_, message.hwnd);
    if (ours && message.message == WM_SYSKEYDOWN && message.wParam == VK_F4) {
        PostMessageW(hwnd_, WM_CLOSE, 0, 0);
        return true;
    }
    // The dialog manager takes Tab, Enter, Escape and the Alt mnemonics.
    return IsDialogMessageW(hwnd_, &message) != FALSE;
}

LRESULT CALLBACK MainForm::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = WindowOwner(hwnd, message, lParam, &MainForm::hwnd_);
    if (!form) return DefDlgProcW(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    AbortOnFailure(form->form_,
                   [&] { result = form->HandleMessage(hwnd, message, wParam, lParam); });
    return result;
}

LRESULT MainForm::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Changes, moves and the preview's menu item: the preview follows the dialog.
    if (preview_ && preview_->OnDialogMessage(message, wParam, lParam)) return 0;
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_CTLCOLORDLG:
            return reinterpret_cast<LRESULT>(formBrush_.Get());
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_SYSCOMMAND:
            // The form has no task bar button of its own: the application's window goes down
            // in its place, and takes the form with it.
            if ((wParam & 0xFFF0) == SC_MINIMIZE && owner_) {
                ShowWindow(owner_, SW_MINIMIZE);
                return 0;
            }
            break;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_NCDESTROY:
            hwnd_ = nullptr;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            PostQuitMessage(0);
            break;
    }
    return DefDlgProcW(hwnd, message, wParam, lParam);
}

// Every way of closing comes here: the close box, Alt+F4, the system menu, the task bar's
// close; all close as Cancel. Not while the form waits for its message box to be answered.
void MainForm::OnClose() {
    if (hwnd_ && IsWindowEnabled(hwnd_)) form_.Button2Click();
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
    const FormControl* row = FindFormControl(GetDlgCtrlID(control));
    const Fill fill = row ? row->fill : Fill::Form;
    SetBkColor(dc, ColorOf(fill));
    return reinterpret_cast<LRESULT>(BrushOf(fill));
}

HBRUSH MainForm::BrushOf(Fill fill) const {
    switch (fill) {
        case Fill::Memo:
            return memoBrush_.Get();
        case Fill::Status:
            return statusBrush_.Get();
        case Fill::Form:
            break;
    }
    return formBrush_.Get();
}

// ---- FormWindow ------------------------------------------------------------------------------

void MainForm::ShowControls(const DialogControls& controls) {
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
    const bool group = GetControlInfo(id).kind == ControlKind::RadioGroup;
    // Through the dialog manager, so that the default button and an edit's selection follow.
    MoveFocus(hwnd_, group ? RadioTabStop(id) : Item(id));
}

void MainForm::SetStatus(std::string_view text) {
    HWND label = Item(kLabelA1Id);
    SetControlText(label, text);
    // The work that follows keeps the message loop busy: paint now.
    if (label) UpdateWindow(label);
}

void MainForm::ShowMessage(std::string_view text) {
    if (hwnd_) {
        MessageBoxW(hwnd_, WideFromCp932(text).c_str(), kMessageCaption, MB_OK | MB_ICONQUESTION);
    }
}

void MainForm::GetPosition(int& left, int& top) {
    if (const std::optional<RECT> frame = WindowRect(hwnd_)) {
        const ScreenPoint saved = SavedFromScreen({frame->left, frame->top}, SystemDpi());
        left = saved.X;
        top = saved.Y;
    }
}

void MainForm::SetPosition(int left, int top) {
    const std::optional<RECT> frame = WindowRect(hwnd_);
    if (!frame) return;
    POINT client = {0, 0};
    ClientToScreen(hwnd_, &client);
    // Kept on the screens in screen pixels, where the work areas are.
    const ScreenPoint place =
        PlaceTitleBar(ScreenFromSaved({left, top}, SystemDpi()), frame->right - frame->left,
                      client.y - frame->top, WorkAreas());
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
    // As the window holds it: bytes that UTF-16 cannot bring back come back changed.
    edit.accepted = Cp932FromWide(edit.setWide).value_or("");
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
    if (edit) SetWindowTextW(edit, text.c_str());
    settingText_ = false;
}

void MainForm::OnEditChange(ControlId id, HWND edit) {
    if (settingText_) return;
    EditText& state = edits_[id];
    const std::wstring typed = WindowText(edit);
    EditResult kept =
        ApplyEdit(state.accepted, Cp932FromWide(typed), GetControlInfo(id).typingLimit);
    if (kept.Outcome != EditOutcome::Taken) {
        const std::wstring shown = WideFromCp932(kept.Text);
        // The caret stays before the text that followed it.
        const std::size_t tail = typed.size() - std::min(CaretPosition(edit), typed.size());
        ReplaceEditText(edit, shown);
        SetCaret(edit, shown.size() > tail ? shown.size() - tail : 0);
        MessageBeep(MB_OK);
    }
    state.accepted = std::move(kept.Text);
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
