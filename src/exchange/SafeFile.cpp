#include "exchange/SafeFile.h"

#include <cstdio>
#include <system_error>

namespace dovarin {
namespace {

namespace fs = std::filesystem;

// A sibling of the target, so that the rename stays on one file system.
fs::path TemporaryPathFor(const fs::path& path) {
    fs::path temp = path;
    temp += ".tmp";
    return temp;
}

bool WriteWhole(const fs::path& path, std::string_view content) {
#ifdef _WIN32
    std::FILE* file = _wfopen(path.c_str(), L"wb");
#else
    std::FILE* file = std::fopen(path.c_str(), "wb");
#endif
    if (!file) return false;
    bool ok = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    ok = std::fflush(file) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

}  // namespace

bool WriteFileReplacing(const fs::path& path, std::string_view content) {
    const fs::path temp = TemporaryPathFor(path);
    std::error_code ec;
    if (!WriteWhole(temp, content)) {
        fs::remove(temp, ec);
        return false;
    }
    fs::rename(temp, path, ec);
    std::error_code statusError;
    if (ec && fs::is_regular_file(path, statusError)) {
        // Some runtimes refuse to rename over an existing file: make room and try once more.
        // Never for a folder in the target's place, which must not be emptied and removed.
        std::error_code removeError;
        fs::remove(path, removeError);
        fs::rename(temp, path, ec);
    }
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

}  // namespace dovarin
