// Writing a file so that it is never left half-written: the content goes to a temporary file in
// the same folder, which is then renamed over the target.
#pragma once

#include <filesystem>
#include <string_view>

namespace dovarin {

// Replaces the file at path with content. Whatever lies under the temporary name is removed first
// (a folder there makes the write fail). On failure the temporary file is removed and the target
// keeps what it held before; returns false.
bool WriteFileReplacing(const std::filesystem::path& path, std::string_view content);

}  // namespace dovarin
