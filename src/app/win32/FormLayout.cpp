#include "app/win32/FormLayout.h"

namespace dovarin::win32 {
namespace {

using W = Widget;
using C = ControlId;

// The usage notes of Memo1, one line each: the memo does not wrap.
constexpr const wchar_t* kUsageNotes =
    L"【ご注意】\r\n"
    L"・この画面の設定は、\r\n"
    L"　水平・垂直などの寸法線\r\n"
    L"　の設定とは別に保存・呼\r\n"
    L"　び出しされ、共有されま\r\n"
    L"　せん。\r\n"
    L"・寸法線を１本追加作図\r\n"
    L"　します。寸法値は寸法線\r\n"
    L"　から離れた位置に書き、\r\n"
    L"　引出線で結びます。\r\n"
    L"・寸法値の前後には、「寸\r\n"
    L"　法値と水平線との距離」\r\n"
    L"　と同じ長さの余白が付き\r\n"
    L"　ます。\r\n"
    L"・ブロック内の図形は処理\r\n"
    L"　できません。ＣＡＤのブ\r\n"
    L"　ロック編集中に使うとき\r\n"
    L"　は、このプログラムをＣ\r\n"
    L"　ＡＤのインストールフォ\r\n"
    L"　ルダに置く必要がある場\r\n"
    L"　合があります。";

// In z-order, which is the tab order of the inputs: a screen reader names an input after the
// window just before it, so each input's label comes right before it, and each radio group's
// group box before its buttons.
const std::vector<FormControl> kFormControls = {
    {1101, W::Label, 8, 8, 0, 0, L"始点", C::ComboBox1},
    {1001, W::DropDownList, 48, 4, 81, 21, nullptr, C::ComboBox1},
    {1102, W::Label, 8, 32, 0, 0, L"終点", C::ComboBox2},
    {1002, W::DropDownList, 48, 28, 81, 21, nullptr, C::ComboBox2},
    {1103, W::SmallLabel, 8, 52, 0, 0, L"（線矢印）", std::nullopt},
    {1104, W::Label, 8, 68, 0, 0, L"長さ", C::Edit7},
    {1017, W::Edit, 48, 64, 33, 21, nullptr, C::Edit7},
    {1105, W::Label, 88, 68, 0, 0, L"図寸mm", std::nullopt},
    {1106, W::Label, 8, 92, 0, 0, L"角度", C::Edit8},
    {1018, W::Edit, 48, 88, 33, 21, nullptr, C::Edit8},
    {1107, W::Label, 88, 92, 0, 0, L"°", std::nullopt},
    {1108, W::Label, 8, 116, 0, 0, L"端点倍率", C::Edit1},
    {1011, W::Edit, 72, 112, 57, 21, nullptr, C::Edit1},
    {1109, W::Label, 128, 116, 0, 0, L"（点マーカ　線矢印を除く）", std::nullopt},
    {1110, W::Label, 136, 8, 0, 0, L"寸法値の文字種", C::ComboBox3},
    {1003, W::DropDownList, 136, 28, 169, 21, nullptr, C::ComboBox3},
    {1111, W::Label, 136, 60, 0, 0, L"接頭文字", C::Edit2},
    {1012, W::Edit, 200, 56, 105, 21, nullptr, C::Edit2},
    {1112, W::Label, 136, 84, 0, 0, L"接尾文字", C::Edit3},
    {1013, W::Edit, 200, 80, 105, 21, nullptr, C::Edit3},
    {1113, W::Label, 8, 140, 0, 0, L"寸法値の精度", C::ComboBox4},
    {1004, W::DropDownList, 200, 136, 105, 21, nullptr, C::ComboBox4},
    {1114, W::Label, 8, 164, 0, 0, L"寸法値の丸め", C::ComboBox5},
    {1005, W::DropDownList, 200, 160, 105, 21, nullptr, C::ComboBox5},
    {1021, W::GroupBox, 8, 184, 145, 41, L"小数点以下の０表示", C::RadioGroup1},
    {1031, W::RadioButton, 16, 201, 64, 17, L"無", C::RadioGroup1},
    {1032, W::RadioButton, 80, 201, 64, 17, L"有", C::RadioGroup1},
    {1022, W::GroupBox, 160, 184, 145, 41, L"寸法値の単位", C::RadioGroup2},
    {1033, W::RadioButton, 168, 201, 64, 17, L"mm", C::RadioGroup2},
    {1034, W::RadioButton, 232, 201, 64, 17, L"ｍ", C::RadioGroup2},
    {1041, W::CheckBox, 8, 232, 145, 17, L"３桁毎カンマ付加", C::CheckBox1},
    {1042, W::CheckBox, 152, 232, 105, 17, L"単位の付加", C::CheckBox2},
    {1043, W::CheckBox, 256, 232, 129, 17, L"寸法値を全角化", C::CheckBox3},
    {1044, W::CheckBox, 384, 232, 105, 17, L"寸法図形化", C::CheckBox4},
    {1115, W::Label, 8, 256, 0, 0, L"寸法値と水平線との距離", C::Edit4},
    {1014, W::Edit, 200, 252, 57, 21, nullptr, C::Edit4},
    {1119, W::Label, 264, 256, 0, 0, L"図寸mm", std::nullopt},
    {1116, W::Label, 8, 280, 0, 0, L"計測点と寸法補助線の距離", C::Edit5},
    {1015, W::Edit, 200, 276, 57, 21, nullptr, C::Edit5},
    {1120, W::Label, 264, 280, 0, 0, L"図寸mm", std::nullopt},
    {1117, W::Label, 8, 304, 0, 0, L"寸法補助線のはみ出し距離", C::Edit6},
    {1016, W::Edit, 200, 300, 57, 21, nullptr, C::Edit6},
    {1121, W::Label, 264, 304, 0, 0, L"図寸mm", std::nullopt},
    {1118, W::Label, 8, 328, 0, 0, L"逆矢印の寸法はみだし距離", C::Edit9},
    {1019, W::Edit, 200, 324, 57, 21, nullptr, C::Edit9},
    {1122, W::Label, 264, 328, 0, 0, L"図寸mm", std::nullopt},
    {kButton1Id, W::DefaultButton, 360, 264, 137, 33, L"ＯＫ(&Y)", std::nullopt},
    {kButton2Id, W::CancelButton, 360, 312, 137, 33, L"キャンセル(&N)", std::nullopt},
    // Outside the tab order.
    {kMemo1Id, W::Memo, 312, 0, 193, 225, kUsageNotes, std::nullopt},
    {kLabelA1Id, W::Status, 0, kClientHeight - 24, kClientWidth, 24, L"　", std::nullopt},
};

}  // namespace

const std::vector<FormControl>& FormControls() {
    return kFormControls;
}

const FormControl* FindFormControl(int id) {
    for (const FormControl& row : kFormControls) {
        if (row.id == id) return &row;
    }
    return nullptr;
}

bool IsLabel(Widget widget) {
    return widget == Widget::Label || widget == Widget::SmallLabel;
}

int WinIdOf(ControlId control) {
    for (const FormControl& row : kFormControls) {
        const bool shows = row.widget != Widget::RadioButton && !IsLabel(row.widget);
        if (row.control == control && shows) return row.id;
    }
    return 0;  // unreachable: every input control has a row
}

std::vector<int> RadioButtonIds(ControlId group) {
    std::vector<int> ids;
    for (const FormControl& row : kFormControls) {
        if (row.control == group && row.widget == Widget::RadioButton) ids.push_back(row.id);
    }
    return ids;
}

}  // namespace dovarin::win32
