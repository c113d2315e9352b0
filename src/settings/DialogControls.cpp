// The dialog's controls as data: the control table in tab order, the fixed list items, access to
// a control's state by its id, and the typing limits of the edits.
#include <cstddef>
#include <stdexcept>
#include <string>

#include "settings/Settings.h"
#include "util/MyFunc.h"

namespace dovarin {
namespace {

// Typing limits in bytes of code page 932.
constexpr int kShortEditLimit = 8;    // arrow length and angle
constexpr int kNumberEditLimit = 16;  // the other numbers
constexpr int kTextEditLimit = 32;    // prefix and suffix

// The captions are the dialog's labels in code page 932.
const std::vector<ControlInfo> kControlTable = {
    // 始点
    {ControlId::ComboBox1, "ComboBox1", ControlKind::ComboBox, 0, false, "\x8e\x6e\x93\x5f"},
    // 終点
    {ControlId::ComboBox2, "ComboBox2", ControlKind::ComboBox, 0, false, "\x8f\x49\x93\x5f"},
    // 長さ
    {ControlId::Edit7, "Edit7", ControlKind::Edit, kShortEditLimit, false, "\x92\xb7\x82\xb3"},
    // 角度
    {ControlId::Edit8, "Edit8", ControlKind::Edit, kShortEditLimit, false, "\x8a\x70\x93\x78"},
    // 端点倍率
    {ControlId::Edit1, "Edit1", ControlKind::Edit, kNumberEditLimit, false,
     "\x92\x5b\x93\x5f\x94\x7b\x97\xa6"},
    // 寸法値の文字種
    {ControlId::ComboBox3, "ComboBox3", ControlKind::ComboBox, 0, false,
     "\x90\xa1\x96\x40\x92\x6c\x82\xcc\x95\xb6\x8e\x9a\x8e\xed"},
    // 接頭文字
    {ControlId::Edit2, "Edit2", ControlKind::Edit, kTextEditLimit, true,
     "\x90\xda\x93\xaa\x95\xb6\x8e\x9a"},
    // 接尾文字
    {ControlId::Edit3, "Edit3", ControlKind::Edit, kTextEditLimit, true,
     "\x90\xda\x94\xf6\x95\xb6\x8e\x9a"},
    // 寸法値の精度
    {ControlId::ComboBox4, "ComboBox4", ControlKind::ComboBox, 0, false,
     "\x90\xa1\x96\x40\x92\x6c\x82\xcc\x90\xb8\x93\x78"},
    // 寸法値の丸め
    {ControlId::ComboBox5, "ComboBox5", ControlKind::ComboBox, 0, false,
     "\x90\xa1\x96\x40\x92\x6c\x82\xcc\x8a\xdb\x82\xdf"},
    // 小数点以下の０表示
    {ControlId::RadioGroup1, "RadioGroup1", ControlKind::RadioGroup, 0, false,
     "\x8f\xac\x90\x94\x93\x5f\x88\xc8\x89\xba\x82\xcc\x82\x4f\x95\x5c\x8e\xa6"},
    // 寸法値の単位
    {ControlId::RadioGroup2, "RadioGroup2", ControlKind::RadioGroup, 0, false,
     "\x90\xa1\x96\x40\x92\x6c\x82\xcc\x92\x50\x88\xca"},
    // ３桁毎カンマ付加
    {ControlId::CheckBox1, "CheckBox1", ControlKind::CheckBox, 0, false,
     "\x82\x52\x8c\x85\x96\x88\x83\x4a\x83\x93\x83\x7d\x95\x74\x89\xc1"},
    // 単位の付加
    {ControlId::CheckBox2, "CheckBox2", ControlKind::CheckBox, 0, false,
     "\x92\x50\x88\xca\x82\xcc\x95\x74\x89\xc1"},
    // 寸法値を全角化
    {ControlId::CheckBox3, "CheckBox3", ControlKind::CheckBox, 0, false,
     "\x90\xa1\x96\x40\x92\x6c\x82\xf0\x91\x53\x8a\x70\x89\xbb"},
    // 寸法図形化
    {ControlId::CheckBox4, "CheckBox4", ControlKind::CheckBox, 0, false,
     "\x90\xa1\x96\x40\x90\x7d\x8c\x60\x89\xbb"},
    // 寸法値と水平線との距離
    {ControlId::Edit4, "Edit4", ControlKind::Edit, kNumberEditLimit, false,
     "\x90\xa1\x96\x40\x92\x6c\x82\xc6\x90\x85\x95\xbd\x90\xfc\x82\xc6\x82\xcc\x8b\x97\x97\xa3"},
    // 計測点と寸法補助線の距離
    {ControlId::Edit5, "Edit5", ControlKind::Edit, kNumberEditLimit, false,
     "\x8c\x76\x91\xaa\x93\x5f\x82\xc6\x90\xa1\x96\x40\x95\xe2\x8f\x95\x90\xfc\x82\xcc\x8b\x97\x97"
     "\xa3"},
    // 寸法補助線のはみ出し距離
    {ControlId::Edit6, "Edit6", ControlKind::Edit, kNumberEditLimit, false,
     "\x90\xa1\x96\x40\x95\xe2\x8f\x95\x90\xfc\x82\xcc\x82\xcd\x82\xdd\x8f\x6f\x82\xb5\x8b\x97\x97"
     "\xa3"},
    // 逆矢印の寸法はみだし距離
    {ControlId::Edit9, "Edit9", ControlKind::Edit, kNumberEditLimit, false,
     "\x8b\x74\x96\xee\x88\xf3\x82\xcc\x90\xa1\x96\x40\x82\xcd\x82\xdd\x82\xbe\x82\xb5\x8b\x97\x97"
     "\xa3"},
};

const std::vector<std::string> kMarkerItems = {
    "\x90\xfc\x96\xee\x88\xf3",  // 線矢印
    "\x81\xa2",                  // △
    "\x81\xa0",                  // □
    "\x82\x6e",                  // Ｏ
    "\x81\x9b",                  // ○
    "\x81\xa1",                  // ■
    "\x81\xa3",                  // ▲
    "\x81\x9c",                  // ●
    "\x81\x60",                  // ～
    "\x81\x84",                  // ＞
    "\x81\x5e",                  // ／
    "\x81\xa2",                  // △ (listed twice, at 1 and 11)
};

const std::vector<std::string> kPrecisionItems = {
    "1", "0.1", "0.01", "0.001", "0.0001", "0.00001", "0.000001", "0.0000001", "0.00000001",
};

const std::vector<std::string> kRoundingItems = {
    "\x90\xd8\x82\xe8\x8e\xcc\x82\xc4",  // 切り捨て
    "\x90\xd8\x82\xe8\x8f\xe3\x82\xb0",  // 切り上げ
    "\x8e\x6c\x8e\xcc\x8c\xdc\x93\xfc",  // 四捨五入
};

const std::vector<std::string> kNoItems;

// End of the character that starts at pos.
std::size_t CharEnd(std::string_view text, std::size_t pos) {
    return pos + CharSize(text, pos);
}

// Length of the longest run of whole characters that a and b begin with.
std::size_t CommonPrefix(std::string_view a, std::string_view b) {
    std::size_t pos = 0;
    while (pos < a.size() && pos < b.size()) {
        const std::size_t end = CharEnd(a, pos);
        if (end != CharEnd(b, pos) || a.substr(pos, end - pos) != b.substr(pos, end - pos)) break;
        pos = end;
    }
    return pos;
}

// The first character boundary of `after` at or past `from` whose rest `before` also ends with,
// keeping that rest within `room` bytes: where the unchanged tail of the text begins.
std::size_t TailStart(std::string_view before, std::string_view after, std::size_t from,
                      std::size_t room) {
    std::size_t pos = from;
    while (pos < after.size()) {
        const std::size_t tail = after.size() - pos;
        if (tail <= room && before.substr(before.size() - tail) == after.substr(pos)) return pos;
        pos = CharEnd(after, pos);
    }
    return after.size();
}

// The part of `after` that a change of `before` brought in: what was typed or pasted.
std::string_view InsertedPart(std::string_view before, std::string_view after) {
    const std::size_t head = CommonPrefix(before, after);
    return after.substr(head, TailStart(before, after, head, before.size() - head) - head);
}

// Where DialogControls keeps each control's state.
template <class T>
struct FieldRow {
    ControlId id;
    T DialogControls::*field;
};

const FieldRow<int> kIndexFields[] = {
    {ControlId::ComboBox1, &DialogControls::ComboBox1},
    {ControlId::ComboBox2, &DialogControls::ComboBox2},
    {ControlId::ComboBox3, &DialogControls::ComboBox3},
    {ControlId::ComboBox4, &DialogControls::ComboBox4},
    {ControlId::ComboBox5, &DialogControls::ComboBox5},
    {ControlId::RadioGroup1, &DialogControls::RadioGroup1},
    {ControlId::RadioGroup2, &DialogControls::RadioGroup2},
};

const FieldRow<std::string> kTextFields[] = {
    {ControlId::Edit1, &DialogControls::Edit1}, {ControlId::Edit2, &DialogControls::Edit2},
    {ControlId::Edit3, &DialogControls::Edit3}, {ControlId::Edit4, &DialogControls::Edit4},
    {ControlId::Edit5, &DialogControls::Edit5}, {ControlId::Edit6, &DialogControls::Edit6},
    {ControlId::Edit7, &DialogControls::Edit7}, {ControlId::Edit8, &DialogControls::Edit8},
    {ControlId::Edit9, &DialogControls::Edit9},
};

const FieldRow<bool> kCheckFields[] = {
    {ControlId::CheckBox1, &DialogControls::CheckBox1},
    {ControlId::CheckBox2, &DialogControls::CheckBox2},
    {ControlId::CheckBox3, &DialogControls::CheckBox3},
    {ControlId::CheckBox4, &DialogControls::CheckBox4},
};

// The field of the control, or nullptr when the control is of another kind.
template <class T, std::size_t N>
T DialogControls::*FieldOf(const FieldRow<T> (&rows)[N], ControlId id) {
    for (const FieldRow<T>& row : rows) {
        if (row.id == id) return row.field;
    }
    return nullptr;
}

template <class T, std::size_t N>
T DialogControls::*RequiredField(const FieldRow<T> (&rows)[N], ControlId id) {
    if (const auto field = FieldOf(rows, id)) return field;
    throw std::logic_error("DialogControls: " + std::string(GetControlInfo(id).name) +
                           " is a control of another kind");
}

bool SameState(const DialogControls& a, const DialogControls& b, const ControlInfo& info) {
    switch (info.kind) {
        case ControlKind::Edit:
            return a.Text(info.id) == b.Text(info.id);
        case ControlKind::CheckBox:
            return a.Checked(info.id) == b.Checked(info.id);
        default:
            return a.Index(info.id) == b.Index(info.id);
    }
}

}  // namespace

const std::vector<ControlInfo>& ControlTable() {
    return kControlTable;
}

const ControlInfo& GetControlInfo(ControlId id) {
    for (const ControlInfo& info : kControlTable) {
        if (info.id == id) return info;
    }
    return kControlTable.front();  // unreachable: every id has a row
}

const ControlInfo* FindControl(std::string_view name) {
    for (const ControlInfo& info : kControlTable) {
        if (name == info.name) return &info;
    }
    return nullptr;
}

std::string LimitTyped(std::string_view text, int limit) {
    if (limit <= 0) return std::string(text);
    const auto budget = static_cast<std::size_t>(limit);
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = CharEnd(text, pos);
        if (end > budget) break;
        pos = end;
    }
    return std::string(text.substr(0, pos));
}

std::string ApplyTypingLimit(std::string_view before, std::string_view after, int limit) {
    if (limit <= 0 || after.size() <= static_cast<std::size_t>(limit) ||
        after.size() <= before.size()) {
        return std::string(after);
    }
    const std::size_t head = CommonPrefix(before, after);
    const std::size_t tailStart = TailStart(before, after, head, before.size() - head);
    const std::size_t kept = head + (after.size() - tailStart);
    const int budget = limit - static_cast<int>(kept);
    std::string result(after.substr(0, head));
    if (budget > 0) result += LimitTyped(after.substr(head, tailStart - head), budget);
    result += after.substr(tailStart);
    return result;
}

EditResult ApplyEdit(std::string_view before, const std::optional<std::string>& after, int limit) {
    if (!after) return {EditOutcome::RefusedCodePage, std::string(before)};
    if (HasControlByte(InsertedPart(before, *after))) {
        return {EditOutcome::RefusedControlChar, std::string(before)};
    }
    std::string kept = ApplyTypingLimit(before, *after, limit);
    const EditOutcome outcome = kept == *after ? EditOutcome::Taken : EditOutcome::Cut;
    return {outcome, std::move(kept)};
}

int DialogControls::ItemCount(ControlId list) const {
    if (list == ControlId::RadioGroup1 || list == ControlId::RadioGroup2) return kRadioButtonCount;
    return static_cast<int>(Items(list).size());
}

const std::vector<std::string>& DialogControls::Items(ControlId list) const {
    switch (list) {
        case ControlId::ComboBox1:
        case ControlId::ComboBox2:
            return kMarkerItems;
        case ControlId::ComboBox3:
            return ComboBox3Items;
        case ControlId::ComboBox4:
            return kPrecisionItems;
        case ControlId::ComboBox5:
            return kRoundingItems;
        default:
            return kNoItems;
    }
}

bool DialogControls::HasSelection(ControlId list) const {
    const auto field = FieldOf(kIndexFields, list);
    return field && this->*field >= 0 && this->*field < ItemCount(list);
}

int& DialogControls::Index(ControlId id) {
    return this->*RequiredField(kIndexFields, id);
}

int DialogControls::Index(ControlId id) const {
    return this->*RequiredField(kIndexFields, id);
}

std::string& DialogControls::Text(ControlId id) {
    return this->*RequiredField(kTextFields, id);
}

const std::string& DialogControls::Text(ControlId id) const {
    return this->*RequiredField(kTextFields, id);
}

bool& DialogControls::Checked(ControlId id) {
    return this->*RequiredField(kCheckFields, id);
}

bool DialogControls::Checked(ControlId id) const {
    return this->*RequiredField(kCheckFields, id);
}

bool operator==(const DialogControls& a, const DialogControls& b) {
    for (const ControlInfo& info : ControlTable()) {
        if (!SameState(a, b, info)) return false;
    }
    return a.ComboBox3Items == b.ComboBox3Items;
}

}  // namespace dovarin
