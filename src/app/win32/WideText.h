// The one place where the program's texts, code page 932 bytes, meet Windows' UTF-16. The code
// page is named rather than taken from the system, so the dialog shows and keeps the same bytes
// whatever code page the user's Windows runs with.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dovarin::win32 {

// Bytes that form no character of the code page show as the code page's default character.
std::wstring WideFromCp932(std::string_view cp932);

// Nothing when the text holds a character that code page 932 has no form for: it would
// otherwise be stored as "?" or as a look-alike.
std::optional<std::string> Cp932FromWide(std::wstring_view wide);

}  // namespace dovarin::win32
