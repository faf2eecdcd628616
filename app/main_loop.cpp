// The entry point: start-up in its fixed order, then the loop. The loop itself never waits; the
// idle work tells the platform when its next step is due, so that a platform whose poll can sleep
// (Linux) sleeps until then, and one whose cannot (Windows) goes on as before.
#include "app/app.h"
#include "display/display.h"
#include "game/clock.h"
#include "game/game.h"
#include "game/items.h"
#include "game/levels.h"
#include "scores/file_access.h"
#include "scores/scores.h"

WindowHandle mainWindow = nullptr;
int32_t appActive = 0;
uint32_t lastStepTime = 0;

static void RedrawScoreList(int32_t centre) {
    DrawScoreList(centre);
}

// The rules and the score file reach the machine only through these seams; the real ones go in
// before the first reading of the clock or of the score file.
static void InstallSeams() {
    SetClockSource(PlatformClockMs);
    fileAccess = platformFileAccess;
    reloadBackgroundRequest = ReloadBackground;
    drawScoreListRequest = RedrawScoreList;
}

bool StartUp(int showCommand) {
    mainWindow = PlatformCreateWindow(MainWndProc);
    if (mainWindow == nullptr) {
        return false;
    }
    InstallSeams();
    InitGame();
    PlatformShowWindow(mainWindow, showCommand);
    if (!PlatformCreateTimer(mainWindow)) {
        return false;
    }
    InitDisplay(mainWindow);
    SeedRandom(ReadClock());
    gameRunning = 0;
    PlatformHidePointer();
    return true;
}

extern "C" int WinMain(void* /*instance*/, void* /*previousInstance*/, char* /*commandLine*/, int showCommand) {
    if (!StartUp(showCommand)) {
        return 0;
    }
    Message message = {};
    for (;;) {
        // A turn handles one message or does the idle work, never both.
        if (PlatformPeekMessage(&message)) {
            if (message.message == WM_QUIT) {
                return static_cast<int>(message.wParam);
            }
            PlatformDispatchMessage(&message);
        } else {
            IdleTurn();
        }
    }
}

void InitGame() {
    InitGameTables();
    LoadScores();
}

void IdleTurn() {
    // After Escape, or when the set-up could not make them, there is nothing to draw or to pace.
    if (primarySurface == nullptr || backSurface == nullptr) {
        return;
    }
    // A platform that shows at most one frame per refresh of the screen may decline the frames
    // in between; Windows shows every one.
    if (appActive == 1 && PlatformFrameWanted()) {
        RenderFrame();
    }
    // An inactive game goes on stepping: the snake can die while the player is away.
    if (gameRunning != 1) {
        return;
    }
    uint32_t elapsed = ReadClock() - lastStepTime;
    bool shiftHeld = PlatformShiftHeld();
    bool stepTaken = false;
    if (IsStepDue(elapsed, level, shiftHeld)) {
        StepSnake();
        // Read after the step, so the step's own time (a game over included) is not counted
        // toward the next delay.
        lastStepTime = ReadClock();
        stepTaken = true;
    }
    // The first reading at which the next step is due: one past the delay.
    PlatformIdleWorkDueAt(lastStepTime + StepDelay(level, shiftHeld) + 1, stepTaken);
}
