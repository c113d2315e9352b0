#include "app/win32/WinUtil.h"

#include "app/win32/WideText.h"
#include "settings/Settings.h"

namespace dovarin::win32 {

std::wstring WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
    return text;
}

void SetControlText(HWND hwnd, std::string_view cp932) {
    SetWindowTextW(hwnd, WideFromCp932(cp932).c_str());
}

int SelectedIndex(HWND combo) {
    const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? kNoSelection : static_cast<int>(index);
}

void SelectItem(HWND combo, int index) {
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    const bool valid = index >= 0 && index < count;
    SendMessageW(combo, CB_SETCURSEL, valid ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1),
                 0);
}

void SetItems(HWND combo, const std::vector<std::string>& cp932Items) {
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : cp932Items) {
        const std::wstring wide = WideFromCp932(item);
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
}

bool IsChecked(HWND button) {
    return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetChecked(HWND button, bool checked) {
    SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void SetStyleBit(HWND hwnd, LONG_PTR bit, bool on) {
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    SetWindowLongPtrW(hwnd, GWL_STYLE, on ? style | bit : style & ~bit);
}

RECT WindowRect(HWND hwnd) {
    RECT rect = {};
    GetWindowRect(hwnd, &rect);
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

}  // namespace dovarin::win32
