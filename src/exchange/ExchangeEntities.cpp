// The reader's rules for the picked entities: lines, circles, arcs, texts, points, blocks,
// dimensions and polylines.
#include <array>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <type_traits>

#include "exchange/ExchangeRecords.h"

namespace dovarin {

void AppendEntityOrder(int kind, std::int64_t index) {
    EntityOrderEntry entry;
    entry.Kind = kind;
    entry.Index = index;
    HostState.EntityOrder.push_back(entry);
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

// A new record with the header of the current attributes.
template <class Record>
Record NewEntity() {
    Record record;
    FillEntityHeader(record);
    return record;
}

// Appends the record to its list and to EntityOrder.
template <class Record>
void AddEntity(EntityList<Record>& list, int kind, const Record& record, const EntityReals& real) {
    AppendEntityOrder(kind, static_cast<std::int64_t>(list.size()));
    list.push_back(record, real.Hints());
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

// A line's chain number is 32-bit: the chain count taken round in 1 .. 2^31 - 1, so that it stays
// positive and two chains next to each other never share it, however many chains came before.
int ChainNumber(std::int64_t chainCount) {
    constexpr std::int64_t kLargest = std::numeric_limits<int>::max();
    return static_cast<int>((chainCount - 1) % kLargest + 1);
}

void SetEnds(TJwwEntLine& line, EntityReals& real) {
    line.X1 = real(0);
    line.Y1 = real(1);
    line.X2 = real(2);
    line.Y2 = real(3);
}

// The fields of a text record; its size and colour come from its text type, or from the free
// size for type 0 (and any type outside 1 .. 10).
void FillText(TJwwEntText& text, int kindCode, const Tokens& t, EntityReals& real) {
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
    text.X = real(1);
    text.Y = real(2);
    text.DX = real(3);
    text.DY = real(4);
    text.FontName = CutText(c.CurFontName);
    text.Text = CutText(t[5]);
}

bool SamePoint(const SlPoint& a, const SlPoint& b) {
    return std::abs(a.X - b.X) <= kGeomZero && std::abs(a.Y - b.Y) <= kGeomZero;
}

template <class Record>
void AddSl(EntityList<Record>& list, int kind, std::initializer_list<SlPoint> points,
           const EntityReals& real) {
    Record record = NewEntity<Record>();
    record.Extra = HostState.Cur.CurColorValue;
    std::size_t k = 0;
    for (const SlPoint& point : points) record.Points[k++] = point;
    AddEntity(list, kind, record, real);
    FinishEntity(false);
}

std::array<SlPoint, 4> SlPoints(EntityReals& real) {
    std::array<SlPoint, 4> p;
    for (int k = 0; k < 4; ++k) {
        p[k].X = real(2 * k + 1);
        p[k].Y = real(2 * k + 2);
    }
    return p;
}

// "sc" / "se": seven values and a code; "so" / "sg": eight values.
template <class Record>
void ReadValuesAndCode(EntityList<Record>& list, int kind, const Tokens& t) {
    EntityReals real(t);
    Record record = NewEntity<Record>();
    record.Extra = HostState.Cur.CurColorValue;
    for (std::size_t k = 0; k < record.Values.size(); ++k)
        record.Values[k] = real(static_cast<int>(k) + 1);
    if constexpr (std::is_same_v<Record, TJwwEntSc>) record.Code = Int(t, 8);
    AddEntity(list, kind, record, real);
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
    EntityReals real(t);
    if (s.Cur.AfterMsg) {
        FillEntityHeader(s.PendingDimLine);
        s.PendingDimLine.Extra = 0;
        SetEnds(s.PendingDimLine, real);
    } else {
        TJwwEntLine line = NewEntity<TJwwEntLine>();
        line.Extra = s.Cur.InChain ? ChainNumber(s.Cur.ChainCount) : 0;
        SetEnds(line, real);
        AddEntity(s.SelectedLines, kEntLine, line, real);
    }
    FinishEntity(true);
}

void ReadCircle(const Tokens& t) {
    EntityReals real(t);
    TJwwEntCircle circle = NewEntity<TJwwEntCircle>();
    circle.X = real(1);
    circle.Y = real(2);
    circle.Radius = real(3);
    AddEntity(HostState.Circles, kEntCircle, circle, real);
    FinishEntity(false);
}

void ReadArc(const Tokens& t) {
    EntityReals real(t);
    TJwwEntArc arc = NewEntity<TJwwEntArc>();
    arc.X = real(1);
    arc.Y = real(2);
    arc.Radius = real(3);
    for (int k = 0; k < 4; ++k) arc.Values[k] = real(k + 4);
    AddEntity(HostState.Arcs, kEntArc, arc, real);
    FinishEntity(false);
}

// A text record; a "cs" after "msg" is the value text of a dimension with the pending line.
void ReadText(const Tokens& t) {
    THostState& s = HostState;
    EntityReals real(t);
    const int kindCode = TextKindCodeOf(t[0]);
    if (kindCode == kDimensionTextKind && s.Cur.AfterMsg) {
        TJwwEntDim dim = NewEntity<TJwwEntDim>();
        dim.Line = s.PendingDimLine;
        dim.Line.Extra = 0;
        FillText(dim.Text, kDimensionTextKind, t, real);
        AddEntity(s.Dims, kEntDim, dim, real);
    } else {
        TJwwEntText text;
        FillText(text, kindCode, t, real);
        AddEntity(s.Texts, kEntText, text, real);
    }
    FinishEntity(false);
}

void ReadPoint(const Tokens& t) {
    EntityReals real(t);
    TJwwEntPoint point = NewEntity<TJwwEntPoint>();
    point.Color = HostState.Cur.CurPointColor;
    point.X = real(1);
    point.Y = real(2);
    AddEntity(HostState.Points, kEntPoint, point, real);
    FinishEntity(false);
}

void ReadCodePoint(const Tokens& t) {
    EntityReals real(t);
    TJwwEntCodePoint point = NewEntity<TJwwEntCodePoint>();
    point.Color = HostState.Cur.CurPointColor;
    point.X = real(1);
    point.Y = real(2);
    point.Scale = real(3);
    point.Angle = real(4);
    point.Code = Int(t, 5);
    AddEntity(HostState.CodePoints, kEntCodePoint, point, real);
    FinishEntity(false);
}

void ReadBlock(const Tokens& t) {
    EntityReals real(t);
    TJwwEntBlk block = NewEntity<TJwwEntBlk>();
    block.X = real(1);
    block.Y = real(2);
    block.Name = t[3];
    AddEntity(HostState.Blocks, kEntBlk, block, real);
    FinishEntity(false);
}

void ReadSlTwo(const Tokens& t) {
    EntityReals real(t);
    const auto p = SlPoints(real);
    AddSl(HostState.Sl2s, kEntSl2, {p[0], p[1]}, real);
}

void ReadSlThree(const Tokens& t) {
    EntityReals real(t);
    const auto p = SlPoints(real);
    THostState& s = HostState;
    if (SamePoint(p[0], p[1]))
        AddSl(s.Sl2s, kEntSl2, {p[0], p[2]}, real);
    else if (SamePoint(p[1], p[2]))
        AddSl(s.Sl2s, kEntSl2, {p[0], p[1]}, real);
    else
        AddSl(s.Sl3s, kEntSl3, {p[0], p[1], p[2]}, real);
}

void ReadSlFour(const Tokens& t) {
    EntityReals real(t);
    const auto p = SlPoints(real);
    THostState& s = HostState;
    const bool e12 = SamePoint(p[0], p[1]), e13 = SamePoint(p[0], p[2]);
    const bool e23 = SamePoint(p[1], p[2]), e24 = SamePoint(p[1], p[3]);
    const bool e34 = SamePoint(p[2], p[3]), e14 = SamePoint(p[0], p[3]);
    if (e12 && e13)
        AddSl(s.Sl2s, kEntSl2, {p[0], p[3]}, real);
    else if (e23 && e24)
        AddSl(s.Sl2s, kEntSl2, {p[0], p[1]}, real);
    else if (e12 && e34)
        AddSl(s.Sl2s, kEntSl2, {p[0], p[2]}, real);
    else if (e14 || e24 || e34)
        AddSl(s.Sl3s, kEntSl3, {p[0], p[1], p[2]}, real);
    else if (e13 || e23)
        AddSl(s.Sl3s, kEntSl3, {p[0], p[1], p[3]}, real);
    else if (e12)
        AddSl(s.Sl3s, kEntSl3, {p[0], p[2], p[3]}, real);
    else
        AddSl(s.Sl4s, kEntSl4, {p[0], p[1], p[2], p[3]}, real);
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
