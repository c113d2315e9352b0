// The floor under Dovarin.exe's start-up: a window of the dialog's size and style that creates the
// dialog's 50 controls from its layout table, in its fonts, shows them and waits, with nothing of
// Dovarin's own (no files, no filling, no fitting, no application window). What it takes beyond
// LabelWindow is what the standard controls cost; what Dovarin takes beyond it is Dovarin's.
#include <windows.h>

#include "app/win32/DialogFont.h"
#include "app/win32/FormLayout.h"
#include "app/win32/WinUtil.h"

namespace {

using namespace dovarin::win32;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) return DestroyWindow(hwnd);
    if (message == WM_DESTROY) PostQuitMessage(0);
    // Run by the dialog manager, as the form is.
    return DefDlgProcW(hwnd, message, wParam, lParam);
}

void CreateControls(HWND window, HINSTANCE instance, HFONT font, HFONT smallFont) {
    HDC dc = GetDC(window);
    for (const FormControl& c : FormControls()) {
        const WidgetClass kind = ClassOf(c.widget);
        const HFONT controlFont = c.widget == Widget::SmallLabel ? smallFont : font;
        const wchar_t* text = c.text ? c.text : L"";
        SIZE size = {c.width, c.height};
        if (c.width == 0) {
            SelectObject(dc, controlFont);
            GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
        }
        if (c.widget == Widget::DropDownList) size.cy += kDropDownListHeight;
        const bool textAfterFont = c.widget == Widget::Memo;  // as the form gives it
        HWND control = CreateWindowExW(kind.exStyle, kind.className, textAfterFont ? L"" : text,
                                       WS_CHILD | WS_VISIBLE | kind.style, c.left, c.top, size.cx,
                                       size.cy, window, nullptr, instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(controlFont), FALSE);
        if (textAfterFont) SetWindowTextW(control, text);
    }
    ReleaseDC(window, dc);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    // The form's own class set-up, for a window run by the dialog manager.
    RegisterWindowClass(instance, L"ControlsWindow", WindowProc, DLGWINDOWEXTRA,
                        static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    HWND window = CreateWindowExW(0, L"ControlsWindow", L"Controls", style, 100, 100,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                  nullptr, instance, nullptr);
    const HFONT font = CreateFormFont(kFontHeight);
    const HFONT smallFont = CreateFormFont(kSmallFontHeight);
    CreateControls(window, instance, font, smallFont);
    ShowWindow(window, show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DeleteObject(font);
    DeleteObject(smallFont);
    return 0;
}
