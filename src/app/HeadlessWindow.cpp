#include "app/HeadlessWindow.h"

namespace dovarin {

void HeadlessWindow::ShowControls(const DialogControls& controls) {
    controls_ = controls;
    closed_ = false;
    focus_.reset();
    message_.reset();
}

void HeadlessWindow::ReadControls(DialogControls& controls) {
    controls = controls_;
    controls.ComboBox3Items.clear();
}

void HeadlessWindow::Close() {
    if (closed_) return;
    closed_ = true;
    if (onClose_) onClose_();
    if (form_ != nullptr) form_->FormClose();
}

}  // namespace dovarin
