// dovarin-batch's command line: parsed and checked completely before the run touches any file.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "settings/Settings.h"

namespace dovarin {

// One --set NAME=VALUE, already converted to what the control holds.
struct ControlChange {
    ControlId Id = ControlId::Edit1;
    std::string Text;  // edits: code page 932, cut to the typing limit
    int Value = 0;     // lists and radio groups: index or kNoSelection; check boxes: 0 or 1
};

struct BatchOptions {
    bool Help = false;
    bool Cancel = false;
    std::vector<ControlChange> Changes;
    std::filesystem::path SvgFile;  // empty: no picture
    std::filesystem::path Dir;
};

// False with a one-line message naming the problem (without the program's name).
bool ParseCommandLine(int argc, const char* const* argv, BatchOptions& options, std::string& error);

// Applies one change to the controls, as the user would make it in the dialog.
void ApplyChange(const ControlChange& change, DialogControls& controls);

extern const std::string kUsageText;

}  // namespace dovarin
