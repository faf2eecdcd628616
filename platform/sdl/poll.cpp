// The message queue and the poll that sleeps until there is work: the program's posted messages,
// SDL's events, the clock, and the wait for the next step, the next frame or the next message.
#include <poll.h>

#include <cstdint>
#include <cstring>
#include <ctime>

#include "platform/sdl/sdl_platform.h"

namespace {

// Messages posted by the program itself; they are taken before any SDL event, as on Windows.
constexpr int postedCapacity = 16;
Message posted[postedCapacity];
int postedFirst = 0;
int postedCount = 0;

// The poll's waiting. A turn that handled a message is followed by an idle turn at once, so that
// what the message changed is drawn; after an idle turn the poll sleeps until the idle work next
// has something to do, or a message arrives.
bool idleOwed = true;
uint64_t lastIdleNs = 0;    // when the poll last handed the loop an idle turn
bool workDueKnown = false;  // the shell said when the next step falls due
uint32_t workDueAt = 0;     // that clock reading
bool stepToShow = false;    // the last idle turn took a step that no frame shows yet

// The longest sleep: an ending asked for by a signal is taken within it even where the wait does
// not end with the signal.
constexpr uint64_t longestWaitNs = 1000000000u;

// How much earlier than a step's millisecond the poll wakes, to be on time despite a late wake-up:
// a two-hundredth of the time between steps, so that waiting out the margin awake costs about half a
// percent of a core at every pace, within 0.05 ms and 1 ms. A step is on time anywhere in its
// millisecond, so the margin only has to cover a wake-up later than that; a sleeper is now and then
// woken a few milliseconds late on a busy machine, and the slow paces can afford to cover some of it.
constexpr uint64_t shortestWakeMarginNs = 50000;
constexpr uint64_t longestWakeMarginNs = 1000000;
uint64_t stepWakeMarginNs = shortestWakeMarginNs;

uint64_t SystemNowNs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
}

// Gives the processor up until the deadline or until an event arrives, whichever comes first.
// Called right after TakeMessage found nothing: its SDL_PollEvent pumped the X connection and
// emptied both Xlib's queue and SDL's, and nothing has touched the connection since.
void SleepForEvents(uint64_t deadline) {
    if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) {
        return;
    }
    const uint64_t now = SystemNowNs();
    if (deadline <= now) {
        return;
    }
    if (XConnection() >= 0) {
        // Xlib's own queue was emptied by that pump, so whatever comes next arrives on the socket.
        const uint64_t wait = deadline - now;
        const timespec timeout{static_cast<time_t>(wait / 1000000000u), static_cast<long>(wait % 1000000000u)};
        pollfd connection{XConnection(), POLLIN, 0};
        ppoll(&connection, 1, &timeout, nullptr);
        return;
    }
    if (std::strcmp(SDL_GetCurrentVideoDriver(), "dummy") == 0) {
        // No events come from anywhere but the program itself.
        const timespec until{static_cast<time_t>(deadline / 1000000000u), static_cast<long>(deadline % 1000000000u)};
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr);
        return;
    }
    // Other video drivers: SDL's own wait, in whole milliseconds and never past the deadline; the
    // rest of a millisecond is waited out by the turns that follow.
    const int ms = static_cast<int>((deadline - now) / 1000000u);
    if (ms > 0) {
        SDL_WaitEventTimeout(nullptr, ms);
    }
}

void SystemWaitUntil(uint64_t deadline, uint64_t awake) {
    if (awake == 0) {
        SleepForEvents(deadline);
        return;
    }
    SleepForEvents(deadline - awake);
    while (SystemNowNs() < deadline) {
        // an event that came meanwhile is taken right after, at most the margin late
    }
}

// A posted message, or one that an SDL event stands for; false when there is none.
bool TakeMessage(Message* message) {
    if (postedCount > 0) {
        *message = posted[postedFirst];
        postedFirst = (postedFirst + 1) % postedCapacity;
        --postedCount;
        return true;
    }
    if (TakeEndRequest(message)) {
        return true;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        // What the window showed may be gone: the picture is shown again whole with the next frame.
        if (event.type == SDL_WINDOWEVENT &&
            (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)) {
            ShowPictureAgain();
        }
        if (Translate(event, TheWindow(), message)) {
            return true;
        }
    }
    return false;
}

// The monotonic time at which the clock first reads the given value: the start of that millisecond.
uint64_t TimeOfReading(uint32_t reading, uint64_t now) {
    const uint64_t nowMs = now / 1000000u;
    const int32_t ahead = static_cast<int32_t>(reading - static_cast<uint32_t>(nowMs));
    return ahead <= 0 ? now : (nowMs + static_cast<uint64_t>(ahead)) * 1000000u;
}

// Sleeps until the idle work next has something to do: the step that the shell said is due; a
// frame to show a step just taken or a picture that had to wait, as soon as it can be presented;
// a second at most; and, while a game runs, one refresh after the last idle turn at the latest, so
// that what changes with time alone (an item that shows or goes) is drawn. Between games the
// picture changes only with a message, and the poll waits for one.
void WaitForWork() {
    const uint64_t now = MonotonicNs();
    uint64_t deadline = now + longestWaitNs;
    uint64_t stepAt = UINT64_MAX;
    if (workDueKnown) {
        stepAt = TimeOfReading(workDueAt, now);
        const uint64_t refresh = lastIdleNs + RefreshIntervalNs();
        deadline = stepAt < deadline ? stepAt : deadline;
        deadline = refresh < deadline ? refresh : deadline;
    }
    uint64_t presentAt = 0;
    // A picture waiting for its present counts only while the idle turns draw frames: an inactive
    // program draws none, and would otherwise be woken for it over and over.
    const bool pending = PicturePending(&presentAt) && FrameAskedForLately();
    if (stepToShow || pending) {
        // A frame that shows a change is drawn when it can be presented, not before.
        const uint64_t show = presentAt > now ? presentAt : now;
        deadline = show < deadline ? show : deadline;
    }
    if (deadline <= now) {
        return;
    }
    // A step must come in the first millisecond after its delay, and a sleeper is woken late now
    // and then: wake a little early and wait out the rest awake.
    const bool forStep = deadline == stepAt && deadline - now > stepWakeMarginNs;
    platformClock.waitUntil(deadline, forStep ? stepWakeMarginNs : 0);
}

}  // namespace

const PlatformClock systemClock = {SystemNowNs, SystemWaitUntil};
PlatformClock platformClock = systemClock;

uint64_t MonotonicNs() {
    return platformClock.nowNs();
}

// Milliseconds since the system started, like the Windows clock, rather than SDL's count from its
// own start: the random generator is seeded from this reading, and a count that is always a few
// hundred milliseconds at start-up would place the first item in the same column in every run.
uint32_t PlatformClockMs() {
    return static_cast<uint32_t>(MonotonicNs() / 1000000u);  // the low 32 bits: it wraps like the Windows clock
}

void Post(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (postedCount == postedCapacity) {
        return;  // a full queue drops the message, as PostMessage fails on a full Windows queue
    }
    posted[(postedFirst + postedCount) % postedCapacity] = Message{window, message, wParam, lParam};
    ++postedCount;
}

void ResetPoll() {
    postedFirst = 0;
    postedCount = 0;
    idleOwed = true;
    workDueKnown = false;
    stepToShow = false;
    stepWakeMarginNs = shortestWakeMarginNs;
}

bool PlatformPeekMessage(Message* message) {
    if (TakeMessage(message)) {
        idleOwed = true;
        return true;
    }
    if (!idleOwed && DisplayWindow() != nullptr) {
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
    lastIdleNs = MonotonicNs();
    return false;
}

void PlatformIdleWorkDueAt(uint32_t nextStepAt, bool stepTaken) {
    workDueKnown = true;
    workDueAt = nextStepAt;
    stepToShow = stepTaken;
    if (stepTaken) {
        const int32_t untilNext = static_cast<int32_t>(nextStepAt - PlatformClockMs());
        const uint64_t margin = untilNext > 0 ? static_cast<uint64_t>(untilNext) * 5000u : 0;  // 0.5 % of it
        stepWakeMarginNs = margin < shortestWakeMarginNs  ? shortestWakeMarginNs
                           : margin > longestWakeMarginNs ? longestWakeMarginNs
                                                          : margin;
    }
}

void PlatformDispatchMessage(const Message* message) {
    DeliveringKey(message->message == WM_KEYDOWN);
    SendToWindow(message->window, message->message, message->wParam, message->lParam);
    DeliveringKey(false);
}

void PlatformPostCloseRequest(WindowHandle window) {
    Post(window, WM_CLOSE, 0, 0);
}

void PlatformPostQuit(int exitCode) {
    Post(nullptr, WM_QUIT, static_cast<uintptr_t>(exitCode), 0);
}
