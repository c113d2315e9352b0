// The reader of JWC_TEMP.TXT: the host's parameters, attributes, reference points and picked
// entities, one record per line, into a host state (the run's HostState, or a scratch one).
//
// A file as the host writes it (CR LF line ends, code page 932):
//
//   hq
//   hs 250 250 250 250 250 250 250 250 250 250 250 250 250 250 250 250   layer-group scales
//   hcw 2 2.5 3 4 5 6 7 8 9 6                                           text-type widths
//   hp3-  -90984.2577738658 21250.5480255399                             reference point 3
//   lg2                                                                  layer group 2 (hex digit)
//   cn"$<ＭＳ ゴシック>                                                   font name
//   z3                                                                   next entity: dimension
//   pl                                                                   a chain begins
//   0 0 100 0                                                            a line segment
//   100 0 100 50
//   #                                                                    the chain ends
//   msg                                                                  a dimension follows:
//   0 -10 100 -10                                                        its line, then
//   cs 45 -8 1 0 "100                                                    its value text
//
// Each line is cut into tokens (ExchangeTokens.cpp); token 0 is the key. The key and the token
// count T pick the first matching row of kDispatch below; a row whose key matches but whose
// count does not is passed over. Four tokens that no row above takes are a line segment, whatever
// the key ("hs 1 2 3" is the segment (0, 1)-(2, 3)); anything else unmatched is ignored. Numbers
// are read leniently: a malformed one is 0, and no record is ever rejected for it.
//
// Most records also move running state (current attributes, the chain, the "msg" marker) that
// the following records use, so the order of the lines matters.
#include <array>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <vector>

#include "exchange/ExchangeRecords.h"
#include "exchange/SafeFile.h"

namespace dovarin {
namespace {

namespace fs = std::filesystem;
using namespace records;

// ---- dispatch --------------------------------------------------------------------------------

enum class KeyMatch {
    Contains,  // the key occurs anywhere in token 0
    Equal,
    Prefix,
    TextKey,  // equal to one of kTextKindKeys
    Any,
};

enum class CountRule { Any, Exactly, AtLeast };

struct DispatchRow {
    std::string_view key;
    KeyMatch match;
    CountRule rule;
    int count;
    void (*apply)(THostState&, const Tokens&);
};

// In the order that decides: "lgn", "lyn" before "lg", "ly"; "cn$" before "cn".
constexpr DispatchRow kDispatch[] = {
    {"file=", KeyMatch::Contains, CountRule::Any, 0, ReadFileName},
    {"hk", KeyMatch::Equal, CountRule::AtLeast, 2, ReadHk},
    {"hs", KeyMatch::Equal, CountRule::AtLeast, 17, ReadScales},
    {"hzs", KeyMatch::Equal, CountRule::AtLeast, 3, ReadSheetSize},
    {"hcw", KeyMatch::Equal, CountRule::AtLeast, 11, ReadTextTypeReals<&TextTypeEntry::Width>},
    {"hch", KeyMatch::Equal, CountRule::AtLeast, 11, ReadTextTypeReals<&TextTypeEntry::Height>},
    {"hcd", KeyMatch::Equal, CountRule::AtLeast, 11, ReadTextTypeReals<&TextTypeEntry::Spacing>},
    {"hcc", KeyMatch::Equal, CountRule::AtLeast, 11, ReadTextTypeColors},
    {"bz", KeyMatch::Equal, CountRule::Any, 0, ReadBz},
    {"hn", KeyMatch::Equal, CountRule::AtLeast, 5, ReadHn},
    {"lgn", KeyMatch::Prefix, CountRule::Any, 0, ReadLayerGroupName},
    {"lyn", KeyMatch::Prefix, CountRule::Any, 0, ReadLayerName},
    {"lg", KeyMatch::Prefix, CountRule::Any, 0, ReadLayerGroup},
    {"ly", KeyMatch::Prefix, CountRule::Any, 0, ReadLayer},
    {"lc", KeyMatch::Prefix, CountRule::Any, 0, ReadLineColor},
    {"lt", KeyMatch::Prefix, CountRule::Any, 0, ReadLineType},
    {"lw", KeyMatch::Prefix, CountRule::Any, 0, ReadLineWidth},
    {"cn$", KeyMatch::Prefix, CountRule::Any, 0, ReadFontName},
    {"cn", KeyMatch::Prefix, CountRule::Any, 0, ReadTextType},
    {"cc", KeyMatch::Prefix, CountRule::Any, 0, ReadTextColor},
    {"z1", KeyMatch::Equal, CountRule::Any, 0, ReadAttributeFlag<kFlagZ1>},
    {"z2", KeyMatch::Equal, CountRule::Any, 0, ReadAttributeFlag<kFlagZ2>},
    {"z3", KeyMatch::Equal, CountRule::Any, 0, ReadAttributeFlag<kFlagDimension>},
    {"z4", KeyMatch::Equal, CountRule::Any, 0, ReadAttributeFlag<kFlagZ4>},
    {"z5", KeyMatch::Equal, CountRule::Any, 0, ReadAttributeFlag<kFlagZ5>},
    {"pn", KeyMatch::Prefix, CountRule::Any, 0, ReadPointColor},
    {"pl", KeyMatch::Equal, CountRule::Any, 0, ReadChainStart},
    {"msg", KeyMatch::Equal, CountRule::Any, 0, ReadDimensionStart},
    {"#", KeyMatch::Equal, CountRule::Any, 0, ReadChainEnd},
    {"hp", KeyMatch::Prefix, CountRule::AtLeast, 3, ReadReferencePoint},
    {"hhp", KeyMatch::Prefix, CountRule::Any, 0, ReadReferenceLink},
    {"ci", KeyMatch::Equal, CountRule::Exactly, 4, ReadCircle},
    {"ci", KeyMatch::Equal, CountRule::AtLeast, 8, ReadArc},
    {"", KeyMatch::TextKey, CountRule::AtLeast, 6, ReadText},
    {"pt", KeyMatch::Equal, CountRule::Exactly, 3, ReadPoint},
    {"pt", KeyMatch::Equal, CountRule::AtLeast, 6, ReadCodePoint},
    {"BL", KeyMatch::Equal, CountRule::AtLeast, 4, ReadBlock},
    {"sl", KeyMatch::Equal, CountRule::Exactly, 5, ReadSlTwo},
    {"sl", KeyMatch::Equal, CountRule::Exactly, 7, ReadSlThree},
    {"sl", KeyMatch::Equal, CountRule::AtLeast, 9, ReadSlFour},
    {"sc", KeyMatch::Equal, CountRule::AtLeast, 9, ReadSc},
    {"se", KeyMatch::Equal, CountRule::AtLeast, 9, ReadSe},
    {"so", KeyMatch::Equal, CountRule::AtLeast, 9, ReadSo},
    {"sg", KeyMatch::Equal, CountRule::AtLeast, 9, ReadSg},
    {"", KeyMatch::Any, CountRule::Exactly, 4, ReadSegment},
    {"", KeyMatch::Any, CountRule::Any, 0, Ignore},
};

constexpr int kRowCount = static_cast<int>(std::size(kDispatch));
static_assert(kRowCount == 46, "one row per record rule");

bool KeyMatches(const DispatchRow& row, std::string_view key) {
    switch (row.match) {
        case KeyMatch::Contains:
            return key.find(row.key) != std::string_view::npos;
        case KeyMatch::Equal:
            return key == row.key;
        case KeyMatch::Prefix:
            return key.substr(0, row.key.size()) == row.key;
        case KeyMatch::TextKey:
            return TextKindCodeOf(key) >= 0;
        case KeyMatch::Any:
            return true;
    }
    return false;
}

bool CountMatches(const DispatchRow& row, int count) {
    switch (row.rule) {
        case CountRule::Any:
            return true;
        case CountRule::Exactly:
            return count == row.count;
        case CountRule::AtLeast:
            return count >= row.count;
    }
    return false;
}

// The rows a key can match, by its first byte, in table order; most lines (bare numbers) thus
// skip straight to the line segment instead of testing forty keys.
struct RowIndex {
    std::array<std::array<unsigned char, kRowCount>, 256> rows{};
    std::array<unsigned char, 256> counts{};
};

constexpr bool CanStartWith(const DispatchRow& row, unsigned char first) {
    switch (row.match) {
        case KeyMatch::Equal:
        case KeyMatch::Prefix:
            return static_cast<unsigned char>(row.key[0]) == first;
        case KeyMatch::TextKey:
            return first == 'c';
        default:
            return true;
    }
}

constexpr RowIndex MakeRowIndex() {
    RowIndex index;
    for (int first = 0; first < 256; ++first)
        for (int r = 0; r < kRowCount; ++r)
            if (CanStartWith(kDispatch[r], static_cast<unsigned char>(first)))
                index.rows[first][index.counts[first]++] = static_cast<unsigned char>(r);
    return index;
}

constexpr RowIndex kRowsByFirstByte = MakeRowIndex();

void ApplyTokens(THostState& state, const Tokens& t) {
    std::string_view key = t[0];
    if (t.Count() == 1 && key.empty()) return;
    const unsigned char first = key.empty() ? 0 : static_cast<unsigned char>(key[0]);
    for (int k = 0; k < kRowsByFirstByte.counts[first]; ++k) {
        const DispatchRow& row = kDispatch[kRowsByFirstByte.rows[first][k]];
        if (CountMatches(row, t.Count()) && KeyMatches(row, key)) {
            row.apply(state, t);
            return;
        }
    }
}

void ApplyLine(THostState& state, std::string_view line, Tokens& tokens) {
    TokenizeExchangeLine(line, tokens);
    ApplyTokens(state, tokens);
}

}  // namespace

void ParseExchangeText(std::string_view line, THostState& state) {
    Tokens tokens;
    ApplyLine(state, line, tokens);
}

// ---- the file --------------------------------------------------------------------------------

namespace {

// Read in pieces, so that the file is never held whole beside the records made of it.
constexpr std::size_t kChunkBytes = 256 * 1024;
constexpr char kEndOfText = '\x1a';

// The CR of a CR LF line end. Any other CR is left to the tokenizer, which skips it; taking this
// one off here keeps the line on the tokenizer's fast path.
std::string_view WithoutCr(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

// Cuts a stream of pieces into lines at LF. A line that lies in one piece is tokenized where it
// lies; one that spans pieces goes through the byte scan piece by piece, so that no line, however
// long, is ever copied whole.
class LineSplitter {
  public:
    explicit LineSplitter(THostState& state) : state_(state) {}

    void Feed(std::string_view piece) {
        while (!piece.empty()) {
            const void* lf = std::memchr(piece.data(), '\n', piece.size());
            if (!lf) break;
            const std::size_t length = static_cast<const char*>(lf) - piece.data();
            if (spanning_) {
                scanner_.Feed(piece.substr(0, length));
                FinishSpanningLine();
            } else {
                ApplyLine(state_, WithoutCr(piece.substr(0, length)), tokens_);
            }
            piece.remove_prefix(length + 1);
        }
        if (piece.empty()) return;
        if (!spanning_) scanner_.Start(kMaxLineTokenBytes);
        spanning_ = true;
        scanner_.Feed(piece);
    }
    // The last line of a text that does not end in LF.
    void Finish() {
        if (spanning_) FinishSpanningLine();
    }

  private:
    // The scan drops every CR, so the line end's CR needs no special care here.
    void FinishSpanningLine() {
        scanner_.Finish();
        ApplyTokens(state_, tokens_);
        spanning_ = false;
    }

    THostState& state_;
    Tokens tokens_;
    LineScanner scanner_{tokens_};
    bool spanning_ = false;
};

}  // namespace

bool ReadExchangeFile(const fs::path& path, THostState& state) {
    const UniqueFile file(OpenPlainFileForReading(path));
    if (!file) return false;
    std::vector<char> chunk(kChunkBytes);
    LineSplitter lines(state);
    bool ended = false;
    while (!ended) {
        const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), file.get());
        if (got == 0) break;
        std::string_view piece(chunk.data(), got);
        const std::size_t eot = piece.find(kEndOfText);
        if (eot != std::string_view::npos) {
            piece = piece.substr(0, eot);
            ended = true;
        }
        lines.Feed(piece);
    }
    // A line cut off by a read error is dropped: half a record could read as a different one.
    const bool failed = !ended && std::ferror(file.get());
    if (!failed) lines.Finish();
    return !failed;
}

}  // namespace dovarin