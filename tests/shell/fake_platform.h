// A recording fake of every platform service, so the shell and the display run without a screen.
#pragma once
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace fake {

struct CopyRecord {
    std::string destination;  // surface names: "primary", "back", "cube", "icons"
    int32_t x;
    int32_t y;
    std::string source;
    Rect rect;
};

struct TextRecord {
    int32_t x;
    int32_t y;
    std::string text;
    uint32_t textColour;
    uint32_t backgroundColour;
    bool opaque;
};

struct StretchRecord {
    std::string surface;
    int32_t x, y, width, height;
    std::string bitmap;
    int32_t sourceX, sourceY, sourceWidth, sourceHeight;
};

struct BitmapFile {
    int32_t width;
    int32_t height;
};

struct Platform {
    // What the machine answers.
    bool windowCreated = true;
    bool timerCreated = true;
    HRESULT createDisplayResult = S_OK;
    HRESULT cooperativeLevelResult = S_OK;
    std::set<uint32_t> refusedDepths;
    std::map<std::string, HRESULT> createSurfaceResult;  // by surface name; S_OK when absent
    std::map<std::string, HRESULT> getDcResult;          // by surface name; S_OK when absent
    HRESULT presentCopyResult = S_OK;                    // the copy onto the primary surface
    bool memoryContextCreated = true;
    bool shiftHeld = false;
    uint32_t clockMs = 0;
    std::map<std::string, BitmapFile> bitmapFiles;  // files that can be read, by path

    // The queue: messages posted by the program come first; then, one per peek, the test's script,
    // where an empty entry is a turn that finds no message.
    std::deque<Message> posted;
    std::deque<std::optional<Message>> script;
    bool scriptRanOut = false;

    // What the program did.
    std::vector<std::string> log;
    std::vector<CopyRecord> copies;
    std::vector<TextRecord> texts;
    std::vector<StretchRecord> stretches;
    std::vector<std::string> messageBoxes;  // "caption: text"
    std::vector<std::string> debugLines;
    std::vector<std::string> nullUses;  // services called through a null pointer
    std::vector<uint32_t> displayModes;
    std::vector<SurfaceDesc> surfaceDescs;
    int32_t openContexts = 0;  // obtained and not yet given back
    int32_t liveSurfaces = 0;
    int32_t liveBitmaps = 0;
    bool windowDestroyed = false;

    // The files behind platformFileAccess.
    std::map<std::string, std::string> files;
    std::vector<std::string> replacedFiles;  // target of every replacement, in order
};

extern Platform state;

// Back to a machine that answers everything with success, with the three bitmaps present.
void Reset();
// Forgets what was recorded; keeps the configuration and the files.
void ClearRecords();

// The one window the fake creates.
WindowHandle Window();

// The name that the fake gave a surface ("primary", "back", "cube", "icons"), or "null".
std::string SurfaceName(const Surface* surface);

// A surface of that name made outside InitDisplay, for tests that set the display up by hand.
Surface* MakeSurface(const char* name);

// The log entries that start with prefix, in order.
std::vector<std::string> LogEntries(const std::string& prefix);

Message KeyDown(uintptr_t key);
Message WindowMessage(uint32_t message, uintptr_t wParam);

}  // namespace fake
