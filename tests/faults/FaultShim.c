// A preloaded library that makes one file step of dovarin-batch fail, so that a test can walk
// through every step of a run. Only files in one folder count; the program is not changed.
//
//   DOVARIN_FAULT_DIR=/path/run   the folder whose files count (the folder itself included)
//   DOVARIN_FAULT_AT=N            step N (from 1) fails; 0 or unset: none fails
//   DOVARIN_FAULT_LOG=/path/log   every step is appended there: "N kind path"
//   DOVARIN_FAULT_READ_ONLY=1     the folder is read-only, its files writable: creating,
//                                 renaming or removing a file there fails (EACCES) without
//                                 being a step
//
// Steps and how they fail: open / fopen (EACCES), read (EIO), fread (cut short: half of the
// piece arrives, then an error and nothing more), write (ENOSPC, nothing written), fsync (EIO),
// ftruncate (EIO), close (EIO, the descriptor is closed all the same), rename (EIO, nothing
// renamed), unlink / remove (EIO). Every write puts at most kWriteStep bytes, so that a file is
// written in many steps and a failure can strike in the middle of it.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

enum { kMaxFds = 4096, kMaxStreams = 64, kWriteStep = 64 };

static char* gPaths[kMaxFds];  // the path of each descriptor that counts
static FILE* gStreams[kMaxStreams];
static char* gStreamPaths[kMaxStreams];
static char gBroken[kMaxStreams];
static long gStep;

// The C library's own function of that name.
#define REAL(name) (__extension__(__typeof__(&name)) dlsym(RTLD_NEXT, #name))

static const char* Env(const char* name) {
    const char* value = getenv(name);
    return value && *value ? value : NULL;
}

static int Counts(const char* path) {
    const char* dir = Env("DOVARIN_FAULT_DIR");
    if (!dir || !path) return 0;
    const size_t n = strlen(dir);
    return strncmp(path, dir, n) == 0 && (path[n] == '\0' || path[n] == '/');
}

static void Log(const char* kind, const char* path) {
    const char* log = Env("DOVARIN_FAULT_LOG");
    if (!log) return;
    char line[4200];
    const int n = snprintf(line, sizeof line, "%ld %s %s\n", gStep, kind, path ? path : "");
    const int fd = REAL(open)(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) return;
    if (REAL(write)(fd, line, n > 0 && n < (int)sizeof line ? (size_t)n : 0) < 0) {
    }
    REAL(close)(fd);
}

// Counts one step; true when it is the one to fail.
static int Fails(const char* kind, const char* path) {
    ++gStep;
    Log(kind, path);
    const char* at = Env("DOVARIN_FAULT_AT");
    return at && atol(at) == gStep;
}

static int ReadOnly(void) {
    return Env("DOVARIN_FAULT_READ_ONLY") != NULL;
}

static const char* PathOf(int fd) {
    return fd >= 0 && fd < kMaxFds ? gPaths[fd] : NULL;
}

static void Track(int fd, const char* path) {
    if (fd < 0 || fd >= kMaxFds) return;
    free(gPaths[fd]);
    gPaths[fd] = strdup(path);
}

static void Untrack(int fd) {
    if (fd < 0 || fd >= kMaxFds) return;
    free(gPaths[fd]);
    gPaths[fd] = NULL;
}

static int StreamSlot(FILE* stream) {
    for (int i = 0; i < kMaxStreams; ++i)
        if (gStreams[i] == stream) return i;
    return -1;
}

static int OpenCounted(int dirfd, const char* path, int flags, mode_t mode) {
    if (!Counts(path)) return REAL(openat)(dirfd, path, flags, mode);
    if ((flags & O_CREAT) && ReadOnly() && faccessat(dirfd, path, F_OK, AT_SYMLINK_NOFOLLOW) != 0) {
        errno = EACCES;
        return -1;
    }
    if (Fails("open", path)) {
        errno = EACCES;
        return -1;
    }
    const int fd = REAL(openat)(dirfd, path, flags, mode);
    if (fd >= 0) Track(fd, path);
    return fd;
}

static mode_t ModeArgument(int flags, va_list args) {
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(args, mode_t) : 0;
}

int open(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = ModeArgument(flags, args);
    va_end(args);
    return OpenCounted(AT_FDCWD, path, flags, mode);
}

int open64(const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = ModeArgument(flags, args);
    va_end(args);
    return OpenCounted(AT_FDCWD, path, flags, mode);
}

int openat(int dirfd, const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode = ModeArgument(flags, args);
    va_end(args);
    return OpenCounted(dirfd, path, flags, mode);
}

static FILE* FopenCounted(const char* path, const char* how) {
    const int creates = how[0] == 'w' || how[0] == 'a';
    if (Counts(path) && creates && ReadOnly() && access(path, F_OK) != 0) {
        errno = EACCES;
        return NULL;
    }
    if (Counts(path) && Fails("fopen", path)) {
        errno = EACCES;
        return NULL;
    }
    FILE* stream = REAL(fopen)(path, how);
    if (stream && Counts(path)) {
        const int slot = StreamSlot(NULL);
        if (slot >= 0) {
            gStreams[slot] = stream;
            gStreamPaths[slot] = strdup(path);
        }
    }
    return stream;
}

FILE* fopen(const char* path, const char* how) {
    return FopenCounted(path, how);
}

FILE* fopen64(const char* path, const char* how) {
    return FopenCounted(path, how);
}

size_t fread(void* buffer, size_t size, size_t count, FILE* stream) {
    const int slot = StreamSlot(stream);
    if (slot >= 0 && gBroken[slot]) return 0;
    const size_t got = REAL(fread)(buffer, size, count, stream);
    if (slot < 0 || !Fails("fread", gStreamPaths[slot])) return got;
    // The device fails for good: half of this piece arrives, then nothing more.
    gBroken[slot] = 1;
    stream->_flags |= _IO_ERR_SEEN;  // what a read error sets
    return got / 2;
}

int fclose(FILE* stream) {
    const int slot = StreamSlot(stream);
    if (slot >= 0) {
        gStreams[slot] = NULL;
        gBroken[slot] = 0;
        free(gStreamPaths[slot]);
        gStreamPaths[slot] = NULL;
    }
    return REAL(fclose)(stream);
}

ssize_t read(int fd, void* buffer, size_t count) {
    if (PathOf(fd) && Fails("read", PathOf(fd))) {
        errno = EIO;
        return -1;
    }
    return REAL(read)(fd, buffer, count);
}

ssize_t write(int fd, const void* buffer, size_t count) {
    if (!PathOf(fd)) return REAL(write)(fd, buffer, count);
    if (Fails("write", PathOf(fd))) {
        errno = ENOSPC;
        return -1;
    }
    return REAL(write)(fd, buffer, count < kWriteStep ? count : kWriteStep);
}

int fsync(int fd) {
    if (PathOf(fd) && Fails("fsync", PathOf(fd))) {
        errno = EIO;
        return -1;
    }
    return REAL(fsync)(fd);
}

int fdatasync(int fd) {
    if (PathOf(fd) && Fails("fdatasync", PathOf(fd))) {
        errno = EIO;
        return -1;
    }
    return REAL(fdatasync)(fd);
}

int ftruncate(int fd, off_t length) {
    if (PathOf(fd) && Fails("ftruncate", PathOf(fd))) {
        errno = EIO;
        return -1;
    }
    return REAL(ftruncate)(fd, length);
}

int ftruncate64(int fd, off_t length) {
    return ftruncate(fd, length);
}

int close(int fd) {
    const int counted = PathOf(fd) != NULL;
    const int fails = counted && Fails("close", PathOf(fd));
    Untrack(fd);
    const int result = REAL(close)(fd);
    if (!fails) return result;
    errno = EIO;
    return -1;
}

// A read-only folder refuses a change of its entries.
static int RefusedByFolder(const char* path) {
    if (!Counts(path) || !ReadOnly()) return 0;
    errno = EACCES;
    return 1;
}

int rename(const char* from, const char* to) {
    if (RefusedByFolder(from) || RefusedByFolder(to)) return -1;
    if ((Counts(from) || Counts(to)) && Fails("rename", from)) {
        errno = EIO;
        return -1;
    }
    return REAL(rename)(from, to);
}

static int RemoveCounted(const char* kind, const char* path, int (*real)(const char*)) {
    if (RefusedByFolder(path)) return -1;
    if (Counts(path) && Fails(kind, path)) {
        errno = EIO;
        return -1;
    }
    return real(path);
}

int unlink(const char* path) {
    return RemoveCounted("unlink", path, REAL(unlink));
}

int remove(const char* path) {
    return RemoveCounted("remove", path, REAL(remove));
}
