// Both conversions go through iconv(3); glibc's "CP932" is the Windows code page, with its NEC and
// IBM extensions, which is what the host and the Win32 shell use.
#include "app/batch/Cp932.h"

#include <iconv.h>

#include <cerrno>

#include "util/MyFunc.h"

namespace dovarin {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much of in as it can; returns errno of the stop (0 at the end of the input) and
    // leaves in at the first byte not converted.
    int Run(std::string_view& in, std::string& out) {
        char buffer[256];
        while (!in.empty()) {
            char* src = const_cast<char*>(in.data());
            size_t srcLeft = in.size();
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            const size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            const int error = rc == static_cast<size_t>(-1) ? errno : 0;
            out.append(buffer, static_cast<size_t>(dst - buffer));
            in.remove_prefix(in.size() - srcLeft);
            if (error != 0 && error != E2BIG) return error;
        }
        return 0;
    }

  private:
    iconv_t cd_;
};

}  // namespace

bool Utf8ToCp932(std::string_view utf8, std::string& cp932) {
    cp932.clear();
    Converter converter("CP932", "UTF-8");
    return converter.ok() && converter.Run(utf8, cp932) == 0;
}

std::string Cp932ToUtf8(std::string_view cp932) {
    std::string utf8;
    Converter converter("UTF-8", "CP932");
    if (!converter.ok()) return std::string(cp932);
    while (converter.Run(cp932, utf8) != 0 && !cp932.empty()) {
        // Skip the bad character whole: a lead byte takes its second byte with it.
        cp932.remove_prefix(CharSize(cp932, 0));
        utf8 += kReplacement;
    }
    return utf8;
}

}  // namespace dovarin
