// The storage's packing at the edges of each encoding: what goes in comes back, in the bytes
// the format promises.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/Packing.h"

namespace dovarin::packing {
namespace {

TEST(Packing, RoundTripsAtTheEdges) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    const struct {
        std::uint64_t value;
        std::size_t bytes;
    } varints[] = {{0, 1},     {127, 1},   {128, 2},
                   {16383, 2}, {16384, 3}, {std::uint64_t{1} << 35, 6},
                   {kMax, 10}};
    for (std::size_t i = 0; i < std::size(varints); ++i) {
        std::uint8_t bytes[10];
        const std::uint8_t* in = bytes;
        EXPECT_EQ(PutVarint(bytes, varints[i].value) - bytes, varints[i].bytes) << " row " << i;
        EXPECT_EQ(VarintBytes(varints[i].value), varints[i].bytes) << " row " << i;
        EXPECT_EQ(GetVarint(in), varints[i].value) << " row " << i;
        EXPECT_EQ(in - bytes, varints[i].bytes) << " row " << i;
    }

    constexpr std::int64_t kMin64 = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t kMax64 = std::numeric_limits<std::int64_t>::max();
    const struct {
        std::int64_t value;
        std::uint64_t zigzag;
    } zigzags[] = {{0, 0},        {-1, 1}, {1, 2}, {-64, 127}, {64, 128}, {kMax64, kMax - 1},
                   {kMin64, kMax}};
    for (std::size_t i = 0; i < std::size(zigzags); ++i) {
        EXPECT_EQ(Zigzag(zigzags[i].value), zigzags[i].zigzag) << " row " << i;
        EXPECT_EQ(Unzigzag(zigzags[i].zigzag), zigzags[i].value) << " row " << i;
    }

    // Tokens and their packed bytes; none when a byte is not one of a number.
    const struct {
        std::vector<std::string_view> tokens;
        std::vector<std::uint8_t> packed;
    } rows[] = {
        {{"0", "0", "1", "1"}, {0xF0, 0xF0, 0xF1, 0xF1}},
        {{"-1.5e+3"}, {0x1B, 0x5A, 0xCD, 0xF3}},
        {{"", "E", "9"}, {0xEF, 0x9F, 0xFF}},
        {{"12", "1x"}, {}},
        {{"\x82\x4f"}, {}},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        std::uint8_t bytes[16];
        std::uint8_t* out = bytes;
        const bool packed = PackTokens(rows[i].tokens.data(), rows[i].tokens.size(), out);
        EXPECT_EQ(std::vector<std::uint8_t>(bytes, out), rows[i].packed) << " row " << i;
        if (!packed) continue;
        NibbleReader nibbles(bytes);
        for (const std::string_view token : rows[i].tokens) {
            std::string back;
            nibbles.Token(&back);
            EXPECT_EQ(back, token) << " row " << i;
        }
        EXPECT_EQ(nibbles.End(), out) << " row " << i;
    }
}

}  // namespace
}  // namespace dovarin::packing
