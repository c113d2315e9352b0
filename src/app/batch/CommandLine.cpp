// dovarin-batch [--cancel] [--set NAME=VALUE]... [--svg FILE] DIR
//
// Every argument is checked here, so that a bad command line is refused before any file is read
// or written. A --set value is what a user could put into the control: an edit's text is cut to
// its typing limit in whole characters and may hold no control bytes (a one-line edit takes
// none); a list or radio group takes an item index, -1 for no selection, and is left with no
// selection by an index it has no item for, as a window is; a check box takes 0 or 1.
#include "app/batch/CommandLine.h"

#include <charconv>
#include <optional>
#include <system_error>

#include "app/Unit1.h"
#include "app/batch/Cp932.h"
#include "util/MyFunc.h"

namespace dovarin {

const std::string kUsageText =
    std::string(
        "Usage: dovarin-batch [--cancel] [--set NAME=VALUE]... [--svg FILE] DIR\n"
        "\n"
        "Runs Dovarin once without a window on the files in DIR, as if DIR held the "
        "program:\nreads DIR/") +
    kExchangeFileName + " and DIR/" + kSettingsFileName +
    ", presses OK (or Cancel) and writes both files\n"
    "back exactly as the program does. The window stands where " +
    kSettingsFileName +
    " puts it.\n"
    "\n"
    "  --cancel           press Cancel at once instead of OK\n"
    "  --set NAME=VALUE   change one control after the settings were loaded, as a user would;\n"
    "                     several apply in order:\n"
    "                       Edit1..Edit9          the text, in UTF-8 (kept in code page 932),\n"
    "                                             cut to the edit's typing limit in whole\n"
    "                                             characters; control characters are refused\n"
    "                       ComboBox1..ComboBox5, RadioGroup1, RadioGroup2\n"
    "                                             an item index from 0; -1, or an index the\n"
    "                                             control has no item for, selects nothing\n"
    "                       CheckBox1..CheckBox4  0 or 1\n"
    "  --svg FILE         write a picture of the run to FILE: what the host passed in grey,\n"
    "                     the answer in colour, the reference points Q, K and V labelled\n"
    "  -h, --help         show this text\n"
    "\n"
    "Exit status:\n"
    "  0   OK completed the dimension, or --cancel\n"
    "  2   OK stopped at an invalid control; stderr: \"focus: NAME\"\n"
    "  3   the construction refused; stderr: \"refused: MESSAGE\" (UTF-8)\n"
    "      after 2 and 3 the form is closed as Cancel closes it\n"
    "  64  bad command line; nothing was read or written\n"
    "  70  the run broke off (out of memory): the answer is hq, or removed when even\n"
    "      that cannot be written; no file is left half-written\n"
    "  74  the answer DIR/" +
    kExchangeFileName +
    " or the picture could not be written; the answer\n"
    "      is then hq or removed, never the host's input\n"
    "      (a " +
    kSettingsFileName + " that cannot be written is reported on stderr, the status unchanged)\n";

namespace {

bool ParseWholeInt(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end;
}

bool ParseEditText(const ControlInfo& info, const std::string& value, ControlChange& change,
                   std::string& error) {
    std::optional<std::string> cp932(std::string{});
    if (!Utf8ToCp932(value, *cp932)) cp932.reset();
    // The user empties the edit, then types the value.
    EditResult typed = ApplyEdit("", cp932, info.typingLimit);
    switch (typed.Outcome) {
        case EditOutcome::RefusedCodePage:
            error = std::string(info.name) + ": the text cannot be written in code page 932";
            return false;
        case EditOutcome::RefusedControlChar:
            error = std::string(info.name) + ": control characters cannot be typed into an edit";
            return false;
        case EditOutcome::Taken:
        case EditOutcome::Cut:
            break;
    }
    change.Text = std::move(typed.Text);
    return true;
}

int ItemCountOf(ControlId id) {
    DialogControls probe;
    probe.ComboBox3Items.resize(kTextTypeItemCount);
    return probe.ItemCount(id);
}

bool ParseIndex(const ControlInfo& info, const std::string& value, ControlChange& change,
                std::string& error) {
    if (!ParseWholeInt(value, change.Value)) {
        error = std::string(info.name) + ": '" + value + "' is not an item index";
        return false;
    }
    if (change.Value < 0 || change.Value >= ItemCountOf(info.id)) change.Value = kNoSelection;
    return true;
}

bool ParseCheck(const ControlInfo& info, const std::string& value, ControlChange& change,
                std::string& error) {
    if (value != "0" && value != "1") {
        error = std::string(info.name) + ": '" + value + "' is not 0 or 1";
        return false;
    }
    change.Value = value == "1" ? 1 : 0;
    return true;
}

bool ParseChange(const std::string& argument, ControlChange& change, std::string& error) {
    const size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    const ControlInfo* info = FindControl(name);
    if (info == nullptr) {
        error = "--set: unknown control '" + name + "'";
        return false;
    }
    if (equals == std::string::npos) {
        error = "--set " + name + ": missing '=VALUE'";
        return false;
    }
    change.Id = info->id;
    const std::string value = argument.substr(equals + 1);
    switch (info->kind) {
        case ControlKind::Edit:
            return ParseEditText(*info, value, change, error);
        case ControlKind::ComboBox:
        case ControlKind::RadioGroup:
            return ParseIndex(*info, value, change, error);
        case ControlKind::CheckBox:
            return ParseCheck(*info, value, change, error);
    }
    return false;
}

bool CheckDir(const std::filesystem::path& dir, std::string& error) {
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) {
        error = "DIR '" + dir.string() + "' is not a directory";
        return false;
    }
    return true;
}

bool TakeDir(const std::vector<std::string>& dirs, BatchOptions& options, std::string& error) {
    if (dirs.empty()) {
        error = "missing DIR";
        return false;
    }
    if (dirs.size() > 1) {
        error = "more than one DIR ('" + dirs[0] + "', '" + dirs[1] + "')";
        return false;
    }
    options.Dir = dirs[0];
    return CheckDir(options.Dir, error);
}

// True when a and b name the same file, existing or not (links and ".." resolved).
bool SamePlace(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ecA;
    std::error_code ecB;
    const std::filesystem::path canonicalA = std::filesystem::weakly_canonical(a, ecA);
    const std::filesystem::path canonicalB = std::filesystem::weakly_canonical(b, ecB);
    return !ecA && !ecB && canonicalA == canonicalB;
}

bool CheckSvgFile(const std::filesystem::path& file, const std::filesystem::path& dir,
                  std::string& error) {
    std::error_code ec;
    const std::filesystem::path parent = file.parent_path().empty() ? "." : file.parent_path();
    if (!std::filesystem::is_directory(parent, ec)) {
        error = "--svg: folder '" + parent.string() + "' does not exist";
        return false;
    }
    if (std::filesystem::is_directory(file, ec)) {
        error = "--svg: '" + file.string() + "' is a directory";
        return false;
    }
    // The picture is written last and would replace what the run left there.
    for (const char* name : {kExchangeFileName, kSettingsFileName}) {
        if (SamePlace(file, dir / name)) {
            error = "--svg: '" + file.string() + "' is the run's own " + name;
            return false;
        }
    }
    return true;
}

// A message stays on one line whatever the arguments hold.
std::string OneLine(std::string text) {
    for (char& c : text) {
        if (IsControlByte(static_cast<unsigned char>(c))) c = '?';
    }
    return text;
}

// Takes the value of an option that needs one.
bool TakeValue(int argc, const char* const* argv, int& i, std::string& value, std::string& error) {
    if (i + 1 >= argc) {
        error = std::string(argv[i]) + ": missing value";
        return false;
    }
    value = argv[++i];
    return true;
}

bool ParseArguments(int argc, const char* const* argv, BatchOptions& options, std::string& error) {
    std::vector<std::string> dirs;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string value;
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            dirs.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "-h" || arg == "--help") {
            options.Help = true;
            return true;
        } else if (arg == "--cancel") {
            options.Cancel = true;
        } else if (arg == "--set") {
            ControlChange change;
            if (!TakeValue(argc, argv, i, value, error) || !ParseChange(value, change, error)) {
                return false;
            }
            options.Changes.push_back(change);
        } else if (arg == "--svg") {
            if (!options.SvgFile.empty()) {
                error = "--svg given more than once";
                return false;
            }
            if (!TakeValue(argc, argv, i, value, error)) return false;
            if (value.empty()) {
                error = "--svg: missing value";
                return false;
            }
            options.SvgFile = value;
        } else {
            error = "unknown option '" + arg + "'";
            return false;
        }
    }
    return TakeDir(dirs, options, error) &&
           (options.SvgFile.empty() || CheckSvgFile(options.SvgFile, options.Dir, error));
}

}  // namespace

bool ParseCommandLine(int argc, const char* const* argv, BatchOptions& options,
                      std::string& error) {
    if (ParseArguments(argc, argv, options, error)) return true;
    error = OneLine(std::move(error));
    return false;
}

void ApplyChange(const ControlChange& change, DialogControls& controls) {
    switch (GetControlInfo(change.Id).kind) {
        case ControlKind::Edit:
            controls.Text(change.Id) = change.Text;
            break;
        case ControlKind::ComboBox:
        case ControlKind::RadioGroup:
            controls.Index(change.Id) = change.Value;
            break;
        case ControlKind::CheckBox:
            controls.Checked(change.Id) = change.Value != 0;
            break;
    }
}

}  // namespace dovarin
