// The idle turn's frames and paced steps, and WinMain's start-up order and loop.
#include "tests/shell/shell_fixture.h"

namespace {

class IdleTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        StartDisplay();
        fake::state.clockMs = 100000;
        NewGame();
        fake::ClearRecords();
    }

    static bool Stepped() {
        return Snake[0].y != 14;  // a step from the start heads up to row 13
    }

    // Runs one idle turn in a fresh game at the given level, lastStepTime and clock reading.
    static bool StepsAt(int32_t atLevel, uint32_t last, uint32_t now, bool shift) {
        NewGame();
        level = atLevel;
        lastStepTime = last;
        fake::state.clockMs = now;
        fake::state.shiftHeld = shift;
        IdleTurn();
        return Stepped();
    }
};

using IdleTurns = IdleTest;
using Pacing = IdleTest;

// Stands where the platform's file services belong until WinMain installs them: any use is a fault.
int trapUses = 0;
FileHandle* TrapOpen(const char*) { ++trapUses; return nullptr; }
bool TrapRead(FileHandle*, unsigned char*) { ++trapUses; return false; }
void TrapClose(FileHandle*) { ++trapUses; }
bool TrapWrite(FileHandle*, const void*, size_t) { ++trapUses; return false; }
bool TrapFinish(FileHandle*) { ++trapUses; return false; }
bool TrapPaths(const char*, const char*) { ++trapUses; return false; }
bool TrapPath(const char*) { ++trapUses; return false; }
const FileAccess trapFileAccess = {TrapOpen, TrapRead, TrapClose, TrapOpen, TrapWrite, TrapFinish, TrapPaths, TrapPath};

uint32_t TrapClock() {
    ++trapUses;
    return 0;
}

class StartUp : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        trapUses = 0;
        fileAccess = trapFileAccess;
        SetClockSource(TrapClock);
        mainWindow = nullptr;
        gameRunning = 1;  // WinMain itself must put the program into the score list
        fake::state.clockMs = 123456;
    }

    static int Run(std::vector<std::optional<Message>> script) {
        fake::state.script.assign(script.begin(), script.end());
        int result = WinMain(nullptr, nullptr, nullptr, 5);
        EXPECT_FALSE(fake::state.scriptRanOut) << "the loop outlived its script";
        EXPECT_EQ(trapUses, 0) << "a file or the clock was used before the platform's were installed";
        return result;
    }
};

using MainLoop = StartUp;

// A clock that counts up one millisecond per reading and notes where the head was at each.
struct Reading {
    uint32_t value;
    int32_t headRow;
};
std::vector<Reading> readings;
uint32_t trackingNow = 0;

uint32_t TrackingClock() {
    readings.push_back(Reading{trackingNow, Snake[0].y});
    return trackingNow++;
}

const std::optional<Message> emptyTurn;

}  // namespace

TEST_F(IdleTurns, WithoutTheScreenOrTheBackSurfaceThereIsNoFrameAndNoStep) {
    appActive = 1;
    Surface* primary = primarySurface;
    primarySurface = nullptr;
    IdleTurn();
    primarySurface = primary;
    Surface* back = backSurface;
    backSurface = nullptr;
    IdleTurn();
    backSurface = back;

    EXPECT_FALSE(Stepped());
    EXPECT_TRUE(fake::state.log.empty());
}

TEST_F(IdleTurns, AnActiveTurnDrawsTheFrameBeforeTheStep) {
    appActive = 1;

    IdleTurn();

    EXPECT_TRUE(Stepped());
    // The frame shows the snake where it stood before the step.
    ASSERT_EQ(fake::state.copies.size(), 12u + 3 + 1);
    EXPECT_EQ(fake::state.copies[12].y, 105 + 16 * 14);
    EXPECT_EQ(Filtered({"Present", "ShiftHeld"}), (std::vector<std::string>{"Present primary", "ShiftHeld"}));
}

TEST_F(IdleTurns, AnInactiveGameStepsOnWithoutFrames) {
    appActive = 0;

    IdleTurn();

    EXPECT_TRUE(Stepped());
    EXPECT_TRUE(fake::state.copies.empty());
    EXPECT_TRUE(fake::state.texts.empty());
}

TEST_F(IdleTurns, OnlyAnActivationOfExactlyOneDrawsFrames) {
    appActive = 2;

    IdleTurn();

    EXPECT_TRUE(fake::state.copies.empty());
}

TEST_F(IdleTurns, BetweenGamesThereAreFramesButNoClockOrShiftQuery) {
    gameRunning = 0;
    appActive = 1;

    IdleTurn();
    appActive = 0;
    IdleTurn();

    EXPECT_EQ(Count("Present"), 1);
    EXPECT_EQ(Count("ShiftHeld"), 0);
    EXPECT_FALSE(Stepped());
}

TEST_F(IdleTurns, TheStepTimeIsReadAfterTheStep) {
    readings.clear();
    trackingNow = 5000;
    SetClockSource(TrackingClock);

    IdleTurn();

    ASSERT_GE(readings.size(), 2u);
    EXPECT_EQ(readings.front().headRow, 14) << "the elapsed time is read before the step";
    EXPECT_EQ(readings.back().headRow, 13) << "the step time is read after it";
    EXPECT_EQ(lastStepTime, readings.back().value);
}

TEST_F(IdleTurns, AStepThatEndsTheGameStillSetsTheStepTime) {
    Snake[0] = Segment{23, 0};  // heading up against the top edge
    Snake[1] = Segment{23, 1};
    Snake[2] = Segment{23, 2};
    fake::state.clockMs = 77777;

    IdleTurn();

    EXPECT_EQ(gameRunning, 0);
    EXPECT_EQ(lastStepTime, 77777u);
}

TEST_F(Pacing, AStepIsDueOnlyWhenTheDelayIsStrictlyExceeded) {
    EXPECT_FALSE(StepsAt(1, 1000, 1250, false));
    EXPECT_TRUE(StepsAt(1, 1000, 1251, false));
    EXPECT_FALSE(StepsAt(1, 1000, 1125, true));
    EXPECT_TRUE(StepsAt(1, 1000, 1126, true));
    EXPECT_FALSE(StepsAt(5, 1000, 1037, true));
    EXPECT_TRUE(StepsAt(5, 1000, 1038, true));
    EXPECT_FALSE(StepsAt(7, 1000, 1025, false));
    EXPECT_TRUE(StepsAt(7, 1000, 1026, false));
}

TEST_F(Pacing, TheElapsedTimeHoldsAcrossTheClockWrap) {
    EXPECT_TRUE(StepsAt(5, 0xFFFFFFA0u, 100, false));  // 196 ms
    EXPECT_FALSE(StepsAt(1, 0xFFFFFFA0u, 100, false));
    EXPECT_TRUE(StepsAt(1, 0, 0x80000000u, false));
}

TEST_F(Pacing, ANotDueTurnLeavesTheStepTimeAlone) {
    StepsAt(1, 1000, 1100, false);

    EXPECT_EQ(lastStepTime, 1000u);
}

TEST_F(StartUp, FollowsItsOrderThenLoops) {
    EXPECT_EQ(Run({emptyTurn, fake::WindowMessage(WM_CLOSE, 0)}), 0);

    std::vector<std::string> order = Filtered({"CreateWindow", "OpenForReading", "ShowWindow", "CreateTimer",
                                               "CreateDisplay", "LoadBitmapFile textures/background.bmp", "ClockMs",
                                               "HidePointer", "PeekMessage"});
    order.resize(9);
    EXPECT_EQ(order, (std::vector<std::string>{"CreateWindow", "OpenForReading textures/scores.asc", "ShowWindow 5",
                                               "CreateTimer", "CreateDisplay", "LoadBitmapFile textures/background.bmp",
                                               "ClockMs", "HidePointer", "PeekMessage"}));
    EXPECT_EQ(mainWindow, fake::Window());
    EXPECT_EQ(gameRunning, 0);
    EXPECT_EQ(SpeedTable[1], 250);
}

TEST_F(StartUp, SeedsTheGeneratorFromTheClock) {
    Run({fake::WindowMessage(WM_CLOSE, 0)});

    int32_t drawn = NextRandom();
    SeedRandom(123456);
    EXPECT_EQ(drawn, NextRandom());
}

TEST_F(StartUp, ReadsTheScoreFileThroughThePlatformsFiles) {
    fake::state.files[scoreFilePath] = "100 alice\r\n0\r\n\r\n";

    Run({fake::WindowMessage(WM_CLOSE, 0)});

    EXPECT_STREQ(ScoreTable[0].name, "alice");
    EXPECT_EQ(ScoreTable[0].score, 100);
    fake::state.clockMs = 424242;
    EXPECT_EQ(ReadClock(), 424242u) << "the rules read the platform's clock";
}

TEST_F(StartUp, AFinishedGameRedrawsTheListOnAFreshBackground) {
    Run({fake::WindowMessage(WM_CLOSE, 0)});
    fake::ClearRecords();
    score = 500;

    InsertScore();

    EXPECT_EQ(lastInsertRank, 1);
    EXPECT_EQ(Filtered({"LoadBitmapFile", "StretchCopy", "GetDC"}),
              (std::vector<std::string>{"LoadBitmapFile textures/background.bmp", "GetDC back", "StretchCopy back",
                                        "GetDC back"}));
    ASSERT_FALSE(fake::state.texts.empty());
    EXPECT_EQ(fake::state.texts[0].text, "1.");
    EXPECT_EQ(fake::state.texts[0].textColour, 0xFFFFFFu);
}

TEST_F(StartUp, WithoutAWindowNothingElseHappens) {
    fake::state.windowCreated = false;

    EXPECT_EQ(Run({}), 0);

    EXPECT_EQ(fake::state.log, (std::vector<std::string>{"CreateWindow"}));
}

TEST_F(StartUp, WithoutATimerTheDisplayIsNeverSetUpAndNothingIsSaved) {
    fake::state.timerCreated = false;

    EXPECT_EQ(Run({}), 0);

    EXPECT_EQ(Count("OpenForReading"), 1);
    EXPECT_EQ(Count("ShowWindow"), 1);
    EXPECT_EQ(Count("CreateDisplay"), 0);
    EXPECT_EQ(Count("PeekMessage"), 0);
    EXPECT_TRUE(fake::state.replacedFiles.empty());
}

TEST_F(MainLoop, EscapeSavesTwiceAndEndsWithZero) {
    EXPECT_EQ(Run({fake::KeyDown(VK_ESCAPE)}), 0);

    EXPECT_EQ(fake::state.replacedFiles, (std::vector<std::string>(2, scoreFilePath)));
    EXPECT_EQ(Count("ReleaseDisplay"), 1);
}

TEST_F(MainLoop, ClosingTheWindowOtherwiseSavesOnceAndKeepsTheDisplay) {
    EXPECT_EQ(Run({fake::WindowMessage(WM_CLOSE, 0)}), 0);

    EXPECT_EQ(fake::state.replacedFiles.size(), 1u);
    EXPECT_EQ(Count("ReleaseDisplay"), 0);
}

TEST_F(MainLoop, ATurnThatHandlesAMessageDoesNoIdleWork) {
    Run({fake::WindowMessage(WM_ACTIVATEAPP, 1), fake::WindowMessage(WM_TIMER, 1), fake::WindowMessage(WM_CLOSE, 0)});

    EXPECT_EQ(Count("Present"), 0);
}

TEST_F(MainLoop, EveryIdleTurnOfAnActiveProgramPresentsAFrame) {
    Run({fake::WindowMessage(WM_ACTIVATEAPP, 1), emptyTurn, emptyTurn, fake::WindowMessage(WM_CLOSE, 0)});

    EXPECT_EQ(Count("Present"), 2);
}

TEST_F(MainLoop, TheFirstStepComesAtTheFirstIdleTurnAfterSpace) {
    Run({fake::KeyDown(VK_SPACE), emptyTurn, emptyTurn, fake::WindowMessage(WM_CLOSE, 0)});

    EXPECT_EQ(gameRunning, 1);
    EXPECT_EQ(Snake[0].y, 13) << "one step: the second idle turn came within the delay";
    EXPECT_EQ(lastStepTime, 123456u);
}

TEST_F(IdleTurns, AfterEscapeNoFrameIsDrawnAndNoStepTaken) {
    appActive = 1;
    HandleKeyDown(VK_ESCAPE, fake::Window());
    fake::ClearRecords();

    IdleTurn();

    EXPECT_TRUE(fake::state.log.empty());
    EXPECT_FALSE(Stepped());
}
