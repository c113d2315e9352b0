// The record rules of the exchange-file reader, one function per row of the dispatch table in
// ExchangeReader.cpp; the entities read alike are rows of their own here. Internal to the module.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>

#include "exchange/ExchangeTokens.h"
#include "exchange/JwwGaibu.h"
#include "util/MyFunc.h"

namespace dovarin {
namespace records {

using Tokens = LineTokens;

// real(i) and int(i): token i as a number; a malformed or missing token reads as 0.
inline double Real(const Tokens& t, int i) {
    return StrToFloatOrZero(t[i]);
}
inline int Int(const Tokens& t, int i) {
    return StrToIntOrZero(t[i]);
}

// The TextKindCode of a text record's key, -1 for any other key.
int TextKindCodeOf(std::string_view key);

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
void FinishEntity(THostState& s, bool lineSegment);

// Parameters.
void ReadFileName(THostState& s, const Tokens& t);
void ReadHk(THostState& s, const Tokens& t);
void ReadScales(THostState& s, const Tokens& t);
void ReadSheetSize(THostState& s, const Tokens& t);
template <double TextTypeEntry::*Field>
void ReadTextTypeReals(THostState& s, const Tokens& t) {
    for (int n = 1; n <= kTextTypeCount; ++n) s.TextTypes[n].*Field = Real(t, n);
}
void ReadTextTypeColors(THostState& s, const Tokens& t);
void ReadBz(THostState& s, const Tokens& t);
void ReadHn(THostState& s, const Tokens& t);

// Attributes and markers.
void ReadLayerGroupName(THostState& s, const Tokens& t);
void ReadLayerName(THostState& s, const Tokens& t);
void ReadLayerGroup(THostState& s, const Tokens& t);
void ReadLayer(THostState& s, const Tokens& t);
void ReadLineColor(THostState& s, const Tokens& t);
void ReadLineType(THostState& s, const Tokens& t);
void ReadLineWidth(THostState& s, const Tokens& t);
void ReadFontName(THostState& s, const Tokens& t);
void ReadTextType(THostState& s, const Tokens& t);
void ReadTextColor(THostState& s, const Tokens& t);
template <int Bit>
void ReadAttributeFlag(THostState& s, const Tokens&) {
    s.Cur.CurAttributeFlags |= Bit;
}
void ReadPointColor(THostState& s, const Tokens& t);
void ReadChainStart(THostState& s, const Tokens& t);
void ReadDimensionStart(THostState& s, const Tokens& t);
void ReadChainEnd(THostState& s, const Tokens& t);
void ReadReferencePoint(THostState& s, const Tokens& t);
void ReadReferenceLink(THostState& s, const Tokens& t);

// Entities.
void ReadSegment(THostState& s, const Tokens& t);
void ReadText(THostState& s, const Tokens& t);
void ReadSlTwo(THostState& s, const Tokens& t);
void ReadSlThree(THostState& s, const Tokens& t);
void ReadSlFour(THostState& s, const Tokens& t);
void Ignore(THostState& s, const Tokens& t);

// What an entity takes from the current attributes beyond its header.
enum class HeaderTakes { Nothing, PointColor, ColorValueAsExtra };

// An entity whose own fields are tokens 1 .. tokens of its line: its kind, its list, the count of
// its tokens (its own fields, in storage order) and what its header takes.
template <class R>
struct EntityRow {
    using Record = R;
    int kind;
    EntityList<R> THostState::*list;
    std::size_t tokens;
    HeaderTakes takes;
};
template <class Record>
EntityRow(int, EntityList<Record> THostState::*, std::size_t, HeaderTakes) -> EntityRow<Record>;

// The entities read alike, one row each: the dispatch reads each with ReadEntity<row>. "sc" and
// "se" hold seven values and a code, "so" and "sg" eight values.
inline constexpr EntityRow kCircleRow{kEntCircle, &THostState::Circles, 3, HeaderTakes::Nothing};
inline constexpr EntityRow kArcRow{kEntArc, &THostState::Arcs, 7, HeaderTakes::Nothing};
inline constexpr EntityRow kPointRow{kEntPoint, &THostState::Points, 2, HeaderTakes::PointColor};
inline constexpr EntityRow kCodePointRow{kEntCodePoint, &THostState::CodePoints, 5,
                                         HeaderTakes::PointColor};
inline constexpr EntityRow kBlockRow{kEntBlk, &THostState::Blocks, 3, HeaderTakes::Nothing};
inline constexpr EntityRow kScRow{kEntSc, &THostState::Scs, 8, HeaderTakes::ColorValueAsExtra};
inline constexpr EntityRow kSeRow{kEntSe, &THostState::Ses, 8, HeaderTakes::ColorValueAsExtra};
inline constexpr EntityRow kSoRow{kEntSo, &THostState::Sos, 8, HeaderTakes::ColorValueAsExtra};
inline constexpr EntityRow kSgRow{kEntSg, &THostState::Sgs, 8, HeaderTakes::ColorValueAsExtra};

template <const auto& Row>
void ReadEntity(THostState& s, const Tokens& t) {
    auto record = NewEntity<typename std::decay_t<decltype(Row)>::Record>(s);
    if constexpr (Row.takes == HeaderTakes::PointColor) record.Color = s.Cur.CurPointColor;
    if constexpr (Row.takes == HeaderTakes::ColorValueAsExtra) record.Extra = s.Cur.CurColorValue;
    std::array<std::string_view, Row.tokens> own;
    for (std::size_t k = 0; k < own.size(); ++k) own[k] = t[static_cast<int>(k) + 1];
    AddEntity(s, s.*Row.list, Row.kind, record, own.data(), own.size());
    FinishEntity(s, false);
}

}  // namespace records
}  // namespace dovarin
