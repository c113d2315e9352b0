// Any bytes as the host's exchange text, then the writer on what was read: nothing may crash,
// overrun or leave HostState inconsistent (every EntityOrder entry points into its list, every
// list gives the same records by index as in order), no entry of the answer holds a control byte,
// and the tokenizer's two scans agree.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "exchange/ExchangeTokens.h"
#include "exchange/JwwGaibu.h"

namespace {

using namespace dovarin;

std::size_t ListSize(int kind) {
    const THostState& s = HostState;
    switch (kind) {
        case kEntLine:
            return s.SelectedLines.size();
        case kEntCircle:
            return s.Circles.size();
        case kEntArc:
            return s.Arcs.size();
        case kEntText:
            return s.Texts.size();
        case kEntPoint:
            return s.Points.size();
        case kEntCodePoint:
            return s.CodePoints.size();
        case kEntDim:
            return s.Dims.size();
        case kEntBlk:
            return s.Blocks.size();
        case kEntSl2:
            return s.Sl2s.size();
        case kEntSl3:
            return s.Sl3s.size();
        case kEntSl4:
            return s.Sl4s.size();
        case kEntSc:
            return s.Scs.size();
        case kEntSe:
            return s.Ses.size();
        case kEntSo:
            return s.Sos.size();
        case kEntSg:
            return s.Sgs.size();
        default:
            return 0;
    }
}

void CheckOrder() {
    for (const EntityOrderEntry& entry : HostState.EntityOrder)
        if (entry.Index < 0 || static_cast<std::size_t>(entry.Index) >= ListSize(entry.Kind))
            std::abort();
}

// Whether two records hold the same value in every field, reals bit for bit.
class SameFields {
  public:
    bool Same() const { return same_; }
    template <class F>
    void Shared(const F& a, const F& b) {
        Compare(a, b);
    }
    template <class F>
    void Own(const F& a, const F& b) {
        Compare(a, b);
    }

  private:
    void Compare(int a, int b) { same_ = same_ && a == b; }
    void Compare(double a, double b) { same_ = same_ && std::memcmp(&a, &b, sizeof a) == 0; }
    void Compare(const std::string& a, const std::string& b) { same_ = same_ && a == b; }
    bool same_ = true;
};

template <class Record>
void CheckByIndex(const EntityList<Record>& list) {
    std::size_t i = 0;
    for (const Record& record : list) {
        if (i % 7 == 0 || i + 1 == list.size()) {
            const Record byIndex = list[i];
            SameFields same;
            EntityFields<Record>::Visit(same, record, byIndex);
            if (!same.Same()) std::abort();
        }
        ++i;
    }
    if (i != list.size()) std::abort();
}

void CheckLists() {
    const THostState& s = HostState;
    CheckByIndex(s.SelectedLines);
    CheckByIndex(s.Circles);
    CheckByIndex(s.Arcs);
    CheckByIndex(s.Texts);
    CheckByIndex(s.Points);
    CheckByIndex(s.CodePoints);
    CheckByIndex(s.Dims);
    CheckByIndex(s.Blocks);
    CheckByIndex(s.Sl2s);
    CheckByIndex(s.Sl3s);
    CheckByIndex(s.Sl4s);
    CheckByIndex(s.Scs);
    CheckByIndex(s.Ses);
    CheckByIndex(s.Sos);
    CheckByIndex(s.Sgs);
}

bool SameTokens(const LineTokens& a, const LineTokens& b) {
    if (a.Count() != b.Count()) return false;
    for (int i = 0; i < a.Count(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// The tokenizer's fast path, its byte-by-byte scan, and the scan fed the line in two pieces (as
// a line across the reader's buffer comes) must agree on every line.
void CheckTokenizers(std::string_view line) {
    static LineTokens fast, slow, pieces;
    TokenizeExchangeLine(line, fast);
    TokenizeExchangeLineByteByByte(line, slow);
    LineScanner scanner(pieces);
    scanner.Start(kMaxLineTokenBytes);
    const std::size_t cut = line.empty() ? 0 : static_cast<unsigned char>(line[0]) % line.size();
    scanner.Feed(line.substr(0, cut));
    scanner.Feed(line.substr(cut));
    scanner.Finish();
    if (!SameTokens(fast, slow) || !SameTokens(slow, pieces)) std::abort();
}

// Lines as ReadExchangeFile cuts them: at LF, the text ending at 0x1A.
void ParseAsLines(std::string_view text) {
    const std::size_t end = text.find('\x1a');
    if (end != std::string_view::npos) text = text.substr(0, end);
    while (!text.empty()) {
        const std::size_t lf = text.find('\n');
        CheckTokenizers(text.substr(0, lf));
        ParseExchangeText(text.substr(0, lf));
        if (lf == std::string_view::npos) break;
        text.remove_prefix(lf + 1);
    }
}

void WriteBack() {
    ResetWriterState();
    int open = 0;
    const int lines = static_cast<int>(HostState.SelectedLines.size());
    for (int line = 0; line < lines && line < 64; ++line)
        PutLineAttributes(line, line, open, -1, -1, -1, -1, -1);
    for (const TJwwEntText& text : HostState.Texts) {
        PutTextType(text.TextType, text.Color, text.Width, text.Height, text.Spacing);
        PutFontName(text.FontName);
        PutText(text.Extra, text.Text, text.X, text.Y, text.DX, text.DY);
    }
    for (const TJwwEntDim& dim : HostState.Dims)
        PutDimensionText(dim.Text.Text, dim.Line.X1, dim.Line.Y1, dim.Line.X2, dim.Line.Y2,
                         dim.Text.X, dim.Text.Y, dim.Text.DX, dim.Text.DY);
    for (const TJwwEntCodePoint& point : HostState.CodePoints)
        PutPoint(point.Code, point.X, point.Y, point.Scale, point.Angle);
    for (const OutputEntry& entry : OutputBuffer) {
        if (entry.Text.size() > kMaxTextBytes) std::abort();
        for (unsigned char b : entry.Text)
            if (b < 0x20 || b == 0x7F) std::abort();  // would end or split the host's record
    }
    if (OutputLines().empty()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InitHostState();
    ParseAsLines(std::string_view(reinterpret_cast<const char*>(data), size));
    CheckOrder();
    CheckLists();
    WriteBack();
    FreeHostState();
    return 0;
}
