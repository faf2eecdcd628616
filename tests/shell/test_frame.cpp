// What each step of a frame copies where, the order of the steps, and the present.
#include "tests/shell/shell_fixture.h"

namespace {

// One opaque copy onto the back surface, as the fake writes it down.
std::string ToBack(const char* source, int32_t x, int32_t y, Rect r) {
    return Format("CopyRect %s->back %d %d %d %d %d %d", source, x, y, r.left, r.top, r.right, r.bottom);
}
const Rect bodySprite = {64, 0, 80, 16};
const char* const toScreen = "CopyRect back->primary 0 0 0 0 800 600";

}  // namespace

using Frame = ShellTest;

TEST_F(Frame, TwelveCopiesOfTheStripCoverThePlayfield) {
    DrawPlayfieldBackdrop();
    Lines expected;
    for (int32_t i = 0; i < 11; ++i)
        expected.push_back(ToBack("cube", 23 + 64 * i, 105, {0, 0, 64, 464}));
    expected.push_back(ToBack("cube", 727, 105, {0, 0, 48, 464}));
    EXPECT_EQ(fake::state.log, expected);
}

TEST_F(Frame, EachWallCellOfTheFieldShowsTheAtlasCellOfItsKind) {
    Board[0][0] = 1;
    Board[10][5] = 3;
    Board[46][28] = 7;
    Board[47][0] = Board[0][29] = 2;  // off the field
    DrawWalls();
    EXPECT_EQ(fake::state.log,
              (Lines{ToBack("icons", 23, 105, {16, 16, 32, 32}), ToBack("icons", 183, 185, {48, 16, 64, 32}),
                     ToBack("icons", 759, 553, {112, 16, 128, 32})}));
}

TEST_F(Frame, OnlyVisibleItemsOfTheLevelsSlotsAreDrawnEachInItsOwnPicture) {
    level = 3;
    fake::state.clockMs = 50000;
    ItemTable[0] = ItemSlot{1, 2, 1, 1, 0, 49999, 15000};     // placed a millisecond ago: shows
    ItemTable[1] = ItemSlot{3, 4, 1, 0, 10000, 40000, 5000};  // exactly its delay ago: hidden
    ItemTable[2] = ItemSlot{5, 6, 3, 3, 15000, 30000, 5000};  // shows, although past its lifetime
    ItemTable[3] = ItemSlot{7, 8, 5, 0, 20000, 0, 5000};      // level 3 plays slots 0..2 only
    DrawItems();
    EXPECT_EQ(fake::Log({"CopyRect"}),
              (Lines{ToBack("icons", 39, 137, {80, 0, 96, 16}), ToBack("icons", 103, 201, {112, 0, 128, 16})}));
}

// The head's picture follows the neck, so a turn shows only once it has been stepped.
TEST_F(Frame, TheHeadShowsWhereTheNeckLiesAndTheBodyIsDrawnOverIt) {
    const struct {
        Segment neck;
        Rect head;
    } cases[] = {{{10, 11}, {0, 0, 16, 16}},
                 {{9, 10}, {16, 0, 32, 16}},
                 {{10, 9}, {32, 0, 48, 16}},
                 {{11, 10}, {48, 0, 64, 16}}};
    for (const auto& c : cases) {
        fake::ClearRecords();
        snakeLength = 3;
        Snake[0] = Snake[2] = Segment{10, 10};  // the tail lies under the head
        Snake[1] = c.neck;
        DrawSnake();
        EXPECT_EQ(fake::state.log, (Lines{ToBack("icons", 183, 265, c.head),
                                          ToBack("icons", 23 + 16 * c.neck.x, 105 + 16 * c.neck.y, bodySprite),
                                          ToBack("icons", 183, 265, bodySprite)}));
    }
}

TEST_F(Frame, AGameFrameStacksBackdropWallsItemsSnakeAndTextThenShowsIt) {
    NewGame();
    Board[3][3] = 2;
    ItemTable[0] = ItemSlot{30, 20, 1, 1, 0, 0, 15000};
    fake::state.clockMs = 5000;
    fake::ClearRecords();
    RenderFrame();
    const Lines shown = fake::Log({"CopyRect", "TextOut", "Present"});
    ASSERT_EQ(shown.size(), 23u);
    EXPECT_EQ(Lines(shown.begin() + 11, shown.end()),
              (Lines{ToBack("cube", 727, 105, {0, 0, 48, 464}), ToBack("icons", 71, 153, {32, 16, 48, 32}),
                     ToBack("icons", 503, 425, {80, 0, 96, 16}), ToBack("icons", 391, 329, {0, 0, 16, 16}),
                     ToBack("icons", 391, 345, bodySprite), ToBack("icons", 391, 361, bodySprite),
                     "TextOut snake          ", "TextOut Score: 0       ", "TextOut Level: 1       ",
                     "TextOut Snake: 3       ", toScreen, "Present primary"}));
}

TEST_F(Frame, BetweenGamesTheScoreListAroundTheLastRankedGameTakesThePlaceOfTheGame) {
    NewGame();
    Board[3][3] = 2;
    gameRunning = 0;
    lastInsertRank = 501;
    fake::ClearRecords();
    RenderFrame();
    EXPECT_EQ(fake::Count("CopyRect icons"), 0);
    const Lines texts = Texts();
    ASSERT_EQ(texts.size(), 28u * 3 + 8 + 4);
    EXPECT_EQ(texts.front(), "488.");
    EXPECT_EQ(texts[28 * 3 + 8], "snake_         ");  // the status text stands after the list
    EXPECT_EQ(fake::Log({"CopyRect back", "Present"}), (Lines{toScreen, "Present primary"}));
}

// Restored surfaces hold undefined pixels, so the three bitmaps are loaded again.
TEST_F(Frame, ALostScreenIsRestoredAndRefilledAndAFrameThatFailsToCopyIsNotShown) {
    for (HRESULT failure : {DDERR_SURFACELOST, static_cast<HRESULT>(0x8876021C)}) {
        fake::ClearRecords();
        fake::state.presentCopyResult = failure;
        RenderFrame();
        const Lines restored = {toScreen, "RestoreAllSurfaces", "LoadBitmapFile textures/cube.bmp",
                                "LoadBitmapFile textures/icons.bmp", "LoadBitmapFile textures/background.bmp"};
        EXPECT_EQ(fake::Log({"CopyRect back", "RestoreAll", "LoadBitmapFile", "Present"}),
                  failure == DDERR_SURFACELOST ? restored : Lines{toScreen});
    }
}
