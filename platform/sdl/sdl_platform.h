// What the files of the SDL2 layer share: the window behind the program's handle, the clock and
// its seam, the keys, the poll, the present and the endings.
#pragma once
#include <SDL.h>

#include "platform/platform.h"

struct PlatformWindow {
    SDL_Window* window;  // null once the window has been destroyed
};

struct DisplayDevice {
    bool inUse;
    WindowHandle window;  // set by the cooperative level
    bool screenTaken;     // the window covers the desktop: made with the primary surface
};

// ---- The window (window.cpp) ------------------------------------------------------------------

// Calls the program's window procedure, as the platform does for every message it delivers or sends.
intptr_t SendToWindow(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// The SDL window behind the program's window, or null when it is gone.
SDL_Window* SdlWindowOf(WindowHandle window);
// The program's one window, and the SDL window that the display belongs to (null when gone).
WindowHandle TheWindow();
SDL_Window* DisplayWindow();
// The X server's socket, where the events come from; -1 on other video drivers.
int XConnection();

// ---- The clock and the poll (poll.cpp) --------------------------------------------------------

// The monotonic clock in nanoseconds, and the wait for work: give the processor up until the
// deadline or an event, whichever comes first, the last `awakeNs` of it awake. Tests put a
// scripted clock here.
struct PlatformClock {
    uint64_t (*nowNs)();
    void (*waitUntil)(uint64_t deadlineNs, uint64_t awakeNs);
};
extern PlatformClock platformClock;
extern const PlatformClock systemClock;
uint64_t MonotonicNs();

// Queues a message of the program's own; taken before any SDL event, as on Windows.
void Post(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// Empties the queue and forgets what the poll knew, as before the window was created.
void ResetPoll();

// ---- The keys (keys.cpp) ----------------------------------------------------------------------

// Turns one SDL event into the window message it stands for; false for events the program ignores.
bool Translate(const SDL_Event& event, WindowHandle window, Message* message);
// While a key-down is being delivered, the Shift state is the one that stood when it went down.
void DeliveringKey(bool delivering);

// ---- The present (present.cpp) ----------------------------------------------------------------

// True when the picture holds a change not yet on the screen, or a frame was declined; *presentAtNs
// is the time from which the next present may come.
bool PicturePending(uint64_t* presentAtNs);
// The display's refresh interval in nanoseconds (that of 60 Hz where SDL does not know it).
uint64_t RefreshIntervalNs();
// Whether an idle turn asked PlatformFrameWanted since ForgetFrameAskedFor: whether the program
// draws frames at present.
bool FrameAskedForLately();
void ForgetFrameAskedFor();
// Has the borders and the whole picture drawn again with the next present, as after the window was
// uncovered or resized.
void ShowPictureAgain();
// Shows the whole picture at once, whatever the refresh pacing says.
void PresentPictureNow();
// Forgets the screen's layout and pacing, as when the display is let go.
void ForgetPresent();

// ---- The display (display.cpp) ----------------------------------------------------------------

// The window the picture is shown in, once the display has taken the screen; null before and after.
SDL_Window* ShownWindow();
// Gives back every surface, bitmap and context, and the display.
void ReleaseDisplayObjects();

// ---- The endings (endings.cpp) ----------------------------------------------------------------

// A hang-up, an interrupt, a termination request or the loss of the X server ends the game like the
// closing of the window. Installed when the window is shown, once the scores are read.
void InstallEndings(WindowHandle window);
// After such a request: the close request for the window, once; false when none is pending.
bool TakeEndRequest(Message* message);
// True once the X connection is gone: nothing may be asked of SDL's video any more.
bool DisplayLost();

// Frees what is left at the end of the run (surfaces, bitmaps, the window, SDL itself) and leaves
// the layer as it was before the window was created.
void ShutdownPlatform();
