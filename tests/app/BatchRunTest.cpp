// dovarin-batch's promise about its answer, whatever allocation fails.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>

#include "AllocationFailure.h"
#include "TestFiles.h"
#include "app/batch/BatchRun.h"

namespace dovarin {
namespace {

namespace fs = std::filesystem;
using test_files::ReadBytes;

// An allocation that failed before the form was shown left the host's input as the answer, and a
// picture that failed after a completed run reported a run broken off (70) over a finished
// answer. Every allocation of an OK run with a picture fails once in turn: the answer is the whole
// answer, "hq" or gone, never the input; the status says which; kelm.dat is the old or the whole
// new file; and nothing else is left in the folder.
TEST(RunBatch, AnyFailedAllocationLeavesAWholeAnswerOrHqNeverTheInput) {
    const fs::path example = fs::path(DOVARIN_SOURCE_DIR) / "tests/scenarios/ok-worked-example";
    test_files::ScratchFolder scratch("batch");
    BatchOptions options;
    options.Dir = scratch.Path() / "run";
    options.SvgFile = scratch.Path() / "run.svg";
    const std::string oldSettings = ReadBytes(example / "kelm.dat");
    const auto start = [&] {
        fs::remove_all(options.Dir);
        fs::create_directory(options.Dir);
        fs::copy(example / "JWC_TEMP.TXT", options.Dir);
        fs::copy(example / "kelm.dat", options.Dir);
    };
    std::ostringstream quiet;
    std::streambuf* const stderrBuffer = std::cerr.rdbuf(quiet.rdbuf());

    start();
    test_alloc::FailAllocation(0);
    ASSERT_EQ(RunBatch(options), kExitDone);
    const std::size_t allocations = test_alloc::AllocationsCounted();
    const std::string answer = ReadBytes(options.Dir / "JWC_TEMP.TXT");
    const std::string newSettings = ReadBytes(options.Dir / "kelm.dat");
    ASSERT_EQ(answer.substr(0, 4), "hd\r\n");

    for (std::size_t n = 1; n <= allocations; ++n) {
        start();
        test_alloc::FailAllocation(n);
        const int status = RunBatch(options);
        test_alloc::FailAllocation(0);
        const fs::path answerFile = options.Dir / "JWC_TEMP.TXT";
        const bool present = fs::exists(answerFile);
        const std::string now = present ? ReadBytes(answerFile) : "";
        const bool hqOrGone = !present || now == "hq\r\n";
        EXPECT_TRUE(hqOrGone || now == answer) << "allocation " << n;
        switch (status) {
            case kExitDone:
                EXPECT_EQ(now, answer) << "allocation " << n;
                break;
            case kExitStopped:  // settings that could not be loaded: the form's defaults
            case kExitRefused:
                EXPECT_EQ(now, "hq\r\n") << "allocation " << n;
                break;
            case kExitAborted:
                EXPECT_TRUE(hqOrGone) << "allocation " << n;
                break;
            case kExitCantWrite:  // the answer, or only the picture
                break;
            default:
                ADD_FAILURE() << "allocation " << n << " status " << status;
        }
        const std::string settings = ReadBytes(options.Dir / "kelm.dat");
        EXPECT_TRUE(settings == oldSettings || settings == newSettings) << "allocation " << n;
        for (const fs::directory_entry& entry : fs::directory_iterator(options.Dir)) {
            const fs::path name = entry.path().filename();
            EXPECT_TRUE(name == "JWC_TEMP.TXT" || name == "kelm.dat") << name << " " << n;
        }
        if (HasFailure()) break;
    }
    std::cerr.rdbuf(stderrBuffer);
}

}  // namespace
}  // namespace dovarin
