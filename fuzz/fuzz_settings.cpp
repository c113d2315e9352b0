// The settings file from any bytes: loading must take whatever it finds, the OK checks must give
// an answer, and what is saved must load back to the same controls.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "exchange/JwwGaibu.h"
#include "settings/Settings.h"

namespace {

namespace fs = std::filesystem;

fs::path WorkDir() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() /
                     ("dovarin-fuzz-settings-" + std::to_string(std::random_device{}()));
        fs::create_directories(d / "saved");
        return d;
    }();
    return dir;
}

void WriteBytes(const fs::path& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// What a saved dialog loads back as: a list left without selection is saved as -1, which reads
// as the first item (or again as none, for a list without items); a radio group likewise.
dovarin::DialogControls AfterReload(dovarin::DialogControls c) {
    for (const dovarin::ControlInfo& info : dovarin::ControlTable()) {
        if (info.kind != dovarin::ControlKind::ComboBox &&
            info.kind != dovarin::ControlKind::RadioGroup) {
            continue;
        }
        if (c.Index(info.id) < 0) c.Index(info.id) = c.ItemCount(info.id) > 0 ? 0 : -1;
    }
    return c;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace dovarin;
    InitHostState();
    const fs::path input = WorkDir() / "kelm.dat";
    const fs::path output = WorkDir() / "saved" / "kelm.dat";
    WriteBytes(input, data, size);

    SavedDialog dialog;
    // The first byte decides whether the form filled ComboBox3, so both states are explored.
    if (size == 0 || data[0] % 2 == 0) dialog.Controls.ComboBox3Items.assign(11, "No");
    LoadSettings(input, dialog);

    // Whatever the file held, the checks give settings or a control to focus; a dialog that
    // passes has every list and radio group selected.
    DimensionSettings settings;
    ControlId focus = ControlId::ComboBox1;
    const bool valid = ValidateDialog(dialog.Controls, settings, focus);
    if (valid && AfterReload(dialog.Controls) != dialog.Controls) std::abort();

    if (!SaveSettings(output, dialog)) std::abort();
    SavedDialog reloaded;
    reloaded.Controls.ComboBox3Items = dialog.Controls.ComboBox3Items;
    LoadSettings(output, reloaded);
    if (reloaded.Controls != AfterReload(dialog.Controls)) std::abort();
    if (reloaded.WindowLeft != dialog.WindowLeft || reloaded.WindowTop != dialog.WindowTop) {
        std::abort();
    }
    return 0;
}
