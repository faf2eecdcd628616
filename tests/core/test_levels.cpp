// The levels: pacing, wall layouts, the snake's reset and the promotion by length.
#include "tests/core/game_fixture.h"

namespace gametest {
namespace {

using LevelTest = GameTest;

TEST_F(LevelTest, SpeedTableHoldsEachLevelsDelay) {
    const int32_t expected[8] = {1500, 250, 200, 150, 100, 75, 50, 25};
    for (int32_t i = 0; i < 8; ++i) EXPECT_EQ(SpeedTable[i], expected[i]) << "level " << i;
}

TEST_F(LevelTest, AStepIsDueOnlyAfterMoreThanTheDelay) {
    EXPECT_FALSE(IsStepDue(250, 1, false));
    EXPECT_TRUE(IsStepDue(251, 1, false));
    EXPECT_FALSE(IsStepDue(125, 1, true));
    EXPECT_TRUE(IsStepDue(126, 1, true));
    EXPECT_FALSE(IsStepDue(37, 5, true));  // 75 halved rounds down
    EXPECT_TRUE(IsStepDue(38, 5, true));
    EXPECT_FALSE(IsStepDue(12, 7, true));
    EXPECT_TRUE(IsStepDue(13, 7, true));
    EXPECT_TRUE(IsStepDue(26, 7, false));
}

TEST_F(LevelTest, ElapsedTimeIsTakenAcrossTheWrapOfTheClock) {
    const uint32_t lastStep = 0xFFFFFFFFu - 95;  // 96 ms before the wrap
    EXPECT_TRUE(IsStepDue(100u - lastStep, 1, true));   // 196 ms
    EXPECT_FALSE(IsStepDue(100u - lastStep, 1, false));
    EXPECT_TRUE(IsStepDue(0x80000000u - 0u, 1, false));  // unsigned: a huge gap is still a due step
}

class LayoutTest : public GameTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(LayoutTest, SetLevelLaysExactlyTheLevelsWallsAndResetsTheSnake) {
    const int32_t n = GetParam();
    const int32_t expectedCount[8] = {0, 0, 20, 36, 72, 54, 14, 72};
    SetLevel(6);  // leaves walls behind that the next layout must clear, (46, 5) among them
    snakeLength = 40;
    direction = Left;
    score = 12;
    ItemTable[0] = ItemSlot{10, 10, 1, 1, 0, 777, 15000};  // a wall cell on some levels
    SetLevel(n);
    EXPECT_EQ(score, 12);
    EXPECT_TRUE(ItemTable[0].x == 10 && ItemTable[0].y == 10 && ItemTable[0].placedAt == 777u);
    EXPECT_EQ(level, n);
    EXPECT_EQ(direction, Up);
    EXPECT_EQ(WallCells(), expectedCount[n]);
    for (int32_t x = 0; x < 47; ++x)
        for (int32_t y = 0; y < 29; ++y) ASSERT_EQ(Board[x][y], ExpectedWall(n, x, y)) << "(" << x << ", " << y << ")";
    EXPECT_EQ(snakeLength, 40);
    EXPECT_EQ(Snake[0].x, 23);
    EXPECT_EQ(Snake[0].y, 14);
    EXPECT_EQ(Snake[1].y, 15);
    for (int32_t i = 2; i < 40; ++i) ASSERT_TRUE(Snake[i].x == 23 && Snake[i].y == 16) << "segment " << i;
    for (int32_t y = 0; y <= 16; ++y) EXPECT_EQ(Board[23][y], 0);  // the way up from the start is open
}

INSTANTIATE_TEST_SUITE_P(Levels, LayoutTest, ::testing::Range(2, 8));

TEST_F(LevelTest, PromotionNeedsALengthAboveTheThreshold) {
    const int32_t threshold[7] = {0, 24, 49, 99, 149, 199, 299};
    const int32_t wallsOfNext[7] = {0, 20, 36, 72, 54, 14, 72};
    for (int32_t from = 1; from <= 6; ++from) {
        level = from;
        snakeLength = threshold[from];
        CheckPromotion();
        EXPECT_EQ(level, from) << "at the threshold of level " << from;
        snakeLength = threshold[from] + 1;
        CheckPromotion();
        EXPECT_EQ(level, from + 1) << "above the threshold of level " << from;
        EXPECT_EQ(WallCells(), wallsOfNext[from]);
    }
    snakeLength = 14000;
    CheckPromotion();
    EXPECT_EQ(level, 7);  // nothing lies beyond the last level
}

TEST_F(LevelTest, OnePassClimbsEveryLevelALongSnakeQualifiesFor) {
    level = 1;
    snakeLength = 150;
    CheckPromotion();
    EXPECT_EQ(level, 5);
    EXPECT_EQ(Board[9][9], 5);
    level = 1;
    snakeLength = 300;
    CheckPromotion();
    EXPECT_EQ(level, 7);
    EXPECT_EQ(WallCells(), 72);
}

}  // namespace
}  // namespace gametest
