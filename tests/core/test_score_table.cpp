// The high-score table: the ranking of finished games and the redraw of the list around each.
#include "tests/core/game_fixture.h"

namespace {

void SetEntry(int32_t slot, const std::string& name, int32_t points) {
    std::snprintf(ScoreTable[slot].name, sizeof ScoreTable[slot].name, "%s", name.c_str());
    ScoreTable[slot].score = points;
}

using ScoreTableTest = GameTest;

TEST_F(ScoreTableTest, AGameRanksAboveSmallerScoresAndBelowEveryOlderEqual) {
    const struct {
        int32_t points, place;
        const char *above, *below;
    } cases[] = {{9000, 1, "", "p0"}, {5000, 2, "p0", "p1"}, {4996, 6, "c", "p5"}, {1003, 2000, "p1998", ""}};
    for (const auto& c : cases) {
        // Slot i holds "p<i>" with 5000 - 2i, and slots 2..4 tie at 4996.
        for (int32_t slot = 0; slot < rankedEntries; ++slot)
            SetEntry(slot, Numbered("p", slot), 5000 - 2 * slot);
        SetEntry(3, "b", 4996);
        SetEntry(4, "c", 4996);
        PlayGame("new", c.points);
        EXPECT_EQ(lastInsertRank, c.place);
        EXPECT_EQ(drawnAround, c.place);
        EXPECT_EQ(NameAt(c.place - 1), "new");
        EXPECT_EQ(c.place > 1 ? NameAt(c.place - 2) : "", c.above);
        EXPECT_EQ(c.place < rankedEntries ? NameAt(c.place) : "", c.below);
        EXPECT_EQ(NameAt(insertionSlot), "p1999");  // the last place falls out
    }
}

// A name is kept to 255 bytes whatever playerName holds, and a game that does not rank stays in the
// insertion slot, the list still drawn around the last game that did.
TEST_F(ScoreTableTest, AGameThatDoesNotRankKeepsTheLastPlaceAndStillRedrawsTheList) {
    std::memset(playerName, 'P', sizeof playerName);
    score = 920;
    InsertScore();
    EXPECT_TRUE(NameAt(0) == std::string(255, 'P') && ScoreTable[0].score == 920);
    PlayGame("zero", 1);  // equal to the defaults
    EXPECT_TRUE(NameAt(1) == "ostrel" && NameAt(insertionSlot) == "zero");
    EXPECT_EQ(lastInsertRank, 1);
    EXPECT_EQ(std::make_tuple(scoreListDraws, drawnAround), std::make_tuple(2, 1));
}

}  // namespace
