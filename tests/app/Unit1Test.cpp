// TForm1 against a recording window: what it asks of the window, in which order, and what the
// two files hold afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "AllocationFailure.h"
#include "HostStateScope.h"
#include "TestFiles.h"
#include "app/HeadlessWindow.h"
#include "app/Unit1.h"
#include "dimension/Dimension.h"
#include "exchange/JwwGaibu.h"

namespace dovarin {
namespace {

namespace fs = std::filesystem;

// The headless window that also writes down every call the form makes, as one line. The call
// named by FailAt throws after it was recorded.
class RecordingWindow : public HeadlessWindow {
  public:
    std::vector<std::string> Calls;
    std::string FailAt;
    bool FailOutOfMemory = true;

    void ShowControls(const DialogControls& controls) override {
        Record("ShowControls");
        HeadlessWindow::ShowControls(controls);
    }
    void ReadControls(DialogControls& controls) override {
        Record("ReadControls");
        HeadlessWindow::ReadControls(controls);
    }
    void FocusControl(ControlId id) override {
        Record(std::string("Focus ") + GetControlInfo(id).name);
    }
    void SetStatus(std::string_view text) override { Record("Status " + std::string(text)); }
    void ShowMessage(std::string_view text) override { Record("Message " + std::string(text)); }
    void GetPosition(int& left, int& top) override {
        Record("GetPosition");
        HeadlessWindow::GetPosition(left, top);
    }
    void SetPosition(int left, int top) override {
        Record("SetPosition " + std::to_string(left) + " " + std::to_string(top));
        HeadlessWindow::SetPosition(left, top);
    }
    void Close() override {
        Record("Close");
        HeadlessWindow::Close();
    }

  private:
    void Record(std::string call) {
        Calls.push_back(call);
        if (call != FailAt) return;
        if (FailOutOfMemory) throw std::bad_alloc();
        throw std::runtime_error("window failed");
    }
};

using test_files::ReadBytes;
using test_files::WriteBytes;

// Joins lines with CR LF, as both files are written.
std::string Crlf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// The worked example: picked line (0,0)-(0,10) with the dimension attribute, Q (100, 0),
// K (50, 20), V (40, 25).
const std::vector<std::string> kPickedDimension = {"hp2 100 0", "hp3 50 20", "hp4 40 25", "z3",
                                                   "0 0 0 10"};

// Lines 1 to 22 of a settings file that passes every check, at position left, top.
std::vector<std::string> ValidSettings(int left, int top) {
    return {std::to_string(left),
            std::to_string(top),
            "0",
            "0",
            "1",
            "3",
            "2",
            "1",
            "",
            "",
            "0.5",
            "2",
            "2",
            "3",
            "15",
            "2",
            "0",
            "0",
            "0",
            "0",
            "0",
            "0"};
}

class Unit1Test : public ::testing::Test {
  protected:
    void SetUp() override {
        window_.Attach(form_);
        SetExeDir(dir_);
    }

    fs::path Exchange() const { return dir_ / "JWC_TEMP.TXT"; }
    fs::path Settings() const { return dir_ / "kelm.dat"; }

    void Show(const std::vector<std::string>& exchange) {
        WriteBytes(Exchange(), Crlf(exchange));
        form_.FormShow();
        window_.Calls.clear();
    }

    const test_state::ScopedHostState state_;
    test_files::ScratchFolder scratch_{"app"};
    const fs::path dir_ = scratch_.Path();
    RecordingWindow window_;
    TForm1 form_{window_};
};

TEST_F(Unit1Test, ShowReadsBothFilesThenShowsControlsAndMovesTheWindow) {
    WriteBytes(Exchange(), Crlf({"cn4"}));
    std::vector<std::string> settings = ValidSettings(300, 200);
    settings[4] = "7";  // ComboBox3
    WriteBytes(Settings(), Crlf(settings));

    form_.FormShow();

    EXPECT_EQ(window_.Calls, (std::vector<std::string>{"ShowControls", "SetPosition 300 200"}));
    ASSERT_EQ(window_.Controls().ComboBox3Items.size(), 11u);
    EXPECT_EQ(window_.Controls().ComboBox3, 7);
    EXPECT_EQ(HostState.HostTextType, 4);
    const std::string exeDir = ExeDir.string();
    ASSERT_FALSE(exeDir.empty());
    EXPECT_EQ(exeDir.back(), static_cast<char>(fs::path::preferred_separator));
}

// The last resort of a program whose window never ran: the host's input must not stay behind.
TEST_F(Unit1Test, CancelAnswerWithoutAFormReplacesTheHostsInput) {
    WriteBytes(Exchange(), Crlf(kPickedDimension));
    OutputBuffer.push_back({"hd", false});  // half an answer left by a failed run
    SetExeDir(dir_);
    WriteCancelAnswer();
    EXPECT_EQ(ReadBytes(Exchange()), "hq\r\n");
}

TEST_F(Unit1Test, ShowWithoutFilesUsesDefaults) {
    form_.FormShow();

    EXPECT_EQ(window_.Calls, (std::vector<std::string>{"ShowControls", "SetPosition 100 100"}));
    EXPECT_EQ(window_.Controls().ComboBox3, kNoSelection);
    EXPECT_EQ(window_.Controls().Edit8, "15");
    EXPECT_FALSE(fs::exists(Exchange()));
    EXPECT_FALSE(fs::exists(Settings()));
}

// 現在の文字種( in code page 932.
const std::string kCurrent = "\x8c\xbb\x8d\xdd\x82\xcc\x95\xb6\x8e\x9a\x8e\xed(";

TEST_F(Unit1Test, TextTypeItems) {
    struct Row {
        std::vector<std::string> exchange;
        std::string first;
        std::string second;
        std::string last;
    };
    const std::vector<Row> rows = {
        {{}, kCurrent + "No1)", "No1: W3 H3 D0", "No10: W3 H3 D0"},
        {{"cn0 2.5 2.5 0 1"}, kCurrent + "Free)", "No1: W3 H3 D0", "No10: W3 H3 D0"},
        {{"cn10", "cn0 2 2 0 1"}, kCurrent + "No10)", "No1: W3 H3 D0", "No10: W3 H3 D0"},
        {{"hcw 2.5 2 2 2 2 2 2 2 2 12.75", "hch 3 2 2 2 2 2 2 2 2 1E-5",
          "hcd 0.25 0 0 0 0 0 0 0 0 -1"},
         kCurrent + "No1)",
         "No1: W2.5 H3 D0.25",
         "No10: W12.75 H1E-5 D-1"},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        Show(rows[i].exchange);
        const std::vector<std::string>& items = window_.Controls().ComboBox3Items;
        ASSERT_EQ(items.size(), 11u) << "row " << i;
        EXPECT_EQ(items[0], rows[i].first) << "row " << i;
        EXPECT_EQ(items[1], rows[i].second) << "row " << i;
        EXPECT_EQ(items[10], rows[i].last) << "row " << i;
        EXPECT_EQ(items, TextTypeItems()) << "row " << i;
        form_.FormClose();
    }
}

TEST_F(Unit1Test, InvalidValueStopsWithFocusAndSavesNothing) {
    const std::string saved = Crlf(ValidSettings(300, 200));
    WriteBytes(Settings(), saved);
    Show(kPickedDimension);
    window_.Drag(500, window_.Top());  // moved by the user
    window_.Controls().Edit8 = "180";
    window_.Controls().Edit5 = "-1";

    form_.Button1Click();
    EXPECT_EQ(window_.Calls,
              (std::vector<std::string>{"GetPosition", "ReadControls", "Focus Edit8"}));
    EXPECT_EQ(form_.Dialog.WindowLeft, 500);

    // After the correction the next invalid control takes the focus.
    window_.Calls.clear();
    window_.Controls().Edit8 = "179.999";
    form_.Button1Click();
    EXPECT_EQ(window_.Calls,
              (std::vector<std::string>{"GetPosition", "ReadControls", "Focus Edit5"}));

    form_.Button2Click();
    EXPECT_EQ(ReadBytes(Settings()), saved);
    EXPECT_EQ(ReadBytes(Exchange()), "hq\r\n");
}

TEST_F(Unit1Test, RefusalKeepsTheFormOpenAndTheSettingsSaved) {
    WriteBytes(Settings(), Crlf(ValidSettings(300, 200)));
    Show({"hp2 100 0", "hp3 50 20", "hp4 40 25", "0 0 0 10"});  // no dimension attribute
    window_.Drag(321, 123);

    form_.Button1Click();
    const std::string message = "Message " + std::string(kMsgNoDimensionAttribute);
    EXPECT_EQ(window_.Calls, (std::vector<std::string>{"GetPosition", "ReadControls", message}));
    std::string expected = Crlf(ValidSettings(321, 123));
    EXPECT_EQ(ReadBytes(Settings()).substr(0, expected.size()), expected);
    EXPECT_TRUE(OutputBuffer.empty());

    // A second OK from the open form saves its values again and is refused again.
    window_.Calls.clear();
    window_.Drag(10, window_.Top());
    window_.Controls().Edit4 = "1.5";
    form_.Button1Click();
    EXPECT_EQ(window_.Calls, (std::vector<std::string>{"GetPosition", "ReadControls", message}));
    std::vector<std::string> second = ValidSettings(10, 123);
    second[10] = "1.5";
    expected = Crlf(second);
    EXPECT_EQ(ReadBytes(Settings()).substr(0, expected.size()), expected);

    form_.Button2Click();
    EXPECT_EQ(ReadBytes(Exchange()), "hq\r\n");
}

TEST_F(Unit1Test, CompletedConstructionReportsProgressThenCloses) {
    WriteBytes(Settings(), Crlf(ValidSettings(300, 200)));
    Show(kPickedDimension);

    form_.Button1Click();
    EXPECT_EQ(window_.Calls,
              (std::vector<std::string>{"GetPosition", "ReadControls",
                                        "Status " + std::string(kStatusWorking),
                                        "Status " + std::string(kStatusWriting), "Close"}));
    const std::string answer = ReadBytes(Exchange());
    EXPECT_EQ(answer.substr(0, 4), "hd\r\n");
    // The picked line comes back lengthened to 2 beyond the dimension line at 20.
    EXPECT_NE(answer.find("\r\n0 0 0 22\r\n"), std::string::npos) << answer;
    EXPECT_EQ(ReadBytes(Settings()).substr(0, 8), "300\r\n200");
}

TEST_F(Unit1Test, CancelAtOnceAnswersHqWhateverTheHostWrote) {
    const std::string saved = Crlf(ValidSettings(300, 200));
    WriteBytes(Settings(), saved);
    Show(kPickedDimension);

    ASSERT_EQ(HostState.SelectedLines.size(), 1u);

    form_.Button2Click();
    EXPECT_EQ(window_.Calls, (std::vector<std::string>{"Close"}));
    EXPECT_EQ(ReadBytes(Exchange()), "hq\r\n");
    EXPECT_EQ(ReadBytes(Settings()), saved);
    // The close event releases the host state after writing the answer.
    EXPECT_EQ(HostState.SelectedLines.size(), 0u);
    EXPECT_TRUE(HostState.HpPoints.empty());
}

// The program reports no file error; it only records them for a caller without a screen.
TEST_F(Unit1Test, RecordsWhichFilesCouldNotBeWritten) {
    struct Row {
        const char* what;
        bool settingsFolder;  // a folder where kelm.dat belongs
        bool answerFolder;    // a folder where JWC_TEMP.TXT belongs
    };
    const Row rows[] = {
        {"both files writable", false, false},
        {"kelm.dat is a folder", true, false},
        {"JWC_TEMP.TXT is a folder", false, true},
    };
    for (const Row& row : rows) {
        fs::remove_all(Settings());
        fs::remove_all(Exchange());
        if (row.settingsFolder) {
            fs::create_directory(Settings());
        } else {
            WriteBytes(Settings(), Crlf(ValidSettings(300, 200)));
        }
        if (row.answerFolder) {
            fs::create_directory(Exchange());
            form_.FormShow();
        } else {
            Show(kPickedDimension);
        }
        window_.Controls().ComboBox3 = 0;  // a folder loads no selection there
        form_.Button1Click();
        if (!window_.Calls.empty() && window_.Calls.back().rfind("Message", 0) == 0) {
            form_.Button2Click();  // refused without a picked line: closed as Cancel
        }
        EXPECT_EQ(form_.Outcome.SettingsSaveFailed, row.settingsFolder) << row.what;
        EXPECT_EQ(form_.Outcome.AnswerWritten, !row.answerFolder) << row.what;
        EXPECT_EQ(fs::is_directory(Settings()), row.settingsFolder) << row.what;
        EXPECT_EQ(fs::is_directory(Exchange()), row.answerFolder) << row.what;
        window_.Calls.clear();
    }
}

// Out of memory once left the host's input in JWC_TEMP.TXT, and the host took it for the answer.
// Whatever fails inside a handler, the form closes and the answer is "hq", never the input and
// never the records appended so far.
TEST_F(Unit1Test, AFailureInsideAHandlerAnswersHq) {
    struct Row {
        const char* what;
        std::string failAt;  // the window call that throws
        bool outOfMemory;
        std::vector<std::string> exchange;
        bool cancel;         // Cancel instead of OK
        bool settingsSaved;  // OK got as far as saving kelm.dat
    };
    const std::string saved = Crlf(ValidSettings(300, 200));
    // More records than the memory holds.
    std::vector<std::string> manyLines;
    for (int i = 0; i < 200000; ++i)
        manyLines.push_back(std::to_string(i) + " 0.5 -" + std::to_string(i) + " 10");
    const Row rows[] = {
        {"records beyond the memory", "", true, manyLines, false, false},
        {"showing the controls", "ShowControls", false, kPickedDimension, false, false},
        {"reading the controls", "ReadControls", true, kPickedDimension, false, false},
        {"records appended", "Status " + std::string(kStatusWriting), true, kPickedDimension, false,
         true},
        {"the refusal's message box",
         "Message " + std::string(kMsgNoDimensionAttribute),
         false,
         {"hp2 100 0", "hp3 50 20", "hp4 40 25", "0 0 0 10"},
         false,
         true},
        {"a window that raises no close event", "Close", true, kPickedDimension, true, false},
    };
    for (const Row& row : rows) {
        WriteBytes(Settings(), saved);
        WriteBytes(Exchange(), Crlf(row.exchange));
        window_.Calls.clear();
        window_.FailAt = row.failAt;
        window_.FailOutOfMemory = row.outOfMemory;
        test_alloc::FailBeyondBudget(true);
        form_.FormShow();
        if (form_.Outcome.Aborted == FormOutcome::Break::None)
            row.cancel ? form_.Button2Click() : form_.Button1Click();
        test_alloc::FailBeyondBudget(false);

        EXPECT_EQ(form_.Outcome.Aborted,
                  row.outOfMemory ? FormOutcome::Break::OutOfMemory : FormOutcome::Break::Failure)
            << row.what;
        EXPECT_TRUE(form_.Outcome.AnswerWritten) << row.what;
        EXPECT_EQ(ReadBytes(Exchange()), "hq\r\n") << row.what;
        // kelm.dat is the old file or the whole new one.
        const std::string settings = ReadBytes(Settings());
        EXPECT_EQ(settings.substr(0, saved.size()), saved) << row.what;
        EXPECT_EQ(std::count(settings.begin(), settings.end(), '\n'), row.settingsSaved ? 34 : 22)
            << row.what;
        EXPECT_EQ(window_.Calls.back(), "Close") << row.what;
        EXPECT_TRUE(HostState.HpPoints.empty()) << row.what;  // released
    }
}

}  // namespace
}  // namespace dovarin
