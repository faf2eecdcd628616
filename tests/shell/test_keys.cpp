// The key rules and the window's messages: name entry, starting, steering, closing.
#include "tests/shell/shell_fixture.h"

namespace {

class KeyTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        StartDisplay();
    }

    static void Press(uintptr_t key) {
        HandleKeyDown(key, fake::Window());
    }

    static void Type(const char* letters) {
        for (const char* c = letters; *c != '\0'; ++c) {
            Press(static_cast<uintptr_t>(*c));
        }
    }
};

using NameEntry = KeyTest;
using Starting = KeyTest;
using Steering = KeyTest;
using Closing = KeyTest;
using WindowMessages = KeyTest;

}  // namespace

TEST_F(NameEntry, TheDefaultNameTakesSixMoreLettersAndNoSeventh) {
    Type("ABCDEF");
    EXPECT_STREQ(playerName, "snakeabcdef");
    fake::ClearRecords();

    Press('G');

    EXPECT_STREQ(playerName, "snakeabcdef");
    EXPECT_EQ(Count("ShiftHeld"), 0) << "Shift is asked only when a letter is about to go in";
}

TEST_F(NameEntry, ShiftDecidesTheCase) {
    Press('A');
    fake::state.shiftHeld = true;
    Press('A');
    Press('Z');
    fake::state.shiftHeld = false;
    Press('Z');

    EXPECT_STREQ(playerName, "snakeaAZz");
}

TEST_F(NameEntry, OnlyTheKeysAToZEnterTheName) {
    const uintptr_t others[] = {'0', '9', '@', '[', 'a', 'z', 64 + 256, 255, 0x10000 + 'A'};
    for (uintptr_t key : others) {
        Press(key);
    }

    EXPECT_STREQ(playerName, "snake");
    EXPECT_EQ(Count("ShiftHeld"), 0);
}

TEST_F(NameEntry, BackspaceEmptiesTheWholeNameAndWipesItWithTheBackground) {
    Type("XY");

    Press(VK_BACK);

    EXPECT_STREQ(playerName, "");
    EXPECT_EQ(Filtered({"LoadBitmapFile", "StretchCopy"}),
              (std::vector<std::string>{"LoadBitmapFile textures/background.bmp", "StretchCopy back"}));
    Type("Q");
    EXPECT_STREQ(playerName, "q");
}

TEST_F(NameEntry, BackspaceKeepsTheResultOfItsReload) {
    fake::state.getDcResult["back"] = DDERR_SURFACELOST;

    Press(VK_BACK);

    EXPECT_EQ(lastResult, DDERR_SURFACELOST);
    EXPECT_STREQ(playerName, "");
}

TEST_F(NameEntry, DuringAGameLettersBackspaceAndSpaceDoNothing) {
    NewGame();
    score = 42;
    Snake[0] = Segment{3, 4};
    fake::ClearRecords();

    Type("ABC");
    Press(VK_BACK);
    Press(VK_SPACE);

    EXPECT_STREQ(playerName, "snake");
    EXPECT_EQ(score, 42);
    EXPECT_EQ(Snake[0].x, 3);
    EXPECT_EQ(gameRunning, 1);
    EXPECT_TRUE(fake::state.log.empty());
}

TEST_F(Starting, SpaceStartsAGameFromTheScoreList) {
    direction = Left;

    Press(VK_SPACE);

    EXPECT_EQ(gameRunning, 1);
    EXPECT_EQ(level, 1);
    EXPECT_EQ(snakeLength, 3);
    EXPECT_EQ(direction, Up);
}

struct ArrowCase {
    Direction before;
    uintptr_t key;
    Direction after;
};

class Arrows : public KeyTest, public ::testing::WithParamInterface<ArrowCase> {};

TEST_P(Arrows, OnlyTheOppositeOfDirectionIsRefused) {
    direction = GetParam().before;

    Press(GetParam().key);

    EXPECT_EQ(direction, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    AllPairs, Arrows,
    ::testing::Values(ArrowCase{Up, VK_UP, Up}, ArrowCase{Up, VK_RIGHT, Right}, ArrowCase{Up, VK_DOWN, Up},
                      ArrowCase{Up, VK_LEFT, Left}, ArrowCase{Right, VK_UP, Up}, ArrowCase{Right, VK_RIGHT, Right},
                      ArrowCase{Right, VK_DOWN, Down}, ArrowCase{Right, VK_LEFT, Right},
                      ArrowCase{Down, VK_UP, Down}, ArrowCase{Down, VK_RIGHT, Right},
                      ArrowCase{Down, VK_DOWN, Down}, ArrowCase{Down, VK_LEFT, Left}, ArrowCase{Left, VK_UP, Up},
                      ArrowCase{Left, VK_RIGHT, Left}, ArrowCase{Left, VK_DOWN, Down},
                      ArrowCase{Left, VK_LEFT, Left}));

TEST_F(Steering, LeftThenDownBetweenTwoStepsTurnsTheSnakeBackOnItself) {
    NewGame();

    Press(VK_LEFT);
    Press(VK_DOWN);
    ASSERT_EQ(direction, Down);

    StepSnake();
    EXPECT_EQ(gameRunning, 1) << "the head moves onto its own neck";
    EXPECT_EQ(Snake[0].y, 15);
    StepSnake();
    EXPECT_EQ(gameRunning, 0) << "and the next step finds it there";
}

TEST_F(Steering, ArrowsActInTheScoreListToo) {
    Press(VK_RIGHT);

    EXPECT_EQ(direction, Right);
    EXPECT_EQ(gameRunning, 0);
}

TEST_F(Closing, EscapeShowsThePointerReleasesSavesThenAsksToClose) {
    NewGame();
    score = 7;
    fake::ClearRecords();

    Press(VK_ESCAPE);

    EXPECT_EQ(Filtered({"ShowArrowPointer", "Release", "ReplaceFile", "PostCloseRequest"}),
              (std::vector<std::string>{"ShowArrowPointer", "ReleaseSurface icons", "ReleaseSurface cube",
                                        "ReleaseSurface back", "ReleaseSurface primary", "ReleaseDisplay",
                                        "ReplaceFile textures/scores.asc", "PostCloseRequest"}));
    EXPECT_EQ(backSurface, nullptr);
    ASSERT_EQ(fake::state.posted.size(), 1u);
    EXPECT_EQ(fake::state.posted.front().message, static_cast<uint32_t>(WM_CLOSE));
    EXPECT_EQ(fake::state.posted.front().window, fake::Window());
    EXPECT_EQ(fake::state.files[scoreFilePath].rfind("1 ostrel\r\n", 0), 0u);
}

TEST_F(Closing, BackspaceAfterEscapeFindsNoSurfaceAndChangesNothingElse) {
    Press(VK_ESCAPE);
    fake::ClearRecords();

    Press(VK_BACK);

    EXPECT_EQ(fake::state.debugLines, (std::vector<std::string>{"ddcopybitmap failed\n"}));
    EXPECT_EQ(lastResult, E_FAIL);
}

TEST_F(WindowMessages, DestructionSavesShowsThePointerAndQuitsWithZero) {
    intptr_t result = MainWndProc(fake::Window(), WM_DESTROY, 0, 0);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(Filtered({"ReplaceFile", "ShowArrowPointer", "PostQuit", "DefaultHandling"}),
              (std::vector<std::string>{"ReplaceFile textures/scores.asc", "ShowArrowPointer", "PostQuit 0",
                                        "DefaultHandling 2"}));
    EXPECT_NE(backSurface, nullptr) << "the display is released only by Escape";
}

TEST_F(WindowMessages, TheCursorQueryIsAnsweredWithoutDefaultHandling) {
    EXPECT_EQ(MainWndProc(fake::Window(), WM_SETCURSOR, 0, 0), 1);

    EXPECT_TRUE(fake::state.log.empty());
}

TEST_F(WindowMessages, ActivationChangesAreKept) {
    MainWndProc(fake::Window(), WM_ACTIVATEAPP, 1, 0);
    EXPECT_EQ(appActive, 1);

    MainWndProc(fake::Window(), WM_ACTIVATEAPP, 0, 0);
    EXPECT_EQ(appActive, 0);
    EXPECT_EQ(Count("DefaultHandling 28"), 2);
}

TEST_F(WindowMessages, AKeyDownIsHandledAndStillGoesToDefaultHandling) {
    MainWndProc(fake::Window(), WM_KEYDOWN, 'K', 0);

    EXPECT_STREQ(playerName, "snakek");
    EXPECT_EQ(Count("DefaultHandling 256"), 1);
}

TEST_F(WindowMessages, TimerTicksAndOtherMessagesOnlyGoToDefaultHandling) {
    MainWndProc(fake::Window(), WM_TIMER, 1, 0);
    MainWndProc(fake::Window(), WM_CLOSE, 0, 0);

    EXPECT_EQ(Filtered({"DefaultHandling"}),
              (std::vector<std::string>{"DefaultHandling 275", "DefaultHandling 16", "DefaultHandling 2"}));
    EXPECT_EQ(fake::state.replacedFiles.size(), 1u) << "closing by the platform saves once";
}
