// The bonus items: when they show and move, what eating them gives, growth, and where they land.
#include "tests/core/game_fixture.h"

namespace {

class ItemTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        LaySnake({{20, 10}, {20, 11}, {20, 12}});
    }
    static void PutItem(int32_t slot, int32_t x, int32_t y, uint32_t placedAt) {
        ItemTable[slot].x = x;
        ItemTable[slot].y = y;
        ItemTable[slot].placedAt = placedAt;
    }
};

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

TEST_F(ItemTest, EveryVisibleItemUnderTheHeadIsEatenOnceEvenPastItsLifetime) {
    level = 3;
    PutItem(0, 20, 10, now - 20000);  // expired but not yet moved: eaten, and moved by the pickup alone
    PutItem(2, 20, 10, now - 15001);  // 3 points, 3 segments
    PutItem(1, 20, 10, now - 10000);  // still hidden
    PutItem(3, 20, 10, 0);            // level 3 plays slots 0..2 only
    UpdateItems();
    EXPECT_EQ(score, 1 + 3);
    ASSERT_EQ(snakeLength, 3 + 1 + 3);
    for (int32_t i = 3; i < snakeLength; ++i)
        EXPECT_TRUE(Snake[i].x == 20 && Snake[i].y == 12) << i;
    EXPECT_TRUE(ItemTable[1].x == 20 && ItemTable[3].placedAt == 0u);
    EXPECT_EQ(ItemTable[0].placedAt, now);
    SeedRandom(1);  // the first two draws placed slot 0
    EXPECT_EQ(ItemTable[0].x, NextRandom() * 46 / 32768);
    EXPECT_EQ(ItemTable[0].y, NextRandom() * 28 / 32768);
}

TEST_F(ItemTest, TheTailWaitsOneStepForEachSegmentGained) {
    level = 3;
    PutItem(0, 40, 20, now);
    PutItem(1, 40, 21, now);
    PutItem(2, 20, 9, now - 15001);  // growth 3, right ahead of the head
    StepSnake();
    ASSERT_EQ(snakeLength, 6);
    for (int32_t step = 0; step < 3; ++step) {
        StepSnake();
        EXPECT_TRUE(Snake[5].x == 20 && Snake[5].y == 11) << "step " << step;
    }
    StepSnake();
    EXPECT_TRUE(Snake[5].x == 20 && Snake[5].y == 10);
    EXPECT_EQ(gameRunning, 1);
}

TEST_F(ItemTest, GrowthStopsAtTheLimitButPointsDoNot) {
    level = 7;  // no promotion lays the snake out again between the pickups
    for (int32_t before : {14899, 14900}) {
        snakeLength = before;
        PutItem(4, 20, 10, now - 25001);  // 5 points, 5 segments
        UpdateItems();
        EXPECT_EQ(snakeLength, before == 14899 ? 14904 : 14900);  // the limit is tested once per pickup
    }
    EXPECT_EQ(score, 10);
}

TEST_F(ItemTest, PlacementStaysInRangeAndOffTheWalls) {
    for (int32_t n = 1; n <= 7; ++n) {
        if (n > 1)
            SetLevel(n);
        for (int32_t i = 0; i < 3000; ++i) {
            PlaceItemRandomly(ItemTable[0]);
            const int32_t x = ItemTable[0].x;
            const int32_t y = ItemTable[0].y;
            ASSERT_TRUE(x >= 0 && x <= 45 && y >= 0 && y <= 27 && Board[x][y] == 0) << x << ", " << y;
        }
    }
}

}  // namespace
