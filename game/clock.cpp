// The clock and random-number seams: every time reading and every random draw of the rules comes from here.
#include "game/clock.h"

#include <chrono>

namespace {

uint32_t SteadyClockMs() {
    auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count();
    return static_cast<uint32_t>(ms);  // keep the low 32 bits: the rules expect the clock to wrap
}

uint32_t (*clockSource)() = nullptr;

// An unseeded generator behaves as if seeded with 1, as the C library's does.
uint32_t randomState = 1;

}  // namespace

uint32_t ReadClock() {
    return clockSource != nullptr ? clockSource() : SteadyClockMs();
}

void SetClockSource(uint32_t (*source)()) {
    clockSource = source;
}

void SeedRandom(uint32_t seed) {
    randomState = seed;
}

int32_t NextRandom() {
    randomState = randomState * 214013u + 2531011u;  // unsigned arithmetic wraps modulo 2^32
    return static_cast<int32_t>((randomState >> 16) & 0x7FFF);
}
