#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/Settings.h"

namespace dovarin {
namespace {

// The form's defaults with ComboBox3 filled and selected: every check passes.
DialogControls ValidControls() {
    DialogControls c;
    c.ComboBox3Items.assign(11, "No");
    c.ComboBox3 = 0;
    return c;
}

struct FocusCase {
    const char* what;
    std::function<void(DialogControls&)> change;
    std::optional<ControlId> focus;  // nullopt: OK passes
};

TEST(ValidateDialog, FirstInvalidControlReceivesTheFocus) {
    const std::vector<FocusCase> cases = {
        {"form defaults, ComboBox3 selected", [](DialogControls&) {}, std::nullopt},
        {"ComboBox3 never selected", [](DialogControls& c) { c.ComboBox3 = kNoSelection; },
         ControlId::ComboBox3},
        {"ComboBox3 not filled yet", [](DialogControls& c) { c.ComboBox3Items.clear(); },
         ControlId::ComboBox3},
        {"ComboBox1 no selection", [](DialogControls& c) { c.ComboBox1 = kNoSelection; },
         ControlId::ComboBox1},
        {"ComboBox2 no selection", [](DialogControls& c) { c.ComboBox2 = kNoSelection; },
         ControlId::ComboBox2},
        {"ComboBox1 last marker", [](DialogControls& c) { c.ComboBox1 = 11; }, std::nullopt},
        {"ComboBox1 past the markers", [](DialogControls& c) { c.ComboBox1 = 12; },
         ControlId::ComboBox1},
        {"ComboBox3 past the items", [](DialogControls& c) { c.ComboBox3 = 11; },
         ControlId::ComboBox3},
        {"ComboBox3 last item", [](DialogControls& c) { c.ComboBox3 = 10; }, std::nullopt},
        {"ComboBox4 past the items", [](DialogControls& c) { c.ComboBox4 = 9; },
         ControlId::ComboBox4},
        {"ComboBox5 negative", [](DialogControls& c) { c.ComboBox5 = -5; }, ControlId::ComboBox5},
        {"RadioGroup1 past the buttons", [](DialogControls& c) { c.RadioGroup1 = 2; },
         ControlId::RadioGroup1},
        {"RadioGroup2 no selection", [](DialogControls& c) { c.RadioGroup2 = kNoSelection; },
         ControlId::RadioGroup2},
        {"Edit1 letters", [](DialogControls& c) { c.Edit1 = "abc"; }, ControlId::Edit1},
        {"Edit1 zero", [](DialogControls& c) { c.Edit1 = "0"; }, ControlId::Edit1},
        {"Edit1 empty", [](DialogControls& c) { c.Edit1 = ""; }, ControlId::Edit1},
        {"Edit1 small", [](DialogControls& c) { c.Edit1 = "0.001"; }, std::nullopt},
        {"Edit7 at 1000", [](DialogControls& c) { c.Edit7 = "1000"; }, std::nullopt},
        {"Edit7 above 1000", [](DialogControls& c) { c.Edit7 = "1000.001"; }, ControlId::Edit7},
        {"Edit7 zero", [](DialogControls& c) { c.Edit7 = "0"; }, ControlId::Edit7},
        {"Edit7 negative", [](DialogControls& c) { c.Edit7 = "-3"; }, ControlId::Edit7},
        {"Edit8 at 179.999", [](DialogControls& c) { c.Edit8 = "179.999"; }, std::nullopt},
        {"Edit8 at 180", [](DialogControls& c) { c.Edit8 = "180"; }, ControlId::Edit8},
        {"Edit8 zero", [](DialogControls& c) { c.Edit8 = "0"; }, ControlId::Edit8},
        {"Edit8 tiny", [](DialogControls& c) { c.Edit8 = "1e-9"; }, std::nullopt},
        {"Edit5 letters read as 0", [](DialogControls& c) { c.Edit5 = "abc"; }, std::nullopt},
        {"Edit5 zero", [](DialogControls& c) { c.Edit5 = "0"; }, std::nullopt},
        {"Edit5 negative", [](DialogControls& c) { c.Edit5 = "-0.1"; }, ControlId::Edit5},
        {"Edit6 negative", [](DialogControls& c) { c.Edit6 = "-1"; }, ControlId::Edit6},
        {"Edit9 negative", [](DialogControls& c) { c.Edit9 = "-1"; }, ControlId::Edit9},
        {"Edit4 never checked", [](DialogControls& c) { c.Edit4 = "-1"; }, std::nullopt},
        {"Edit4 letters", [](DialogControls& c) { c.Edit4 = "x"; }, std::nullopt},
        {"Edit8 and Edit5 invalid: Edit8 first",
         [](DialogControls& c) {
             c.Edit8 = "200";
             c.Edit5 = "-2";
         },
         ControlId::Edit8},
        {"Edit5 and ComboBox3 invalid: ComboBox3 first",
         [](DialogControls& c) {
             c.Edit5 = "-2";
             c.ComboBox3 = kNoSelection;
         },
         ControlId::ComboBox3},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        DialogControls c = ValidControls();
        cases[i].change(c);
        DimensionSettings settings;
        ControlId focus = ControlId::CheckBox4;
        const bool ok = ValidateDialog(c, settings, focus);
        EXPECT_EQ(ok, !cases[i].focus.has_value()) << "row " << i << ": " << cases[i].what;
        if (!ok && cases[i].focus) {
            EXPECT_EQ(focus, *cases[i].focus) << "row " << i << ": " << cases[i].what;
        }
    }
}

// With every control invalid, each OK names the next control in the fixed order once the user
// has corrected the previous one.
TEST(ValidateDialog, CorrectingOneFieldAtATimeWalksTheOrder) {
    DialogControls c = ValidControls();
    for (ControlId id :
         {ControlId::ComboBox1, ControlId::ComboBox2, ControlId::ComboBox3, ControlId::ComboBox4,
          ControlId::ComboBox5, ControlId::RadioGroup1, ControlId::RadioGroup2}) {
        c.Index(id) = kNoSelection;
    }
    for (ControlId id : {ControlId::Edit1, ControlId::Edit7, ControlId::Edit8}) c.Text(id) = "0";
    for (ControlId id : {ControlId::Edit5, ControlId::Edit6, ControlId::Edit9}) c.Text(id) = "-1";

    const ControlId order[] = {
        ControlId::ComboBox1,   ControlId::ComboBox2,   ControlId::Edit1,     ControlId::Edit7,
        ControlId::Edit8,       ControlId::ComboBox3,   ControlId::ComboBox4, ControlId::ComboBox5,
        ControlId::RadioGroup1, ControlId::RadioGroup2, ControlId::Edit5,     ControlId::Edit6,
        ControlId::Edit9,
    };
    const DialogControls valid = ValidControls();
    for (std::size_t i = 0; i < std::size(order); ++i) {
        DimensionSettings settings;
        ControlId focus = ControlId::CheckBox4;
        ASSERT_FALSE(ValidateDialog(c, settings, focus)) << "step " << i;
        ASSERT_EQ(focus, order[i]) << "step " << i;
        if (GetControlInfo(focus).kind == ControlKind::Edit) {
            c.Text(focus) = valid.Text(focus);
        } else {
            c.Index(focus) = valid.Index(focus);
        }
    }
    DimensionSettings settings;
    ControlId focus = ControlId::CheckBox4;
    EXPECT_TRUE(ValidateDialog(c, settings, focus));
}

TEST(ValidateDialog, FillsEveryField) {
    DialogControls c = ValidControls();
    c.ComboBox1 = 11;
    c.ComboBox2 = 4;
    c.Edit1 = "1.5";
    c.Edit7 = "2.5";
    c.Edit8 = "30";
    c.ComboBox3 = 7;
    c.Edit2 = "L=";
    c.Edit3 = "mm";
    c.ComboBox4 = 0;
    c.ComboBox5 = 1;
    c.RadioGroup1 = 1;
    c.RadioGroup2 = 1;
    c.CheckBox1 = true;
    c.CheckBox3 = true;
    c.Edit4 = "-1";
    c.Edit5 = "abc";
    c.Edit6 = "4";
    c.Edit9 = "6.25";

    DimensionSettings s;
    ControlId focus = ControlId::CheckBox4;
    ASSERT_TRUE(ValidateDialog(c, s, focus));
    EXPECT_EQ(s.StartMarker, 11);
    EXPECT_EQ(s.EndMarker, 4);
    EXPECT_EQ(s.EndPointScale, 1.5);
    EXPECT_EQ(s.ArrowLength, 2.5);
    EXPECT_EQ(s.ArrowAngle, 30);
    EXPECT_EQ(s.ValueTextType, 7);
    EXPECT_EQ(s.Prefix, "L=");
    EXPECT_EQ(s.Suffix, "mm");
    EXPECT_EQ(s.Precision, 0);
    EXPECT_EQ(s.Rounding, 1);
    EXPECT_EQ(s.ShowZeros, 1);
    EXPECT_EQ(s.Unit, 1);
    EXPECT_TRUE(s.ThousandsCommas);
    EXPECT_FALSE(s.AppendUnit);
    EXPECT_TRUE(s.FullWidth);
    EXPECT_FALSE(s.DimensionFigure);
    EXPECT_EQ(s.ValueGap, -1);
    EXPECT_EQ(s.PointGap, 0);
    EXPECT_EQ(s.ExtensionOvershoot, 4);
    EXPECT_EQ(s.ReverseOvershoot, 6.25);
}

TEST(ValidateDialog, FailureLeavesTheSettingsAlone) {
    DialogControls c = ValidControls();
    c.Edit2 = "P";
    c.Edit9 = "-1";
    DimensionSettings s;
    s.Prefix = "before";
    ControlId focus = ControlId::CheckBox4;
    ASSERT_FALSE(ValidateDialog(c, s, focus));
    EXPECT_EQ(s.Prefix, "before");
}

TEST(ValidateDialog, BlankPrefixAndSuffixBecomeEmpty) {
    struct Row {
        std::string typed;
        std::string used;
    };
    const std::vector<Row> rows = {
        {"", ""},
        {" ", ""},
        {"   ", ""},
        {"\x81\x40\x81\x40", ""},  // two full-width blanks
        {" \x81\x40\t", ""},       // mixed blanks and a control byte
        {" A", " A"},              // a real text keeps its blanks
        {"A ", "A "},
        {"\x81\x40"
         "A",
         "\x81\x40"
         "A"},                     // full-width blank before A
        {"\x82\x60", "\x82\x60"},  // Ａ
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        DialogControls c = ValidControls();
        c.Edit2 = rows[i].typed;
        c.Edit3 = rows[i].typed;
        DimensionSettings s;
        ControlId focus = ControlId::CheckBox4;
        ASSERT_TRUE(ValidateDialog(c, s, focus)) << "row " << i;
        EXPECT_EQ(s.Prefix, rows[i].used) << "row " << i;
        EXPECT_EQ(s.Suffix, rows[i].used) << "row " << i;
    }
}

}  // namespace
}  // namespace dovarin
