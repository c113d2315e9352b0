#include "app/win32/DialogFont.h"

namespace dovarin::win32 {
namespace {

// The dialog's face, as every Japanese Windows has it; then, where it is missing, faces that
// look like it: its English name, and the Japanese fixed-pitch faces of Linux.
constexpr const wchar_t* kFontFaces[] = {L"ＭＳ ゴシック", L"MS Gothic", L"IPAGothic",
                                         L"Noto Sans Mono CJK JP"};

BOOL CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;  // one is enough
}

bool IsInstalled(HDC dc, const wchar_t* face) {
    LOGFONTW wanted = {};
    wanted.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExW(dc, &wanted, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

const wchar_t* FindFormFontFace() {
    // None installed (or no screen to ask): the system's own stand-in for the first.
    const wchar_t* face = kFontFaces[0];
    HDC screen = GetDC(nullptr);
    if (!screen) return face;
    for (const wchar_t* candidate : kFontFaces) {
        if (IsInstalled(screen, candidate)) {
            face = candidate;
            break;
        }
    }
    ReleaseDC(nullptr, screen);
    return face;
}

}  // namespace

const wchar_t* FormFontFace() {
    static const wchar_t* const face = FindFormFontFace();
    return face;
}

HFONT CreateFormFont(int pixels) {
    return CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       FIXED_PITCH | FF_MODERN, FormFontFace());
}

}  // namespace dovarin::win32
