// The browser's benchmark program: the real start-up and loop on the page, with a game laid at
// level 7 and steered round a loop after every step, as the window benchmark does on Linux, so
// that web_bench.mjs can measure the browser's share at level 7 with Shift held on the page.
#include <cstdio>

#include "app/app.h"
#include "bench/bench_common.h"
#include "game/game.h"
#include "game/levels.h"

namespace {

// Level 7 straight from a new game: its walls and its pace, with the new game's three segments, as
// the window benchmark lays it. Said on the page's console, where the benchmark waits for it.
void LayLevelSeven(int times) {
    NewGame();
    SetLevel(7);
    std::printf("level 7 laid (%d)\n", times);
    std::fflush(stdout);
}

}  // namespace

int main() {
    if (!StartUp(1)) {
        return 1;
    }
    int laid = 0;
    LayLevelSeven(++laid);
    uint32_t previousStep = lastStepTime;
    bool quit = false;
    while (!quit) {
        LoopTurn(&quit);
        if (lastStepTime != previousStep) {
            previousStep = lastStepTime;
            SteerAfterStep();
        }
        // An item can still end the game now and then: the next one starts at once, and the count
        // on the console tells the benchmark.
        if (gameRunning != 1 && !quit) {
            LayLevelSeven(++laid);
        }
    }
    return 0;
}
