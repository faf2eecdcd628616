// Step pacing: the real main loop and clock running a game at each level, with and without Shift.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "bench/bench_common.h"
#include "display/display.h"
#include "game/clock.h"
#include "game/game.h"
#include "game/levels.h"
#include "platform/sdl/bench_support.h"

namespace {

// Each case runs for about this long, within the step counts below: at least 100 intervals, so that
// the 99th percentile is not simply the worst one, and a few hundred at the fast levels; the whole
// run takes about two and a half minutes.
constexpr double caseSeconds = 6.0;
constexpr int fewestIntervals = 100;
constexpr int mostIntervals = 300;

struct CaseResult {
    bool ran;  // false when the game ended or the level changed on the way
    int intervals;
    int tooShort;           // intervals <= the delay: must never happen
    double p50, p99, max;   // of interval - delay, ms
    double cpuShare;        // processor time over wall time: below 1 when other processes took the core
    int late;               // intervals more than 2 ms over the delay
    int latePreempted;      // of those, the ones in which the scheduler took the core away
    int preempted;          // intervals in which the scheduler took the core away
    double maxUndisturbed;  // the largest excess of an interval that kept the core throughout
};

// How often the scheduler has taken the core from this process; -1 where the kernel does not say.
long Preemptions() {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == "nonvoluntary_ctxt_switches:") {
            long count = -1;
            status >> count;
            return count;
        }
    }
    return -1;
}

CaseResult RunCase(int forLevel, bool shift, int wanted, bool* quit) {
    CaseResult result = {};
    NewGame();
    if (forLevel > 1) {
        SetLevel(forLevel);
    }
    int delay = static_cast<int>(StepDelay(forLevel, shift));
    std::vector<double> excess;
    excess.reserve(static_cast<size_t>(wanted));
    uint32_t previous = lastStepTime;
    long preemptions = Preemptions();
    int steps = 0;
    std::clock_t cpuStart = std::clock();
    auto wallStart = std::chrono::steady_clock::now();
    // The first step comes at once (the last step of the previous case is long past); every
    // interval after it is measured.
    while (steps <= wanted && !*quit) {
        LoopTurn(quit);
        if (lastStepTime == previous) {
            continue;
        }
        if (gameRunning != 1 || level != forLevel) {
            std::printf("  level %d shift %s: the game %s after %d steps\n", forLevel, shift ? "on " : "off",
                        gameRunning != 1 ? "ended" : "changed level", steps);
            return result;
        }
        if (steps > 0) {
            uint32_t interval = lastStepTime - previous;
            excess.push_back(static_cast<double>(interval) - delay);
            if (interval <= static_cast<uint32_t>(delay)) {
                ++result.tooShort;
            }
            bool disturbed = Preemptions() != preemptions;
            result.preempted += disturbed ? 1 : 0;
            if (!disturbed) {
                result.maxUndisturbed = std::max(result.maxUndisturbed, excess.back());
            }
            if (interval > static_cast<uint32_t>(delay) + 2) {
                ++result.late;
                result.latePreempted += disturbed ? 1 : 0;
            }
        }
        previous = lastStepTime;
        preemptions = Preemptions();
        ++steps;
        SteerAfterStep();
    }
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    result.cpuShare = wall > 0.0 ? static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC / wall : 0.0;
    result.ran = !*quit;
    result.intervals = static_cast<int>(excess.size());
    result.p50 = Percentile(excess, 0.50);
    result.p99 = Percentile(excess, 0.99);
    result.max = Maximum(excess);
    return result;
}

// How late a bare sleep to the start of a millisecond wakes on this machine now: the floor under
// the loop's pacing, which sleeps the same way.
void PrintWakeLateness() {
    constexpr int sleeps = 1000;
    std::vector<double> late;
    late.reserve(sleeps);
    int overOneMs = 0;
    for (int i = 0; i < sleeps; ++i) {
        timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        const long long target =
            (static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000 + 2 + i % 5) * 1000000;
        const timespec until{static_cast<time_t>(target / 1000000000), static_cast<long>(target % 1000000000)};
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr);
        clock_gettime(CLOCK_MONOTONIC, &now);
        const double us = (static_cast<long long>(now.tv_sec) * 1000000000 + now.tv_nsec - target) / 1000.0;
        late.push_back(us);
        overOneMs += us > 1000.0 ? 1 : 0;
    }
    std::printf(
        "  a bare sleep to a millisecond wakes late by p50 %.0f us, p99 %.0f us, max %.0f us; over 1 ms: %.1f%% "
        "of %d\n",
        Percentile(late, 0.5), Percentile(late, 0.99), Maximum(late), 100.0 * overOneMs / sleeps, sleeps);
    RecordSummary("wake_over_1ms_percent", 100.0 * overOneMs / sleeps);
}

}  // namespace

int main() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::string folder = EnterWorkFolder();
    if (folder.empty()) {
        return 1;
    }
    if (!StartUp(1) || !DeliverPendingMessages()) {
        std::printf("pacing: start-up failed\n");
        LeaveWorkFolder(folder);
        return 1;
    }
    // Frames are drawn in every idle turn as in play, at the cost they have on the game's own
    // 800 x 600 mode, whether or not the dummy driver told the window it is active.
    BenchUseUnscaledScreen();
    bool forced = appActive != 1;
    appActive = 1;
    std::printf(
        "pacing (video driver %s, the real loop sleeping between turns%s; excess = interval - delay in ms; cpu = the "
        "loop's share of a core; late = excess over 2 ms, preempted = the core was taken away meanwhile)\n",
        BenchVideoDriver(), forced ? ", activation forced" : "");

    bool quit = false;
    double worstP99 = 0.0;
    int allTooShort = 0;
    bool allRan = true;
    double lowestShare = 1.0;
    int allLate = 0, allLatePreempted = 0, allIntervals = 0, allPreempted = 0;
    double maxUndisturbed = 0.0;
    for (int shiftState = 0; shiftState < 2 && !quit; ++shiftState) {
        bool shift = shiftState == 1;
        if (!BenchSetShiftHeld(shift)) {
            std::printf("  the platform's Shift query does not follow the held Shift key; shift %s not measured\n",
                        shift ? "on" : "off");
            allRan = false;
            continue;
        }
        for (int forLevel = 1; forLevel <= topLevel && !quit; ++forLevel) {
            int delay = static_cast<int>(StepDelay(forLevel, shift));
            int wanted =
                std::clamp(static_cast<int>(caseSeconds * 1000.0 / (delay + 1)), fewestIntervals, mostIntervals);
            CaseResult result = RunCase(forLevel, shift, wanted, &quit);
            if (!result.ran) {
                allRan = false;
                continue;
            }
            bool missed = result.p99 > 1.0 || result.tooShort > 0;
            std::printf(
                "  level %d shift %-3s delay %3d ms  n %3d  excess p50 %4.0f  p99 %4.0f  max %4.0f  "
                "<= delay: %d  cpu %3.0f%%  late %d (preempted %d)%s\n",
                forLevel, shift ? "on" : "off", delay, result.intervals, result.p50, result.p99, result.max,
                result.tooShort, 100.0 * result.cpuShare, result.late, result.latePreempted, missed ? "  MISSED" : "");
            allLate += result.late;
            allLatePreempted += result.latePreempted;
            allIntervals += result.intervals;
            allPreempted += result.preempted;
            maxUndisturbed = std::max(maxUndisturbed, result.maxUndisturbed);
            lowestShare = std::min(lowestShare, result.cpuShare);
            worstP99 = std::max(worstP99, result.p99);
            allTooShort += result.tooShort;
        }
    }
    BenchSetShiftHeld(false);
    PrintWakeLateness();
    std::printf("  worst p99 excess %.0f ms (target <= 1 ms), intervals <= delay in all: %d%s\n", worstP99, allTooShort,
                allRan ? "" : ", some cases not measured");
    std::printf(
        "  the scheduler took the core away during %d of %d intervals, and during %d of the %d late ones; "
        "the largest excess of an interval that kept its core: %.0f ms (lowest cpu share %.0f%%)\n",
        allPreempted, allIntervals, allLatePreempted, allLate, maxUndisturbed, 100.0 * lowestShare);
    RecordSummary("pacing_p99_ms", worstP99);
    RecordSummary("pacing_too_short", allTooShort);
    RecordSummary("pacing_complete", allRan ? 1 : 0);
    LeaveWorkFolder(folder);
    return 0;
}
