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
void ReadFileName(const Tokens& t);
void ReadHk(const Tokens& t);
void ReadScales(const Tokens& t);
void ReadSheetSize(const Tokens& t);
template <double TextTypeEntry::*Field>
void ReadTextTypeReals(const Tokens& t) {
    for (int n = 1; n <= 10; ++n) HostState.TextTypes[n].*Field = Real(t, n);
}
void ReadTextTypeColors(const Tokens& t);
void ReadBz(const Tokens& t);
void ReadHn(const Tokens& t);

// Attributes and markers.
void ReadLayerGroupName(const Tokens& t);
void ReadLayerName(const Tokens& t);
void ReadLayerGroup(const Tokens& t);
void ReadLayer(const Tokens& t);
void ReadLineColor(const Tokens& t);
void ReadLineType(const Tokens& t);
void ReadLineWidth(const Tokens& t);
void ReadFontName(const Tokens& t);
void ReadTextType(const Tokens& t);
void ReadTextColor(const Tokens& t);
template <int Bit>
void ReadAttributeFlag(const Tokens&) {
    HostState.Cur.CurAttributeFlags |= Bit;
}
void ReadPointColor(const Tokens& t);
void ReadChainStart(const Tokens& t);
void ReadDimensionStart(const Tokens& t);
void ReadChainEnd(const Tokens& t);
void ReadReferencePoint(const Tokens& t);
void ReadReferenceLink(const Tokens& t);

// Entities.
void ReadSegment(const Tokens& t);
void ReadCircle(const Tokens& t);
void ReadArc(const Tokens& t);
void ReadText(const Tokens& t);
void ReadPoint(const Tokens& t);
void ReadCodePoint(const Tokens& t);
void ReadBlock(const Tokens& t);
void ReadSlTwo(const Tokens& t);
void ReadSlThree(const Tokens& t);
void ReadSlFour(const Tokens& t);
void ReadSc(const Tokens& t);
void ReadSe(const Tokens& t);
void ReadSo(const Tokens& t);
void ReadSg(const Tokens& t);
void Ignore(const Tokens& t);

}  // namespace records
}  // namespace dovarin
