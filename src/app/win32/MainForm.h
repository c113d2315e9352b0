// The settings form on the Win32 API: the window of TForm1. It creates its controls from the
// layout table, puts the form's values into them and reads the user's back, and hands the
// window's events to TForm1's handlers. What the run does is decided in TForm1, not here.
#pragma once

#include <windows.h>

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "app/Unit1.h"

namespace dovarin::win32 {

class MainForm final : public FormWindow {
  public:
    // Creates the window, hidden, owned by `owner` (the application's window on the task bar).
    MainForm(HINSTANCE instance, HWND owner);
    ~MainForm() override;
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // Null when the window could not be created or is gone.
    HWND Handle() const { return hwnd_; }
    // Runs FormShow for the executable's folder, then shows the window, unless the form closed
    // itself meanwhile.
    void Show(const std::filesystem::path& exeDir);

    void ShowControls(const DialogControls& controls) override;
    void ReadControls(DialogControls& controls) override;
    void FocusControl(ControlId id) override;
    void SetStatus(std::string_view text) override;
    void ShowMessage(std::string_view text) override;
    void GetPosition(int& left, int& top) override;
    void SetPosition(int left, int top) override;
    void Close() override;

  private:
    // An edit's text as the program set it and as the user last left it.
    struct EditText {
        std::string setBytes;   // kept byte for byte while the user leaves the text alone
        std::wstring setWide;   // how the window shows them
        std::wstring accepted;  // the text before the user's latest change
    };

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id, int code, HWND control);
    LRESULT OnCtlColor(HDC dc, HWND control) const;
    bool CreateControls(HINSTANCE instance);
    HWND CreateControl(HINSTANCE instance, std::size_t row);
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

    template <class Action>
    void Guarded(Action&& action) noexcept;

    TForm1 form_{*this};
    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
    HFONT font_ = nullptr;
    HFONT smallFont_ = nullptr;
    HBRUSH formBrush_ = nullptr;
    HBRUSH memoBrush_ = nullptr;
    HBRUSH statusBrush_ = nullptr;
    std::map<ControlId, EditText> edits_;
    bool settingText_ = false;  // the program, not the user, is changing an edit
    bool closing_ = false;      // FormClose has been called
};

// The last resort when no form runs (its window could not be created, or start-up failed): the
// answer "hq", or no answer file at all when even that cannot be written; never the host's own
// input. Needs ExeDir.
void WriteCancelAnswer() noexcept;

}  // namespace dovarin::win32
