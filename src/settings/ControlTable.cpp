// The control table's rows. Each row reads left to right as the control is made: its names,
// where its state is kept, its kind and typing limit, its caption, then its windows in z-order.
#include "settings/ControlTable.h"

#include "settings/Settings.h"

namespace dovarin {
namespace {

using C = ControlId;
using K = ControlKind;
using DC = DialogControls;

// Typing limits in bytes of code page 932.
constexpr int kShortEditLimit = 8;    // arrow length and angle
constexpr int kNumberEditLimit = 16;  // the other numbers
constexpr int kTextEditLimit = 32;    // prefix and suffix

constexpr int kInputHeight = 21;   // a drop-down list's closed box, an edit
constexpr int kButtonHeight = 17;  // a radio button, a check box

constexpr ControlField Index(int DC::*field) {
    return {field, nullptr, nullptr};
}
constexpr ControlField Text(std::string DC::*field) {
    return {nullptr, field, nullptr};
}
constexpr ControlField Checked(bool DC::*field) {
    return {nullptr, nullptr, field};
}

// A label shows the caption of the control it belongs to; a note its own text.
constexpr WindowRow Label(int id, int left, int top) {
    return {id, Widget::Label, left, top, 0, 0};
}
constexpr WindowRow Note(int id, int left, int top, const char* text,
                         Widget widget = Widget::Label) {
    return {id, widget, left, top, 0, 0, text};
}
constexpr WindowRow List(int id, int left, int top, int width) {
    return {id, Widget::DropDownList, left, top, width, kInputHeight};
}
constexpr WindowRow EditBox(int id, int left, int top, int width) {
    return {id, Widget::Edit, left, top, width, kInputHeight};
}
constexpr WindowRow Group(int id, int left, int top) {
    return {id, Widget::GroupBox, left, top, 145, 41};
}
constexpr WindowRow Radio(int id, int left, int top, const char* text) {
    return {id, Widget::RadioButton, left, top, 64, kButtonHeight, text};
}
constexpr WindowRow Box(int id, int left, int top, int width) {
    return {id, Widget::CheckBox, left, top, width, kButtonHeight};
}

constexpr const char* kPaperMm = "\x90\x7d\x90\xa1mm";  // 図寸mm

// In tab order. One row per control, kept on its own few lines.
// clang-format off
const std::vector<ControlInfo> kControlTable = {
    // 始点
    {C::ComboBox1, "ComboBox1", Index(&DC::ComboBox1), K::ComboBox, 0, false, 3, "\x8e\x6e\x93\x5f",
     Label(1101, 8, 8), List(1001, 48, 4, 81), {}, {}},
    // 終点, （線矢印）
    {C::ComboBox2, "ComboBox2", Index(&DC::ComboBox2), K::ComboBox, 0, false, 4, "\x8f\x49\x93\x5f",
     Label(1102, 8, 32), List(1002, 48, 28, 81), {},
     Note(1103, 8, 52, "\x81\x69\x90\xfc\x96\xee\x88\xf3\x81\x6a", Widget::SmallLabel)},
    // 長さ
    {C::Edit7, "Edit7", Text(&DC::Edit7), K::Edit, kShortEditLimit, false, 14, "\x92\xb7\x82\xb3",
     Label(1104, 8, 68), EditBox(1017, 48, 64, 33), {}, Note(1105, 88, 68, kPaperMm)},
    // 角度, °
    {C::Edit8, "Edit8", Text(&DC::Edit8), K::Edit, kShortEditLimit, false, 15, "\x8a\x70\x93\x78",
     Label(1106, 8, 92), EditBox(1018, 48, 88, 33), {}, Note(1107, 88, 92, "\x81\x8b")},
    // 端点倍率, （点マーカ　線矢印を除く）
    {C::Edit1, "Edit1", Text(&DC::Edit1), K::Edit, kNumberEditLimit, false, 8,
     "\x92\x5b\x93\x5f\x94\x7b\x97\xa6", Label(1108, 8, 116), EditBox(1011, 72, 112, 57), {},
     Note(1109, 128, 116, "\x81\x69\x93\x5f\x83\x7d\x81\x5b\x83\x4a\x81\x40"
                          "\x90\xfc\x96\xee\x88\xf3\x82\xf0\x8f\x9c\x82\xad\x81\x6a")},
    // 寸法値の文字種
    {C::ComboBox3, "ComboBox3", Index(&DC::ComboBox3), K::ComboBox, 0, false, 5,
     "\x90\xa1\x96\x40\x92\x6c\x82\xcc\x95\xb6\x8e\x9a\x8e\xed", Label(1110, 136, 8),
     List(1003, 136, 28, 169), {}, {}},
    // 接頭文字
    {C::Edit2, "Edit2", Text(&DC::Edit2), K::Edit, kTextEditLimit, true, 9,
     "\x90\xda\x93\xaa\x95\xb6\x8e\x9a", Label(1111, 136, 60), EditBox(1012, 200, 56, 105), {}, {}},
    // 接尾文字
    {C::Edit3, "Edit3", Text(&DC::Edit3), K::Edit, kTextEditLimit, true, 10,
     "\x90\xda\x94\xf6\x95\xb6\x8e\x9a", Label(1112, 136, 84), EditBox(1013, 200, 80, 105), {}, {}},
    // 寸法値の精度
    {C::ComboBox4, "ComboBox4", Index(&DC::ComboBox4), K::ComboBox, 0, false, 6,
     "\x90\xa1\x96\x40\x92\x6c\x82\xcc\x90\xb8\x93\x78", Label(1113, 8, 140),
     List(1004, 200, 136, 105), {}, {}},
    // 寸法値の丸め
    {C::ComboBox5, "ComboBox5", Index(&DC::ComboBox5), K::ComboBox, 0, false, 7,
     "\x90\xa1\x96\x40\x92\x6c\x82\xcc\x8a\xdb\x82\xdf", Label(1114, 8, 164),
     List(1005, 200, 160, 105), {}, {}},
    // 小数点以下の０表示, 無, 有
    {C::RadioGroup1, "RadioGroup1", Index(&DC::RadioGroup1), K::RadioGroup, 0, false, 17,
     "\x8f\xac\x90\x94\x93\x5f\x88\xc8\x89\xba\x82\xcc\x82\x4f\x95\x5c\x8e\xa6", {},
     Group(1021, 8, 184), {Radio(1031, 16, 201, "\x96\xb3"), Radio(1032, 80, 201, "\x97\x4c")}, {}},
    // 寸法値の単位, mm, ｍ
    {C::RadioGroup2, "RadioGroup2", Index(&DC::RadioGroup2), K::RadioGroup, 0, false, 18,
     "\x90\xa1\x96\x40\x92\x6c\x82\xcc\x92\x50\x88\xca", {}, Group(1022, 160, 184),
     {Radio(1033, 168, 201, "mm"), Radio(1034, 232, 201, "\x82\x8d")}, {}},
    // ３桁毎カンマ付加
    {C::CheckBox1, "CheckBox1", Checked(&DC::CheckBox1), K::CheckBox, 0, false, 19,
     "\x82\x52\x8c\x85\x96\x88\x83\x4a\x83\x93\x83\x7d\x95\x74\x89\xc1", {}, Box(1041, 8, 232, 145),
     {}, {}},
    // 単位の付加
    {C::CheckBox2, "CheckBox2", Checked(&DC::CheckBox2), K::CheckBox, 0, false, 20,
     "\x92\x50\x88\xca\x82\xcc\x95\x74\x89\xc1", {}, Box(1042, 152, 232, 105), {}, {}},
    // 寸法値を全角化
    {C::CheckBox3, "CheckBox3", Checked(&DC::CheckBox3), K::CheckBox, 0, false, 21,
     "\x90\xa1\x96\x40\x92\x6c\x82\xf0\x91\x53\x8a\x70\x89\xbb", {}, Box(1043, 256, 232, 129), {},
     {}},
    // 寸法図形化
    {C::CheckBox4, "CheckBox4", Checked(&DC::CheckBox4), K::CheckBox, 0, false, 22,
     "\x90\xa1\x96\x40\x90\x7d\x8c\x60\x89\xbb", {}, Box(1044, 384, 232, 105), {}, {}},
    // 寸法値と水平線との距離
    {C::Edit4, "Edit4", Text(&DC::Edit4), K::Edit, kNumberEditLimit, false, 11,
     "\x90\xa1\x96\x40\x92\x6c\x82\xc6\x90\x85\x95\xbd\x90\xfc\x82\xc6\x82\xcc\x8b\x97\x97\xa3",
     Label(1115, 8, 256), EditBox(1014, 200, 252, 57), {}, Note(1119, 264, 256, kPaperMm)},
    // 計測点と寸法補助線の距離
    {C::Edit5, "Edit5", Text(&DC::Edit5), K::Edit, kNumberEditLimit, false, 12,
     "\x8c\x76\x91\xaa\x93\x5f\x82\xc6\x90\xa1\x96\x40"
     "\x95\xe2\x8f\x95\x90\xfc\x82\xcc\x8b\x97\x97\xa3",
     Label(1116, 8, 280), EditBox(1015, 200, 276, 57), {}, Note(1120, 264, 280, kPaperMm)},
    // 寸法補助線のはみ出し距離
    {C::Edit6, "Edit6", Text(&DC::Edit6), K::Edit, kNumberEditLimit, false, 13,
     "\x90\xa1\x96\x40\x95\xe2\x8f\x95\x90\xfc\x82\xcc"
     "\x82\xcd\x82\xdd\x8f\x6f\x82\xb5\x8b\x97\x97\xa3",
     Label(1117, 8, 304), EditBox(1016, 200, 300, 57), {}, Note(1121, 264, 304, kPaperMm)},
    // 逆矢印の寸法はみだし距離
    {C::Edit9, "Edit9", Text(&DC::Edit9), K::Edit, kNumberEditLimit, false, 16,
     "\x8b\x74\x96\xee\x88\xf3\x82\xcc\x90\xa1\x96\x40"
     "\x82\xcd\x82\xdd\x82\xbe\x82\xb5\x8b\x97\x97\xa3",
     Label(1118, 8, 328), EditBox(1019, 200, 324, 57), {}, Note(1122, 264, 328, kPaperMm)},
};
// clang-format on

// The usage notes of Memo1, one line each: the memo does not wrap. They read:
//     【ご注意】
//     ・この画面の設定は、
//     　水平・垂直などの寸法線
//     　の設定とは別に保存・呼
//     　び出しされ、共有されま
//     　せん。
//     ・寸法線を１本追加作図
//     　します。寸法値は寸法線
//     　から離れた位置に書き、
//     　引出線で結びます。
//     ・寸法値の前後には、「寸
//     　法値と水平線との距離」
//     　と同じ長さの余白が付き
//     　ます。
//     ・ブロック内の図形は処理
//     　できません。ＣＡＤのブ
//     　ロック編集中に使うとき
//     　は、このプログラムをＣ
//     　ＡＤのインストールフォ
//     　ルダに置く必要がある場
//     　合があります。
constexpr const char* kUsageNotes =
    "\x81\x79\x82\xb2\x92\x8d\x88\xd3\x81\x7a\r\n"
    "\x81\x45\x82\xb1\x82\xcc\x89\xe6\x96\xca\x82\xcc\x90\xdd\x92\xe8\x82\xcd\x81\x41\r\n"
    "\x81\x40\x90\x85\x95\xbd\x81\x45\x90\x82\x92\xbc\x82\xc8\x82\xc7\x82\xcc\x90\xa1\x96\x40\x90"
    "\xfc\r\n"
    "\x81\x40\x82\xcc\x90\xdd\x92\xe8\x82\xc6\x82\xcd\x95\xca\x82\xc9\x95\xdb\x91\xb6\x81\x45\x8c"
    "\xc4\r\n"
    "\x81\x40\x82\xd1\x8f\x6f\x82\xb5\x82\xb3\x82\xea\x81\x41\x8b\xa4\x97\x4c\x82\xb3\x82\xea\x82"
    "\xdc\r\n"
    "\x81\x40\x82\xb9\x82\xf1\x81\x42\r\n"
    "\x81\x45\x90\xa1\x96\x40\x90\xfc\x82\xf0\x82\x50\x96\x7b\x92\xc7\x89\xc1\x8d\xec\x90\x7d\r\n"
    "\x81\x40\x82\xb5\x82\xdc\x82\xb7\x81\x42\x90\xa1\x96\x40\x92\x6c\x82\xcd\x90\xa1\x96\x40\x90"
    "\xfc\r\n"
    "\x81\x40\x82\xa9\x82\xe7\x97\xa3\x82\xea\x82\xbd\x88\xca\x92\x75\x82\xc9\x8f\x91\x82\xab\x81"
    "\x41\r\n"
    "\x81\x40\x88\xf8\x8f\x6f\x90\xfc\x82\xc5\x8c\x8b\x82\xd1\x82\xdc\x82\xb7\x81\x42\r\n"
    "\x81\x45\x90\xa1\x96\x40\x92\x6c\x82\xcc\x91\x4f\x8c\xe3\x82\xc9\x82\xcd\x81\x41\x81\x75\x90"
    "\xa1\r\n"
    "\x81\x40\x96\x40\x92\x6c\x82\xc6\x90\x85\x95\xbd\x90\xfc\x82\xc6\x82\xcc\x8b\x97\x97\xa3\x81"
    "\x76\r\n"
    "\x81\x40\x82\xc6\x93\xaf\x82\xb6\x92\xb7\x82\xb3\x82\xcc\x97\x5d\x94\x92\x82\xaa\x95\x74\x82"
    "\xab\r\n"
    "\x81\x40\x82\xdc\x82\xb7\x81\x42\r\n"
    "\x81\x45\x83\x75\x83\x8d\x83\x62\x83\x4e\x93\xe0\x82\xcc\x90\x7d\x8c\x60\x82\xcd\x8f\x88\x97"
    "\x9d\r\n"
    "\x81\x40\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x81\x42\x82\x62\x82\x60\x82\x63\x82\xcc\x83"
    "\x75\r\n"
    "\x81\x40\x83\x8d\x83\x62\x83\x4e\x95\xd2\x8f\x57\x92\x86\x82\xc9\x8e\x67\x82\xa4\x82\xc6\x82"
    "\xab\r\n"
    "\x81\x40\x82\xcd\x81\x41\x82\xb1\x82\xcc\x83\x76\x83\x8d\x83\x4f\x83\x89\x83\x80\x82\xf0\x82"
    "\x62\r\n"
    "\x81\x40\x82\x60\x82\x63\x82\xcc\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b\x83\x8b\x83\x74\x83"
    "\x48\r\n"
    "\x81\x40\x83\x8b\x83\x5f\x82\xc9\x92\x75\x82\xad\x95\x4b\x97\x76\x82\xaa\x82\xa0\x82\xe9\x8f"
    "\xea\r\n"
    "\x81\x40\x8d\x87\x82\xaa\x82\xa0\x82\xe8\x82\xdc\x82\xb7\x81\x42";

// ＯＫ(&Y), キャンセル(&N), and the status label's one full-width space.
const std::vector<WindowRow> kFormOwnWindows = {
    {kButton1Id, Widget::DefaultButton, 360, 264, 137, 33, "\x82\x6e\x82\x6a(&Y)"},
    {kButton2Id, Widget::CancelButton, 360, 312, 137, 33,
     "\x83\x4c\x83\x83\x83\x93\x83\x5a\x83\x8b(&N)"},
    // Outside the tab order.
    {kMemo1Id, Widget::Memo, 312, 0, 193, 225, kUsageNotes, Fill::Memo},
    {kLabelA1Id, Widget::Status, 0, kClientHeight - 24, kClientWidth, 24, "\x81\x40", Fill::Status},
};

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

const std::vector<WindowRow>& FormOwnWindows() {
    return kFormOwnWindows;
}

}  // namespace dovarin
