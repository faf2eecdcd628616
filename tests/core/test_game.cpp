// A new game, the snake's step with its collisions, the pace of the steps and the climb through the levels.
#include "tests/core/game_fixture.h"

namespace {

TEST(Pace, AStepIsDueAfterMoreThanTheLevelsDelayHalvedWhileShiftIsHeld) {
    InitGameTables();
    const int cases[][4] = {{250, 1, 0, 0}, {251, 1, 0, 1}, {37, 5, 1, 0}, {38, 5, 1, 1}, {25, 7, 0, 0}, {26, 7, 0, 1}};
    for (const auto& c : cases)  // elapsed ms, level, Shift held, due
        EXPECT_EQ(IsStepDue(c[0], c[1], c[2]), c[3] == 1) << c[0] << " ms";
}

using SnakeStep = GameTest;

TEST_F(SnakeStep, ANewGameStartsAtLevelOneWithThreeSegmentsAndOnlySlotZeroPlaced) {
    SetLevel(7);
    score = 99;
    gameRunning = 0;
    NewGame();
    EXPECT_EQ(std::make_tuple(gameRunning, level, score, snakeLength, direction), std::make_tuple(1, 1, 0, 3, Up));
    for (int32_t i = 0; i < 3; ++i)
        EXPECT_TRUE(Snake[i].x == 23 && Snake[i].y == 14 + i) << i;
    EXPECT_EQ(Board[5][5], 0);  // level 7's walls are gone, and its heading
    // Seed 1 draws 41 and 18467: column 0, row 15, and nothing more.
    EXPECT_EQ(std::make_tuple(ItemTable[0].x, ItemTable[0].y, ItemTable[0].placedAt), std::make_tuple(0, 15, now));
    EXPECT_EQ(NextRandom(), 6334);
}

// The edge and a wall end the game when the head would move onto them; the head stays on its cell.
TEST_F(SnakeStep, TheEdgeOrAWallAheadEndsTheGameOnceWithTheHeadOnTheLastFreeCell) {
    // Level, the last free cell, the heading and its step; level 3 has a wall down column 10.
    const int32_t cases[][6] = {{1, 23, 0, Up, 0, -1},
                                {1, 46, 9, Right, 1, 0},
                                {1, 12, 28, Down, 0, 1},
                                {1, 0, 9, Left, -1, 0},
                                {3, 9, 12, Right, 1, 0}};
    for (const auto& [n, x, y, heading, dx, dy] : cases) {
        SetUp();
        SetLevel(n);
        LaySnake({{x - dx, y - dy}, {x - 2 * dx, y - 2 * dy}, {x - 3 * dx, y - 3 * dy}});
        direction = Direction(heading);
        score = 7;
        StepSnake();
        ASSERT_TRUE(gameRunning == 1 && HeadOn(x, y)) << "heading " << heading;
        StepSnake();
        EXPECT_TRUE(gameRunning == 0 && HeadOn(x, y)) << "heading " << heading;
        EXPECT_TRUE(NameAt(0) == "tester" && ScoreTable[0].score == 7 && scoreListDraws == 1);
    }
}

// The body test looks at the cell the head stands on, so a move onto the body ends the game a step
// later, and a head may follow the tail into the cell it leaves.
TEST_F(SnakeStep, TheHeadMayTakeTheTailsCellUnlessGrowthHoldsTheTailThere) {
    for (bool tailHeld : {false, true}) {
        gameRunning = 1;
        LaySnake({{10, 10}, {11, 10}, {11, 11}, {10, 11}});
        if (tailHeld)
            Snake[snakeLength++] = Segment{10, 11};
        direction = Down;
        StepSnake();
        ASSERT_EQ(gameRunning, 1);
        StepSnake();
        EXPECT_EQ(gameRunning, tailHeld ? 0 : 1);
        EXPECT_TRUE(HeadOn(10, tailHeld ? 11 : 12));
    }
}

// The layouts as a player would describe them, written apart from the game's own table.
int32_t ExpectedWall(int32_t levelNumber, int32_t x, int32_t y) {
    const bool middleRows = y >= 5 && y <= 22;
    switch (levelNumber) {
    case 2: {  // five blocks, each mirrored into all four quarters of the field
        static const int32_t blocks[5][3] = {{3, 3, 1}, {6, 6, 2}, {9, 9, 1}, {12, 12, 2}, {15, 13, 1}};
        for (const auto& b : blocks)
            if ((x == b[0] || x == 47 - b[0]) && (y == b[1] || y == 28 - b[1]))
                return b[2];
        return 0;
    }
    case 3:
        return (x == 10 || x == 37) && middleRows ? 3 : 0;
    case 4:
        return (x == 3 || x == 7 || x == 40 || x == 44) && middleRows ? 4 : 0;
    case 5: {
        const bool arm = (y == 9 || y == 20) && ((x >= 3 && x <= 9) || (x >= 38 && x <= 44));
        const bool post = (x == 9 || x == 37) && ((y >= 3 && y <= 9) || (y >= 20 && y <= 26));
        return arm || post ? 5 : 0;
    }
    case 6:
        return y >= 5 && y <= 11 && (x == y || x == 51 - y) ? 6 : 0;
    default:
        return (x == 5 || x == 15 || x == 35 || x == 45) && middleRows ? 7 : 0;
    }
}

// Lengths 25, 50, 100, 150, 200 and 300 each climb one level: its walls, heading Up, and the snake
// laid out again in the start column with the rest of its body stacked on the third cell.
TEST_F(GameTest, EachPromotionLengthClimbsALevelAndLaysItsWalls) {
    const int32_t longest[] = {24, 49, 99, 149, 199, 299};  // the longest snake that stays on each level
    for (int32_t n = 1; n <= 6; ++n) {
        level = n;
        snakeLength = longest[n - 1];
        direction = Left;
        CheckPromotion();
        ASSERT_EQ(level, n);
        ++snakeLength;
        CheckPromotion();
        ASSERT_EQ(level, n + 1);
        EXPECT_EQ(direction, Up);
        int32_t mismatches = 0;
        for (int32_t x = 0; x < 47; ++x)
            for (int32_t y = 0; y < 29; ++y)
                mismatches += Board[x][y] != ExpectedWall(n + 1, x, y);
        EXPECT_EQ(mismatches, 0) << "walls of level " << n + 1;
        EXPECT_TRUE(HeadOn(23, 14) && Snake[1].x == 23 && Snake[1].y == 15);
        for (int32_t i = 2; i < snakeLength; ++i)
            ASSERT_TRUE(Snake[i].x == 23 && Snake[i].y == 16) << i;
    }
    level = 1;  // one pass climbs every level the length allows
    CheckPromotion();
    EXPECT_EQ(level, 7);
}

}  // namespace
