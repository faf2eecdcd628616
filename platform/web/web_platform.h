// What the files of the browser platform share: the window behind the opaque handle, and the
// calls between the poll, the page's events and the picture on the canvas.
#pragma once
#include <cstdint>

#include "platform/platform.h"

struct PlatformWindow {
    bool open;  // until WM_CLOSE has destroyed it
};

// The program's one window.
extern PlatformWindow theWindow;

// True while PlatformDispatchMessage delivers a key: Shift is then read as it stood at that key's press.
extern bool deliveringKey;

// Calls the program's window procedure, as the platform does for every message it delivers or sends.
intptr_t SendToWindow(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// A message the program posted to itself (a close request, the quit message); taken before the
// page's events, as on Windows. False when there is none.
bool TakePostedMessage(Message* message);

// Sets up what the poll's wait and the page's listeners share; before anything else of the page.
void PrepareLoop();
// Starts listening to the page: keys, focus and visibility, the canvas's size, the page going away.
void ListenToPage();
// Stops listening once the program has ended, so that the page's keys are its own again.
void StopListening();
// The next of the page's events that stands for a message (a key, an activation change); false
// when none is waiting. Events that only concern the picture (a new size) are handled on the way.
bool TakePageMessage(Message* message);
// Ends the poll's wait at once: something arrived that the loop must see.
void WakeLoop();

// Finds the page's canvas (or makes one) and its 2D context; false when the browser gives none.
bool PrepareCanvas();
// The picture: whether a present could put a change on the canvas now (false between a present and
// the next animation frame); whether a change waits that no present has shown yet; the whole
// picture again after a new size of the canvas.
bool PresentAllowed();
bool PictureWaiting();
void CanvasResized();
// Whether the idle turn since the last ForgetFrameAskedFor asked PlatformFrameWanted, that is,
// whether the program draws frames at present.
bool FrameAskedForLately();
void ForgetFrameAskedFor();
// A frame was declined since the last ForgetFrameAskedFor: one is owed at the next animation frame.
bool FrameOwed();
