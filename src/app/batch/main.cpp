// dovarin-batch: one program run without a window. DIR stands for the executable's folder; the
// headless window stands where the settings file puts it and the --set changes are typed into it
// before OK (or Cancel) is pressed once.
#include <exception>
#include <iostream>
#include <new>

#include "app/HeadlessWindow.h"
#include "app/Unit1.h"
#include "app/batch/CommandLine.h"
#include "app/batch/Cp932.h"
#include "app/batch/RunPicture.h"

namespace dovarin {
namespace {

constexpr int kExitDone = 0;
constexpr int kExitStopped = 2;
constexpr int kExitRefused = 3;
constexpr int kExitUsage = 64;      // EX_USAGE
constexpr int kExitAborted = 70;    // EX_SOFTWARE
constexpr int kExitCantWrite = 74;  // EX_IOERR

// Presses OK once; a stop or a refusal leaves the form open, and the run then ends as Cancel.
int PressOk(TForm1& form, HeadlessWindow& window, std::string& outcome) {
    form.Button1Click();
    if (form.Aborted) return kExitAborted;
    if (window.Closed()) {
        outcome = "OK: the dimension was constructed";
        return kExitDone;
    }
    int status = kExitRefused;
    if (window.Focus()) {
        const std::string line = std::string("focus: ") + GetControlInfo(*window.Focus()).name;
        std::cerr << line << '\n';
        outcome = "OK stopped, " + line + " (answer hq)";
        status = kExitStopped;
    } else {
        const std::string line = "refused: " + Cp932ToUtf8(window.Message().value_or(""));
        std::cerr << line << '\n';
        outcome = "OK " + line + " (answer hq)";
    }
    form.Button2Click();
    return form.Aborted ? kExitAborted : status;
}

// What the user does between show and close: the changes, then OK or Cancel. A failure here,
// outside the form's handlers, breaks the run off as one inside them does.
int Operate(const BatchOptions& options, TForm1& form, HeadlessWindow& window, RunPicture* picture,
            std::string& outcome) {
    try {
        if (picture) picture->CaptureInput();
        for (const ControlChange& change : options.Changes) ApplyChange(change, window.Controls());
        if (!options.Cancel) return PressOk(form, window, outcome);
        form.Button2Click();
        return form.Aborted ? kExitAborted : kExitDone;
    } catch (const std::bad_alloc&) {
        form.Abort(true);
    } catch (...) {
        form.Abort(false);
    }
    return kExitAborted;
}

// The program keeps quiet about files it could not write; a caller of the batch tool must know.
// True when the answer of a run that did not break off is missing.
bool ReportFileProblems(const TForm1& form, const std::filesystem::path& dir) {
    if (form.SettingsSaveFailed) {
        std::cerr << "dovarin-batch: cannot write " << (dir / kSettingsFileName).string()
                  << "; the settings were not saved\n";
    }
    if (form.AnswerWritten || form.Aborted) return false;
    std::cerr << "dovarin-batch: cannot write the answer " << (dir / kExchangeFileName).string()
              << '\n';
    return true;
}

// A run that broke off answers "hq", or leaves no answer when even that could not be written.
std::string ReportAbort(const TForm1& form) {
    std::string outcome = std::string("run aborted: ") +
                          (form.AbortedOutOfMemory ? "out of memory" : "internal error");
    outcome += form.AnswerWritten ? " (answer hq)" : ", and the answer could not be written";
    std::cerr << "dovarin-batch: " << outcome << '\n';
    return outcome;
}

int Run(const BatchOptions& options) {
    HeadlessWindow window;
    TForm1 form(window);
    window.Attach(form);
    RunPicture picture;
    const bool drawing = !options.SvgFile.empty();
    if (drawing) window.OnClose([&picture] { picture.CaptureAnswer(); });

    form.FormShow(options.Dir);
    std::string outcome = "Cancel (answer hq)";
    int status = kExitAborted;
    if (!form.Aborted)
        status = Operate(options, form, window, drawing ? &picture : nullptr, outcome);
    if (ReportFileProblems(form, options.Dir)) {
        status = kExitCantWrite;
        outcome += ", but the answer could not be written";
    }
    if (form.Aborted) outcome = ReportAbort(form);
    if (drawing) {
        picture.SetOutcome("dovarin-batch: " + outcome);
        if (!picture.Write(options.SvgFile)) {
            std::cerr << "dovarin-batch: cannot write " << options.SvgFile.string() << '\n';
            return kExitCantWrite;
        }
    }
    return status;
}

}  // namespace
}  // namespace dovarin

int main(int argc, char** argv) {
    dovarin::BatchOptions options;
    std::string error;
    if (!dovarin::ParseCommandLine(argc, argv, options, error)) {
        std::cerr << "dovarin-batch: " << error << '\n';
        return dovarin::kExitUsage;
    }
    if (options.Help) {
        std::cout << dovarin::kUsageText;
        return 0;
    }
    try {
        return dovarin::Run(options);
    } catch (const std::exception& e) {
        // Out of memory before the form was shown (nothing was read) or while drawing the picture
        // (the answer is final): no file is left half-written; say so instead of aborting.
        std::cerr << "dovarin-batch: run aborted: " << e.what() << '\n';
        return dovarin::kExitAborted;
    }
}
