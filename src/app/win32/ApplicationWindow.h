// The application's own window. Never seen itself (it has no size), it carries the program's
// title "sorv_Dovarin" on the task bar and in Alt+Tab and owns the form, whose caption is
// "Dovarin". Minimising the form minimises this window in its place, and restoring it shows the
// form again; activating it, from the task bar for example, brings the form (or the form's
// message box) forward; closing it from the task bar asks the form to close.
#pragma once

#include <windows.h>

namespace dovarin::win32 {

class ApplicationWindow {
  public:
    explicit ApplicationWindow(HINSTANCE instance);
    ~ApplicationWindow();
    ApplicationWindow(const ApplicationWindow&) = delete;
    ApplicationWindow& operator=(const ApplicationWindow&) = delete;

    HWND Handle() const { return hwnd_; }
    // The form that activation and closing go to.
    void Attach(HWND form);

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

}  // namespace dovarin::win32
