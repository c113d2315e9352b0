// The dialog preview's redraw, Preview::Update, on the bundled example as the user types: every
// redraw sees another arrow length. The argument is a number of extra lines the host passed after
// the picked one; a redraw must cost the same however large the exchange file is.
#include <benchmark/benchmark.h>

#include <string>

#include "app/Preview.h"
#include "app/Unit1.h"
#include "settings/Settings.h"

namespace {

using namespace dovarin;

// The bundled example with `extraLines` more lines, its settings loaded into the controls.
DialogControls LoadExample(std::int64_t extraLines) {
    const std::filesystem::path examples = DOVARIN_EXAMPLES_DIR;
    InitHostState();
    ReadExchangeFile(examples / kExchangeFileName);
    for (std::int64_t i = 0; i < extraLines; ++i) {
        const std::string x = std::to_string(1000 + i % 5000);
        ParseExchangeText(x + " 0 " + x + " 1250.75");
    }
    ResetWriterState();
    SavedDialog dialog;
    dialog.Controls.ComboBox3Items = TextTypeItems();
    LoadSettings(examples / kSettingsFileName, dialog);
    return dialog.Controls;
}

void BM_PreviewUpdate(benchmark::State& state) {
    DialogControls controls = LoadExample(state.range(0));
    Preview preview(HostState);
    const char* const lengths[] = {"3", "3.5", "4", "4.5"};
    std::size_t n = 0;
    for (auto _ : state) {
        controls.Edit7 = lengths[n++ % 4];
        benchmark::DoNotOptimize(preview.Update(controls).Line.size());
    }
    FreeHostState();
}
BENCHMARK(BM_PreviewUpdate)->Arg(0)->Arg(500000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
