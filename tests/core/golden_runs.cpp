// Whole games from a seed and a script of timed turns, played as the main loop plays them.
#include "tests/core/game_fixture.h"

namespace gametest {
namespace {

struct ScriptEvent {
    uint32_t atMs;  // clock reading at which the arrow key goes down
    Direction turn;
};

// One clock millisecond per loop turn; the script's turns arrive as the keyboard gives them (a turn
// straight back is refused), and a step is taken whenever the pace says one is due.
void Play(const ScriptEvent* script, size_t count, void (*afterPromotion)()) {
    uint32_t lastStepTime = now;
    int32_t levelBefore = level;
    size_t next = 0;
    for (int32_t turn = 0; gameRunning == 1; ++turn) {
        ASSERT_LT(turn, 10000000) << "the game never ended";
        ++now;
        for (; next < count && script[next].atMs == now; ++next)
            if (script[next].turn != (direction + 2) % 4) direction = script[next].turn;
        if (!IsStepDue(now - lastStepTime, level, false)) continue;
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
    static const ScriptEvent script[] = {{600251u, Left},  {606024u, Down}, {608032u, Right},
                                         {614558u, Up},    {616817u, Left}, {619327u, Down}};
    now = 600000;
    SeedRandom(1);
    NewGame();
    Play(script, std::size(script), nullptr);
    EXPECT_EQ(now, 623092u);
    EXPECT_EQ(score, 4);
    EXPECT_EQ(snakeLength, 7);
    EXPECT_EQ(level, 1);
    EXPECT_TRUE(Snake[0].x == 16 && Snake[0].y == 28);  // row 28 is reached; leaving it ends the game
    EXPECT_EQ(std::strcmp(ScoreTable[0].name, "tester"), 0);
    EXPECT_EQ(ScoreTable[0].score, 4);
    EXPECT_EQ(lastInsertRank, 1);
    EXPECT_EQ(scoreListDraws, 1);
}

// The climb lengthens the snake on arrival at each level to one segment short of the next promotion,
// so that one pickup of slot 0 per level carries it up; growth by pickups is tested on its own.
constexpr int32_t lengthOnArrival[8] = {0, 24, 49, 99, 149, 199, 299, 0};
int32_t arrivals;
uint32_t arrivalTime[8];

void LengthenOnTheTail(int32_t length) {
    for (; snakeLength < length; ++snakeLength) Snake[snakeLength] = Snake[snakeLength - 1];
}

void CheckArrivalAndLengthen() {
    ++arrivals;
    arrivalTime[level] = now;
    EXPECT_EQ(level, arrivals + 1);
    EXPECT_EQ(snakeLength, lengthOnArrival[level - 1] + 1);
    EXPECT_EQ(direction, Up);
    int32_t mismatches = 0;
    for (int32_t x = 0; x < 47; ++x)
        for (int32_t y = 0; y < 29; ++y) mismatches += Board[x][y] != ExpectedWall(level, x, y);
    EXPECT_EQ(mismatches, 0) << "walls of level " << level;
    const int32_t wallCount[8] = {0, 0, 20, 36, 72, 54, 14, 72};
    EXPECT_EQ(WallCells(), wallCount[level]);
    EXPECT_TRUE(Snake[0].x == 23 && Snake[0].y == 14 && Snake[1].x == 23 && Snake[1].y == 15);
    for (int32_t i = 2; i < snakeLength; ++i) ASSERT_TRUE(Snake[i].x == 23 && Snake[i].y == 16) << i;
    LengthenOnTheTail(lengthOnArrival[level]);
}

TEST_F(GoldenRun, ClimbsAllSevenLevelsAcrossTheWrapOfTheClock) {
    static const ScriptEvent script[] = {
        {4294962547u, Left}, {2582u, Left},   {4293u, Left},  {5555u, Right}, {7474u, Down},
        {8055u, Right},      {9195u, Down},   {9398u, Left},  {10265u, Down},
    };
    now = 4294962296u;  // five seconds before the wrap
    SeedRandom(7);
    std::strcpy(playerName, "climber");
    arrivals = 0;
    NewGame();
    LengthenOnTheTail(lengthOnArrival[1]);
    Play(script, std::size(script), CheckArrivalAndLengthen);

    EXPECT_EQ(arrivals, 6);
    const uint32_t expectedArrival[8] = {0, 0, 773, 2783, 4444, 7979, 9347, 10724};
    for (int32_t n = 2; n <= 7; ++n) EXPECT_EQ(arrivalTime[n], expectedArrival[n]) << "level " << n;
    // Left alone after the last promotion, the snake runs up the open start column out of the field.
    EXPECT_EQ(now, 11114u);
    EXPECT_TRUE(Snake[0].x == 23 && Snake[0].y == 0);
    EXPECT_EQ(level, 7);
    EXPECT_EQ(score, 6);
    EXPECT_EQ(snakeLength, 300);
    EXPECT_EQ(std::strcmp(ScoreTable[0].name, "climber"), 0);
    EXPECT_EQ(lastInsertRank, 1);
    EXPECT_EQ(RankedEntriesOf("climber"), 1);
}

}  // namespace
}  // namespace gametest
