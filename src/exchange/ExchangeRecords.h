// The record rules of the exchange-file reader, one function per row of the dispatch table in
// ExchangeReader.cpp. Internal to the module.
#pragma once

#include <string>
#include <string_view>

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

// Parameters.
void ReadFileName(THostState& s, const Tokens& t);
void ReadHk(THostState& s, const Tokens& t);
void ReadScales(THostState& s, const Tokens& t);
void ReadSheetSize(THostState& s, const Tokens& t);
template <double TextTypeEntry::*Field>
void ReadTextTypeReals(THostState& s, const Tokens& t) {
    for (int n = 1; n <= 10; ++n) s.TextTypes[n].*Field = Real(t, n);
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
void ReadCircle(THostState& s, const Tokens& t);
void ReadArc(THostState& s, const Tokens& t);
void ReadText(THostState& s, const Tokens& t);
void ReadPoint(THostState& s, const Tokens& t);
void ReadCodePoint(THostState& s, const Tokens& t);
void ReadBlock(THostState& s, const Tokens& t);
void ReadSlTwo(THostState& s, const Tokens& t);
void ReadSlThree(THostState& s, const Tokens& t);
void ReadSlFour(THostState& s, const Tokens& t);
void ReadSc(THostState& s, const Tokens& t);
void ReadSe(THostState& s, const Tokens& t);
void ReadSo(THostState& s, const Tokens& t);
void ReadSg(THostState& s, const Tokens& t);
void Ignore(THostState& s, const Tokens& t);

}  // namespace records
}  // namespace dovarin
