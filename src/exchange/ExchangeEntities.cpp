// The reader's rules for the picked entities: lines, circles, arcs, texts, points, blocks,
// dimensions and polylines.
#include <array>
#include <cmath>
#include <initializer_list>
#include <limits>

#include "exchange/ExchangeRecords.h"

namespace dovarin {

void AppendEntityOrder(THostState& s, int kind, std::int64_t index) {
    EntityOrderEntry entry;
    entry.Kind = kind;
    entry.Index = index;
    s.EntityOrder.push_back(entry);
}

void FillEntityHeader(const THostState& s, EntityHeader& header) {
    const CurrentAttributes& c = s.Cur;
    header.HpLink = c.CurHpLink;
    header.LayerGroup = c.CurLayerGroup;
    header.Layer = c.CurLayer;
    header.Color = c.CurLineColor;
    header.LineType = c.CurLineType;
    header.LineWidth = c.CurLineWidth;
    header.Flags = c.CurAttributeFlags;
}

std::string_view TextFieldBytes(std::string_view text) {
    if (text.size() <= kMaxTextBytes) return text;
    std::string piece;
    int count = 0;
    CopyCharsFrom(text, 1, static_cast<int>(kMaxTextBytes), piece, count);
    return text.substr(0, static_cast<std::size_t>(count));
}

namespace records {
namespace {

constexpr int kDimensionTextKind = 2;  // "cs"

// A new record with the header of the current attributes.
template <class Record>
Record NewEntity(const THostState& s) {
    Record record;
    FillEntityHeader(s, record);
    return record;
}

// Appends the record to its list and to EntityOrder: its shared fields from `record`, its own
// fields as the tokens they were read from.
template <class Record>
void AddEntity(THostState& s, EntityList<Record>& list, int kind, const Record& record,
               const std::string_view* tokens, std::size_t count) {
    AppendEntityOrder(s, kind, static_cast<std::int64_t>(list.size()));
    list.Append(record, tokens, count);
}

template <class Record, std::size_t N>
void AddEntity(THostState& s, EntityList<Record>& list, int kind, const Record& record,
               const std::string_view (&tokens)[N]) {
    AddEntity(s, list, kind, record, tokens, N);
}

// The attribute flags and the reference-point link belong to one entity only; any entity but a
// line segment also ends a chain and a dimension.
void FinishEntity(THostState& s, bool lineSegment) {
    CurrentAttributes& c = s.Cur;
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

// The shared fields of a text record; its size and colour come from its text type, or from the
// free size for type 0 (and any type outside 1 .. 10).
void FillText(const THostState& s, TJwwEntText& text, int kindCode) {
    const CurrentAttributes& c = s.Cur;
    FillEntityHeader(s, text);
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
}

// The current font, lent to a text record for the time it is stored: the list keeps one copy of
// each font it meets, and copying a long name into every text would cost more than the rest.
class LentFont {
  public:
    LentFont(std::string& field, std::string& current) : field_(field), current_(current) {
        field_.swap(current_);
    }
    ~LentFont() { field_.swap(current_); }
    LentFont(const LentFont&) = delete;
    LentFont& operator=(const LentFont&) = delete;

  private:
    std::string& field_;
    std::string& current_;
};

// P1 .. P4 of an "sl" record.
std::array<SlPoint, 4> SlPoints(const Tokens& t) {
    std::array<SlPoint, 4> p;
    for (int k = 0; k < 4; ++k) {
        p[k].X = Real(t, 2 * k + 1);
        p[k].Y = Real(t, 2 * k + 2);
    }
    return p;
}

bool SamePoint(const SlPoint& a, const SlPoint& b) {
    return std::abs(a.X - b.X) <= kGeomZero && std::abs(a.Y - b.Y) <= kGeomZero;
}

// An "sl" reduced to the points with these numbers (0 .. 3 for P1 .. P4).
template <class Record>
void AddSl(THostState& s, EntityList<Record>& list, int kind, const Tokens& t,
           std::initializer_list<int> points) {
    Record record = NewEntity<Record>(s);
    record.Extra = s.Cur.CurColorValue;
    std::array<std::string_view, 8> tokens;
    std::size_t count = 0;
    for (const int p : points) {
        tokens[count++] = t[2 * p + 1];
        tokens[count++] = t[2 * p + 2];
    }
    AddEntity(s, list, kind, record, tokens.data(), count);
    FinishEntity(s, false);
}

// "sc" / "se": seven values and a code; "so" / "sg": eight values.
template <class Record>
void ReadValuesAndCode(THostState& s, EntityList<Record>& list, int kind, const Tokens& t) {
    Record record = NewEntity<Record>(s);
    record.Extra = s.Cur.CurColorValue;
    const std::string_view values[] = {t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8]};
    AddEntity(s, list, kind, record, values);
    FinishEntity(s, false);
}

}  // namespace

// The TextKindCode of a text record's key, -1 for any other key.
int TextKindCodeOf(std::string_view key) {
    for (std::size_t k = 0; k < kTextKindKeys.size(); ++k)
        if (kTextKindKeys[k] == key) return static_cast<int>(k);
    return -1;
}

// Four numbers: a line segment, or after "msg" the line of the dimension to come.
void ReadSegment(THostState& s, const Tokens& t) {
    if (s.Cur.AfterMsg) {
        TJwwEntLine& line = s.PendingDimLine;
        FillEntityHeader(s, line);
        line.Extra = 0;
        line.X1 = Real(t, 0);
        line.Y1 = Real(t, 1);
        line.X2 = Real(t, 2);
        line.Y2 = Real(t, 3);
    } else {
        TJwwEntLine line = NewEntity<TJwwEntLine>(s);
        line.Extra = s.Cur.InChain ? ChainNumber(s.Cur.ChainCount) : 0;
        const std::string_view ends[] = {t[0], t[1], t[2], t[3]};
        AddEntity(s, s.SelectedLines, kEntLine, line, ends);
    }
    FinishEntity(s, true);
}

void ReadCircle(THostState& s, const Tokens& t) {
    const std::string_view values[] = {t[1], t[2], t[3]};
    AddEntity(s, s.Circles, kEntCircle, NewEntity<TJwwEntCircle>(s), values);
    FinishEntity(s, false);
}

void ReadArc(THostState& s, const Tokens& t) {
    const std::string_view values[] = {t[1], t[2], t[3], t[4], t[5], t[6], t[7]};
    AddEntity(s, s.Arcs, kEntArc, NewEntity<TJwwEntArc>(s), values);
    FinishEntity(s, false);
}

// A text record; a "cs" after "msg" is the value text of a dimension with the pending line. The
// text is everything after the double quote, cut to what a text record keeps.
void ReadText(THostState& s, const Tokens& t) {
    const int kindCode = TextKindCodeOf(t[0]);
    const std::string_view own[] = {t[1], t[2], t[3], t[4], TextFieldBytes(t[5])};
    if (kindCode == kDimensionTextKind && s.Cur.AfterMsg) {
        TJwwEntDim dim = NewEntity<TJwwEntDim>(s);
        dim.Line = s.PendingDimLine;
        dim.Line.Extra = 0;
        FillText(s, dim.Text, kDimensionTextKind);
        const LentFont font(dim.Text.FontName, s.Cur.CurFontName);
        AddEntity(s, s.Dims, kEntDim, dim, own);
    } else {
        TJwwEntText text;
        FillText(s, text, kindCode);
        const LentFont font(text.FontName, s.Cur.CurFontName);
        AddEntity(s, s.Texts, kEntText, text, own);
    }
    FinishEntity(s, false);
}

void ReadPoint(THostState& s, const Tokens& t) {
    TJwwEntPoint point = NewEntity<TJwwEntPoint>(s);
    point.Color = s.Cur.CurPointColor;
    const std::string_view values[] = {t[1], t[2]};
    AddEntity(s, s.Points, kEntPoint, point, values);
    FinishEntity(s, false);
}

void ReadCodePoint(THostState& s, const Tokens& t) {
    TJwwEntCodePoint point = NewEntity<TJwwEntCodePoint>(s);
    point.Color = s.Cur.CurPointColor;
    const std::string_view values[] = {t[1], t[2], t[3], t[4], t[5]};
    AddEntity(s, s.CodePoints, kEntCodePoint, point, values);
    FinishEntity(s, false);
}

void ReadBlock(THostState& s, const Tokens& t) {
    const std::string_view values[] = {t[1], t[2], t[3]};
    AddEntity(s, s.Blocks, kEntBlk, NewEntity<TJwwEntBlk>(s), values);
    FinishEntity(s, false);
}

void ReadSlTwo(THostState& s, const Tokens& t) {
    AddSl(s, s.Sl2s, kEntSl2, t, {0, 1});
}

void ReadSlThree(THostState& s, const Tokens& t) {
    const auto p = SlPoints(t);
    if (SamePoint(p[0], p[1]))
        AddSl(s, s.Sl2s, kEntSl2, t, {0, 2});
    else if (SamePoint(p[1], p[2]))
        AddSl(s, s.Sl2s, kEntSl2, t, {0, 1});
    else
        AddSl(s, s.Sl3s, kEntSl3, t, {0, 1, 2});
}

void ReadSlFour(THostState& s, const Tokens& t) {
    const auto p = SlPoints(t);
    const bool e12 = SamePoint(p[0], p[1]), e13 = SamePoint(p[0], p[2]);
    const bool e23 = SamePoint(p[1], p[2]), e24 = SamePoint(p[1], p[3]);
    const bool e34 = SamePoint(p[2], p[3]), e14 = SamePoint(p[0], p[3]);
    if (e12 && e13)
        AddSl(s, s.Sl2s, kEntSl2, t, {0, 3});
    else if (e23 && e24)
        AddSl(s, s.Sl2s, kEntSl2, t, {0, 1});
    else if (e12 && e34)
        AddSl(s, s.Sl2s, kEntSl2, t, {0, 2});
    else if (e14 || e24 || e34)
        AddSl(s, s.Sl3s, kEntSl3, t, {0, 1, 2});
    else if (e13 || e23)
        AddSl(s, s.Sl3s, kEntSl3, t, {0, 1, 3});
    else if (e12)
        AddSl(s, s.Sl3s, kEntSl3, t, {0, 2, 3});
    else
        AddSl(s, s.Sl4s, kEntSl4, t, {0, 1, 2, 3});
}

void ReadSc(THostState& s, const Tokens& t) {
    ReadValuesAndCode(s, s.Scs, kEntSc, t);
}

void ReadSe(THostState& s, const Tokens& t) {
    ReadValuesAndCode(s, s.Ses, kEntSe, t);
}

void ReadSo(THostState& s, const Tokens& t) {
    ReadValuesAndCode(s, s.Sos, kEntSo, t);
}

void ReadSg(THostState& s, const Tokens& t) {
    ReadValuesAndCode(s, s.Sgs, kEntSg, t);
}

void Ignore(THostState&, const Tokens&) {}

}  // namespace records
}  // namespace dovarin
