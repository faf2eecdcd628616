// The null platform: a window that is a number, surfaces that are arrays, keys and time from a
// script, and a folder in memory. Bitmaps are read from the disk, since the frames are to be real.
#include "platform/null/null_platform.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

struct PlatformWindow {
    bool open;
};
struct DisplayDevice {
    bool inUse;
};
struct Surface {
    bool inUse;
    bool primary;
    int32_t width;
    int32_t height;
    uint32_t* pixels;  // 0x00RRGGBB, rows of width pixels
};
struct Bitmap {
    bool inUse;
    int32_t width;
    int32_t height;
    uint32_t* pixels;
};
struct DrawContext {
    Surface* surface;  // a surface's context; null for a memory context
    Bitmap* selected;  // the bitmap of a memory context
    uint32_t textColour;
    uint32_t backgroundColour;
};
struct FileHandle {
    int file;      // index into the folder
    size_t at;     // next byte to read
    bool writing;  // the file is being written
};

namespace {

constexpr int32_t largest = 800 * 600;  // no surface or bitmap of the program is larger

PlatformWindow theWindow;
WindowProcedure procedure = nullptr;
DisplayDevice theDisplay;
Surface surfaces[6];
uint32_t surfacePixels[6][largest];
Bitmap bitmaps[2];
uint32_t bitmapPixels[2][largest];
DrawContext memoryContext;

uint32_t clockMs;
uint32_t dueAt;
bool dueSet;
bool stepToShow;  // the idle turn took a step that its frame, drawn before it, does not show
const NullKey* keys;
size_t keyCount;
size_t nextKey;
bool shiftHeld;
bool idleWorkOwed;  // a message was handled: the idle work runs at this reading before time moves
uint64_t frameHash;
NullRefusals refusals;
int surfacesMade;
char transcript[2048];
size_t transcriptLength;
bool watching;
uint32_t watchAt;
uint64_t watchedHash;
int contextsHeld;

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

uint32_t* PixelsOf(DrawContext* context, int32_t* width, int32_t* height) {
    if (context == nullptr)
        return nullptr;
    if (context->surface != nullptr) {
        *width = context->surface->width;
        *height = context->surface->height;
        return context->surface->pixels;
    }
    if (context->selected == nullptr)
        return nullptr;
    *width = context->selected->width;
    *height = context->selected->height;
    return context->selected->pixels;
}

uint32_t Rgb(uint32_t colour) {  // COLORREF 0x00BBGGRR to 0x00RRGGBB
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
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
FileHandle* CreateForWriting(const char* path) {
    return OpenHandle(MakeFile(path), true);
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

// A little-endian field of a BMP header.
uint32_t Field(const unsigned char* at, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | at[i];
    return value;
}

// FNV-1a over the pixels of the screen.
uint64_t HashPicture(const Surface& screen) {
    uint64_t hash = 14695981039346656037ull;
    for (int32_t i = 0; i < screen.width * screen.height; ++i) {
        hash = (hash ^ screen.pixels[i]) * 1099511628211ull;
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
    for (Surface& surface : surfaces)
        surface = Surface{};
    for (Bitmap& bitmap : bitmaps)
        bitmap = Bitmap{};
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
    frameHash = 0;
    refusals = NullRefusals{};
    surfacesMade = 0;
    transcript[0] = '\0';
    transcriptLength = 0;
    watching = false;
    watchedHash = 0;
    contextsHeld = 0;
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
    for (Surface& surface : surfaces) {
        if (surface.inUse && surface.primary)
            frameHash = HashPicture(surface);
    }
    return frameHash;
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
    int held = contextsHeld;
    for (const Surface& surface : surfaces)
        held += surface.inUse ? 1 : 0;
    for (const Bitmap& bitmap : bitmaps)
        held += bitmap.inUse ? 1 : 0;
    return held;
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
    const bool primary = (desc->dwCaps & DDSCAPS_PRIMARYSURFACE) != 0;
    const uint32_t width = primary ? 800 : desc->dwWidth;
    const uint32_t height = primary ? 600 : desc->dwHeight;
    if (++surfacesMade == refusals.surface || width == 0 || height == 0 ||
        width * height > static_cast<uint32_t>(largest))
        return E_FAIL;
    for (int i = 0; i < 6; ++i) {
        if (!surfaces[i].inUse) {
            surfaces[i] =
                Surface{true, primary, static_cast<int32_t>(width), static_cast<int32_t>(height), surfacePixels[i]};
            std::memset(surfacePixels[i], 0, sizeof surfacePixels[i]);
            *surface = &surfaces[i];
            return S_OK;
        }
    }
    return E_FAIL;
}
// Restored surfaces hold undefined pixels: here, magenta.
HRESULT PlatformRestoreAllSurfaces(DisplayDevice*) {
    for (Surface& surface : surfaces) {
        for (int32_t i = 0; surface.inUse && i < surface.width * surface.height; ++i)
            surface.pixels[i] = 0xFF00FF;
    }
    return S_OK;
}
HRESULT PlatformRestoreSurface(Surface*) {
    return S_OK;
}
HRESULT PlatformGetSurfaceSize(Surface* surface, uint32_t* width, uint32_t* height) {
    *width = static_cast<uint32_t>(surface->width);
    *height = static_cast<uint32_t>(surface->height);
    return S_OK;
}
void PlatformReleaseSurface(Surface* surface) {
    if (surface->primary)
        frameHash = HashPicture(*surface);
    surface->inUse = false;
}
void PlatformReleaseDisplay(DisplayDevice* display) {
    display->inUse = false;
}

HRESULT PlatformCopyRect(Surface* destination, int32_t x, int32_t y, Surface* source, const Rect* rect) {
    if (destination->primary && refusals.screenLostOnce) {
        refusals.screenLostOnce = false;
        return DDERR_SURFACELOST;
    }
    // Clipped to both surfaces, then a row at a time.
    int32_t left = rect->left, top = rect->top, right = rect->right, bottom = rect->bottom;
    if (left < 0) {
        x -= left;
        left = 0;
    }
    if (top < 0) {
        y -= top;
        top = 0;
    }
    if (x < 0) {
        left -= x;
        x = 0;
    }
    if (y < 0) {
        top -= y;
        y = 0;
    }
    if (right > source->width)
        right = source->width;
    if (bottom > source->height)
        bottom = source->height;
    if (right - left > destination->width - x)
        right = left + destination->width - x;
    if (bottom - top > destination->height - y)
        bottom = top + destination->height - y;
    for (int32_t row = top; row < bottom && left < right; ++row) {
        std::memcpy(destination->pixels + (y + row - top) * destination->width + x,
                    source->pixels + row * source->width + left, sizeof(uint32_t) * static_cast<size_t>(right - left));
    }
    return S_OK;
}
void PlatformPresent(Surface* screen) {
    if (watching && clockMs - watchAt < 0x80000000u) {
        watching = false;
        watchedHash = HashPicture(*screen);
    }
}

// ---- Bitmaps ----------------------------------------------------------------------------------

// Uncompressed 24- and 32-bit files, as the artwork generator writes them.
Bitmap* PlatformLoadBitmapFile(const char* path) {
    Bitmap* bitmap = !bitmaps[0].inUse ? &bitmaps[0] : !bitmaps[1].inUse ? &bitmaps[1] : nullptr;
    const bool missing = refusals.missingFile != nullptr && std::strcmp(path, refusals.missingFile) == 0;
    std::FILE* file = bitmap != nullptr && !missing ? std::fopen(path, "rb") : nullptr;
    if (file == nullptr)
        return nullptr;
    unsigned char header[54];
    bool ok = std::fread(header, 1, sizeof header, file) == sizeof header && header[0] == 'B' && header[1] == 'M';
    const int32_t width = ok ? static_cast<int32_t>(Field(header + 18, 4)) : 0;
    const int32_t height = ok ? static_cast<int32_t>(Field(header + 22, 4)) : 0;
    const uint32_t bits = ok ? Field(header + 28, 2) : 0;
    ok = ok && width > 0 && height != 0 && (bits == 24 || bits == 32) && Field(header + 30, 4) == 0 &&
         static_cast<int64_t>(width) * (height < 0 ? -height : height) <= largest;
    const int32_t rows = height < 0 ? -height : height;
    const size_t stride = (static_cast<size_t>(width) * bits / 8 + 3) / 4 * 4;
    ok = ok && std::fseek(file, static_cast<long>(Field(header + 10, 4)), SEEK_SET) == 0;
    unsigned char row[800 * 4];
    for (int32_t y = 0; ok && y < rows; ++y) {
        ok = stride <= sizeof row && std::fread(row, 1, stride, file) == stride;
        const int32_t line = height > 0 ? rows - 1 - y : y;  // positive heights are stored bottom-up
        for (int32_t x = 0; ok && x < width; ++x) {
            const unsigned char* pixel = row + x * (bits / 8);
            bitmapPixels[bitmap - bitmaps][line * width + x] = (pixel[2] << 16) | (pixel[1] << 8) | pixel[0];
        }
    }
    std::fclose(file);
    if (!ok)
        return nullptr;
    *bitmap = Bitmap{true, width, rows, bitmapPixels[bitmap - bitmaps]};
    return bitmap;
}
void PlatformGetBitmapSize(Bitmap* bitmap, int32_t* width, int32_t* height) {
    *width = bitmap->width;
    *height = bitmap->height;
}
void PlatformDeleteBitmap(Bitmap* bitmap) {
    bitmap->inUse = false;
}

// ---- Drawing contexts and text ------------------------------------------------------------------

DrawContext* PlatformCreateMemoryContext() {
    ++contextsHeld;
    memoryContext = DrawContext{};
    return &memoryContext;
}
void PlatformSelectBitmap(DrawContext* context, Bitmap* bitmap) {
    context->selected = bitmap;
}
void PlatformDeleteMemoryContext(DrawContext* context) {
    --contextsHeld;
    context->selected = nullptr;
}
HRESULT PlatformGetDC(Surface* surface, DrawContext** context) {
    static DrawContext surfaceContexts[6];
    DrawContext* own = &surfaceContexts[surface - surfaces];
    *own = DrawContext{surface, nullptr, 0, 0};
    *context = own;
    ++contextsHeld;
    return S_OK;
}
HRESULT PlatformReleaseDC(Surface*, DrawContext*) {
    --contextsHeld;
    return S_OK;
}

void PlatformStretchCopy(DrawContext* destination, int32_t x, int32_t y, int32_t width, int32_t height,
                         DrawContext* source, int32_t sourceX, int32_t sourceY, int32_t sourceWidth,
                         int32_t sourceHeight) {
    int32_t toWidth = 0, toHeight = 0, fromWidth = 0, fromHeight = 0;
    uint32_t* to = PixelsOf(destination, &toWidth, &toHeight);
    const uint32_t* from = PixelsOf(source, &fromWidth, &fromHeight);
    if (to == nullptr || from == nullptr || width <= 0 || height <= 0)
        return;
    for (int32_t row = 0; row < height; ++row) {
        const int32_t fromY = sourceY + row * sourceHeight / height;
        for (int32_t column = 0; column < width; ++column) {
            const int32_t fromX = sourceX + column * sourceWidth / width;
            const int32_t toX = x + column, toY = y + row;
            if (toX < 0 || toY < 0 || toX >= toWidth || toY >= toHeight || fromX < 0 || fromY < 0 ||
                fromX >= fromWidth || fromY >= fromHeight) {
                continue;
            }
            to[toY * toWidth + toX] = from[fromY * fromWidth + fromX];
        }
    }
}

void PlatformSetOpaqueBackground(DrawContext*) {}
void PlatformSetBackgroundColour(DrawContext* context, uint32_t colour) {
    context->backgroundColour = colour;
}
void PlatformSetTextColour(DrawContext* context, uint32_t colour) {
    context->textColour = colour;
}

// Each letter is a 7 x 15 box in the background colour with a pattern of its code in the text
// colour: not legible, but every letter, place and colour changes the picture.
void PlatformTextOut(DrawContext* context, int32_t x, int32_t y, const char* text, int32_t count) {
    int32_t width = 0, height = 0;
    uint32_t* pixels = PixelsOf(context, &width, &height);
    if (pixels == nullptr)
        return;
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t code = static_cast<unsigned char>(text[i]) * 2654435761u;
        for (int32_t row = 0; row < 15; ++row) {
            for (int32_t column = 0; column < 7; ++column) {
                const int32_t px = x + 7 * i + column, py = y + row;
                if (px < 0 || py < 0 || px >= width || py >= height)
                    continue;
                const bool ink = ((code >> ((row * 7 + column) % 31)) & 1) != 0;
                pixels[py * width + px] = Rgb(ink ? context->textColour : context->backgroundColour);
            }
        }
    }
}
