// The picture of one batch run as an SVG file: the run's Sketch, fitted into a canvas under a
// title and a legend.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/Sketch.h"
#include "exchange/JwwGaibu.h"

namespace dovarin {

class RunPicture {
  public:
    // After the form is shown: what the host passed. Keeps the reader's view of it.
    void CaptureInput();
    // Just before the form closes: the answer's lines.
    void CaptureAnswer();
    // The run's outcome for the title, UTF-8.
    void SetOutcome(std::string outcome) { outcome_ = std::move(outcome); }
    // The run's sketch: the input, the answer as the host reads it, the reference points.
    Sketch Picture() const;
    // Builds and writes the SVG; false when the file could not be written.
    bool Write(const std::filesystem::path& file);

  private:
    THostState input_;
    std::vector<std::string> answer_;
    std::string outcome_;
};

// The SVG text of a sketch; exposed for tests.
std::string RenderSvg(const Sketch& sketch, const std::string& title);

}  // namespace dovarin
