// The recording fake behind platform/platform.h: answers as configured and writes down every call.
#include "tests/shell/fake_platform.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "app/app.h"

// The fake's own stand-ins for the handles; the program sees them only as opaque pointers.
struct PlatformWindow {
    int unused;
};
struct DisplayDevice {
    int unused;
};
struct Surface {
    std::string name;
    uint32_t width;
    uint32_t height;
};
struct Bitmap {
    std::string path;
};
struct DrawContext {
    std::string owner;  // a surface name, or "memory"
    bool opaque;
    uint32_t background;
    uint32_t textColour;
};
struct FileHandle {
    std::string path;
    std::string bytes;
    size_t readAt;
};

namespace fake {

Platform state;

namespace {

PlatformWindow theWindow;
DisplayDevice theDisplay;
// Fixed pools, reused in turn: a handle stays valid long after its test has let it go.
Surface surfaces[64];
Bitmap bitmaps[64];
DrawContext contexts[64];
FileHandle files[16];
int32_t used = 0;
std::string selectedBitmap;

template <typename T, size_t n>
T* Take(T (&pool)[n], T value) {
    T* item = &pool[used++ % n];
    *item = value;
    return item;
}

void Write(const std::string& line) {
    state.log.push_back(line);
}

FileHandle* OpenForReading(const char* path) {
    Write(Format("OpenForReading %s", path));
    auto file = state.files.find(path);
    return file == state.files.end() ? nullptr : Take(files, FileHandle{path, file->second, 0});
}
bool ReadByte(FileHandle* file, unsigned char* byte) {
    if (file->readAt >= file->bytes.size())
        return false;
    *byte = static_cast<unsigned char>(file->bytes[file->readAt++]);
    return true;
}
bool ReadFailed(FileHandle*) {
    return false;
}
bool Exists(const char* path) {
    return state.files.count(path) == 1;
}
void CloseReading(FileHandle* file) {
    Write(Format("CloseReading %s", file->path.c_str()));
}
FileHandle* CreateForWriting(const char* path) {
    return Take(files, FileHandle{path, "", 0});
}
bool WriteBytes(FileHandle* file, const void* bytes, size_t count) {
    file->bytes.append(static_cast<const char*>(bytes), count);
    return true;
}
bool FinishWriting(FileHandle* file) {
    state.files[file->path] = file->bytes;
    return true;
}
bool ReplaceFile(const char* from, const char* to) {
    Write(Format("ReplaceFile %s", to));
    state.files[to] = state.files[from];
    state.files.erase(from);
    return true;
}
bool RemoveFile(const char* path) {
    return state.files.erase(path) == 1;
}

}  // namespace

void Reset() {
    state = Platform();
}

void ClearRecords() {
    state.log.clear();
    state.texts.clear();
}

WindowHandle Window() {
    return &theWindow;
}

std::string Name(const Surface* surface) {
    return surface == nullptr ? "null" : surface->name;
}

std::string Format(const char* format, ...) {
    char text[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return text;
}

std::vector<std::string> Log(std::initializer_list<const char*> prefixes) {
    std::vector<std::string> found;
    for (const std::string& line : state.log)
        for (const char* prefix : prefixes)
            if (line.rfind(prefix, 0) == 0) {
                found.push_back(line);
                break;
            }
    return found;
}

int Count(const char* prefix) {
    return static_cast<int>(Log({prefix}).size());
}

}  // namespace fake

using fake::Format;
using fake::state;
using fake::Write;

const FileAccess platformFileAccess = {fake::OpenForReading, fake::ReadByte,      fake::ReadFailed,
                                       fake::Exists,         fake::CloseReading,  fake::CreateForWriting,
                                       fake::WriteBytes,     fake::FinishWriting, fake::ReplaceFile,
                                       fake::RemoveFile,     PlatformDebugOutput};

// The shell's own until a window is made with another; tests dispatch without making one.
static WindowProcedure procedure = MainWndProc;

WindowHandle PlatformCreateWindow(WindowProcedure windowProcedure) {
    procedure = windowProcedure;
    Write("CreateWindow");
    return state.windowCreated ? &fake::theWindow : nullptr;
}
void PlatformShowWindow(WindowHandle, int showCommand) {
    Write(Format("ShowWindow %d", showCommand));
}
bool PlatformCreateTimer(WindowHandle) {
    Write("CreateTimer");
    return state.timerCreated;
}

bool PlatformPeekMessage(Message* message) {
    Write("PeekMessage");
    std::deque<Message>& queue = state.posted.empty() ? state.script : state.posted;
    // A loop that outlives its script is ended with a code that no path of the program gives.
    *message = queue.empty() ? Message{nullptr, WM_QUIT, 99, 0} : queue.front();
    if (!queue.empty())
        queue.pop_front();
    return message->message != 0;
}

void PlatformDispatchMessage(const Message* message) {
    procedure(message->window, message->message, message->wParam, message->lParam);
}

intptr_t PlatformDefaultHandling(WindowHandle window, uint32_t message, uintptr_t, intptr_t) {
    Write(Format("DefaultHandling %u", message));
    if (message == WM_CLOSE)
        procedure(window, WM_DESTROY, 0, 0);  // the window is destroyed
    return 0;
}

void PlatformPostCloseRequest(WindowHandle window) {
    Write("PostCloseRequest");
    state.posted.push_back(Message{window, WM_CLOSE, 0, 0});
}
void PlatformPostQuit(int exitCode) {
    Write(Format("PostQuit %d", exitCode));
    state.posted.push_back(Message{nullptr, WM_QUIT, static_cast<uintptr_t>(exitCode), 0});
}
void PlatformHidePointer() {
    Write("HidePointer");
}
void PlatformShowArrowPointer() {
    Write("ShowArrowPointer");
}
bool PlatformShiftHeld() {
    Write("ShiftHeld");
    return state.shiftHeld;
}
bool PlatformFrameWanted() {
    return true;
}
void PlatformIdleWorkDueAt(uint32_t nextStepAt, bool stepTaken) {
    state.idleWorkDueKnown = true;
    state.idleWorkDueAt = nextStepAt;
    state.idleWorkStepTaken = stepTaken;
}
uint32_t PlatformClockMs() {
    Write("ClockMs");
    return state.clockMs;
}
void PlatformMessageBox(WindowHandle, const char* text, const char* caption) {
    Write(Format("MessageBox %s: %s", caption, text));
}
void PlatformDebugOutput(const char* text) {
    Write(Format("Debug %s", text));
}

HRESULT PlatformCreateDisplay(DisplayDevice** display) {
    Write("CreateDisplay");
    if (state.createDisplayResult == S_OK)
        *display = &fake::theDisplay;
    return state.createDisplayResult;
}
HRESULT PlatformSetCooperativeLevel(DisplayDevice*, WindowHandle) {
    Write("SetCooperativeLevel");
    return state.cooperativeLevelResult;
}
HRESULT PlatformSetDisplayMode(DisplayDevice*, uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
    Write(Format("SetDisplayMode %ux%ux%u", width, height, bitsPerPixel));
    return state.refusedDepths.count(bitsPerPixel) != 0 ? E_FAIL : S_OK;
}

// A surface is named only when its whole description is right; any other is "bad description".
HRESULT PlatformCreateSurface(DisplayDevice*, const SurfaceDesc* d, Surface** surface) {
    const uint32_t sized = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    const struct {
        const char* name;
        uint32_t flags, caps, width, height;
    } kinds[] = {{"primary", DDSD_CAPS, DDSCAPS_PRIMARYSURFACE, 0, 0},
                 {"back", sized, DDSCAPS_OFFSCREENPLAIN, 800, 600},
                 {"cube", sized, DDSCAPS_OFFSCREENPLAIN, 64, 464},
                 {"icons", sized, DDSCAPS_OFFSCREENPLAIN, 320, 32}};
    std::string name = "bad description";
    for (const auto& k : kinds)
        if (d->dwSize == 124 && d->dwFlags == k.flags && d->dwCaps == k.caps && d->dwWidth == k.width &&
            d->dwHeight == k.height)
            name = k.name;
    Write(Format("CreateSurface %s", name.c_str()));
    if (name == state.failingSurface)
        return DDERR_SURFACELOST;
    *surface = fake::Take(fake::surfaces,
                          Surface{name, name == "primary" ? 800 : d->dwWidth, name == "primary" ? 600 : d->dwHeight});
    return S_OK;
}

HRESULT PlatformRestoreAllSurfaces(DisplayDevice*) {
    Write("RestoreAllSurfaces");
    return S_OK;
}
HRESULT PlatformRestoreSurface(Surface* surface) {
    Write(Format("RestoreSurface %s", surface->name.c_str()));
    return S_OK;
}
HRESULT PlatformGetSurfaceSize(Surface* surface, uint32_t* width, uint32_t* height) {
    *width = surface->width;
    *height = surface->height;
    return S_OK;
}
void PlatformReleaseSurface(Surface* surface) {
    Write(Format("ReleaseSurface %s", surface->name.c_str()));
}
void PlatformReleaseDisplay(DisplayDevice*) {
    Write("ReleaseDisplay");
}

HRESULT PlatformCopyRect(Surface* destination, int32_t x, int32_t y, Surface* source, const Rect* r) {
    Write(Format("CopyRect %s->%s %d %d %d %d %d %d", source->name.c_str(), destination->name.c_str(), x, y, r->left,
                 r->top, r->right, r->bottom));
    return destination->name == "primary" ? state.presentCopyResult : S_OK;
}
void PlatformPresent(Surface* primary) {
    Write(Format("Present %s", primary->name.c_str()));
}

Bitmap* PlatformLoadBitmapFile(const char* path) {
    Write(Format("LoadBitmapFile %s", path));
    const std::set<std::string> present = {"textures/background.bmp", "textures/cube.bmp", "textures/icons.bmp"};
    if (present.count(path) == 0)
        return nullptr;
    ++state.liveBitmaps;
    return fake::Take(fake::bitmaps, Bitmap{path});
}
void PlatformGetBitmapSize(Bitmap*, int32_t* width, int32_t* height) {
    *width = 640;
    *height = 480;
}
void PlatformDeleteBitmap(Bitmap* bitmap) {
    --state.liveBitmaps;
    Write(Format("DeleteBitmap %s", bitmap->path.c_str()));
}

DrawContext* PlatformCreateMemoryContext() {
    Write("CreateMemoryContext");
    if (!state.memoryContextCreated)
        return nullptr;
    ++state.openContexts;
    return fake::Take(fake::contexts, DrawContext{"memory", false, 0xFFFFFF, 0});
}
void PlatformSelectBitmap(DrawContext*, Bitmap* bitmap) {
    fake::selectedBitmap = bitmap->path;
}
void PlatformDeleteMemoryContext(DrawContext*) {
    --state.openContexts;
}
HRESULT PlatformGetDC(Surface* surface, DrawContext** context) {
    Write(Format("GetDC %s", surface->name.c_str()));
    if (state.getDcResult != S_OK)
        return state.getDcResult;
    ++state.openContexts;
    // A fresh context has the platform's defaults: transparent text boxes, black on white.
    *context = fake::Take(fake::contexts, DrawContext{surface->name, false, 0xFFFFFF, 0});
    return S_OK;
}
HRESULT PlatformReleaseDC(Surface* surface, DrawContext*) {
    --state.openContexts;
    Write(Format("ReleaseDC %s", surface->name.c_str()));
    return S_OK;
}

void PlatformStretchCopy(DrawContext* to, int32_t x, int32_t y, int32_t width, int32_t height, DrawContext* from,
                         int32_t fromX, int32_t fromY, int32_t fromWidth, int32_t fromHeight) {
    Write(Format("StretchCopy %s %d %d %d %d <- %s %s %d %d %d %d", to->owner.c_str(), x, y, width, height,
                 from->owner.c_str(), fake::selectedBitmap.c_str(), fromX, fromY, fromWidth, fromHeight));
}
void PlatformSetOpaqueBackground(DrawContext* context) {
    context->opaque = true;
}
void PlatformSetBackgroundColour(DrawContext* context, uint32_t colour) {
    context->background = colour;
}
void PlatformSetTextColour(DrawContext* context, uint32_t colour) {
    context->textColour = colour;
}

void PlatformTextOut(DrawContext* context, int32_t x, int32_t y, const char* text, int32_t count) {
    // The count must stay within the text, and within the 255 characters of the program's buffers.
    if (count < 0 || count > 255 || std::strlen(text) < static_cast<size_t>(count)) {
        Write("TextOut past its text");
        return;
    }
    const std::string written(text, static_cast<size_t>(count));
    Write(Format("TextOut %s", written.c_str()));
    state.texts.push_back(fake::Text{x, y, written, context->textColour, context->opaque && context->background == 0});
}
