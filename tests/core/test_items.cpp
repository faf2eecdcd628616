// The bonus items: when they show and move, what eating them gives, growth, and where they land.
#include "tests/core/game_fixture.h"

namespace {

void PutItem(int32_t slot, int32_t x, int32_t y, uint32_t placedAt) {
    ItemTable[slot].x = x;
    ItemTable[slot].y = y;
    ItemTable[slot].placedAt = placedAt;
}

using ItemTest = GameTest;

TEST_F(ItemTest, AnItemShowsAfterMoreThanItsDelayAndMovesAfterMoreThanDelayPlusLifetime) {
    level = 2;
    for (uint32_t placedAt : {5000u, 0xFFFFF000u}) {  // the second one's times run across the wrap
        PutItem(0, 40, 20, placedAt);
        PutItem(1, 41, 20, placedAt);
        EXPECT_FALSE(IsItemVisible(ItemTable[1], placedAt + 10000u));
        EXPECT_TRUE(IsItemVisible(ItemTable[1], placedAt + 10001u));
        now = placedAt + 15000u;
        UpdateItems();
        EXPECT_TRUE(ItemTable[0].placedAt == placedAt && ItemTable[1].placedAt == placedAt && ItemTable[0].x == 40);
        now = placedAt + 15001u;
        UpdateItems();
        EXPECT_TRUE(ItemTable[0].placedAt == now && ItemTable[1].placedAt == now);
    }
}

// New segments stack on the tail's cell, and only below the length limit; points always count.
TEST_F(ItemTest, EveryVisibleItemUnderTheHeadIsEatenOnceEvenPastItsLifetime) {
    level = 4;
    PutItem(0, 20, 10, now - 20000);  // 1 point, 1 segment; expired but not yet moved: eaten, moved by the pickup
    PutItem(1, 20, 10, now - 10000);  // still hidden
    PutItem(2, 20, 10, now - 15001);  // 3 points, 3 segments
    PutItem(3, 20, 10, now - 20001);  // 5 points, no growth
    PutItem(4, 20, 10, 0);            // level 4 plays slots 0..3 only
    UpdateItems();
    EXPECT_EQ(score, 1 + 3 + 5);
    ASSERT_EQ(snakeLength, 3 + 1 + 3);
    for (int32_t i = 3; i < snakeLength; ++i)
        EXPECT_TRUE(Snake[i].x == 20 && Snake[i].y == 12) << i;
    EXPECT_TRUE(ItemTable[1].x == 20 && ItemTable[4].placedAt == 0u);
    EXPECT_EQ(ItemTable[0].placedAt, now);
    SeedRandom(1);  // the first two draws placed slot 0
    EXPECT_EQ(ItemTable[0].x, NextRandom() * 46 / 32768);
    EXPECT_EQ(ItemTable[0].y, NextRandom() * 28 / 32768);

    level = 7;  // no promotion lays the snake out again between these pickups
    for (int32_t before : {14899, 14900}) {
        snakeLength = before;
        PutItem(4, 20, 10, now - 25001);  // 5 points, 5 segments
        UpdateItems();
        EXPECT_EQ(snakeLength, before == 14899 ? 14904 : 14900);  // the limit is tested once per pickup
    }
    EXPECT_EQ(score, 19);
}

TEST_F(ItemTest, PlacementStaysInRangeAndOffTheWalls) {
    for (int32_t n = 1; n <= 7; ++n) {
        SetLevel(n);
        for (int32_t i = 0; i < 3000; ++i) {
            PlaceItemRandomly(ItemTable[0]);
            const int32_t x = ItemTable[0].x, y = ItemTable[0].y;
            ASSERT_TRUE(x >= 0 && x <= 45 && y >= 0 && y <= 27 && Board[x][y] == 0) << x << ", " << y;
        }
    }
}

}  // namespace
