// The null platform: a window that is a number, keys and time from a script, and a folder in
// memory. It draws on the in-memory display; bitmaps are read from the disk, since the frames are
// to be real.
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
struct FileHandle {
    int file;      // index into the folder
    size_t at;     // next byte to read
    bool writing;  // the file is being written
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

constexpr int fileCapacity = 4;
constexpr size_t fileBytes = 64 * 1024;  // a score file of 200 names of 255 letters fits
struct StoredFile {
    char path[64];
    char bytes[fileBytes];
    size_t size;
    bool exists;
};
StoredFile folder[fileCapacity];
FileHandle handles[fileCapacity];

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

int FindFile(const char* path) {
    for (int i = 0; i < fileCapacity; ++i) {
        if (folder[i].exists && std::strcmp(folder[i].path, path) == 0)
            return i;
    }
    return -1;
}

int MakeFile(const char* path) {
    int slot = FindFile(path);
    for (int i = 0; slot < 0 && i < fileCapacity; ++i) {
        if (!folder[i].exists)
            slot = i;
    }
    if (slot < 0 || std::strlen(path) >= sizeof folder[slot].path)
        return -1;
    std::snprintf(folder[slot].path, sizeof folder[slot].path, "%s", path);
    folder[slot].size = 0;
    folder[slot].exists = true;
    return slot;
}

FileHandle* OpenHandle(int file, bool writing) {
    if (file < 0)
        return nullptr;
    handles[file] = FileHandle{file, 0, writing};
    return &handles[file];
}

FileHandle* OpenForReading(const char* path) {
    return OpenHandle(FindFile(path), false);
}
bool ReadByte(FileHandle* file, unsigned char* byte) {
    const StoredFile& stored = folder[file->file];
    if (file->at >= stored.size)
        return false;
    *byte = static_cast<unsigned char>(stored.bytes[file->at++]);
    return true;
}
bool ReadFailed(FileHandle*) {
    return false;
}
bool Exists(const char* path) {
    return FindFile(path) >= 0;
}
void CloseReading(FileHandle*) {}
// A new file only: nothing is made over a file that stands at the path, as on every platform.
FileHandle* CreateForWriting(const char* path) {
    return FindFile(path) >= 0 ? nullptr : OpenHandle(MakeFile(path), true);
}
bool WriteBytes(FileHandle* file, const void* bytes, size_t count) {
    StoredFile& stored = folder[file->file];
    if (count > fileBytes - stored.size)
        return false;  // a full disk
    std::memcpy(stored.bytes + stored.size, bytes, count);
    stored.size += count;
    return true;
}
bool FinishWriting(FileHandle*) {
    return true;
}
bool ReplaceFile(const char* from, const char* to) {
    const int source = FindFile(from);
    if (source < 0)
        return false;
    const int existing = FindFile(to);
    if (existing >= 0)
        folder[existing].exists = false;
    std::snprintf(folder[source].path, sizeof folder[source].path, "%s", to);
    return true;
}
bool RemoveFile(const char* path) {
    const int file = FindFile(path);
    if (file < 0)
        return false;
    folder[file].exists = false;
    return true;
}
void Report(const char* text) {
    std::fputs(text, stderr);
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

const FileAccess platformFileAccess = {OpenForReading, ReadByte,         ReadFailed, Exists,
                                       CloseReading,   CreateForWriting, WriteBytes, FinishWriting,
                                       ReplaceFile,    RemoveFile,       Report};

void NullStart(uint32_t startMs, const NullKey* script, size_t count) {
    theWindow = PlatformWindow{};
    theDisplay = DisplayDevice{};
    MemoryReset();
    for (StoredFile& file : folder)
        file.exists = false;
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

bool NullPutFile(const char* path, const char* bytes, size_t count) {
    const int file = MakeFile(path);
    if (file < 0 || count > fileBytes)
        return false;
    std::memcpy(folder[file].bytes, bytes, count);
    folder[file].size = count;
    return true;
}

const char* NullFile(const char* path, size_t* size) {
    const int file = FindFile(path);
    if (file < 0)
        return nullptr;
    *size = folder[file].size;
    return folder[file].bytes;
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
    if (made == S_OK && (desc->dwCaps & DDSCAPS_PRIMARYSURFACE) != 0 && refusals.screenLostOnce) {
        // The screen is lost before anything reaches it: the first copy onto it finds it so.
        refusals.screenLostOnce = false;
        MemoryLoseSurfaces();
    }
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
