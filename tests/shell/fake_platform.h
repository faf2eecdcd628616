// A recording fake of every platform service, so the shell and the display run without a screen.
#pragma once
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace fake {

struct Text {
    int32_t x;
    int32_t y;
    std::string text;
    uint32_t colour;
    bool onBlack;  // drawn in an opaque box filled black
};

struct Platform {
    // What the machine answers.
    bool windowCreated = true;
    bool timerCreated = true;
    bool memoryContextCreated = true;
    bool shiftHeld = false;
    HRESULT createDisplayResult = S_OK;
    HRESULT cooperativeLevelResult = S_OK;
    HRESULT getDcResult = S_OK;
    HRESULT presentCopyResult = S_OK;  // of the copy onto the primary surface
    std::set<uint32_t> refusedDepths;
    std::string failingSurface;  // "primary", "back", "cube" or "icons"
    uint32_t clockMs = 0;
    bool idleWorkDueKnown = false;  // what the idle work last told of its next step
    uint32_t idleWorkDueAt = 0;
    bool idleWorkStepTaken = false;
    // Messages the program posted come first, then the test's script; message 0 is a turn without one.
    std::deque<Message> posted;
    std::deque<Message> script;
    std::map<std::string, std::string> files;  // behind platformFileAccess

    // What the program did: every call as a short line, and each text in detail.
    std::vector<std::string> log;
    std::vector<Text> texts;
    int32_t openContexts = 0;
    int32_t liveBitmaps = 0;
};

extern Platform state;

// A machine that grants everything and has the three bitmaps (each 640 x 480); nothing recorded.
void Reset();
void ClearRecords();
WindowHandle Window();
std::string Name(const Surface* surface);  // "primary", "back", "cube", "icons", or "null"
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The log lines that begin with any of the prefixes, in order.
std::vector<std::string> Log(std::initializer_list<const char*> prefixes);
int Count(const char* prefix);

}  // namespace fake
