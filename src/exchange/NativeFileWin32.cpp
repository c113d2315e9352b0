// NativeFile on Win32 file handles, by wide names so that a folder with a Japanese name works.
// Only the kernel's file calls are needed, not the window system of <windows.h>.
// winbase.h builds on the types of windef.h.
// clang-format off
#include <windef.h>
#include <winbase.h>
// clang-format on

#include "exchange/NativeFile.h"

namespace dovarin {

namespace fs = std::filesystem;

namespace {

HANDLE AsHandle(void* handle) {
    return handle ? static_cast<HANDLE>(handle) : INVALID_HANDLE_VALUE;
}

// The largest piece one WriteFile or ReadFile call takes.
constexpr DWORD kMaxChunk = 1u << 30;

}  // namespace

NativeFile::Created NativeFile::CreateNew(const fs::path& path) {
    Close();
    const HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        handle_ = h;
        return Created::Yes;
    }
    const DWORD error = GetLastError();
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? Created::NameTaken
                                                                       : Created::Failed;
}

bool NativeFile::OpenExisting(const fs::path& path) {
    Close();
    // The reparse point itself is opened, so that a link can be recognised and left alone.
    const HANDLE h =
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    handle_ = h;
    BY_HANDLE_FILE_INFORMATION info;
    const bool plain =
        GetFileType(h) == FILE_TYPE_DISK && GetFileInformationByHandle(h, &info) &&
        !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
    if (!plain) Close();
    return plain;
}

bool NativeFile::IsOpen() const {
    return handle_ != nullptr;
}

bool NativeFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD size = bytes.size() < kMaxChunk ? static_cast<DWORD>(bytes.size()) : kMaxChunk;
        DWORD written = 0;
        if (!WriteFile(AsHandle(handle_), bytes.data(), size, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

bool NativeFile::ReadAll(std::string& bytes) {
    bytes.clear();
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(AsHandle(handle_), start, nullptr, FILE_BEGIN)) return false;
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(AsHandle(handle_), buffer, sizeof buffer, &got, nullptr)) return false;
        if (got == 0) return true;
        bytes.append(buffer, got);
    }
}

bool NativeFile::Truncate() {
    LARGE_INTEGER start{};
    return SetFilePointerEx(AsHandle(handle_), start, nullptr, FILE_BEGIN) &&
           SetEndOfFile(AsHandle(handle_));
}

bool NativeFile::Flush() {
    return FlushFileBuffers(AsHandle(handle_));
}

bool NativeFile::Close() {
    if (!handle_) return true;
    const bool ok = CloseHandle(AsHandle(handle_));
    handle_ = nullptr;
    return ok;
}

bool RenameReplacing(const fs::path& from, const fs::path& to) {
    // Write-through: the call returns only when the rename is on the disk.
    return MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

void FlushFolderOf(const fs::path&) {
    // MOVEFILE_WRITE_THROUGH has made the rename durable already.
}

unsigned long CurrentProcessId() {
    return GetCurrentProcessId();
}

}  // namespace dovarin
