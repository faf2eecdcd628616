// The window in the browser: the page itself. Its message queue, the delivery of messages to the
// window procedure, the closing by the page (going away, or asking for it), the pointer over the
// canvas, and the program's boxes and debugger lines on the console.
#include <emscripten/emscripten.h>

#include "platform/web/web_platform.h"

PlatformWindow theWindow;
bool deliveringKey = false;

namespace {

WindowProcedure windowProcedure = nullptr;  // the program's, handed over with the window's creation
bool windowCreated = false;

// Messages posted by the program itself; a full queue drops the message, as PostMessage fails on a
// full Windows queue.
constexpr int postedCapacity = 16;
Message posted[postedCapacity];
int postedFirst = 0;
int postedCount = 0;

void Post(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (postedCount == postedCapacity) {
        return;
    }
    posted[(postedFirst + postedCount) % postedCapacity] = Message{window, message, wParam, lParam};
    ++postedCount;
}

// clang-format off
EM_JS(void, SetPointerShown, (int shown), {
    var canvas = document.getElementById("screen");
    if (canvas) canvas.style.cursor = shown ? "default" : "none";
});

EM_JS(void, ConsoleLine, (const char* caption, const char* text), {
    var line = UTF8ToString(text);
    if (line.charCodeAt(line.length - 1) === 10) line = line.slice(0, -1);
    if (caption) console.error(UTF8ToString(caption) + ": " + line); else console.log(line);
});
// clang-format on

}  // namespace

intptr_t SendToWindow(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return windowProcedure != nullptr ? windowProcedure(window, message, wParam, lParam) : 0;
}

bool TakePostedMessage(Message* message) {
    if (postedCount == 0) {
        return false;
    }
    *message = posted[postedFirst];
    postedFirst = (postedFirst + 1) % postedCapacity;
    --postedCount;
    return true;
}

WindowHandle PlatformCreateWindow(WindowProcedure procedure) {
    if (windowCreated) {
        return nullptr;  // the page holds one window per run
    }
    windowProcedure = procedure;
    windowCreated = true;
    theWindow.open = true;
    PrepareLoop();
    ListenToPage();
    return &theWindow;
}

// The window is the page, already on the screen: showing it activates the program, unless the tab
// is hidden. Later focus and visibility changes arrive as their own messages.
void PlatformShowWindow(WindowHandle window, int showCommand) {
    if (window == nullptr || !window->open || showCommand == 0) {
        return;
    }
    const int visible = EM_ASM_INT({ return document.visibilityState == "hidden" ? 0 : 1; });
    Post(window, WM_ACTIVATEAPP, static_cast<uintptr_t>(visible), 0);
}

// The timer's messages would go to default handling, where nothing reacts to them: none are made,
// and the timer is only the promise that the window exists.
bool PlatformCreateTimer(WindowHandle window) {
    return window != nullptr && window->open;
}

void PlatformDispatchMessage(const Message* message) {
    deliveringKey = message->message == WM_KEYDOWN;
    SendToWindow(message->window, message->message, message->wParam, message->lParam);
    deliveringKey = false;
}

intptr_t PlatformDefaultHandling(WindowHandle window, uint32_t message, uintptr_t, intptr_t) {
    if (message == WM_CLOSE && window != nullptr && window->open) {
        window->open = false;
        SendToWindow(window, WM_DESTROY, 0, 0);
    }
    return 0;
}

void PlatformPostCloseRequest(WindowHandle window) {
    Post(window, WM_CLOSE, 0, 0);
}

void PlatformPostQuit(int exitCode) {
    Post(nullptr, WM_QUIT, static_cast<uintptr_t>(exitCode), 0);
}

void PlatformHidePointer() {
    SetPointerShown(0);
}

void PlatformShowArrowPointer() {
    SetPointerShown(1);
}

// No box can stop a page: set-up failures go to the console as errors, where the player's
// developer tools show them.
void PlatformMessageBox(WindowHandle, const char* text, const char* caption) {
    ConsoleLine(caption, text);
}

void PlatformDebugOutput(const char* text) {
    ConsoleLine(nullptr, text);
}

// The page asks the program to end, as the system's own close command would: the close request is
// queued and taken on the loop's next turn, which saves the scores and ends WinMain.
extern "C" EMSCRIPTEN_KEEPALIVE void VornixRequestClose() {
    if (theWindow.open) {
        PlatformPostCloseRequest(&theWindow);
        WakeLoop();
    }
}

// The page is going away (the tab closed or reloaded): the window is closed at once, while the
// page still runs, so that WM_DESTROY saves the scores before it goes. The loop is asleep in its
// poll meanwhile, between two turns, as it is whenever the page's code runs. The game in progress
// is not scored, as with Escape.
extern "C" EMSCRIPTEN_KEEPALIVE void VornixWindowClosed() {
    if (theWindow.open) {
        SendToWindow(&theWindow, WM_CLOSE, 0, 0);
        WakeLoop();
    }
}
