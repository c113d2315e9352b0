// How long the preview takes inside Dovarin's own process: opening it (the window made, the
// model built, the first frame drawn) and one redraw after a change of a control (the edit's
// notice, validation, construction, read-back and paint), each timed until the message queue is
// empty again. The form is Dovarin's, on the input in FOLDER, which the run then answers "hq".
//   PreviewTime FOLDER REDRAWS
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/win32/FormLayout.h"
#include "app/win32/MainForm.h"
#include "app/win32/PreviewWindow.h"

namespace {

using namespace dovarin;
using Clock = std::chrono::steady_clock;

// Runs every message waiting, as the program's loop does, and returns when none is left.
void Pump(win32::MainForm& form) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (form.PreTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

template <class Action>
double Milliseconds(win32::MainForm& form, Action&& action) {
    const auto start = Clock::now();
    action();
    Pump(form);
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Report(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("%s: median %.2f ms of %zu (min %.2f, max %.2f)\n", what, times[times.size() / 2],
                times.size(), times.front(), times.back());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: PreviewTime FOLDER REDRAWS\n");
        return 64;
    }
    win32::DeclareDpiAwareness();
    win32::MainForm form(GetModuleHandleW(nullptr), nullptr);
    if (!form.Handle()) return 1;
    SetExeDir(argv[1]);
    form.Show();
    Pump(form);
    HWND dialog = form.Handle();
    const double open = Milliseconds(
        form, [&] { SendMessageW(dialog, WM_SYSCOMMAND, win32::kPreviewMenuCommand, 0); });
    const HWND preview = FindWindowW(nullptr, L"Dovarin プレビュー");
    if (!preview || !IsWindowVisible(preview)) {
        std::fprintf(stderr, "the preview did not open\n");
        return 1;
    }
    // The arrow's length, as typed: each change draws another dimension. A change is timed from
    // the typed text to the settled queue (the edit's own work included); a redraw alone
    // (controls read, validation, construction, read-back, paint) by sending the preview its
    // message once the change has settled.
    HWND edit7 = GetDlgItem(dialog, win32::WinIdOf(ControlId::Edit7));
    const wchar_t* const lengths[] = {L"4", L"3.5", L"5", L"3"};
    std::vector<double> changes, redraws;
    for (int i = 0; i < _wtoi(argv[2]); ++i) {
        changes.push_back(Milliseconds(form, [&] { SetWindowTextW(edit7, lengths[i % 4]); }));
        redraws.push_back(
            Milliseconds(form, [&] { SendMessageW(preview, win32::kPreviewRedraw, 0, 0); }));
    }
    if (redraws.empty()) return 64;
    std::printf("at %d DPI: open %.2f ms\n", win32::WindowDpi(preview), open);
    Report("redraw", redraws);
    Report("change", changes);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    Pump(form);
    return 0;
}
