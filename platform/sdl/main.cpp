// The Linux entry point: the options are answered, the working folder is chosen (the player's own
// folder for an installed game), the program's WinMain runs the game, and SDL is let go afterwards.
#include <cstdio>
#include <cstring>

#include "app/app.h"
#include "platform/sdl/player_folder.h"
#include "platform/sdl/sdl_platform.h"

namespace {

constexpr char usage[] =
    "Usage: vornix [--help | --version]\n"
    "A fullscreen arcade snake game; started without options, it plays.\n"
    "\n"
    "Keys:\n"
    "  Space        start a game\n"
    "  A to Z       type your name between games (Shift for capitals)\n"
    "  Backspace    clear the name\n"
    "  Arrow keys   steer\n"
    "  Shift        held, doubles the pace\n"
    "  Escape       quit (a game that is running is not scored)\n"
    "\n"
    "The scores live in textures/scores.asc of the folder the game works in: the folder it is\n"
    "started from when that holds textures/background.bmp, otherwise $XDG_DATA_HOME/vornix\n"
    "(~/.local/share/vornix).\n"
    "\n"
    "More in the manual: man 6 vornix\n";

// The options are answered before anything else is done, so that they need no display and make
// no folder. Gives the exit code, or -1 when the game is to be played.
int AnswerOptions(int argc, char** argv) {
    bool help = false, version = false;
    for (int at = 1; at < argc; ++at) {
        if (std::strcmp(argv[at], "--help") == 0) {
            help = true;
        } else if (std::strcmp(argv[at], "--version") == 0) {
            version = true;
        } else {
            std::fprintf(stderr, "vornix: unknown option \"%s\" (vornix --help lists the options)\n", argv[at]);
            return 2;
        }
    }
    if (help) {
        std::fputs(usage, stdout);
    } else if (version) {
        std::puts("vornix " VORNIX_VERSION);
    } else {
        return -1;
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const int answered = AnswerOptions(argc, argv);
    if (answered >= 0) {
        return answered;
    }
    ChoosePlayerFolder();
    const int exitCode = WinMain(nullptr, nullptr, nullptr, 1);
    ShutdownPlatform();
    return exitCode;
}
