// dovarin-batch: one program run without a window. DIR stands for the executable's folder; the
// headless window stands where the settings file puts it and the --set changes are typed into it
// before OK (or Cancel) is pressed once.
#include <iostream>

#include "app/batch/BatchRun.h"
#include "app/batch/CommandLine.h"

int main(int argc, char** argv) {
    dovarin::BatchOptions options;
    std::string error;
    try {
        if (!dovarin::ParseCommandLine(argc, argv, options, error)) {
            std::cerr << "dovarin-batch: " << error << '\n';
            return dovarin::kExitUsage;
        }
    } catch (...) {
        // No memory to read the command line: DIR is not known, and nothing was touched.
        std::cerr << "dovarin-batch: run aborted: out of memory\n";
        return dovarin::kExitAborted;
    }
    if (options.Help) {
        std::cout << dovarin::kUsageText;
        return 0;
    }
    return dovarin::RunBatch(options);
}
