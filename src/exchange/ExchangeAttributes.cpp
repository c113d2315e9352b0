// The reader's rules for the host's parameters, attributes and reference points.
#include <vector>

#include "exchange/ExchangeRecords.h"

namespace dovarin {
namespace records {
namespace {

// ---- attribute records -----------------------------------------------------------------------

void ClearChain() {
    HostState.Cur.InChain = false;
}

// The first value of an attribute is the host's own setting; every value is the current one.
void TakeAttribute(bool& firstPending, int& hostField, int& currentField, int value) {
    if (firstPending) {
        hostField = value;
        firstPending = false;
    }
    currentField = value;
}

// "lg" and "ly" carry one hexadecimal digit as the key's third byte.
int HexDigitOfKey(const Tokens& t) {
    std::string_view key = t[0];
    const char digit[2] = {'$', key.size() >= 3 ? key[2] : '\0'};
    const int value = StrToIntOrZero(std::string_view(digit, key.size() >= 3 ? 2 : 1));
    return value >= 0 && value <= 15 ? value : 0;
}

void SetTableValue(std::vector<int>& table, int index, int value) {
    if (index >= 0 && static_cast<std::size_t>(index) < table.size()) table[index] = value;
}

void SetTableName(std::vector<std::string>& table, int index, std::string_view name) {
    if (index >= 0 && static_cast<std::size_t>(index) < table.size()) table[index] = name;
}

int CurrentLayerSlot() {
    return HostState.Cur.CurLayerGroup * 16 + HostState.Cur.CurLayer;
}

}  // namespace

void ReadLayerGroupName(const Tokens& t) {
    SetTableName(HostState.LayerGroupName, HostState.Cur.CurLayerGroup, t.Rest(4));
}

void ReadLayerName(const Tokens& t) {
    SetTableName(HostState.LayerName, CurrentLayerSlot(), t.Rest(4));
}

void ReadLayerGroup(const Tokens& t) {
    THostState& s = HostState;
    const int g = HexDigitOfKey(t);
    TakeAttribute(s.FirstPending.LayerGroup, s.HostLayerGroup, s.Cur.CurLayerGroup, g);
    if (t.Count() >= 2) SetTableValue(s.LayerGroupValue, g, Int(t, 1));
    ClearChain();
}

void ReadLayer(const Tokens& t) {
    THostState& s = HostState;
    const int l = HexDigitOfKey(t);
    TakeAttribute(s.FirstPending.Layer, s.HostLayer, s.Cur.CurLayer, l);
    if (t.Count() >= 2) SetTableValue(s.LayerValue, s.Cur.CurLayerGroup * 16 + l, Int(t, 1));
    ClearChain();
}

// Line colour 10 is the host's "other colour"; its value comes as the record's first value.
constexpr int kColorWithValue = 10;

void ReadLineColor(const Tokens& t) {
    THostState& s = HostState;
    const int c = StrToIntOrZero(t.Rest(3));
    TakeAttribute(s.FirstPending.LineColor, s.HostLineColor, s.Cur.CurLineColor, c);
    if (c == kColorWithValue && t.Count() >= 2) s.Cur.CurColorValue = Int(t, 1);
    ClearChain();
}

void ReadLineType(const Tokens& t) {
    THostState& s = HostState;
    TakeAttribute(s.FirstPending.LineType, s.HostLineType, s.Cur.CurLineType,
                  StrToIntOrZero(t.Rest(3)));
    ClearChain();
}

void ReadLineWidth(const Tokens& t) {
    THostState& s = HostState;
    TakeAttribute(s.FirstPending.LineWidth, s.HostLineWidth, s.Cur.CurLineWidth,
                  StrToIntOrZero(t.Rest(3)));
    s.LineWidthSeen = true;
    ClearChain();
}

void ReadFontName(const Tokens& t) {
    std::string_view name = t.Rest(4);
    if (HostState.HostFontName.empty()) HostState.HostFontName = name;
    HostState.Cur.CurFontName = name;
    ClearChain();
}

// "cn" + type; the free size (type 0) brings width, height, spacing and colour along.
void ReadTextType(const Tokens& t) {
    THostState& s = HostState;
    const int n = StrToIntOrZero(t.Rest(3));
    const bool freeSize = n == 0 && t.Count() >= 5;
    if (s.FirstPending.TextType) {
        s.HostTextType = n;
        if (freeSize) {
            s.HostFreeTextWidth = Real(t, 1);
            s.HostFreeTextHeight = Real(t, 2);
            s.HostFreeTextSpacing = Real(t, 3);
            s.HostFreeTextColor = Int(t, 4);
        }
        s.FirstPending.TextType = false;
    }
    s.Cur.CurTextType = n;
    if (freeSize) {
        s.Cur.CurFreeTextWidth = Real(t, 1);
        s.Cur.CurFreeTextHeight = Real(t, 2);
        s.Cur.CurFreeTextSpacing = Real(t, 3);
        s.Cur.CurFreeTextColor = Int(t, 4);
    }
    ClearChain();
}

constexpr int kMaxTextColor = 8;

void ReadTextColor(const Tokens& t) {
    std::string_view key = t[0];
    const int v = StrToIntOrZero(key.size() >= 3 ? key.substr(2, 1) : std::string_view());
    HostState.Cur.CurCcValue = v >= 0 && v <= kMaxTextColor ? v : 0;
    ClearChain();
}

void ReadPointColor(const Tokens& t) {
    HostState.Cur.CurPointColor = StrToIntOrZero(t.Rest(3));
    ClearChain();
}

void ReadChainStart(const Tokens&) {
    CurrentAttributes& c = HostState.Cur;
    ++c.ChainCount;
    c.InChain = true;
    c.AfterMsg = false;
}

void ReadDimensionStart(const Tokens&) {
    HostState.Cur.AfterMsg = true;
    HostState.Cur.InChain = false;
}

void ReadChainEnd(const Tokens&) {
    HostState.Cur.InChain = false;
    HostState.Cur.AfterMsg = false;
}

// ---- parameters ------------------------------------------------------------------------------

void ReadFileName(const Tokens& t) {
    HostState.HostFileName = t.Rest(6);
}
void ReadHk(const Tokens& t) {
    HostState.HkValue = Real(t, 1);
}
void ReadBz(const Tokens&) {
    HostState.BzFlag = true;
}

void ReadScales(const Tokens& t) {
    for (int g = 0; g < 16; ++g) HostState.LayerGroupScale[g] = Real(t, g + 1);
}

void ReadSheetSize(const Tokens& t) {
    HostState.SheetWidth = Real(t, 1);
    HostState.SheetHeight = Real(t, 2);
}

void ReadTextTypeColors(const Tokens& t) {
    for (int n = 1; n <= 10; ++n) HostState.TextTypes[n].Color = Int(t, n);
}

void ReadHn(const Tokens& t) {
    for (int k = 0; k < 4; ++k) HostState.HnValues[k] = Real(t, k + 1);
}

// ---- reference points ------------------------------------------------------------------------

// "hp" n, then optionally "-", "ln", "ci" or "ch" (HpKind 1 .. 4): the point n at (x, y).
void ReadReferencePoint(const Tokens& t) {
    static constexpr std::string_view kSuffixes[] = {"-", "ln", "ci", "ch"};
    std::string_view key = t[0];
    std::string_view number = t.Rest(3);
    int kind = 0;
    for (int k = 0; k < 4; ++k) {
        const std::size_t p = key.find(kSuffixes[k]);
        if (p == std::string_view::npos) continue;
        number = p > 2 ? key.substr(2, p - 2) : std::string_view();
        kind = k + 1;
    }
    const int n = StrToIntOrZero(number);
    THostState& s = HostState;
    if (n < 1 || n > 99 || static_cast<std::size_t>(n) >= s.HpPoints.size()) return;
    HpPoint& point = s.HpPoints[n];
    point.Set = true;
    point.X = Real(t, 1);
    point.Y = Real(t, 2);
    point.Kind = kind;
    ++s.HpPointCount;
}

// "hhp" n, optionally "ln", "ci" or "ch": the next entity is linked to reference point n.
void ReadReferenceLink(const Tokens& t) {
    static constexpr std::string_view kSuffixes[] = {"ln", "ci", "ch"};
    std::string_view key = t[0];
    std::string_view number = t.Rest(4);
    for (std::string_view suffix : kSuffixes) {
        const std::size_t p = key.find(suffix);
        if (p != std::string_view::npos && p > 3) number = key.substr(3, p - 3);
    }
    HostState.Cur.CurHpLink = StrToIntOrZero(number);
}

}  // namespace records
}  // namespace dovarin
