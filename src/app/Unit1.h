// Unit1: the main form TForm1 and the run of one program: show, OK, Cancel, close. It reaches a
// real window only through FormWindow, which the Win32 dialog, the batch tool and the tests
// implement; no logic lives in a window that a headless run would miss.
#pragma once

#include <filesystem>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/JwwGaibu.h"
#include "settings/Settings.h"

namespace dovarin {

// What TForm1 needs of a window. Texts are code page 932.
class FormWindow {
  public:
    virtual ~FormWindow() = default;
    // Puts the controls' values (ComboBox3's items included) into the window.
    virtual void ShowControls(const DialogControls& controls) = 0;
    // Reads the user's current values from the window into `controls`.
    virtual void ReadControls(DialogControls& controls) = 0;
    virtual void FocusControl(ControlId id) = 0;
    // Sets the status label and repaints it at once.
    virtual void SetStatus(std::string_view text) = 0;
    // The modal confirmation box: caption 確認, question icon, one OK button.
    virtual void ShowMessage(std::string_view text) = 0;
    virtual void GetPosition(int& left, int& top) = 0;
    virtual void SetPosition(int left, int top) = 0;
    // Closes the window; the window then calls TForm1::FormClose.
    virtual void Close() = 0;
};

// The executable's folder, ending with the path separator; both files of the program lie there.
// The program's start sets it once, before anything can fail, so that even a last resort
// answers in the right folder.
extern std::filesystem::path ExeDir;
// Sets ExeDir to `folder`, ending with the separator as the executable's folder does.
void SetExeDir(const std::filesystem::path& folder);
// The host's exchange file and the settings file.
constexpr const char* kExchangeFileName = "JWC_TEMP.TXT";
constexpr const char* kSettingsFileName = "kelm.dat";

// How a run went, for a caller without a screen (the batch tool). The program shows no file
// error: the host sees only the answer.
struct FormOutcome {
    enum class Break { None, Failure, OutOfMemory };
    // The run broke off. The answer is "hq" when AnswerWritten; otherwise it could not be
    // written, and the file was removed where the folder allows it.
    Break Aborted = Break::None;
    bool AnswerWritten = false;       // FormClose wrote the exchange file
    bool SettingsSaveFailed = false;  // an OK's SaveSettings failed; the old file stays

    bool BrokeOff() const { return Aborted != Break::None; }
};

// The handlers never let an exception out: the Win32 dialog and the batch tool call them as they
// are. Whatever fails inside one of them (memory included, also while the exchange file is read
// in FormShow), the run breaks off: the form closes through FormWindow::Close(), and the answer
// becomes "hq", or, when that cannot be written, JWC_TEMP.TXT is removed, so that the host never
// takes its own input or half an answer for ours. The window's close event then calls FormClose
// as after any close; FormClose writes the answer once and ignores a second call, so that it
// also answers when the window raised no close event.
class TForm1 {
  public:
    explicit TForm1(FormWindow& window) : window_(window) {}

    // Reads both files in ExeDir.
    void FormShow() noexcept;
    void Button1Click() noexcept;  // OK
    void Button2Click() noexcept;  // Cancel
    void FormClose() noexcept;
    // Breaks the run off after a failure outside the handlers (the window's own code), as a
    // failure inside one does.
    void Abort(bool outOfMemory) noexcept;

    // The dialog as data: controls and saved window position.
    SavedDialog Dialog;

    FormOutcome Outcome;

    // The two files of the program, in ExeDir.
    static std::filesystem::path ExchangeFilePath();
    static std::filesystem::path SettingsFilePath();

  private:
    void Show();
    void PressOk();

    FormWindow& window_;
    std::filesystem::path exchangeFile_;  // known before anything is read
    bool closed_ = false;
};

// Runs `work`; whatever escapes it (memory included) breaks the form's run off. The one guard
// of the form's handlers, of the window code around them and of the batch run.
template <class Work>
void AbortOnFailure(TForm1& form, Work&& work) noexcept {
    try {
        work();
    } catch (const std::bad_alloc&) {
        form.Abort(true);
    } catch (...) {
        form.Abort(false);
    }
}

// The last resort when no form runs (its window could not be created, or start-up failed): the
// answer "hq", or no answer file at all when even that cannot be written; never the host's own
// input. Needs ExeDir. True when "hq" was written.
bool WriteCancelAnswer() noexcept;

// ComboBox3's items: the host's current text type, then text types 1 to 10.
constexpr int kTextTypeItemCount = kTextTypeCount + 1;
// ComboBox3's eleven items from HostTextType and TextTypes.
std::vector<std::string> TextTypeItems(const THostState& state = HostState);

}  // namespace dovarin
