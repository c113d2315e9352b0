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

// Makes room for the temporary file. Whatever a crash or someone else left under its name goes
// first: a link would lead the write out of the folder, a pipe would block it for ever. A folder
// there is not ours to remove.
bool ClearTemporary(const fs::path& temp) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(temp, ec);
    if (status.type() == fs::file_type::not_found) return true;
    if (ec || fs::is_directory(status)) return false;
    return fs::remove(temp, ec) && !ec;
}

// Windows takes the wide name, so that a folder with a Japanese name works.
std::FILE* OpenFile(const fs::path& path, bool forWriting) {
#ifdef _WIN32
    return _wfopen(path.c_str(), forWriting ? L"wb" : L"rb");
#else
    return std::fopen(path.c_str(), forWriting ? "wb" : "rb");
#endif
}

bool WriteWhole(const fs::path& path, std::string_view content) {
    std::FILE* file = OpenFile(path, true);
    if (!file) return false;
    bool ok = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    ok = std::fflush(file) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

}  // namespace

std::FILE* OpenPlainFileForReading(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return nullptr;
    return OpenFile(path, false);
}

bool WriteFileReplacing(const fs::path& path, std::string_view content) {
    const fs::path temp = TemporaryPathFor(path);
    if (!ClearTemporary(temp)) return false;
    // The rename replaces an existing file in one step on every system we build for (POSIX
    // rename, MoveFileEx with replacing on Windows); removing the target first would only open a
    // window in which its previous content is lost.
    std::error_code ec;
    if (WriteWhole(temp, content)) {
        fs::rename(temp, path, ec);
        if (!ec) return true;
    }
    fs::remove(temp, ec);
    return false;
}

}  // namespace dovarin
