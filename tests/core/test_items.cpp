// The bonus items: visibility, expiry, pickups, growth and placement.
#include "tests/core/game_fixture.h"

namespace gametest {
namespace {

class ItemTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        level = 1;
        LaySnake({{20, 10}, {20, 11}, {20, 12}});
    }
    // Puts the slot's item at (x, y), placed at the given time.
    static void PutItem(int32_t slot, int32_t x, int32_t y, uint32_t placedAt) {
        ItemTable[slot].x = x;
        ItemTable[slot].y = y;
        ItemTable[slot].placedAt = placedAt;
    }
};

TEST_F(ItemTest, AnItemShowsOnlyAfterMoreThanItsDelay) {
    for (uint32_t placedAt : {5000u, 0xFFFFF000u}) {  // the second one's delay runs across the wrap
        PutItem(1, 0, 0, placedAt);
        EXPECT_FALSE(IsItemVisible(ItemTable[1], placedAt + 10000u));
        EXPECT_TRUE(IsItemVisible(ItemTable[1], placedAt + 10001u));
        EXPECT_TRUE(IsItemVisible(ItemTable[1], placedAt + 0x90000000u));  // expired long ago, still shown
    }
    PutItem(0, 0, 0, 0xFFFFFFFFu);  // slot 0 has no delay: it shows from the next millisecond on
    EXPECT_FALSE(IsItemVisible(ItemTable[0], 0xFFFFFFFFu));
    EXPECT_TRUE(IsItemVisible(ItemTable[0], 0u));
}

TEST_F(ItemTest, AnItemMovesOnlyAfterMoreThanDelayPlusLifetime) {
    for (uint32_t placedAt : {5000u, 0xFFFFF000u}) {  // the second one expires after the wrap
        level = 2;
        PutItem(0, 40, 20, placedAt);
        PutItem(1, 41, 20, placedAt);
        now = placedAt + 15000u;
        UpdateItems();
        EXPECT_EQ(ItemTable[0].placedAt, placedAt);
        EXPECT_EQ(ItemTable[1].placedAt, placedAt);
        EXPECT_EQ(ItemTable[0].x, 40);
        now = placedAt + 15001u;
        UpdateItems();
        EXPECT_EQ(ItemTable[0].placedAt, now);
        EXPECT_EQ(ItemTable[1].placedAt, now);
        EXPECT_EQ(score, 0);
    }
}

TEST_F(ItemTest, PickupAddsPointsAndStacksGrowthOnTheTail) {
    level = 2;
    PutItem(0, 20, 10, now - 1);
    UpdateItems();
    EXPECT_EQ(score, 1);
    ASSERT_EQ(snakeLength, 4);
    EXPECT_EQ(Snake[3].x, 20);
    EXPECT_EQ(Snake[3].y, 12);
    EXPECT_EQ(ItemTable[0].placedAt, now);
    SeedRandom(1);  // the same two draws again give the cell it moved to
    EXPECT_EQ(ItemTable[0].x, NextRandom() * 46 / 32768);
    EXPECT_EQ(ItemTable[0].y, NextRandom() * 28 / 32768);

    PutItem(1, 20, 10, now - 10001);
    UpdateItems();
    EXPECT_EQ(score, 2);
    EXPECT_EQ(snakeLength, 4);  // slot 1 gives a point and no segment
}

TEST_F(ItemTest, AHiddenItemUnderTheHeadIsNotEaten) {
    level = 2;
    PutItem(0, 5, 5, now - 1);
    PutItem(1, 20, 10, now - 10000);
    UpdateItems();
    EXPECT_EQ(score, 0);
    EXPECT_EQ(ItemTable[1].x, 20);
}

TEST_F(ItemTest, AnExpiredItemIsEatenAndMovedOnceAndBothItemsOnTheHeadAreEaten) {
    level = 3;
    PutItem(0, 20, 10, now - 20000);     // past its lifetime, not yet moved
    PutItem(2, 20, 10, now - 15001);
    PutItem(1, 30, 10, now - 1);
    UpdateItems();
    EXPECT_EQ(score, 1 + 3);
    EXPECT_EQ(snakeLength, 3 + 1 + 3);
    EXPECT_EQ(ItemTable[0].placedAt, now);
    SeedRandom(1);
    EXPECT_EQ(ItemTable[0].x, NextRandom() * 46 / 32768);  // placed once, by its pickup
}

TEST_F(ItemTest, TheTailWaitsOneStepForEachSegmentGained) {
    level = 3;
    gameRunning = 1;
    PutItem(0, 40, 20, now);
    PutItem(1, 40, 21, now);
    PutItem(2, 20, 9, now - 15001);  // growth 3, right ahead of the head
    direction = Up;
    StepSnake();
    ASSERT_EQ(snakeLength, 6);
    for (int32_t step = 0; step < 3; ++step) {
        StepSnake();
        EXPECT_TRUE(Snake[snakeLength - 1].x == 20 && Snake[snakeLength - 1].y == 11) << "step " << step;
    }
    StepSnake();
    EXPECT_TRUE(Snake[snakeLength - 1].x == 20 && Snake[snakeLength - 1].y == 10);
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
        if (n > 1) SetLevel(n);
        for (int32_t i = 0; i < 3000; ++i) {
            PlaceItemRandomly(ItemTable[0]);
            const int32_t x = ItemTable[0].x;
            const int32_t y = ItemTable[0].y;
            ASSERT_TRUE(x >= 0 && x <= 45 && y >= 0 && y <= 27) << "(" << x << ", " << y << ")";
            ASSERT_EQ(Board[x][y], 0) << "level " << n;
        }
    }
}

TEST_F(ItemTest, InactiveSlotsAreNeitherEatenNorMoved) {
    PutItem(1, 20, 10, 0);
    UpdateItems();
    EXPECT_EQ(score, 0);
    EXPECT_EQ(ItemTable[1].placedAt, 0u);
    EXPECT_EQ(ItemTable[7].points, 20);  // configured although no level plays it
    EXPECT_EQ(ItemTable[9].points, 0);
}

}  // namespace
}  // namespace gametest
