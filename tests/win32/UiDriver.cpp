// The UI test of Dovarin.exe: runs the real program as the host does and drives it by keyboard,
// as a user would, under Wine or Windows. Every wait is for a condition, with a bound.
//
//   dovarin_ui_driver run ROOT DOVARIN_EXE SCENARIOS
//       ROOT is an empty work folder; SCENARIOS is tests/scenarios, whose folders give the input
//       files. For each scenario the driver makes
//           ROOT\寸法 追加テスト\NAME\   Dovarin.exe with the input files: where the program runs
//                                        (started with ROOT as its current folder, not this one)
//           ROOT\batch\NAME\             the same input for dovarin-batch, with "args": the
//                                        batch arguments that do what the keyboard did here
//       and checks what it sees on the screen. The script around it runs dovarin-batch on
//       ROOT\batch\NAME and compares both files byte for byte with the program's. The last line
//       printed is "ui: pass" or "ui: FAIL".
//   dovarin_ui_driver scaled ROOT DOVARIN_EXE SCENARIOS
//       The same at a display scale other than 100 % (a prefix of its own, without a replacement
//       for the dialog's font): the window, every box and the fonts scaled, every character the
//       dialog shows in its font, and the saved position in unscaled units.
//   dovarin_ui_driver hold|hold-scaled ROOT DOVARIN_EXE EXAMPLE
//       Runs the bundled example's input (the folder EXAMPLE) and keeps the dialog open until
//       ROOT\release exists (for a screenshot); prints the window's screen rectangle first.
//       hold-scaled: in the scaled prefix, without a stand-in for the dialog's font.
//       hold-preview: with the preview opened by F2; the rectangle then holds both windows.
//   dovarin_ui_driver time RUNS EXE CAPTION [EXE CAPTION]...
//       Starts each EXE in turn, RUNS times, and prints the medians of the milliseconds from the
//       start to its window CAPTION being shown and idle, and the first one's median against
//       each other's (bench/win32/show-time).
//   dovarin_ui_driver start EXE CAPTION SECONDS
//       Starts EXE once, waits at most SECONDS for its window CAPTION to be shown and idle and
//       prints "shown MS"; then closes it by WM_CLOSE and waits for it to end
//       (tests/win32/stress-start). A start that shows nothing in time is left running for the
//       script to look at; the driver then prints "FAIL: ..." and exits with 1.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "app/WindowPlacement.h"
#include "app/win32/FormLayout.h"
#include "app/win32/MainForm.h"
#include "app/win32/WinUtil.h"

namespace dovarin::ui {
namespace {

namespace fs = std::filesystem;
using win32::FormControl;
using win32::FormControls;
using win32::Widget;

constexpr DWORD kPatience = 15000;  // milliseconds any one condition may take
const wchar_t* const kRunFolder = L"寸法 追加テスト";
// The refusal for a picked line without the dimension attribute.
const wchar_t* const kNoAttributeMessage =
    L"指定した線分に寸法属性がありません（寸法補助線ではない可能性が高い）ので作図出来ません";

// A failed check ends its scenario.
struct Failure {
    std::string what;
};

std::string Utf8(std::wstring_view text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

void Check(bool ok, const std::string& what) {
    if (!ok) throw Failure{what};
}

bool WaitUntil(const std::function<bool()>& condition, DWORD patience = kPatience) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > patience) return false;
        Sleep(5);
    }
    return true;
}

// Asked of the window itself: across processes GetWindowText does not ask an edit.
std::wstring Text(HWND hwnd) {
    wchar_t buffer[4096] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer),
                        SMTO_ABORTIFHUNG, kPatience, &copied);
    return buffer;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Replaces line `line` (from 1) of a CR LF text file, adding empty lines up to it.
void ReplaceLine(const fs::path& path, int line, const std::string& bytes) {
    const std::string text = ReadFile(path);
    std::vector<std::string> lines;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = std::min(text.find("\r\n", pos), text.size());
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    if (lines.size() < static_cast<std::size_t>(line)) lines.resize(line);
    lines[line - 1] = bytes;
    std::string joined;
    for (const std::string& l : lines) joined += l + "\r\n";
    WriteFile(path, joined);
}

// A control's box in its parent's client pixels.
RECT BoxIn(HWND parent, HWND control) {
    RECT box = {};
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&box), 2);
    return box;
}

// ---- keyboard --------------------------------------------------------------------------------

void Send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT KeyInput(WORD vk, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// A key, with Alt or Ctrl held when given.
void Press(WORD vk, WORD modifier = 0) {
    std::vector<INPUT> inputs;
    if (modifier) inputs.push_back(KeyInput(modifier, false));
    inputs.push_back(KeyInput(vk, false));
    inputs.push_back(KeyInput(vk, true));
    if (modifier) inputs.push_back(KeyInput(modifier, true));
    Send(inputs);
}

// Characters as a keyboard or an input method delivers them, whatever the layout.
void Type(std::wstring_view text) {
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        for (bool up : {false, true}) {
            INPUT input = {};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = c;
            input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
            inputs.push_back(input);
        }
    }
    Send(inputs);
}

void SetClipboardText(const std::wstring& text) {
    Check(WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }), "clipboard busy");
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

// True when the screen shows the system icon at the icon control: its pixels there against
// the icon drawn here on the same background (icon handles do not cross processes).
bool ShowsSystemIcon(HWND iconControl, LPCWSTR icon) {
    RECT place = {};
    GetWindowRect(iconControl, &place);
    const int w = GetSystemMetrics(SM_CXICON), h = GetSystemMetrics(SM_CYICON);
    HDC screen = GetDC(nullptr);
    HDC shown = CreateCompatibleDC(screen), drawn = CreateCompatibleDC(screen);
    HBITMAP shownBits = CreateCompatibleBitmap(screen, w, h);
    HBITMAP drawnBits = CreateCompatibleBitmap(screen, w, h);
    const HGDIOBJ oldShown = SelectObject(shown, shownBits),
                  oldDrawn = SelectObject(drawn, drawnBits);
    BitBlt(shown, 0, 0, w, h, screen, place.left, place.top, SRCCOPY);
    // A corner of the icon is transparent: it shows the box's background.
    HBRUSH background = CreateSolidBrush(GetPixel(shown, 0, 0));
    const RECT all = {0, 0, w, h};
    FillRect(drawn, &all, background);
    DrawIconEx(drawn, 0, 0, LoadIconW(nullptr, icon), w, h, 0, nullptr, DI_NORMAL);
    bool same = true;
    for (int y = 0; y < h && same; ++y) {
        for (int x = 0; x < w && same; ++x) same = GetPixel(shown, x, y) == GetPixel(drawn, x, y);
    }
    DeleteObject(background);
    SelectObject(shown, oldShown);
    SelectObject(drawn, oldDrawn);
    DeleteObject(shownBits);
    DeleteObject(drawnBits);
    DeleteDC(shown);
    DeleteDC(drawn);
    ReleaseDC(nullptr, screen);
    return same;
}

// ---- the program -----------------------------------------------------------------------------

// Dovarin.exe running in its folder, with its form found.
class Program {
  public:
    Program(const fs::path& exe, const fs::path& currentFolder, const wchar_t* caption,
            DWORD patience = kPatience) {
        const auto start = std::chrono::steady_clock::now();
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
        Check(CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             currentFolder.c_str(), &startup, &process_),
              "cannot start " + Utf8(exe.wstring()));
        // A program that ends without a window would otherwise be waited for to the end.
        WaitUntil([&] { return (form_ = FindForm(caption)) != nullptr || Ended(); }, patience);
        if (!form_ && Ended()) {
            DWORD code = 0;
            GetExitCodeProcess(process_.hProcess, &code);
            throw Failure{"ended with exit code " + std::to_string(code) + " without a window " +
                          Utf8(caption)};
        }
        Check(form_ != nullptr, "no visible window " + Utf8(caption));
        WaitForInputIdle(process_.hProcess, patience);
        shown_ = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count();
        SetForegroundWindow(form_);
        Check(WaitUntil([&] { return GetForegroundWindow() == form_; }), "form not in front");
    }
    ~Program() {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 99);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    HWND Form() const { return form_; }
    HWND Control(int id) const { return GetDlgItem(form_, id); }
    HWND Focus() const {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(process_.dwThreadId, &info);
        return info.hwndFocus;
    }
    void WaitFocus(int id, const std::string& when) const {
        Check(WaitUntil([&] { return Focus() == Control(id); }),
              when + ": the focus is not on control " + std::to_string(id) + " but on " +
                  std::to_string(GetDlgCtrlID(Focus())));
    }
    void WaitText(int id, const std::wstring& expected, const std::string& when) const {
        Check(WaitUntil([&] { return Text(Control(id)) == expected; }),
              when + ": control " + std::to_string(id) + " shows \"" + Utf8(Text(Control(id))) +
                  "\", expected \"" + Utf8(expected) + "\"");
    }
    // The program must end by itself, normally.
    void WaitExit() const {
        Check(WaitForSingleObject(process_.hProcess, kPatience) == WAIT_OBJECT_0,
              "the program did not end");
        DWORD code = 1;
        GetExitCodeProcess(process_.hProcess, &code);
        Check(code == 0, "exit code " + std::to_string(code));
    }
    // From the start of the process to its window shown and waiting for input.
    double ShownAfterMilliseconds() const { return shown_; }
    // A window that the form owns, such as a message box, once it is shown.
    HWND WaitOwnedWindow() const {
        HWND owned = nullptr;
        WaitUntil([&] {
            while ((owned = FindWindowExW(nullptr, owned, nullptr, nullptr)) != nullptr) {
                if (GetWindow(owned, GW_OWNER) == form_ && IsWindowVisible(owned)) return true;
            }
            return false;
        });
        return owned;
    }

  private:
    bool Ended() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }
    HWND FindForm(const wchar_t* caption) const {
        HWND found = nullptr;
        while ((found = FindWindowExW(nullptr, found, nullptr, caption)) != nullptr) {
            DWORD pid = 0;
            GetWindowThreadProcessId(found, &pid);
            if (pid == process_.dwProcessId && IsWindowVisible(found)) return found;
        }
        return nullptr;
    }

    PROCESS_INFORMATION process_ = {};
    HWND form_ = nullptr;
    double shown_ = 0;
};

// ---- the preview -----------------------------------------------------------------------------

const wchar_t* const kPreviewTitle = L"Dovarin プレビュー";
// What the preview's text line says while Edit7 is invalid: its label.
const wchar_t* const kEdit7Label = L"長さ";

// The form's preview window, shown or not; null before it was first opened.
HWND PreviewOf(HWND form) {
    HWND found = nullptr;
    while ((found = FindWindowExW(nullptr, found, nullptr, kPreviewTitle)) != nullptr) {
        if (GetWindow(found, GW_OWNER) == form) return found;
    }
    return nullptr;
}

HWND WaitPreviewShown(HWND form) {
    HWND preview = nullptr;
    Check(WaitUntil([&] { return (preview = PreviewOf(form)) && IsWindowVisible(preview); }),
          "the preview did not open");
    return preview;
}

// The preview's text line: the one static control it holds.
HWND PreviewLine(HWND preview) {
    return FindWindowExW(preview, nullptr, L"Static", nullptr);
}

// The window's client area as the screen shows it, one 0x00RRGGBB value per pixel.
std::vector<DWORD> ClientPixels(HWND hwnd) {
    RECT client = {};
    GetClientRect(hwnd, &client);
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    const int w = client.right, h = client.bottom;
    if (w <= 0 || h <= 0) return {};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bits = CreateCompatibleBitmap(screen, w, h);
    const HGDIOBJ old = SelectObject(memory, bits);
    BitBlt(memory, 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(static_cast<std::size_t>(w) * h);
    GetDIBits(memory, bits, 0, h, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bits);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    for (DWORD& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

bool ShowsDrawing(const std::vector<DWORD>& pixels) {
    return std::any_of(pixels.begin(), pixels.end(), [](DWORD p) { return p != 0xFFFFFF; });
}

// ---- scenario folders ------------------------------------------------------------------------

struct Paths {
    fs::path root, exe, sources;
};

// One scenario's two folders: where the program runs and where dovarin-batch will.
struct Scenario {
    std::wstring name;
    fs::path ui, batch;
    std::vector<std::wstring> batchArgs;

    // Replaces line `line` (from 1) of both kelm.dat files.
    void SetSetting(int line, const std::string& cp932) const {
        for (const fs::path& dir : {ui, batch}) ReplaceLine(dir / L"kelm.dat", line, cp932);
    }
    void WriteBatchArgs() const {
        std::string text;
        for (const std::wstring& arg : batchArgs) text += Utf8(arg) + "\n";
        WriteFile(batch / "args", text);
    }
};

Scenario Prepare(const Paths& paths, const std::wstring& name, const std::wstring& source,
                 bool withSettings) {
    Scenario s{name, paths.root / kRunFolder / name, paths.root / L"batch" / name, {}};
    for (const fs::path& dir : {s.ui, s.batch}) {
        fs::create_directories(dir);
        fs::copy_file(paths.sources / source / L"JWC_TEMP.TXT", dir / L"JWC_TEMP.TXT");
        if (withSettings) fs::copy_file(paths.sources / source / L"kelm.dat", dir / L"kelm.dat");
    }
    fs::copy_file(paths.exe, s.ui / L"Dovarin.exe");
    return s;
}

Program Start(const Paths& paths, const Scenario& s) {
    // Another current folder than the program's: the host may start it from anywhere.
    return Program(s.ui / L"Dovarin.exe", paths.root, L"Dovarin");
}

// ---- scenarios -------------------------------------------------------------------------------

// Off by at most one pixel from the table's value at the screen's scale; exact at 100 %.
bool NearScaled(int got, int tableValue, int dpi) {
    const int slack = dpi == kLayoutDpi ? 0 : 1;
    return std::abs(got - ScaleForDpi(tableValue, dpi)) <= slack;
}

// The window: client size, position, fixed size, and the application title on the task bar.
void CheckWindow(const Program& program, int left, int top, int dpi) {
    HWND form = program.Form();
    RECT client = {}, frame = {};
    GetClientRect(form, &client);
    GetWindowRect(form, &frame);
    Check(NearScaled(client.right, win32::kClientWidth, dpi) &&
              NearScaled(client.bottom, win32::kClientHeight, dpi),
          "client area " + std::to_string(client.right) + " x " + std::to_string(client.bottom));
    Check(frame.left == left && frame.top == top, "window at " + std::to_string(frame.left) + ", " +
                                                      std::to_string(frame.top) +
                                                      ", not at the saved position");
    const LONG_PTR style = GetWindowLongPtrW(form, GWL_STYLE);
    Check((style & (WS_SYSMENU | WS_MINIMIZEBOX)) == (WS_SYSMENU | WS_MINIMIZEBOX) &&
              !(style & (WS_MAXIMIZEBOX | WS_THICKFRAME)),
          "the window may be resized or maximised");
    HWND owner = GetWindow(form, GW_OWNER);
    Check(owner && Text(owner) == L"sorv_Dovarin" && IsWindowVisible(owner) &&
              !(GetWindowLongPtrW(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW),
          "the task bar does not show the application title sorv_Dovarin");
}

// Every control of the layout table at its box at the screen's scale (a label at its corner),
// with its text.
void CheckControls(HWND form, int dpi) {
    for (const FormControl& row : FormControls()) {
        HWND control = GetDlgItem(form, row.id);
        Check(control != nullptr, "no control " + std::to_string(row.id));
        RECT box = BoxIn(form, control);
        const bool sized = row.width != 0;
        Check(NearScaled(box.left, row.left, dpi) && NearScaled(box.top, row.top, dpi) &&
                  (!sized || (NearScaled(box.right - box.left, row.width, dpi) &&
                              NearScaled(box.bottom - box.top, row.height, dpi))),
              "control " + std::to_string(row.id) + " stands at " + std::to_string(box.left) +
                  ", " + std::to_string(box.top) + " sized " +
                  std::to_string(box.right - box.left) + " x " +
                  std::to_string(box.bottom - box.top));
        if (row.text) {
            Check(Text(control) == row.text, "control " + std::to_string(row.id) + " text");
        }
    }
}

// What a screen reader says for each input: the window just before it, a label naming it, or
// for a radio group, before its first button, the group box with the group's caption. (A check
// box names itself.)
void CheckLabelsNameInputs(const Program& program) {
    for (const ControlInfo& info : ControlTable()) {
        if (info.kind == ControlKind::CheckBox) continue;
        const std::vector<int> radios = win32::RadioButtonIds(info.id);
        HWND input = program.Control(radios.empty() ? win32::WinIdOf(info.id) : radios.front());
        HWND before = GetWindow(input, GW_HWNDPREV);
        const FormControl* row = win32::FindFormControl(GetDlgCtrlID(before));
        const bool names = row && row->control == info.id &&
                           (win32::IsLabel(row->widget) || row->widget == Widget::GroupBox);
        Check(names && !Text(before).empty() && Text(before) == row->text,
              std::string(info.name) + " is not named by the window before it");
    }
}

// The font the labels got has a glyph for every character the dialog shows: made here as the
// program makes it, it measures each label to the size the label has.
void CheckFontAndGlyphs(HWND form, int dpi) {
    HDC dc = GetDC(nullptr);
    const win32::Font font(win32::CreateFormFont(ScaleForDpi(win32::kFontHeight, dpi)));
    const HGDIOBJ old = SelectObject(dc, font.Get());
    std::string problem;
    for (const FormControl& row : FormControls()) {
        const std::wstring text = row.text ? row.text : L"";
        SIZE size = {};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        const RECT box = BoxIn(form, GetDlgItem(form, row.id));
        if (row.widget == Widget::Label &&
            (box.right - box.left != size.cx || box.bottom - box.top != size.cy)) {
            problem = "label " + std::to_string(row.id) + " is not in the dialog's font";
        }
        std::vector<WORD> glyphs(text.size());
        GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS);
        for (std::size_t i = 0; i < text.size() && problem.empty(); ++i) {
            if (glyphs[i] == 0xFFFF && text[i] >= 0x20) {
                problem = "no glyph for \"" + Utf8(text.substr(i, 1)) + "\" in " +
                          Utf8(win32::FormFontFace());
            }
        }
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    Check(problem.empty(), problem);
}

// Tab through the form: the table's input controls (a radio group at its checked button, the
// second of RadioGroup2 here), OK, Cancel, and round again.
void CheckTabOrder(const Program& program) {
    std::vector<int> order;
    for (const ControlInfo& info : ControlTable()) {
        const std::vector<int> radios = win32::RadioButtonIds(info.id);
        order.push_back(radios.empty() ? win32::WinIdOf(info.id)
                                       : radios[info.id == ControlId::RadioGroup2 ? 1 : 0]);
    }
    order.push_back(win32::kButton1Id);
    order.push_back(win32::kButton2Id);
    order.push_back(order.front());
    program.WaitFocus(order.front(), "at the start");
    for (std::size_t i = 1; i < order.size(); ++i) {
        Press(VK_TAB);
        program.WaitFocus(order[i], "after Tab " + std::to_string(i));
    }
}

// The minimise box takes the application's window (the task bar button) down, and the form
// with it; restoring that window brings the form back in front.
void CheckMinimiseAndRestore(const Program& program) {
    HWND form = program.Form();
    HWND owner = GetWindow(form, GW_OWNER);
    PostMessageW(form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Check(WaitUntil([&] { return IsIconic(owner) && !IsWindowVisible(form); }),
          "minimising did not take the application down with the form");
    PostMessageW(owner, WM_SYSCOMMAND, SC_RESTORE, 0);
    Check(WaitUntil([&] {
              return !IsIconic(owner) && IsWindowVisible(form) && GetForegroundWindow() == form;
          }),
          "restoring the application did not bring the form back in front");
}

// The window and every control against the layout table, the tab order through the real
// keyboard, minimising, then the close box: the answer is "hq" and kelm.dat stays.
void LayoutTabOrderAndCloseBox(const Paths& paths) {
    Scenario s = Prepare(paths, L"layout-close-box", L"ok-worked-example", true);
    s.SetSetting(1, "120");
    s.SetSetting(2, "80");
    s.SetSetting(18, "1");  // RadioGroup2 on its second button: Tab must enter there
    Program program = Start(paths, s);
    CheckWindow(program, 120, 80, kLayoutDpi);
    CheckControls(program.Form(), kLayoutDpi);
    CheckLabelsNameInputs(program);
    program.WaitText(win32::kLabelA1Id, L"　", "at the start");
    CheckTabOrder(program);
    CheckMinimiseAndRestore(program);
    PostMessageW(program.Form(), WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
    program.WaitExit();
    s.batchArgs = {L"--cancel"};
    s.WriteBatchArgs();
}

// First run, no kelm.dat. Typed: a text type chosen in the list, a Japanese prefix with a
// character code page 932 lacks (refused), a pasted suffix longer than the edit takes (cut at
// 32 bytes); Enter in the edit presses OK.
void TypedValuesAndOkByEnter(const Paths& paths) {
    Scenario s = Prepare(paths, L"typed-ok-by-enter", L"ok-worked-example", false);
    const std::wstring pasted = L"ｍｍ（参考寸法）の値はここまでで、残りは入らない";
    Program program = Start(paths, s);

    const int combo3 = win32::WinIdOf(ControlId::ComboBox3);
    const int edit2 = win32::WinIdOf(ControlId::Edit2);
    const int edit3 = win32::WinIdOf(ControlId::Edit3);
    for (int i = 0; i < 5; ++i) Press(VK_TAB);
    program.WaitFocus(combo3, "five Tabs");
    Press(VK_HOME);  // the first item, from no selection
    Press(VK_DOWN);
    Press(VK_DOWN);
    Check(WaitUntil([&] { return SendMessageW(program.Control(combo3), CB_GETCURSEL, 0, 0) == 2; }),
          "ComboBox3 did not come to item 2");

    Press(VK_TAB);
    program.WaitFocus(edit2, "Tab to Edit2");
    Type(L"Ｌ＝");
    Type(L"é");           // no code page 932 form: refused, not "?" nor "e"
    Type(L"\U0001F600");  // neither: both halves refused
    Type(L"約");
    program.WaitText(edit2, L"Ｌ＝約", "typing into Edit2");

    Press(VK_TAB);
    program.WaitFocus(edit3, "Tab to Edit3");
    SetClipboardText(pasted);
    Press('V', VK_CONTROL);
    program.WaitText(edit3, pasted.substr(0, 16), "pasting 24 characters into Edit3");

    Press(VK_RETURN);
    program.WaitExit();
    s.batchArgs = {L"--set",        L"ComboBox3=2", L"--set",
                   L"Edit2=Ｌ＝約", L"--set",       L"Edit3=" + pasted};
    s.WriteBatchArgs();
}

// The refusal: caption 確認, the message, a question icon and one OK button.
void CheckConfirmationBox(HWND box, const wchar_t* message) {
    Check(Text(box) == L"確認", "message box caption " + Utf8(Text(box)));
    Check(Text(GetDlgItem(box, 0xFFFF)) == message, "message box text");
    int buttons = 0;
    bool questionIcon = false;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[32] = {};
        GetClassNameW(child, className, 32);
        const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
        if (lstrcmpiW(className, L"Button") == 0 && IsWindowVisible(child)) ++buttons;
        if ((style & SS_TYPEMASK) == SS_ICON) {
            // Once the box has painted it.
            questionIcon = WaitUntil([&] { return ShowsSystemIcon(child, IDI_QUESTION); }, 3000);
        }
    }
    Check(buttons == 1 && GetDlgItem(box, IDOK), "the message box has other buttons than OK");
    Check(questionIcon, "the message box shows no question icon");
}

// Enter in a drop-down list with Edit8 at 180: the focus goes to Edit8 and nothing is saved.
// Corrected, Alt+Y presses OK; the picked line has no dimension attribute, so the confirmation
// box refuses; the form stays until Escape. Loaded texts the user did not touch are saved with
// their bytes, however long.
void StopRefuseAndEscape(const Paths& paths) {
    Scenario s = Prepare(paths, L"stop-refuse-escape", L"refused-no-dimension-attribute", true);
    s.SetSetting(1, "150");
    s.SetSetting(2, "90");
    // Edit2: IBM's "Ⅰ" (0xFA4A), which UTF-16 brings back as NEC's (0x8754): left alone, it
    // must be saved as it was loaded.
    s.SetSetting(9, "\xfa\x4a");
    // Edit3: 39 bytes, more than may be typed (32): set by the program, it is not cut.
    s.SetSetting(10,
                 "\x81\x69\x8e\x51\x8d\x6c\x81\x6a"
                 "0123456789012345678901234567890");
    s.SetSetting(15, "180");  // Edit8
    Program program = Start(paths, s);
    const std::string settingsBefore = ReadFile(s.ui / L"kelm.dat");

    const int edit8 = win32::WinIdOf(ControlId::Edit8);
    program.WaitFocus(win32::WinIdOf(ControlId::ComboBox1), "at the start");
    Press(VK_RETURN);
    program.WaitFocus(edit8, "OK with Edit8 at 180");
    Check(ReadFile(s.ui / L"kelm.dat") == settingsBefore, "a stopped OK changed kelm.dat");

    Type(L"15");  // the focus selected the whole text
    program.WaitText(edit8, L"15", "correcting Edit8");
    Press('Y', VK_MENU);
    HWND box = program.WaitOwnedWindow();
    Check(box != nullptr, "no message box of the form's after OK");
    CheckConfirmationBox(box, kNoAttributeMessage);
    Press(VK_RETURN);
    Check(WaitUntil([&] { return !IsWindow(box); }), "the message box stays");
    Check(IsWindowVisible(program.Form()), "the form closed after a refusal");
    Check(ReadFile(s.ui / L"kelm.dat") != settingsBefore, "the refused OK did not save");

    SetForegroundWindow(program.Form());
    Press(VK_ESCAPE);
    program.WaitExit();
    s.batchArgs = {L"--set", L"Edit8=15"};
    s.WriteBatchArgs();
}

// A kelm.dat from a screen far away: the window opens with its title bar moved the least way
// onto the work area, and OK saves that position.
void OffScreenPositionMovesOnScreen(const Paths& paths) {
    Scenario s = Prepare(paths, L"off-screen-ok", L"ok-worked-example", true);
    s.SetSetting(1, "5000");
    s.SetSetting(2, "-3000");
    Program program = Start(paths, s);
    RECT work = {}, frame = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(program.Form(), &frame);
    const int left = work.right - (frame.right - frame.left);
    Check(frame.left == left && frame.top == work.top,
          "window at " + std::to_string(frame.left) + ", " + std::to_string(frame.top) +
              ", expected " + std::to_string(left) + ", " + std::to_string(work.top));

    Press(VK_TAB);
    Press(VK_TAB);
    program.WaitFocus(win32::WinIdOf(ControlId::Edit7), "two Tabs");
    Press(VK_RETURN);
    program.WaitExit();
    // dovarin-batch keeps the loaded position: give it the one the window took.
    ReplaceLine(s.batch / L"kelm.dat", 1, std::to_string(left));
    ReplaceLine(s.batch / L"kelm.dat", 2, std::to_string(work.top));
    s.WriteBatchArgs();
}

// Alt+N (Cancel's mnemonic) and Alt+F4 close as Cancel does.
void CancelKeys(const Paths& paths) {
    const struct {
        const wchar_t* name;
        WORD key;
    } ways[] = {{L"cancel-alt-n", 'N'}, {L"cancel-alt-f4", VK_F4}};
    for (const auto& way : ways) {
        Scenario s = Prepare(paths, way.name, L"cancel", true);
        Program program = Start(paths, s);
        Press(way.key, VK_MENU);
        program.WaitExit();
        s.batchArgs = {L"--cancel"};
        s.WriteBatchArgs();
    }
}

// At the screen's scale, in a prefix without a replacement for the dialog's font: the window,
// every box and the fonts scaled, every character in the font, and the position saved in
// unscaled units: opened at 120, 80 and confirmed unmoved, kelm.dat keeps 120, 80, as
// dovarin-batch's does.
void ScaledLayoutFontsAndPosition(const Paths& paths) {
    const int dpi = win32::SystemDpi();  // as the program sees the screen
    Check(dpi != kLayoutDpi, "the screen is not scaled");
    Scenario s = Prepare(paths, L"scaled-ok", L"ok-worked-example", true);
    s.SetSetting(1, "120");
    s.SetSetting(2, "80");
    Program program = Start(paths, s);
    CheckWindow(program, ScaleForDpi(120, dpi), ScaleForDpi(80, dpi), dpi);
    CheckControls(program.Form(), dpi);
    CheckFontAndGlyphs(program.Form(), dpi);
    program.WaitFocus(win32::WinIdOf(ControlId::ComboBox1), "at the start");
    Press(VK_RETURN);
    program.WaitExit();
    s.WriteBatchArgs();
}

// Moved to a screen of another scale, the form is laid out again at its DPI in the rectangle
// Windows suggests. Wine's one screen never changes its scale, so the form is made here, in this
// process, and given the message a move would bring.
void DpiChangeLaysOutAgain(const Paths&) {
    constexpr int kNewDpi = 144;
    const win32::MainForm form(GetModuleHandleW(nullptr), nullptr);
    HWND hwnd = form.Handle();
    Check(hwnd != nullptr, "the form was not made");
    // The frame stays as it is here (Wine keeps its one scale for it): the client area scales.
    RECT client = {}, placed = {};
    GetClientRect(hwnd, &client);
    GetWindowRect(hwnd, &placed);
    const int frameWidth = placed.right - placed.left - client.right;
    const int frameHeight = placed.bottom - placed.top - client.bottom;
    RECT suggested = {40, 30, 40 + ScaleForDpi(win32::kClientWidth, kNewDpi) + frameWidth,
                      30 + ScaleForDpi(win32::kClientHeight, kNewDpi) + frameHeight};
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(kNewDpi, kNewDpi),
                 reinterpret_cast<LPARAM>(&suggested));
    GetClientRect(hwnd, &client);
    GetWindowRect(hwnd, &placed);
    Check(NearScaled(client.right, win32::kClientWidth, kNewDpi) &&
              NearScaled(client.bottom, win32::kClientHeight, kNewDpi) && placed.left == 40 &&
              placed.top == 30,
          "client area " + std::to_string(client.right) + " x " + std::to_string(client.bottom));
    CheckControls(hwnd, kNewDpi);
    CheckFontAndGlyphs(hwnd, kNewDpi);
}

// The preview: F2 opens it beside the dialog, never over it, and leaves the focus in the edit; a
// typed arrow length redraws it; an invalid length names its control in the text line; it goes
// down and comes back with the dialog; a second F2 closes it; the files after OK are those of the
// same run without it.
void PreviewBesideTheDialog(const Paths& paths) {
    Scenario s = Prepare(paths, L"preview-ok", L"ok-bundled-example", true);
    Program program = Start(paths, s);
    HWND form = program.Form();
    const int edit7 = win32::WinIdOf(ControlId::Edit7);
    program.WaitFocus(win32::WinIdOf(ControlId::ComboBox1), "at the start");
    Check(!PreviewOf(form) || !IsWindowVisible(PreviewOf(form)), "the preview is open at start");
    Press(VK_TAB);
    Press(VK_TAB);
    program.WaitFocus(edit7, "two Tabs");

    Press(VK_F2);
    HWND preview = WaitPreviewShown(form);
    RECT dialog = {}, beside = {}, overlap = {}, work = {};
    GetWindowRect(form, &dialog);
    GetWindowRect(preview, &beside);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    Check(!IntersectRect(&overlap, &dialog, &beside) &&
              (beside.left == dialog.right || beside.right == dialog.left) &&
              beside.left >= work.left && beside.right <= work.right,
          "the preview stands at " + std::to_string(beside.left) + ".." +
              std::to_string(beside.right) + ", the dialog at " + std::to_string(dialog.left) +
              ".." + std::to_string(dialog.right));
    program.WaitFocus(edit7, "after F2");
    Check(GetForegroundWindow() == form, "the preview took the foreground");
    HWND line = PreviewLine(preview);
    const std::wstring value = L"2,700";  // as the answer writes it
    Check(WaitUntil([&] { return Text(line) == value; }),
          "the preview's text line shows \"" + Utf8(Text(line)) + "\"");
    // Painted, and done painting: two looks alike.
    std::vector<DWORD> before;
    Check(WaitUntil([&] {
              std::vector<DWORD> now = ClientPixels(preview);
              const bool settled = ShowsDrawing(now) && now == before;
              before = std::move(now);
              return settled;
          }),
          "the preview shows no drawing");

    Type(L"9");  // the focus selected the whole text: the arrows' length is now 9 mm
    program.WaitText(edit7, L"9", "typing the arrows' length");
    Check(WaitUntil([&] { return ClientPixels(preview) != before; }),
          "a typed arrow length did not change the drawing");
    program.WaitFocus(edit7, "while the preview redraws");

    Press(VK_BACK);  // empty: not above 0
    Check(WaitUntil([&] { return Text(line) == kEdit7Label; }),
          "an empty Edit7: the text line shows \"" + Utf8(Text(line)) + "\"");
    Type(L"5");
    Check(WaitUntil([&] { return Text(line) == value; }),
          "valid again: the text line shows \"" + Utf8(Text(line)) + "\"");

    // Down and back with the dialog.
    HWND owner = GetWindow(form, GW_OWNER);
    PostMessageW(form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Check(WaitUntil([&] { return !IsWindowVisible(form) && !IsWindowVisible(preview); }),
          "minimising the dialog left the preview");
    PostMessageW(owner, WM_SYSCOMMAND, SC_RESTORE, 0);
    Check(WaitUntil([&] { return IsWindowVisible(form) && IsWindowVisible(preview); }),
          "restoring the dialog did not bring the preview back");
    program.WaitFocus(edit7, "restored");

    Press(VK_F2);
    Check(WaitUntil([&] { return !IsWindowVisible(preview); }), "a second F2 did not close it");
    program.WaitFocus(edit7, "after the second F2");
    Press(VK_RETURN);
    program.WaitExit();
    s.batchArgs = {L"--set", L"Edit7=5"};
    s.WriteBatchArgs();
}

struct NamedScenario {
    const char* name;
    void (*run)(const Paths&);
};

int RunScenarios(const Paths& paths, const std::vector<NamedScenario>& scenarios) {
    int failed = 0;
    for (const auto& scenario : scenarios) {
        try {
            scenario.run(paths);
            std::cout << "ok    " << scenario.name << std::endl;
        } catch (const Failure& failure) {
            std::cout << "FAIL  " << scenario.name << ": " << failure.what << std::endl;
            ++failed;
        } catch (const std::exception& e) {
            std::cout << "FAIL  " << scenario.name << ": " << e.what() << std::endl;
            ++failed;
        }
    }
    std::cout << (failed == 0 ? "ui: pass" : "ui: FAIL") << std::endl;
    return failed == 0 ? 0 : 1;
}

const std::vector<NamedScenario> kScenarios = {
    {"layout, labels, tab order and the close box", LayoutTabOrderAndCloseBox},
    {"typed values and OK by Enter", TypedValuesAndOkByEnter},
    {"stop, refusal and Escape", StopRefuseAndEscape},
    {"off-screen position", OffScreenPositionMovesOnScreen},
    {"Alt+N and Alt+F4", CancelKeys},
    {"laid out again at another DPI", DpiChangeLaysOutAgain},
    {"the preview beside the dialog", PreviewBesideTheDialog},
};
const std::vector<NamedScenario> kScaledScenarios = {
    {"scaled layout, fonts, glyphs and position", ScaledLayoutFontsAndPosition},
};

// Wine has no "ＭＳ ゴシック". As the README says, IPA Gothic may stand in for it by name; or,
// with `replaced` false, there is no stand-in, and the dialog must find a face of its own.
// `captions`: IPA Gothic also stands in for the face Wine's captions fall back on for Japanese.
void ReplaceJapaneseFontUnderWine(bool replaced, bool captions) {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) return;
    const wchar_t* const key = L"Software\\Wine\\Fonts\\Replacements";
    if (!replaced) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, key, L"ＭＳ ゴシック");
        return;
    }
    const wchar_t face[] = L"IPAGothic";
    RegSetKeyValueW(HKEY_CURRENT_USER, key, L"ＭＳ ゴシック", REG_SZ, face, sizeof face);
    // Wine's captions reach Japanese through the face its caption font links to: for the
    // preview's title in a picture.
    if (captions) {
        RegSetKeyValueW(HKEY_CURRENT_USER, key, L"MS UI Gothic", REG_SZ, face, sizeof face);
    } else {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, key, L"MS UI Gothic");
    }
}

int HoldForScreenshot(const fs::path& root, const fs::path& exe, const fs::path& example,
                      bool withPreview) {
    const fs::path dir = root / kRunFolder / L"screenshot";
    fs::create_directories(dir);
    for (const wchar_t* file : {L"JWC_TEMP.TXT", L"kelm.dat"}) {
        fs::copy_file(example / file, dir / file);
    }
    fs::copy_file(exe, dir / L"Dovarin.exe");
    Program program(dir / L"Dovarin.exe", root, L"Dovarin");
    RECT frame = {};
    GetWindowRect(program.Form(), &frame);
    if (withPreview) {
        program.WaitFocus(win32::WinIdOf(ControlId::ComboBox1), "at the start");
        Press(VK_F2);
        HWND preview = WaitPreviewShown(program.Form());
        Check(WaitUntil([&] { return !Text(PreviewLine(preview)).empty(); }) &&
                  WaitUntil([&] { return ShowsDrawing(ClientPixels(preview)); }),
              "the preview shows nothing");
        RECT beside = {};
        GetWindowRect(preview, &beside);
        UnionRect(&frame, &frame, &beside);
    }
    std::cout << "window " << frame.left << " " << frame.top << " " << frame.right - frame.left
              << " " << frame.bottom - frame.top << std::endl;
    const bool released = WaitUntil([&] { return fs::exists(root / L"release"); }, 60000);
    Press(VK_ESCAPE);
    program.WaitExit();
    return released ? 0 : 1;
}

// Milliseconds from the start of the program to its window shown and idle.
double TimeOneStart(const fs::path& exe, const std::wstring& caption, DWORD patience = kPatience) {
    Program program(exe, exe.parent_path(), caption.c_str(), patience);
    PostMessageW(program.Form(), WM_CLOSE, 0, 0);
    program.WaitExit();
    return program.ShownAfterMilliseconds();
}

// The programs start in turn, after one warm-up each, so that a busy moment of the machine
// falls on both alike.
int TimeStarts(int runs, const std::vector<std::pair<fs::path, std::wstring>>& programs) {
    std::vector<std::vector<double>> times(programs.size());
    for (const auto& [exe, caption] : programs) TimeOneStart(exe, caption);
    for (int run = 0; run < runs; ++run) {
        for (std::size_t p = 0; p < programs.size(); ++p) {
            times[p].push_back(TimeOneStart(programs[p].first, programs[p].second));
        }
    }
    std::vector<double> medians;
    for (std::size_t p = 0; p < programs.size(); ++p) {
        std::sort(times[p].begin(), times[p].end());
        medians.push_back(times[p][times[p].size() / 2]);
        std::cout << Utf8(programs[p].first.filename().wstring()) << ": median " << medians.back()
                  << " ms of " << runs << " (min " << times[p].front() << ", max "
                  << times[p].back() << ")" << std::endl;
    }
    // The first program against each yardstick after it.
    for (std::size_t p = 1; p < programs.size(); ++p) {
        std::cout << "ratio " << Utf8(programs[0].first.stem().wstring()) << " / "
                  << Utf8(programs[p].first.stem().wstring()) << ": " << medians[0] / medians[p]
                  << std::endl;
    }
    return 0;
}

}  // namespace
}  // namespace dovarin::ui

int wmain(int argc, wchar_t** argv) {
    using namespace dovarin::ui;
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    dovarin::win32::DeclareDpiAwareness();  // sees the screen as the program does
    ReplaceJapaneseFontUnderWine(mode != L"scaled" && mode != L"hold-scaled",
                                 mode == L"hold-preview");
    try {
        if (mode == L"run" && argc == 5) {
            return RunScenarios({argv[2], argv[3], argv[4]}, kScenarios);
        }
        if (mode == L"scaled" && argc == 5) {
            return RunScenarios({argv[2], argv[3], argv[4]}, kScaledScenarios);
        }
        if ((mode == L"hold" || mode == L"hold-scaled" || mode == L"hold-preview") && argc == 5) {
            return HoldForScreenshot(argv[2], argv[3], argv[4], mode == L"hold-preview");
        }
        if (mode == L"time" && argc >= 5 && argc % 2 == 1) {
            std::vector<std::pair<fs::path, std::wstring>> programs;
            for (int i = 3; i + 1 < argc; i += 2) programs.emplace_back(argv[i], argv[i + 1]);
            return TimeStarts(_wtoi(argv[2]), programs);
        }
        if (mode == L"start" && argc == 5) {
            const DWORD patience = static_cast<DWORD>(_wtoi(argv[4])) * 1000;
            std::cout << "shown " << TimeOneStart(argv[2], argv[3], patience) << std::endl;
            return 0;
        }
    } catch (const Failure& failure) {
        std::cout << "FAIL: " << failure.what << std::endl;
        return 1;
    }
    std::cerr << "usage: dovarin_ui_driver run|scaled ROOT DOVARIN_EXE SCENARIOS\n"
                 "       dovarin_ui_driver hold|hold-scaled|hold-preview ROOT DOVARIN_EXE EXAMPLE\n"
                 "       dovarin_ui_driver time RUNS EXE CAPTION [EXE CAPTION]...\n"
                 "       dovarin_ui_driver start EXE CAPTION SECONDS\n";
    return 64;
}
