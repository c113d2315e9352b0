#include "app/win32/ApplicationWindow.h"

#include "app/win32/WinUtil.h"

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
    if (!RegisterWindowClass(instance, kApplicationClass, WindowProc)) return;
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
            // Minimised (the form's minimise box comes here too), the form goes down with this
            // window; restored from the task bar, it comes back.
            if (form && wParam == SIZE_MINIMIZED) ShowWindow(form, SW_HIDE);
            if (form && wParam == SIZE_RESTORED && !IsWindowVisible(form)) {
                ShowWindow(form, SW_SHOW);
            }
            return 0;
        case WM_CLOSE:
            // The form decides how it closes.
            if (form) PostMessageW(form, WM_CLOSE, 0, 0);
            return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace dovarin::win32
