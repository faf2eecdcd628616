// The common start of every shell test: a fresh fake machine with the display set up, default
// tables, no game.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/app.h"
#include "display/display.h"
#include "game/clock.h"
#include "game/game.h"
#include "game/items.h"
#include "game/levels.h"
#include "scores/file_access.h"
#include "scores/scores.h"
#include "tests/shell/fake_platform.h"

using Lines = std::vector<std::string>;
using fake::Format;

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        ReleaseDisplay();
        fake::Reset();
        fileAccess = platformFileAccess;  // every score file of these tests lives in the fake's memory
        SetClockSource(PlatformClockMs);
        reloadBackgroundRequest = nullptr;
        drawScoreListRequest = nullptr;
        std::memset(Board, 0, sizeof Board);
        std::memset(ItemTable, 0, sizeof ItemTable);
        InitGameTables();
        LoadScores();
        ScoreTable[insertionSlot] = ScoreEntry{};
        lastInsertRank = snakeLength = score = level = gameRunning = appActive = 0;
        direction = Up;
        mainWindow = fake::Window();
        lastStepTime = 0;
        InitDisplay(fake::Window());
        lastResult = S_OK;
        fake::ClearRecords();
    }
    void TearDown() override {
        EXPECT_EQ(fake::state.openContexts, 0) << "a drawing context was not given back";
        EXPECT_EQ(fake::state.liveBitmaps, 0) << "a bitmap was not deleted";
        ReleaseDisplay();
        SetClockSource(nullptr);
        fileAccess = standardFileAccess;
    }
    // A machine configured afresh, with no display yet.
    static void NewMachine() {
        ReleaseDisplay();
        fake::Reset();
    }
    static Lines Texts() {
        Lines texts;
        for (const fake::Text& text : fake::state.texts)
            texts.push_back(text.text);
        return texts;
    }
};
