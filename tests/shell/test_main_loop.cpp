// The idle turn's frames and paced steps, and WinMain's start-up and loop.
#include "tests/shell/shell_fixture.h"

namespace {

class Idle : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        fake::state.clockMs = 100000;
        NewGame();
        fake::ClearRecords();
    }
    static bool Stepped() { return Snake[0].y != 14; }  // the first step heads up to row 13
};

// A clock that counts up one millisecond per reading and notes the head's row at each.
uint32_t trackingNow;
std::vector<int32_t> headRows;
uint32_t TrackingClock() {
    headRows.push_back(Snake[0].y);
    return trackingNow++;
}

class StartUp : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        NewMachine();
        // The seams as they stand before WinMain: the platform's file services and clock unused.
        fileAccess = standardFileAccess;
        SetClockSource(nullptr);
        mainWindow = nullptr;
        gameRunning = 1;  // WinMain itself puts the program into the score list
        fake::state.clockMs = 123456;
    }
    static int Run(std::initializer_list<Message> script) {
        fake::state.script = script;
        return WinMain(nullptr, nullptr, nullptr, 5);
    }
};

Message Msg(uint32_t message, uintptr_t wParam = 0) {
    return Message{fake::Window(), message, wParam, 0};
}

}  // namespace

TEST_F(Idle, WithoutTheScreenOrTheBackSurfaceNothingHappens) {
    appActive = 1;
    for (Surface** missing : {&primarySurface, &backSurface}) {
        Surface* kept = *missing;
        *missing = nullptr;
        IdleTurn();
        *missing = kept;
    }
    EXPECT_FALSE(Stepped());
    EXPECT_TRUE(fake::state.log.empty());
}

TEST_F(Idle, FramesAreDrawnWhileActiveAndAGameStepsEvenWhileInactive) {
    const struct {
        int32_t active, running;
        bool frame, step;
    } cases[] = {{0, 1, false, true}, {1, 0, true, false}, {1, 1, true, true}};
    for (const auto& c : cases) {
        NewGame();
        appActive = c.active;
        gameRunning = c.running;
        lastStepTime = 0;
        fake::ClearRecords();
        IdleTurn();
        EXPECT_EQ(fake::Count("Present"), c.frame ? 1 : 0);
        EXPECT_EQ(Stepped(), c.step);
        EXPECT_EQ(fake::Count("ShiftHeld"), c.step ? 1 : 0);
    }
    // The frame comes first and shows the snake where it stood before the step.
    EXPECT_EQ(fake::Log({"CopyRect icons->back 391 329", "Present", "ShiftHeld"}),
              (Lines{"CopyRect icons->back 391 329 0 0 16 16", "Present primary", "ShiftHeld"}));
}

TEST_F(Idle, AStepIsDueWhenTheTimeSinceTheLastStepExceedsTheLevelsDelay) {
    const struct {
        int32_t level;
        uint32_t last, now;
        bool shift, due;
    } cases[] = {{1, 1000, 1250, false, false},      {1, 1000, 1251, false, true},
                 {1, 1000, 1126, true, true},        {5, 1000, 1037, true, false},
                 {5, 0xFFFFFFA0u, 100, false, true}, {1, 0xFFFFFFA0u, 100, false, false}};
    for (const auto& c : cases) {
        NewGame();
        level = c.level;
        lastStepTime = c.last;
        fake::state.clockMs = c.now;
        fake::state.shiftHeld = c.shift;
        IdleTurn();
        EXPECT_EQ(Stepped(), c.due) << c.now << " at level " << c.level;
        EXPECT_EQ(lastStepTime, c.due ? c.now : c.last);
    }
}

TEST_F(Idle, ThePlatformIsToldTheFirstReadingAtWhichTheNextStepIsDue) {
    const struct {
        int32_t level;
        bool shift;
        uint32_t due;
    } cases[] = {{1, false, 1251}, {1, true, 1126}, {5, true, 1038}};
    for (const auto& c : cases) {
        NewGame();
        level = c.level;
        lastStepTime = 1000;
        fake::state.clockMs = 1010;
        fake::state.shiftHeld = c.shift;
        fake::state.idleWorkDueKnown = false;
        IdleTurn();
        EXPECT_FALSE(Stepped());
        EXPECT_TRUE(fake::state.idleWorkDueKnown);
        EXPECT_FALSE(fake::state.idleWorkStepTaken);
        EXPECT_EQ(fake::state.idleWorkDueAt, c.due) << "level " << c.level << " shift " << c.shift;
    }
    // A step counts from the reading after it, and the platform hears that one was taken.
    fake::state.clockMs = 5000;
    IdleTurn();
    EXPECT_TRUE(Stepped());
    EXPECT_TRUE(fake::state.idleWorkStepTaken);
    EXPECT_EQ(fake::state.idleWorkDueAt, 5000u + 38u);  // level 5 with Shift: 37 ms
    // Between games there is no step to wait for.
    gameRunning = 0;
    fake::state.idleWorkDueKnown = false;
    IdleTurn();
    EXPECT_FALSE(fake::state.idleWorkDueKnown);
}

TEST_F(Idle, TheStepTimeIsReadAfterTheStep) {
    trackingNow = 5000;
    headRows.clear();
    SetClockSource(TrackingClock);
    IdleTurn();
    EXPECT_EQ(headRows.front(), 14);  // the time since the last step is read before it
    EXPECT_EQ(headRows.back(), 13);
    EXPECT_EQ(lastStepTime, trackingNow - 1);
}

TEST_F(StartUp, FollowsItsOrderThenLoops) {
    fake::state.files[scoreFilePath] = "100 alice\r\n0\r\n";
    EXPECT_EQ(Run({Msg(0), Msg(WM_CLOSE)}), 0);
    Lines order =
        fake::Log({"CreateWindow", "OpenForReading", "CloseReading", "ShowWindow", "CreateTimer", "CreateDisplay",
                   "LoadBitmapFile textures/background.bmp", "ClockMs", "HidePointer", "PeekMessage"});
    order.resize(10);
    EXPECT_EQ(order, (Lines{"CreateWindow", "OpenForReading textures/scores.asc", "CloseReading textures/scores.asc",
                            "ShowWindow 5", "CreateTimer", "CreateDisplay", "LoadBitmapFile textures/background.bmp",
                            "ClockMs", "HidePointer", "PeekMessage"}));
    EXPECT_EQ(mainWindow, fake::Window());
    EXPECT_EQ(gameRunning, 0);
    EXPECT_STREQ(ScoreTable[0].name, "alice");
    const int32_t drawn = NextRandom();
    SeedRandom(123456);
    EXPECT_EQ(drawn, NextRandom()) << "the generator is seeded from the clock";
}

TEST_F(StartUp, WithoutAWindowOrATimerItEndsAtOnce) {
    fake::state.windowCreated = false;
    EXPECT_EQ(Run({}), 0);
    EXPECT_EQ(fake::state.log, Lines{"CreateWindow"});
    NewMachine();
    fake::state.timerCreated = false;
    EXPECT_EQ(Run({}), 0);
    EXPECT_EQ(fake::state.log,
              (Lines{"CreateWindow", "OpenForReading textures/scores.asc", "ShowWindow 5", "CreateTimer"}));
}

TEST_F(StartUp, AFinishedGameRedrawsTheListOnAFreshBackground) {
    Run({Msg(WM_CLOSE)});
    fake::ClearRecords();
    score = 500;
    InsertScore();
    EXPECT_EQ(fake::Log({"LoadBitmapFile", "GetDC"}),
              (Lines{"LoadBitmapFile textures/background.bmp", "GetDC back", "GetDC back"}));
    EXPECT_EQ(Format("%s %06X", fake::state.texts.at(0).text.c_str(), fake::state.texts.at(0).colour), "1. FFFFFF");
}

TEST_F(StartUp, EscapeSavesTwiceClosingSavesOnceAndBothEndWithZero) {
    EXPECT_EQ(Run({Msg(WM_KEYDOWN, VK_ESCAPE)}), 0);
    EXPECT_EQ(fake::Log({"ReplaceFile", "ReleaseDisplay"}),
              (Lines{"ReleaseDisplay", "ReplaceFile textures/scores.asc", "ReplaceFile textures/scores.asc"}));
    NewMachine();
    EXPECT_EQ(Run({Msg(WM_CLOSE)}), 0);
    EXPECT_EQ(fake::Log({"ReplaceFile", "ReleaseDisplay"}), Lines{"ReplaceFile textures/scores.asc"});
}

TEST_F(StartUp, EachTurnHandlesOneMessageOrDoesTheIdleWork) {
    Run({Msg(WM_ACTIVATEAPP, 1), Msg(WM_KEYDOWN, VK_SPACE), Msg(0), Msg(0), Msg(WM_TIMER, 1), Msg(WM_CLOSE)});
    EXPECT_EQ(fake::Count("Present"), 2);
    EXPECT_EQ(Snake[0].y, 13);  // one step: the second idle turn came within the delay
    EXPECT_EQ(lastStepTime, 123456u);
}
