// Dovarin.exe, the program the host runs: start-up, the message loop, and the last resort that
// keeps any failure from leaving the host's own input in JWC_TEMP.TXT as the answer.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <filesystem>
#include <string>

#include "app/Unit1.h"
#include "app/win32/ApplicationWindow.h"
#include "app/win32/MainForm.h"
#include "app/win32/WinUtil.h"

namespace dovarin::win32 {
namespace {

// The folder of the running executable, from its wide path, so that a folder with a Japanese
// name works whatever the system's code page; empty when Windows does not tell.
std::filesystem::path ExeFolder() {
    constexpr std::size_t kLongestPath = 32768;
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD got = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (got == 0) return {};
        if (got < path.size()) {
            path.resize(got);
            return std::filesystem::path(path).parent_path();
        }
        if (path.size() >= kLongestPath) return {};
        path.resize(path.size() * 2);
    }
}

int RunMessageLoop(MainForm& form) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (form.PreTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

int Run(HINSTANCE instance) {
    DeclareDpiAwareness();
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const std::filesystem::path exeDir = ExeFolder();
    if (exeDir.empty()) return 1;  // neither file can be found
    // Known before anything can fail, so that a last resort answers in the right folder: the
    // run's one setting of it.
    SetExeDir(exeDir);

    ApplicationWindow application(instance);
    MainForm form(instance, application.Handle());
    if (!form.Handle()) {
        // No dialog, no choice: the host must not take its own input for the answer. Under Wine
        // this is a start whose display driver could not be loaded.
        WriteCancelAnswer();
        return 1;
    }
    application.Attach(form.Handle());
    form.Show();
    return RunMessageLoop(form);
}

}  // namespace
}  // namespace dovarin::win32

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    try {
        return dovarin::win32::Run(instance);
    } catch (...) {
        dovarin::WriteCancelAnswer();
        return 1;
    }
}
