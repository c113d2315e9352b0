// The writer of the answer: records in the host's syntax, appended to the output it is given (the
// run's OutputBuffer, which is written to JWC_TEMP.TXT when the form closes, or the preview's own).
//
//   lg1          attribute records, written only when their value changes
//   ly7
//   lc2
//   z3           flags of the next entity, always written
//   pl           a chain of lines ...
//   0 0 100 0    a segment: four reals, no keyword
//   #            ... ends
//   cn3
//   ch 10 20 1 0 "text     a text: header entry + text entry, one line in the file
//
// Reals use the file's one real form (FormatReal). An entry holds at most kMaxTextBytes bytes.
// The remembered attributes are the writer's Cur (the run's: HostState.Cur); a FirstPending flag
// forces the next record of its attribute whatever the remembered value.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <utility>

#include "exchange/JwwGaibu.h"
#include "exchange/SafeFile.h"
#include "util/MyFunc.h"

namespace dovarin {
namespace {

namespace fs = std::filesystem;

// Below this a segment, a direction or a point scale counts as zero; such records are dropped
// (or the scale replaced), as the host would draw nothing sensible from them.
constexpr double kWriterZero = 1e-8;

constexpr int kMaxLineWidth = 30000;
constexpr int kMaxTextColor = 8;
constexpr int kMinPointCode = -7;
constexpr int kMaxPointCode = 11;
constexpr int kPointCodeFallback = -3;
constexpr int kHostLineWidth = -1;  // PutLineWidth's stand-in for HostLineWidth

std::string Decimal(int value) {
    char digits[16];
    const auto res = std::to_chars(digits, digits + sizeof digits, value);
    return std::string(digits, res.ptr);
}

// Upper-case hexadecimal without leading zeros; a negative value shows its 32-bit pattern.
std::string Hex(int value) {
    char digits[16];
    const auto res =
        std::to_chars(digits, digits + sizeof digits, static_cast<std::uint32_t>(value), 16);
    std::string text(digits, res.ptr);
    for (char& c : text)
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// The reals of a record, one blank between them.
std::string Reals(std::initializer_list<double> values) {
    std::string text;
    for (double value : values) {
        if (!text.empty()) text += ' ';
        text += FormatReal(value);
    }
    return text;
}

bool IsZeroVector(double dx, double dy) {
    return std::abs(dx) <= kWriterZero && std::abs(dy) <= kWriterZero;
}

// A segment shorter than the tolerance on both axes (the bound itself excluded).
bool IsZeroSegment(double x1, double y1, double x2, double y2) {
    return std::abs(x2 - x1) < kWriterZero && std::abs(y2 - y1) < kWriterZero;
}

// Half up to a multiple of the tolerance. A length so long that counting it in tolerances
// overflows has no digits that fine: it stays as it is.
double RoundedToTolerance(double length) {
    const double units = length / kWriterZero;
    if (!std::isfinite(units)) return length;
    return std::trunc(units + 0.5) * kWriterZero;
}

// Blank as the host will see it, without the control characters AppendEntry drops.
bool IsBlankText(std::string_view text) {
    return IsBlank(text, true);
}

std::string_view TextKeyOf(int kind) {
    return kind >= 0 && kind < static_cast<int>(kTextKindKeys.size()) ? kTextKindKeys[kind]
                                                                      : kTextKindKeys[0];
}

bool IsLayerNumber(int value) {
    return value >= 0 && value <= 15;
}

}  // namespace

// Every entry passes here. A control byte inside a record, whatever its source (the host's own
// font name, a prefix from the settings file), would end the host's text at 0x1A or split the
// line at CR: it is dropped.
void ExchangeWriter::AppendEntry(std::string_view text, bool joinsNext) {
    std::string clean = WithoutControlChars(text, kMaxTextBytes);
    if (clean.size() > kMaxTextBytes) clean.resize(kMaxTextBytes);
    output_.push_back({std::move(clean), joinsNext});
}

// The change-only rule: the record is written when forced or when the value changes. True when
// it was written.
bool ExchangeWriter::PutIfChanged(bool& firstPending, int& remembered, int value,
                                  std::string_view key, std::string (*form)(int)) {
    if (!firstPending && value == remembered) return false;
    PutLine(std::string(key) + form(value));
    remembered = value;
    firstPending = false;
    return true;
}

// A text record: its header (key, position, direction, opening quote) and its text, which the
// file joins into one line.
void ExchangeWriter::PutTextRecord(std::string_view key, std::string_view text, double x, double y,
                                   double dx, double dy) {
    AppendEntry(std::string(key) + ' ' + Reals({x, y, dx, dy}) + " \"", true);
    PutLine(text);
}

void ExchangeWriter::ResetWriterState() {
    pending_ = FirstPendingFlags();
    pending_.TextColor = pending_.FontName = pending_.PointColor = true;
    const CurrentAttributes defaults;
    CurrentAttributes& c = cur_;
    c.CurLayerGroup = defaults.CurLayerGroup;
    c.CurLayer = defaults.CurLayer;
    c.CurLineColor = defaults.CurLineColor;
    c.CurLineType = defaults.CurLineType;
    c.CurLineWidth = defaults.CurLineWidth;
    c.CurTextType = defaults.CurTextType;
    c.CurFreeTextWidth = defaults.CurFreeTextWidth;
    c.CurFreeTextHeight = defaults.CurFreeTextHeight;
    c.CurFreeTextSpacing = defaults.CurFreeTextSpacing;
    c.CurFreeTextColor = defaults.CurFreeTextColor;
    c.CurCcValue = defaults.CurCcValue;
    c.CurFontName = defaults.CurFontName;
    c.CurPointColor = defaults.CurPointColor;
    c.CurColorValue = defaults.CurColorValue;
}

void ExchangeWriter::PutLine(std::string_view text) {
    AppendEntry(text, false);
}

void ExchangeWriter::PutLayerGroup(int value) {
    // A layer number means nothing without its group: repeat it after every group record.
    if (PutIfChanged(pending_.LayerGroup, cur_.CurLayerGroup, value, "lg", Hex))
        pending_.Layer = true;
}

void ExchangeWriter::PutLayer(int value) {
    PutIfChanged(pending_.Layer, cur_.CurLayer, value, "ly", Hex);
}

void ExchangeWriter::PutLineColor(int value) {
    PutIfChanged(pending_.LineColor, cur_.CurLineColor, value, "lc", Decimal);
}

void ExchangeWriter::PutLineType(int value) {
    PutIfChanged(pending_.LineType, cur_.CurLineType, value, "lt", Decimal);
}

void ExchangeWriter::PutLineWidth(int value) {
    if (!state_.LineWidthSeen) return;  // the host works without line widths
    if (value == kHostLineWidth) value = state_.HostLineWidth;
    if (value < 0 || value > kMaxLineWidth) value = 0;
    PutIfChanged(pending_.LineWidth, cur_.CurLineWidth, value, "lw", Decimal);
}

void ExchangeWriter::PutTextType(int type, int color, double width, double height, double spacing) {
    const THostState& s = state_;
    CurrentAttributes& c = cur_;
    if (type < 0 || type > kTextTypeCount) {
        type = s.HostTextType;
        if (type == 0) {
            width = s.HostFreeTextWidth;
            height = s.HostFreeTextHeight;
            spacing = s.HostFreeTextSpacing;
            color = s.HostFreeTextColor;
        }
    }
    const bool freeSizeChanged =
        type == 0 && (width != c.CurFreeTextWidth || height != c.CurFreeTextHeight ||
                      spacing != c.CurFreeTextSpacing || color != c.CurFreeTextColor);
    if (!pending_.TextType && type == c.CurTextType && !freeSizeChanged) return;
    if (type != 0) {
        PutLine("cn" + Decimal(type));
    } else {
        PutLine("cn0 " + Reals({width, height, spacing}) + ' ' + Decimal(color));
        c.CurFreeTextWidth = width;
        c.CurFreeTextHeight = height;
        c.CurFreeTextSpacing = spacing;
        c.CurFreeTextColor = color;
    }
    c.CurTextType = type;
    pending_.TextType = false;
}

void ExchangeWriter::PutTextColor(int value) {
    if (value < 0 || value > kMaxTextColor) value = 0;
    PutIfChanged(pending_.TextColor, cur_.CurCcValue, value, "cc", Decimal);
}

void ExchangeWriter::PutFontName(std::string_view name) {
    if (name.empty() || name == "<>") name = state_.HostFontName;
    if (pending_.FontName || name != cur_.CurFontName) {
        PutLine("cn\"$" + std::string(name));
        pending_.FontName = false;
    }
    cur_.CurFontName = name;
}

void ExchangeWriter::PutPointColor(int value) {
    PutIfChanged(pending_.PointColor, cur_.CurPointColor, value, "pn", Decimal);
}

void ExchangeWriter::PutAttributeFlags(int flags) {
    if (flags & kFlagZ1) PutLine("z1");
    if (flags & kFlagZ2) PutLine("z2");
    if (flags & kFlagDimension) PutLine("z3");
    // "z5" includes what "z4" says.
    if ((flags & kFlagZ4) && !(flags & kFlagZ5)) PutLine("z4");
    if (flags & kFlagZ5) PutLine("z5");
}

void ExchangeWriter::PutChainStart() {
    PutLine("pl");
}
void ExchangeWriter::PutChainEnd() {
    PutLine("#");
}

void ExchangeWriter::PutSegment(double x1, double y1, double x2, double y2) {
    if (IsZeroSegment(x1, y1, x2, y2)) return;
    PutLine(Reals({x1, y1, x2, y2}));
}

void ExchangeWriter::PutPoint(int code, double x, double y, double scale, double angle) {
    if (code < kMinPointCode || code > kMaxPointCode) code = kPointCodeFallback;
    if (std::abs(scale) <= kWriterZero) scale = 1;
    PutLine("pt " + Reals({x, y, scale, angle}) + ' ' + Decimal(code));
}

void ExchangeWriter::PutText(int kind, std::string_view text, double x, double y, double dx,
                             double dy) {
    if (IsZeroVector(dx, dy) || IsBlankText(text)) return;
    PutTextRecord(TextKeyOf(kind), text, x, y, dx, dy);
}

void ExchangeWriter::PutDimensionText(std::string_view text, double x1, double y1, double x2,
                                      double y2, double tx, double ty, double dx, double dy) {
    if (IsZeroSegment(x1, y1, x2, y2) || IsZeroVector(dx, dy)) return;
    std::string measured;
    if (IsBlankText(text)) {
        // The host shows the line's length when the value is blank; rounded to the tolerance.
        measured = FormatReal(RoundedToTolerance(Distance(x1, y1, x2, y2)));
        text = measured;
    }
    PutLine("msg");
    PutLine(Reals({x1, y1, x2, y2}));
    PutTextRecord(kTextKindKeys[2], text, tx, ty, dx, dy);
}

// The line that follows position orderPos in the host's order, if it is a line of `chain`.
bool ExchangeWriter::NextLineContinuesChain(int orderPos, int chain) const {
    const THostState& s = state_;
    if (chain <= 0 || orderPos < 0) return false;
    const std::size_t next = static_cast<std::size_t>(orderPos) + 1;
    if (next >= s.EntityOrder.size()) return false;
    const EntityOrderEntry& entry = s.EntityOrder[next];
    if (entry.Kind != kEntLine || entry.Index < 0) return false;
    if (static_cast<std::size_t>(entry.Index) >= s.SelectedLines.size()) return false;
    return s.SelectedLines[entry.Index].ChainNo() == chain;
}

// Closes an open chain; the caller's chain state becomes "none".
bool ExchangeWriter::EndChain(int& openChain) {
    if (openChain > 0) PutChainEnd();
    openChain = 0;
    return false;
}

bool ExchangeWriter::PutLineAttributes(int lineIndex, int orderPos, int& openChain, int layerGroup,
                                       int layer, int color, int lineType, int width) {
    const THostState& s = state_;
    // No such line: nothing to write, but a chain left open would swallow the next records.
    if (lineIndex < 0 || static_cast<std::size_t>(lineIndex) >= s.SelectedLines.size())
        return EndChain(openChain);
    return PutLineAttributes(s.SelectedLines[lineIndex], orderPos, openChain, layerGroup, layer,
                             color, lineType, width);
}

bool ExchangeWriter::PutLineAttributes(const TJwwEntLine& line, int orderPos, int& openChain,
                                       int layerGroup, int layer, int color, int lineType,
                                       int width) {
    PutLayerGroup(IsLayerNumber(layerGroup) ? layerGroup : line.LayerGroup);
    PutLayer(IsLayerNumber(layer) ? layer : line.Layer);
    PutLineColor(color != kKeepOwnValue ? color : line.Color);
    PutLineType(lineType != kKeepOwnValue ? lineType : line.LineType);
    PutLineWidth(width != kKeepOwnValue ? width : line.LineWidth);
    if (line.ChainNo() > 0 && line.ChainNo() != openChain) {
        PutChainStart();
        openChain = line.ChainNo();
    }
    PutAttributeFlags(line.Flags);
    PutSegment(line.X1, line.Y1, line.X2, line.Y2);
    if (NextLineContinuesChain(orderPos, openChain)) return true;
    return EndChain(openChain);
}

ExchangeWriter HostWriter() {
    return ExchangeWriter(HostState, HostState.Cur, HostState.FirstPending, OutputBuffer);
}

void ResetWriterState() {
    HostWriter().ResetWriterState();
}
void PutLine(std::string_view text) {
    HostWriter().PutLine(text);
}
void PutLayerGroup(int value) {
    HostWriter().PutLayerGroup(value);
}
void PutLayer(int value) {
    HostWriter().PutLayer(value);
}
void PutLineColor(int value) {
    HostWriter().PutLineColor(value);
}
void PutLineType(int value) {
    HostWriter().PutLineType(value);
}
void PutLineWidth(int value) {
    HostWriter().PutLineWidth(value);
}
void PutTextType(int type, int color, double width, double height, double spacing) {
    HostWriter().PutTextType(type, color, width, height, spacing);
}
void PutTextColor(int value) {
    HostWriter().PutTextColor(value);
}
void PutFontName(std::string_view name) {
    HostWriter().PutFontName(name);
}
void PutPointColor(int value) {
    HostWriter().PutPointColor(value);
}
void PutAttributeFlags(int flags) {
    HostWriter().PutAttributeFlags(flags);
}
void PutChainStart() {
    HostWriter().PutChainStart();
}
void PutChainEnd() {
    HostWriter().PutChainEnd();
}
void PutSegment(double x1, double y1, double x2, double y2) {
    HostWriter().PutSegment(x1, y1, x2, y2);
}
void PutPoint(int code, double x, double y, double scale, double angle) {
    HostWriter().PutPoint(code, x, y, scale, angle);
}
void PutText(int kind, std::string_view text, double x, double y, double dx, double dy) {
    HostWriter().PutText(kind, text, x, y, dx, dy);
}
void PutDimensionText(std::string_view text, double x1, double y1, double x2, double y2, double tx,
                      double ty, double dx, double dy) {
    HostWriter().PutDimensionText(text, x1, y1, x2, y2, tx, ty, dx, dy);
}
bool PutLineAttributes(int lineIndex, int orderPos, int& openChain, int layerGroup, int layer,
                       int color, int lineType, int width) {
    return HostWriter().PutLineAttributes(lineIndex, orderPos, openChain, layerGroup, layer, color,
                                          lineType, width);
}
bool PutLineAttributes(const TJwwEntLine& line, int orderPos, int& openChain, int layerGroup,
                       int layer, int color, int lineType, int width) {
    return HostWriter().PutLineAttributes(line, orderPos, openChain, layerGroup, layer, color,
                                          lineType, width);
}

std::vector<std::string> OutputLines(const std::vector<OutputEntry>& output) {
    if (output.empty()) return {"hq"};
    std::vector<std::string> lines;
    lines.reserve(output.size());
    for (std::size_t k = 0; k < output.size(); ++k) {
        std::string line = output[k].Text;
        if (output[k].JoinsNext && k + 1 < output.size()) line += output[++k].Text;
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<std::string> OutputLines() {
    return OutputLines(OutputBuffer);
}

namespace {

// A text header that is the very last entry has no text to complete its line; the file then
// ends right after it, without a line end. PutText and PutDimensionText never leave one.
bool EndsInOpenHeader() {
    return !OutputBuffer.empty() && OutputBuffer.back().JoinsNext;
}

std::string FileContent() {
    std::string content;
    for (const std::string& line : OutputLines()) {
        content += line;
        content += "\r\n";
    }
    if (EndsInOpenHeader()) content.resize(content.size() - 2);
    return content;
}

void AnswerNothing(const fs::path& path) noexcept {
    // The host must never take its own input, or part of an answer, for our answer: "hq" when it
    // can be written, else no file at all (a failed rewrite in place has left it empty).
    try {
        if (WriteFileReplacing(path, "hq\r\n")) return;
    } catch (...) {
    }
    std::error_code ec;
    if (!fs::is_directory(path, ec)) fs::remove(path, ec);
}

}  // namespace

bool WriteExchangeFile(const fs::path& path) noexcept {
    try {
        if (WriteFileReplacing(path, FileContent())) return true;
    } catch (...) {
        // Out of memory for the answer: it is lost like a failed write.
    }
    AnswerNothing(path);
    return false;
}

}  // namespace dovarin
