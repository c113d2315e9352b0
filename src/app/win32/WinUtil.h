// Small wrappers over the Win32 calls the dialog repeats, so that its code reads as intent. Each
// takes a null window calmly (it does nothing, or answers as for an empty control), so that a
// form whose window is gone needs no guard of its own. Texts given as std::string are code page
// 932; they cross into UTF-16 through WideText.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/WindowPlacement.h"

namespace dovarin::win32 {

// ---- windows ---------------------------------------------------------------------------------

// Registers a window class of this module unless it is registered already. extraBytes: the
// window's own bytes (DLGWINDOWEXTRA for a window run by DefDlgProc).
bool RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                         int extraBytes = 0, HBRUSH background = nullptr);

std::wstring WindowText(HWND hwnd);
void SetControlText(HWND hwnd, std::string_view cp932);
void SetFont(HWND hwnd, HFONT font);
// Turns a window style bit on or off.
void SetStyleBit(HWND hwnd, LONG_PTR bit, bool on);

// The window's rectangle on the screen; nothing for a null window.
std::optional<RECT> WindowRect(HWND hwnd);
// Every monitor's work area (the screen less the task bar), the primary monitor first.
std::vector<ScreenRect> WorkAreas();

// ---- controls --------------------------------------------------------------------------------

// Drop-down lists: the selected item's index, or kNoSelection.
int SelectedIndex(HWND combo);
// Selects the item, or no item for kNoSelection or an index the list has no item for.
void SelectItem(HWND combo, int index);
void SetItems(HWND combo, const std::vector<std::string>& cp932Items);
// The height of the list's selection field, which sets the closed list's height.
int FieldHeight(HWND combo);
void SetFieldHeight(HWND combo, int height);

bool IsChecked(HWND button);
void SetChecked(HWND button, bool checked);

// Edits: no typing limit of the edit's own; the caret's place; the caret put there.
void RemoveTypingLimit(HWND edit);
std::size_t CaretPosition(HWND edit);
void SetCaret(HWND edit, std::size_t position);

// Dialogs: the default button, and the focus moved as Tab would (an edit's text selected).
void SetDefaultButton(HWND dialog, int id);
void MoveFocus(HWND dialog, HWND control);

// ---- GDI -------------------------------------------------------------------------------------

// A GDI object (font, brush) owned: deleted when the owner goes.
template <class Handle>
class GdiObject {
  public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    ~GdiObject() {
        if (handle_) DeleteObject(handle_);
    }
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        std::swap(handle_, other.handle_);
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    Handle Get() const { return handle_; }

  private:
    Handle handle_ = nullptr;
};
using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;

// A window's device context for measuring texts, released when it goes.
class MeasuringContext {
  public:
    explicit MeasuringContext(HWND hwnd);
    ~MeasuringContext();
    MeasuringContext(const MeasuringContext&) = delete;
    MeasuringContext& operator=(const MeasuringContext&) = delete;

    SIZE TextSize(HFONT font, const wchar_t* text);

  private:
    HWND hwnd_;
    HDC dc_;
    HGDIOBJ original_ = nullptr;
};

// ---- display scale ---------------------------------------------------------------------------
//
// The per-monitor functions (Windows 10 1607 and later) are looked up when the program runs, so
// that it also starts where they are missing; it then scales by the system DPI, which the older
// calls give.

// Asks for per-monitor awareness (v2, else v1), else for the system DPI. The manifest asks first;
// where it was heard, these calls change nothing.
void DeclareDpiAwareness();
// The DPI of the screen the window is on; the system DPI where that is not known.
int WindowDpi(HWND hwnd);
// The DPI of the primary screen at log-on: the unit of the saved window position.
int SystemDpi();
// The window size whose client area is width x height at that DPI.
SIZE FrameSize(int width, int height, DWORD style, int dpi);

// The object a window was made for (CreateWindowExW's last argument), kept in the window's user
// data from WM_NCCREATE on, with its window handle set there; nullptr for the few messages before.
template <class Owner>
Owner* WindowOwner(HWND hwnd, UINT message, LPARAM lParam, HWND Owner::*handle) {
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        owner->*handle = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    return reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

}  // namespace dovarin::win32
