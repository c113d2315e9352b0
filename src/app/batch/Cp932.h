// The batch tool's edge between the terminal (UTF-8) and the program's texts (code page 932).
#pragma once

#include <string>
#include <string_view>

namespace dovarin {

// False when the input is not valid UTF-8 or holds a character code page 932 lacks.
bool Utf8ToCp932(std::string_view utf8, std::string& cp932);
// Bytes that form no code-page-932 character become U+FFFD; never fails.
std::string Cp932ToUtf8(std::string_view cp932);

}  // namespace dovarin
