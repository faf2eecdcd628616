// Frames per second of the real game window on an X server (Xvfb), in the score list and in play.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "app/app.h"
#include "bench/bench_common.h"
#include "display/display.h"
#include "game/game.h"
#include "platform/sdl/bench_support.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double listSeconds = 2.0;
constexpr double playSeconds = 3.0;

struct PhaseResult {
    int frames;
    double seconds;
    double medianUs;
    double minUs;
    double cpuShare;  // the program's processor time over wall time; the X server works beside it
};

// The shell's loop, counting the idle turns that drew a frame and timing each of them.
PhaseResult RunPhase(double seconds, bool steer, bool* quit) {
    std::vector<double> samples;
    samples.reserve(200000);
    uint32_t previousStep = lastStepTime;
    std::clock_t cpuStart = std::clock();
    auto start = Clock::now();
    auto end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    Clock::time_point now = start;
    while (now < end && !*quit) {
        bool drawing = FrameWouldBeDrawn();
        Clock::time_point before = Clock::now();
        bool idle = LoopTurn(quit);
        now = Clock::now();
        if (idle && drawing) {
            samples.push_back(std::chrono::duration<double, std::micro>(now - before).count());
        }
        if (steer && lastStepTime != previousStep) {
            previousStep = lastStepTime;
            SteerAfterStep();
        }
    }
    PhaseResult result = {};
    result.frames = static_cast<int>(samples.size());
    result.seconds = std::chrono::duration<double>(now - start).count();
    result.medianUs = Percentile(samples, 0.5);
    result.minUs = Minimum(samples);
    result.cpuShare = result.seconds > 0.0 ? static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC / result.seconds
                                           : 0.0;
    return result;
}

void PrintPhase(const char* name, const PhaseResult& result, double floorUs, double target) {
    double fps = result.seconds > 0.0 ? result.frames / result.seconds : 0.0;
    std::printf("  %-28s median %8.1f us  min %8.1f us  %8.0f fps  %5.2fx memcpy  (%d frames in %.2f s, cpu %.0f%%)",
                name, result.medianUs, result.minUs, fps, result.medianUs / floorUs, result.frames, result.seconds,
                100.0 * result.cpuShare);
    if (target > 0.0) {
        std::printf("  (target >= %.0f fps)%s", target, fps >= target ? "" : "  MISSED");
    }
    std::printf("\n");
}

}  // namespace

int main() {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        std::printf("window: no DISPLAY; run under an X server (bench.sh starts Xvfb)\n");
        return 1;
    }
    setenv("SDL_VIDEODRIVER", "x11", 1);
    std::string folder = EnterWorkFolder();
    if (folder.empty()) {
        return 1;
    }
    if (!StartUp(1)) {
        std::printf("window: start-up failed\n");
        LeaveWorkFolder(folder);
        return 1;
    }
    if (primarySurface == nullptr || backSurface == nullptr) {
        std::printf("window: the display was not set up\n");
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

    double floorUs = MemcpyFloorMicroseconds();
    std::printf("window (video driver %s on display %s%s)\n", BenchVideoDriver(), display,
                forced ? "; the window was never told it is active, frames forced on" : "");
    std::printf("  memcpy 800x600x4 floor        median %8.1f us\n", floorUs);

    gameRunning = 0;
    PhaseResult list = RunPhase(listSeconds, false, &quit);
    PrintPhase("score list", list, floorUs, 0.0);

    // Space starts a game through the real key rule.
    HandleKeyDown(VK_SPACE, mainWindow);
    PhaseResult play = RunPhase(playSeconds, true, &quit);
    bool alive = gameRunning == 1;
    PrintPhase("in play", play, floorUs, 1000.0);
    if (!alive) {
        std::printf("  the game ended during the run\n");
    }

    RecordSummary("xvfb_list_fps", list.seconds > 0.0 ? list.frames / list.seconds : 0.0);
    RecordSummary("xvfb_play_fps", play.seconds > 0.0 ? play.frames / play.seconds : 0.0);
    RecordSummary("xvfb_forced_active", forced ? 1 : 0);
    LeaveWorkFolder(folder);
    return 0;
}
