// The dialog without its pixels: the controls' state as plain data, the OK validation that turns
// it into DimensionSettings, and the settings file kelm.dat that keeps it between runs.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dovarin {

// Index of a drop-down list or radio group with nothing selected.
constexpr int kNoSelection = -1;

// The dialog's input controls, by their own names.
enum class ControlId {
    ComboBox1,
    ComboBox2,
    ComboBox3,
    ComboBox4,
    ComboBox5,
    Edit1,
    Edit2,
    Edit3,
    Edit4,
    Edit5,
    Edit6,
    Edit7,
    Edit8,
    Edit9,
    RadioGroup1,
    RadioGroup2,
    CheckBox1,
    CheckBox2,
    CheckBox3,
    CheckBox4,
};

enum class ControlKind { ComboBox, Edit, RadioGroup, CheckBox };

// One row of the control table: what the window needs to create and limit a control.
struct ControlInfo {
    ControlId id;
    const char* name;  // "Edit7"
    ControlKind kind;
    int typingLimit;  // edits: most bytes of code page 932 the user may type; else 0
    bool imeAllowed;  // the Japanese input method stays on (prefix and suffix only)
    // The label the dialog shows for the input, code page 932: a radio group's group box caption,
    // a check box's own text ("長さ" for Edit7).
    const char* Caption;
};

// All input controls in tab order.
const std::vector<ControlInfo>& ControlTable();
const ControlInfo& GetControlInfo(ControlId id);
// The control of that name ("ComboBox3"), or nullptr.
const ControlInfo* FindControl(std::string_view name);

constexpr int kRadioButtonCount = 2;  // RadioGroup1, RadioGroup2

// Typing limits count bytes of code page 932; a two-byte character is never split. A limit of 0
// or less means no limit (the controls that are not edits).
//
// The text's first whole characters that fit in `limit` bytes.
std::string LimitTyped(std::string_view text, int limit);
// What an edit holds after the user changed `before` into `after`: the typed or pasted part is
// cut so that the whole fits in `limit`. Deleting is always allowed, and a longer text that the
// program set (a loaded setting) is never cut; it only takes no more typing.
std::string ApplyTypingLimit(std::string_view before, std::string_view after, int limit);

// The edit rules: what an edit keeps of a change the user made (typed, pasted, deleted) to its
// text. The dialog and dovarin-batch --set both apply them.
enum class EditOutcome {
    Taken,               // the change stands as made
    Cut,                 // the typed or pasted part was cut at the typing limit
    RefusedControlChar,  // it brought in a control character: the text stays as it was
    RefusedCodePage,     // it brought in a character code page 932 cannot hold: the same
};
struct EditResult {
    EditOutcome Outcome = EditOutcome::Taken;
    std::string Text;  // what the edit holds now, code page 932
};
// `before` is the edit's text, `after` the changed text in code page 932, or nothing when it
// holds a character the code page has no form for (the caller converts it from the screen's or
// the terminal's encoding). A change that brings in a control character or such a character is
// refused whole (a one-line edit holds neither); any other change is cut at the typing limit as
// ApplyTypingLimit does.
EditResult ApplyEdit(std::string_view before, const std::optional<std::string>& after, int limit);

// The state of every input control, as the user sees it. Lists and radio groups hold an item
// index or kNoSelection; edits hold their raw text (code page 932); check boxes their state.
// The defaults are the form's own, before any settings file is loaded.
struct DialogControls {
    int ComboBox1 = 0;
    int ComboBox2 = 0;
    int ComboBox3 = kNoSelection;
    int ComboBox4 = 3;
    int ComboBox5 = 2;
    std::string Edit1 = "1";
    std::string Edit2;
    std::string Edit3;
    std::string Edit4 = "0.5";
    std::string Edit5 = "2";
    std::string Edit6 = "2";
    std::string Edit7 = "3";
    std::string Edit8 = "15";
    std::string Edit9 = "2";
    int RadioGroup1 = 0;
    int RadioGroup2 = 0;
    bool CheckBox1 = false;
    bool CheckBox2 = false;
    bool CheckBox3 = false;
    bool CheckBox4 = false;
    // ComboBox3's items, filled when the form is shown (eleven after that, none before).
    std::vector<std::string> ComboBox3Items;

    // Items of a drop-down list, buttons of a radio group; 0 for other controls.
    int ItemCount(ControlId list) const;
    // The items of a drop-down list; empty for other controls.
    const std::vector<std::string>& Items(ControlId list) const;
    // True when a list or radio group has one of its items selected. An index past the items
    // cannot come from a real window and counts as no selection.
    bool HasSelection(ControlId list) const;

    // Access by id. A control of another kind is our own bug: they throw std::logic_error, in
    // every build, rather than hand out a stand-in that belongs to no control.
    int& Index(ControlId id);  // lists and radio groups
    int Index(ControlId id) const;
    std::string& Text(ControlId id);  // edits
    const std::string& Text(ControlId id) const;
    bool& Checked(ControlId id);  // check boxes
    bool Checked(ControlId id) const;
};

bool operator==(const DialogControls& a, const DialogControls& b);
inline bool operator!=(const DialogControls& a, const DialogControls& b) {
    return !(a == b);
}

// The largest arrow length and the angle the arrow must stay below.
constexpr double kMaxArrowLength = 1000;
constexpr double kArrowAngleLimit = 180;

// The values of one confirmed run.
struct DimensionSettings {
    int StartMarker = 0;            // ComboBox1, MarkerKind
    int EndMarker = 0;              // ComboBox2
    double EndPointScale = 1;       // Edit1, > 0
    double ArrowLength = 3;         // Edit7, paper mm, 0 < v <= kMaxArrowLength
    double ArrowAngle = 15;         // Edit8, degrees, 0 < v < kArrowAngleLimit
    int ValueTextType = 0;          // ComboBox3: 0 the host's current text type, 1..10 text type n
    std::string Prefix;             // Edit2, empty when blank
    std::string Suffix;             // Edit3, empty when blank
    int Precision = 3;              // ComboBox4: number of decimals
    int Rounding = 2;               // ComboBox5: 0 truncate, 1 round up, 2 half up
    int ShowZeros = 0;              // RadioGroup1: 0 trailing zeros removed, 1 shown
    int Unit = 0;                   // RadioGroup2: 0 mm, 1 m
    bool ThousandsCommas = false;   // CheckBox1
    bool AppendUnit = false;        // CheckBox2
    bool FullWidth = false;         // CheckBox3
    bool DimensionFigure = false;   // CheckBox4
    double ValueGap = 0.5;          // Edit4, paper mm, never validated
    double PointGap = 2;            // Edit5, >= 0
    double ExtensionOvershoot = 2;  // Edit6, >= 0
    double ReverseOvershoot = 2;    // Edit9, >= 0
};

// The OK checks in their order. True with `settings` complete, or false with `focus` naming the
// first invalid control (`settings` then unchanged).
bool ValidateDialog(const DialogControls& controls, DimensionSettings& settings, ControlId& focus);

// What the settings file keeps: the controls and the window position.
struct SavedDialog {
    DialogControls Controls;
    int WindowLeft = 100;
    int WindowTop = 100;
};

// Sets the window position to 100, 100, then applies the file's lines 1 to 22 to `dialog`
// (ComboBox3Items must be filled before). A missing or unreadable file leaves the controls as
// they are.
void LoadSettings(const std::filesystem::path& path, SavedDialog& dialog);
// The same for the file's bytes already in memory (what LoadSettings does once it has read them).
void LoadSettingsText(std::string_view bytes, SavedDialog& dialog);

// Writes the 34 lines (23 to 34 from HostState) through a temporary file renamed over path;
// on failure the previous file is kept. Returns true on success.
bool SaveSettings(const std::filesystem::path& path, const SavedDialog& dialog);
// The bytes SaveSettings writes.
std::string SettingsFileText(const SavedDialog& dialog);

}  // namespace dovarin
