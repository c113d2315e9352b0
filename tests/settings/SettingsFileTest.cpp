#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "HostStateScope.h"
#include "TestFiles.h"
#include "exchange/JwwGaibu.h"
#include "settings/Settings.h"

namespace dovarin {
namespace {

namespace fs = std::filesystem;
using test_files::ReadBytes;
using test_files::WriteBytes;

std::string Join(const std::vector<std::string>& lines, const std::string& eol = "\r\n") {
    std::string out;
    for (const std::string& line : lines) out += line + eol;
    return out;
}

// Lines 1 to 22 of a file as a program run writes it after a plain OK.
std::vector<std::string> TypicalLines() {
    return {"120", "80", "0", "11", "5", "3", "2", "1", "",  "mm", "0.5",
            "2",   "2",  "3", "15", "2", "1", "0", "1", "0", "0",  "1"};
}

std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) break;
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

class SettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override { path_ = dir_ / "kelm.dat"; }

    // A dialog as the form has it when it loads: ComboBox3 filled, nothing selected there.
    static SavedDialog FreshDialog() {
        SavedDialog d;
        d.Controls.ComboBox3Items.assign(11, "No");
        d.WindowLeft = -1;
        d.WindowTop = -1;
        return d;
    }

    SavedDialog Load(const std::string& bytes) {
        WriteBytes(path_, bytes);
        SavedDialog d = FreshDialog();
        LoadSettings(path_, d);
        return d;
    }

    const test_state::ScopedHostState state_;
    test_files::ScratchFolder scratch_{"settings"};
    const fs::path dir_ = scratch_.Path();
    fs::path path_;
};

TEST_F(SettingsFileTest, MissingOrUnreadableFileKeepsTheControls) {
    SavedDialog expected = FreshDialog();
    expected.WindowLeft = 100;
    expected.WindowTop = 100;

    SavedDialog d = FreshDialog();
    LoadSettings(path_, d);
    EXPECT_EQ(d.Controls, expected.Controls);
    EXPECT_EQ(d.WindowLeft, 100);
    EXPECT_EQ(d.WindowTop, 100);

    fs::create_directory(path_);  // a folder where the file should be
    d = FreshDialog();
    LoadSettings(path_, d);
    EXPECT_EQ(d.Controls, expected.Controls);
    EXPECT_EQ(d.WindowLeft, 100);
    EXPECT_EQ(d.WindowTop, 100);
}

#ifndef _WIN32
// A pipe or a device in the file's place used to block the start for ever or read without end.
TEST_F(SettingsFileTest, NoPlainFileIsNotRead) {
    SavedDialog expected = FreshDialog();
    expected.WindowLeft = 100;
    expected.WindowTop = 100;
    ASSERT_EQ(::mkfifo(path_.c_str(), 0600), 0);
    SavedDialog d = FreshDialog();
    LoadSettings(path_, d);  // would wait for a writer
    EXPECT_EQ(d.Controls, expected.Controls);
    EXPECT_EQ(d.WindowLeft, 100);

    fs::remove(path_);
    fs::create_symlink("/dev/zero", path_);
    d = FreshDialog();
    LoadSettings(path_, d);  // would read zeros until memory runs out
    EXPECT_EQ(d.Controls, expected.Controls);
    EXPECT_EQ(d.WindowTop, 100);

    // A link to a plain file is read as the file.
    fs::remove(path_);
    const fs::path target = dir_ / "elsewhere.dat";
    WriteBytes(target, Join(TypicalLines()));
    fs::create_symlink(target, path_);
    EXPECT_EQ(Load(Join(TypicalLines())).WindowLeft, 120);
}
#endif

TEST_F(SettingsFileTest, ReadsATypicalFile) {
    const SavedDialog d = Load(Join(TypicalLines()));
    const DialogControls& c = d.Controls;
    EXPECT_EQ(d.WindowLeft, 120);
    EXPECT_EQ(d.WindowTop, 80);
    EXPECT_EQ(c.ComboBox1, 0);
    EXPECT_EQ(c.ComboBox2, 11);
    EXPECT_EQ(c.ComboBox3, 5);
    EXPECT_EQ(c.ComboBox4, 3);
    EXPECT_EQ(c.ComboBox5, 2);
    const std::vector<std::string> edits = {c.Edit1, c.Edit2, c.Edit3, c.Edit4, c.Edit5,
                                            c.Edit6, c.Edit7, c.Edit8, c.Edit9};
    const std::vector<std::string> expected = {"1", "", "mm", "0.5", "2", "2", "3", "15", "2"};
    EXPECT_EQ(edits, expected);
    EXPECT_EQ(c.RadioGroup1, 1);
    EXPECT_EQ(c.RadioGroup2, 0);
    EXPECT_TRUE(c.CheckBox1);
    EXPECT_FALSE(c.CheckBox2);
    EXPECT_FALSE(c.CheckBox3);
    EXPECT_TRUE(c.CheckBox4);
}

// Each row replaces one line of the typical file and states what differs from loading it.
TEST_F(SettingsFileTest, OddValuesInOneLine) {
    struct Row {
        int line;  // 1-based
        std::string text;
        std::function<void(SavedDialog&)> expect;
    };
    const std::string longText(40, 'x');
    const std::string fullWidth = "\x81\x40\x82\x60\x83\x5c";  // "　Ａソ"
    const std::vector<Row> rows = {
        {1, "abc", [](SavedDialog& d) { d.WindowLeft = 0; }},
        {2, "-20", [](SavedDialog& d) { d.WindowTop = -20; }},
        {3, "-5", [](SavedDialog& d) { d.Controls.ComboBox1 = 0; }},
        {3, "20", [](SavedDialog& d) { d.Controls.ComboBox1 = kNoSelection; }},
        {3, "12", [](SavedDialog& d) { d.Controls.ComboBox1 = kNoSelection; }},
        {4, "x", [](SavedDialog& d) { d.Controls.ComboBox2 = 0; }},
        {5, "10", [](SavedDialog& d) { d.Controls.ComboBox3 = 10; }},
        {5, "11", [](SavedDialog& d) { d.Controls.ComboBox3 = kNoSelection; }},
        {6, "9", [](SavedDialog& d) { d.Controls.ComboBox4 = kNoSelection; }},
        {7, "3", [](SavedDialog& d) { d.Controls.ComboBox5 = kNoSelection; }},
        {7, "1.0", [](SavedDialog& d) { d.Controls.ComboBox5 = 0; }},
        {8, longText, [&](SavedDialog& d) { d.Controls.Edit1 = longText; }},
        {9, fullWidth, [&](SavedDialog& d) { d.Controls.Edit2 = fullWidth; }},
        {10, " A", [](SavedDialog& d) { d.Controls.Edit3 = " A"; }},
        {12, "abc", [](SavedDialog& d) { d.Controls.Edit5 = "abc"; }},
        {17, "5", [](SavedDialog& d) { d.Controls.RadioGroup1 = 1; }},
        {17, "-1", [](SavedDialog& d) { d.Controls.RadioGroup1 = 0; }},
        {18, "2", [](SavedDialog& d) { d.Controls.RadioGroup2 = 1; }},
        {19, "abc", [](SavedDialog& d) { d.Controls.CheckBox1 = false; }},
        {19, "2", [](SavedDialog& d) { d.Controls.CheckBox1 = true; }},
        {20, "-1", [](SavedDialog& d) { d.Controls.CheckBox2 = true; }},
        {22, "0", [](SavedDialog& d) { d.Controls.CheckBox4 = false; }},
        {22, "", [](SavedDialog& d) { d.Controls.CheckBox4 = false; }},
    };
    const SavedDialog typical = Load(Join(TypicalLines()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::vector<std::string> lines = TypicalLines();
        lines[rows[i].line - 1] = rows[i].text;
        SavedDialog expected = typical;
        rows[i].expect(expected);
        const SavedDialog d = Load(Join(lines));
        EXPECT_EQ(d.Controls, expected.Controls) << "row " << i;
        EXPECT_EQ(d.WindowLeft, expected.WindowLeft) << "row " << i;
        EXPECT_EQ(d.WindowTop, expected.WindowTop) << "row " << i;
    }
}

TEST_F(SettingsFileTest, ShortFileReadsMissingLinesAsEmpty) {
    const SavedDialog d = Load("300");
    EXPECT_EQ(d.WindowLeft, 300);
    EXPECT_EQ(d.WindowTop, 0);
    for (const ControlInfo& info : ControlTable()) {
        switch (info.kind) {
            case ControlKind::Edit:
                EXPECT_EQ(d.Controls.Text(info.id), "") << info.name;
                break;
            case ControlKind::CheckBox:
                EXPECT_FALSE(d.Controls.Checked(info.id)) << info.name;
                break;
            default:
                EXPECT_EQ(d.Controls.Index(info.id), 0) << info.name;
                break;
        }
    }
    EXPECT_EQ(Load("").Controls, Load("\r\n").Controls);
}

// ComboBox3 is filled before the file is read; without its items nothing can be selected there.
TEST_F(SettingsFileTest, TextTypeListNotFilled) {
    WriteBytes(path_, Join(TypicalLines()));
    SavedDialog d;
    LoadSettings(path_, d);
    EXPECT_EQ(d.Controls.ComboBox3, kNoSelection);
    EXPECT_EQ(d.Controls.ComboBox2, 11);
}

TEST_F(SettingsFileTest, LineEnds) {
    const SavedDialog crlf = Load(Join(TypicalLines()));
    struct Row {
        const char* what;
        std::string bytes;
    };
    std::vector<std::string> fullFile = TypicalLines();
    for (int i = 23; i <= 34; ++i) fullFile.push_back("garbage " + std::to_string(i));
    std::string noFinalEnd = Join(TypicalLines());
    noFinalEnd.resize(noFinalEnd.size() - 2);
    const std::vector<Row> same = {
        {"LF only", Join(TypicalLines(), "\n")},
        {"full 34-line file", Join(fullFile)},
        {"no line end after line 22", noFinalEnd},
        {"lone CR at the end of the file", noFinalEnd + "\r"},
        {"lines after 22 of any kind", Join(TypicalLines()) + "\xff\r\r\n\n\x82"},
    };
    for (std::size_t i = 0; i < same.size(); ++i) {
        const SavedDialog d = Load(same[i].bytes);
        EXPECT_EQ(d.Controls, crlf.Controls) << "row " << i << ": " << same[i].what;
        EXPECT_EQ(d.WindowLeft, crlf.WindowLeft) << "row " << i << ": " << same[i].what;
    }

    // Only LF ends a line. An edit takes no control characters: a prefix holding CR, or a suffix
    // ending in 0x1A, once reached the answer's value text and ended or split its record.
    std::vector<std::string> lines = TypicalLines();
    lines[8] = "a\rb";
    lines[9] = "mm\x1a\r";
    lines[10] = std::string("d\0e\x7f", 4);
    const SavedDialog d = Load(Join(lines));
    EXPECT_EQ(d.Controls.Edit2, "ab");
    EXPECT_EQ(d.Controls.Edit3, "mm");
    EXPECT_EQ(d.Controls.Edit4, "de");
    // Lines ended by a lone CR are not lines: the whole file is one line that reads as 0.
    EXPECT_EQ(Load("300\r200\r").WindowLeft, 0);
}

// The window saves the controls as they stand; loading that file gives the same controls and
// saving again the same lines 1 to 22.
TEST_F(SettingsFileTest, LoadSaveLoadKeepsEveryByte) {
    std::vector<std::string> lines = TypicalLines();
    lines[0] = "-32";
    lines[8] = " \x81\x40";            // a blank prefix is saved as typed
    lines[9] = "\x82\x6c\x82\x6c";     // ＭＭ
    lines[11] = "abc";                 // an unreadable number as typed
    lines[13] = std::string(50, '9');  // longer than anyone can type
    lines[14] =
        "\x83\x5c\x83\x5c"
        "1";  // ソ ends in a backslash byte
    const std::string original = Join(lines);
    const SavedDialog first = Load(original);
    ASSERT_TRUE(SaveSettings(path_, first));
    const std::string saved = ReadBytes(path_);
    ASSERT_EQ(saved.substr(0, original.size()), original);

    SavedDialog second = FreshDialog();
    LoadSettings(path_, second);
    EXPECT_EQ(second.Controls, first.Controls);
    ASSERT_TRUE(SaveSettings(path_, second));
    EXPECT_EQ(ReadBytes(path_), saved);
}

TEST_F(SettingsFileTest, SavesThirtyFourLinesOfTheDialogAndTheRun) {
    HostState.HostLayerGroup = 3;
    HostState.LayerGroupScale[3] = 50;
    HostState.LayerGroupScale[5] = 0.5;
    HostState.HkValue = 2.25;
    TJwwEntLine line;
    line.LayerGroup = 5;
    HostState.SelectedLines.Append(line, {"1.5", "-2", "0.00001", "1e15"});
    HostState.SelectedLines.Append(TJwwEntLine{}, {"0", "0", "0", "0"});  // only the first counts
    HostState.HpPoints[2] = HpPoint{true, 10, 20.125, 0};
    HostState.HpPoints[3] = HpPoint{true, -0.1, 1.0 / 3, 0};

    SavedDialog d = FreshDialog();
    d.WindowLeft = 7;
    d.WindowTop = 8;
    d.Controls.ComboBox3 = 0;
    d.Controls.Edit2 = "\x81\x40";
    d.Controls.CheckBox2 = true;
    d.Controls.RadioGroup2 = 1;
    ASSERT_TRUE(SaveSettings(path_, d));
    const std::vector<std::string> expected = {"7",        "8",
                                               "0",        "0",
                                               "0",        "3",
                                               "2",        "1",
                                               "\x81\x40", "",
                                               "0.5",      "2",
                                               "2",        "3",
                                               "15",       "2",
                                               "0",        "1",
                                               "0",        "1",
                                               "0",        "0",
                                               "3",        "50",
                                               "2.25",     "0.5",
                                               "1.5",      "-2",
                                               "1E-5",     "1E15",
                                               "10",       "20.125",
                                               "-0.1",     "0.333333333333333"};
    const std::string bytes = ReadBytes(path_);
    EXPECT_EQ(bytes, Join(expected));
    EXPECT_EQ(SettingsFileText(d), bytes);
}

TEST_F(SettingsFileTest, RunLinesWithoutAPickedLine) {
    HostState.LayerGroupScale[0] = 20;
    HostState.LayerGroupScale[4] = 8;
    HostState.HostLayerGroup = 4;
    const std::vector<std::string> lines = SplitCrLf(SettingsFileText(FreshDialog()));
    ASSERT_EQ(lines.size(), 34u);
    const std::vector<std::string> run(lines.begin() + 22, lines.end());
    const std::vector<std::string> expected = {"4", "8", "0", "20", "0", "0",
                                               "0", "0", "0", "0",  "0", "0"};
    EXPECT_EQ(run, expected);
}

// Layer groups outside 0..15 take group 0's scale, as the reader treats them; a released host
// state writes zeros. Under the sanitizers these would catch any read past a table.
TEST_F(SettingsFileTest, RunLinesNeverIndexOutsideTheTables) {
    HostState.LayerGroupScale[0] = 20;
    HostState.HostLayerGroup = 16;
    TJwwEntLine line;
    line.LayerGroup = -1;
    HostState.SelectedLines.Append(line, {"0", "0", "0", "0"});
    std::vector<std::string> lines = SplitCrLf(SettingsFileText(FreshDialog()));
    ASSERT_EQ(lines.size(), 34u);
    EXPECT_EQ(lines[22], "16");
    EXPECT_EQ(lines[23], "20");
    EXPECT_EQ(lines[25], "20");

    FreeHostState();
    lines = SplitCrLf(SettingsFileText(FreshDialog()));
    ASSERT_EQ(lines.size(), 34u);
    for (int i = 30; i < 34; ++i) EXPECT_EQ(lines[i], "0") << "line " << i + 1;
}

TEST_F(SettingsFileTest, FailedSaveKeepsThePreviousFile) {
    const std::string previous = Join(TypicalLines());
    WriteBytes(path_, previous);
    SavedDialog d = FreshDialog();
    d.Controls.Edit1 = "changed";

    // The folder does not exist.
    EXPECT_FALSE(SaveSettings(dir_ / "missing" / "kelm.dat", d));
    EXPECT_FALSE(fs::exists(dir_ / "missing"));

    // A folder at the path itself stays a folder.
    const fs::path folder = dir_ / "folder.dat";
    fs::create_directory(folder);
    WriteBytes(folder / "inside", previous);
    EXPECT_FALSE(SaveSettings(folder, d));
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(ReadBytes(folder / "inside"), previous);

    // And a save that works replaces the file. What another run keeps beside it under a
    // temporary name is not ours to touch.
    const fs::path othersTemporary = fs::path(path_) += ".tmp";
    fs::create_directory(othersTemporary);
    EXPECT_TRUE(SaveSettings(path_, d));
    SavedDialog back = FreshDialog();
    LoadSettings(path_, back);
    EXPECT_EQ(back.Controls.Edit1, "changed");
    EXPECT_TRUE(fs::is_directory(othersTemporary));
}

// A line end inside a text (never from a real edit) must not shift the lines after it.
TEST_F(SettingsFileTest, TextWithALineEndStaysOnItsLine) {
    SavedDialog d = FreshDialog();
    d.Controls.ComboBox3 = 1;
    d.Controls.Edit2 = "ab\r\ncd";
    d.Controls.Edit3 = "ef\ngh";
    d.Controls.CheckBox4 = true;
    const std::vector<std::string> lines = SplitCrLf(SettingsFileText(d));
    ASSERT_EQ(lines.size(), 34u);
    EXPECT_EQ(lines[8], "ab");
    EXPECT_EQ(lines[9], "ef");
    EXPECT_EQ(lines[21], "1");
}

TEST_F(SettingsFileTest, LoadSettingsTextMatchesTheFile) {
    std::vector<std::string> lines = TypicalLines();
    lines.resize(10);
    const std::string bytes = Join(lines, "\n");
    SavedDialog fromText = FreshDialog();
    LoadSettingsText(bytes, fromText);
    const SavedDialog fromFile = Load(bytes);
    EXPECT_EQ(fromText.Controls, fromFile.Controls);
    EXPECT_EQ(fromText.WindowLeft, fromFile.WindowLeft);
    EXPECT_EQ(fromText.WindowTop, fromFile.WindowTop);
}

}  // namespace
}  // namespace dovarin
