// The common start of every shell test: a fresh fake machine, default tables, no game, no display.
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

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        ReleaseDisplay();
        fake::Reset();
        // Every score file of these tests lives in the fake's memory, never on the disk.
        fileAccess = platformFileAccess;
        SetClockSource(PlatformClockMs);
        reloadBackgroundRequest = nullptr;
        drawScoreListRequest = nullptr;
        InitGameTables();
        LoadScores();
        ScoreTable[insertionSlot] = ScoreEntry{};
        lastInsertRank = 0;
        std::memset(Board, 0, sizeof Board);
        std::memset(Snake, 0, sizeof Snake);
        for (ItemSlot& slot : ItemTable) {
            slot.x = slot.y = 0;
            slot.placedAt = 0;
        }
        snakeLength = 0;
        direction = Up;
        gameRunning = 0;
        score = 0;
        level = 0;
        mainWindow = fake::Window();
        appActive = 0;
        lastStepTime = 0;
        lastResult = S_OK;
        fake::ClearRecords();
    }

    void TearDown() override {
        EXPECT_TRUE(fake::state.nullUses.empty()) << "first: " << fake::state.nullUses.front();
        EXPECT_EQ(fake::state.openContexts, 0) << "a drawing context was not given back";
        ReleaseDisplay();
        SetClockSource(nullptr);
        fileAccess = standardFileAccess;
    }

    // The display as InitDisplay leaves it on a machine that grants everything, with nothing recorded yet.
    void StartDisplay() {
        InitDisplay();
        fake::ClearRecords();
    }

    static std::vector<std::string> Texts() {
        std::vector<std::string> texts;
        for (const fake::TextRecord& text : fake::state.texts) {
            texts.push_back(text.text);
        }
        return texts;
    }

    // The log entries with any of the prefixes, in the order they happened.
    static std::vector<std::string> Filtered(const std::vector<std::string>& prefixes) {
        std::vector<std::string> found;
        for (const std::string& entry : fake::state.log) {
            for (const std::string& prefix : prefixes) {
                if (entry.compare(0, prefix.size(), prefix) == 0) {
                    found.push_back(entry);
                    break;
                }
            }
        }
        return found;
    }

    static int Count(const std::string& prefix) {
        return static_cast<int>(fake::LogEntries(prefix).size());
    }
};

inline bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::ostream& operator<<(std::ostream& out, const Rect& r) {
    return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
