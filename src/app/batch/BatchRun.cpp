// dovarin-batch's run: the form in a headless window on DIR, the --set changes typed into it,
// OK (or Cancel) pressed once, and the outcome reported as the exit status, on stderr and in the
// picture.
#include "app/batch/BatchRun.h"

#include <iostream>

#include "app/HeadlessWindow.h"
#include "app/Unit1.h"
#include "app/batch/Cp932.h"
#include "app/batch/RunPicture.h"

namespace dovarin {
namespace {

// "focus: NAME" after OK stopped at an invalid control, or "refused: MESSAGE" (UTF-8).
std::string StopLine(const HeadlessWindow& window) {
    if (window.Focus()) return std::string("focus: ") + GetControlInfo(*window.Focus()).name;
    return "refused: " + Cp932ToUtf8(window.Message().value_or(""));
}

// Presses OK once; a stop or a refusal leaves the form open, and the run then ends as Cancel.
int PressOk(TForm1& form, HeadlessWindow& window) {
    form.Button1Click();
    if (form.Outcome.BrokeOff()) return kExitAborted;
    if (window.Closed()) return kExitDone;
    std::cerr << StopLine(window) << '\n';
    form.Button2Click();
    if (form.Outcome.BrokeOff()) return kExitAborted;
    return window.Focus() ? kExitStopped : kExitRefused;
}

// What the user does between show and close: the changes, then OK or Cancel. A failure here,
// outside the form's handlers, breaks the run off as one inside them does. Nothing here runs
// after the form answered, so that a failure cannot be taken for a run broken off.
int Operate(const BatchOptions& options, TForm1& form, HeadlessWindow& window,
            RunPicture* picture) {
    int status = kExitAborted;
    AbortOnFailure(form, [&] {
        if (picture) picture->CaptureInput();
        for (const ControlChange& change : options.Changes) ApplyChange(change, window.Controls());
        if (!options.Cancel) {
            status = PressOk(form, window);
            return;
        }
        form.Button2Click();
        status = form.Outcome.BrokeOff() ? kExitAborted : kExitDone;
    });
    return status;
}

// The program keeps quiet about files it could not write; a caller of the batch tool must know.
void ReportFileProblems(const TForm1& form, const std::filesystem::path& dir, bool answerMissing) {
    if (form.Outcome.SettingsSaveFailed) {
        std::cerr << "dovarin-batch: cannot write " << (dir / kSettingsFileName).string()
                  << "; the settings were not saved\n";
    }
    if (answerMissing) {
        std::cerr << "dovarin-batch: cannot write the answer " << (dir / kExchangeFileName).string()
                  << '\n';
    }
}

// A run that broke off answers "hq", or leaves no answer when even that could not be written.
std::string AbortOutcome(const TForm1& form) {
    const bool outOfMemory = form.Outcome.Aborted == FormOutcome::Break::OutOfMemory;
    std::string outcome =
        std::string("run aborted: ") + (outOfMemory ? "out of memory" : "internal error");
    outcome +=
        form.Outcome.AnswerWritten ? " (answer hq)" : ", and the answer could not be written";
    return outcome;
}

// The run's outcome in words, for the picture's title.
std::string Outcome(const TForm1& form, const HeadlessWindow& window, bool cancel, int status) {
    switch (status) {
        case kExitDone:
            return cancel ? "Cancel (answer hq)" : "OK: the dimension was constructed";
        case kExitStopped:
            return "OK stopped, " + StopLine(window) + " (answer hq)";
        case kExitRefused:
            return "OK " + StopLine(window) + " (answer hq)";
        default:
            return AbortOutcome(form);
    }
}

// The picture of a finished run; the answer is final, so a failure here (memory included) only
// costs the picture.
int WritePicture(RunPicture& picture, const std::string& outcome, const BatchOptions& options,
                 int status) noexcept {
    try {
        picture.SetOutcome("dovarin-batch: " + outcome);
        if (picture.Write(options.SvgFile)) return status;
    } catch (...) {
    }
    std::cerr << "dovarin-batch: cannot write " << options.SvgFile.string() << '\n';
    return kExitCantWrite;
}

// The exit status of a run: the form's outcome first, then how OK or Cancel ended (`pressed`).
int ExitStatus(const FormOutcome& outcome, int pressed) {
    if (outcome.BrokeOff()) return kExitAborted;
    if (!outcome.AnswerWritten) return kExitCantWrite;  // a run that did not break off
    return pressed;
}

// After the form answered: what went wrong with the files, then the picture. The answer is
// final, and nothing here touches it or lets a failure out.
int Finish(const TForm1& form, const HeadlessWindow& window, const BatchOptions& options,
           RunPicture* picture, int pressed) noexcept {
    const int status = ExitStatus(form.Outcome, pressed);
    const bool answerMissing = status == kExitCantWrite;
    std::string outcome;
    try {
        ReportFileProblems(form, options.Dir, answerMissing);
        outcome = Outcome(form, window, options.Cancel, pressed);
        if (form.Outcome.BrokeOff()) std::cerr << "dovarin-batch: " << outcome << '\n';
        if (answerMissing) outcome += ", but the answer could not be written";
    } catch (...) {
        // No memory for the words: the status still says what happened.
    }
    return picture ? WritePicture(*picture, outcome, options, status) : status;
}

int Run(const BatchOptions& options) {
    HeadlessWindow window;
    TForm1 form(window);
    window.Attach(form);
    RunPicture picture;
    RunPicture* const drawing = options.SvgFile.empty() ? nullptr : &picture;
    if (drawing) window.OnClose([&picture] { picture.CaptureAnswer(); });

    form.FormShow();
    const int pressed =
        form.Outcome.BrokeOff() ? kExitAborted : Operate(options, form, window, drawing);
    return Finish(form, window, options, drawing, pressed);
}

}  // namespace

int RunBatch(const BatchOptions& options) noexcept {
    try {
        // Where the answer goes, before anything else can fail: the run's one setting of it.
        SetExeDir(options.Dir);
        return Run(options);
    } catch (...) {
        // Only a failure before the form is shown comes here (the form, Operate and Finish keep
        // their own): the host's input must not stay where it looks for the answer.
        const bool answered = WriteCancelAnswer();
        std::cerr << "dovarin-batch: run aborted before the form was shown"
                  << (answered ? " (answer hq)\n" : ", and the answer could not be written\n");
        return kExitAborted;
    }
}

}  // namespace dovarin
