// The page's events as the window's messages: the game's keys with the Shift of their press, focus
// and visibility as activation, a new size of the canvas, and the page going away. The listeners
// only queue what happened and end the poll's wait; the loop takes it on its next turn.
#include <emscripten/emscripten.h>

#include "platform/web/web_platform.h"

namespace {

// The kinds of the page's queued events.
constexpr int keyEvent = 1;       // a: the virtual-key code, b: 1 when Shift was held at the press
constexpr int activateEvent = 2;  // a: 1 active, 0 not
constexpr int resizeEvent = 3;    // the canvas's size or the device pixel ratio changed

bool shiftOfKey = false;  // Shift as it stood when the key being delivered was pressed

// clang-format off
EM_JS(void, StartListening, (), {
    var vx = Module.vornixWeb;
    vx.shiftHeld = false;
    var push = function(kind, a, b) {
        vx.queue.push([kind, a || 0, b || 0]);
        vx.wakeLoop();
    };
    var named = {ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, Escape: 27, Backspace: 8};
    // The Windows virtual-key code of a key the game reacts to; 0 for any other key, which is left to
    // the browser. On layouts without Latin letters the letter keys still type A to Z, as Windows
    // maps them.
    var keyCode = function(e) {
        if (e.key === " ") return 32;
        if (named[e.key]) return named[e.key];
        if (/^[a-zA-Z]$/.test(e.key)) return e.key.toUpperCase().charCodeAt(0);
        if (e.key.length === 1 && e.key.charCodeAt(0) > 127 && /^Key[A-Z]$/.test(e.code)) {
            return e.code.charCodeAt(3);
        }
        return 0;
    };
    vx.listeners = {
        keydown: function(e) {
            vx.shiftHeld = e.shiftKey;
            // With Ctrl, Alt or the system key held, a key is the browser's command (reload, close,
            // back), as Alt makes system keys of the presses on Windows.
            if (e.ctrlKey || e.altKey || e.metaKey) return;
            var code = keyCode(e);
            if (code === 0) return;
            e.preventDefault();  // the arrows, Space and Backspace would scroll the page or go back
            push(1, code, e.shiftKey ? 1 : 0);
        },
        keyup: function(e) { vx.shiftHeld = e.shiftKey; },
        // A key released while the page had no focus is never reported: Shift counts as released.
        blur: function() { vx.shiftHeld = false; push(2, 0); },
        focus: function() { if (document.visibilityState !== "hidden") push(2, 1); },
        visibilitychange: function() { push(2, document.visibilityState === "hidden" ? 0 : 1); },
        resize: function() { push(3); },
        pagehide: function() { if (!vx.ended) Module._VornixWindowClosed(); }
    };
    for (var type in vx.listeners) {
        (type === "visibilitychange" ? document : window).addEventListener(type, vx.listeners[type]);
    }
    // A change of the device pixel ratio (zoom, a move to another screen) does not always resize the
    // window: a query on the present ratio says when it no longer holds.
    var watchRatio = function() {
        if (vx.ended || !window.matchMedia) return;
        var query = window.matchMedia("(resolution: " + window.devicePixelRatio + "dppx)");
        query.addEventListener("change", function() { push(3); watchRatio(); }, {once: true});
    };
    watchRatio();
});

EM_JS(void, StopListeningToPage, (), {
    var vx = Module.vornixWeb;
    vx.ended = true;
    for (var type in vx.listeners) {
        (type === "visibilitychange" ? document : window).removeEventListener(type, vx.listeners[type]);
    }
});

// Takes the oldest queued event into event[0..2]; false when none waits.
EM_JS(int, NextPageEvent, (int32_t* event), {
    var next = Module.vornixWeb.queue.shift();
    if (!next) return 0;
    HEAP32[(event >> 2) + 0] = next[0];
    HEAP32[(event >> 2) + 1] = next[1];
    HEAP32[(event >> 2) + 2] = next[2];
    return 1;
});

EM_JS(int, ShiftHeldNow, (), { return Module.vornixWeb.shiftHeld ? 1 : 0; });
// clang-format on

}  // namespace

void ListenToPage() {
    StartListening();
}

void StopListening() {
    StopListeningToPage();
}

bool TakePageMessage(Message* message) {
    int32_t event[3];
    while (NextPageEvent(event) != 0) {
        switch (event[0]) {
        case keyEvent:
            // Auto-repeated presses come through like fresh ones.
            *message = Message{&theWindow, WM_KEYDOWN, static_cast<uintptr_t>(event[1]), 1};
            shiftOfKey = event[2] != 0;
            return true;
        case activateEvent:
            *message = Message{&theWindow, WM_ACTIVATEAPP, static_cast<uintptr_t>(event[1]), 0};
            return true;
        case resizeEvent:
            CanvasResized();
            break;
        default:
            break;
        }
    }
    return false;
}

bool PlatformShiftHeld() {
    if (deliveringKey) {
        return shiftOfKey;
    }
    return ShiftHeldNow() != 0;
}
