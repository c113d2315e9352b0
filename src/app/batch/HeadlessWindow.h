// A window without a screen: it holds the controls a user would see, remembers what the form did
// to it (focus, message, status texts) and closes by calling the form's FormClose, as a real
// window's close event does.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Unit1.h"

namespace dovarin {

class HeadlessWindow : public FormWindow {
  public:
    void Attach(TForm1& form) { form_ = &form; }
    // Runs just before the form's close event, while HostState and the answer still exist.
    void OnClose(std::function<void()> hook) { onClose_ = std::move(hook); }

    // The controls as the user sees and changes them.
    DialogControls& Controls() { return controls_; }

    bool Closed() const { return closed_; }
    const std::optional<ControlId>& Focus() const { return focus_; }
    const std::optional<std::string>& Message() const { return message_; }  // code page 932
    const std::vector<std::string>& Statuses() const { return statuses_; }
    int Left() const { return left_; }
    int Top() const { return top_; }

    void ShowControls(const DialogControls& controls) override { controls_ = controls; }
    void ReadControls(DialogControls& controls) override { controls = controls_; }
    void FocusControl(ControlId id) override { focus_ = id; }
    void SetStatus(std::string_view text) override { statuses_.emplace_back(text); }
    void ShowMessage(std::string_view text) override { message_ = std::string(text); }
    void GetPosition(int& left, int& top) override {
        left = left_;
        top = top_;
    }
    void SetPosition(int left, int top) override {
        left_ = left;
        top_ = top;
    }
    void Close() override;

  private:
    TForm1* form_ = nullptr;
    std::function<void()> onClose_;
    DialogControls controls_;
    bool closed_ = false;
    std::optional<ControlId> focus_;
    std::optional<std::string> message_;
    std::vector<std::string> statuses_;
    int left_ = 0;
    int top_ = 0;
};

}  // namespace dovarin
