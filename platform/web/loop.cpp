// The poll of the loop in the browser: the program's own loop runs as written, and whenever its
// poll finds nothing to do it gives the browser its turn (the page's code, its events, its
// drawing) by waiting on a promise, through ASYNCIFY, until the idle work next has something to do.
// Also the millisecond clock.
#include <emscripten/emscripten.h>

#include "platform/web/web_platform.h"

namespace {

// A turn that handled a message is followed by an idle turn at once, so that what the message
// changed is drawn; after an idle turn the poll waits until the idle work next has something to
// do, or an event arrives.
bool idleOwed = true;
bool workDueKnown = false;  // the shell said when the next step falls due
uint32_t workDueAt = 0;     // that clock reading
bool stepToShow = false;    // the last idle turn took a step that no frame shows yet

// What the wait is to end with besides the page's events and the step's time.
constexpr int noFrame = 0;
constexpr int timeOnlyLook = 1;      // a twentieth of a second later
constexpr int framePresentable = 2;  // as soon as a present can put a picture on the canvas

// clang-format off
EM_JS(void, PrepareLoopState, (), {
    var vx = Module.vornixWeb = Module.vornixWeb || {};
    vx.wake = null;
    vx.ended = false;
    vx.queue = [];
    vx.wakeLoop = function() { if (vx.wake) vx.wake(); };
    // A task of its own for each continuation, without the clamping of nested timers to 4 ms that
    // a chain of timeouts meets: a timeout's callback only hands its work on through this channel.
    var channel = new MessageChannel();
    var later = [];
    channel.port1.onmessage = function() { var work = later.shift(); if (work) work(); };
    vx.later = function(work) { later.push(work); channel.port2.postMessage(0); };
    // Animation frames are asked for only while a frame is wanted; each one allows the next present.
    vx.presentBlocked = false;
    vx.frameRequested = false;
    vx.frameWaiter = null;
    vx.requestFrame = function() {
        if (vx.frameRequested) return;
        vx.frameRequested = true;
        requestAnimationFrame(function() {
            vx.frameRequested = false;
            vx.presentBlocked = false;
            var waiter = vx.frameWaiter;
            vx.frameWaiter = null;
            if (waiter) waiter();
        });
    };
});

// Waits until the page sends an event, the step's time comes (stepAhead milliseconds of the clock
// from now; -1 for none), or, as frameMode says, a twentieth of a second later or as soon as a
// present can be made. Every wait gives the browser its turn, also one that ends at once: a poll that never did
// would freeze the tab.
EM_ASYNC_JS(void, WaitInPage, (int stepAhead, int frameMode), {
    var vx = Module.vornixWeb;
    await new Promise(function(resolve) {
        var timer = 0;
        var finished = false;
        var finish = function() {
            if (finished) return;
            finished = true;
            if (timer) clearTimeout(timer);
            vx.wake = null;
            vx.frameWaiter = null;
            resolve();
        };
        if (vx.queue.length > 0 || stepAhead === 0 || (frameMode === 2 && !vx.presentBlocked)) {
            vx.later(finish);
            return;
        }
        vx.wake = finish;
        if (frameMode === 2) {
            vx.frameWaiter = finish;
            vx.requestFrame();
        }
        // The step falls due at the start of a millisecond of the clock. Timeouts come in whole
        // milliseconds, never early but now and then late: one is set to end a little before the
        // step, by half a percent of the time to it (within 0.05 and 1 ms, as on Linux), and the
        // rest is waited out awake in short tasks, between which the page's events still come;
        // what the whole milliseconds leave over is waited out so too, half a millisecond a step
        // on average. A look for what changes with time alone needs no such care.
        var dueAt = Infinity;
        var exact = true;
        var margin = Math.min(1, Math.max(0.05, stepAhead / 200));
        if (stepAhead > 0) dueAt = Math.floor(performance.now()) + stepAhead;
        if (frameMode === 1 && performance.now() + 50 < dueAt) {
            dueAt = performance.now() + 50;
            exact = false;
        }
        if (dueAt === Infinity) return;
        var check = function() {
            var left = dueAt - performance.now();
            if (left <= 0 || (!exact && left <= 1)) {
                finish();
            } else if (left - margin >= 1) {
                timer = setTimeout(function() { timer = 0; vx.later(check); }, Math.floor(left - margin));
            } else {
                vx.later(check);
            }
        };
        check();
    });
});

// The clock counts from the page's start, offset by the wall clock's reading then, so that the
// random generator, seeded from it, starts differently in every run.
EM_JS(uint32_t, PageClockMs, (), {
    if (Module.vornixClockOffset === undefined) Module.vornixClockOffset = Date.now() % 4294967296;
    return (Math.floor(performance.now()) + Module.vornixClockOffset) >>> 0;
});
// clang-format on

bool TakeMessage(Message* message) {
    return TakePostedMessage(message) || TakePageMessage(message);
}

// Waits until the idle work next has something to do: the step that the shell said is due; a frame
// to show a step just taken, a picture that had to wait, or a frame that was declined, as soon as
// it can be presented; and, while a game runs, a twentieth of a second after the last idle turn at
// the latest, so that what changes with time alone (an item that shows or goes between two steps)
// is drawn within 50 ms: nobody can tell when such an item should have come to that precision,
// and a look at every refresh, as on Linux, cost the browser some 6 % of a core more in play (a
// timer and a frame composed 60 times a second). Steps and keys are drawn at once. Between games
// the picture changes only with an event, and the wait lasts until one comes: no timer runs and
// no animation frame is asked for.
void WaitForWork() {
    int stepAhead = -1;
    if (workDueKnown) {
        const int32_t ahead = static_cast<int32_t>(workDueAt - PlatformClockMs());
        stepAhead = ahead > 0 ? ahead : 0;
    }
    // Frames count only while the idle turns draw them: an inactive program draws none, and would
    // otherwise be woken for them over and over.
    int frameMode = noFrame;
    if (FrameAskedForLately()) {
        if (FrameOwed() || stepToShow || PictureWaiting()) {
            frameMode = framePresentable;
        } else if (workDueKnown) {
            frameMode = timeOnlyLook;
        }
    }
    WaitInPage(stepAhead, frameMode);
}

}  // namespace

void PrepareLoop() {
    PrepareLoopState();
}

// clang-format off
EM_JS(void, WakeTheLoop, (), { Module.vornixWeb.wakeLoop(); });
// clang-format on

void WakeLoop() {
    WakeTheLoop();
}

bool PlatformPeekMessage(Message* message) {
    if (TakeMessage(message)) {
        idleOwed = true;
        return true;
    }
    if (!idleOwed) {
        WaitForWork();
        if (TakeMessage(message)) {
            idleOwed = true;
            return true;
        }
    }
    idleOwed = false;
    workDueKnown = false;  // the idle turn that follows says it anew
    stepToShow = false;
    ForgetFrameAskedFor();
    return false;
}

void PlatformIdleWorkDueAt(uint32_t nextStepAt, bool stepTaken) {
    workDueKnown = true;
    workDueAt = nextStepAt;
    stepToShow = stepTaken;
}

uint32_t PlatformClockMs() {
    return PageClockMs();
}
