// The settings file kelm.dat keeps the dialog and the window position from one run to the next.
//
// One value per line, no keys: the line number is the meaning. Written with CR LF, texts as the
// code page 932 bytes they are, reals in the files' one real form (FormatReal):
//
//     line  1, 2     window left, top                      120 / 80
//     lines 3 .. 7   ComboBox1 .. ComboBox5 index           0 / 0 / 5 / 3 / 2
//     lines 8 .. 16  Edit1 .. Edit9 text as typed           1 / (empty) / mm / 0.5 / 2 / ...
//     lines 17, 18   RadioGroup1, RadioGroup2 index         0 / 1
//     lines 19 .. 22 CheckBox1 .. CheckBox4, 1 or 0         1 / 0 / 0 / 0
//     lines 23 .. 34 the run's host layer group, its scale, the hk value, the picked line's
//                    scale and ends, reference points 2 and 3: written, never read back
//
// Reading is forgiving, since the file may be old, cut short or edited by hand:
// - a line ends at LF; a CR just before it, or at the very end of the file, is dropped; every
//   other byte belongs to the line;
// - lines missing at the end read as empty texts: indices 0, edits empty, boxes cleared;
// - a number that does not read is 0; a negative index is 0; a list index at or past the items
//   leaves the list without selection; a radio index past the buttons selects the last one;
// - a check box is checked by any non-zero integer;
// - the edits take their line whatever its length (the typing limits are for typing only), less
//   its control characters, which typing would refuse and which would end or split a record of
//   the answer;
// - lines after 22 are not read; a file that cannot be opened, or is no plain file (a folder, a
//   pipe, a device), changes nothing but the position.
#include <array>
#include <cstdio>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/JwwGaibu.h"
#include "exchange/SafeFile.h"
#include "settings/Settings.h"
#include "util/MyFunc.h"

namespace dovarin {
namespace {

namespace fs = std::filesystem;

constexpr int kDefaultWindowPos = 100;
constexpr int kReadLines = 22;

constexpr int kFirstControlLine = 3;

// Lines 3 to 22, in file order; each control's line is in its row of the control table.
using LineControls = std::array<ControlId, kReadLines - kFirstControlLine + 1>;
const LineControls& ControlsByLine() {
    static const LineControls controls = [] {
        LineControls byLine{};
        for (const ControlInfo& info : ControlTable()) {
            byLine.at(info.settingsLine - kFirstControlLine) = info.id;
        }
        return byLine;
    }();
    return controls;
}

// ---- reading ---------------------------------------------------------------------------------

// The file's bytes up to the end of line 22 (or all of a shorter file). False when the file
// could not be opened; `complete` is false when reading broke off part-way.
bool ReadHead(const fs::path& path, std::string& bytes, bool& complete) {
    // Only a plain file: a pipe would block the start for ever, a device could never end.
    const UniqueFile file(OpenPlainFileForReading(path));
    if (!file) return false;
    int lineEnds = 0;
    char buffer[4096];
    while (lineEnds < kReadLines) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
        for (std::size_t i = 0; i < got; ++i) lineEnds += buffer[i] == '\n';
        bytes.append(buffer, got);
        if (got < sizeof buffer) break;
    }
    complete = std::ferror(file.get()) == 0;
    return true;
}

// Cuts `bytes` into lines, views into it. When the file was not read to its end, the unfinished
// last line is left out, so that a value is never taken from half a line.
std::vector<std::string_view> SplitLines(std::string_view bytes, bool complete) {
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (pos < bytes.size() && lines.size() < kReadLines) {
        const std::size_t lf = bytes.find('\n', pos);
        if (lf == std::string_view::npos && !complete) break;
        const std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
        std::string_view line = bytes.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        pos = end + 1;
    }
    return lines;
}

int ReadIndex(std::string_view line) {
    const int n = StrToIntOrZero(line);
    return n < 0 ? 0 : n;
}

void ApplyControlLine(ControlId id, std::string_view line, DialogControls& c) {
    switch (GetControlInfo(id).kind) {
        case ControlKind::ComboBox: {
            const int n = ReadIndex(line);
            c.Index(id) = n < c.ItemCount(id) ? n : kNoSelection;
            break;
        }
        case ControlKind::RadioGroup: {
            const int n = ReadIndex(line);
            c.Index(id) = n < c.ItemCount(id) ? n : c.ItemCount(id) - 1;
            break;
        }
        case ControlKind::Edit:
            c.Text(id) = WithoutControlChars(line);
            break;
        case ControlKind::CheckBox:
            c.Checked(id) = StrToIntOrZero(line) != 0;
            break;
    }
}

// Applies lines 1 .. lines.size(); the rest keep their values.
void ApplyLines(const std::vector<std::string_view>& lines, SavedDialog& dialog) {
    for (std::size_t i = 0; i < lines.size() && i < kReadLines; ++i) {
        if (i == 0) {
            dialog.WindowLeft = StrToIntOrZero(lines[i]);
        } else if (i == 1) {
            dialog.WindowTop = StrToIntOrZero(lines[i]);
        } else {
            ApplyControlLine(ControlsByLine()[i + 1 - kFirstControlLine], lines[i],
                             dialog.Controls);
        }
    }
}

// ---- writing ---------------------------------------------------------------------------------

// What reading gives back as the first line of `text`. A single-line edit cannot hold a line
// end; should a text hold one anyway, the rest is not written, so it cannot shift the lines
// that follow it.
std::string_view OneLine(std::string_view text) {
    const std::size_t lf = text.find('\n');
    if (lf == std::string_view::npos) return text;
    text = text.substr(0, lf);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    return text;
}

void AppendLine(std::string& out, std::string_view line) {
    out += line;
    out += "\r\n";
}

void AppendControlLine(std::string& out, ControlId id, const DialogControls& c) {
    switch (GetControlInfo(id).kind) {
        case ControlKind::ComboBox:
        case ControlKind::RadioGroup:
            AppendLine(out, std::to_string(c.Index(id)));
            break;
        case ControlKind::Edit:
            AppendLine(out, OneLine(c.Text(id)));
            break;
        case ControlKind::CheckBox:
            AppendLine(out, c.Checked(id) ? "1" : "0");
            break;
    }
}

HpPoint ReferencePoint(std::size_t n) {
    return n < HostState.HpPoints.size() ? HostState.HpPoints[n] : HpPoint{};
}

// Lines 23 to 34. Without a picked line, lines 26 to 30 describe an empty line: layer group 0's
// scale and zero ends.
std::vector<std::string> RunLines() {
    const TJwwEntLine line =
        HostState.SelectedLines.empty() ? TJwwEntLine{} : HostState.SelectedLines[0];
    const HpPoint p2 = ReferencePoint(2);
    const HpPoint p3 = ReferencePoint(3);
    return {
        std::to_string(HostState.HostLayerGroup),
        FormatReal(HostState.ScaleOfGroup(HostState.HostLayerGroup)),
        FormatReal(HostState.HkValue),
        FormatReal(HostState.ScaleOfGroup(line.LayerGroup)),
        FormatReal(line.X1),
        FormatReal(line.Y1),
        FormatReal(line.X2),
        FormatReal(line.Y2),
        FormatReal(p2.X),
        FormatReal(p2.Y),
        FormatReal(p3.X),
        FormatReal(p3.Y),
    };
}

}  // namespace

void LoadSettings(const fs::path& path, SavedDialog& dialog) {
    dialog.WindowLeft = kDefaultWindowPos;
    dialog.WindowTop = kDefaultWindowPos;
    // A file too big for memory fails like one that cannot be read: what was applied stays.
    try {
        std::string bytes;
        bool complete = false;
        if (!ReadHead(path, bytes, complete)) return;
        std::vector<std::string_view> lines = SplitLines(bytes, complete);
        if (complete) lines.resize(kReadLines);
        ApplyLines(lines, dialog);
    } catch (const std::bad_alloc&) {
    }
}

void LoadSettingsText(std::string_view bytes, SavedDialog& dialog) {
    dialog.WindowLeft = kDefaultWindowPos;
    dialog.WindowTop = kDefaultWindowPos;
    std::vector<std::string_view> lines = SplitLines(bytes, true);
    lines.resize(kReadLines);
    ApplyLines(lines, dialog);
}

std::string SettingsFileText(const SavedDialog& dialog) {
    const std::vector<std::string> runLines = RunLines();
    // Room for the whole text at once: an edit's text may be long, and a text that grew around it
    // would hold it twice while it moves. The position and the other controls' lines are
    // numbers, a few bytes each.
    constexpr std::size_t kNumberLineBytes = 32;
    std::size_t size = kReadLines * kNumberLineBytes;
    for (const std::string& line : runLines) size += line.size() + 2;
    for (ControlId id : ControlsByLine()) {
        if (GetControlInfo(id).kind == ControlKind::Edit) size += dialog.Controls.Text(id).size();
    }
    std::string out;
    out.reserve(size);
    AppendLine(out, std::to_string(dialog.WindowLeft));
    AppendLine(out, std::to_string(dialog.WindowTop));
    for (ControlId id : ControlsByLine()) AppendControlLine(out, id, dialog.Controls);
    for (const std::string& line : runLines) AppendLine(out, line);
    return out;
}

bool SaveSettings(const fs::path& path, const SavedDialog& dialog) {
    try {
        return WriteFileReplacing(path, SettingsFileText(dialog), IfRewriteFails::KeepPrevious);
    } catch (const std::bad_alloc&) {
        return false;  // the previous file stays
    }
}

}  // namespace dovarin
