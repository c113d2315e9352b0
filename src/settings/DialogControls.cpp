// The dialog's controls as data: the fixed list items, access to a control's state by its id
// through its row of the control table, and the typing limits of the edits.
#include <cstddef>
#include <stdexcept>
#include <string>

#include "settings/Settings.h"
#include "util/MyFunc.h"

namespace dovarin {
namespace {

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

// The control's member of DialogControls; a control of another kind has none.
template <class T>
T DialogControls::*RequiredField(T DialogControls::*field, ControlId id) {
    if (field) return field;
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
    if (GetControlInfo(list).kind == ControlKind::RadioGroup) return kRadioButtonCount;
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
    const auto field = GetControlInfo(list).field.index;
    return field && this->*field >= 0 && this->*field < ItemCount(list);
}

int& DialogControls::Index(ControlId id) {
    return this->*RequiredField(GetControlInfo(id).field.index, id);
}

int DialogControls::Index(ControlId id) const {
    return this->*RequiredField(GetControlInfo(id).field.index, id);
}

std::string& DialogControls::Text(ControlId id) {
    return this->*RequiredField(GetControlInfo(id).field.text, id);
}

const std::string& DialogControls::Text(ControlId id) const {
    return this->*RequiredField(GetControlInfo(id).field.text, id);
}

bool& DialogControls::Checked(ControlId id) {
    return this->*RequiredField(GetControlInfo(id).field.checked, id);
}

bool DialogControls::Checked(ControlId id) const {
    return this->*RequiredField(GetControlInfo(id).field.checked, id);
}

bool operator==(const DialogControls& a, const DialogControls& b) {
    for (const ControlInfo& info : ControlTable()) {
        if (!SameState(a, b, info)) return false;
    }
    return a.ComboBox3Items == b.ComboBox3Items;
}

}  // namespace dovarin
