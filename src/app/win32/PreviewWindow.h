// The preview window beside the dialog: the dimension that OK will add, redrawn as the user
// changes any control. The window only paints the frame the portable Preview returns; it never
// takes the focus, so that typing, Escape, Enter and the mnemonics stay with the dialog. Made
// the first time it is opened: a run that never opens it pays only for a menu item.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>

#include "app/Preview.h"
#include "app/win32/WinUtil.h"

namespace dovarin::win32 {

// The command of the item "プレビュー(&P)\tF2" in the dialog's system menu.
// Below the system's own commands (0xF000), its low four bits clear, as they must be.
constexpr UINT kPreviewMenuCommand = 0x0110;
// The preview window's own message: redraw from the controls as they stand now. A change posts
// it once; bench/win32's PreviewTime sends it to time one redraw alone.
constexpr UINT kPreviewRedraw = WM_APP + 20;

class PreviewWindow {
  public:
    // Reads the dialog's controls as they stand, into a copy.
    using ControlsReader = std::function<DialogControls()>;

    // Adds the check item "プレビュー(&P)\tF2" to the dialog's system menu. The window itself is
    // made at the first Open.
    PreviewWindow(HINSTANCE instance, HWND dialog, ControlsReader read);
    ~PreviewWindow();
    PreviewWindow(const PreviewWindow&) = delete;
    PreviewWindow& operator=(const PreviewWindow&) = delete;

    void Toggle();
    // The message loop asks first: F2 on the dialog, any of its controls or this window.
    bool PreTranslate(const MSG& message);
    // The dialog's procedure passes its messages by: a control changed, the dialog moved, hid or
    // showed, the menu item was chosen. True when the message was the preview's alone.
    bool OnDialogMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void Open();
    void Close();
    bool Create();
    void UseDpi(int dpi);
    int Scaled(int pixels) const { return ScaleForDpi(pixels, dpi_); }
    // Beside the dialog, at the size the window was first given or the user gave it.
    std::optional<ScreenRect> BesideDialog() const;
    void Place();
    // Shown while open, with the dialog, where there is room beside it.
    void Reveal();
    SIZE LeastFrame() const;
    void Layout();
    // One redraw for however many changes come before it runs.
    void RequestRedraw();
    void Redraw();
    void Paint();

    HINSTANCE instance_;
    HWND dialog_;
    ControlsReader read_;
    HWND hwnd_ = nullptr;
    HWND line_ = nullptr;  // the text line under the drawing, a real control for screen readers
    std::unique_ptr<Preview> model_;
    const PreviewFrame* frame_ = nullptr;
    bool open_ = false;
    bool redrawPending_ = false;
    bool room_ = true;  // the dialog has room beside it for the least window
    SIZE size_ = {};    // the frame's size: the first one, or what the user made it
    int dpi_ = kLayoutDpi;
    Font lineFont_;
    Brush background_;
};

}  // namespace dovarin::win32
