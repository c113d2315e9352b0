// Files for the tests: whole-file bytes, and a folder of the test's own that is removed again.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "exchange/NativeFile.h"

namespace dovarin::test_files {

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// True when the tests run under CI, which sets CI=true.
inline bool UnderCi() {
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::string(ci) == "true";
}

// In a test body: a test of files outside the project (../shared) is skipped when they are
// missing, as in a clone on its own; under CI they must be there, and the test fails instead.
#define DOVARIN_REQUIRE_SHARED_FILE(path)                                               \
    do {                                                                                \
        if (std::filesystem::exists(path)) break;                                       \
        if (::dovarin::test_files::UnderCi()) FAIL() << "missing under CI: " << (path); \
        GTEST_SKIP() << "missing: " << (path);                                          \
    } while (false)

// An empty folder named after the running test (and `tag`), removed with everything in it when
// the object goes.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& tag) {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        // The process in the name: the native and sanitizer builds' tests may run at once.
        path_ = std::filesystem::temp_directory_path() /
                ("dovarin-" + tag + "-" + info->test_suite_name() + "-" + info->name() + "-" +
                 std::to_string(CurrentProcessId()));
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace dovarin::test_files
