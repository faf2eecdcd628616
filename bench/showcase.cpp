// Shows a game at level 5 in the real window for the documentation's screenshot: the real start-up
// and the real frame, with the scene set up through the game's own functions and held still.
//   vornix_showcase SECONDS
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/app.h"
#include "bench/bench_common.h"
#include "display/display.h"
#include "game/game.h"
#include "game/levels.h"

namespace {

// The snake's visible cells from the head back, as runs of (heading from the previous cell, count):
// it winds between the level's brackets. The rest of its length is stacked on the tail's cell, as
// growth leaves it.
struct Run {
    Direction towards;
    int count;
};
constexpr Run body[] = {{Down, 5}, {Right, 6}, {Down, 4}, {Left, 12}, {Up, 2}, {Left, 5}, {Down, 6}, {Right, 9}};

void LayShowcase() {
    NewGame();
    score = 112;
    std::strcpy(playerName, "Pilot");
    snakeLength = 163;
    SetLevel(5);  // lays the snake in the start column; the runs below replace that
    Segment at = {26, 11};
    Snake[0] = at;
    int i = 1;
    for (const Run& run : body) {
        for (int k = 0; k < run.count; ++k) {
            at.x += run.towards == Right ? 1 : run.towards == Left ? -1 : 0;
            at.y += run.towards == Down ? 1 : run.towards == Up ? -1 : 0;
            Snake[i++] = at;
        }
    }
    for (; i < snakeLength; ++i) {
        Snake[i] = at;
    }
    direction = Up;
    ShowItems(5);
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    std::string folder = EnterWorkFolder();
    if (folder.empty() || !StartUp(1) || primarySurface == nullptr) {
        std::printf("showcase: start-up failed\n");
        return 1;
    }
    LayShowcase();
    // Frames only: no step is taken, so the picture holds still for the screenshot.
    bool quit = false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!quit && std::chrono::steady_clock::now() < end) {
        if (!DeliverPendingMessages()) {
            break;
        }
        RenderFrame();
    }
    LeaveWorkFolder(folder);
    return 0;
}
