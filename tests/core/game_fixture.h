// Shared ground for the rules' tests: a settable clock, seed 1, a running level-1 game on a clear
// board and a default score table.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <tuple>

#include "game/clock.h"
#include "game/game.h"
#include "game/items.h"
#include "game/levels.h"
#include "scores/scores.h"

inline uint32_t now;  // the clock the rules read
inline uint32_t TestClock() {
    return now;
}
inline int32_t scoreListDraws;  // each finished game asks for one redraw of the list
inline void CountScoreListDraw(int32_t) {
    ++scoreListDraws;
}

// Built with snprintf: string concatenation draws a false overlap warning from the cross compiler.
inline std::string Numbered(const char* prefix, long long number) {
    char text[64];
    std::snprintf(text, sizeof text, "%s%lld", prefix, number);
    return text;
}

// The snake from head to tail.
inline void LaySnake(std::initializer_list<Segment> cells) {
    snakeLength = 0;
    for (const Segment& cell : cells)
        Snake[snakeLength++] = cell;
}
inline bool HeadOn(int32_t x, int32_t y) {
    return Snake[0].x == x && Snake[0].y == y;
}
inline std::string NameAt(int32_t slot) {
    return ScoreTable[slot].name;
}
inline void PlayGame(const std::string& name, int32_t points) {
    std::snprintf(playerName, sizeof playerName, "%s", name.c_str());
    score = points;
    InsertScore();
}

inline int32_t RankedEntriesOf(const char* name) {
    int32_t count = 0;
    for (int32_t slot = 0; slot < rankedEntries; ++slot)
        count += NameAt(slot) == name;
    return count;
}

inline int32_t WallCells() {
    int32_t count = 0;
    for (const auto& column : Board)
        for (int32_t cell : column)
            count += cell != 0;
    return count;
}

class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(Board, 0, sizeof Board);
        std::memset(ItemTable, 0, sizeof ItemTable);
        InitGameTables();
        level = gameRunning = 1;
        score = 0;
        direction = Up;
        now = 1000000;
        SetClockSource(TestClock);
        SeedRandom(1);
        SetDefaultScores();
        ScoreTable[insertionSlot] = ScoreEntry{};
        lastInsertRank = 0;
        std::strcpy(playerName, "tester");
        scoreListDraws = 0;
        drawScoreListRequest = CountScoreListDraw;
    }
    void TearDown() override {
        SetClockSource(nullptr);
        drawScoreListRequest = nullptr;
    }
};
