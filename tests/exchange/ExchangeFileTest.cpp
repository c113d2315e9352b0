// The exchange file on disk: line ends, the end-of-text byte, long lines and chunk borders, the
// host's own sample files, and writing the answer safely.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "HostStateScope.h"
#include "TestFiles.h"
#include "exchange/JwwGaibu.h"

#ifdef _WIN32
#include <process.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace dovarin {
namespace {

namespace fs = std::filesystem;

int ProcessId() {
#ifdef _WIN32
    return _getpid();
#else
    return getpid();
#endif
}

using test_files::ReadBytes;
using test_files::WriteBytes;

// A fresh HostState and a folder of its own for each test, both cleaned up afterwards.
class ExchangeFile : public ::testing::Test {
  protected:
    fs::path File() const { return dir_ / "JWC_TEMP.TXT"; }
    // Writes `bytes` as the exchange file and reads it.
    bool ReadFrom(const std::string& bytes) {
        WriteBytes(File(), bytes);
        InitHostState();
        return ReadExchangeFile(File());
    }
    std::vector<std::vector<double>> LinesRead() const {
        std::vector<std::vector<double>> lines;
        for (const TJwwEntLine& l : HostState.SelectedLines)
            lines.push_back({l.X1, l.Y1, l.X2, l.Y2});
        return lines;
    }

    const test_state::ScopedHostState state_;
    test_files::ScratchFolder scratch_{"exchange"};
    const fs::path dir_ = scratch_.Path();
};

using Ends = std::vector<std::vector<double>>;

TEST_F(ExchangeFile, LineEnds) {
    struct Row {
        std::string bytes;
        Ends lines;
    };
    const Row rows[] = {
        {"1 2 3 4\n5 6 7 8\n", {{1, 2, 3, 4}, {5, 6, 7, 8}}},
        {"1 2 3 4\r\n5 6 7 8\r\n", {{1, 2, 3, 4}, {5, 6, 7, 8}}},
        {"1 2 3 4\r\n5 6 7 8", {{1, 2, 3, 4}, {5, 6, 7, 8}}},  // no line end at the end
        {"1 2\r3 4 5\r\n", {{1, 23, 4, 5}}},  // a stray CR is dropped, not a line end
        {"1 2 3 4\r\r\n", {{1, 2, 3, 4}}},
        {"1 2 3 4\n\x1a"
         "5 6 7 8\n",
         {{1, 2, 3, 4}}},  // 0x1A ends the text
        {"1 2 3 4\x1a\n5 6 7 8\n", {{1, 2, 3, 4}}},
        {"\n\n\r\n1 2 3 4\n\n", {{1, 2, 3, 4}}},
        {"", {}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_TRUE(ReadFrom(rows[i].bytes)) << " row " << i;
        EXPECT_EQ(LinesRead(), rows[i].lines) << " row " << i;
    }
}

TEST_F(ExchangeFile, TextLineEnds) {
    // テ split by a stray CR stays one character; a lead byte before CR LF is dropped.
    ASSERT_TRUE(ReadFrom("ch 0 0 1 0 \"a\x83\r\x65\r\nch 0 0 1 0 \"ab\x82\r\n"));
    ASSERT_EQ(HostState.Texts.size(), 2u);
    EXPECT_EQ(HostState.Texts[0].Text, "a\x83\x65");
    EXPECT_EQ(HostState.Texts[1].Text, "ab");
}

// Lines longer than the reader's buffer, and lines and CR LF pairs across its borders.
TEST_F(ExchangeFile, LongLinesAndBufferBorders) {
    constexpr size_t kBorder = 256 * 1024;
    std::string bytes = "ch 0 0 1 0 \"" + std::string(3 * kBorder, 'x') + "\r\n1 2 3 4\r\n";
    // The next line's CR is the last byte before a border, its LF the first after it.
    const std::string filler = "hk 2.5";
    bytes += filler + std::string(4 * kBorder - bytes.size() - filler.size() - 10, '0') + "\r\n";
    bytes += "5 6 7 8\r\n9 9 9 9\r\n";
    ASSERT_EQ(bytes.find("5 6 7 8\r\n") + 7, 4 * kBorder - 1);
    ASSERT_TRUE(ReadFrom(bytes));
    ASSERT_EQ(HostState.Texts.size(), 1u);
    EXPECT_EQ(HostState.Texts[0].Text, std::string(255, 'x'));
    EXPECT_EQ(LinesRead(), (Ends{{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 9, 9, 9}}));
    EXPECT_EQ(HostState.HkValue, 2.5);  // a number of half a million digits
}

TEST_F(ExchangeFile, MissingOrUnreadable) {
    HostState.HkValue = 7;  // left as it was
    EXPECT_FALSE(ReadExchangeFile(dir_ / "none.txt"));
    EXPECT_EQ(HostState.HkValue, 7);
    EXPECT_FALSE(ReadExchangeFile(dir_));  // a folder
    EXPECT_EQ(HostState.SelectedLines.size(), 0u);
}

#ifndef _WIN32
// A pipe would block the start until someone writes into it, a device would never end.
TEST_F(ExchangeFile, NoPlainFileIsNotRead) {
    ASSERT_EQ(mkfifo(File().c_str(), 0600), 0);
    EXPECT_FALSE(ReadExchangeFile(File()));
    fs::remove(File());
    fs::create_symlink("/dev/zero", File());
    EXPECT_FALSE(ReadExchangeFile(File()));
    // A link to a plain file is read as the file.
    fs::remove(File());
    WriteBytes(dir_ / "elsewhere", "hk 2.5\r\n");
    fs::create_symlink(dir_ / "elsewhere", File());
    EXPECT_TRUE(ReadExchangeFile(File()));
    EXPECT_EQ(HostState.HkValue, 2.5);
}
#endif

// ---- the host's own files ----------------------------------------------------------------------

fs::path SampleDir() {
    return fs::path(DOVARIN_SHARED_DIR) / "host-samples" / "parcel_allocation";
}

TEST_F(ExchangeFile, HostSamplesReadWhole) {
    DOVARIN_REQUIRE_SHARED_FILE(SampleDir());
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(SampleDir())) {
        if (!entry.is_regular_file() || entry.path().filename() == "SOURCE.txt") continue;
        InitHostState();
        EXPECT_TRUE(ReadExchangeFile(entry.path())) << entry.path();
        // Header and reference points only: no entities, and every file names a font.
        EXPECT_TRUE(HostState.EntityOrder.empty()) << entry.path();
        EXPECT_FALSE(HostState.HostFontName.empty()) << entry.path();
        EXPECT_GE(HostState.HpPointCount, 0) << entry.path();
        ++files;
    }
    EXPECT_GE(files, 20);
}

TEST_F(ExchangeFile, HostSampleHeader) {
    const fs::path file = SampleDir() / "95621d07__src__JWC_TEMP.TXT";
    DOVARIN_REQUIRE_SHARED_FILE(file);
    ASSERT_TRUE(ReadExchangeFile(file));
    const THostState& s = HostState;
    for (double scale : s.LayerGroupScale) EXPECT_EQ(scale, 250);
    const double widths[] = {2, 2.5, 3, 4, 5, 6, 7, 8, 9, 6};
    const double heights[] = {2, 2.5, 3, 4, 5, 6, 7, 8, 9, 3};
    const double spacings[] = {0, 0, 0.5, 0.5, 0.5, 1, 1, 1, 1, 1};
    const int colors[] = {1, 1, 2, 2, 3, 3, 4, 4, 5, 2};  // column-aligned in the file
    for (int n = 1; n <= 10; ++n) {
        EXPECT_EQ(s.TextTypes[n].Width, widths[n - 1]) << n;
        EXPECT_EQ(s.TextTypes[n].Height, heights[n - 1]) << n;
        EXPECT_EQ(s.TextTypes[n].Spacing, spacings[n - 1]) << n;
        EXPECT_EQ(s.TextTypes[n].Color, colors[n - 1]) << n;
    }
    EXPECT_EQ(s.HostLayerGroup, 2);
    EXPECT_EQ(s.HostLayer, 6);
    EXPECT_EQ(s.HostLineColor, 2);
    EXPECT_EQ(s.HostLineType, 1);
    EXPECT_EQ(s.HostTextType, 3);
    EXPECT_EQ(s.HostFontName, kDefaultFontName);
    EXPECT_FALSE(s.LineWidthSeen);
    EXPECT_EQ(s.HpPointCount, 0);
}

TEST_F(ExchangeFile, HostSampleReferencePoints) {
    const fs::path file = SampleDir() / "0667b60c__src__data__jwc_temp1.txt";
    DOVARIN_REQUIRE_SHARED_FILE(file);
    ASSERT_TRUE(ReadExchangeFile(file));
    const THostState& s = HostState;
    EXPECT_EQ(s.LayerGroupScale[0], 600);
    EXPECT_EQ(s.HnValues[0], -190002.623126338);
    EXPECT_EQ(s.HpPointCount, 4);
    struct Row {
        int n;
        double x, y;
        int kind;
    };
    // "hp1-  x y" and "hp2   x y": the suffix and the runs of blanks.
    const Row rows[] = {{1, -90984.2577738658, 21250.5480255399, 1},
                        {2, -90995.1218173337, -20933.3197822926, 0},
                        {3, -66133.2128935894, -20082.9436885913, 1},
                        {4, -66134.171796393, 17849.7297147183, 0}};
    for (const Row& r : rows) {
        EXPECT_TRUE(s.HpPoints[r.n].Set) << r.n;
        EXPECT_EQ(s.HpPoints[r.n].X, r.x) << r.n;
        EXPECT_EQ(s.HpPoints[r.n].Y, r.y) << r.n;
        EXPECT_EQ(s.HpPoints[r.n].Kind, r.kind) << r.n;
    }
    EXPECT_FALSE(s.HpPoints[5].Set);
}

// Re-saved by an editor as UTF-8: the font name's bytes are damaged, everything else reads.
TEST_F(ExchangeFile, EditorCorruptedSample) {
    const fs::path file = SampleDir() / "editor_corrupted" / "13b07f08__jwc_temp1.txt";
    DOVARIN_REQUIRE_SHARED_FILE(file);
    ASSERT_TRUE(ReadExchangeFile(file));
    const THostState& s = HostState;
    EXPECT_EQ(s.HostTextType, 0);
    EXPECT_EQ(s.HostFreeTextWidth, 3);
    EXPECT_EQ(s.HostFreeTextHeight, 3);
    EXPECT_EQ(s.HostFreeTextSpacing, 0.5);
    EXPECT_EQ(s.HostFreeTextColor, 2);
    EXPECT_EQ(s.HpPointCount, 4);
    EXPECT_EQ(s.HpPoints[3].X, -40505.6560883018);
    // The damaged name is kept byte for byte as the host would send it back.
    const std::string bytes = ReadBytes(file);
    const size_t at = bytes.find("cn\"$") + 4;
    EXPECT_EQ(s.HostFontName, bytes.substr(at, bytes.find('\n', at) - at));
    EXPECT_NE(s.HostFontName, kDefaultFontName);
}

// ---- writing the answer
// --------------------------------------------------------------------------

TEST_F(ExchangeFile, EmptyAnswerIsHq) {
    WriteBytes(File(), "hk 0\r\nlg1\r\n");
    EXPECT_TRUE(WriteExchangeFile(File()));
    EXPECT_EQ(ReadBytes(File()), "hq\r\n");
}

TEST_F(ExchangeFile, AnswerLinesEndInCrLf) {
    ResetWriterState();
    PutLineColor(5);
    PutText(0, "\x83\x65\x83\x4c\x83\x58\x83\x67", 1, 2, 1, 0);  // テキスト
    PutFontName("<a>\"");
    PutSegment(0, 0, 10, 0);
    EXPECT_TRUE(WriteExchangeFile(File()));
    EXPECT_EQ(ReadBytes(File()),
              "lc5\r\nch 1 2 1 0 \"\x83\x65\x83\x4c\x83\x58\x83\x67\r\ncn\"$<a>\"\r\n0 0 10 0\r\n");
    EXPECT_FALSE(fs::exists(dir_ / "JWC_TEMP.TXT.tmp"));
}

TEST_F(ExchangeFile, HeaderWithoutItsTextEndsTheFile) {
    PutLine("#");
    OutputBuffer.push_back({"ch 0 0 1 0 \"", true});
    EXPECT_TRUE(WriteExchangeFile(File()));
    EXPECT_EQ(ReadBytes(File()), "#\r\nch 0 0 1 0 \"");
}

TEST_F(ExchangeFile, FailedWriteLeavesNoExchangeFile) {
    PutLine("#");
    // The folder does not exist: nothing is created.
    EXPECT_FALSE(WriteExchangeFile(dir_ / "missing" / "JWC_TEMP.TXT"));
    EXPECT_FALSE(fs::exists(dir_ / "missing"));
    // A folder in the file's place is left alone, and no temporary file stays beside it.
    fs::create_directory(File());
    EXPECT_FALSE(WriteExchangeFile(File()));
    EXPECT_TRUE(fs::is_directory(File()));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

// Two runs on one folder once shared the temporary name JWC_TEMP.TXT.tmp, and one deleted the
// other's file and then its answer. Whatever lies under another run's name, or under every name
// this run could take (the folder then takes no file of ours, and the answer is rewritten in
// place), is left alone: the write goes neither through a link out of the folder nor into a pipe.
TEST_F(ExchangeFile, OtherRunsFilesAreLeftAlone) {
    const fs::path elsewhere = dir_ / "elsewhere";
    const auto occupy = [&](const fs::path& name, size_t kind) {
        if (kind == 0) WriteBytes(name, "old");
#ifndef _WIN32
        if (kind == 1) fs::create_symlink(elsewhere, name);
        if (kind == 2) fs::create_symlink(dir_ / "nothing", name);
        if (kind == 3) {
            ASSERT_EQ(mkfifo(name.c_str(), 0600), 0);
        }
#endif
    };
    const auto ours = [&](int serial) {
        return fs::path(File()) +=
               "." + std::to_string(ProcessId()) + "-" + std::to_string(serial) + ".tmp";
    };
    constexpr int kOurNames = 400;  // far more than the writes of this test program
#ifdef _WIN32
    constexpr size_t kKinds = 1;  // a plain file
#else
    constexpr size_t kKinds = 4;  // a plain file, a link out, a dangling link, a pipe
#endif
    PutLine("#");
    for (size_t kind = 0; kind < kKinds; ++kind) {
        WriteBytes(File(), "hk 0\r\n");
        WriteBytes(elsewhere, "precious");
        const fs::path others = fs::path(File()) += ".tmp";
        occupy(others, kind);
        for (int serial = 0; serial < kOurNames; ++serial) occupy(ours(serial), kind % 3);
        EXPECT_TRUE(WriteExchangeFile(File())) << " row " << kind;
        const bool plain = fs::is_regular_file(fs::symlink_status(File()));
        EXPECT_TRUE(plain) << " row " << kind;
        if (plain) {
            EXPECT_EQ(ReadBytes(File()), "#\r\n") << " row " << kind;
        }
        EXPECT_EQ(ReadBytes(elsewhere), "precious") << " row " << kind;
        EXPECT_TRUE(fs::exists(fs::symlink_status(others))) << " row " << kind;
        const auto entries = std::distance(fs::directory_iterator(dir_), fs::directory_iterator());
        EXPECT_EQ(entries, kOurNames + 3) << " row " << kind;
        for (const fs::directory_entry& entry : fs::directory_iterator(dir_))
            if (entry.path() != elsewhere) fs::remove(entry.path());
    }
}

TEST_F(ExchangeFile, AnswerReplacesTheHostsFile) {
    WriteBytes(File(), std::string(10000, 'x'));
    PutLine("#");
    EXPECT_TRUE(WriteExchangeFile(File()));
    EXPECT_EQ(ReadBytes(File()), "#\r\n");
    // A file name with Japanese characters in the folder (the path is wide on Windows).
    const fs::path japanese = dir_ / fs::u8path(u8"\u5916\u90e8\u5909\u5f62") / "JWC_TEMP.TXT";
    fs::create_directories(japanese.parent_path());
    EXPECT_TRUE(WriteExchangeFile(japanese));
    InitHostState();
    EXPECT_TRUE(ReadExchangeFile(japanese));
}

}  // namespace
}  // namespace dovarin
