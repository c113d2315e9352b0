// One whole program run from any bytes: the host's exchange text, the settings file and the
// user's changes, then OK or Cancel, as dovarin-batch runs it. Not only must nothing crash: what
// the run leaves for the host and for the next run must be sound.
//
// Input: three sections separated by two zero bytes (fuzz/make-seeds builds them from the
// scenario folders):
//   JWC_TEMP.TXT \0\0 kelm.dat \0\0 command line
// An empty section stands for a missing file. The command line holds one argument per line:
// NAME=VALUE lines become --set NAME=VALUE, "--cancel" presses Cancel instead of OK.
//
// Checked after the run:
// - the answer was written; it is "hq" or, after a completed OK only, begins with "hd";
// - every line ends with CR LF and holds no other control byte;
// - no entry is longer than 255 bytes (a text record's line is its header and its text);
// - every number is finite;
// - kelm.dat is untouched, or it has 34 lines without control bytes;
// - nothing else is left in the folder.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "app/batch/BatchRun.h"
#include "app/batch/CommandLine.h"
#include "util/MyFunc.h"

namespace {

namespace fs = std::filesystem;
using namespace dovarin;

constexpr std::string_view kSeparator("\0\0", 2);
constexpr std::size_t kMaxEntry = 255;

void Check(bool ok) {
    if (!ok) std::abort();
}

fs::path WorkDir() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() /
                     ("dovarin-fuzz-run-" + std::to_string(std::random_device{}()));
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

std::string_view TakeSection(std::string_view& rest) {
    const std::size_t end = rest.find(kSeparator);
    const std::string_view section = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
    return section;
}

void PutFile(const fs::path& path, std::string_view bytes) {
    if (bytes.empty()) return;
    std::ofstream(path, std::ios::binary).write(bytes.data(), bytes.size());
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> Arguments(std::string_view commands, const fs::path& dir) {
    std::vector<std::string> args = {"dovarin-batch"};
    while (!commands.empty()) {
        const std::size_t lf = commands.find('\n');
        const std::string line(commands.substr(0, lf));
        commands = lf == std::string_view::npos ? std::string_view() : commands.substr(lf + 1);
        if (line == "--cancel") {
            args.push_back(line);
        } else if (!line.empty()) {
            args.push_back("--set");
            args.push_back(line);
        }
    }
    args.push_back(dir.string());
    return args;
}

// The lines of a CR LF file; false when a line holds another control byte or the file does not
// end with a line end.
bool SplitCrLf(const std::string& bytes, std::vector<std::string_view>& lines) {
    std::string_view rest(bytes);
    while (!rest.empty()) {
        const std::size_t end = rest.find("\r\n");
        if (end == std::string_view::npos) return false;
        const std::string_view line = rest.substr(0, end);
        if (HasControlByte(line)) return false;
        lines.push_back(line);
        rest.remove_prefix(end + 2);
    }
    return true;
}

// No key of a record starts so; "inf" and "nan" would.
bool StartsAsNumber(std::string_view token) {
    if (!token.empty() && (token[0] == '-' || token[0] == '+')) token.remove_prefix(1);
    return !token.empty() &&
           std::string_view("0123456789.iInN").find(token[0]) != std::string_view::npos;
}

// The record part of a line (before a text's opening quote): entries of at most 255 bytes, and
// every value that reads as a number is a finite one.
void CheckRecord(std::string_view line) {
    const std::size_t quote = line.find('"');
    const std::string_view record =
        line.substr(0, quote == std::string_view::npos ? line.size() : quote + 1);
    Check(record.size() <= kMaxEntry && line.size() - record.size() <= kMaxEntry);
    std::string_view rest = line.substr(0, quote);
    while (!rest.empty()) {
        const std::size_t blank = rest.find(' ');
        const std::string token(rest.substr(0, blank));
        rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
        if (!StartsAsNumber(token)) continue;
        char* end = nullptr;
        const double value = std::strtod(token.c_str(), &end);
        Check(end == token.c_str() + token.size() && std::isfinite(value));
    }
}

void CheckAnswer(const fs::path& file, bool completed) {
    const std::string answer = ReadFile(file);
    std::vector<std::string_view> lines;
    Check(SplitCrLf(answer, lines) && !lines.empty());
    Check(completed ? lines[0] == "hd" : answer == "hq\r\n");
    for (std::string_view line : lines) CheckRecord(line);
}

void CheckSettings(const fs::path& file, std::string_view before) {
    const std::string settings = ReadFile(file);
    if (settings == before) return;
    std::vector<std::string_view> lines;
    Check(SplitCrLf(settings, lines) && lines.size() == 34);
}

}  // namespace

// The batch run's messages to its user ("focus: Edit1") would flood the fuzzer's own output.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::cerr.rdbuf(nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string_view exchange = TakeSection(rest);
    const std::string_view settings = TakeSection(rest);
    const fs::path dir = WorkDir();
    const fs::path answerFile = dir / "JWC_TEMP.TXT";
    const fs::path settingsFile = dir / "kelm.dat";
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) fs::remove(entry);
    PutFile(answerFile, exchange);
    PutFile(settingsFile, settings);

    const std::vector<std::string> args = Arguments(rest, dir);
    std::vector<const char*> argv;
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    BatchOptions options;
    std::string error;
    // A command line the batch tool refuses touches no file.
    if (!ParseCommandLine(static_cast<int>(argv.size()), argv.data(), options, error)) return 0;

    const int status = RunBatch(options);

    // OK completed, stopped or refused, or Cancel; never a run broken off or an answer missing.
    Check(status == kExitDone || status == kExitStopped || status == kExitRefused);
    CheckAnswer(answerFile, status == kExitDone && !options.Cancel);
    CheckSettings(settingsFile, settings);
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
        const fs::path name = entry.path().filename();
        Check(name == "JWC_TEMP.TXT" || name == "kelm.dat");
    }
    return 0;
}
