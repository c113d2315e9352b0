#include "app/win32/WideText.h"

#include <windows.h>

#include <climits>

namespace dovarin::win32 {
namespace {

constexpr UINT kCodePage = 932;

}  // namespace

std::wstring WideFromCp932(std::string_view cp932) {
    if (cp932.empty() || cp932.size() > INT_MAX) return {};
    const int length = static_cast<int>(cp932.size());
    const int needed = MultiByteToWideChar(kCodePage, 0, cp932.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(kCodePage, 0, cp932.data(), length, wide.data(), needed);
    return wide;
}

std::optional<std::string> Cp932FromWide(std::wstring_view wide) {
    if (wide.empty()) return std::string();
    if (wide.size() > INT_MAX) return std::nullopt;
    const int length = static_cast<int>(wide.size());
    // Without best fit, "é" does not quietly become "e": every character either has its own
    // form in the code page or the conversion reports the default character it had to use.
    BOOL usedDefault = FALSE;
    const int needed = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), length,
                                           nullptr, 0, nullptr, &usedDefault);
    if (needed <= 0 || usedDefault) return std::nullopt;
    std::string cp932(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), length, cp932.data(), needed,
                        nullptr, nullptr);
    return cp932;
}

}  // namespace dovarin::win32
