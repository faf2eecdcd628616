// A new game, the snake's step and its collisions, and the end of a game.
#include "tests/core/game_fixture.h"

namespace gametest {
namespace {

using NewGameTest = GameTest;

TEST_F(NewGameTest, StartsAtLevelOneWithThreeSegmentsAndSlotZeroPlaced) {
    SetLevel(7);
    ItemTable[3] = ItemSlot{7, 8, 5, 0, 20000, 4242, 5000};
    score = 99;
    NewGame();
    EXPECT_EQ(gameRunning, 1);
    EXPECT_EQ(level, 1);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(direction, Up);
    ASSERT_EQ(snakeLength, 3);
    for (int32_t i = 0; i < 3; ++i) EXPECT_TRUE(Snake[i].x == 23 && Snake[i].y == 14 + i) << "segment " << i;
    EXPECT_EQ(WallCells(), 0);
    // Seed 1 draws 41 and 18467: column 0, row 15, and nothing more.
    EXPECT_EQ(ItemTable[0].x, 0);
    EXPECT_EQ(ItemTable[0].y, 15);
    EXPECT_EQ(ItemTable[0].placedAt, now);
    EXPECT_EQ(NextRandom(), 6334);
    EXPECT_EQ(ItemTable[3].placedAt, 4242u);  // the other slots go on from where they were
    EXPECT_EQ(ItemTable[3].x, 7);
}

// A running level-1 game with slot 0 out of the way; each test lays its own snake.
class StepTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        level = 1;
        gameRunning = 1;
        ItemTable[0] = ItemSlot{30, 20, 1, 1, 0, now, 15000};
    }
    static bool HeadOn(int32_t x, int32_t y) { return Snake[0].x == x && Snake[0].y == y; }
};

struct EdgeCase {
    Segment lastCell;  // the head reaches this cell, and the next step would leave the field
    Direction heading;
};

class EdgeTest : public StepTest, public ::testing::WithParamInterface<EdgeCase> {};

TEST_P(EdgeTest, LeavingTheFieldEndsTheGameOnceWithTheHeadOnTheLastCell) {
    const auto [last, heading] = GetParam();
    const int32_t dx = heading == Right ? 1 : heading == Left ? -1 : 0;
    const int32_t dy = heading == Down ? 1 : heading == Up ? -1 : 0;
    LaySnake({{last.x - dx, last.y - dy}, {last.x - 2 * dx, last.y - 2 * dy}, {last.x - 3 * dx, last.y - 3 * dy}});
    direction = heading;
    score = 7;
    StepSnake();
    ASSERT_EQ(gameRunning, 1);
    ASSERT_TRUE(HeadOn(last.x, last.y));
    StepSnake();
    EXPECT_EQ(gameRunning, 0);
    EXPECT_TRUE(HeadOn(last.x, last.y));
    EXPECT_EQ(RankedEntriesOf("tester"), 1);
    EXPECT_EQ(ScoreTable[0].score, 7);
    EXPECT_EQ(lastInsertRank, 1);
    EXPECT_EQ(scoreListDraws, 1);
}

INSTANTIATE_TEST_SUITE_P(FourSides, EdgeTest,
                         ::testing::Values(EdgeCase{{23, 0}, Up}, EdgeCase{{46, 9}, Right},
                                           EdgeCase{{12, 28}, Down}, EdgeCase{{0, 9}, Left}));

TEST_F(StepTest, AWallAheadEndsTheGameBeforeTheMove) {
    SetLevel(3);
    LaySnake({{9, 12}, {8, 12}, {7, 12}});
    direction = Right;
    StepSnake();
    EXPECT_EQ(gameRunning, 0);
    EXPECT_TRUE(HeadOn(9, 12));
    EXPECT_EQ(scoreListDraws, 1);
}

TEST_F(StepTest, TheHeadMayTakeTheTailsCellUnlessGrowthHoldsTheTailThere) {
    for (bool tailHeld : {false, true}) {
        gameRunning = 1;
        LaySnake({{10, 10}, {11, 10}, {11, 11}, {10, 11}});
        if (tailHeld) Snake[snakeLength++] = Segment{10, 11};
        direction = Down;
        StepSnake();
        ASSERT_EQ(gameRunning, 1);
        StepSnake();  // the body test looks at the cell the head stands on
        EXPECT_EQ(gameRunning, tailHeld ? 0 : 1);
        EXPECT_TRUE(HeadOn(10, tailHeld ? 11 : 12));
    }
}

TEST_F(StepTest, TwoQuickTurnsBackAlongTheNeckEndTheGameOneStepLater) {
    NewGame();
    StepSnake();  // head to (23, 13)
    direction = Left;  // each turn alone is allowed, since neither reverses the heading it replaces
    direction = Down;
    StepSnake();
    ASSERT_EQ(gameRunning, 1);
    EXPECT_TRUE(HeadOn(23, 14));
    StepSnake();
    EXPECT_EQ(gameRunning, 0);
    EXPECT_TRUE(HeadOn(23, 14));
    EXPECT_EQ(scoreListDraws, 1);
}

TEST_F(StepTest, APromotionInTheStepOntoTheBodySavesTheGame) {
    for (bool itemThere : {false, true}) {
        gameRunning = 1;
        // A 24-segment snake whose head turns down onto its own body, the rest stacked on the tail.
        LaySnake({{10, 10}, {11, 10}, {11, 11}, {10, 11}, {9, 11}, {9, 12}});
        while (snakeLength < 24) Snake[snakeLength++] = Segment{9, 12};
        ItemTable[0] = ItemSlot{itemThere ? 10 : 30, itemThere ? 11 : 20, 1, 1, 0, now - 1, 15000};
        direction = Down;
        StepSnake();
        StepSnake();
        EXPECT_EQ(gameRunning, itemThere ? 1 : 0);
        EXPECT_EQ(level, itemThere ? 2 : 1);
        EXPECT_TRUE(HeadOn(itemThere ? 23 : 10, itemThere ? 13 : 11));  // laid out afresh, one step up
    }
}

TEST_F(StepTest, SeveralHitsAtOnceEndTheGameOnce) {
    score = 3;
    LaySnake({{23, 0}, {23, 1}, {23, 0}});  // at the edge and on its own body
    StepSnake();
    EXPECT_EQ(gameRunning, 0);
    EXPECT_EQ(RankedEntriesOf("tester"), 1);
    EXPECT_EQ(scoreListDraws, 1);
}

}  // namespace
}  // namespace gametest
