#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "settings/Settings.h"

namespace dovarin {
namespace {

TEST(ControlTable, TabOrderLimitsAndInputMethod) {
    struct Row {
        const char* name;
        ControlKind kind;
        int limit;
        bool ime;
    };
    const std::vector<Row> rows = {
        {"ComboBox1", ControlKind::ComboBox, 0, false},
        {"ComboBox2", ControlKind::ComboBox, 0, false},
        {"Edit7", ControlKind::Edit, 8, false},
        {"Edit8", ControlKind::Edit, 8, false},
        {"Edit1", ControlKind::Edit, 16, false},
        {"ComboBox3", ControlKind::ComboBox, 0, false},
        {"Edit2", ControlKind::Edit, 32, true},
        {"Edit3", ControlKind::Edit, 32, true},
        {"ComboBox4", ControlKind::ComboBox, 0, false},
        {"ComboBox5", ControlKind::ComboBox, 0, false},
        {"RadioGroup1", ControlKind::RadioGroup, 0, false},
        {"RadioGroup2", ControlKind::RadioGroup, 0, false},
        {"CheckBox1", ControlKind::CheckBox, 0, false},
        {"CheckBox2", ControlKind::CheckBox, 0, false},
        {"CheckBox3", ControlKind::CheckBox, 0, false},
        {"CheckBox4", ControlKind::CheckBox, 0, false},
        {"Edit4", ControlKind::Edit, 16, false},
        {"Edit5", ControlKind::Edit, 16, false},
        {"Edit6", ControlKind::Edit, 16, false},
        {"Edit9", ControlKind::Edit, 16, false},
    };
    const std::vector<ControlInfo>& table = ControlTable();
    ASSERT_EQ(table.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_STREQ(table[i].name, rows[i].name) << "row " << i;
        EXPECT_EQ(table[i].kind, rows[i].kind) << "row " << i;
        EXPECT_EQ(table[i].typingLimit, rows[i].limit) << "row " << i;
        EXPECT_EQ(table[i].imeAllowed, rows[i].ime) << "row " << i;
        // Lookup by id and by name lands on the same row.
        EXPECT_EQ(&GetControlInfo(table[i].id), &table[i]) << "row " << i;
        EXPECT_EQ(FindControl(rows[i].name), &table[i]) << "row " << i;
    }
}

TEST(ControlTable, UnknownNames) {
    for (const char* name : {"", "Button1", "edit7", "Edit", "Edit10", "ComboBox3 "}) {
        EXPECT_EQ(FindControl(name), nullptr) << name;
    }
}

// What a row of the table must hold, so that a new or moved control is whole: the member of
// its kind, one line of kelm.dat of its own, a caption shown by a label right before it or by
// itself, and window IDs that no other window has.
TEST(ControlTable, EveryRowIsWholeAndItsWindowsAreUnique) {
    std::set<int> ids;
    std::set<int> lines;
    const auto addId = [&ids](const WindowRow& window) {
        return window.id == 0 || ids.insert(window.id).second;
    };
    for (const WindowRow& window : FormOwnWindows()) EXPECT_TRUE(addId(window)) << window.id;
    const std::vector<ControlInfo>& table = ControlTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const ControlInfo& info = table[i];
        const bool edit = info.kind == ControlKind::Edit;
        const bool check = info.kind == ControlKind::CheckBox;
        const bool group = info.kind == ControlKind::RadioGroup;
        EXPECT_EQ(info.field.text != nullptr, edit) << "row " << i;
        EXPECT_EQ(info.field.checked != nullptr, check) << "row " << i;
        EXPECT_EQ(info.field.index != nullptr, !edit && !check) << "row " << i;
        EXPECT_TRUE(lines.insert(info.settingsLine).second) << "row " << i;
        ASSERT_NE(info.Caption, nullptr) << "row " << i;
        EXPECT_NE(std::string(info.Caption), "") << "row " << i;
        // A group box and a check box show the caption themselves; the others have a label.
        EXPECT_EQ(info.label.id == 0, group || check) << "row " << i;
        EXPECT_NE(info.window.id, 0) << "row " << i;
        for (const WindowRow& button : info.buttons)
            EXPECT_EQ(button.id != 0, group) << "row " << i;
        for (const WindowRow& window : {info.label, info.window, info.note}) {
            EXPECT_TRUE(addId(window)) << "row " << i << " window " << window.id;
        }
        for (const WindowRow& button : info.buttons) {
            EXPECT_TRUE(addId(button)) << "row " << i << " window " << button.id;
        }
    }
    // Lines 3 to 22, each once.
    ASSERT_EQ(lines.size(), table.size());
    EXPECT_EQ(*lines.begin(), 3);
    EXPECT_EQ(*lines.rbegin(), 22);
}

TEST(DialogControls, ListsAndTheirItems) {
    DialogControls c;
    EXPECT_EQ(c.ItemCount(ControlId::ComboBox1), 12);
    EXPECT_EQ(c.ItemCount(ControlId::ComboBox2), 12);
    EXPECT_EQ(c.ItemCount(ControlId::ComboBox3), 0);
    EXPECT_EQ(c.ItemCount(ControlId::ComboBox4), 9);
    EXPECT_EQ(c.ItemCount(ControlId::ComboBox5), 3);
    EXPECT_EQ(c.ItemCount(ControlId::RadioGroup1), kRadioButtonCount);
    EXPECT_EQ(c.ItemCount(ControlId::Edit1), 0);
    EXPECT_TRUE(c.Items(ControlId::CheckBox1).empty());
    c.ComboBox3Items.assign(11, "x");
    EXPECT_EQ(c.ItemCount(ControlId::ComboBox3), 11);

    const std::vector<std::string>& markers = c.Items(ControlId::ComboBox1);
    EXPECT_EQ(c.Items(ControlId::ComboBox2), markers);
    EXPECT_EQ(markers[0], "\x90\xfc\x96\xee\x88\xf3");  // 線矢印
    EXPECT_EQ(markers[1], markers[11]);                 // the triangle twice
    EXPECT_EQ(markers[8], "\x81\x60");                  // ～
    EXPECT_EQ(c.Items(ControlId::ComboBox4).front(), "1");
    EXPECT_EQ(c.Items(ControlId::ComboBox4).back(), "0.00000001");
    EXPECT_EQ(c.Items(ControlId::ComboBox5)[2], "\x8e\x6c\x8e\xcc\x8c\xdc\x93\xfc");  // 四捨五入
}

TEST(DialogControls, SelectionNeedsAnIndexWithinTheItems) {
    DialogControls c;
    EXPECT_FALSE(c.HasSelection(ControlId::ComboBox3));  // the form selects no text type
    EXPECT_TRUE(c.HasSelection(ControlId::ComboBox4));
    c.RadioGroup1 = 2;
    EXPECT_FALSE(c.HasSelection(ControlId::RadioGroup1));
    EXPECT_FALSE(c.HasSelection(ControlId::Edit1));
}

// A control of another kind is our own bug: refused loudly, no stand-in value, nothing touched.
TEST(DialogControls, AccessOfTheWrongKindIsRefused) {
    DialogControls c;
    EXPECT_THROW(c.Index(ControlId::Edit1) = 5, std::logic_error);
    EXPECT_THROW(c.Text(ControlId::ComboBox1) = "x", std::logic_error);
    EXPECT_THROW(c.Checked(ControlId::RadioGroup1) = true, std::logic_error);
    EXPECT_EQ(c, DialogControls());
    const DialogControls& view = c;
    EXPECT_THROW(view.Index(ControlId::Edit1), std::logic_error);
    EXPECT_THROW(view.Text(ControlId::ComboBox1), std::logic_error);
    EXPECT_THROW(view.Checked(ControlId::Edit1), std::logic_error);
}

TEST(DialogControls, EqualityLooksAtEveryControl) {
    for (const ControlInfo& info : ControlTable()) {
        DialogControls changed;
        switch (info.kind) {
            case ControlKind::Edit:
                changed.Text(info.id) += "x";
                break;
            case ControlKind::CheckBox:
                changed.Checked(info.id) = true;
                break;
            default:
                changed.Index(info.id) += 1;
                break;
        }
        EXPECT_NE(changed, DialogControls()) << info.name;
    }
    DialogControls filled;
    filled.ComboBox3Items.push_back("x");
    EXPECT_NE(filled, DialogControls());
}

// Full-width Ａ (0x82 0x60) and ソ, whose second byte is the backslash 0x5C.
const std::string kA = "\x82\x60";
const std::string kSo = "\x83\x5c";

TEST(LimitTyped, KeepsWholeCharactersWithinTheLimit) {
    struct Row {
        std::string text;
        int limit;
        std::string expected;
    };
    const std::vector<Row> rows = {
        {"12345678", 8, "12345678"},
        {"123456789", 8, "12345678"},
        {"1234567" + kA, 8, "1234567"},  // Ａ would straddle the limit
        {"123456" + kA, 8, "123456" + kA},
        {kSo + kSo + kSo, 5, kSo + kSo},
        {kA + "1" + kA, 3, kA + "1"},
        {"", 8, ""},
        {"abc", 0, "abc"},  // no limit
        {"abc", -1, "abc"},
        {"ab\x82", 3, "ab\x82"},  // a lead byte at the end stands alone
        {"ab\x82", 2, "ab"},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(LimitTyped(rows[i].text, rows[i].limit), rows[i].expected) << "row " << i;
    }
    std::string full;
    for (int i = 0; i < 17; ++i) full += kA;
    EXPECT_EQ(LimitTyped(full, 32).size(), 32u);
}

TEST(ApplyTypingLimit, CutsOnlyWhatWasTyped) {
    struct Row {
        const char* what;
        std::string before;
        std::string after;
        int limit;
        std::string expected;
    };
    const std::string loaded = "12345678901234567890";  // 20 bytes, set by the program
    const std::vector<Row> rows = {
        {"fits", "1234567", "12345678", 8, "12345678"},
        {"one too many", "12345678", "123456789", 8, "12345678"},
        {"paste cut", "12", "12abcdefgh", 8, "12abcdef"},
        {"insert in the middle", "1234", "12ABCDEF34", 8, "12ABCD34"},
        {"two-byte does not fit", "1234567", "1234567" + kA, 8, "1234567"},
        {"two-byte inserted before two-byte", kA + kA + kA, kA + kSo + kA + kA, 7, kA + kA + kA},
        {"two-byte fits", "123456", "123456" + kA, 8, "123456" + kA},
        {"loaded text takes no more typing", loaded, loaded + "x", 16, loaded},
        {"loaded text can be shortened", loaded, loaded.substr(1), 16, loaded.substr(1)},
        {"loaded text, selection replaced by a longer one", "abcdefghij", "abcXYZdefghij", 8,
         "abcdefghij"},
        {"no limit", "", "anything at all", 0, "anything at all"},
        {"repeated characters", "aaaa", "aaaaaaa", 6, "aaaaaa"},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(ApplyTypingLimit(rows[i].before, rows[i].after, rows[i].limit), rows[i].expected)
            << "row " << i << ": " << rows[i].what;
    }
}

// The edit rules the dialog and dovarin-batch share: refused whole, cut, or taken.
TEST(ApplyEdit, RefusesWholeOrCutsAtTheLimit) {
    using O = EditOutcome;
    struct Row {
        const char* what;
        std::string before;
        std::optional<std::string> after;
        int limit;
        O outcome;
        std::string expected;
    };
    const std::vector<Row> rows = {
        {"typed", "1", "12", 8, O::Taken, "12"},
        {"deleted", "12", "2", 8, O::Taken, "2"},
        {"pasted, cut in bytes", "", "1234567" + kA, 8, O::Cut, "1234567"},
        {"two-byte characters", kA, kA + kSo + kA, 6, O::Taken, kA + kSo + kA},
        {"a tab typed", "12", "1\t2", 8, O::RefusedControlChar, "12"},
        {"a pasted line end", "", "3\r\n4", 8, O::RefusedControlChar, ""},
        {"DEL", "ab", "ab\x7f", 8, O::RefusedControlChar, "ab"},
        {"a control byte past the limit", "", "12345678\x1a", 8, O::RefusedControlChar, ""},
        {"no code page 932 form", kA, std::nullopt, 32, O::RefusedCodePage, kA},
        {"a loaded long text takes no more", "1234567890", "12345678901", 8, O::Cut, "1234567890"},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const EditResult got = ApplyEdit(rows[i].before, rows[i].after, rows[i].limit);
        EXPECT_EQ(got.Outcome, rows[i].outcome) << "row " << i << ": " << rows[i].what;
        EXPECT_EQ(got.Text, rows[i].expected) << "row " << i << ": " << rows[i].what;
    }
}

}  // namespace
}  // namespace dovarin
