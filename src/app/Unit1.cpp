// Unit1: the run of one program around the form. The order of the calls here is the contract
// with the host: the exchange file is read once when the form is shown and written once when it
// closes, and the settings file is written only by an OK whose values all passed.
#include "app/Unit1.h"

#include "dimension/Dimension.h"
#include "exchange/JwwGaibu.h"
#include "util/MyFunc.h"

namespace dovarin {

std::filesystem::path ExeDir;

namespace {

// 現在の文字種(
constexpr std::string_view kCurrentTextTypeOpen =
    "\x8c\xbb\x8d\xdd\x82\xcc\x95\xb6\x8e\x9a\x8e\xed(";

std::string CurrentTextTypeItem(const THostState& state) {
    std::string item(kCurrentTextTypeOpen);
    if (state.HostTextType == 0) {
        item += "Free)";
    } else {
        item += "No" + std::to_string(state.HostTextType) + ")";
    }
    return item;
}

std::string TextTypeItem(const THostState& state, int n) {
    const TextTypeEntry& type = state.TextTypes[n];
    return "No" + std::to_string(n) + ": W" + FormatReal(type.Width) + " H" +
           FormatReal(type.Height) + " D" + FormatReal(type.Spacing);
}

}  // namespace

std::vector<std::string> TextTypeItems(const THostState& state) {
    std::vector<std::string> items;
    items.reserve(kTextTypeItemCount);
    items.push_back(CurrentTextTypeItem(state));
    for (int n = 1; n < kTextTypeItemCount; ++n) items.push_back(TextTypeItem(state, n));
    return items;
}

void SetExeDir(const std::filesystem::path& folder) {
    ExeDir = folder / "";
}

bool WriteCancelAnswer() noexcept {
    if (ExeDir.empty()) return false;  // nowhere known to answer
    OutputBuffer.clear();
    try {
        // Writes "hq", or removes the file when even that cannot be written.
        return WriteExchangeFile(TForm1::ExchangeFilePath());
    } catch (...) {
        // No memory even for the path: nothing more can be done.
        return false;
    }
}

std::filesystem::path TForm1::ExchangeFilePath() {
    return ExeDir / kExchangeFileName;
}
std::filesystem::path TForm1::SettingsFilePath() {
    return ExeDir / kSettingsFileName;
}

void TForm1::FormShow() noexcept {
    closed_ = false;
    Outcome.Aborted = FormOutcome::Break::None;
    exchangeFile_.clear();
    AbortOnFailure(*this, [this] { Show(); });
}

void TForm1::Show() {
    // The answer's place before anything else: whatever fails from here on, "hq" goes there.
    exchangeFile_ = ExchangeFilePath();
    InitHostState();
    // Without an exchange file the form opens on HostState's defaults.
    ReadExchangeFile(exchangeFile_);
    ResetWriterState();
    // Refilling the list drops its selection; the settings file selects again.
    Dialog.Controls.ComboBox3Items = TextTypeItems();
    Dialog.Controls.ComboBox3 = kNoSelection;
    LoadSettings(SettingsFilePath(), Dialog);
    window_.ShowControls(Dialog.Controls);
    window_.SetPosition(Dialog.WindowLeft, Dialog.WindowTop);
}

void TForm1::Button1Click() noexcept {
    AbortOnFailure(*this, [this] { PressOk(); });
}

void TForm1::PressOk() {
    // Stored on every press, so that a valid OK saves where the window stands now.
    window_.GetPosition(Dialog.WindowLeft, Dialog.WindowTop);
    // The list items are the form's, filled at show; a window reports only what the user chose.
    std::vector<std::string> textTypeItems = std::move(Dialog.Controls.ComboBox3Items);
    window_.ReadControls(Dialog.Controls);
    Dialog.Controls.ComboBox3Items = std::move(textTypeItems);

    DimensionSettings settings;
    ControlId focus = ControlId::ComboBox1;
    if (!ValidateDialog(Dialog.Controls, settings, focus)) {
        window_.FocusControl(focus);
        return;
    }
    Outcome.SettingsSaveFailed = !SaveSettings(SettingsFilePath(), Dialog);

    const ConstructionResult result = BuildAddedDimension(
        settings, [this](std::string_view status) { window_.SetStatus(status); });
    if (!result.Completed) {
        // Nothing was appended; the user may change the settings and try again, or cancel.
        window_.ShowMessage(result.RefusalMessage);
        return;
    }
    window_.Close();
}

void TForm1::Button2Click() noexcept {
    AbortOnFailure(*this, [this] { window_.Close(); });
}

void TForm1::Abort(bool outOfMemory) noexcept {
    if (closed_) return;  // the answer is written already
    Outcome.Aborted = outOfMemory ? FormOutcome::Break::OutOfMemory : FormOutcome::Break::Failure;
    // Half an answer is no answer. What the host passed goes too, so that "hq" finds memory.
    OutputBuffer.clear();
    FreeHostState();
    try {
        window_.Close();
    } catch (...) {
    }
    FormClose();  // in case the window raised no close event
}

void TForm1::FormClose() noexcept {
    if (closed_) return;
    closed_ = true;
    if (Outcome.BrokeOff()) OutputBuffer.clear();
    // A show that broke off before it knew the answer's place answers in ExeDir, which the
    // program set before anything could fail.
    Outcome.AnswerWritten =
        exchangeFile_.empty() ? WriteCancelAnswer() : WriteExchangeFile(exchangeFile_);
    FreeHostState();
}

}  // namespace dovarin
