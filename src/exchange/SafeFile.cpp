#include "exchange/SafeFile.h"

#include <atomic>
#include <string>
#include <system_error>

#include "exchange/NativeFile.h"

namespace dovarin {
namespace {

namespace fs = std::filesystem;

// Names taken by leftovers of earlier runs with the same process id are skipped, this many.
constexpr unsigned kTemporaryAttempts = 100;

// A sibling of the target, so that the rename stays on one file system: "kelm.dat.4711-0.tmp".
fs::path TemporaryPathFor(const fs::path& path, unsigned serial) {
    fs::path temp = path;
    temp += "." + std::to_string(CurrentProcessId()) + "-" + std::to_string(serial) + ".tmp";
    return temp;
}

// Creates this run's own temporary file; false when the folder takes no new file.
bool CreateTemporary(const fs::path& path, NativeFile& file, fs::path& temp) {
    static std::atomic<unsigned> serial{0};
    for (unsigned attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        temp = TemporaryPathFor(path, serial++);
        switch (file.CreateNew(temp)) {
            case NativeFile::Created::Yes:
                return true;
            case NativeFile::Created::NameTaken:
                continue;
            case NativeFile::Created::Failed:
                return false;
        }
    }
    return false;
}

bool WriteAndClose(NativeFile& file, std::string_view content) {
    const bool written = file.Write(content) && file.Flush();
    return file.Close() && written;
}

enum class Outcome { Replaced, Failed, NoTemporary };

Outcome ReplaceThroughTemporary(const fs::path& path, std::string_view content) {
    NativeFile file;
    fs::path temp;
    if (!CreateTemporary(path, file, temp)) return Outcome::NoTemporary;
    if (WriteAndClose(file, content) && RenameReplacing(temp, path)) {
        FlushFolderOf(path);
        return Outcome::Replaced;
    }
    std::error_code ec;
    fs::remove(temp, ec);
    return Outcome::Failed;
}

// The in-place fallback. The previous content, when it is to be kept, is read before the target
// is cut; a target that cannot be read is not touched.
bool RewriteInPlace(const fs::path& path, std::string_view content, IfRewriteFails ifFails) {
    NativeFile file;
    if (!file.OpenExisting(path)) return false;
    std::string previous;
    if (ifFails == IfRewriteFails::KeepPrevious && !file.ReadAll(previous)) return false;
    if (file.Truncate() && WriteAndClose(file, content)) return true;
    // Part of the new content may be there: once more from the start, with what is to stay.
    if (file.IsOpen() || file.OpenExisting(path)) {
        if (file.Truncate()) WriteAndClose(file, previous);
    }
    return false;
}

}  // namespace

std::FILE* OpenPlainFileForReading(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return nullptr;
#ifdef _WIN32
    return _wfopen(path.c_str(), L"rb");
#else
    return std::fopen(path.c_str(), "rb");
#endif
}

bool WriteFileReplacing(const fs::path& path, std::string_view content, IfRewriteFails ifFails) {
    switch (ReplaceThroughTemporary(path, content)) {
        case Outcome::Replaced:
            return true;
        case Outcome::Failed:
            return false;
        case Outcome::NoTemporary:
            return RewriteInPlace(path, content, ifFails);
    }
    return false;
}

}  // namespace dovarin
