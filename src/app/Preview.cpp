// The preview's redraw: the dialog's validation, the construction and the read-back of the answer,
// each on the preview's own copies, then the frame.
#include "app/Preview.h"

#include <utility>

#include "app/Unit1.h"
#include "dimension/Dimension.h"

namespace dovarin {
namespace {

void Reink(Sketch& sketch, Ink ink) {
    for (auto& path : sketch.Paths) path.ink = ink;
    for (auto& circle : sketch.Circles) circle.ink = ink;
    for (auto& text : sketch.Texts) text.ink = ink;
    for (auto& label : sketch.Labels) label.ink = ink;
}

// The value as the answer holds it: the text of the dimension figure or the plain value text.
// The construction writes one of them, and nothing else with a text.
std::string ValueTextOf(const THostState& answer) {
    if (!answer.Dims.empty()) return answer.Dims[0].Text.Text;
    if (!answer.Texts.empty()) return answer.Texts[0].Text;
    return {};
}

}  // namespace

Preview::Preview(const THostState& input) : input_(input) {
    controls_.ComboBox3Items = TextTypeItems(input);
    // The picked line as the host passed it; the answer draws it again where it was lengthened.
    if (!input.SelectedLines.empty()) {
        const TJwwEntLine& line = input.SelectedLines[0];
        given_.Paths.push_back(
            {{{line.X1, line.Y1}, {line.X2, line.Y2}}, false, false, Ink::Picked});
    }
    AddReferencePoints(input, given_);
    // Until a first valid redraw, the input alone.
    frame_.Drawing = given_;
}

const PreviewFrame& Preview::Update(const DialogControls& controls) {
    std::vector<std::string> items = std::move(controls_.ComboBox3Items);
    controls_ = controls;
    controls_.ComboBox3Items = std::move(items);
    DimensionSettings settings;
    ControlId first = ControlId::ComboBox1;
    if (ValidateDialog(controls_, settings, first)) {
        ShowBuilt(settings);
    } else {
        ShowInvalid(first);
    }
    return frame_;
}

void Preview::ShowInvalid(ControlId first) {
    Reink(frame_.Drawing, Ink::Stale);
    frame_.Greyed = true;
    frame_.Line = GetControlInfo(first).Caption;
}

void Preview::ShowBuilt(const DimensionSettings& settings) {
    // What OK would write now: the run's writer memory as it stands, copied.
    cur_ = input_.Cur;
    pending_ = input_.FirstPending;
    output_.clear();
    ExchangeWriter out(input_, cur_, pending_, output_);
    const ConstructionResult result = BuildAddedDimension(settings, nullptr, out);

    frame_.Drawing = given_;
    frame_.Greyed = false;
    frame_.HasAnswer = result.Completed;
    if (!result.Completed) {
        frame_.Line = result.RefusalMessage;
        return;
    }
    AddAnswer(OutputLines(output_), input_, answer_, frame_.Drawing);
    frame_.Line = ValueTextOf(answer_);
}

}  // namespace dovarin
