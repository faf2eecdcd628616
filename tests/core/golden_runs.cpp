// Whole games from a seed and a script of timed turns, played as the main loop plays them.
#include <iterator>

#include "tests/core/game_fixture.h"

namespace {

struct ScriptEvent {
    uint32_t atMs;  // clock reading at which the arrow key goes down
    Direction turn;
};

// One clock millisecond per loop turn; a turn straight back is refused as the keyboard refuses it,
// and a step is taken whenever the pace says one is due.
void Play(const ScriptEvent* script, size_t count, void (*afterPromotion)()) {
    uint32_t lastStepTime = now;
    int32_t levelBefore = level;
    size_t next = 0;
    for (int32_t turn = 0; gameRunning == 1; ++turn) {
        ASSERT_LT(turn, 10000000) << "the game never ended";
        ++now;
        for (; next < count && script[next].atMs == now; ++next)
            if (script[next].turn != (direction + 2) % 4)
                direction = script[next].turn;
        if (!IsStepDue(now - lastStepTime, level, false))
            continue;
        StepSnake();
        lastStepTime = ReadClock();
        if (level != levelBefore) {
            ASSERT_NE(afterPromotion, nullptr) << "unexpected promotion to level " << level;
            afterPromotion();
            levelBefore = level;
        }
    }
}

using GoldenRun = GameTest;

TEST_F(GoldenRun, FourPickupsAtLevelOneThenTheBottomEdge) {
    static const ScriptEvent script[] = {{600251u, Left}, {606024u, Down}, {608032u, Right},
                                         {614558u, Up},   {616817u, Left}, {619327u, Down}};
    now = 600000;
    NewGame();
    Play(script, std::size(script), nullptr);
    EXPECT_EQ(now, 623092u);
    EXPECT_EQ(score, 4);
    EXPECT_EQ(snakeLength, 7);
    EXPECT_EQ(level, 1);
    EXPECT_TRUE(HeadOn(16, 28));  // row 28 is reached; leaving it ends the game
    EXPECT_EQ(NameAt(0), "tester");
    EXPECT_EQ(ScoreTable[0].score, 4);
    EXPECT_EQ(lastInsertRank, 1);
    EXPECT_EQ(scoreListDraws, 1);
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

// The climb lengthens the snake on arrival at each level to one segment short of the next
// promotion, so that one pickup of slot 0 per level carries it up.
constexpr int32_t lengthOnArrival[8] = {0, 24, 49, 99, 149, 199, 299, 0};
uint32_t arrivalTime[8];

void LengthenOnTheTail(int32_t length) {
    for (; snakeLength < length; ++snakeLength)
        Snake[snakeLength] = Snake[snakeLength - 1];
}

void CheckArrivalAndLengthen() {
    arrivalTime[level] = now;
    EXPECT_EQ(snakeLength, lengthOnArrival[level - 1] + 1);
    EXPECT_EQ(direction, Up);
    int32_t mismatches = 0;
    for (int32_t x = 0; x < 47; ++x)
        for (int32_t y = 0; y < 29; ++y)
            mismatches += Board[x][y] != ExpectedWall(level, x, y);
    EXPECT_EQ(mismatches, 0) << "walls of level " << level;
    const int32_t wallCount[8] = {0, 0, 20, 36, 72, 54, 14, 72};
    EXPECT_EQ(WallCells(), wallCount[level]);
    EXPECT_TRUE(HeadOn(23, 14) && Snake[1].x == 23 && Snake[1].y == 15);
    for (int32_t i = 2; i < snakeLength; ++i)
        ASSERT_TRUE(Snake[i].x == 23 && Snake[i].y == 16) << i;
    LengthenOnTheTail(lengthOnArrival[level]);
}

TEST_F(GoldenRun, ClimbsAllSevenLevelsAcrossTheWrapOfTheClock) {
    static const ScriptEvent script[] = {
        {4294962547u, Left}, {2582u, Left}, {4293u, Left}, {5555u, Right}, {7474u, Down},
        {8055u, Right},      {9195u, Down}, {9398u, Left}, {10265u, Down},
    };
    now = 4294962296u;  // five seconds before the wrap
    SeedRandom(7);
    std::strcpy(playerName, "climber");
    NewGame();
    LengthenOnTheTail(lengthOnArrival[1]);
    Play(script, std::size(script), CheckArrivalAndLengthen);

    const uint32_t expectedArrival[8] = {0, 0, 773, 2783, 4444, 7979, 9347, 10724};
    for (int32_t n = 2; n <= 7; ++n)
        EXPECT_EQ(arrivalTime[n], expectedArrival[n]) << "level " << n;
    // Left alone after the last promotion, the snake runs up the open start column out of the field.
    EXPECT_EQ(now, 11114u);
    EXPECT_TRUE(HeadOn(23, 0));
    EXPECT_EQ(std::make_tuple(level, score, snakeLength), std::make_tuple(7, 6, 300));
    EXPECT_EQ(NameAt(0), "climber");
    EXPECT_EQ(lastInsertRank, 1);
    EXPECT_EQ(RankedEntriesOf("climber"), 1);
}

}  // namespace
