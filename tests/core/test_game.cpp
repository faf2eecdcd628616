// The snake's step with its collisions, the pace of the steps, the bonus items and the climb
// through the levels.
#include "tests/core/game_fixture.h"

namespace {

using Rules = GameTest;

// Every level's pace: the delay in ms without and with Shift held, and a step only after more than it.
TEST_F(Rules, EachLevelStepsAfterMoreThanItsOwnDelayHalvedWhileShiftIsHeld) {
    const uint32_t delays[8][2] = {{}, {250, 125}, {200, 100}, {150, 75}, {100, 50}, {75, 37}, {50, 25}, {25, 12}};
    for (int n = 1; n <= 7; ++n) {
        for (bool shift : {false, true}) {
            const uint32_t delay = delays[n][shift];
            EXPECT_TRUE(!IsStepDue(delay, n, shift) && IsStepDue(delay + 1, n, shift))
                << "level " << n << (shift ? " with Shift" : "") << ": " << delay << " ms";
        }
    }
}

// The edge and a wall end the game when the head would move onto them; the head stays on its cell.
TEST_F(Rules, TheEdgeOrAWallAheadEndsTheGameOnceWithTheHeadOnTheLastFreeCell) {
    // Level, the last free cell and the heading; level 3 has a wall down column 10.
    const int32_t cases[][4] = {
        {1, 23, 0, Up}, {1, 46, 9, Right}, {1, 12, 28, Down}, {1, 0, 9, Left}, {3, 9, 12, Right}};
    for (const auto& [n, x, y, heading] : cases) {
        const int32_t dx = (heading == Right) - (heading == Left), dy = (heading == Down) - (heading == Up);
        SetUp();
        SetLevel(n);
        LaySnake({{x - dx, y - dy}, {x - 2 * dx, y - 2 * dy}, {x - 3 * dx, y - 3 * dy}});
        direction = Direction(heading);
        score = 7;
        StepSnake();
        ASSERT_TRUE(gameRunning == 1 && HeadOn(x, y)) << "heading " << heading;
        StepSnake();
        EXPECT_TRUE(gameRunning == 0 && HeadOn(x, y)) << "heading " << heading;
        EXPECT_TRUE(NameAt(0) == "snake" && ScoreTable[0].score == 7 && scoreListDraws == 1);
    }
}

// A game starts at level 1 with no walls, three segments from (23, 14) down heading up, and only
// slot 0 placed. The body test looks at the cell the head stands on, so two quick turns back along
// the neck take the head onto the body and end the game one step later.
TEST_F(Rules, ANewGameHeadsUpAndTwoQuickTurnsBackAlongTheNeckEndItOneStepLater) {
    SetLevel(7);
    score = 99;
    gameRunning = 0;
    NewGame();
    EXPECT_TRUE(level == 1 && score == 0 && snakeLength == 3 && Board[5][5] == 0);
    // Seed 1 draws 41 and 18467: column 0, row 15.
    EXPECT_TRUE(ItemTable[0].x == 0 && ItemTable[0].y == 15 && ItemTable[0].placedAt == now);
    StepSnake();
    direction = Left;  // neither turn reverses the heading it replaces
    direction = Down;
    StepSnake();
    ASSERT_TRUE(gameRunning == 1 && HeadOn(23, 14));
    StepSnake();
    EXPECT_TRUE(gameRunning == 0 && HeadOn(23, 14));
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
TEST_F(Rules, EachPromotionLengthClimbsALevelAndLaysItsWalls) {
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
        for (int32_t i = 0; i < 3000; ++i) {  // items land off the walls, never in column 46 or row 28
            PlaceItemRandomly(ItemTable[0]);
            const int32_t x = ItemTable[0].x, y = ItemTable[0].y;
            ASSERT_TRUE(x >= 0 && x <= 45 && y >= 0 && y <= 27 && Board[x][y] == 0) << x << ", " << y;
        }
    }
    level = 1;  // one pass climbs every level the length allows
    CheckPromotion();
    EXPECT_EQ(level, 7);
}

void PutItem(int32_t slot, int32_t x, int32_t y, uint32_t placedAt) {
    ItemTable[slot].x = x;
    ItemTable[slot].y = y;
    ItemTable[slot].placedAt = placedAt;
}

// An item shows once more than its delay has passed since it was placed, and moves once more than
// delay and lifetime have; every one that shows under the head is eaten, even past its lifetime.
// New segments stack on the tail's cell, and only below the length limit; points always count.
TEST_F(Rules, EveryVisibleItemUnderTheHeadIsEatenOnceAndTheOthersMoveWhenTheirTimeIsUp) {
    level = 5;
    now = 5000;                       // the times below run back across the wrap of the clock
    PutItem(0, 40, 20, now - 15000);  // neither eaten nor moved yet
    PutItem(1, 20, 10, now - 10001);  // 1 point, no growth
    PutItem(2, 20, 10, now - 15001);  // 3 points, 3 segments
    PutItem(3, 20, 10, now - 20000);  // still hidden
    PutItem(4, 20, 10, now - 30001);  // 5 points, 5 segments; expired but not yet moved
    PutItem(5, 20, 10, 0);            // level 5 plays slots 0..4 only
    UpdateItems();
    EXPECT_EQ(score, 1 + 3 + 5);
    ASSERT_EQ(snakeLength, 3 + 3 + 5);
    EXPECT_TRUE(Snake[3].x == 20 && Snake[3].y == 12 && Snake[10].x == 20 && Snake[10].y == 12);
    EXPECT_TRUE(ItemTable[3].x == 20 && ItemTable[0].x == 40 && ItemTable[0].placedAt == now - 15000);
    EXPECT_TRUE(ItemTable[4].placedAt == now && ItemTable[5].placedAt == 0u);
    ++now;  // slot 3 shows and is eaten, slot 0 moves
    UpdateItems();
    EXPECT_TRUE(score == 14 && ItemTable[0].placedAt == now);

    level = 7;  // no promotion lays the snake out again between these pickups
    for (int32_t before : {14899, 14900}) {
        snakeLength = before;
        PutItem(4, 20, 10, now - 25001);  // 5 points, 5 segments
        UpdateItems();
        EXPECT_EQ(snakeLength, before == 14899 ? 14904 : 14900);  // the limit is tested once per pickup
    }
    EXPECT_EQ(score, 24);
}

}  // namespace
