// The reader's rules for the picked entities: lines, circles, arcs, texts, points, blocks,
// dimensions and polylines.
#include <array>
#include <cmath>
#include <initializer_list>
#include <type_traits>

#include "exchange/ExchangeRecords.h"

namespace dovarin {

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

namespace records {
namespace {

constexpr int kDimensionTextKind = 2;  // "cs"

// Texts of text records keep at most kMaxTextBytes bytes, cut before a character that would be
// split, so that the host never redraws half a character.
std::string CutText(std::string_view text) {
    if (text.size() <= kMaxTextBytes) return std::string(text);
    std::string piece;
    int count = 0;
    CopyCharsFrom(text, 1, static_cast<int>(kMaxTextBytes), piece, count);
    return piece;
}

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

}  // namespace

// The TextKindCode of a text record's key, -1 for any other key.
int TextKindCodeOf(std::string_view key) {
    for (std::size_t k = 0; k < kTextKindKeys.size(); ++k)
        if (kTextKindKeys[k] == key) return static_cast<int>(k);
    return -1;
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

}  // namespace records
}  // namespace dovarin
