// The null platform: a window that is a number, keys and time from a script, and the picture in
// memory (the in-memory display; bitmaps are read from the disk, since the frames are to be real).
// Its folder of files is null_files.cpp.
#include "platform/null/null_platform.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/memory/memory_display.h"

struct PlatformWindow {
    bool open;
};
struct DisplayDevice {
    bool inUse;
};

namespace {

PlatformWindow theWindow;
WindowProcedure procedure = nullptr;
DisplayDevice theDisplay;

uint32_t clockMs;
uint32_t dueAt;
bool dueSet;
bool stepToShow;  // the idle turn took a step that its frame, drawn before it, does not show
const NullKey* keys;
size_t keyCount;
size_t nextKey;
bool shiftHeld;
bool idleWorkOwed;  // a message was handled: the idle work runs at this reading before time moves
NullRefusals refusals;
int surfacesMade;
char transcript[2048];
size_t transcriptLength;
bool watching;
uint32_t watchAt;
uint64_t watchedHash;

Message posted[16];
int postedCount;

void Note(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const int written =
        std::vsnprintf(transcript + transcriptLength, sizeof transcript - transcriptLength, format, arguments);
    va_end(arguments);
    if (written > 0)
        transcriptLength = std::min(transcriptLength + static_cast<size_t>(written), sizeof transcript - 1);
}

void Post(uint32_t message, uintptr_t wParam) {
    if (postedCount < 16) {
        posted[postedCount++] = Message{&theWindow, message, wParam, 0};
    }
}

// FNV-1a over the pixels of the picture; 0 when there is none.
uint64_t HashPicture() {
    const uint32_t* picture = MemoryPicture();
    if (picture == nullptr) {
        return 0;
    }
    uint64_t hash = 14695981039346656037ull;
    for (int32_t i = 0; i < pictureWidth * pictureHeight; ++i) {
        hash = (hash ^ picture[i]) * 1099511628211ull;
    }
    return hash;
}

}  // namespace

void NullStart(uint32_t startMs, const NullKey* script, size_t count) {
    theWindow = PlatformWindow{};
    theDisplay = DisplayDevice{};
    MemoryReset();
    NullEmptyFolder();
    clockMs = startMs;
    dueSet = false;
    stepToShow = false;
    keys = script;
    keyCount = count;
    nextKey = 0;
    shiftHeld = false;
    idleWorkOwed = true;
    refusals = NullRefusals{};
    surfacesMade = 0;
    transcript[0] = '\0';
    transcriptLength = 0;
    watching = false;
    watchedHash = 0;
    postedCount = 0;
}

void NullRefuse(const NullRefusals& refused) {
    refusals = refused;
}

uint64_t NullLastFrameHash() {
    return HashPicture();
}

void NullWatchFrame(uint32_t atMs) {
    watching = true;
    watchAt = atMs;
}

uint64_t NullWatchedFrameHash() {
    return watchedHash;
}

const char* NullTranscript() {
    return transcript;
}

int NullHeldResources() {
    return MemoryHeldResources();
}

// ---- Window, messages and input ---------------------------------------------------------------

WindowHandle PlatformCreateWindow(WindowProcedure windowProcedure) {
    procedure = windowProcedure;
    theWindow.open = true;
    return &theWindow;
}

void PlatformShowWindow(WindowHandle, int showCommand) {
    if (showCommand != 0)
        Post(WM_ACTIVATEAPP, 1);
}

bool PlatformCreateTimer(WindowHandle window) {
    return window != nullptr && window->open;
}

bool PlatformPeekMessage(Message* message) {
    if (postedCount > 0) {
        *message = posted[0];
        std::memmove(posted, posted + 1, sizeof(Message) * static_cast<size_t>(--postedCount));
        idleWorkOwed = true;
        return true;
    }
    // Readings are compared by their difference, so a run may cross the clock's wrap.
    const bool keyAhead = nextKey < keyCount;
    const uint32_t untilKey = keyAhead ? keys[nextKey].atMs - clockMs : 0;
    if (keyAhead && (untilKey == 0 || untilKey >= 0x80000000u)) {
        const uintptr_t key = keys[nextKey].key;
        shiftHeld = keys[nextKey].shift;
        *message = key == nullFocusLost || key == nullFocusBack
                       ? Message{&theWindow, WM_ACTIVATEAPP, key == nullFocusBack ? 1u : 0u, 0}
                       : Message{&theWindow, WM_KEYDOWN, key, 1};
        ++nextKey;
        idleWorkOwed = true;
        return true;
    }
    if (!idleWorkOwed && !stepToShow) {
        // The idle work has run at this reading: time passes up to what happens next, the next
        // key or the step that the idle work said is due.
        if (dueSet) {
            // A due time that is not ahead still moves time on by a millisecond, so that a wrong
            // one shows as a wrong replay rather than as a loop that never ends.
            const uint32_t untilDue = dueAt - clockMs < 0x80000000u ? dueAt - clockMs : 0;
            clockMs += keyAhead && untilKey < untilDue ? untilKey : std::max(untilDue, 1u);
        } else if (keyAhead) {
            clockMs += untilKey;
        } else if (theWindow.open) {
            Post(WM_CLOSE, 0);  // the script is spent and no game runs: the player closes the window
        }
        // A key of the new reading comes before its idle work.
        idleWorkOwed = true;
        dueSet = false;
        return PlatformPeekMessage(message);
    }
    idleWorkOwed = false;
    dueSet = false;
    stepToShow = false;
    return false;
}

void PlatformDispatchMessage(const Message* message) {
    procedure(message->window, message->message, message->wParam, message->lParam);
}

intptr_t PlatformDefaultHandling(WindowHandle window, uint32_t message, uintptr_t, intptr_t) {
    if (message == WM_CLOSE && window != nullptr && window->open) {
        window->open = false;
        procedure(window, WM_DESTROY, 0, 0);
    }
    return 0;
}

void PlatformPostCloseRequest(WindowHandle) {
    Post(WM_CLOSE, 0);
}
void PlatformPostQuit(int exitCode) {
    Post(WM_QUIT, static_cast<uintptr_t>(exitCode));
}
void PlatformHidePointer() {}
void PlatformShowArrowPointer() {}
bool PlatformShiftHeld() {
    return shiftHeld;
}
void PlatformIdleWorkDueAt(uint32_t nextStepAt, bool stepTaken) {
    dueAt = nextStepAt;
    dueSet = true;
    stepToShow = stepTaken;
}
bool PlatformFrameWanted() {
    // The display is lost once it is all set up, before the first frame: that frame's copies find
    // every surface so, and what the bitmaps held must come back.
    if (refusals.screenLostOnce) {
        refusals.screenLostOnce = false;
        MemoryLoseSurfaces();
    }
    return true;
}
uint32_t PlatformClockMs() {
    return clockMs;
}
void PlatformMessageBox(WindowHandle, const char* text, const char* caption) {
    Note("%s: %s\n", caption, text);
}
void PlatformDebugOutput(const char* text) {
    Note("%s", text);
}

// ---- Display ----------------------------------------------------------------------------------

HRESULT PlatformCreateDisplay(DisplayDevice** display) {
    if (refusals.display) {
        *display = nullptr;
        return E_FAIL;
    }
    theDisplay.inUse = true;
    *display = &theDisplay;
    return S_OK;
}
HRESULT PlatformSetCooperativeLevel(DisplayDevice*, WindowHandle) {
    return refusals.cooperation ? E_FAIL : S_OK;
}
HRESULT PlatformSetDisplayMode(DisplayDevice*, uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
    const bool granted = width == 800 && height == 600 &&
                         (bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32) &&
                         (refusals.depths >> bitsPerPixel & 1) == 0;
    Note("mode %ux%ux%u%s\n", width, height, bitsPerPixel, granted ? "" : " refused");
    return granted ? S_OK : E_FAIL;
}

HRESULT PlatformCreateSurface(DisplayDevice*, const SurfaceDesc* desc, Surface** surface) {
    *surface = nullptr;
    if (++surfacesMade == refusals.surface)
        return E_FAIL;
    const HRESULT made = MemoryCreateSurface(desc, surface);
    return made;
}
void PlatformReleaseDisplay(DisplayDevice* display) {
    display->inUse = false;
}
void PlatformPresent(Surface*) {
    if (watching && clockMs - watchAt < 0x80000000u) {
        watching = false;
        watchedHash = HashPicture();
    }
}

Bitmap* PlatformLoadBitmapFile(const char* path) {
    const bool missing = refusals.missingFile != nullptr && std::strcmp(path, refusals.missingFile) == 0;
    return missing ? nullptr : MemoryLoadBitmapFile(path);
}
