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

#include "exchange/EntityList.h"
#include "exchange/EntityOrder.h"
#include "exchange/EntityRecords.h"

namespace dovarin {

// Attribute flag bits of an entity ("z1" .. "z5"); kFlagDimension is the dimension attribute.
constexpr int kFlagZ1 = 1;
constexpr int kFlagZ2 = 2;
constexpr int kFlagDimension = 4;  // "z3"
constexpr int kFlagZ4 = 8;
constexpr int kFlagZ5 = 16;

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
    std::int64_t ChainCount = 0;  // 64-bit: no file holds enough "pl" records to wrap it
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
    static constexpr int kLayerGroups = 16;
    std::array<double, kLayerGroups> LayerGroupScale{1, 1, 1, 1, 1, 1, 1, 1,
                                                     1, 1, 1, 1, 1, 1, 1, 1};
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
    std::int64_t HpPointCount = 0;  // 64-bit, like ChainCount

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
    EntityOrderList EntityOrder;
    TJwwEntLine PendingDimLine = DefaultPendingDimLine();

    // The scale of a layer group. A group outside 0 .. 15 cannot come from the reader, which reads
    // it as group 0; it takes group 0's scale, so that the table is never read out of range.
    double ScaleOfGroup(int group) const {
        return LayerGroupScale[group >= 0 && group < kLayerGroups ? group : 0];
    }
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

// A state with every field, table, flag and list at its default: what the reader starts from.
THostState FreshHostState();
// HostState to FreshHostState(); empties the OutputBuffer.
void InitHostState();
// Releases the lists and tables; HostState is not used afterwards until InitHostState.
void FreeHostState();

// ---- reader ----------------------------------------------------------------------------------

// The reader fills the state it is given: the run's HostState, or a scratch state that starts as
// FreshHostState() (the preview and the picture read the answer back into one).
//
// Reads the file line by line, as ParseExchangeText applies each line. False when the file does
// not exist or reading failed part-way; what was read stays applied.
bool ReadExchangeFile(const std::filesystem::path& path, THostState& state = HostState);
// Applies one line (without its line end) to the state.
void ParseExchangeText(std::string_view line, THostState& state = HostState);
void AppendEntityOrder(THostState& state, int kind, std::int64_t index);
// Copies the state's current attributes into a new entity's header (all but Extra).
void FillEntityHeader(const THostState& state, EntityHeader& header);

// ---- writer ----------------------------------------------------------------------------------

// The writer of one answer. It appends records to `output`, takes the host's values and lines
// from `state`, which it only reads, and keeps its memory of what it last wrote (the change-only
// rule) in `cur` and `pending`. The run writes with HostWriter(); a caller that must leave the
// run alone (the dialog's preview) gives a scratch memory and output of its own.
class ExchangeWriter {
  public:
    ExchangeWriter(const THostState& state, CurrentAttributes& cur, FirstPendingFlags& pending,
                   std::vector<OutputEntry>& output)
        : state_(state), cur_(cur), pending_(pending), output_(output) {}

    const THostState& State() const { return state_; }

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
    void PutDimensionText(std::string_view text, double x1, double y1, double x2, double y2,
                          double tx, double ty, double dx, double dy);
    bool PutLineAttributes(int lineIndex, int orderPos, int& openChain, int layerGroup, int layer,
                           int color, int lineType, int width);
    bool PutLineAttributes(const TJwwEntLine& line, int orderPos, int& openChain, int layerGroup,
                           int layer, int color, int lineType, int width);

  private:
    void AppendEntry(std::string_view text, bool joinsNext);
    bool PutIfChanged(bool& firstPending, int& remembered, int value, std::string_view key,
                      std::string (*form)(int));
    void PutTextRecord(std::string_view key, std::string_view text, double x, double y, double dx,
                       double dy);
    bool NextLineContinuesChain(int orderPos, int chain) const;
    bool EndChain(int& openChain);

    const THostState& state_;
    CurrentAttributes& cur_;
    FirstPendingFlags& pending_;
    std::vector<OutputEntry>& output_;
};

// The run's writer: HostState, its Cur and FirstPending, and OutputBuffer. The free functions
// below write through it.
ExchangeWriter HostWriter();

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
// PutLineAttributes' colour, line type and width: keep the line's own value.
constexpr int kKeepOwnValue = -1;
bool PutLineAttributes(int lineIndex, int orderPos, int& openChain, int layerGroup, int layer,
                       int color, int lineType, int width);
// The same for a line the caller holds: the construction writes its own copy of the picked line,
// lengthened, at the picked line's place in the host's order.
bool PutLineAttributes(const TJwwEntLine& line, int orderPos, int& openChain, int layerGroup,
                       int layer, int color, int lineType, int width);
// Writes the OutputBuffer ("hq" when empty) with CR LF through a temporary file renamed over
// path. False when it could not (memory included); the file then holds "hq" or is removed.
bool WriteExchangeFile(const std::filesystem::path& path) noexcept;
// The lines WriteExchangeFile writes (without line ends): ["hq"] for an empty buffer.
std::vector<std::string> OutputLines();
// The same for an answer collected elsewhere.
std::vector<std::string> OutputLines(const std::vector<OutputEntry>& output);

}  // namespace dovarin
