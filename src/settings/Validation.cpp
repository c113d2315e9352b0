// The OK checks. They run in a fixed order and the first failure only moves the focus: the user
// corrects one field at a time, in the order the dialog has always asked for them.
#include "settings/Settings.h"
#include "util/MyFunc.h"

namespace dovarin {
namespace {

// An empty or unreadable number reads as 0: it fails the checks for a value above 0 and passes
// those for a value of at least 0.
double Number(const DialogControls& c, ControlId id) {
    return StrToFloatOrZero(c.Text(id));
}

bool Selected(const DialogControls& c, ControlId id) {
    return c.HasSelection(id);
}
bool Positive(const DialogControls& c, ControlId id) {
    return Number(c, id) > 0;
}
bool NotNegative(const DialogControls& c, ControlId id) {
    return Number(c, id) >= 0;
}

bool ArrowLengthValid(const DialogControls& c, ControlId id) {
    const double v = Number(c, id);
    return v > 0 && v <= kMaxArrowLength;
}

bool ArrowAngleValid(const DialogControls& c, ControlId id) {
    const double v = Number(c, id);
    return v > 0 && v < kArrowAngleLimit;
}

struct Check {
    ControlId id;
    bool (*valid)(const DialogControls&, ControlId);
};

// The order decides which control receives the focus.
const Check kChecks[] = {
    {ControlId::ComboBox1, Selected},    {ControlId::ComboBox2, Selected},
    {ControlId::Edit1, Positive},        {ControlId::Edit7, ArrowLengthValid},
    {ControlId::Edit8, ArrowAngleValid}, {ControlId::ComboBox3, Selected},
    {ControlId::ComboBox4, Selected},    {ControlId::ComboBox5, Selected},
    {ControlId::RadioGroup1, Selected},  {ControlId::RadioGroup2, Selected},
    {ControlId::Edit5, NotNegative},     {ControlId::Edit6, NotNegative},
    {ControlId::Edit9, NotNegative},
};

// A prefix or suffix of nothing but blanks is no prefix at all; any other is used as typed.
std::string UnlessBlank(const std::string& text) {
    return IsBlank(text) ? std::string() : text;
}

DimensionSettings SettingsOf(const DialogControls& c) {
    DimensionSettings s;
    s.StartMarker = c.ComboBox1;
    s.EndMarker = c.ComboBox2;
    s.EndPointScale = Number(c, ControlId::Edit1);
    s.ArrowLength = Number(c, ControlId::Edit7);
    s.ArrowAngle = Number(c, ControlId::Edit8);
    s.ValueTextType = c.ComboBox3;
    s.Prefix = UnlessBlank(c.Edit2);
    s.Suffix = UnlessBlank(c.Edit3);
    s.Precision = c.ComboBox4;
    s.Rounding = c.ComboBox5;
    s.ShowZeros = c.RadioGroup1;
    s.Unit = c.RadioGroup2;
    s.ThousandsCommas = c.CheckBox1;
    s.AppendUnit = c.CheckBox2;
    s.FullWidth = c.CheckBox3;
    s.DimensionFigure = c.CheckBox4;
    s.ValueGap = Number(c, ControlId::Edit4);
    s.PointGap = Number(c, ControlId::Edit5);
    s.ExtensionOvershoot = Number(c, ControlId::Edit6);
    s.ReverseOvershoot = Number(c, ControlId::Edit9);
    return s;
}

}  // namespace

bool ValidateDialog(const DialogControls& controls, DimensionSettings& settings, ControlId& focus) {
    for (const Check& check : kChecks) {
        if (!check.valid(controls, check.id)) {
            focus = check.id;
            return false;
        }
    }
    settings = SettingsOf(controls);
    return true;
}

}  // namespace dovarin
