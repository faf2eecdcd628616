// The recording fake behind platform/platform.h: answers as configured and writes down every call.
#include "tests/shell/fake_platform.h"

#include <cstdio>
#include <cstring>

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
    bool live;
};
struct Bitmap {
    std::string path;
    int32_t width;
    int32_t height;
    bool live;
};
struct DrawContext {
    std::string owner;  // a surface name, or "memory"
    bool opaque;
    uint32_t backgroundColour;
    uint32_t textColour;
};
struct FileHandle {
    std::string path;
    std::string bytes;
    size_t readAt;
    bool writing;
};

namespace fake {

Platform state;

namespace {

PlatformWindow theWindow;
DisplayDevice theDisplay;
// Fixed pools: pointers into them stay valid for the whole test run, released or not.
Surface surfaces[64];
int32_t surfacesUsed = 0;
Bitmap bitmaps[64];
int32_t bitmapsUsed = 0;
DrawContext contexts[64];
int32_t contextsUsed = 0;
FileHandle fileHandles[16];
int32_t fileHandlesUsed = 0;

Surface* NewSurface(const std::string& name, uint32_t width, uint32_t height) {
    Surface* surface = &surfaces[surfacesUsed++ % 64];
    *surface = Surface{name, width, height, true};
    ++state.liveSurfaces;
    return surface;
}

DrawContext* NewContext(const std::string& owner) {
    DrawContext* context = &contexts[contextsUsed++ % 64];
    // A fresh context has the platform's defaults: transparent text boxes, black on white.
    *context = DrawContext{owner, false, 0xFFFFFF, 0x000000};
    return context;
}

FileHandle* NewFileHandle(const std::string& path, bool writing) {
    FileHandle* file = &fileHandles[fileHandlesUsed++ % 16];
    *file = FileHandle{path, writing ? std::string() : state.files[path], 0, writing};
    return file;
}

void Log(const std::string& entry) {
    state.log.push_back(entry);
}

bool NullUse(const void* pointer, const char* service) {
    if (pointer == nullptr) {
        state.nullUses.push_back(service);
        return true;
    }
    return false;
}

FileHandle* FakeOpenForReading(const char* path) {
    Log(std::string("OpenForReading ") + path);
    if (state.files.count(path) == 0) {
        return nullptr;
    }
    return NewFileHandle(path, false);
}

bool FakeReadByte(FileHandle* file, unsigned char* byte) {
    if (file->readAt >= file->bytes.size()) {
        return false;
    }
    *byte = static_cast<unsigned char>(file->bytes[file->readAt++]);
    return true;
}

void FakeCloseReading(FileHandle* file) {
    Log("CloseReading " + file->path);
}

FileHandle* FakeCreateForWriting(const char* path) {
    Log(std::string("CreateForWriting ") + path);
    return NewFileHandle(path, true);
}

bool FakeWriteBytes(FileHandle* file, const void* bytes, size_t count) {
    file->bytes.append(static_cast<const char*>(bytes), count);
    return true;
}

bool FakeFinishWriting(FileHandle* file) {
    state.files[file->path] = file->bytes;
    return true;
}

bool FakeReplaceFile(const char* from, const char* to) {
    Log(std::string("ReplaceFile ") + to);
    state.files[to] = state.files[from];
    state.files.erase(from);
    state.replacedFiles.push_back(to);
    return true;
}

bool FakeRemoveFile(const char* path) {
    state.files.erase(path);
    return true;
}

}  // namespace

void Reset() {
    state = Platform();
    state.bitmapFiles["textures/background.bmp"] = {800, 600};
    state.bitmapFiles["textures/cube.bmp"] = {64, 464};
    state.bitmapFiles["textures/icons.bmp"] = {320, 32};
}

void ClearRecords() {
    state.log.clear();
    state.copies.clear();
    state.texts.clear();
    state.stretches.clear();
    state.messageBoxes.clear();
    state.debugLines.clear();
    state.nullUses.clear();
    state.displayModes.clear();
    state.surfaceDescs.clear();
    state.replacedFiles.clear();
}

WindowHandle Window() {
    return &theWindow;
}

std::string SurfaceName(const Surface* surface) {
    return surface == nullptr ? "null" : surface->name;
}

Surface* MakeSurface(const char* name) {
    return NewSurface(name, 0, 0);
}

std::vector<std::string> LogEntries(const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& entry : state.log) {
        if (entry.compare(0, prefix.size(), prefix) == 0) {
            found.push_back(entry);
        }
    }
    return found;
}

Message KeyDown(uintptr_t key) {
    return Message{&theWindow, WM_KEYDOWN, key, 0};
}

Message WindowMessage(uint32_t message, uintptr_t wParam) {
    return Message{&theWindow, message, wParam, 0};
}

}  // namespace fake

using fake::state;

const FileAccess platformFileAccess = {
    fake::FakeOpenForReading, fake::FakeReadByte,   fake::FakeCloseReading, fake::FakeCreateForWriting,
    fake::FakeWriteBytes,     fake::FakeFinishWriting, fake::FakeReplaceFile, fake::FakeRemoveFile,
};

WindowHandle PlatformCreateWindow() {
    fake::Log("CreateWindow");
    return state.windowCreated ? &fake::theWindow : nullptr;
}

void PlatformShowWindow(WindowHandle window, int showCommand) {
    fake::NullUse(window, "ShowWindow");
    fake::Log("ShowWindow " + std::to_string(showCommand));
}

bool PlatformCreateTimer(WindowHandle window) {
    fake::NullUse(window, "CreateTimer");
    fake::Log("CreateTimer");
    return state.timerCreated;
}

bool PlatformPeekMessage(Message* message) {
    fake::Log("PeekMessage");
    if (!state.posted.empty()) {
        *message = state.posted.front();
        state.posted.pop_front();
        return true;
    }
    if (!state.script.empty()) {
        std::optional<Message> next = state.script.front();
        state.script.pop_front();
        if (!next) {
            return false;
        }
        *message = *next;
        return true;
    }
    // A loop that outlives its script is ended with a code no program path produces.
    state.scriptRanOut = true;
    *message = Message{&fake::theWindow, WM_QUIT, 99, 0};
    return true;
}

void PlatformDispatchMessage(const Message* message) {
    fake::Log("Dispatch " + std::to_string(message->message));
    MainWndProc(message->window, message->message, message->wParam, message->lParam);
}

intptr_t PlatformDefaultHandling(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    fake::Log("DefaultHandling " + std::to_string(message));
    if (message == WM_CLOSE && !state.windowDestroyed) {
        // As on Windows: default handling of a close request destroys the window, which sends WM_DESTROY.
        state.windowDestroyed = true;
        MainWndProc(window, WM_DESTROY, 0, 0);
    }
    (void)wParam;
    (void)lParam;
    return 0;
}

void PlatformPostCloseRequest(WindowHandle window) {
    fake::NullUse(window, "PostCloseRequest");
    fake::Log("PostCloseRequest");
    state.posted.push_back(Message{window, WM_CLOSE, 0, 0});
}

void PlatformPostQuit(int exitCode) {
    fake::Log("PostQuit " + std::to_string(exitCode));
    state.posted.push_back(Message{nullptr, WM_QUIT, static_cast<uintptr_t>(exitCode), 0});
}

void PlatformHidePointer() {
    fake::Log("HidePointer");
}

void PlatformShowArrowPointer() {
    fake::Log("ShowArrowPointer");
}

bool PlatformShiftHeld() {
    fake::Log("ShiftHeld");
    return state.shiftHeld;
}

uint32_t PlatformClockMs() {
    fake::Log("ClockMs");
    return state.clockMs;
}

void PlatformMessageBox(WindowHandle owner, const char* text, const char* caption) {
    fake::NullUse(owner, "MessageBox");
    fake::Log(std::string("MessageBox ") + text);
    state.messageBoxes.push_back(std::string(caption) + ": " + text);
}

void PlatformDebugOutput(const char* text) {
    state.debugLines.push_back(text);
}

HRESULT PlatformCreateDisplay(DisplayDevice** display) {
    fake::Log("CreateDisplay");
    if (state.createDisplayResult != S_OK) {
        return state.createDisplayResult;
    }
    *display = &fake::theDisplay;
    return S_OK;
}

HRESULT PlatformSetCooperativeLevel(DisplayDevice* display, WindowHandle window) {
    fake::NullUse(display, "SetCooperativeLevel");
    fake::NullUse(window, "SetCooperativeLevel window");
    fake::Log("SetCooperativeLevel");
    return state.cooperativeLevelResult;
}

HRESULT PlatformSetDisplayMode(DisplayDevice* display, uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
    fake::NullUse(display, "SetDisplayMode");
    fake::Log("SetDisplayMode " + std::to_string(width) + "x" + std::to_string(height) + "x" +
              std::to_string(bitsPerPixel));
    state.displayModes.push_back(bitsPerPixel);
    return state.refusedDepths.count(bitsPerPixel) != 0 ? E_FAIL : S_OK;
}

HRESULT PlatformCreateSurface(DisplayDevice* display, const SurfaceDesc* desc, Surface** surface) {
    if (fake::NullUse(display, "CreateSurface")) {
        return E_FAIL;
    }
    state.surfaceDescs.push_back(*desc);
    std::string name = "unknown";
    if (desc->dwCaps == DDSCAPS_PRIMARYSURFACE) {
        name = "primary";
    } else if (desc->dwWidth == 800 && desc->dwHeight == 600) {
        name = "back";
    } else if (desc->dwWidth == 64 && desc->dwHeight == 464) {
        name = "cube";
    } else if (desc->dwWidth == 320 && desc->dwHeight == 32) {
        name = "icons";
    }
    fake::Log("CreateSurface " + name);
    auto failure = state.createSurfaceResult.find(name);
    if (failure != state.createSurfaceResult.end() && failure->second != S_OK) {
        return failure->second;
    }
    bool primary = name == "primary";
    *surface = fake::NewSurface(name, primary ? 800 : desc->dwWidth, primary ? 600 : desc->dwHeight);
    return S_OK;
}

HRESULT PlatformRestoreAllSurfaces(DisplayDevice* display) {
    fake::NullUse(display, "RestoreAllSurfaces");
    fake::Log("RestoreAllSurfaces");
    return S_OK;
}

HRESULT PlatformRestoreSurface(Surface* surface) {
    if (fake::NullUse(surface, "RestoreSurface")) {
        return E_FAIL;
    }
    fake::Log("RestoreSurface " + surface->name);
    return S_OK;
}

HRESULT PlatformGetSurfaceSize(Surface* surface, uint32_t* width, uint32_t* height) {
    if (fake::NullUse(surface, "GetSurfaceSize")) {
        return E_FAIL;
    }
    *width = surface->width;
    *height = surface->height;
    return S_OK;
}

void PlatformReleaseSurface(Surface* surface) {
    if (fake::NullUse(surface, "ReleaseSurface")) {
        return;
    }
    if (!surface->live) {
        state.nullUses.push_back("ReleaseSurface twice: " + surface->name);
    }
    surface->live = false;
    --state.liveSurfaces;
    fake::Log("ReleaseSurface " + surface->name);
}

void PlatformReleaseDisplay(DisplayDevice* display) {
    fake::NullUse(display, "ReleaseDisplay");
    fake::Log("ReleaseDisplay");
}

HRESULT PlatformCopyRect(Surface* destination, int32_t x, int32_t y, Surface* source, const Rect* sourceRect) {
    if (fake::NullUse(destination, "CopyRect destination") || fake::NullUse(source, "CopyRect source")) {
        return E_FAIL;
    }
    fake::Log("CopyRect " + source->name + "->" + destination->name);
    state.copies.push_back(fake::CopyRecord{destination->name, x, y, source->name, *sourceRect});
    if (destination->name == "primary") {
        return state.presentCopyResult;
    }
    return S_OK;
}

void PlatformPresent(Surface* primary) {
    fake::NullUse(primary, "Present");
    fake::Log("Present " + fake::SurfaceName(primary));
}

Bitmap* PlatformLoadBitmapResource(const char* name) {
    fake::Log(std::string("LoadBitmapResource ") + name);
    return nullptr;
}

Bitmap* PlatformLoadBitmapFile(const char* path) {
    fake::Log(std::string("LoadBitmapFile ") + path);
    auto file = state.bitmapFiles.find(path);
    if (file == state.bitmapFiles.end()) {
        return nullptr;
    }
    Bitmap* bitmap = &fake::bitmaps[fake::bitmapsUsed++ % 64];
    *bitmap = Bitmap{path, file->second.width, file->second.height, true};
    ++state.liveBitmaps;
    return bitmap;
}

void PlatformGetBitmapSize(Bitmap* bitmap, int32_t* width, int32_t* height) {
    if (fake::NullUse(bitmap, "GetBitmapSize")) {
        return;
    }
    *width = bitmap->width;
    *height = bitmap->height;
}

void PlatformDeleteBitmap(Bitmap* bitmap) {
    if (fake::NullUse(bitmap, "DeleteBitmap")) {
        return;
    }
    bitmap->live = false;
    --state.liveBitmaps;
    fake::Log("DeleteBitmap " + bitmap->path);
}

DrawContext* PlatformCreateMemoryContext() {
    fake::Log("CreateMemoryContext");
    if (!state.memoryContextCreated) {
        return nullptr;
    }
    ++state.openContexts;
    return fake::NewContext("memory");
}

static std::string selectedBitmap;

void PlatformSelectBitmap(DrawContext* context, Bitmap* bitmap) {
    if (fake::NullUse(context, "SelectBitmap") || fake::NullUse(bitmap, "SelectBitmap bitmap")) {
        return;
    }
    selectedBitmap = bitmap->path;
    fake::Log("SelectBitmap " + bitmap->path);
}

void PlatformDeleteMemoryContext(DrawContext* context) {
    if (fake::NullUse(context, "DeleteMemoryContext")) {
        return;
    }
    --state.openContexts;
    fake::Log("DeleteMemoryContext");
}

HRESULT PlatformGetDC(Surface* surface, DrawContext** context) {
    if (fake::NullUse(surface, "GetDC")) {
        return E_FAIL;
    }
    fake::Log("GetDC " + surface->name);
    auto failure = state.getDcResult.find(surface->name);
    if (failure != state.getDcResult.end() && failure->second != S_OK) {
        return failure->second;
    }
    ++state.openContexts;
    *context = fake::NewContext(surface->name);
    return S_OK;
}

HRESULT PlatformReleaseDC(Surface* surface, DrawContext* context) {
    if (fake::NullUse(surface, "ReleaseDC") || fake::NullUse(context, "ReleaseDC context")) {
        return E_FAIL;
    }
    --state.openContexts;
    fake::Log("ReleaseDC " + surface->name);
    return S_OK;
}

void PlatformStretchCopy(DrawContext* destination, int32_t x, int32_t y, int32_t width, int32_t height,
                         DrawContext* source, int32_t sourceX, int32_t sourceY, int32_t sourceWidth,
                         int32_t sourceHeight) {
    if (fake::NullUse(destination, "StretchCopy destination") || fake::NullUse(source, "StretchCopy source")) {
        return;
    }
    fake::Log("StretchCopy " + destination->owner);
    state.stretches.push_back(fake::StretchRecord{destination->owner, x, y, width, height, selectedBitmap, sourceX,
                                                  sourceY, sourceWidth, sourceHeight});
}

void PlatformSetOpaqueBackground(DrawContext* context) {
    if (fake::NullUse(context, "SetOpaqueBackground")) {
        return;
    }
    context->opaque = true;
}

void PlatformSetBackgroundColour(DrawContext* context, uint32_t colour) {
    if (fake::NullUse(context, "SetBackgroundColour")) {
        return;
    }
    context->backgroundColour = colour;
}

void PlatformSetTextColour(DrawContext* context, uint32_t colour) {
    if (fake::NullUse(context, "SetTextColour")) {
        return;
    }
    context->textColour = colour;
}

void PlatformTextOut(DrawContext* context, int32_t x, int32_t y, const char* text, int32_t count) {
    if (fake::NullUse(context, "TextOut") || fake::NullUse(text, "TextOut text")) {
        return;
    }
    if (count < 0 || count > 255 || std::strlen(text) < static_cast<size_t>(count)) {
        state.nullUses.push_back("TextOut count past the text");
        return;
    }
    std::string written(text, static_cast<size_t>(count));
    fake::Log("TextOut " + written);
    state.texts.push_back(
        fake::TextRecord{x, y, written, context->textColour, context->backgroundColour, context->opaque});
}
