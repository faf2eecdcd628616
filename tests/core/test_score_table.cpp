// The high-score table: the ranking of finished games and the redraw they ask for.
#include <vector>

#include "tests/core/game_fixture.h"

namespace {

std::vector<std::string> redraws;  // what the display was asked to do, in order
void RecordReload() {
    redraws.push_back("reload");
}
void RecordDraw(int32_t centre) {
    redraws.push_back(Numbered("draw ", centre));
}

class ScoreTableTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        redraws.clear();
        reloadBackgroundRequest = RecordReload;
        drawScoreListRequest = RecordDraw;
    }
    void TearDown() override {
        reloadBackgroundRequest = nullptr;
        GameTest::TearDown();
    }
    static void SetEntry(int32_t slot, const std::string& name, int32_t points) {
        std::snprintf(ScoreTable[slot].name, sizeof ScoreTable[slot].name, "%s", name.c_str());
        ScoreTable[slot].score = points;
    }
};

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
        EXPECT_EQ(NameAt(c.place - 1), "new");
        EXPECT_EQ(c.place > 1 ? NameAt(c.place - 2) : "", c.above);
        EXPECT_EQ(c.place < rankedEntries ? NameAt(c.place) : "", c.below);
        EXPECT_EQ(NameAt(insertionSlot), "p1999");  // the last place falls out
    }
}

TEST_F(ScoreTableTest, AGameThatDoesNotRankKeepsTheLastPlaceAndStillRedrawsTheList) {
    PlayGame("Pilot", 920);
    PlayGame("rover", 480);
    PlayGame("zero", 1);  // equal to the defaults: it stays in the insertion slot
    EXPECT_EQ(lastInsertRank, 2);
    EXPECT_EQ(NameAt(2), "ostrel");
    EXPECT_EQ(NameAt(insertionSlot), "zero");
    EXPECT_EQ(redraws, (std::vector<std::string>{"reload", "draw 1", "reload", "draw 2", "reload", "draw 2"}));
    reloadBackgroundRequest = nullptr;
    drawScoreListRequest = nullptr;
    PlayGame("late", 990);  // without the display's hooks a game only ranks
    EXPECT_EQ(NameAt(0), "late");
}

}  // namespace
