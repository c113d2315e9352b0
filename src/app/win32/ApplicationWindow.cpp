#include "app/win32/ApplicationWindow.h"

namespace dovarin::win32 {
namespace {

constexpr const wchar_t* kApplicationClass = L"DovarinApplication";
constexpr const wchar_t* kApplicationTitle = L"sorv_Dovarin";
// Activation is passed on after the activation in progress has finished.
constexpr UINT kActivateForm = WM_APP + 1;

HWND AttachedForm(HWND application) {
    return reinterpret_cast<HWND>(GetWindowLongPtrW(application, GWLP_USERDATA));
}

}  // namespace

ApplicationWindow::ApplicationWindow(HINSTANCE instance) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExW(instance, kApplicationClass, &windowClass)) {
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = instance;
        windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kApplicationClass;
        if (!RegisterClassExW(&windowClass)) return;
    }
    hwnd_ = CreateWindowExW(0, kApplicationClass, kApplicationTitle,
                            WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                            nullptr, nullptr, instance, nullptr);
}

ApplicationWindow::~ApplicationWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void ApplicationWindow::Attach(HWND form) {
    if (hwnd_) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
}

LRESULT CALLBACK ApplicationWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    HWND form = AttachedForm(hwnd);
    switch (message) {
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && form) PostMessageW(hwnd, kActivateForm, 0, 0);
            return 0;
        case kActivateForm:
            // The form, or the message box it shows.
            if (form && IsWindowVisible(form)) SetActiveWindow(GetLastActivePopup(form));
            return 0;
        case WM_SIZE:
            // Restored from the task bar: the form that went down with it comes back.
            if (wParam == SIZE_RESTORED && form && !IsWindowVisible(form)) {
                ShowWindow(form, SW_SHOW);
            }
            return 0;
        case WM_CLOSE:
            // Not while the form waits for its message box to be answered.
            if (form && IsWindowEnabled(form)) PostMessageW(form, WM_CLOSE, 0, 0);
            return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace dovarin::win32
