// The benchmark services on the null platform, where the picture stays in memory: the frame
// benchmark then measures the in-memory display alone, with no screen to show the picture on.
#include "platform/sdl/bench_support.h"

bool BenchSetShiftHeld(bool) {
    return false;
}
const char* BenchVideoDriver() {
    return "none (null platform)";
}
const char* BenchRendererName() {
    return "none";
}
void BenchScreenSize(int* width, int* height) {
    *width = 800;
    *height = 600;
}
bool BenchUseScreen(int, int) {
    return false;
}
bool BenchUseUnscaledScreen() {
    return true;
}
void BenchPresentNow() {}
