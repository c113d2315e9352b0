// One dovarin-batch run on an already checked command line, and the exit statuses it ends with.
#pragma once

#include "app/batch/CommandLine.h"

namespace dovarin {

constexpr int kExitDone = 0;
constexpr int kExitStopped = 2;
constexpr int kExitRefused = 3;
constexpr int kExitUsage = 64;      // EX_USAGE
constexpr int kExitAborted = 70;    // EX_SOFTWARE
constexpr int kExitCantWrite = 74;  // EX_IOERR

// Shows the form on options.Dir, makes the changes, presses OK (or Cancel) and returns the exit
// status. Whatever fails (memory included), the host never finds its own input in the answer's
// place: a run that breaks off (kExitAborted) leaves "hq" there, or no file when even that
// cannot be written; only a failure before the folder itself is known leaves it untouched.
int RunBatch(const BatchOptions& options) noexcept;

}  // namespace dovarin
