// The status text and the score-list window: texts, points, colours and the window's bounds.
#include "tests/shell/shell_fixture.h"

namespace {

constexpr uint32_t grey = 0x808080;
constexpr uint32_t white = 0xFFFFFF;
constexpr uint32_t red = 0x0000FF;

class TextTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        StartDisplay();
        for (int32_t i = 0; i < rankedEntries; ++i) {
            std::snprintf(ScoreTable[i].name, sizeof ScoreTable[i].name, "p%d", i);
            ScoreTable[i].score = 100000 - i;
        }
        std::strcpy(ScoreTable[insertionSlot].name, "dropped");
        ScoreTable[insertionSlot].score = 1;
    }

    // The rows of the list: every text at x 340, 370 or 450.
    static std::vector<fake::TextRecord> ListTexts() {
        std::vector<fake::TextRecord> rows;
        for (const fake::TextRecord& text : fake::state.texts) {
            if (text.x == 340 || text.x == 370 || text.x == 450) {
                rows.push_back(text);
            }
        }
        return rows;
    }

    static std::vector<std::string> WhiteTexts() {
        std::vector<std::string> found;
        for (const fake::TextRecord& text : fake::state.texts) {
            if (text.textColour == white) {
                found.push_back(text.text + "@" + std::to_string(text.y));
            }
        }
        return found;
    }
};

using StatusText = TextTest;
using ScoreList = TextTest;

}  // namespace

TEST_F(StatusText, BetweenGamesTheNameCarriesTheCursor) {
    DrawStatusText();

    const std::vector<fake::TextRecord>& texts = fake::state.texts;
    ASSERT_EQ(texts.size(), 4u);
    // Padded with blanks to 15 characters, so each box also covers a longer text of an earlier frame.
    EXPECT_EQ(texts[0].text, "snake_         ");
    EXPECT_EQ(texts[1].text, "Score: 0       ");
    EXPECT_EQ(texts[2].text, "Level: 0       ");
    EXPECT_EQ(texts[3].text, "Snake: 0       ");
    int32_t points[4][2] = {{140, 34}, {140, 63}, {550, 34}, {550, 63}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(texts[i].text);
        EXPECT_EQ(texts[i].x, points[i][0]);
        EXPECT_EQ(texts[i].y, points[i][1]);
        EXPECT_EQ(texts[i].textColour, 0x979799u);
        EXPECT_EQ(texts[i].backgroundColour, 0u);
        EXPECT_TRUE(texts[i].opaque) << "each box is filled black";
    }
    EXPECT_EQ(Filtered({"GetDC", "ReleaseDC"}), (std::vector<std::string>{"GetDC back", "ReleaseDC back"}));
    EXPECT_EQ(textDc, nullptr);
}

TEST_F(StatusText, DuringAGameTwoBlanksPaintOverTheCursor) {
    gameRunning = 1;
    score = 1234;
    level = 7;
    snakeLength = 14900;
    std::strcpy(playerName, "Ab");

    DrawStatusText();

    EXPECT_EQ(Texts(), (std::vector<std::string>{"Ab             ", "Score: 1234    ", "Level: 7       ", "Snake: 14900   "}));
}

TEST_F(StatusText, ALongNameIsCutAtTheBufferNotReadPastIt) {
    std::memset(playerName, 'x', 255);
    playerName[255] = '\0';

    DrawStatusText();

    // 255 letters and the underscore do not fit in 256 bytes with the zero: the underscore is lost.
    EXPECT_EQ(fake::state.texts[0].text, std::string(255, 'x'));
}

TEST_F(StatusText, NoContextNoText) {
    fake::state.getDcResult["back"] = DDERR_SURFACELOST;

    DrawStatusText();

    EXPECT_TRUE(fake::state.texts.empty());
    EXPECT_EQ(Count("ReleaseDC"), 0);
}

TEST_F(ScoreList, BeforeAnyRankedGameItShowsPlacesOneToTwentyEightAllGrey) {
    EXPECT_EQ(DrawScoreList(lastInsertRank), S_OK);

    std::vector<fake::TextRecord> rows = ListTexts();
    ASSERT_EQ(rows.size(), 28u * 3);
    for (int32_t row = 0; row < 28; ++row) {
        SCOPED_TRACE(row);
        const int32_t y = 105 + 16 * row;
        EXPECT_EQ(rows[3 * row].text, std::to_string(row + 1) + ".");
        EXPECT_EQ(rows[3 * row].x, 340);
        EXPECT_EQ(rows[3 * row + 1].text, std::string("p").append(std::to_string(row)));
        EXPECT_EQ(rows[3 * row + 1].x, 370);
        EXPECT_EQ(rows[3 * row + 2].text, std::to_string(100000 - row));
        EXPECT_EQ(rows[3 * row + 2].x, 450);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(rows[3 * row + k].y, y);
            EXPECT_EQ(rows[3 * row + k].textColour, grey);
            EXPECT_EQ(rows[3 * row + k].backgroundColour, 0u);
            EXPECT_TRUE(rows[3 * row + k].opaque);
        }
    }
    EXPECT_EQ(rows.back().y, 537);
}

TEST_F(ScoreList, TheFirstPlaceIsWhiteInAWindowRaisedToTheTop) {
    lastInsertRank = 1;

    DrawScoreList(lastInsertRank);

    EXPECT_EQ(ListTexts().front().text, "1.");
    EXPECT_EQ(WhiteTexts(), (std::vector<std::string>{"1.@105", "p0@105", "100000@105"}));
}

TEST_F(ScoreList, ALowPlaceStandsInTheFourteenthRowOfItsWindow) {
    lastInsertRank = 501;

    DrawScoreList(lastInsertRank);

    std::vector<fake::TextRecord> rows = ListTexts();
    ASSERT_EQ(rows.size(), 28u * 3);
    EXPECT_EQ(rows.front().text, "488.");
    EXPECT_EQ(rows[1].text, "p487");
    EXPECT_EQ(rows[3 * 27].text, "515.");
    EXPECT_EQ(rows[3 * 27 + 1].text, "p514");
    EXPECT_EQ(WhiteTexts(), (std::vector<std::string>{"501.@313", "p500@313", "99500@313"}));
}

TEST_F(ScoreList, ACentreJustBelowFourteenIsRaisedToo) {
    DrawScoreList(13);

    std::vector<fake::TextRecord> rows = ListTexts();
    ASSERT_EQ(rows.size(), 28u * 3);
    EXPECT_EQ(rows.front().text, "1.");
    EXPECT_EQ(rows.back().text, std::to_string(100000 - 27));
}

TEST_F(ScoreList, TheCentreFourteenIsTheFirstThatIsNotRaised) {
    DrawScoreList(15);

    EXPECT_EQ(ListTexts().front().text, "2.");
}

TEST_F(ScoreList, APlaceNearTheTopShowsAtItsOwnRow) {
    lastInsertRank = 6;  // index 5

    DrawScoreList(lastInsertRank);

    EXPECT_EQ(ListTexts().front().text, "1.");
    EXPECT_EQ(WhiteTexts().front(), "6.@185");
}

TEST_F(ScoreList, PastTheLastPlaceTheRowsStayBlankAndTheInsertionSlotIsNotShown) {
    lastInsertRank = 2000;

    DrawScoreList(lastInsertRank);

    std::vector<fake::TextRecord> rows = ListTexts();
    ASSERT_EQ(rows.size(), 14u * 3);  // indices 1986..1999
    EXPECT_EQ(rows.front().text, "1987.");
    EXPECT_EQ(rows.back().text, std::to_string(100000 - 1999));
    EXPECT_EQ(rows.back().y, 313);
    EXPECT_EQ(WhiteTexts(), (std::vector<std::string>{"2000.@313", "p1999@313", "98001@313"}));
    for (const std::string& text : Texts()) {
        EXPECT_NE(text, "dropped");
        EXPECT_NE(text, "2001.");
    }
    EXPECT_EQ(Texts().back(), "START");
}

TEST_F(ScoreList, ACentreFarPastTheTableDrawsNoRowsButStillThePrompt) {
    DrawScoreList(5000);

    EXPECT_TRUE(ListTexts().empty());
    EXPECT_EQ(Texts().size(), 8u);
}

TEST_F(ScoreList, TheStartPromptStandsInRedOnBothSides) {
    DrawScoreList(0);

    std::vector<fake::TextRecord> prompt;
    for (const fake::TextRecord& text : fake::state.texts) {
        if (text.x == 150 || text.x == 600) {
            prompt.push_back(text);
        }
    }
    ASSERT_EQ(prompt.size(), 8u);
    const char* words[] = {"PRESS", "SPACE", "TO", "START"};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(prompt[i].text, words[i % 4]);
        EXPECT_EQ(prompt[i].x, i < 4 ? 150 : 600);
        EXPECT_EQ(prompt[i].y, 250 + 20 * (i % 4));
        EXPECT_EQ(prompt[i].textColour, red);
        EXPECT_TRUE(prompt[i].opaque);
    }
}

TEST_F(ScoreList, WithinARowTheScoreIsWrittenAfterTheName) {
    std::memset(ScoreTable[0].name, 'n', 255);
    ScoreTable[0].name[255] = '\0';

    DrawScoreList(0);

    std::vector<fake::TextRecord> rows = ListTexts();
    EXPECT_EQ(rows[1].text.size(), 255u);
    EXPECT_EQ(rows[1].x, 370);
    EXPECT_EQ(rows[2].x, 450);
}

TEST_F(ScoreList, NoContextDrawsNothingAndReportsWhy) {
    fake::state.getDcResult["back"] = DDERR_SURFACELOST;

    EXPECT_EQ(DrawScoreList(14), DDERR_SURFACELOST);

    EXPECT_TRUE(fake::state.texts.empty());
}

TEST_F(ScoreList, WithoutTheBackSurfaceNothingIsDrawn) {
    ReleaseDisplay();
    fake::ClearRecords();

    EXPECT_NE(DrawScoreList(14), S_OK);
    DrawStatusText();

    EXPECT_TRUE(fake::state.log.empty());
}
