// The dialog's preview: the dimension that OK would add, drawn from the dialog's current values
// before OK, as the host will take it. A redraw works on copies and scratch storage only: it
// never changes the run's OutputBuffer, HostState (its writer memory included), the status label
// or any file, so that a run with the preview open ends as one without it.
#pragma once

#include <string>
#include <vector>

#include "app/Sketch.h"
#include "exchange/JwwGaibu.h"
#include "settings/Settings.h"

namespace dovarin {

struct PreviewFrame {
    Sketch Drawing;       // what to paint; its inks already say how (Ink::Stale while greyed)
    bool Greyed = false;  // a value is invalid: Drawing is the last valid one, re-inked Stale
    bool HasAnswer = false;
    // Code page 932: the value text as it will be written ("2,700"), the refusal's own text, or
    // the label of the first invalid control.
    std::string Line;
};

class Preview {
  public:
    // `input` is the run's HostState after FormShow; the preview only reads it, and it must
    // outlive the preview.
    explicit Preview(const THostState& input);

    // Validates a copy of the controls in the dialog's validation order (no focus move, no
    // message), builds the dimension into a scratch output, reads it back into a scratch state,
    // and returns the frame. ComboBox3's items are the form's, whatever `controls` holds of them:
    // a window reports only the user's choices.
    const PreviewFrame& Update(const DialogControls& controls);

  private:
    void ShowInvalid(ControlId first);
    void ShowBuilt(const DimensionSettings& settings);

    const THostState& input_;
    DialogControls controls_;  // the copy validated, with the form's text-type items
    Sketch given_;             // the picked line and the reference points, the same in every frame
    PreviewFrame frame_;
    // Scratch storage: the writer's memory and output are kept between redraws so that their
    // memory is reused; the answer is read back into a fresh state each time.
    CurrentAttributes cur_;
    FirstPendingFlags pending_;
    std::vector<OutputEntry> output_;
    THostState answer_;
};

}  // namespace dovarin
