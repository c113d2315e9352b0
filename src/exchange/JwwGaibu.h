// JwwGaibu: the host exchange. HostState is the program's picture of what the host passed in
// JWC_TEMP.TXT; the reader (ExchangeReader.cpp) fills it, the construction reads it, and the
// writer (ExchangeWriter.cpp) collects the answer in OutputBuffer and writes it back.
//
// The state is module-level, as in a one-shot desktop program, but every piece of it is reachable
// and InitHostState brings all of it back to its defaults, so tests can run many cases in one
// process.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/BlockList.h"

namespace dovarin {

// Ordered, growable list whose indices stay stable; grows in blocks, never moves its records.
template <class T>
using EntityList = BlockList<T>;

// Attribute flag bits of an entity ("z1" .. "z5"); kFlagDimension is the dimension attribute.
constexpr int kFlagZ1 = 1;
constexpr int kFlagZ2 = 2;
constexpr int kFlagDimension = 4;  // "z3"
constexpr int kFlagZ4 = 8;
constexpr int kFlagZ5 = 16;

// Longest text a text record keeps, and longest entry of the OutputBuffer.
constexpr std::size_t kMaxTextBytes = 255;

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

// One entity in reading order: its kind and its 0-based index in the list of that kind.
struct EntityOrderEntry {
    int Kind = 0;
    int Index = 0;
};

struct TextTypeEntry {
    double Width = 3.0;
    double Height = 3.0;
    double Spacing = 0.0;
    int Color = 2;
};

struct HpPoint {
    bool Set = false;
    double X = 0;
    double Y = 0;
    int Kind = 0;  // 0 "hp"n, 1 "-", 2 "ln", 3 "ci", 4 "ch"
};

// "<ＭＳ ゴシック>" in code page 932.
inline constexpr std::string_view kDefaultFontName =
    "<\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e>";

// The running attribute set: the reader's while reading, the writer's memory of what it last
// wrote afterwards.
struct CurrentAttributes {
    int CurHpLink = 0;
    int CurLayerGroup = 0;
    int CurLayer = 0;
    int CurLineColor = 1;
    int CurLineType = 1;
    int CurLineWidth = 0;
    int CurTextType = 1;
    double CurFreeTextWidth = 2.0;
    double CurFreeTextHeight = 2.0;
    double CurFreeTextSpacing = 0.0;
    int CurFreeTextColor = 1;
    int CurCcValue = 0;
    std::string CurFontName{kDefaultFontName};
    int CurAttributeFlags = 0;
    int ChainCount = 0;
    bool InChain = false;
    bool AfterMsg = false;
    int CurPointColor = 1;
    int CurColorValue = 0;
};

// A set flag forces the next record of that attribute (first-occurrence rule while reading,
// first write after ResetWriterState).
struct FirstPendingFlags {
    bool LayerGroup = true;
    bool Layer = true;
    bool LineColor = true;
    bool LineType = true;
    bool LineWidth = true;
    bool TextType = true;
    bool TextColor = false;
    bool FontName = false;
    bool PointColor = false;
};

struct THostState {
    // Parameters.
    std::string HostFileName;
    double HkValue = 0;
    std::array<double, 16> LayerGroupScale{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    double SheetWidth = 1189;
    double SheetHeight = 841;
    std::array<TextTypeEntry, 11> TextTypes{};  // entries 1 .. 10 are used
    bool BzFlag = false;
    std::array<double, 4> HnValues{};
    bool LineWidthSeen = false;

    // Host attributes: the first value of each in the exchange text.
    int HostLayerGroup = 0;
    int HostLayer = 0;
    int HostLineColor = 1;
    int HostLineType = 1;
    int HostLineWidth = 0;
    int HostTextType = 1;
    double HostFreeTextWidth = 2.0;
    double HostFreeTextHeight = 2.0;
    double HostFreeTextSpacing = 0.0;
    int HostFreeTextColor = 1;
    std::string HostFontName;

    // Reference points 1 .. 99 (entry 0 is never set by the reader).
    std::vector<HpPoint> HpPoints;
    int HpPointCount = 0;

    // Layer tables, indexed by layer group (x 16 + layer).
    std::vector<int> LayerGroupValue;
    std::vector<std::string> LayerGroupName;
    std::vector<int> LayerValue;
    std::vector<std::string> LayerName;

    CurrentAttributes Cur;
    FirstPendingFlags FirstPending;

    // Entities, one list per kind, in reading order.
    EntityList<TJwwEntLine> SelectedLines;  // kind 1
    EntityList<TJwwEntCircle> Circles;
    EntityList<TJwwEntArc> Arcs;
    EntityList<TJwwEntText> Texts;
    EntityList<TJwwEntPoint> Points;
    EntityList<TJwwEntCodePoint> CodePoints;
    EntityList<TJwwEntDim> Dims;
    EntityList<TJwwEntBlk> Blocks;
    EntityList<TJwwEntSl2> Sl2s;
    EntityList<TJwwEntSl3> Sl3s;
    EntityList<TJwwEntSl4> Sl4s;
    EntityList<TJwwEntSc> Scs;
    EntityList<TJwwEntSe> Ses;
    EntityList<TJwwEntSo> Sos;
    EntityList<TJwwEntSg> Sgs;
    EntityList<EntityOrderEntry> EntityOrder;
    TJwwEntLine PendingDimLine = DefaultPendingDimLine();

    std::size_t SelectedLineCount() const { return SelectedLines.size(); }
};

// The module's state.
extern THostState HostState;
// One entry of the answer: a record, or the header of a text record that the next entry (its
// text) completes on the same line of the file. At most kMaxTextBytes bytes.
struct OutputEntry {
    std::string Text;
    bool JoinsNext = false;
};
// The answer, in order.
extern std::vector<OutputEntry> OutputBuffer;

// Every field, table, flag and list to its default; empties the OutputBuffer.
void InitHostState();
// Releases the lists and tables; HostState is not used afterwards until InitHostState.
void FreeHostState();

// ---- reader ----------------------------------------------------------------------------------

// Reads the file line by line through ParseExchangeText. False when the file does not exist or
// reading failed part-way; what was read stays applied.
bool ReadExchangeFile(const std::filesystem::path& path);
// Applies one line (without its line end) to HostState.
void ParseExchangeText(std::string_view line);
void AppendEntityOrder(int kind, int index);
// Copies the current attributes into a new entity's header (all but Extra).
void FillEntityHeader(EntityHeader& header);

// ---- writer ----------------------------------------------------------------------------------

void ResetWriterState();
void PutLine(std::string_view text);
void PutLayerGroup(int value);
void PutLayer(int value);
void PutLineColor(int value);
void PutLineType(int value);
void PutLineWidth(int value);
void PutTextType(int type, int color, double width, double height, double spacing);
void PutTextColor(int value);
void PutFontName(std::string_view name);
void PutPointColor(int value);
void PutAttributeFlags(int flags);
void PutChainStart();
void PutChainEnd();
void PutSegment(double x1, double y1, double x2, double y2);
void PutPoint(int code, double x, double y, double scale, double angle);
void PutText(int kind, std::string_view text, double x, double y, double dx, double dy);
void PutDimensionText(std::string_view text, double x1, double y1, double x2, double y2, double tx,
                      double ty, double dx, double dy);
bool PutLineAttributes(int lineIndex, int orderPos, int& openChain, int layerGroup, int layer,
                       int color, int lineType, int width);
// Writes the OutputBuffer ("hq" when empty) with CR LF through a temporary file renamed over
// path. False when it could not (memory included); the file then holds "hq" or is removed.
bool WriteExchangeFile(const std::filesystem::path& path) noexcept;
// The lines WriteExchangeFile writes (without line ends): ["hq"] for an empty buffer.
std::vector<std::string> OutputLines();

}  // namespace dovarin
