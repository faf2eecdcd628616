// The Linux entry point: the program's WinMain runs the game; SDL is let go afterwards.
#include "app/app.h"
#include "platform/sdl/sdl_platform.h"

int main() {
    const int exitCode = WinMain(nullptr, nullptr, nullptr, 1);
    ShutdownPlatform();
    return exitCode;
}
