// dovarin-batch: one program run without a window. DIR stands for the executable's folder; the
// headless window stands where the settings file puts it and the --set changes are typed into it
// before OK (or Cancel) is pressed once.
#include <exception>
#include <iostream>

#include "app/Unit1.h"
#include "app/batch/CommandLine.h"
#include "app/batch/Cp932.h"
#include "app/batch/HeadlessWindow.h"
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
    return status;
}

// The program keeps quiet about files it could not write; a caller of the batch tool must know.
// True when the answer is missing: the host would take its own input, or nothing, for it.
bool ReportFileProblems(const TForm1& form, const std::filesystem::path& dir) {
    if (form.SettingsSaveFailed) {
        std::cerr << "dovarin-batch: cannot write " << (dir / kSettingsFileName).string()
                  << "; the settings were not saved\n";
    }
    if (form.AnswerWritten) return false;
    std::cerr << "dovarin-batch: cannot write the answer " << (dir / kExchangeFileName).string()
              << '\n';
    return true;
}

int Run(const BatchOptions& options) {
    HeadlessWindow window;
    TForm1 form(window);
    window.Attach(form);
    RunPicture picture;
    const bool drawing = !options.SvgFile.empty();
    if (drawing) window.OnClose([&picture] { picture.CaptureAnswer(); });

    form.FormShow(options.Dir);
    if (drawing) picture.CaptureInput();
    for (const ControlChange& change : options.Changes) ApplyChange(change, window.Controls());

    std::string outcome = "Cancel (answer hq)";
    int status = kExitDone;
    if (options.Cancel) {
        form.Button2Click();
    } else {
        status = PressOk(form, window, outcome);
    }
    if (ReportFileProblems(form, options.Dir)) {
        status = kExitCantWrite;
        outcome += ", but the answer could not be written";
    }
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
        // Out of memory on absurd input: every file write replaces its target whole, so nothing
        // is left half-written; say so instead of aborting.
        std::cerr << "dovarin-batch: run aborted: " << e.what() << '\n';
        return dovarin::kExitAborted;
    }
}
