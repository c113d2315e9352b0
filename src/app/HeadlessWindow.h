// A window without a screen: it holds the controls a user would see, remembers what the form did
// to it (the focus, the message) and closes by calling the form's FormClose, as a real window's
// close event does. dovarin-batch runs the form in it, and the tests watch the form through it.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/Unit1.h"

namespace dovarin {

class HeadlessWindow : public FormWindow {
  public:
    void Attach(TForm1& form) { form_ = &form; }
    // Runs just before the form's close event, while HostState and the answer still exist.
    void OnClose(std::function<void()> hook) { onClose_ = std::move(hook); }

    // The controls as the user sees and changes them.
    DialogControls& Controls() { return controls_; }
    // Where the window stands; the user may drag it.
    int Left() const { return left_; }
    int Top() const { return top_; }
    void Drag(int left, int top) {
        left_ = left;
        top_ = top;
    }

    bool Closed() const { return closed_; }
    const std::optional<ControlId>& Focus() const { return focus_; }
    const std::optional<std::string>& Message() const { return message_; }  // code page 932

    // Showing the controls opens the window, also one that a form closed before.
    void ShowControls(const DialogControls& controls) override;
    // A real window reports the user's choices, not the list items the form gave it.
    void ReadControls(DialogControls& controls) override;
    void FocusControl(ControlId id) override { focus_ = id; }
    // Nobody watches the progress of a run without a screen.
    void SetStatus(std::string_view) override {}
    void ShowMessage(std::string_view text) override { message_ = std::string(text); }
    void GetPosition(int& left, int& top) override {
        left = left_;
        top = top_;
    }
    void SetPosition(int left, int top) override { Drag(left, top); }
    // A closed window raises no second close event.
    void Close() override;

  private:
    TForm1* form_ = nullptr;
    std::function<void()> onClose_;
    DialogControls controls_;
    bool closed_ = false;
    std::optional<ControlId> focus_;
    std::optional<std::string> message_;
    int left_ = 0;
    int top_ = 0;
};

}  // namespace dovarin
