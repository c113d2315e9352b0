// Any bytes as a run of entity records and EntityOrder entries: shared fields of any value (any
// 32-bit integer, any double's bits, any font), own fields as tokens of any bytes. The lists must
// give every field back exactly, by index and in order: a shared field as it went in (a font as a
// text record keeps it), an own field as the reader makes it of its token, an entry's index as
// its place in the list of its kind.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "exchange/JwwGaibu.h"

namespace {

using namespace dovarin;

class Bytes {
  public:
    Bytes(const std::uint8_t* data, std::size_t size) : p_(data), end_(data + size) {}
    bool Empty() const { return p_ == end_; }
    std::uint8_t Byte() { return p_ < end_ ? *p_++ : 0; }
    template <class T>
    T Raw() {
        T value{};
        const std::size_t n = std::min(sizeof value, static_cast<std::size_t>(end_ - p_));
        std::memcpy(&value, p_, n);
        p_ += n;
        return value;
    }
    std::string Text(int most) {
        std::string text;
        for (int n = Byte() % most; n > 0 && !Empty(); --n) text += static_cast<char>(Byte());
        return text;
    }
    // A token: mostly the bytes of a number, so that records are packed as well as not.
    std::string Token() {
        if (Byte() % 4 == 0) return Text(40);
        static constexpr char kNumberBytes[] = "0123456789.-+eE";
        std::string token;
        for (int n = Byte() % 20; n > 0 && !Empty(); --n) token += kNumberBytes[Byte() % 15];
        return token;
    }

  private:
    const std::uint8_t* p_;
    const std::uint8_t* end_;
};

// A shared field keeps its value from the record before now and then, as in a file.
void Shared(Bytes& in, int& field) {
    if (in.Byte() % 3 != 0) field = in.Raw<std::int32_t>();
}
void Shared(Bytes& in, double& field) {
    const int how = in.Byte() % 3;
    if (how == 1) field = in.Raw<double>();
    if (how == 2) field = StrToFloatOrZero(in.Token());  // as the reader makes them
}

void SharedHeader(Bytes& in, EntityHeader& h) {
    for (int* field : {&h.HpLink, &h.LayerGroup, &h.Layer, &h.Color, &h.LineType, &h.LineWidth,
                       &h.Flags, &h.Extra})
        Shared(in, *field);
}

void Own(Bytes& in, std::vector<std::string>& tokens, double& expected) {
    tokens.push_back(in.Token());
    expected = StrToFloatOrZero(tokens.back());
}
void Own(Bytes& in, std::vector<std::string>& tokens, std::string& expected) {
    tokens.push_back(in.Token());
    expected = tokens.back();
}

std::uint64_t Bits(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

bool Same(const TJwwEntLine& a, const TJwwEntLine& b) {
    return a.HpLink == b.HpLink && a.LayerGroup == b.LayerGroup && a.Layer == b.Layer &&
           a.Color == b.Color && a.LineType == b.LineType && a.LineWidth == b.LineWidth &&
           a.Flags == b.Flags && a.Extra == b.Extra && Bits(a.X1) == Bits(b.X1) &&
           Bits(a.Y1) == Bits(b.Y1) && Bits(a.X2) == Bits(b.X2) && Bits(a.Y2) == Bits(b.Y2);
}

bool Same(const TJwwEntText& a, const TJwwEntText& b) {
    return a.HpLink == b.HpLink && a.LayerGroup == b.LayerGroup && a.Layer == b.Layer &&
           a.Color == b.Color && a.LineType == b.LineType && a.LineWidth == b.LineWidth &&
           a.Flags == b.Flags && a.Extra == b.Extra && a.CcValue == b.CcValue &&
           a.TextType == b.TextType && Bits(a.Width) == Bits(b.Width) &&
           Bits(a.Height) == Bits(b.Height) && Bits(a.Spacing) == Bits(b.Spacing) &&
           Bits(a.X) == Bits(b.X) && Bits(a.Y) == Bits(b.Y) && Bits(a.DX) == Bits(b.DX) &&
           Bits(a.DY) == Bits(b.DY) && a.FontName == b.FontName && a.Text == b.Text;
}

bool Same(const TJwwEntDim& a, const TJwwEntDim& b) {
    return a.HpLink == b.HpLink && a.Flags == b.Flags && a.Extra == b.Extra &&
           Same(a.Line, b.Line) && Same(a.Text, b.Text);
}

// The record to store (shared fields), its tokens, and the record to come back.
template <class Record>
struct Stored {
    Record shared, expected;
    std::vector<std::string> tokens;
};

void FillLine(Bytes& in, Stored<TJwwEntLine>& s) {
    SharedHeader(in, s.shared);
    s.tokens.clear();
    s.expected = s.shared;
    for (double* field : {&s.expected.X1, &s.expected.Y1, &s.expected.X2, &s.expected.Y2})
        Own(in, s.tokens, *field);
}

void FillText(Bytes& in, TJwwEntText& shared, TJwwEntText& expected,
              std::vector<std::string>& tokens) {
    SharedHeader(in, shared);
    Shared(in, shared.CcValue);
    Shared(in, shared.TextType);
    for (double* field : {&shared.Width, &shared.Height, &shared.Spacing}) Shared(in, *field);
    if (in.Byte() % 3 == 0) shared.FontName = in.Text(255) + in.Text(255);
    expected = shared;
    expected.FontName = TextFieldBytes(shared.FontName);
    for (double* field : {&expected.X, &expected.Y, &expected.DX, &expected.DY})
        Own(in, tokens, *field);
    Own(in, tokens, expected.Text);
}

void FillDim(Bytes& in, Stored<TJwwEntDim>& s) {
    SharedHeader(in, s.shared);
    SharedHeader(in, s.shared.Line);
    for (double* field :
         {&s.shared.Line.X1, &s.shared.Line.Y1, &s.shared.Line.X2, &s.shared.Line.Y2})
        Shared(in, *field);
    s.tokens.clear();
    TJwwEntText text;
    FillText(in, s.shared.Text, text, s.tokens);
    s.expected = s.shared;
    s.expected.Text = text;
}

template <class Record>
void Append(EntityList<Record>& list, const Stored<Record>& s, std::vector<Record>& expected) {
    const std::vector<std::string_view> tokens(s.tokens.begin(), s.tokens.end());
    list.Append(s.shared, tokens.data(), tokens.size());
    expected.push_back(s.expected);
}

template <class Record>
void Check(const EntityList<Record>& list, const std::vector<Record>& expected) {
    if (list.size() != expected.size()) std::abort();
    std::size_t i = 0;
    for (const Record& record : list)
        if (!Same(record, expected[i++])) std::abort();
    for (std::size_t k = 0; k < expected.size(); k += 1 + k / 3)
        if (!Same(list[k], expected[k])) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes in(data, size);
    EntityList<TJwwEntLine> lines;
    EntityList<TJwwEntText> texts;
    EntityList<TJwwEntDim> dims;
    EntityOrderList order;
    std::vector<TJwwEntLine> expectedLines;
    std::vector<TJwwEntText> expectedTexts;
    std::vector<TJwwEntDim> expectedDims;
    std::vector<EntityOrderEntry> expectedOrder;
    std::vector<std::int64_t> counts(kEntSg + 1);
    Stored<TJwwEntLine> line;
    Stored<TJwwEntText> text;
    Stored<TJwwEntDim> dim;
    while (!in.Empty()) {
        switch (in.Byte() % 4) {
            case 0:
                FillLine(in, line);
                Append(lines, line, expectedLines);
                break;
            case 1:
                text.tokens.clear();
                FillText(in, text.shared, text.expected, text.tokens);
                Append(texts, text, expectedTexts);
                break;
            case 2:
                FillDim(in, dim);
                Append(dims, dim, expectedDims);
                break;
            default: {
                const int kind = kEntLine + in.Byte() % kEntSg;
                expectedOrder.push_back({kind, counts[kind]++});
                order.push_back(expectedOrder.back());
                break;
            }
        }
    }
    Check(lines, expectedLines);
    Check(texts, expectedTexts);
    Check(dims, expectedDims);
    if (order.size() != expectedOrder.size()) std::abort();
    std::size_t i = 0;
    for (const EntityOrderEntry& entry : order) {
        if (entry.Kind != expectedOrder[i].Kind || entry.Index != expectedOrder[i].Index)
            std::abort();
        ++i;
    }
    return 0;
}
