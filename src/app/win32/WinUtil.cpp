#include "app/win32/WinUtil.h"

#include "app/win32/WideText.h"
#include "settings/ControlTable.h"

namespace dovarin::win32 {

namespace {

// Every message the wrappers send: to a null window, none.
LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return hwnd ? SendMessageW(hwnd, message, wParam, lParam) : 0;
}

}  // namespace

// ---- windows ---------------------------------------------------------------------------------

bool RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, int extraBytes,
                         HBRUSH background) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(instance, name, &windowClass)) return true;
    windowClass.lpfnWndProc = procedure;
    windowClass.cbWndExtra = extraBytes;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    return RegisterClassExW(&windowClass) != 0;
}

std::wstring WindowText(HWND hwnd) {
    const int length = hwnd ? GetWindowTextLengthW(hwnd) : 0;
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
    return text;
}

void SetControlText(HWND hwnd, std::string_view cp932) {
    if (hwnd) SetWindowTextW(hwnd, WideFromCp932(cp932).c_str());
}

void SetFont(HWND hwnd, HFONT font) {
    Send(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void SetStyleBit(HWND hwnd, LONG_PTR bit, bool on) {
    if (!hwnd) return;
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    SetWindowLongPtrW(hwnd, GWL_STYLE, on ? style | bit : style & ~bit);
}

std::optional<RECT> WindowRect(HWND hwnd) {
    RECT rect = {};
    if (!hwnd || !GetWindowRect(hwnd, &rect)) return std::nullopt;
    return rect;
}

namespace {

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto& areas = *reinterpret_cast<std::vector<ScreenRect>*>(data);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    const RECT& r = info.rcWork;
    const ScreenRect area = {r.left, r.top, r.right, r.bottom};
    // Nothing may be thrown through Windows' own frames.
    try {
        if (info.dwFlags & MONITORINFOF_PRIMARY) {
            areas.insert(areas.begin(), area);
        } else {
            areas.push_back(area);
        }
    } catch (...) {
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::vector<ScreenRect> WorkAreas() {
    std::vector<ScreenRect> areas;
    EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

// ---- controls --------------------------------------------------------------------------------

int SelectedIndex(HWND combo) {
    const LRESULT index = combo ? Send(combo, CB_GETCURSEL, 0, 0) : CB_ERR;
    return index == CB_ERR ? kNoSelection : static_cast<int>(index);
}

void SelectItem(HWND combo, int index) {
    const LRESULT count = Send(combo, CB_GETCOUNT, 0, 0);
    const bool valid = index >= 0 && index < count;
    const int selected = valid ? index : kNoSelection;
    Send(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void SetItems(HWND combo, const std::vector<std::string>& cp932Items) {
    Send(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : cp932Items) {
        const std::wstring wide = WideFromCp932(item);
        Send(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
}

int FieldHeight(HWND combo) {
    return static_cast<int>(Send(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
}

void SetFieldHeight(HWND combo, int height) {
    Send(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height);
}

bool IsChecked(HWND button) {
    return Send(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(HWND button, bool checked) {
    Send(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void RemoveTypingLimit(HWND edit) {
    Send(edit, EM_SETLIMITTEXT, 0, 0);
}

std::size_t CaretPosition(HWND edit) {
    DWORD caret = 0;
    Send(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    return caret;
}

void SetCaret(HWND edit, std::size_t position) {
    Send(edit, EM_SETSEL, position, position);
}

void SetDefaultButton(HWND dialog, int id) {
    Send(dialog, DM_SETDEFID, static_cast<WPARAM>(id), 0);
}

void MoveFocus(HWND dialog, HWND control) {
    if (control) Send(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

// ---- GDI -------------------------------------------------------------------------------------

MeasuringContext::MeasuringContext(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}

MeasuringContext::~MeasuringContext() {
    if (!dc_) return;
    if (original_) SelectObject(dc_, original_);
    ReleaseDC(hwnd_, dc_);
}

SIZE MeasuringContext::TextSize(HFONT font, const wchar_t* text) {
    SIZE size = {};
    if (!dc_) return size;
    const HGDIOBJ previous = SelectObject(dc_, font);
    if (!original_) original_ = previous;
    GetTextExtentPoint32W(dc_, text, static_cast<int>(wcslen(text)), &size);
    return size;
}

// ---- display scale ---------------------------------------------------------------------------

namespace {

// A function of user32 that older systems lack, or nullptr.
template <class Function>
Function UserFunction(const char* name) {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const FARPROC found = user32 ? GetProcAddress(user32, name) : nullptr;
    // Through a plain function pointer: the types differ, the calling convention does not.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

using SetAwarenessContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
using DpiOfWindow = UINT(WINAPI*)(HWND);
using DpiOfSystem = UINT(WINAPI*)();
using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

}  // namespace

void DeclareDpiAwareness() {
    if (const auto set = UserFunction<SetAwarenessContext>("SetProcessDpiAwarenessContext")) {
        if (set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) return;
        if (set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE)) return;
    }
    SetProcessDPIAware();
}

int WindowDpi(HWND hwnd) {
    static const auto ofWindow = UserFunction<DpiOfWindow>("GetDpiForWindow");
    const UINT dpi = ofWindow && hwnd ? ofWindow(hwnd) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : SystemDpi();
}

int SystemDpi() {
    static const auto ofSystem = UserFunction<DpiOfSystem>("GetDpiForSystem");
    if (ofSystem) return static_cast<int>(ofSystem());
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kLayoutDpi;
}

SIZE FrameSize(int width, int height, DWORD style, int dpi) {
    static const auto adjust = UserFunction<AdjustForDpi>("AdjustWindowRectExForDpi");
    RECT frame = {0, 0, width, height};
    if (!adjust || !adjust(&frame, style, FALSE, 0, static_cast<UINT>(dpi))) {
        frame = {0, 0, width, height};
        AdjustWindowRectEx(&frame, style, FALSE, 0);
    }
    return {frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace dovarin::win32
