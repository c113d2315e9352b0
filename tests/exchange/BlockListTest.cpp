// The entity list: stable records across block borders, copies, and giving memory back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/JwwGaibu.h"

namespace dovarin {
namespace {

// Enough records to fill the small blocks and two of the huge-page ones.
constexpr int kMany = 150000;

TEST(BlockList, RecordsStayWhereTheyWereAdded) {
    EntityList<TJwwEntLine> lines;
    const TJwwEntLine* first = &lines.emplace_back();
    std::vector<const TJwwEntLine*> borders;
    for (int i = 1; i < kMany; ++i) {
        TJwwEntLine& line = lines.emplace_back();
        line.X1 = i;
        line.Extra = i % 7;
        if ((i & (i - 1)) == 0) borders.push_back(&line);  // powers of two: block starts
    }
    ASSERT_EQ(lines.size(), static_cast<size_t>(kMany));
    EXPECT_EQ(&lines[0], first);
    for (const TJwwEntLine* line : borders)
        EXPECT_EQ(&lines[static_cast<size_t>(line->X1)], line) << line->X1;
    for (int i = 1; i < kMany; ++i) ASSERT_EQ(lines[i].X1, i) << i;
    int counted = 0;
    for (const TJwwEntLine& line : lines) counted += line.X1 == counted;
    EXPECT_EQ(counted, kMany);
    EXPECT_EQ(lines.back().X1, kMany - 1);
}

TEST(BlockList, CopyMoveAndClear) {
    EntityList<TJwwEntText> texts;
    for (int i = 0; i < 5000; ++i) texts.emplace_back().Text = std::string(40, 'a' + i % 26);
    EntityList<TJwwEntText> copy = texts;
    texts[10].Text = "changed";
    EXPECT_EQ(copy[10].Text, std::string(40, 'a' + 10));
    EntityList<TJwwEntText> moved = std::move(copy);
    EXPECT_EQ(moved.size(), 5000u);
    EXPECT_TRUE(copy.empty());
    moved.clear();
    EXPECT_TRUE(moved.empty());
    moved.emplace_back().Text = "again";
    EXPECT_EQ(moved[0].Text, "again");
}

// Many rounds of filling and freeing HostState, as a test run does: each starts from nothing.
TEST(BlockList, HostStateRoundsStartClean) {
    for (int round = 0; round < 30; ++round) {
        InitHostState();
        for (int i = 0; i < 20000; ++i) ParseExchangeText("1 2 3 4");
        ParseExchangeText("ch 1 2 1 0 \"x");
        ASSERT_EQ(HostState.SelectedLineCount(), 20000u);
        ASSERT_EQ(HostState.EntityOrder.size(), 20001u);
        FreeHostState();
    }
    InitHostState();
}

}  // namespace
}  // namespace dovarin
