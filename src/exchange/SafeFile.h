// The program's two files, JWC_TEMP.TXT and kelm.dat: opening them for reading, and writing them
// so that they are never left half-written (the content goes to a temporary file in the same
// folder, which is then renamed over the target).
#pragma once

#include <cstdio>
#include <filesystem>
#include <string_view>

namespace dovarin {

// Opens a plain file for reading in binary mode, by its wide name on Windows. Anything else in
// its place (a folder, a pipe, a device) is not opened, so that a read can neither fail oddly
// nor block: nullptr, as for a missing file.
std::FILE* OpenPlainFileForReading(const std::filesystem::path& path);

// Replaces the file at path with content. Whatever lies under the temporary name is removed first
// (a folder there makes the write fail). On failure the temporary file is removed and the target
// keeps what it held before; returns false.
bool WriteFileReplacing(const std::filesystem::path& path, std::string_view content);

}  // namespace dovarin
