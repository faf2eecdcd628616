// Frame cost: the real RenderFrame on SDL's dummy video driver, per scene, against the memcpy floor;
// and the cost of scaling the whole picture into the window's surface and showing it on screens of
// several sizes.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app.h"
#include "bench/bench_common.h"
#include "display/display.h"
#include "game/game.h"
#include "platform/sdl/bench_support.h"
#include "scores/scores.h"

namespace {

constexpr int warmUpFrames = 200;
constexpr int measuredFrames = 2000;

struct Scene {
    const char* name;
    void (*setUp)();
    bool typical;  // the worst of these is the typical-frame figure
};

void LevelSevenShort() {
    SceneLevelSeven(300);
}
void LevelSevenLong() {
    SceneLevelSeven(14900);
}

const Scene scenes[] = {
    {"score list", SceneScoreList, true},
    {"level 1 start", SceneLevelOneStart, true},
    {"level 7, 300 segments", LevelSevenShort, true},
    {"level 7, 14900 segments", LevelSevenLong, false},
};

void ScoreListStep() {
    DrawScoreList(lastInsertRank);
}

void PresentStep() {
    Rect whole = {0, 0, screenWidth, screenHeight};
    if (PlatformCopyRect(primarySurface, 0, 0, backSurface, &whole) == S_OK) {
        PlatformPresent(primarySurface);
    }
}

// Where a scene's frame goes: the steps of RenderFrame in its order, each timed within the frame
// it is part of. A step repeated alone would find its own pixels still there and cost next to
// nothing.
void PrintBreakdown() {
    struct Step {
        const char* name;
        void (*draw)();
    };
    std::vector<Step> steps = {{"backdrop", DrawPlayfieldBackdrop}};
    if (gameRunning != 0) {
        steps.insert(steps.end(), {{"walls", DrawWalls}, {"items", DrawItems}, {"snake", DrawSnake}});
    } else {
        steps.push_back({"score list", ScoreListStep});
    }
    steps.insert(steps.end(), {{"status text", DrawStatusText}, {"copy onto the primary surface", PresentStep}});
    constexpr int repeats = 500;
    std::vector<std::vector<double>> samples(steps.size());
    for (int i = 0; i < repeats + 50; ++i) {
        for (size_t k = 0; k < steps.size(); ++k) {
            auto start = std::chrono::steady_clock::now();
            steps[k].draw();
            auto end = std::chrono::steady_clock::now();
            if (i >= 50) {
                samples[k].push_back(std::chrono::duration<double, std::micro>(end - start).count());
            }
        }
    }
    std::printf("    steps:");
    for (size_t k = 0; k < steps.size(); ++k) {
        std::printf("%s %s %.1f", k == 0 ? "" : ",", steps[k].name, Percentile(samples[k], 0.5));
    }
    std::printf(" us\n");
}

// Every scene in turn; the figures of the 800 x 600 screen go to the headline.
void MeasureScenes(double floorUs, bool record) {
    double worstTypical = 0.0;
    const char* worstTypicalName = "";
    double longRatio = 0.0;
    std::vector<double> samples;
    samples.reserve(measuredFrames);
    for (const Scene& scene : scenes) {
        scene.setUp();
        if (scene.setUp == LevelSevenShort || scene.setUp == LevelSevenLong) {
            if (CountWalls() != 72 || level != 7) {
                std::printf("  %s: expected level 7 with 72 walls, found level %d with %d\n", scene.name, level,
                            CountWalls());
            }
        }
        for (int i = 0; i < warmUpFrames; ++i) {
            RenderFrame();
        }
        samples.clear();
        for (int i = 0; i < measuredFrames; ++i) {
            auto start = std::chrono::steady_clock::now();
            RenderFrame();
            auto end = std::chrono::steady_clock::now();
            samples.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        }
        if (lastResult != S_OK) {
            std::printf("  %s: the last present returned 0x%08x\n", scene.name, static_cast<unsigned>(lastResult));
        }
        double median = Percentile(samples, 0.5);
        double ratio = median / floorUs;
        double target = scene.typical ? 1.5 : 4.0;
        std::printf("  %-28s median %8.1f us  min %8.1f us  %8.0f fps  %5.2fx memcpy", scene.name, median,
                    Minimum(samples), 1e6 / median, ratio);
        if (record) {
            std::printf("  (target <= %.1fx)%s", target, ratio <= target ? "" : "  MISSED");
        }
        std::printf("\n");
        if (scene.typical && ratio > worstTypical) {
            worstTypical = ratio;
            worstTypicalName = scene.name;
        }
        if (!scene.typical) {
            longRatio = ratio;
        }
        if (record) {
            PrintBreakdown();
        }
    }
    if (record) {
        RecordSummary("memcpy_us", floorUs);
        RecordSummary("typical_ratio", worstTypical);
        RecordSummaryText("typical_scene", worstTypicalName);
        RecordSummary("worst_ratio", longRatio);
    }
}

// One present of the whole picture (upload, scaling, drawing) on a screen of the given size, timed
// alone: what a change costs to show, at most once per refresh interval.
double MeasurePresent(int width, int height, double floorUs, const char* key) {
    if (!BenchUseScreen(width, height)) {
        std::printf("  present %dx%d: the screen could not be made that size\n", width, height);
        return 0.0;
    }
    const int repeats = width * height > 1000000 ? 60 : 200;
    std::vector<double> samples;
    samples.reserve(repeats);
    for (int i = 0; i < repeats + 5; ++i) {
        auto start = std::chrono::steady_clock::now();
        BenchPresentNow();
        auto end = std::chrono::steady_clock::now();
        if (i >= 5) {
            samples.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        }
    }
    const double median = Percentile(samples, 0.5);
    const bool whole = width % 800 == 0 && height % 600 == 0 && width / 800 == height / 600;
    std::printf("  present on %4dx%-4d %-28s median %8.1f us  %5.2fx memcpy  (%s window surface)\n", width, height,
                whole ? "(whole factor, exact blocks)" : "(sharp bilinear)", median, median / floorUs,
                BenchRendererName());
    RecordSummary(key, median / floorUs);
    return median;
}

}  // namespace

// With a scene number (0..3) and a frame count, only that scene is drawn on the 800 x 600 screen,
// without figures: a run to profile.
int main(int argc, char** argv) {
    // The platform reads this when it starts SDL: no screen, the same software surfaces.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::string folder = EnterWorkFolder();
    if (folder.empty()) {
        return 1;
    }
    if (!StartUp(1) || !DeliverPendingMessages()) {
        std::printf("frames: start-up failed\n");
        LeaveWorkFolder(folder);
        return 1;
    }
    if (primarySurface == nullptr || backSurface == nullptr) {
        std::printf("frames: the display was not set up (primary %p, back %p)\n", static_cast<void*>(primarySurface),
                    static_cast<void*>(backSurface));
        LeaveWorkFolder(folder);
        return 1;
    }

    if (argc == 3) {
        int index = std::atoi(argv[1]);
        int frames = std::atoi(argv[2]);
        if (index < 0 || index > 3 || frames <= 0 || !BenchUseUnscaledScreen()) {
            std::printf("usage: %s [scene 0..3 frames]\n", argv[0]);
            LeaveWorkFolder(folder);
            return 1;
        }
        scenes[index].setUp();
        for (int i = 0; i < frames; ++i) {
            RenderFrame();
        }
        LeaveWorkFolder(folder);
        return 0;
    }

    double floorUs = MemcpyFloorMicroseconds();
    int width = 0, height = 0;
    BenchScreenSize(&width, &height);
    std::printf("frames (video driver %s, %d frames per scene after %d warm-up)\n", BenchVideoDriver(), measuredFrames,
                warmUpFrames);
    std::printf("  memcpy 800x600x4 floor        median %8.1f us\n", floorUs);
    if (width != screenWidth || height != screenHeight) {
        // The dummy driver's desktop is 1024 x 768: the picture is scaled onto it.
        std::printf("  as set up, the picture scaled onto the %dx%d desktop:\n", width, height);
        MeasureScenes(floorUs, false);
        if (!BenchUseUnscaledScreen()) {
            std::printf("  the screen could not be made 800x600\n");
            LeaveWorkFolder(folder);
            return 1;
        }
        std::printf("  on an 800x600 screen:\n");
    }
    MeasureScenes(floorUs, true);
    // Frames that change nothing present nothing: the scenes above show what a frame costs. What
    // a whole change costs to show, scaled by the processor into the window's surface:
    SceneLevelSeven(300);
    RenderFrame();
    MeasurePresent(800, 600, floorUs, "present_600_ratio");
    MeasurePresent(1024, 768, floorUs, "present_768_ratio");
    MeasurePresent(1920, 1080, floorUs, "present_1080_ratio");
    LeaveWorkFolder(folder);
    return 0;
}
