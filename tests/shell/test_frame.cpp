// What each step of a frame copies where, the order of the steps, and the present.
#include "tests/shell/shell_fixture.h"

namespace {

class FrameTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        StartDisplay();
    }

    static std::vector<fake::CopyRecord> CopiesFrom(const std::string& source) {
        std::vector<fake::CopyRecord> found;
        for (const fake::CopyRecord& copy : fake::state.copies) {
            if (copy.source == source) {
                found.push_back(copy);
            }
        }
        return found;
    }
};

using Backdrop = FrameTest;
using Walls = FrameTest;
using Items = FrameTest;
using SnakeOnScreen = FrameTest;
using FrameOrder = FrameTest;

void ExpectCopy(const fake::CopyRecord& copy, int32_t x, int32_t y, Rect rect) {
    EXPECT_EQ(copy.destination, "back");
    EXPECT_EQ(copy.x, x);
    EXPECT_EQ(copy.y, y);
    EXPECT_EQ(copy.rect, rect);
}

}  // namespace

TEST_F(Backdrop, TwelveCopiesOfTheStripCoverThePlayfieldExactly) {
    DrawPlayfieldBackdrop();

    ASSERT_EQ(fake::state.copies.size(), 12u);
    for (int i = 0; i < 11; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(fake::state.copies[i].source, "cube");
        ExpectCopy(fake::state.copies[i], 23 + 64 * i, 105, Rect{0, 0, 64, 464});
    }
    EXPECT_EQ(fake::state.copies[11].source, "cube");
    ExpectCopy(fake::state.copies[11], 727, 105, Rect{0, 0, 48, 464});
    // Side by side without gaps or overlap, from x 23 to 774 inclusive.
    int32_t nextX = 23;
    for (const fake::CopyRecord& copy : fake::state.copies) {
        EXPECT_EQ(copy.x, nextX);
        nextX += copy.rect.right - copy.rect.left;
    }
    EXPECT_EQ(nextX, 775);
}

TEST_F(Walls, EachWallCellShowsTheAtlasCellOfItsKind) {
    Board[0][0] = 1;
    Board[10][5] = 3;
    Board[46][28] = 7;

    DrawWalls();

    ASSERT_EQ(fake::state.copies.size(), 3u);
    ExpectCopy(fake::state.copies[0], 23, 105, Rect{16, 16, 32, 32});
    ExpectCopy(fake::state.copies[1], 183, 185, Rect{48, 16, 64, 32});
    ExpectCopy(fake::state.copies[2], 759, 553, Rect{112, 16, 128, 32});
    EXPECT_EQ(fake::state.copies[2].source, "icons");
}

TEST_F(Walls, CellsOutsideTheFieldAreNeverDrawn) {
    Board[47][0] = 2;
    Board[0][29] = 2;
    Board[99][99] = 2;

    DrawWalls();

    EXPECT_TRUE(fake::state.copies.empty());
}

TEST_F(Items, OnlyVisibleItemsOfActiveSlotsAreDrawnEachInItsOwnPicture) {
    level = 3;
    fake::state.clockMs = 50000;
    ItemTable[0] = ItemSlot{1, 2, 1, 1, 0, 49999, 15000};       // placed a millisecond ago: shows
    ItemTable[1] = ItemSlot{3, 4, 1, 0, 10000, 45000, 5000};    // 5000 ms into a 10000 ms delay: hidden
    ItemTable[2] = ItemSlot{5, 6, 3, 3, 15000, 30000, 5000};    // 20000 ms after placing: shows
    ItemTable[3] = ItemSlot{7, 8, 5, 0, 20000, 0, 5000};        // visible, but level 3 has slots 0..2 only

    DrawItems();

    ASSERT_EQ(fake::state.copies.size(), 2u);
    EXPECT_EQ(fake::state.copies[0].source, "icons");
    ExpectCopy(fake::state.copies[0], 23 + 16 * 1, 105 + 16 * 2, Rect{80, 0, 96, 16});
    ExpectCopy(fake::state.copies[1], 23 + 16 * 5, 105 + 16 * 6, Rect{112, 0, 128, 16});
}

TEST_F(Items, AnItemShowsOnlyOnceItsDelayIsStrictlyExceeded) {
    level = 1;
    ItemTable[0] = ItemSlot{0, 0, 1, 1, 0, 7000, 15000};
    fake::state.clockMs = 7000;
    DrawItems();
    EXPECT_TRUE(fake::state.copies.empty()) << "not in the millisecond of its placing";

    fake::state.clockMs = 7001;
    DrawItems();
    EXPECT_EQ(fake::state.copies.size(), 1u);
}

TEST_F(Items, TheAgeOfAnItemHoldsAcrossTheClockWrap) {
    level = 2;
    ItemTable[1] = ItemSlot{9, 9, 1, 0, 10000, 0xFFFFFFF0u, 5000};
    fake::state.clockMs = 100;  // 116 ms after placing
    DrawItems();
    EXPECT_TRUE(CopiesFrom("icons").empty() || CopiesFrom("icons").back().rect.left != 96);

    fake::ClearRecords();
    fake::state.clockMs = 10001;  // 10017 ms after placing
    DrawItems();
    ASSERT_FALSE(fake::state.copies.empty());
    ExpectCopy(fake::state.copies.back(), 23 + 16 * 9, 105 + 16 * 9, Rect{96, 0, 112, 16});
}

TEST_F(Items, AtLevelSevenUpToSevenItemsAreDrawn) {
    level = 7;
    fake::state.clockMs = 100000;
    for (int i = 0; i < itemSlotCount; ++i) {
        ItemTable[i].appearDelayMs = 0;
        ItemTable[i].placedAt = 0;
        ItemTable[i].x = i;
    }

    DrawItems();

    ASSERT_EQ(fake::state.copies.size(), 7u);
    EXPECT_EQ(fake::state.copies[6].rect, (Rect{176, 0, 192, 16}));
}

struct HeadCase {
    const char* heading;
    Segment neck;
    Rect sprite;
};

class HeadByNeck : public FrameTest, public ::testing::WithParamInterface<HeadCase> {};

TEST_P(HeadByNeck, TheHeadIsChosenByWhereTheNeckLies) {
    const HeadCase& c = GetParam();
    snakeLength = 2;
    Snake[0] = Segment{10, 10};
    Snake[1] = c.neck;

    DrawSnake();

    ASSERT_EQ(fake::state.copies.size(), 2u);
    ExpectCopy(fake::state.copies[0], 23 + 160, 105 + 160, c.sprite);
    EXPECT_EQ(fake::state.copies[0].source, "icons");
}

INSTANTIATE_TEST_SUITE_P(FourHeadings, HeadByNeck,
                         ::testing::Values(HeadCase{"up", {10, 11}, {0, 0, 16, 16}},
                                           HeadCase{"right", {9, 10}, {16, 0, 32, 16}},
                                           HeadCase{"down", {10, 9}, {32, 0, 48, 16}},
                                           HeadCase{"left", {11, 10}, {48, 0, 64, 16}}),
                         [](const ::testing::TestParamInfo<HeadCase>& info) { return info.param.heading; });

TEST_F(SnakeOnScreen, TheBodyIsDrawnAfterTheHeadAndCoversItWhereTheyMeet) {
    snakeLength = 4;
    Snake[0] = Segment{5, 5};
    Snake[1] = Segment{5, 6};
    Snake[2] = Segment{6, 6};
    Snake[3] = Segment{5, 5};  // lying on the head's cell

    DrawSnake();

    ASSERT_EQ(fake::state.copies.size(), 4u);
    ExpectCopy(fake::state.copies[0], 103, 185, Rect{0, 0, 16, 16});
    ExpectCopy(fake::state.copies[1], 103, 201, Rect{64, 0, 80, 16});
    ExpectCopy(fake::state.copies[2], 119, 201, Rect{64, 0, 80, 16});
    ExpectCopy(fake::state.copies[3], 103, 185, Rect{64, 0, 80, 16});
}

TEST_F(SnakeOnScreen, ANewGameShowsTheHeadingUpInTheMiddleColumn) {
    NewGame();
    fake::ClearRecords();
    direction = Right;  // a turn key shows only after the next step

    DrawSnake();

    ASSERT_EQ(fake::state.copies.size(), 3u);
    ExpectCopy(fake::state.copies[0], 23 + 16 * 23, 105 + 16 * 14, Rect{0, 0, 16, 16});
}

TEST_F(FrameOrder, AGameFrameStacksBackdropWallsItemsSnakeTextThenPresents) {
    NewGame();
    Board[3][3] = 2;
    ItemTable[0] = ItemSlot{30, 20, 1, 1, 0, 0, 15000};
    fake::state.clockMs = 5000;
    fake::ClearRecords();

    RenderFrame();

    const std::vector<fake::CopyRecord>& copies = fake::state.copies;
    ASSERT_EQ(copies.size(), 12u + 1 + 1 + 3 + 1);
    EXPECT_EQ(copies[11].rect, (Rect{0, 0, 48, 464}));
    EXPECT_EQ(copies[12].rect, (Rect{32, 16, 48, 32}));  // the wall of kind 2
    EXPECT_EQ(copies[13].rect, (Rect{80, 0, 96, 16}));   // the item
    EXPECT_EQ(copies[14].rect, (Rect{0, 0, 16, 16}));    // the head
    EXPECT_EQ(copies[16].rect, (Rect{64, 0, 80, 16}));   // the tail
    const fake::CopyRecord& present = copies[17];
    EXPECT_EQ(present.source, "back");
    EXPECT_EQ(present.destination, "primary");
    EXPECT_EQ(present.x, 0);
    EXPECT_EQ(present.y, 0);
    EXPECT_EQ(present.rect, (Rect{0, 0, 800, 600}));
    EXPECT_EQ(srcRect, (Rect{0, 0, 800, 600}));

    // The text goes on after the snake and before the present.
    std::vector<std::string> order = Filtered({"CopyRect", "TextOut", "Present"});
    ASSERT_EQ(order.size(), 18u + 4 + 1);
    EXPECT_EQ(order[16], "CopyRect icons->back");
    EXPECT_EQ(order[17], "TextOut snake          ");
    EXPECT_EQ(order[20], "TextOut Snake: 3       ");
    EXPECT_EQ(order[21], "CopyRect back->primary");
    EXPECT_EQ(order[22], "Present primary");
}

TEST_F(FrameOrder, BetweenGamesTheScoreListTakesThePlaceOfWallsItemsAndSnake) {
    NewGame();
    Board[3][3] = 2;
    ItemTable[0] = ItemSlot{30, 20, 1, 1, 0, 0, 15000};
    fake::state.clockMs = 5000;
    gameRunning = 0;  // the last game's board and snake are still there
    fake::ClearRecords();

    RenderFrame();

    ASSERT_EQ(fake::state.copies.size(), 13u);
    EXPECT_TRUE(CopiesFrom("icons").empty());
    std::vector<std::string> texts = Texts();
    ASSERT_EQ(texts.size(), 28u * 3 + 8 + 4);
    EXPECT_EQ(texts.front(), "1.");
    EXPECT_EQ(texts[28 * 3 + 7], "START");
    EXPECT_EQ(texts[28 * 3 + 8], "snake_         ");  // the status text stands over the list
    EXPECT_EQ(Filtered({"CopyRect back->primary", "Present"}),
              (std::vector<std::string>{"CopyRect back->primary", "Present primary"}));
}

TEST_F(FrameOrder, TheListIsCentredOnTheLastRankedGame) {
    lastInsertRank = 501;

    RenderFrame();

    EXPECT_EQ(Texts().front(), "488.");
}

TEST_F(FrameOrder, ALostScreenIsRestoredOnceAndTheFrameIsNotCopiedAgain) {
    fake::state.presentCopyResult = DDERR_SURFACELOST;

    RenderFrame();

    EXPECT_EQ(Count("CopyRect back->primary"), 1);
    EXPECT_EQ(Count("RestoreAllSurfaces"), 1);
    EXPECT_EQ(Count("Present"), 0);
    EXPECT_EQ(lastResult, S_OK);  // the restore's result
}

TEST_F(FrameOrder, AnyOtherFailedPresentDropsTheFrameQuietly) {
    const HRESULT stillDrawing = static_cast<HRESULT>(0x8876021C);
    fake::state.presentCopyResult = stillDrawing;

    RenderFrame();

    EXPECT_EQ(Count("RestoreAllSurfaces"), 0);
    EXPECT_EQ(Count("Present"), 0);
    EXPECT_EQ(lastResult, stillDrawing);
    EXPECT_TRUE(fake::state.messageBoxes.empty());
}

TEST_F(FrameOrder, WithoutTheAtlasTheFrameStillShowsBackdropTextAndPresents) {
    ReleaseDisplay();
    fake::Reset();
    fake::state.createSurfaceResult["icons"] = E_FAIL;
    StartDisplay();
    NewGame();
    fake::ClearRecords();

    RenderFrame();

    EXPECT_EQ(fake::state.copies.size(), 13u);
    EXPECT_EQ(Texts().size(), 4u);
    EXPECT_EQ(Count("Present"), 1);
}
