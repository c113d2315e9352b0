// The settings form on the Win32 API: the window of TForm1. It creates its controls from the
// layout table at the screen's scale, puts the form's values into them and reads the user's
// back, and hands the window's events to TForm1's handlers. What the run does is decided in
// TForm1, not here.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "app/Unit1.h"
#include "app/win32/DialogFont.h"
#include "app/win32/FormLayout.h"
#include "app/win32/WinUtil.h"

namespace dovarin::win32 {

class PreviewWindow;

class MainForm final : public FormWindow {
  public:
    // Creates the window, hidden, owned by `owner` (the application's window on the task bar).
    MainForm(HINSTANCE instance, HWND owner);
    ~MainForm() override;
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // Null when the window could not be created or is gone.
    HWND Handle() const { return hwnd_; }
    // Runs FormShow, then shows the window, unless the form closed itself meanwhile.
    void Show();
    // The message loop asks first: true when the form took the message (the dialog keys).
    bool PreTranslate(MSG& message);

    void ShowControls(const DialogControls& controls) override;
    void ReadControls(DialogControls& controls) override;
    void FocusControl(ControlId id) override;
    void SetStatus(std::string_view text) override;
    void ShowMessage(std::string_view text) override;
    // In the units of kelm.dat: screen pixels x 96 / the system DPI.
    void GetPosition(int& left, int& top) override;
    void SetPosition(int left, int top) override;
    void Close() override;

  private:
    // An edit's text as the program set it and as the user last left it.
    struct EditText {
        std::string setBytes;  // kept byte for byte while the user leaves the text alone
        std::wstring setWide;  // how the window shows them
        std::string accepted;  // the text before the user's latest change
    };

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id, int code, HWND control);
    LRESULT OnCtlColor(HDC dc, HWND control) const;
    HBRUSH BrushOf(Fill fill) const;
    void OnClose();
    void OnDpiChanged(int dpi, const RECT& suggested);

    // The form at a DPI: its fonts, every control's box.
    int Scaled(int pixels) const { return ScaleForDpi(pixels, dpi_); }
    void UseDpi(int dpi);
    HFONT FontOf(Widget widget) const;
    RECT ControlBox(const FormControl& row, MeasuringContext& measure) const;
    void FitControl(HWND control, const FormControl& row);
    void FitClosedHeight(HWND combo, int height);
    bool CreateControls(HINSTANCE instance);
    bool CreateControl(HINSTANCE instance, std::size_t row, MeasuringContext& measure);
    HWND Item(int id) const;
    HWND Item(ControlId id) const;

    void ShowEditText(ControlId id, const std::string& cp932);
    std::string ReadEditText(ControlId id);
    void OnEditChange(ControlId id, HWND edit);
    void ReplaceEditText(HWND edit, const std::wstring& text);

    void CheckRadio(ControlId group, int index);
    int CheckedRadio(ControlId group) const;
    HWND RadioTabStop(ControlId group) const;
    void UpdateRadioTabStop(ControlId group);

    TForm1 form_{*this};
    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
    int dpi_ = kLayoutDpi;
    Font font_;
    Font smallFont_;
    // The selection field that gave a drop-down list its closed height (box) at this DPI.
    struct {
        int box = 0;
        int field = 0;
    } fittedField_;
    Brush formBrush_;
    Brush memoBrush_;
    Brush statusBrush_;
    std::map<ControlId, EditText> edits_;
    bool settingText_ = false;  // the program, not the user, is changing an edit
    bool closing_ = false;      // FormClose has been called
    std::unique_ptr<PreviewWindow> preview_;
};

}  // namespace dovarin::win32
