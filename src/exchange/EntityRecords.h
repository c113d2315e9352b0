// The entity records of HostState (TJwwEntLine ... TJwwEntSg) and the order in which their
// fields are stored.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace dovarin {

// The first fields of every entity record.
struct EntityHeader {
    int HpLink = 0;  // reference-point number from "hhp", 0 = none
    int LayerGroup = 0;
    int Layer = 0;
    int Color = 0;
    int LineType = 0;
    int LineWidth = 0;
    int Flags = 0;  // kFlag... bits
    int Extra = 0;  // kind-specific, see each record
};

// Kind 1: a line segment. Extra is the chain number (0 = none).
struct TJwwEntLine : EntityHeader {
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    int ChainNo() const { return Extra; }
};

// The line a "cs" text after "msg" takes when no line came between them: (0, 0)-(1, 0) in the
// host's default attributes.
inline TJwwEntLine DefaultPendingDimLine() {
    TJwwEntLine line;
    line.Color = 1;
    line.LineType = 1;
    line.X2 = 1;
    return line;
}

// Kind 2.
struct TJwwEntCircle : EntityHeader {
    double X = 0, Y = 0, Radius = 0;
};

// Kind 3.
struct TJwwEntArc : EntityHeader {
    double X = 0, Y = 0, Radius = 0;
    std::array<double, 4> Values{};
};

// Longest text a text record keeps, and longest entry of the OutputBuffer.
constexpr std::size_t kMaxTextBytes = 255;
// The bytes of a text that a text record keeps: at most kMaxTextBytes, cut before a character
// that would be split, so that the host never redraws half a character.
std::string_view TextFieldBytes(std::string_view text);

// Kind 4: a text. Extra is the TextKindCode of its key. FontName and Text hold at most
// kMaxTextBytes bytes.
struct TJwwEntText : EntityHeader {
    int CcValue = 0;
    int TextType = 0;
    double Width = 0, Height = 0, Spacing = 0;
    double X = 0, Y = 0, DX = 0, DY = 0;
    std::string FontName;
    std::string Text;
};

// Kind 5.
struct TJwwEntPoint : EntityHeader {
    double X = 0, Y = 0;
};

// Kind 6.
struct TJwwEntCodePoint : EntityHeader {
    double X = 0, Y = 0, Scale = 0, Angle = 0;
    int Code = 0;
};

// Kind 7: "msg", a line and a "cs" text.
struct TJwwEntDim : EntityHeader {
    TJwwEntLine Line;
    TJwwEntText Text;
};

// Kind 8.
struct TJwwEntBlk : EntityHeader {
    double X = 0, Y = 0;
    std::string Name;
};

// Kinds 9, 10, 11: "sl" reduced to two, three or four points. Extra is CurColorValue.
struct SlPoint {
    double X = 0, Y = 0;
};
template <int N>
struct TJwwEntSlN : EntityHeader {
    std::array<SlPoint, N> Points{};
};
using TJwwEntSl2 = TJwwEntSlN<2>;
using TJwwEntSl3 = TJwwEntSlN<3>;
using TJwwEntSl4 = TJwwEntSlN<4>;

// Kinds 12, 13 ("sc", "se") and 14, 15 ("so", "sg"). Extra is CurColorValue.
struct TJwwEntSc : EntityHeader {
    std::array<double, 7> Values{};
    int Code = 0;
};
using TJwwEntSe = TJwwEntSc;
struct TJwwEntSo : EntityHeader {
    std::array<double, 8> Values{};
};
using TJwwEntSg = TJwwEntSo;

enum EntityKind : int {
    kEntLine = 1,
    kEntCircle = 2,
    kEntArc = 3,
    kEntText = 4,
    kEntPoint = 5,
    kEntCodePoint = 6,
    kEntDim = 7,
    kEntBlk = 8,
    kEntSl2 = 9,
    kEntSl3 = 10,
    kEntSl4 = 11,
    kEntSc = 12,
    kEntSe = 13,
    kEntSo = 14,
    kEntSg = 15,
};

// The keys of text records by TextKindCode, the same in reading and writing.
inline constexpr std::array<std::string_view, 10> kTextKindKeys = {"ch", "cv", "cs", "cr", "co",
                                                                   "cp", "ct", "ck", "cz", "c2"};

// One entity in reading order: its kind and its 0-based index in the list of its kind. The index
// is 64-bit: a list may hold more records than an int counts.
struct EntityOrderEntry {
    int Kind = 0;
    std::int64_t Index = 0;
};

// ---- storage order ---------------------------------------------------------------------------

// The fields of each record in the order EntityList stores them. Own fields are made from the
// record's own tokens; shared fields come from the running attributes and mostly repeat from one
// record to the next, so they are stored only where they change. Visit calls v.Shared or v.Own
// with the same field of each record in r (the record, or the record and the one before it).
//
// A record's bytes (EntityList.h writes them; Packing.h has varint, zigzag and the nibbles):
//   head    one byte: kPacked when the tokens are packed, kSharedFollow when shared fields follow.
//   own     the tokens of the Own fields, in the order below:
//             packed: each token's bytes as nibbles, then the nibble kEndOfToken; a last half
//                     byte is filled with kEndOfToken;
//             else:   each token as varint(its length), then its bytes.
//   shared  only with kSharedFollow: the Shared fields, in the order below, in groups of eight:
//           a mask byte whose bit k says that the group's k-th field changed, then each changed
//           field:
//             int     varint(zigzag(value - the record before's));
//             double  kRealAsText and its shortest text packed as a token, or kRealAsBits and its
//                     8 bytes;
//             font    varint(position << 1 | kFontStoredBefore) of its bytes stored before, or
//                     varint(length << 1) and its bytes, cut as a text record keeps them.
// The record before the first of each page of records has every field 0 (or empty). So the line
// "0 0 1 1" in colour 1 first on a page is 03 F0 F0 F1 F1 08 02: kPacked | kSharedFollow, the
// tokens, the mask (bit 3: Color changed), zigzag(1); the same line after it is 02 F0 F0 F1 F1.
template <class T>
struct EntityFields;

template <class V, class... R>
void VisitHeaderFields(V& v, R&... r) {
    v.Shared(r.HpLink...), v.Shared(r.LayerGroup...), v.Shared(r.Layer...), v.Shared(r.Color...);
    v.Shared(r.LineType...), v.Shared(r.LineWidth...), v.Shared(r.Flags...), v.Shared(r.Extra...);
}

template <>
struct EntityFields<TJwwEntLine> {
    template <class V, class... R>
    static void Visit(V& v, R&... r) {
        VisitHeaderFields(v, r...);
        v.Own(r.X1...), v.Own(r.Y1...), v.Own(r.X2...), v.Own(r.Y2...);
    }
};

template <>
struct EntityFields<TJwwEntCircle> {
    template <class V, class... R>
    static void Visit(V& v, R&... r) {
        VisitHeaderFields(v, r...);
        v.Own(r.X...), v.Own(r.Y...), v.Own(r.Radius...);
    }
};

template <>
struct EntityFields<TJwwEntArc> {
    template <class V, class... R>
    static void Visit(V& v, R&... r) {
        VisitHeaderFields(v, r...);
        v.Own(r.X...), v.Own(r.Y...), v.Own(r.Radius...);
        for (std::size_t k = 0; k < 4; ++k) v.Own(r.Values[k]...);
    }
};

template <>
struct EntityFields<TJwwEntText> {
    template <class V, class... R>
    static void Visit(V& v, R&... r) {
        VisitHeaderFields(v, r...);
        v.Shared(r.CcValue...), v.Shared(r.TextType...), v.Shared(r.Width...);
        v.Shared(r.Height...), v.Shared(r.Spacing...), v.Shared(r.FontName...);
        v.Own(r.X...), v.Own(r.Y...), v.Own(r.DX...), v.Own(r.DY...), v.Own(r.Text...);
    }
};

template <>
struct EntityFields<TJwwEntPoint> {
    template <class V, class... R>
    static void Visit(V& v, R&... r) {
        VisitHeaderFields(v, r...);
        v.Own(r.X...), v.Own(r.Y...);
    }
};

template <>
struct EntityFields<TJwwEntCodePoint> {
    template <class V, class... R>
    static void Visit(V& v, R&... r) {
        VisitHeaderFields(v, r...);
        v.Own(r.X...), v.Own(r.Y...), v.Own(r.Scale...), v.Own(r.Angle...), v.Own(r.Code...);
    }
};

// A dimension's line is the one after "msg", which any number of dimensions may take again: it is
// all shared.
template <>
struct EntityFields<TJwwEntDim> {
    template <class V, class... R>
    static void Visit(V& v, R&... r) {
        VisitHeaderFields(v, r...);
        VisitHeaderFields(v, r.Line...);
        v.Shared(r.Line.X1...), v.Shared(r.Line.Y1...), v.Shared(r.Line.X2...);
        v.Shared(r.Line.Y2...);
        EntityFields<TJwwEntText>::Visit(v, r.Text...);
    }
};

template <>
struct EntityFields<TJwwEntBlk> {
    template <class V, class... R>
    static void Visit(V& v, R&... r) {
        VisitHeaderFields(v, r...);
        v.Own(r.X...), v.Own(r.Y...), v.Own(r.Name...);
    }
};

template <int N>
struct EntityFields<TJwwEntSlN<N>> {
    template <class V, class... R>
    static void Visit(V& v, R&... r) {
        VisitHeaderFields(v, r...);
        for (std::size_t k = 0; k < N; ++k) v.Own(r.Points[k].X...), v.Own(r.Points[k].Y...);
    }
};

// "sc", "se" (seven values and a code) and "so", "sg" (eight values).
template <>
struct EntityFields<TJwwEntSc> {
    template <class V, class... R>
    static void Visit(V& v, R&... r) {
        VisitHeaderFields(v, r...);
        for (std::size_t k = 0; k < 7; ++k) v.Own(r.Values[k]...);
        v.Own(r.Code...);
    }
};

template <>
struct EntityFields<TJwwEntSo> {
    template <class V, class... R>
    static void Visit(V& v, R&... r) {
        VisitHeaderFields(v, r...);
        for (std::size_t k = 0; k < 8; ++k) v.Own(r.Values[k]...);
    }
};

}  // namespace dovarin
