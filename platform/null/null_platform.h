// The null platform: every service of platform.h in memory. Keys and the clock come from a script,
// the picture stays in memory, and the score file lives in a small in-memory folder. Replays and
// headless benchmarks run the real WinMain and IdleTurn on it.
#pragma once
#include "platform/platform.h"

// A key that goes down when the clock reads atMs. Shift counts as held from that key on, up to the
// next one.
struct NullKey {
    uint32_t atMs;
    uintptr_t key;  // VK_... or 'A'..'Z'
    bool shift;
};

// A fresh machine: the clock at startMs (the seed of the run), the script of keys (kept by
// pointer), an empty folder. With nothing left to do and nothing due, the clock jumps to the next
// key; once the script is spent and no game runs, the window is closed, which ends WinMain.
void NullStart(uint32_t startMs, const NullKey* script, size_t count);
// Lays a file into the in-memory folder; false when it does not fit.
bool NullPutFile(const char* path, const char* bytes, size_t count);
// A file of the folder: its bytes and size, or null when there is none.
const char* NullFile(const char* path, size_t* size);
// FNV-1a of the last picture presented, taken when the primary surface is let go.
uint64_t NullLastFrameHash();
// Message boxes shown so far in this run.
int NullMessageBoxes();
