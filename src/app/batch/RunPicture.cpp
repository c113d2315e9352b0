// The run's picture: the input as the form was shown, the answer as the form closed.
#include "app/batch/RunPicture.h"

#include "exchange/SafeFile.h"

namespace dovarin {

void RunPicture::CaptureInput() {
    input_ = HostState;
}

void RunPicture::CaptureAnswer() {
    answer_ = OutputLines();
}

Sketch RunPicture::Picture() const {
    Sketch sketch;
    AddEntities(input_, kInputInks, sketch);
    THostState answer;
    AddAnswer(answer_, input_, answer, sketch);
    AddReferencePoints(input_, sketch);
    return sketch;
}

bool RunPicture::Write(const std::filesystem::path& file) {
    return WriteFileReplacing(file, RenderSvg(Picture(), outcome_));
}

}  // namespace dovarin
