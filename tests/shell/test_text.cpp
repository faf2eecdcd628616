// The status text and the score list: texts, points, colours and the list's window.
#include "tests/shell/shell_fixture.h"

namespace {

class TextTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        for (int32_t i = 0; i < rankedEntries; ++i) {
            std::snprintf(ScoreTable[i].name, sizeof ScoreTable[i].name, "p%d", i);
            ScoreTable[i].score = 100000 - i;
        }
        std::strcpy(ScoreTable[insertionSlot].name, "dropped");
    }
    // Each text as "x y colour text", with "clear" where its box is not filled black.
    static Lines Shown(bool (*keep)(const fake::Text&)) {
        Lines shown;
        for (const fake::Text& t : fake::state.texts)
            if (keep(t))
                shown.push_back(
                    Format("%d %d %06X%s %s", t.x, t.y, t.colour, t.onBlack ? "" : " clear", t.text.c_str()));
        return shown;
    }
    static bool InList(const fake::Text& t) { return t.x == 340 || t.x == 370 || t.x == 450; }
};

}  // namespace

TEST_F(TextTest, BetweenGamesTheStatusTextsArePaddedTo15AndTheNameCarriesTheCursor) {
    score = 1234;
    level = 7;
    snakeLength = 14900;
    DrawStatusText();
    EXPECT_EQ(Shown([](const fake::Text&) { return true; }),
              (Lines{"140 34 979799 snake_         ", "140 63 979799 Score: 1234    ", "550 34 979799 Level: 7       ",
                     "550 63 979799 Snake: 14900   "}));
}

TEST_F(TextTest, TheListShows28PlacesFromFourteenAboveTheCentreWithTheLastRankedGameInWhite) {
    const struct {
        int32_t centre, rank;
        size_t rows;
        const char *first, *last, *white;
    } cases[] = {{0, 0, 28, "1.", "28.", ""},
                 {13, 1, 28, "1.", "28.", "105 1."},
                 {15, 6, 28, "2.", "29.", "169 6."},
                 {501, 501, 28, "488.", "515.", "313 501."},
                 {2000, 2000, 14, "1987.", "2000.", "313 2000."},
                 {5000, 0, 0, "", "", ""}};
    for (const auto& c : cases) {
        fake::ClearRecords();
        lastInsertRank = c.rank;
        EXPECT_EQ(DrawScoreList(c.centre), S_OK);
        const Lines rows = Shown(InList);
        ASSERT_EQ(rows.size(), 3 * c.rows) << c.centre;
        Lines places, white;
        for (const fake::Text& t : fake::state.texts) {
            if (t.x == 340)
                places.push_back(t.text);
            if (t.colour == 0xFFFFFF)
                white.push_back(Format("%d %s", t.y, t.text.c_str()));
        }
        EXPECT_EQ(places.empty() ? "" : places.front(), c.first);
        EXPECT_EQ(places.empty() ? "" : places.back(), c.last);
        EXPECT_EQ(white.empty() ? "" : white.front(), c.white);
        EXPECT_EQ(white.size(), *c.white != '\0' ? 3u : 0u);
    }
    // Place, name and score, at x 340, 370 and 450, grey, one row of 16 pixels each.
    lastInsertRank = 0;
    fake::ClearRecords();
    DrawScoreList(0);
    const Lines rows = Shown(InList);
    for (int32_t row = 0; row < 28; ++row) {
        const int32_t y = 105 + 16 * row;
        EXPECT_EQ(Lines(rows.begin() + 3 * row, rows.begin() + 3 * row + 3),
                  (Lines{Format("340 %d 808080 %d.", y, row + 1), Format("370 %d 808080 p%d", y, row),
                         Format("450 %d 808080 %d", y, 100000 - row)}));
    }
}

TEST_F(TextTest, PressSpaceToStartStandsInRedOnBothSides) {
    DrawScoreList(0);
    const char* const words[] = {"PRESS", "SPACE", "TO", "START"};
    Lines expected;
    for (int32_t x : {150, 600})
        for (int32_t word = 0; word < 4; ++word)
            expected.push_back(Format("%d %d 0000FF %s", x, 250 + 20 * word, words[word]));
    EXPECT_EQ(Shown([](const fake::Text& t) { return t.x == 150 || t.x == 600; }), expected);
}
