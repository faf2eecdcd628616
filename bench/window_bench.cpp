// The real game window on an X server (Xvfb): the processor share of the game and of the X server
// over ten seconds of the real loop in the score list, at level 1 and at level 7 with Shift; and
// the time from a key's sending to the present that shows it.
//   vornix_bench_window [LABEL]   LABEL prefixes the summary keys (default "xvfb")
// The X server's process id comes in VORNIX_BENCH_XSERVER_PID, for its share.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "app/app.h"
#include "bench/bench_common.h"
#include "display/display.h"
#include "game/game.h"
#include "game/levels.h"
#include "platform/sdl/bench_support.h"
#include "scores/scores.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double phaseSeconds = 10.0;
constexpr double latencySeconds = 10.0;

// Processor seconds of this process, all its threads.
double OwnCpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

struct Share {
    double game;      // of one core
    double xserver;   // of one core; negative when unknown
    double turns;     // idle turns a second
    double presents;  // presents a second
    bool alive;       // the game ran throughout (for the phases in play)
};

Share RunPhase(double seconds, bool steer, long xPid, bool* quit) {
    uint64_t idleTurns = 0;
    const uint64_t presentsBefore = BenchPresentCount();
    const double ownBefore = OwnCpuSeconds();
    const double xBefore = BenchProcessCpuSeconds(xPid);
    const Clock::time_point start = Clock::now();
    const Clock::time_point end =
        start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    uint32_t previousStep = lastStepTime;
    Share share = {};
    share.alive = true;
    while (Clock::now() < end && !*quit) {
        idleTurns += LoopTurn(quit) ? 1 : 0;
        if (steer && lastStepTime != previousStep) {
            previousStep = lastStepTime;
            SteerAfterStep();
            share.alive = share.alive && gameRunning == 1;
        }
    }
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double xAfter = BenchProcessCpuSeconds(xPid);
    share.game = (OwnCpuSeconds() - ownBefore) / wall;
    share.xserver = xBefore >= 0.0 && xAfter >= 0.0 ? (xAfter - xBefore) / wall : -1.0;
    share.turns = idleTurns / wall;
    share.presents = (BenchPresentCount() - presentsBefore) / wall;
    return share;
}

void PrintShare(const char* name, const Share& share) {
    const bool met = share.game <= 0.05 && share.xserver <= 0.05;
    std::printf(
        "  %-22s game %5.2f%% of a core, X server %5.2f%%, %5.0f idle turns/s, %5.1f presents/s  "
        "(target each <= 5%%)%s%s\n",
        name, 100.0 * share.game, 100.0 * share.xserver, share.turns, share.presents, met ? "" : "  MISSED",
        share.alive ? "" : "  (the game ended during the phase)");
}

// Keys sent from a second X connection while the score list shows: A and Backspace in turn, each
// changing the name in the status line. Measured from the sending to the first present after the
// key was handled.
std::vector<double> MeasureKeyToScreen(bool* quit) {
    std::vector<double> latencies;
    if (!BenchStartKeyPresser(40, 90)) {
        return latencies;
    }
    const Clock::time_point end =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(latencySeconds));
    uint64_t handled = 0;
    char nameBefore[nameCapacity];
    std::strncpy(nameBefore, playerName, sizeof nameBefore);
    bool changed = false;
    uint64_t presentsAtChange = 0;
    uint64_t sentNs = 0;
    uint64_t sample = 0;
    while (Clock::now() < end && !*quit) {
        LoopTurn(quit);
        if (!changed && std::strncmp(nameBefore, playerName, sizeof nameBefore) != 0) {
            std::strncpy(nameBefore, playerName, sizeof nameBefore);
            sample = BenchLastKeySent(&sentNs);
            changed = sample != handled;
            presentsAtChange = BenchPresentCount();
        }
        if (changed && BenchPresentCount() > presentsAtChange) {
            latencies.push_back((BenchLastPresentNs() - sentNs) / 1e6);
            handled = sample;
            changed = false;
        }
    }
    BenchStopKeyPresser();
    return latencies;
}

}  // namespace

int main(int argc, char** argv) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        std::printf("window: no DISPLAY; run under an X server (bench.sh starts Xvfb)\n");
        return 1;
    }
    const std::string label = argc > 1 ? argv[1] : "xvfb";
    const char* xPidText = std::getenv("VORNIX_BENCH_XSERVER_PID");
    const long xPid = xPidText != nullptr ? std::atol(xPidText) : 0;
    setenv("SDL_VIDEODRIVER", "x11", 1);
    std::string folder = EnterWorkFolder();
    if (folder.empty()) {
        return 1;
    }
    if (!StartUp(1) || primarySurface == nullptr || backSurface == nullptr) {
        std::printf("window: start-up or the display set-up failed\n");
        LeaveWorkFolder(folder);
        return 1;
    }

    // Let the window come up and be told that it is active, as it is when a player starts the game.
    bool quit = false;
    auto settle = Clock::now() + std::chrono::milliseconds(1500);
    while (appActive != 1 && Clock::now() < settle && !quit) {
        LoopTurn(&quit);
    }
    bool forced = false;
    if (appActive != 1) {
        appActive = 1;
        forced = true;
    }
    int width = 0, height = 0;
    BenchScreenSize(&width, &height);
    std::printf("window %s (video driver %s, %s window surface, %dx%d on display %s, refresh %.2f ms%s)\n",
                label.c_str(), BenchVideoDriver(), BenchRendererName(), width, height, display, BenchRefreshNs() / 1e6,
                forced ? "; the window was never told it is active, frames forced on" : "");

    gameRunning = 0;
    const Share list = RunPhase(phaseSeconds, false, xPid, &quit);
    PrintShare("score list", list);

    HandleKeyDown(VK_SPACE, mainWindow);  // Space starts a game through the real key rule
    const Share levelOne = RunPhase(phaseSeconds, true, xPid, &quit);
    PrintShare("level 1", levelOne);

    NewGame();
    SetLevel(7);
    const bool shift = BenchSetShiftHeld(true);
    const Share levelSeven = RunPhase(phaseSeconds, true, xPid, &quit);
    BenchSetShiftHeld(false);
    PrintShare(shift ? "level 7, Shift held" : "level 7 (Shift not held)", levelSeven);

    // The key-to-screen time, in the score list.
    NewGame();
    gameRunning = 0;
    DrawScoreList(lastInsertRank);
    std::vector<double> latencies = MeasureKeyToScreen(&quit);
    const double refreshMs = BenchRefreshNs() / 1e6;
    const double p99 = Percentile(latencies, 0.99);
    if (latencies.empty()) {
        std::printf("  key to screen: no key came through\n");
    } else {
        std::printf(
            "  key to screen           n %zu  p50 %5.2f ms  p99 %5.2f ms  max %5.2f ms  (target p99 <= %.2f ms, "
            "one refresh + 1 ms)%s\n",
            latencies.size(), Percentile(latencies, 0.5), p99, Maximum(latencies), refreshMs + 1.0,
            p99 <= refreshMs + 1.0 ? "" : "  MISSED");
    }

    const double worstGame = std::max({list.game, levelOne.game, levelSeven.game});
    const double worstX = std::max({list.xserver, levelOne.xserver, levelSeven.xserver});
    RecordSummary((label + "_game_cpu_list").c_str(), 100.0 * list.game);
    RecordSummary((label + "_game_cpu_l1").c_str(), 100.0 * levelOne.game);
    RecordSummary((label + "_game_cpu_l7s").c_str(), 100.0 * levelSeven.game);
    RecordSummary((label + "_game_cpu_worst").c_str(), 100.0 * worstGame);
    RecordSummary((label + "_x_cpu_worst").c_str(), 100.0 * worstX);
    if (!latencies.empty()) {
        RecordSummary((label + "_key_p99_ms").c_str(), p99);
    }
    RecordSummary((label + "_forced_active").c_str(), forced ? 1 : 0);
    LeaveWorkFolder(folder);
    return 0;
}
