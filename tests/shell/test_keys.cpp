// The key rules and the window's messages: name entry, starting, steering and closing.
#include <tuple>

#include "tests/shell/shell_fixture.h"

namespace {

void Press(uintptr_t key) {
    HandleKeyDown(key, fake::Window());
}

}  // namespace

using Keys = ShellTest;
using Messages = ShellTest;

TEST_F(Keys, OnlyAToZEnterTheNameInTheCaseThatShiftGivesUpTo11Letters) {
    Press('A');
    fake::state.shiftHeld = true;
    Press('B');
    fake::state.shiftHeld = false;
    for (uintptr_t other : {uintptr_t{'0'}, uintptr_t{'@'}, uintptr_t{'['}, uintptr_t{'a'}, uintptr_t{0x10000 + 'A'}})
        Press(other);
    for (const char* c = "CDEFGH"; *c != '\0'; ++c)
        Press(static_cast<uintptr_t>(*c));
    EXPECT_STREQ(playerName, "snakeaBcdef");
}

TEST_F(Keys, BackspaceEmptiesTheNameOnAFreshBackground) {
    Press(VK_BACK);
    EXPECT_STREQ(playerName, "");
    EXPECT_EQ(fake::Log({"LoadBitmapFile"}), Lines{"LoadBitmapFile textures/background.bmp"});
    EXPECT_EQ(fake::Count("StretchCopy back"), 1);
}

TEST_F(Keys, SpaceStartsAGameAndDuringItLettersBackspaceAndSpaceDoNothing) {
    direction = Left;
    Press(VK_SPACE);
    EXPECT_EQ(std::make_tuple(gameRunning, level, snakeLength, direction), std::make_tuple(1, 1, 3, Up));
    Snake[0] = Segment{3, 4};
    fake::ClearRecords();
    for (uintptr_t key : {uintptr_t{'A'}, uintptr_t{VK_BACK}, uintptr_t{VK_SPACE}})
        Press(key);
    EXPECT_STREQ(playerName, "snake");
    EXPECT_EQ(Snake[0].x, 3);  // the game goes on
    EXPECT_TRUE(fake::state.log.empty());
}

TEST_F(Keys, AnArrowIsRefusedOnlyWhenItNamesTheOppositeOfDirection) {
    const uintptr_t arrows[4] = {VK_UP, VK_RIGHT, VK_DOWN, VK_LEFT};  // in the order of Direction
    for (int32_t before = 0; before < 4; ++before)
        for (int32_t key = 0; key < 4; ++key) {
            direction = static_cast<Direction>(before);
            Press(arrows[key]);
            EXPECT_EQ(direction, (key + 2) % 4 == before ? before : key) << before << " then " << key;
        }
}

TEST_F(Keys, EscapeShowsThePointerReleasesTheDisplaySavesThenAsksToClose) {
    Press(VK_ESCAPE);
    EXPECT_EQ(
        fake::Log({"ShowArrow", "Release", "ReplaceFile", "PostClose"}),
        (Lines{"ShowArrowPointer", "ReleaseSurface icons", "ReleaseSurface cube", "ReleaseSurface back",
               "ReleaseSurface primary", "ReleaseDisplay", "ReplaceFile textures/scores.asc", "PostCloseRequest"}));
    EXPECT_EQ(fake::state.files[scoreFilePath].rfind("1 ostrel\r\n", 0), 0u);
}

TEST_F(Messages, DestroySavesShowsThePointerAndQuitsWithZero) {
    EXPECT_EQ(MainWndProc(fake::Window(), WM_DESTROY, 0, 0), 0);
    EXPECT_EQ(fake::state.log,
              (Lines{"ReplaceFile textures/scores.asc", "ShowArrowPointer", "PostQuit 0", "DefaultHandling 2"}));
}

TEST_F(Messages, TheCursorQueryIsAnsweredAloneAndOtherMessagesGoOnToDefaultHandling) {
    EXPECT_EQ(MainWndProc(fake::Window(), WM_SETCURSOR, 0, 0), 1);
    MainWndProc(fake::Window(), WM_ACTIVATEAPP, 1, 0);
    EXPECT_EQ(appActive, 1);
    MainWndProc(fake::Window(), WM_ACTIVATEAPP, 0, 0);
    EXPECT_EQ(appActive, 0);
    MainWndProc(fake::Window(), WM_KEYDOWN, 'K', 0);
    EXPECT_STREQ(playerName, "snakek");
    MainWndProc(fake::Window(), WM_TIMER, 1, 0);
    EXPECT_EQ(fake::state.log, (Lines{"DefaultHandling 28", "DefaultHandling 28", "ShiftHeld", "DefaultHandling 256",
                                      "DefaultHandling 275"}));
}
