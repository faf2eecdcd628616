// The high-score table: defaults, ranking of finished games, and the redraw they ask for.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "game/game.h"
#include "scores/file_access.h"
#include "scores/scores.h"

namespace {

// A prefix and a number ("p17"), built without string concatenation, which a compiler of the
// cross build misreports as an overlapping copy.
std::string Numbered(const char* prefix, long long number) {
    char text[64];
    std::snprintf(text, sizeof text, "%s%lld", prefix, number);
    return text;
}

std::vector<std::string> redraws;  // what the display was asked to do, in order

void RecordReload() { redraws.push_back("reload"); }
void RecordDraw(int32_t centre) { redraws.push_back(Numbered("draw ", centre)); }
FileHandle* NoFile(const char*) { return nullptr; }

void SetEntry(int32_t slot, const std::string& name, int32_t points) {
    std::snprintf(ScoreTable[slot].name, sizeof ScoreTable[slot].name, "%s", name.c_str());
    ScoreTable[slot].score = points;
}

void PlayGame(const char* name, int32_t points) {
    std::snprintf(playerName, sizeof playerName, "%s", name);
    score = points;
    InsertScore();
}

std::string NameAt(int32_t slot) { return ScoreTable[slot].name; }

class ScoreTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDefaultScores();
        SetEntry(insertionSlot, "", 0);
        lastInsertRank = 0;
        redraws.clear();
        reloadBackgroundRequest = RecordReload;
        drawScoreListRequest = RecordDraw;
    }
    void TearDown() override {
        reloadBackgroundRequest = nullptr;
        drawScoreListRequest = nullptr;
    }
    // Slot i holds "p<i>" with 5000 - 2i: every score distinct, slot 1999 at 1002.
    static void FillDistinct() {
        for (int32_t slot = 0; slot < rankedEntries; ++slot) SetEntry(slot, Numbered("p", slot), 5000 - 2 * slot);
    }
};

TEST_F(ScoreTableTest, WithoutAScoreFileEveryRankedSlotHoldsTheDefault) {
    FileAccess saved = fileAccess;
    fileAccess.openForReading = NoFile;
    std::snprintf(playerName, sizeof playerName, "Typedname");
    LoadScores();
    fileAccess = saved;
    for (int32_t slot = 0; slot < rankedEntries; ++slot) {
        ASSERT_EQ(NameAt(slot), "ostrel") << slot;
        ASSERT_EQ(ScoreTable[slot].score, 1) << slot;
    }
    EXPECT_STREQ(playerName, "snake");
    EXPECT_EQ(NameAt(insertionSlot), "");
    EXPECT_EQ(ScoreTable[insertionSlot].score, 0);
    EXPECT_EQ(lastInsertRank, 0);
}

TEST_F(ScoreTableTest, DefaultsLeaveTheInsertionSlotAndTheLastRankAlone) {
    SetEntry(insertionSlot, "kept", 1);
    lastInsertRank = 17;
    SetDefaultScores();
    EXPECT_EQ(NameAt(insertionSlot), "kept");
    EXPECT_EQ(lastInsertRank, 17);
}

TEST_F(ScoreTableTest, FirstRankingGameTakesTheTopAndPushesADefaultOut) {
    PlayGame("Pilot", 920);
    EXPECT_EQ(NameAt(0), "Pilot");
    EXPECT_EQ(ScoreTable[0].score, 920);
    EXPECT_EQ(lastInsertRank, 1);
    for (int32_t slot = 1; slot < rankedEntries; ++slot) ASSERT_EQ(ScoreTable[slot].score, 1) << slot;
    EXPECT_EQ(NameAt(insertionSlot), "ostrel");
    EXPECT_EQ(ScoreTable[insertionSlot].score, 1);
}

TEST_F(ScoreTableTest, ScoreAboveEveryEntryMovesAllDownAndDropsTheLast) {
    FillDistinct();
    PlayGame("Ace", 9000);
    EXPECT_EQ(NameAt(0), "Ace");
    EXPECT_EQ(lastInsertRank, 1);
    for (int32_t slot = 1; slot < rankedEntries; ++slot) ASSERT_EQ(NameAt(slot), Numbered("p", slot - 1));
    EXPECT_EQ(NameAt(insertionSlot), "p1999");
    EXPECT_EQ(ScoreTable[insertionSlot].score, 1002);
}

TEST_F(ScoreTableTest, EqualToTheTopLandsBelowTheOlderEntry) {
    FillDistinct();
    PlayGame("Tie", 5000);
    EXPECT_EQ(NameAt(0), "p0");
    EXPECT_EQ(NameAt(1), "Tie");
    EXPECT_EQ(NameAt(2), "p1");
    EXPECT_EQ(lastInsertRank, 2);
}

TEST_F(ScoreTableTest, EqualToSeveralLandsDirectlyBelowTheLastOfThem) {
    FillDistinct();
    SetEntry(2, "a", 4996);
    SetEntry(3, "b", 4996);
    SetEntry(4, "c", 4996);
    PlayGame("d", 4996);
    EXPECT_EQ(NameAt(4), "c");
    EXPECT_EQ(NameAt(5), "d");
    EXPECT_EQ(NameAt(6), "p5");
    EXPECT_EQ(lastInsertRank, 6);
}

TEST_F(ScoreTableTest, ScoreAboveOnlyTheLastSlotTakesPlace2000) {
    FillDistinct();
    PlayGame("Low", 1003);
    EXPECT_EQ(NameAt(1998), "p1998");
    EXPECT_EQ(NameAt(1999), "Low");
    EXPECT_EQ(lastInsertRank, 2000);
    EXPECT_EQ(NameAt(insertionSlot), "p1999");
}

TEST_F(ScoreTableTest, ScoresOfOneOrLessNeverMoveAndKeepTheLastRank) {
    PlayGame("zero", 0);
    EXPECT_EQ(lastInsertRank, 0);  // no game has ranked yet: no row is highlighted
    PlayGame("Pilot", 400);
    PlayGame("rover", 300);
    ASSERT_EQ(lastInsertRank, 2);
    std::vector<ScoreEntry> before(ScoreTable, ScoreTable + rankedEntries);
    for (int32_t points : {1, 0}) {
        PlayGame("loser", points);
        EXPECT_EQ(lastInsertRank, 2);
        EXPECT_EQ(std::memcmp(before.data(), ScoreTable, sizeof(ScoreEntry) * rankedEntries), 0);
        EXPECT_EQ(NameAt(insertionSlot), "loser");  // the game's own entry stays in the insertion slot
        EXPECT_EQ(ScoreTable[insertionSlot].score, points);
    }
    EXPECT_EQ(NameAt(lastInsertRank - 1), "rover");  // the highlighted place still holds that game
}

TEST_F(ScoreTableTest, RankFollowsEachRankingGame) {
    PlayGame("a", 300);
    EXPECT_EQ(lastInsertRank, 1);
    PlayGame("b", 200);
    EXPECT_EQ(lastInsertRank, 2);
    PlayGame("c", 250);
    EXPECT_EQ(lastInsertRank, 2);
    PlayGame("d", 300);
    EXPECT_EQ(lastInsertRank, 2);
    for (int32_t slot = 0; slot < 4; ++slot) EXPECT_EQ(NameAt(slot), std::string(1, "adcb"[slot]));
}

TEST_F(ScoreTableTest, NamesEnterAsTyped) {
    PlayGame("", 50);
    PlayGame("Abcdefghijk", 60);  // the longest name that can be typed
    EXPECT_EQ(NameAt(0), "Abcdefghijk");
    EXPECT_EQ(NameAt(1), "");
    EXPECT_EQ(ScoreTable[1].score, 50);
}

TEST_F(ScoreTableTest, NameIsCopiedBoundedToTheField) {
    std::memset(playerName, 'x', sizeof playerName);  // no zero byte anywhere
    score = 80;
    InsertScore();
    EXPECT_EQ(NameAt(0), std::string(255, 'x'));
}

// Many games with many ties, against a stable sort: the best 2000 stay, older equals higher.
TEST_F(ScoreTableTest, ManyGamesKeepTheBest2000InOrderOfEntry) {
    std::vector<std::pair<int32_t, std::string>> entered(rankedEntries, {1, "ostrel"});
    uint32_t state = 12345;
    for (int game = 0; game < 3000; ++game) {
        state = state * 1103515245u + 12345u;
        int32_t points = static_cast<int32_t>((state >> 16) % 40);
        std::string name = Numbered("g", game);
        PlayGame(name.c_str(), points);
        entered.push_back({points, name});
    }
    std::stable_sort(entered.begin(), entered.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (int32_t slot = 0; slot < rankedEntries; ++slot) {
        ASSERT_EQ(ScoreTable[slot].score, entered[slot].first) << slot;
        ASSERT_EQ(NameAt(slot), entered[slot].second) << slot;
    }
    EXPECT_LE(ScoreTable[insertionSlot].score, ScoreTable[rankedEntries - 1].score);
}

TEST_F(ScoreTableTest, FinishedGameAsksForOneRedrawAroundItsPlace) {
    PlayGame("Pilot", 920);
    PlayGame("rover", 480);
    EXPECT_EQ(redraws, (std::vector<std::string>{"reload", "draw 1", "reload", "draw 2"}));
    redraws.clear();
    PlayGame("zero", 0);
    EXPECT_EQ(redraws, (std::vector<std::string>{"reload", "draw 2"}));
}

TEST_F(ScoreTableTest, WithoutRedrawHooksAGameOnlyRanks) {
    reloadBackgroundRequest = nullptr;
    drawScoreListRequest = nullptr;
    PlayGame("Pilot", 920);
    EXPECT_EQ(NameAt(0), "Pilot");
    EXPECT_TRUE(redraws.empty());
}

}  // namespace
