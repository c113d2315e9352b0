#include "app/win32/PreviewWindow.h"

#include <algorithm>
#include <string>
#include <utility>

#include "app/win32/DialogFont.h"
#include "app/win32/FormLayout.h"
#include "app/win32/MainForm.h"
#include "app/win32/SketchPainter.h"
#include "app/win32/WideText.h"
#include "exchange/JwwGaibu.h"

namespace dovarin::win32 {
namespace {

constexpr const wchar_t* kPreviewClass = L"DovarinPreview";
constexpr const wchar_t* kPreviewTitle = L"Dovarin プレビュー";
constexpr const wchar_t* kMenuText = L"プレビュー(&P)\tF2";
// Sizeable, with a close box; never activated, so the dialog keeps the focus and its keys.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_NOACTIVATE;
constexpr COLORREF kBackground = RGB(255, 255, 255);
// Pixels at 96 DPI: round the drawing (room for a point's number below it), round the text line,
// and the least client size.
constexpr int kMargin = 20;
constexpr int kLinePadding = 4;
constexpr int kLeastClient = 120;

}  // namespace

PreviewWindow::PreviewWindow(HINSTANCE instance, HWND dialog, ControlsReader read)
    : instance_(instance),
      dialog_(dialog),
      read_(std::move(read)),
      background_(CreateSolidBrush(kBackground)) {
    if (HMENU menu = dialog ? GetSystemMenu(dialog, FALSE) : nullptr) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING | MF_UNCHECKED, kPreviewMenuCommand, kMenuText);
    }
}

PreviewWindow::~PreviewWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

// ---- what the dialog passes on ---------------------------------------------------------------

bool PreviewWindow::PreTranslate(const MSG& message) {
    // A held key repeats: one toggle per press.
    const bool repeat = (message.lParam & (1 << 30)) != 0;
    if (message.message != WM_KEYDOWN || message.wParam != VK_F2 || repeat || !dialog_) {
        return false;
    }
    const bool ours = message.hwnd == dialog_ || IsChild(dialog_, message.hwnd) ||
                      (hwnd_ && (message.hwnd == hwnd_ || IsChild(hwnd_, message.hwnd)));
    // Not while the dialog waits for its message box to be answered.
    if (!ours || !IsWindowEnabled(dialog_)) return false;
    Toggle();
    return true;
}

bool PreviewWindow::OnDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            // Any control's change, typed, pasted, chosen or clicked; the buttons change nothing.
            const int id = LOWORD(wParam), code = HIWORD(wParam);
            const bool change = code == EN_CHANGE || code == CBN_SELCHANGE || code == BN_CLICKED;
            if (change && lParam && id != kButton1Id && id != kButton2Id) RequestRedraw();
            return false;
        }
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) != kPreviewMenuCommand) return false;
            Toggle();
            return true;
        case WM_WINDOWPOSCHANGED: {
            if (!hwnd_ || !open_) return false;
            const auto& pos = *reinterpret_cast<const WINDOWPOS*>(lParam);
            // Hidden and shown with the dialog (minimised and restored through the application's
            // window); beside it wherever it goes.
            if ((pos.flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) Place();
            Reveal();
            return false;
        }
    }
    return false;
}

// ---- opening and closing ---------------------------------------------------------------------

void PreviewWindow::Toggle() {
    if (open_) {
        Close();
    } else {
        Open();
    }
}

void PreviewWindow::Open() {
    // No preview rather than a run broken off by its picture: whatever fails here (memory
    // included), the dialog goes on as without one.
    try {
        if (!hwnd_ && !Create()) return;
        // The run's input as FormShow left it; the preview only reads it.
        if (!model_) model_ = std::make_unique<Preview>(HostState);
        open_ = true;
        Place();
        Redraw();
        Reveal();
        CheckMenuItem(GetSystemMenu(dialog_, FALSE), kPreviewMenuCommand,
                      MF_BYCOMMAND | MF_CHECKED);
        UpdateWindow(hwnd_);
    } catch (...) {
        Close();
    }
}

void PreviewWindow::Close() {
    open_ = false;
    if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
    CheckMenuItem(GetSystemMenu(dialog_, FALSE), kPreviewMenuCommand, MF_BYCOMMAND | MF_UNCHECKED);
}

bool PreviewWindow::Create() {
    if (!RegisterWindowClass(instance_, kPreviewClass, WindowProc)) return false;
    // Square, the dialog's client height, at the dialog's scale.
    UseDpi(WindowDpi(dialog_));
    size_ = FrameSize(Scaled(kClientHeight), Scaled(kClientHeight), kStyle, dpi_);
    // Made at its place, on the dialog's monitor. WM_NCCREATE sets hwnd_.
    const ScreenRect at = BesideDialog().value_or(ScreenRect{0, 0, size_.cx, size_.cy});
    CreateWindowExW(kExStyle, kPreviewClass, kPreviewTitle, kStyle, at.Left, at.Top,
                    at.Right - at.Left, at.Bottom - at.Top, dialog_, nullptr, instance_, this);
    if (!hwnd_) return false;
    line_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOPREFIX, 0,
                            0, 0, 0, hwnd_, nullptr, instance_, nullptr);
    SetFont(line_, lineFont_.Get());
    // Where it stands on a monitor of another scale than the dialog's, its own scale counts.
    if (const int dpi = WindowDpi(hwnd_); dpi != dpi_) {
        size_ = {MulDiv(size_.cx, dpi, dpi_), MulDiv(size_.cy, dpi, dpi_)};
        UseDpi(dpi);
        Place();
    }
    return true;
}

void PreviewWindow::UseDpi(int dpi) {
    dpi_ = dpi;
    Font font(CreateFormFont(Scaled(kFontHeight)));
    SetFont(line_, font.Get());
    lineFont_ = std::move(font);  // the old font goes once the line no longer uses it
}

// ---- place and layout ------------------------------------------------------------------------

std::optional<ScreenRect> PreviewWindow::BesideDialog() const {
    const std::optional<RECT> dialog = WindowRect(dialog_);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!dialog ||
        !GetMonitorInfoW(MonitorFromWindow(dialog_, MONITOR_DEFAULTTONEAREST), &monitor)) {
        return std::nullopt;
    }
    const RECT& work = monitor.rcWork;
    return PlaceBeside({dialog->left, dialog->top, dialog->right, dialog->bottom}, size_.cx,
                       size_.cy, {work.left, work.top, work.right, work.bottom});
}

void PreviewWindow::Place() {
    const std::optional<ScreenRect> place = BesideDialog();
    if (!hwnd_ || !place) return;
    // Where the room beside the dialog is narrower than the least window, the window would grow
    // over the dialog: it waits, hidden, until the dialog stands where there is room.
    const SIZE least = LeastFrame();
    room_ = place->Right - place->Left >= least.cx && place->Bottom - place->Top >= least.cy;
    if (room_) {
        SetWindowPos(hwnd_, nullptr, place->Left, place->Top, place->Right - place->Left,
                     place->Bottom - place->Top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void PreviewWindow::Reveal() {
    const bool shown = open_ && room_ && IsWindowVisible(dialog_);
    if (shown != (IsWindowVisible(hwnd_) != FALSE)) {
        ShowWindow(hwnd_, shown ? SW_SHOWNOACTIVATE : SW_HIDE);
    }
}

SIZE PreviewWindow::LeastFrame() const {
    return FrameSize(Scaled(kLeastClient), Scaled(kLeastClient), kStyle, dpi_);
}

// The text line at the bottom, as high as its text wrapped to the width; the drawing above it.
void PreviewWindow::Layout() {
    RECT client = {};
    if (!hwnd_ || !GetClientRect(hwnd_, &client)) return;
    const int pad = Scaled(kLinePadding);
    const int width = std::max<int>(client.right - 2 * pad, 1);
    const std::wstring text = WindowText(line_);
    RECT measured = {0, 0, width, 0};
    HDC dc = GetDC(hwnd_);
    const HGDIOBJ old = SelectObject(dc, lineFont_.Get());
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    // Japanese has no spaces to break at: a long refusal breaks between characters.
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
              DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    measured.bottom = std::max<LONG>(measured.bottom, metrics.tmHeight);
    const int height = std::min<int>(measured.bottom, client.bottom);
    SetWindowPos(line_, nullptr, pad, client.bottom - pad - height, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

// ---- drawing ---------------------------------------------------------------------------------

void PreviewWindow::RequestRedraw() {
    // Typing quicker than a redraw never queues them: one is pending at most, and it reads the
    // controls when it runs, so the last state is the one drawn.
    if (!open_ || redrawPending_ || !hwnd_) return;
    redrawPending_ = PostMessageW(hwnd_, kPreviewRedraw, 0, 0) != FALSE;
}

void PreviewWindow::Redraw() {
    redrawPending_ = false;
    if (!open_ || !model_) return;
    try {
        frame_ = &model_->Update(read_());
        const std::wstring line = WideFromCp932(frame_->Line);
        if (line != WindowText(line_)) {
            SetWindowTextW(line_, line.c_str());
            Layout();
        }
    } catch (...) {
        frame_ = nullptr;  // nothing drawn rather than a run broken off by its picture
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
}

void PreviewWindow::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    RECT client = {};
    GetClientRect(hwnd_, &client);
    const int width = client.right, height = client.bottom;
    if (width > 0 && height > 0) {
        // Drawn aside and shown at once: no flicker while the user types.
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
        const HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
        FillRect(memory, &client, background_.Get());
        RECT line = {};
        GetWindowRect(line_, &line);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&line), 2);
        const int drawing = std::max<int>(line.top - Scaled(kLinePadding), 0);
        if (frame_ && drawing > 0) {
            const SketchView view = FitSketch(frame_->Drawing, width, drawing, Scaled(kMargin));
            IntersectClipRect(memory, 0, 0, width, drawing);
            try {
                PaintSketch(memory, frame_->Drawing, view, dpi_);
            } catch (...) {
                // Half a picture rather than a paint left open and its bitmap kept.
            }
        }
        BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
        SelectObject(memory, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(memory);
    }
    EndPaint(hwnd_, &paint);
}

// ---- the window's messages -------------------------------------------------------------------

LRESULT CALLBACK PreviewWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* preview = WindowOwner(hwnd, message, lParam, &PreviewWindow::hwnd_);
    if (!preview) return DefWindowProcW(hwnd, message, wParam, lParam);
    // Nothing may be thrown into Windows, and the picture's failure is not the run's.
    try {
        return preview->HandleMessage(message, wParam, lParam);
    } catch (...) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT PreviewWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kPreviewRedraw:
            Redraw();
            return 0;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_CLOSE:
            Close();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // Paint fills it all
        case WM_PAINT:
            Paint();
            return 0;
        case WM_CTLCOLORSTATIC:
            SetBkColor(reinterpret_cast<HDC>(wParam), kBackground);
            return reinterpret_cast<LRESULT>(background_.Get());
        case WM_SIZING: {
            // The size the user gives it stays when the dialog moves.
            const auto& frame = *reinterpret_cast<const RECT*>(lParam);
            size_ = {frame.right - frame.left, frame.bottom - frame.top};
            return TRUE;
        }
        case WM_SIZE:
            Layout();
            return 0;
        case WM_GETMINMAXINFO: {
            const SIZE least = LeastFrame();
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize = {least.cx, least.cy};
            return 0;
        }
        case WM_DPICHANGED: {
            // Sharp at the new scale: its fonts and size again, then beside the dialog.
            const auto& suggested = *reinterpret_cast<const RECT*>(lParam);
            UseDpi(HIWORD(wParam));
            size_ = {suggested.right - suggested.left, suggested.bottom - suggested.top};
            Place();
            Reveal();
            Layout();
            return 0;
        }
        case WM_NCDESTROY: {
            // Destroyed with the dialog that owns it.
            HWND hwnd = std::exchange(hwnd_, nullptr);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            line_ = nullptr;
            open_ = false;
            redrawPending_ = false;
            return DefWindowProcW(hwnd, message, wParam, lParam);
        }
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace dovarin::win32
