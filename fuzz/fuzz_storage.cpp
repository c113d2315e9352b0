// Any bytes as a run of entity records and EntityOrder pairs with arbitrary field values (any
// 32-bit integer, any double's bits, any text, reals with and without the short decimals a reader
// hands over): the compact lists must give every field back exactly, by index and in order.
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
    std::string Text() {
        std::string text;
        for (int n = Byte() % 40; n > 0 && !Empty(); --n) text += static_cast<char>(Byte());
        return text;
    }

  private:
    const std::uint8_t* p_;
    const std::uint8_t* end_;
};

// A real: any bits, or a short decimal that a reader would have handed over as a hint. A field
// repeats the one before it now and then, as the shared fields of a file do.
class Reals {
  public:
    Reals(Bytes& in, field_codec::RealHints& hints) : in_(in), hints_(hints) {}
    void operator()(double& field) {
        const std::uint8_t how = in_.Byte();
        if (how % 4 == 0) return;  // kept from the record before
        if (how % 4 == 1) {
            ShortDecimal number;
            number.Digits = in_.Raw<std::uint64_t>() % 1000000000000000;
            number.Places = in_.Byte() % 16;
            number.Negative = in_.Byte() & 1;
            field = ShortDecimalValue(number);
            hints_.Add(field, number);
            return;
        }
        field = in_.Raw<double>();
    }

  private:
    Bytes& in_;
    field_codec::RealHints& hints_;
};

void Ints(Bytes& in, std::initializer_list<int*> fields) {
    for (int* field : fields)
        if (in.Byte() % 3 != 0) *field = in.Raw<std::int32_t>();
}

void FillText(Bytes& in, Reals& real, TJwwEntText& t) {
    Ints(in, {&t.HpLink, &t.LayerGroup, &t.Layer, &t.Color, &t.LineType, &t.LineWidth, &t.Flags,
              &t.Extra, &t.CcValue, &t.TextType});
    for (double* field : {&t.Width, &t.Height, &t.Spacing, &t.X, &t.Y, &t.DX, &t.DY}) real(*field);
    if (in.Byte() & 1) t.FontName = in.Text();
    t.Text = in.Text();
}

void FillLine(Bytes& in, Reals& real, TJwwEntLine& l) {
    Ints(in, {&l.HpLink, &l.LayerGroup, &l.Layer, &l.Color, &l.LineType, &l.LineWidth, &l.Flags,
              &l.Extra});
    for (double* field : {&l.X1, &l.Y1, &l.X2, &l.Y2}) real(*field);
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
    EntityOrderList order;
    std::vector<TJwwEntLine> expectedLines;
    std::vector<TJwwEntText> expectedTexts;
    std::vector<EntityOrderEntry> expectedOrder;
    TJwwEntLine line;
    TJwwEntText text;
    while (!in.Empty()) {
        field_codec::RealHints hints;
        Reals real(in, hints);
        switch (in.Byte() % 3) {
            case 0:
                FillLine(in, real, line);
                lines.push_back(line, hints);
                expectedLines.push_back(line);
                break;
            case 1:
                FillText(in, real, text);
                texts.push_back(text, hints);
                expectedTexts.push_back(text);
                break;
            default: {
                EntityOrderEntry entry;
                entry.Kind = in.Byte() & 1 ? in.Byte() % 17 : in.Raw<std::int32_t>();
                entry.Index = in.Byte() & 1 ? in.Byte() % 4 : in.Raw<std::int64_t>();
                order.push_back(entry);
                expectedOrder.push_back(entry);
                break;
            }
        }
    }
    Check(lines, expectedLines);
    Check(texts, expectedTexts);
    if (order.size() != expectedOrder.size()) std::abort();
    std::size_t i = 0;
    for (const EntityOrderEntry& entry : order) {
        if (entry.Kind != expectedOrder[i].Kind || entry.Index != expectedOrder[i].Index)
            std::abort();
        ++i;
    }
    return 0;
}
