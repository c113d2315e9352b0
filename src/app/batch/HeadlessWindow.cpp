#include "app/batch/HeadlessWindow.h"

namespace dovarin {

void HeadlessWindow::Close() {
    // A closed window raises no second close event.
    if (closed_) return;
    closed_ = true;
    if (onClose_) onClose_();
    if (form_ != nullptr) form_->FormClose();
}

}  // namespace dovarin
