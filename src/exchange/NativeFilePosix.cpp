// NativeFile on POSIX file descriptors. Every call is retried when a signal interrupts it.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "exchange/NativeFile.h"

namespace dovarin {

namespace fs = std::filesystem;

NativeFile::Created NativeFile::CreateNew(const fs::path& path) {
    Close();
    do {
        fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ >= 0) return Created::Yes;
    return errno == EEXIST ? Created::NameTaken : Created::Failed;
}

bool NativeFile::OpenExisting(const fs::path& path) {
    Close();
    // O_NONBLOCK: opening a pipe must not wait for a writer; a plain file ignores the flag.
    do {
        fd_ = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) return false;
    struct stat status;
    if (::fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode)) {
        Close();
        return false;
    }
    return true;
}

bool NativeFile::IsOpen() const {
    return fd_ >= 0;
}

bool NativeFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool NativeFile::ReadAll(std::string& bytes) {
    bytes.clear();
    if (::lseek(fd_, 0, SEEK_SET) != 0) return false;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

bool NativeFile::Truncate() {
    int result;
    do {
        result = ::ftruncate(fd_, 0);
    } while (result != 0 && errno == EINTR);
    return result == 0 && ::lseek(fd_, 0, SEEK_SET) == 0;
}

bool NativeFile::Flush() {
    int result;
    do {
        result = ::fsync(fd_);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

bool NativeFile::Close() {
    if (fd_ < 0) return true;
    // Linux releases the descriptor even when close reports EINTR: never close it twice.
    const bool ok = ::close(fd_) == 0;
    fd_ = -1;
    return ok;
}

bool RenameReplacing(const fs::path& from, const fs::path& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

void FlushFolderOf(const fs::path& path) {
    // Runs after the rename: the file is in place whatever happens here, so nothing may throw.
    try {
        const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return;
        ::fsync(fd);
        ::close(fd);
    } catch (...) {
    }
}

unsigned long CurrentProcessId() {
    return static_cast<unsigned long>(::getpid());
}

}  // namespace dovarin
