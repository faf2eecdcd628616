// The endings that come from outside the window on Linux: a hang-up (a closed terminal, a logout),
// an interrupt, a termination request, and the loss of the X server. Each goes the way of the
// closing of the window, through the window procedure's WM_DESTROY, so that the scores are saved and
// the exit code is 0; the game in progress is not scored, as with Escape.
#include <X11/Xlib.h>
#include <signal.h>

#include <cstdlib>

#include "platform/sdl/sdl_platform.h"

namespace {

volatile sig_atomic_t endRequested = 0;
WindowHandle endingWindow = nullptr;
bool displayLost = false;

// A signal can arrive in the middle of anything, a save included: it only leaves a note, and the
// poll turns the note into a close request on the program's own turn.
void NoteEndRequest(int) {
    endRequested = 1;
}

// Xlib calls this once it has found the connection dead, from inside whatever Xlib call found it,
// and ends the process with code 1 if it returns. The window's own closing cannot run here: it
// would draw, destroy the window and shut SDL down, all of which talk to the dead connection. The
// window procedure's WM_DESTROY only writes the score file (plain file calls, safe here: this is
// an ordinary call on the program's one thread, not a signal) and shows the pointer, which
// DisplayLost turns into nothing. The table is whole at every X call, since ranking makes none.
// Letting Xlib return instead (XSetIOErrorExitHandler) is no way out: SDL then destroys the
// window on the dead connection and waits in XIfEvent for an event that never comes.
int EndOnLostDisplay(Display*) {
    displayLost = true;
    if (endingWindow != nullptr) {
        SendToWindow(endingWindow, WM_DESTROY, 0, 0);
    }
    std::exit(0);  // the code WM_DESTROY posts with its quit message
}

void NoteSignal(int number) {
    struct sigaction current;
    if (sigaction(number, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) {
        return;  // ignored by whoever started the game (nohup, a background job): it stays ignored
    }
    struct sigaction action = {};
    action.sa_handler = NoteEndRequest;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(number, &action, nullptr);
}

}  // namespace

void InstallEndings(WindowHandle window) {
    endingWindow = window;
    // SDL turns SIGINT and SIGTERM into its quit event only when they were left at their default;
    // taking all three here gives them one path whatever SDL and the parent did.
    NoteSignal(SIGHUP);
    NoteSignal(SIGINT);
    NoteSignal(SIGTERM);
    // A write into a closed pipe or socket raises SIGPIPE, which ends the process unsaved: the X
    // connection of a server that has just gone, or standard error piped into a program that the
    // same hang-up has ended. Ignored, the write fails instead, and Xlib reports a lost server.
    struct sigaction pipe;
    if (sigaction(SIGPIPE, nullptr, &pipe) == 0 && pipe.sa_handler == SIG_DFL) {
        signal(SIGPIPE, SIG_IGN);
    }
    // For every connection of the process, SDL's message boxes' own included.
    XSetIOErrorHandler(EndOnLostDisplay);
}

bool TakeEndRequest(Message* message) {
    if (endRequested == 0) {
        return false;
    }
    endRequested = 0;
    *message = Message{endingWindow, WM_CLOSE, 0, 0};
    return true;
}

bool DisplayLost() {
    return displayLost;
}
