// The reader's rules for the picked entities: lines, circles, arcs, texts, points, blocks,
// dimensions and polylines.
#include <array>
#include <cmath>
#include <initializer_list>
#include <limits>

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
Record NewEntity() {
    Record record;
    FillEntityHeader(record);
    return record;
}

// Appends the record to its list and to EntityOrder: its shared fields from `record`, its own
// fields as the tokens they were read from.
template <class Record>
void AddEntity(EntityList<Record>& list, int kind, const Record& record,
               const std::string_view* tokens, std::size_t count) {
    AppendEntityOrder(kind, static_cast<std::int64_t>(list.size()));
    list.Append(record, tokens, count);
}

template <class Record, std::size_t N>
void AddEntity(EntityList<Record>& list, int kind, const Record& record,
               const std::string_view (&tokens)[N]) {
    AddEntity(list, kind, record, tokens, N);
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

// The shared fields of a text record; its size and colour come from its text type, or from the
// free size for type 0 (and any type outside 1 .. 10).
void FillText(TJwwEntText& text, int kindCode) {
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
}

// The current font, lent to a text record for the time it is stored: the list keeps one copy of
// each font it meets, and copying a long name into every text would cost more than the rest.
class LentFont {
  public:
    explicit LentFont(std::string& field) : field_(field) {
        field_.swap(HostState.Cur.CurFontName);
    }
    ~LentFont() { field_.swap(HostState.Cur.CurFontName); }
    LentFont(const LentFont&) = delete;
    LentFont& operator=(const LentFont&) = delete;

  private:
    std::string& field_;
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
void AddSl(EntityList<Record>& list, int kind, const Tokens& t, std::initializer_list<int> points) {
    Record record = NewEntity<Record>();
    record.Extra = HostState.Cur.CurColorValue;
    std::array<std::string_view, 8> tokens;
    std::size_t count = 0;
    for (const int p : points) {
        tokens[count++] = t[2 * p + 1];
        tokens[count++] = t[2 * p + 2];
    }
    AddEntity(list, kind, record, tokens.data(), count);
    FinishEntity(false);
}

// "sc" / "se": seven values and a code; "so" / "sg": eight values.
template <class Record>
void ReadValuesAndCode(EntityList<Record>& list, int kind, const Tokens& t) {
    Record record = NewEntity<Record>();
    record.Extra = HostState.Cur.CurColorValue;
    const std::string_view values[] = {t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8]};
    AddEntity(list, kind, record, values);
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
        TJwwEntLine& line = s.PendingDimLine;
        FillEntityHeader(line);
        line.Extra = 0;
        line.X1 = Real(t, 0);
        line.Y1 = Real(t, 1);
        line.X2 = Real(t, 2);
        line.Y2 = Real(t, 3);
    } else {
        TJwwEntLine line = NewEntity<TJwwEntLine>();
        line.Extra = s.Cur.InChain ? ChainNumber(s.Cur.ChainCount) : 0;
        const std::string_view ends[] = {t[0], t[1], t[2], t[3]};
        AddEntity(s.SelectedLines, kEntLine, line, ends);
    }
    FinishEntity(true);
}

void ReadCircle(const Tokens& t) {
    const std::string_view values[] = {t[1], t[2], t[3]};
    AddEntity(HostState.Circles, kEntCircle, NewEntity<TJwwEntCircle>(), values);
    FinishEntity(false);
}

void ReadArc(const Tokens& t) {
    const std::string_view values[] = {t[1], t[2], t[3], t[4], t[5], t[6], t[7]};
    AddEntity(HostState.Arcs, kEntArc, NewEntity<TJwwEntArc>(), values);
    FinishEntity(false);
}

// A text record; a "cs" after "msg" is the value text of a dimension with the pending line. The
// text is everything after the double quote, cut to what a text record keeps.
void ReadText(const Tokens& t) {
    THostState& s = HostState;
    const int kindCode = TextKindCodeOf(t[0]);
    const std::string_view own[] = {t[1], t[2], t[3], t[4], TextFieldBytes(t[5])};
    if (kindCode == kDimensionTextKind && s.Cur.AfterMsg) {
        TJwwEntDim dim = NewEntity<TJwwEntDim>();
        dim.Line = s.PendingDimLine;
        dim.Line.Extra = 0;
        FillText(dim.Text, kDimensionTextKind);
        const LentFont font(dim.Text.FontName);
        AddEntity(s.Dims, kEntDim, dim, own);
    } else {
        TJwwEntText text;
        FillText(text, kindCode);
        const LentFont font(text.FontName);
        AddEntity(s.Texts, kEntText, text, own);
    }
    FinishEntity(false);
}

void ReadPoint(const Tokens& t) {
    TJwwEntPoint point = NewEntity<TJwwEntPoint>();
    point.Color = HostState.Cur.CurPointColor;
    const std::string_view values[] = {t[1], t[2]};
    AddEntity(HostState.Points, kEntPoint, point, values);
    FinishEntity(false);
}

void ReadCodePoint(const Tokens& t) {
    TJwwEntCodePoint point = NewEntity<TJwwEntCodePoint>();
    point.Color = HostState.Cur.CurPointColor;
    const std::string_view values[] = {t[1], t[2], t[3], t[4], t[5]};
    AddEntity(HostState.CodePoints, kEntCodePoint, point, values);
    FinishEntity(false);
}

void ReadBlock(const Tokens& t) {
    const std::string_view values[] = {t[1], t[2], t[3]};
    AddEntity(HostState.Blocks, kEntBlk, NewEntity<TJwwEntBlk>(), values);
    FinishEntity(false);
}

void ReadSlTwo(const Tokens& t) {
    AddSl(HostState.Sl2s, kEntSl2, t, {0, 1});
}

void ReadSlThree(const Tokens& t) {
    const auto p = SlPoints(t);
    THostState& s = HostState;
    if (SamePoint(p[0], p[1]))
        AddSl(s.Sl2s, kEntSl2, t, {0, 2});
    else if (SamePoint(p[1], p[2]))
        AddSl(s.Sl2s, kEntSl2, t, {0, 1});
    else
        AddSl(s.Sl3s, kEntSl3, t, {0, 1, 2});
}

void ReadSlFour(const Tokens& t) {
    const auto p = SlPoints(t);
    THostState& s = HostState;
    const bool e12 = SamePoint(p[0], p[1]), e13 = SamePoint(p[0], p[2]);
    const bool e23 = SamePoint(p[1], p[2]), e24 = SamePoint(p[1], p[3]);
    const bool e34 = SamePoint(p[2], p[3]), e14 = SamePoint(p[0], p[3]);
    if (e12 && e13)
        AddSl(s.Sl2s, kEntSl2, t, {0, 3});
    else if (e23 && e24)
        AddSl(s.Sl2s, kEntSl2, t, {0, 1});
    else if (e12 && e34)
        AddSl(s.Sl2s, kEntSl2, t, {0, 2});
    else if (e14 || e24 || e34)
        AddSl(s.Sl3s, kEntSl3, t, {0, 1, 2});
    else if (e13 || e23)
        AddSl(s.Sl3s, kEntSl3, t, {0, 1, 3});
    else if (e12)
        AddSl(s.Sl3s, kEntSl3, t, {0, 2, 3});
    else
        AddSl(s.Sl4s, kEntSl4, t, {0, 1, 2, 3});
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
