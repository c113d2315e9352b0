// The reader of JWC_TEMP.TXT: the host's parameters, attributes, reference points and picked
// entities, one record per line, into HostState.
//
// A file as the host writes it (CR LF line ends, code page 932):
//
//   hq
//   hs 250 250 250 250 250 250 250 250 250 250 250 250 250 250 250 250   layer-group scales
//   hcw 2 2.5 3 4 5 6 7 8 9 6                                           text-type widths
//   hp3-  -90984.2577738658 21250.5480255399                             reference point 3
//   lg2                                                                  layer group 2 (hex digit)
//   cn"$<ＭＳ ゴシック>                                                   font name
//   z3                                                                   next entity: dimension
//   pl                                                                   a chain begins
//   0 0 100 0                                                            a line segment
//   100 0 100 50
//   #                                                                    the chain ends
//   msg                                                                  a dimension follows:
//   0 -10 100 -10                                                        its line, then
//   cs 45 -8 1 0 "100                                                    its value text
//
// Each line is cut into tokens (ExchangeTokens.cpp); token 0 is the key. The key and the token
// count T pick the first matching row of kDispatch below; a row whose key matches but whose
// count does not is passed over. Four tokens that no row above takes are a line segment, whatever
// the key ("hs 1 2 3" is the segment (0, 1)-(2, 3)); anything else unmatched is ignored. Numbers
// are read leniently: a malformed one is 0, and no record is ever rejected for it.
//
// Most records also move running state (current attributes, the chain, the "msg" marker) that
// the following records use, so the order of the lines matters.
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <type_traits>
#include <vector>

#include "exchange/ExchangeTokens.h"
#include "exchange/JwwGaibu.h"
#include "util/MyFunc.h"

namespace dovarin {
namespace {

namespace fs = std::filesystem;

using Tokens = LineTokens;

double Real(const Tokens& t, int i) {
    return StrToFloatOrZero(t[i]);
}
int Int(const Tokens& t, int i) {
    return StrToIntOrZero(t[i]);
}

// Texts of text records keep at most kMaxTextBytes bytes, cut before a character that would be
// split, so that the host never redraws half a character.
std::string CutText(std::string_view text) {
    if (text.size() <= kMaxTextBytes) return std::string(text);
    std::string piece;
    int count = 0;
    CopyCharsFrom(text, 1, static_cast<int>(kMaxTextBytes), piece, count);
    return piece;
}

// ---- attribute records -----------------------------------------------------------------------

void ClearChain() {
    HostState.Cur.InChain = false;
}

// The first value of an attribute is the host's own setting; every value is the current one.
void TakeAttribute(bool& firstPending, int& hostField, int& currentField, int value) {
    if (firstPending) {
        hostField = value;
        firstPending = false;
    }
    currentField = value;
}

// "lg" and "ly" carry one hexadecimal digit as the key's third byte.
int HexDigitOfKey(const Tokens& t) {
    std::string_view key = t[0];
    const char digit[2] = {'$', key.size() >= 3 ? key[2] : '\0'};
    const int value = StrToIntOrZero(std::string_view(digit, key.size() >= 3 ? 2 : 1));
    return value >= 0 && value <= 15 ? value : 0;
}

void SetTableValue(std::vector<int>& table, int index, int value) {
    if (index >= 0 && static_cast<std::size_t>(index) < table.size()) table[index] = value;
}

void SetTableName(std::vector<std::string>& table, int index, std::string_view name) {
    if (index >= 0 && static_cast<std::size_t>(index) < table.size()) table[index] = name;
}

int CurrentLayerSlot() {
    return HostState.Cur.CurLayerGroup * 16 + HostState.Cur.CurLayer;
}

void ReadLayerGroupName(const Tokens& t) {
    SetTableName(HostState.LayerGroupName, HostState.Cur.CurLayerGroup, t.Rest(4));
}

void ReadLayerName(const Tokens& t) {
    SetTableName(HostState.LayerName, CurrentLayerSlot(), t.Rest(4));
}

void ReadLayerGroup(const Tokens& t) {
    THostState& s = HostState;
    const int g = HexDigitOfKey(t);
    TakeAttribute(s.FirstPending.LayerGroup, s.HostLayerGroup, s.Cur.CurLayerGroup, g);
    if (t.Count() >= 2) SetTableValue(s.LayerGroupValue, g, Int(t, 1));
    ClearChain();
}

void ReadLayer(const Tokens& t) {
    THostState& s = HostState;
    const int l = HexDigitOfKey(t);
    TakeAttribute(s.FirstPending.Layer, s.HostLayer, s.Cur.CurLayer, l);
    if (t.Count() >= 2) SetTableValue(s.LayerValue, s.Cur.CurLayerGroup * 16 + l, Int(t, 1));
    ClearChain();
}

// Line colour 10 is the host's "other colour"; its value comes as the record's first value.
constexpr int kColorWithValue = 10;

void ReadLineColor(const Tokens& t) {
    THostState& s = HostState;
    const int c = StrToIntOrZero(t.Rest(3));
    TakeAttribute(s.FirstPending.LineColor, s.HostLineColor, s.Cur.CurLineColor, c);
    if (c == kColorWithValue && t.Count() >= 2) s.Cur.CurColorValue = Int(t, 1);
    ClearChain();
}

void ReadLineType(const Tokens& t) {
    THostState& s = HostState;
    TakeAttribute(s.FirstPending.LineType, s.HostLineType, s.Cur.CurLineType,
                  StrToIntOrZero(t.Rest(3)));
    ClearChain();
}

void ReadLineWidth(const Tokens& t) {
    THostState& s = HostState;
    TakeAttribute(s.FirstPending.LineWidth, s.HostLineWidth, s.Cur.CurLineWidth,
                  StrToIntOrZero(t.Rest(3)));
    s.LineWidthSeen = true;
    ClearChain();
}

void ReadFontName(const Tokens& t) {
    std::string_view name = t.Rest(4);
    if (HostState.HostFontName.empty()) HostState.HostFontName = name;
    HostState.Cur.CurFontName = name;
    ClearChain();
}

// "cn" + type; the free size (type 0) brings width, height, spacing and colour along.
void ReadTextType(const Tokens& t) {
    THostState& s = HostState;
    const int n = StrToIntOrZero(t.Rest(3));
    const bool freeSize = n == 0 && t.Count() >= 5;
    if (s.FirstPending.TextType) {
        s.HostTextType = n;
        if (freeSize) {
            s.HostFreeTextWidth = Real(t, 1);
            s.HostFreeTextHeight = Real(t, 2);
            s.HostFreeTextSpacing = Real(t, 3);
            s.HostFreeTextColor = Int(t, 4);
        }
        s.FirstPending.TextType = false;
    }
    s.Cur.CurTextType = n;
    if (freeSize) {
        s.Cur.CurFreeTextWidth = Real(t, 1);
        s.Cur.CurFreeTextHeight = Real(t, 2);
        s.Cur.CurFreeTextSpacing = Real(t, 3);
        s.Cur.CurFreeTextColor = Int(t, 4);
    }
    ClearChain();
}

constexpr int kMaxTextColor = 8;

void ReadTextColor(const Tokens& t) {
    std::string_view key = t[0];
    const int v = StrToIntOrZero(key.size() >= 3 ? key.substr(2, 1) : std::string_view());
    HostState.Cur.CurCcValue = v >= 0 && v <= kMaxTextColor ? v : 0;
    ClearChain();
}

template <int Bit>
void ReadAttributeFlag(const Tokens&) {
    HostState.Cur.CurAttributeFlags |= Bit;
}

void ReadPointColor(const Tokens& t) {
    HostState.Cur.CurPointColor = StrToIntOrZero(t.Rest(3));
    ClearChain();
}

void ReadChainStart(const Tokens&) {
    CurrentAttributes& c = HostState.Cur;
    ++c.ChainCount;
    c.InChain = true;
    c.AfterMsg = false;
}

void ReadDimensionStart(const Tokens&) {
    HostState.Cur.AfterMsg = true;
    HostState.Cur.InChain = false;
}

void ReadChainEnd(const Tokens&) {
    HostState.Cur.InChain = false;
    HostState.Cur.AfterMsg = false;
}

// ---- parameters ------------------------------------------------------------------------------

void ReadFileName(const Tokens& t) {
    HostState.HostFileName = t.Rest(6);
}
void ReadHk(const Tokens& t) {
    HostState.HkValue = Real(t, 1);
}
void ReadBz(const Tokens&) {
    HostState.BzFlag = true;
}

void ReadScales(const Tokens& t) {
    for (int g = 0; g < 16; ++g) HostState.LayerGroupScale[g] = Real(t, g + 1);
}

void ReadSheetSize(const Tokens& t) {
    HostState.SheetWidth = Real(t, 1);
    HostState.SheetHeight = Real(t, 2);
}

template <double TextTypeEntry::*Field>
void ReadTextTypeReals(const Tokens& t) {
    for (int n = 1; n <= 10; ++n) HostState.TextTypes[n].*Field = Real(t, n);
}

void ReadTextTypeColors(const Tokens& t) {
    for (int n = 1; n <= 10; ++n) HostState.TextTypes[n].Color = Int(t, n);
}

void ReadHn(const Tokens& t) {
    for (int k = 0; k < 4; ++k) HostState.HnValues[k] = Real(t, k + 1);
}

// ---- reference points ------------------------------------------------------------------------

// "hp" n, then optionally "-", "ln", "ci" or "ch" (HpKind 1 .. 4): the point n at (x, y).
void ReadReferencePoint(const Tokens& t) {
    static constexpr std::string_view kSuffixes[] = {"-", "ln", "ci", "ch"};
    std::string_view key = t[0];
    std::string_view number = t.Rest(3);
    int kind = 0;
    for (int k = 0; k < 4; ++k) {
        const std::size_t p = key.find(kSuffixes[k]);
        if (p == std::string_view::npos) continue;
        number = p > 2 ? key.substr(2, p - 2) : std::string_view();
        kind = k + 1;
    }
    const int n = StrToIntOrZero(number);
    THostState& s = HostState;
    if (n < 1 || n > 99 || static_cast<std::size_t>(n) >= s.HpPoints.size()) return;
    HpPoint& point = s.HpPoints[n];
    point.Set = true;
    point.X = Real(t, 1);
    point.Y = Real(t, 2);
    point.Kind = kind;
    ++s.HpPointCount;
}

// "hhp" n, optionally "ln", "ci" or "ch": the next entity is linked to reference point n.
void ReadReferenceLink(const Tokens& t) {
    static constexpr std::string_view kSuffixes[] = {"ln", "ci", "ch"};
    std::string_view key = t[0];
    std::string_view number = t.Rest(4);
    for (std::string_view suffix : kSuffixes) {
        const std::size_t p = key.find(suffix);
        if (p != std::string_view::npos && p > 3) number = key.substr(3, p - 3);
    }
    HostState.Cur.CurHpLink = StrToIntOrZero(number);
}

}  // namespace

// ---- entity records --------------------------------------------------------------------------

void AppendEntityOrder(int kind, int index) {
    EntityOrderEntry& entry = HostState.EntityOrder.emplace_back();
    entry.Kind = kind;
    entry.Index = index;
}

void FillEntityHeader(EntityHeader& header) {
    const CurrentAttributes& c = HostState.Cur;
    header.HpLink = c.CurHpLink;
    header.LayerGroup = c.CurLayerGroup;
    header.Layer = c.CurLayer;
    header.Color = c.CurLineColor;
    header.LineType = c.CurLineType;
    header.LineWidth = c.CurLineWidth;
    header.Flags = c.CurAttributeFlags;
}

namespace {

// Adds a record to its list and to EntityOrder, with the header of the current attributes.
template <class Record>
Record& NewEntity(EntityList<Record>& list, int kind) {
    AppendEntityOrder(kind, static_cast<int>(list.size()));
    Record& record = list.emplace_back();
    FillEntityHeader(record);
    return record;
}

// The attribute flags and the reference-point link belong to one entity only; any entity but a
// line segment also ends a chain and a dimension.
void FinishEntity(bool lineSegment) {
    CurrentAttributes& c = HostState.Cur;
    c.CurAttributeFlags = 0;
    c.CurHpLink = 0;
    if (!lineSegment) {
        c.InChain = false;
        c.AfterMsg = false;
    }
}

void SetEnds(TJwwEntLine& line, const Tokens& t) {
    line.X1 = Real(t, 0);
    line.Y1 = Real(t, 1);
    line.X2 = Real(t, 2);
    line.Y2 = Real(t, 3);
}

// Four numbers: a line segment, or after "msg" the line of the dimension to come.
void ReadSegment(const Tokens& t) {
    THostState& s = HostState;
    if (s.Cur.AfterMsg) {
        FillEntityHeader(s.PendingDimLine);
        s.PendingDimLine.Extra = 0;
        SetEnds(s.PendingDimLine, t);
    } else {
        TJwwEntLine& line = NewEntity(s.SelectedLines, kEntLine);
        line.Extra = s.Cur.InChain ? s.Cur.ChainCount : 0;
        SetEnds(line, t);
    }
    FinishEntity(true);
}

void ReadCircle(const Tokens& t) {
    TJwwEntCircle& circle = NewEntity(HostState.Circles, kEntCircle);
    circle.Extra = 0;
    circle.X = Real(t, 1);
    circle.Y = Real(t, 2);
    circle.Radius = Real(t, 3);
    FinishEntity(false);
}

void ReadArc(const Tokens& t) {
    TJwwEntArc& arc = NewEntity(HostState.Arcs, kEntArc);
    arc.Extra = 0;
    arc.X = Real(t, 1);
    arc.Y = Real(t, 2);
    arc.Radius = Real(t, 3);
    for (int k = 0; k < 4; ++k) arc.Values[k] = Real(t, k + 4);
    FinishEntity(false);
}

// The fields of a text record; its size and colour come from its text type, or from the free
// size for type 0 (and any type outside 1 .. 10).
void FillText(TJwwEntText& text, int kindCode, const Tokens& t) {
    const THostState& s = HostState;
    const CurrentAttributes& c = s.Cur;
    FillEntityHeader(text);
    text.Extra = kindCode;
    text.CcValue = c.CurCcValue;
    text.TextType = c.CurTextType;
    if (text.TextType >= 1 && text.TextType <= 10) {
        const TextTypeEntry& type = s.TextTypes[text.TextType];
        text.Width = type.Width;
        text.Height = type.Height;
        text.Spacing = type.Spacing;
        text.Color = type.Color;
    } else {
        text.Width = c.CurFreeTextWidth;
        text.Height = c.CurFreeTextHeight;
        text.Spacing = c.CurFreeTextSpacing;
        text.Color = c.CurFreeTextColor;
    }
    text.X = Real(t, 1);
    text.Y = Real(t, 2);
    text.DX = Real(t, 3);
    text.DY = Real(t, 4);
    text.FontName = CutText(c.CurFontName);
    text.Text = CutText(t[5]);
}

constexpr int kDimensionTextKind = 2;  // "cs"

// The TextKindCode of a text record's key, -1 for any other key.
int TextKindCodeOf(std::string_view key) {
    for (std::size_t k = 0; k < kTextKindKeys.size(); ++k)
        if (kTextKindKeys[k] == key) return static_cast<int>(k);
    return -1;
}

// A text record; a "cs" after "msg" is the value text of a dimension with the pending line.
void ReadText(const Tokens& t) {
    THostState& s = HostState;
    const int kindCode = TextKindCodeOf(t[0]);
    if (kindCode == kDimensionTextKind && s.Cur.AfterMsg) {
        TJwwEntDim& dim = NewEntity(s.Dims, kEntDim);
        dim.Extra = 0;
        dim.Line = s.PendingDimLine;
        dim.Line.Extra = 0;
        FillText(dim.Text, kDimensionTextKind, t);
    } else {
        FillText(NewEntity(s.Texts, kEntText), kindCode, t);
    }
    FinishEntity(false);
}

void ReadPoint(const Tokens& t) {
    TJwwEntPoint& point = NewEntity(HostState.Points, kEntPoint);
    point.Extra = 0;
    point.Color = HostState.Cur.CurPointColor;
    point.X = Real(t, 1);
    point.Y = Real(t, 2);
    FinishEntity(false);
}

void ReadCodePoint(const Tokens& t) {
    TJwwEntCodePoint& point = NewEntity(HostState.CodePoints, kEntCodePoint);
    point.Extra = 0;
    point.Color = HostState.Cur.CurPointColor;
    point.X = Real(t, 1);
    point.Y = Real(t, 2);
    point.Scale = Real(t, 3);
    point.Angle = Real(t, 4);
    point.Code = Int(t, 5);
    FinishEntity(false);
}

void ReadBlock(const Tokens& t) {
    TJwwEntBlk& block = NewEntity(HostState.Blocks, kEntBlk);
    block.Extra = 0;
    block.X = Real(t, 1);
    block.Y = Real(t, 2);
    block.Name = t[3];
    FinishEntity(false);
}

// ---- "sl": a polyline of up to four points, reduced by its coinciding points ----------------

bool SamePoint(const SlPoint& a, const SlPoint& b) {
    return std::abs(a.X - b.X) <= kGeomZero && std::abs(a.Y - b.Y) <= kGeomZero;
}

template <class Record>
void AddSl(EntityList<Record>& list, int kind, std::initializer_list<SlPoint> points) {
    Record& record = NewEntity(list, kind);
    record.Extra = HostState.Cur.CurColorValue;
    std::size_t k = 0;
    for (const SlPoint& point : points) record.Points[k++] = point;
    FinishEntity(false);
}

std::array<SlPoint, 4> SlPoints(const Tokens& t) {
    std::array<SlPoint, 4> p;
    for (int k = 0; k < 4; ++k) p[k] = SlPoint{Real(t, 2 * k + 1), Real(t, 2 * k + 2)};
    return p;
}

void ReadSlTwo(const Tokens& t) {
    const auto p = SlPoints(t);
    AddSl(HostState.Sl2s, kEntSl2, {p[0], p[1]});
}

void ReadSlThree(const Tokens& t) {
    const auto p = SlPoints(t);
    THostState& s = HostState;
    if (SamePoint(p[0], p[1]))
        AddSl(s.Sl2s, kEntSl2, {p[0], p[2]});
    else if (SamePoint(p[1], p[2]))
        AddSl(s.Sl2s, kEntSl2, {p[0], p[1]});
    else
        AddSl(s.Sl3s, kEntSl3, {p[0], p[1], p[2]});
}

void ReadSlFour(const Tokens& t) {
    const auto p = SlPoints(t);
    THostState& s = HostState;
    const bool e12 = SamePoint(p[0], p[1]), e13 = SamePoint(p[0], p[2]);
    const bool e23 = SamePoint(p[1], p[2]), e24 = SamePoint(p[1], p[3]);
    const bool e34 = SamePoint(p[2], p[3]), e14 = SamePoint(p[0], p[3]);
    if (e12 && e13)
        AddSl(s.Sl2s, kEntSl2, {p[0], p[3]});
    else if (e23 && e24)
        AddSl(s.Sl2s, kEntSl2, {p[0], p[1]});
    else if (e12 && e34)
        AddSl(s.Sl2s, kEntSl2, {p[0], p[2]});
    else if (e14 || e24 || e34)
        AddSl(s.Sl3s, kEntSl3, {p[0], p[1], p[2]});
    else if (e13 || e23)
        AddSl(s.Sl3s, kEntSl3, {p[0], p[1], p[3]});
    else if (e12)
        AddSl(s.Sl3s, kEntSl3, {p[0], p[2], p[3]});
    else
        AddSl(s.Sl4s, kEntSl4, {p[0], p[1], p[2], p[3]});
}

// "sc" / "se": seven values and a code; "so" / "sg": eight values.
template <class Record>
void ReadValuesAndCode(EntityList<Record>& list, int kind, const Tokens& t) {
    Record& record = NewEntity(list, kind);
    record.Extra = HostState.Cur.CurColorValue;
    for (std::size_t k = 0; k < record.Values.size(); ++k)
        record.Values[k] = Real(t, static_cast<int>(k) + 1);
    if constexpr (std::is_same_v<Record, TJwwEntSc>) record.Code = Int(t, 8);
    FinishEntity(false);
}

void ReadSc(const Tokens& t) {
    ReadValuesAndCode(HostState.Scs, kEntSc, t);
}
void ReadSe(const Tokens& t) {
    ReadValuesAndCode(HostState.Ses, kEntSe, t);
}
void ReadSo(const Tokens& t) {
    ReadValuesAndCode(HostState.Sos, kEntSo, t);
}
void ReadSg(const Tokens& t) {
    ReadValuesAndCode(HostState.Sgs, kEntSg, t);
}

void Ignore(const Tokens&) {}

// ---- dispatch --------------------------------------------------------------------------------

enum class KeyMatch {
    Contains,  // the key occurs anywhere in token 0
    Equal,
    Prefix,
    TextKey,  // equal to one of kTextKindKeys
    Any,
};

enum class CountRule { Any, Exactly, AtLeast };

struct DispatchRow {
    std::string_view key;
    KeyMatch match;
    CountRule rule;
    int count;
    void (*apply)(const Tokens&);
};

// In the order that decides: "lgn", "lyn" before "lg", "ly"; "cn$" before "cn".
constexpr DispatchRow kDispatch[] = {
    {"file=", KeyMatch::Contains, CountRule::Any, 0, ReadFileName},
    {"hk", KeyMatch::Equal, CountRule::AtLeast, 2, ReadHk},
    {"hs", KeyMatch::Equal, CountRule::AtLeast, 17, ReadScales},
    {"hzs", KeyMatch::Equal, CountRule::AtLeast, 3, ReadSheetSize},
    {"hcw", KeyMatch::Equal, CountRule::AtLeast, 11, ReadTextTypeReals<&TextTypeEntry::Width>},
    {"hch", KeyMatch::Equal, CountRule::AtLeast, 11, ReadTextTypeReals<&TextTypeEntry::Height>},
    {"hcd", KeyMatch::Equal, CountRule::AtLeast, 11, ReadTextTypeReals<&TextTypeEntry::Spacing>},
    {"hcc", KeyMatch::Equal, CountRule::AtLeast, 11, ReadTextTypeColors},
    {"bz", KeyMatch::Equal, CountRule::Any, 0, ReadBz},
    {"hn", KeyMatch::Equal, CountRule::AtLeast, 5, ReadHn},
    {"lgn", KeyMatch::Prefix, CountRule::Any, 0, ReadLayerGroupName},
    {"lyn", KeyMatch::Prefix, CountRule::Any, 0, ReadLayerName},
    {"lg", KeyMatch::Prefix, CountRule::Any, 0, ReadLayerGroup},
    {"ly", KeyMatch::Prefix, CountRule::Any, 0, ReadLayer},
    {"lc", KeyMatch::Prefix, CountRule::Any, 0, ReadLineColor},
    {"lt", KeyMatch::Prefix, CountRule::Any, 0, ReadLineType},
    {"lw", KeyMatch::Prefix, CountRule::Any, 0, ReadLineWidth},
    {"cn$", KeyMatch::Prefix, CountRule::Any, 0, ReadFontName},
    {"cn", KeyMatch::Prefix, CountRule::Any, 0, ReadTextType},
    {"cc", KeyMatch::Prefix, CountRule::Any, 0, ReadTextColor},
    {"z1", KeyMatch::Equal, CountRule::Any, 0, ReadAttributeFlag<kFlagZ1>},
    {"z2", KeyMatch::Equal, CountRule::Any, 0, ReadAttributeFlag<kFlagZ2>},
    {"z3", KeyMatch::Equal, CountRule::Any, 0, ReadAttributeFlag<kFlagDimension>},
    {"z4", KeyMatch::Equal, CountRule::Any, 0, ReadAttributeFlag<kFlagZ4>},
    {"z5", KeyMatch::Equal, CountRule::Any, 0, ReadAttributeFlag<kFlagZ5>},
    {"pn", KeyMatch::Prefix, CountRule::Any, 0, ReadPointColor},
    {"pl", KeyMatch::Equal, CountRule::Any, 0, ReadChainStart},
    {"msg", KeyMatch::Equal, CountRule::Any, 0, ReadDimensionStart},
    {"#", KeyMatch::Equal, CountRule::Any, 0, ReadChainEnd},
    {"hp", KeyMatch::Prefix, CountRule::AtLeast, 3, ReadReferencePoint},
    {"hhp", KeyMatch::Prefix, CountRule::Any, 0, ReadReferenceLink},
    {"ci", KeyMatch::Equal, CountRule::Exactly, 4, ReadCircle},
    {"ci", KeyMatch::Equal, CountRule::AtLeast, 8, ReadArc},
    {"", KeyMatch::TextKey, CountRule::AtLeast, 6, ReadText},
    {"pt", KeyMatch::Equal, CountRule::Exactly, 3, ReadPoint},
    {"pt", KeyMatch::Equal, CountRule::AtLeast, 6, ReadCodePoint},
    {"BL", KeyMatch::Equal, CountRule::AtLeast, 4, ReadBlock},
    {"sl", KeyMatch::Equal, CountRule::Exactly, 5, ReadSlTwo},
    {"sl", KeyMatch::Equal, CountRule::Exactly, 7, ReadSlThree},
    {"sl", KeyMatch::Equal, CountRule::AtLeast, 9, ReadSlFour},
    {"sc", KeyMatch::Equal, CountRule::AtLeast, 9, ReadSc},
    {"se", KeyMatch::Equal, CountRule::AtLeast, 9, ReadSe},
    {"so", KeyMatch::Equal, CountRule::AtLeast, 9, ReadSo},
    {"sg", KeyMatch::Equal, CountRule::AtLeast, 9, ReadSg},
    {"", KeyMatch::Any, CountRule::Exactly, 4, ReadSegment},
    {"", KeyMatch::Any, CountRule::Any, 0, Ignore},
};

constexpr int kRowCount = static_cast<int>(std::size(kDispatch));
static_assert(kRowCount == 46, "one row per record rule");

bool KeyMatches(const DispatchRow& row, std::string_view key) {
    switch (row.match) {
        case KeyMatch::Contains:
            return key.find(row.key) != std::string_view::npos;
        case KeyMatch::Equal:
            return key == row.key;
        case KeyMatch::Prefix:
            return key.substr(0, row.key.size()) == row.key;
        case KeyMatch::TextKey:
            return TextKindCodeOf(key) >= 0;
        case KeyMatch::Any:
            return true;
    }
    return false;
}

bool CountMatches(const DispatchRow& row, int count) {
    switch (row.rule) {
        case CountRule::Any:
            return true;
        case CountRule::Exactly:
            return count == row.count;
        case CountRule::AtLeast:
            return count >= row.count;
    }
    return false;
}

// The rows a key can match, by its first byte, in table order; most lines (bare numbers) thus
// skip straight to the line segment instead of testing forty keys.
struct RowIndex {
    std::array<std::array<unsigned char, kRowCount>, 256> rows{};
    std::array<unsigned char, 256> counts{};
};

bool CanStartWith(const DispatchRow& row, unsigned char first) {
    switch (row.match) {
        case KeyMatch::Equal:
        case KeyMatch::Prefix:
            return static_cast<unsigned char>(row.key[0]) == first;
        case KeyMatch::TextKey:
            return first == 'c';
        default:
            return true;
    }
}

const RowIndex& RowsByFirstByte() {
    static const RowIndex index = [] {
        RowIndex built;
        for (int first = 0; first < 256; ++first)
            for (int r = 0; r < kRowCount; ++r)
                if (CanStartWith(kDispatch[r], static_cast<unsigned char>(first)))
                    built.rows[first][built.counts[first]++] = static_cast<unsigned char>(r);
        return built;
    }();
    return index;
}

void ApplyTokens(const Tokens& t) {
    std::string_view key = t[0];
    if (t.Count() == 1 && key.empty()) return;
    const RowIndex& index = RowsByFirstByte();
    const unsigned char first = key.empty() ? 0 : static_cast<unsigned char>(key[0]);
    for (int k = 0; k < index.counts[first]; ++k) {
        const DispatchRow& row = kDispatch[index.rows[first][k]];
        if (KeyMatches(row, key) && CountMatches(row, t.Count())) {
            row.apply(t);
            return;
        }
    }
}

void ApplyLine(std::string_view line, Tokens& tokens) {
    TokenizeExchangeLine(line, tokens);
    ApplyTokens(tokens);
}

}  // namespace

void ParseExchangeText(std::string_view line) {
    // Reused from line to line: tokenizing allocates only when a line is longer than any before.
    static Tokens tokens;
    ApplyLine(line, tokens);
}

// ---- the file --------------------------------------------------------------------------------

namespace {

// Read in pieces, so that the file is never held whole beside the records made of it.
constexpr std::size_t kChunkBytes = 256 * 1024;
constexpr char kEndOfText = '\x1a';

std::FILE* OpenForReading(const fs::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"rb");
#else
    return std::fopen(path.c_str(), "rb");
#endif
}

// The CR of a CR LF line end. Any other CR is left to the tokenizer, which skips it; taking this
// one off here keeps the line on the tokenizer's fast path.
std::string_view WithoutCr(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

// Cuts a stream of pieces into lines at LF. A line that spans pieces is gathered in `pending`.
class LineSplitter {
  public:
    void Feed(std::string_view piece) {
        while (!piece.empty()) {
            const void* lf = std::memchr(piece.data(), '\n', piece.size());
            if (!lf) break;
            const std::size_t length = static_cast<const char*>(lf) - piece.data();
            if (pending_.empty()) {
                ApplyLine(WithoutCr(piece.substr(0, length)), tokens_);
            } else {
                pending_.append(piece.data(), length);
                ApplyLine(WithoutCr(pending_), tokens_);
                pending_.clear();
            }
            piece.remove_prefix(length + 1);
        }
        pending_.append(piece.data(), piece.size());
    }
    // The last line of a text that does not end in LF.
    void Finish() {
        if (!pending_.empty()) ApplyLine(WithoutCr(pending_), tokens_);
        pending_.clear();
    }

  private:
    std::string pending_;
    Tokens tokens_;
};

}  // namespace

bool ReadExchangeFile(const fs::path& path) {
    std::FILE* file = OpenForReading(path);
    if (!file) return false;
    std::vector<char> chunk(kChunkBytes);
    LineSplitter lines;
    bool ended = false;
    while (!ended) {
        const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), file);
        if (got == 0) break;
        std::string_view piece(chunk.data(), got);
        const std::size_t eot = piece.find(kEndOfText);
        if (eot != std::string_view::npos) {
            piece = piece.substr(0, eot);
            ended = true;
        }
        lines.Feed(piece);
    }
    // A line cut off by a read error is dropped: half a record could read as a different one.
    const bool failed = !ended && std::ferror(file);
    if (!failed) lines.Finish();
    std::fclose(file);
    return !failed;
}

}  // namespace dovarin
