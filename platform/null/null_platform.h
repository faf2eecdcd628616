// The null platform: every service of platform.h in memory. Keys and the clock come from a script,
// the picture stays in memory, and the score file lives in a small in-memory folder. Replays and
// headless benchmarks run the real WinMain and IdleTurn on it.
#pragma once
#include "platform/platform.h"

// A key that goes down when the clock reads atMs. Shift counts as held from that key on, up to the
// next one.
struct NullKey {
    uint32_t atMs;
    uintptr_t key;  // VK_... or 'A'..'Z', or one of the two below
    bool shift;
};
constexpr uintptr_t nullFocusLost = 0x10000;  // the player switches to another window
constexpr uintptr_t nullFocusBack = 0x10001;  // and back

// What the machine refuses, for runs in which the set-up goes wrong. NullStart grants everything.
struct NullRefusals {
    bool display = false;               // no display object
    bool cooperation = false;           // the display cannot be taken
    uint64_t depths = 0;                // bit n: a mode of n bits per pixel is refused
    int surface = 0;                    // the nth surface to be made (1..4) cannot be; 0: none
    const char* missingFile = nullptr;  // a bitmap file that cannot be loaded
    bool screenLostOnce = false;        // the display is lost once, before the first frame
};

// A fresh machine: the clock at startMs (the seed of the run), the script of keys (kept by
// pointer), an empty folder. With nothing left to do and nothing due, the clock jumps to the next
// key; once the script is spent and no game runs, the window is closed, which ends WinMain.
void NullStart(uint32_t startMs, const NullKey* script, size_t count);
void NullRefuse(const NullRefusals& refusals);
// Lays a file into the in-memory folder; false when it does not fit.
bool NullPutFile(const char* path, const char* bytes, size_t count);
// A file of the folder: its bytes and size, or null when there is none.
const char* NullFile(const char* path, size_t* size);
// Takes every file out of the folder (NullStart does).
void NullEmptyFolder();
// FNV-1a of the picture on the primary surface: the last one, once the surface is let go.
uint64_t NullLastFrameHash();
// From now on, the hash of the first picture presented at or after the reading atMs.
void NullWatchFrame(uint32_t atMs);
uint64_t NullWatchedFrameHash();
// What the machine was asked that a player or a debugger would notice, a line each: the message
// boxes ("DDraw: CreateSurface failed (back)"), the debugger lines, and the display modes asked
// for ("mode 800x600x24", "mode 800x600x32 refused").
const char* NullTranscript();
// Surfaces, bitmaps and drawing contexts not given back.
int NullHeldResources();
