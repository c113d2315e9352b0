// The reader's rules for the host's parameters, attributes and reference points.
#include <vector>

#include "exchange/ExchangeRecords.h"

namespace dovarin {
namespace records {
namespace {

// ---- attribute records -----------------------------------------------------------------------

void ClearChain(THostState& s) {
    s.Cur.InChain = false;
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

int CurrentLayerSlot(const THostState& s) {
    return s.Cur.CurLayerGroup * 16 + s.Cur.CurLayer;
}

}  // namespace

void ReadLayerGroupName(THostState& s, const Tokens& t) {
    SetTableName(s.LayerGroupName, s.Cur.CurLayerGroup, t.Rest(4));
}

void ReadLayerName(THostState& s, const Tokens& t) {
    SetTableName(s.LayerName, CurrentLayerSlot(s), t.Rest(4));
}

void ReadLayerGroup(THostState& s, const Tokens& t) {
    const int g = HexDigitOfKey(t);
    TakeAttribute(s.FirstPending.LayerGroup, s.HostLayerGroup, s.Cur.CurLayerGroup, g);
    if (t.Count() >= 2) SetTableValue(s.LayerGroupValue, g, Int(t, 1));
    ClearChain(s);
}

void ReadLayer(THostState& s, const Tokens& t) {
    const int l = HexDigitOfKey(t);
    TakeAttribute(s.FirstPending.Layer, s.HostLayer, s.Cur.CurLayer, l);
    if (t.Count() >= 2) SetTableValue(s.LayerValue, s.Cur.CurLayerGroup * 16 + l, Int(t, 1));
    ClearChain(s);
}

// Line colour 10 is the host's "other colour"; its value comes as the record's first value.
constexpr int kColorWithValue = 10;

void ReadLineColor(THostState& s, const Tokens& t) {
    const int c = StrToIntOrZero(t.Rest(3));
    TakeAttribute(s.FirstPending.LineColor, s.HostLineColor, s.Cur.CurLineColor, c);
    if (c == kColorWithValue && t.Count() >= 2) s.Cur.CurColorValue = Int(t, 1);
    ClearChain(s);
}

void ReadLineType(THostState& s, const Tokens& t) {
    TakeAttribute(s.FirstPending.LineType, s.HostLineType, s.Cur.CurLineType,
                  StrToIntOrZero(t.Rest(3)));
    ClearChain(s);
}

void ReadLineWidth(THostState& s, const Tokens& t) {
    TakeAttribute(s.FirstPending.LineWidth, s.HostLineWidth, s.Cur.CurLineWidth,
                  StrToIntOrZero(t.Rest(3)));
    s.LineWidthSeen = true;
    ClearChain(s);
}

void ReadFontName(THostState& s, const Tokens& t) {
    std::string_view name = t.Rest(4);
    if (s.HostFontName.empty()) s.HostFontName = name;
    s.Cur.CurFontName = name;
    ClearChain(s);
}

// "cn" + type; the free size (type 0) brings width, height, spacing and colour along.
void ReadTextType(THostState& s, const Tokens& t) {
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
    ClearChain(s);
}

constexpr int kMaxTextColor = 8;

void ReadTextColor(THostState& s, const Tokens& t) {
    std::string_view key = t[0];
    const int v = StrToIntOrZero(key.size() >= 3 ? key.substr(2, 1) : std::string_view());
    s.Cur.CurCcValue = v >= 0 && v <= kMaxTextColor ? v : 0;
    ClearChain(s);
}

void ReadPointColor(THostState& s, const Tokens& t) {
    s.Cur.CurPointColor = StrToIntOrZero(t.Rest(3));
    ClearChain(s);
}

void ReadChainStart(THostState& s, const Tokens&) {
    CurrentAttributes& c = s.Cur;
    ++c.ChainCount;
    c.InChain = true;
    c.AfterMsg = false;
}

void ReadDimensionStart(THostState& s, const Tokens&) {
    s.Cur.AfterMsg = true;
    s.Cur.InChain = false;
}

void ReadChainEnd(THostState& s, const Tokens&) {
    s.Cur.InChain = false;
    s.Cur.AfterMsg = false;
}

// ---- parameters ------------------------------------------------------------------------------

void ReadFileName(THostState& s, const Tokens& t) {
    s.HostFileName = t.Rest(6);
}
void ReadHk(THostState& s, const Tokens& t) {
    s.HkValue = Real(t, 1);
}
void ReadBz(THostState& s, const Tokens&) {
    s.BzFlag = true;
}

void ReadScales(THostState& s, const Tokens& t) {
    for (int g = 0; g < 16; ++g) s.LayerGroupScale[g] = Real(t, g + 1);
}

void ReadSheetSize(THostState& s, const Tokens& t) {
    s.SheetWidth = Real(t, 1);
    s.SheetHeight = Real(t, 2);
}

void ReadTextTypeColors(THostState& s, const Tokens& t) {
    for (int n = 1; n <= 10; ++n) s.TextTypes[n].Color = Int(t, n);
}

void ReadHn(THostState& s, const Tokens& t) {
    for (int k = 0; k < 4; ++k) s.HnValues[k] = Real(t, k + 1);
}

// ---- reference points ------------------------------------------------------------------------

// "hp" n, then optionally "-", "ln", "ci" or "ch" (HpKind 1 .. 4): the point n at (x, y).
void ReadReferencePoint(THostState& s, const Tokens& t) {
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
    if (n < 1 || n > 99 || static_cast<std::size_t>(n) >= s.HpPoints.size()) return;
    HpPoint& point = s.HpPoints[n];
    point.Set = true;
    point.X = Real(t, 1);
    point.Y = Real(t, 2);
    point.Kind = kind;
    ++s.HpPointCount;
}

// "hhp" n, optionally "ln", "ci" or "ch": the next entity is linked to reference point n.
void ReadReferenceLink(THostState& s, const Tokens& t) {
    static constexpr std::string_view kSuffixes[] = {"ln", "ci", "ch"};
    std::string_view key = t[0];
    std::string_view number = t.Rest(4);
    for (std::string_view suffix : kSuffixes) {
        const std::size_t p = key.find(suffix);
        if (p != std::string_view::npos && p > 3) number = key.substr(3, p - 3);
    }
    s.Cur.CurHpLink = StrToIntOrZero(number);
}

}  // namespace records
}  // namespace dovarin
