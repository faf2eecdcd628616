// The Linux entry point: the working folder is chosen (the player's own folder for an installed
// game), the program's WinMain runs the game, and SDL is let go afterwards.
#include "app/app.h"
#include "platform/sdl/player_folder.h"
#include "platform/sdl/sdl_platform.h"

int main() {
    ChoosePlayerFolder();
    const int exitCode = WinMain(nullptr, nullptr, nullptr, 1);
    ShutdownPlatform();
    return exitCode;
}
