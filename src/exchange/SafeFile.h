// The program's two files, JWC_TEMP.TXT and kelm.dat: opening them for reading, and writing them
// so that they are never left half-written.
//
// A write goes to a temporary file of its own run beside the target (the target's name, the
// process id and a counter, created only if the name is free), is flushed to the disk and renamed
// over the target in one step; on POSIX the folder is flushed after the rename. Only a failed
// run's own temporary file is ever removed: another run writing to the same folder at the same
// time keeps its own. In a folder where files may be changed but not created, the target is
// rewritten in place instead.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>

namespace dovarin {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
// Closed whatever way the reading ends; an open file would keep the answer from replacing it.
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// Opens a plain file for reading in binary mode, by its wide name on Windows. Anything else in
// its place (a folder, a pipe, a device) is not opened, so that a read can neither fail oddly
// nor block: nullptr, as for a missing file.
std::FILE* OpenPlainFileForReading(const std::filesystem::path& path);

// What a failed rewrite in place leaves in the target. Either way it never holds part of the new
// content.
enum class IfRewriteFails {
    LeaveEmpty,    // the target is cut to nothing
    KeepPrevious,  // the target's previous content is written back
};

// Replaces the file at path with content; true when the new content is in place and flushed.
// When the temporary file cannot be created, the target is rewritten in place if it is an
// existing plain file. On failure the target keeps its previous content, except after a failed
// rewrite in place, which leaves what `ifFails` says.
bool WriteFileReplacing(const std::filesystem::path& path, std::string_view content,
                        IfRewriteFails ifFails = IfRewriteFails::LeaveEmpty);

}  // namespace dovarin
