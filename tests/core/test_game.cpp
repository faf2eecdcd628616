// The generator, a new game, the snake's step with its collisions, and the pace of the steps.
#include "tests/core/game_fixture.h"

namespace {

TEST(RandomGenerator, SeedOneGivesTheKnownSequence) {
    SeedRandom(1);
    for (int32_t expected : {41, 18467, 6334, 26500, 19169})
        EXPECT_EQ(NextRandom(), expected);
}

TEST(Pace, AStepIsDueAfterMoreThanTheLevelsDelayHalvedWhileShiftIsHeld) {
    InitGameTables();
    const struct {
        uint32_t elapsed;
        int level;
        bool shift, due;
    } cases[] = {{250, 1, false, false}, {251, 1, false, true}, {125, 1, true, false},
                 {126, 1, true, true},   {37, 5, true, false},  {38, 5, true, true},
                 {25, 7, false, false},  {26, 7, false, true},  {0x80000000u, 1, false, true}};
    for (const auto& c : cases)
        EXPECT_EQ(IsStepDue(c.elapsed, c.level, c.shift), c.due) << c.elapsed << " ms";
}

using SnakeStep = GameTest;

TEST_F(SnakeStep, ANewGameStartsAtLevelOneWithThreeSegmentsAndOnlySlotZeroPlaced) {
    SetLevel(7);
    ItemTable[3].placedAt = 4242;
    score = 99;
    gameRunning = 0;
    NewGame();
    EXPECT_EQ(std::make_tuple(gameRunning, level, score, snakeLength, direction), std::make_tuple(1, 1, 0, 3, Up));
    for (int32_t i = 0; i < 3; ++i)
        EXPECT_TRUE(Snake[i].x == 23 && Snake[i].y == 14 + i) << i;
    EXPECT_EQ(WallCells(), 0);
    // Seed 1 draws 41 and 18467: column 0, row 15, and nothing more.
    EXPECT_EQ(std::make_tuple(ItemTable[0].x, ItemTable[0].y, ItemTable[0].placedAt), std::make_tuple(0, 15, now));
    EXPECT_EQ(NextRandom(), 6334);
    EXPECT_EQ(ItemTable[3].placedAt, 4242u);  // the other slots go on from where they were
}

TEST_F(SnakeStep, LeavingTheFieldEndsTheGameOnceWithTheHeadOnTheLastCell) {
    const struct {
        int32_t x, y, dx, dy;
        Direction heading;
    } edges[] = {{23, 0, 0, -1, Up}, {46, 9, 1, 0, Right}, {12, 28, 0, 1, Down}, {0, 9, -1, 0, Left}};
    for (const auto& e : edges) {
        SetUp();
        LaySnake({{e.x - e.dx, e.y - e.dy}, {e.x - 2 * e.dx, e.y - 2 * e.dy}, {e.x - 3 * e.dx, e.y - 3 * e.dy}});
        direction = e.heading;
        score = 7;
        StepSnake();
        ASSERT_TRUE(gameRunning == 1 && HeadOn(e.x, e.y)) << "heading " << e.heading;
        StepSnake();
        EXPECT_TRUE(gameRunning == 0 && HeadOn(e.x, e.y)) << "heading " << e.heading;
        EXPECT_EQ(RankedEntriesOf("tester"), 1);
        EXPECT_EQ(scoreListDraws, 1);
    }
}

TEST_F(SnakeStep, AWallAheadEndsTheGameBeforeTheMoveAndTwoHitsEndItOnce) {
    for (int32_t tailX : {7, 9}) {  // the second tail lies under the head: wall and body at once
        SetUp();
        SetLevel(3);  // a wall runs down column 10
        LaySnake({{9, 12}, {8, 12}, {tailX, 12}});
        direction = Right;
        score = 5;
        StepSnake();
        EXPECT_TRUE(gameRunning == 0 && HeadOn(9, 12));
        EXPECT_EQ(RankedEntriesOf("tester"), 1);
        EXPECT_EQ(scoreListDraws, 1);
    }
}

// The body test looks at the cell the head stands on, so a move onto the body ends the game a step later.
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

TEST_F(SnakeStep, TwoQuickTurnsBackAlongTheNeckEndTheGameOneStepLater) {
    NewGame();
    StepSnake();       // head to (23, 13)
    direction = Left;  // neither turn reverses the heading it replaces
    direction = Down;
    StepSnake();
    ASSERT_EQ(gameRunning, 1);
    EXPECT_TRUE(HeadOn(23, 14));
    StepSnake();
    EXPECT_TRUE(gameRunning == 0 && HeadOn(23, 14));
}

}  // namespace
