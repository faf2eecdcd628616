// Shared pieces of the Vornix benchmarks: working folder, start-up, scenes, steering and figures.
#include "bench/bench_common.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#include "app/app.h"
#include "display/display.h"
#include "game/clock.h"
#include "game/game.h"
#include "game/items.h"
#include "game/levels.h"
#include "platform/platform.h"
#include "scores/file_access.h"
#include "scores/scores.h"

namespace fs = std::filesystem;

static const char* const textureNames[] = {"background.bmp", "cube.bmp", "icons.bmp"};

std::string EnterWorkFolder() {
    std::error_code error;
    fs::path base = fs::temp_directory_path(error);
    if (error) {
        base = "/tmp";
    }
    std::random_device entropy;
    fs::path folder;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof name, "vornix-bench-%08x", static_cast<unsigned>(entropy()));
        folder = base / name;
        if (fs::create_directory(folder, error)) {
            break;
        }
        folder.clear();
    }
    if (folder.empty()) {
        std::fprintf(stderr, "bench: cannot make a working folder under %s\n", base.c_str());
        return {};
    }
    fs::create_directory(folder / "textures", error);
    for (const char* name : textureNames) {
        fs::path from = fs::path(VORNIX_BENCH_TEXTURES) / name;
        fs::copy_file(from, folder / "textures" / name, error);
        if (error) {
            std::fprintf(stderr, "bench: cannot copy %s: %s\n", from.c_str(), error.message().c_str());
            fs::remove_all(folder, error);
            return {};
        }
    }
    fs::current_path(folder, error);
    if (error) {
        std::fprintf(stderr, "bench: cannot enter %s\n", folder.c_str());
        fs::remove_all(folder, error);
        return {};
    }
    return folder.string();
}

void LeaveWorkFolder(const std::string& folder) {
    std::error_code error;
    fs::current_path(fs::temp_directory_path(error), error);
    fs::remove_all(folder, error);
}

bool LoopTurn(bool* quit) {
    Message message = {};
    if (PlatformPeekMessage(&message)) {
        if (message.message == WM_QUIT) {
            *quit = true;
            return false;
        }
        PlatformDispatchMessage(&message);
        return false;
    }
    IdleTurn();
    return true;
}

bool DeliverPendingMessages() {
    Message message = {};
    while (PlatformPeekMessage(&message)) {
        if (message.message == WM_QUIT) {
            return false;
        }
        PlatformDispatchMessage(&message);
    }
    return true;
}

double MemcpyFloorMicroseconds() {
    constexpr size_t pictureBytes = size_t{800} * 600 * 4;
    constexpr int copies = 3000;
    std::vector<unsigned char> source(pictureBytes, 0x5a);
    std::vector<unsigned char> destination(pictureBytes, 0xa5);
    // Called through a volatile pointer so that no copy can be proven useless and left out.
    void* (*volatile copy)(void*, const void*, size_t) = std::memcpy;
    for (int i = 0; i < 50; ++i) {
        copy(destination.data(), source.data(), pictureBytes);
    }
    std::vector<double> samples;
    samples.reserve(copies);
    for (int i = 0; i < copies; ++i) {
        auto start = std::chrono::steady_clock::now();
        copy(destination.data(), source.data(), pictureBytes);
        auto end = std::chrono::steady_clock::now();
        samples.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    volatile unsigned char sink = destination[pictureBytes / 2];
    (void)sink;
    return Percentile(samples, 0.5);
}

// Items that are past their delay now and for the rest of the run (no step moves them here), on
// cells that the snake leaves uncovered where it leaves any.
void ShowItems(int count) {
    static bool covered[boardColumns][boardRows];
    for (auto& column : covered) {
        for (bool& cell : column) {
            cell = false;
        }
    }
    for (int i = 0; i < snakeLength; ++i) {
        covered[Snake[i].x][Snake[i].y] = true;
    }
    uint32_t now = ReadClock();
    for (int i = 0; i < count; ++i) {
        ItemSlot& slot = ItemTable[i];
        for (int attempt = 0; attempt < 1000; ++attempt) {
            PlaceItemRandomly(slot);
            if (!covered[slot.x][slot.y]) {
                break;
            }
        }
        slot.placedAt = now - slot.appearDelayMs - 1000;
    }
}

void SceneScoreList() {
    gameRunning = 0;
}

void SceneLevelOneStart() {
    NewGame();
}

void SceneLevelSeven(int segments) {
    NewGame();
    SetLevel(7);
    // The free cells in a serpentine order, row by row; the snake runs along it and, when it is
    // longer than the free cells, back and forth over it, so every two neighbours in the order are
    // the head and the neck.
    static Segment path[boardColumns * boardRows];
    int cells = 0;
    for (int32_t y = 0; y < boardRows; ++y) {
        for (int32_t i = 0; i < boardColumns; ++i) {
            int32_t x = (y % 2 == 0) ? i : boardColumns - 1 - i;
            if (Board[x][y] == 0) {
                path[cells++] = {x, y};
            }
        }
    }
    int period = 2 * (cells - 1);
    for (int i = 0; i < segments; ++i) {
        int k = i % period;
        Snake[i] = path[k < cells ? k : period - k];
    }
    snakeLength = segments;
    ShowItems(7);
}

int CountWalls() {
    int walls = 0;
    for (int32_t x = 0; x < boardColumns; ++x) {
        for (int32_t y = 0; y < boardRows; ++y) {
            walls += Board[x][y] != 0 ? 1 : 0;
        }
    }
    return walls;
}

void SteerAfterStep() {
    constexpr int32_t left = 18, right = 28, top = 3, bottom = 25;
    Segment head = Snake[0];
    if (direction == Up && head.y <= top) {
        direction = Right;
    } else if (direction == Right && head.x >= right) {
        direction = Down;
    } else if (direction == Down && head.y >= bottom) {
        direction = Left;
    } else if (direction == Left && head.x <= left) {
        direction = Up;
    }
    // Growth stacks segments on the tail's cell; cutting them off keeps the length, and so the
    // level, where it is. The first three segments always lie on the loop.
    if (snakeLength > 3) {
        snakeLength = 3;
    }
}

double Percentile(std::vector<double> samples, double fraction) {
    if (samples.empty()) {
        return 0.0;
    }
    std::sort(samples.begin(), samples.end());
    size_t rank = static_cast<size_t>(std::ceil(fraction * static_cast<double>(samples.size())));
    rank = std::clamp<size_t>(rank, 1, samples.size());
    return samples[rank - 1];
}

double Minimum(const std::vector<double>& samples) {
    return samples.empty() ? 0.0 : *std::min_element(samples.begin(), samples.end());
}

double Maximum(const std::vector<double>& samples) {
    return samples.empty() ? 0.0 : *std::max_element(samples.begin(), samples.end());
}

static void AppendSummaryLine(const char* key, const char* value) {
    const char* path = std::getenv("VORNIX_BENCH_SUMMARY");
    if (path == nullptr || *path == '\0') {
        return;
    }
    std::FILE* file = std::fopen(path, "a");
    if (file == nullptr) {
        return;
    }
    std::fprintf(file, "%s %s\n", key, value);
    std::fclose(file);
}

void RecordSummary(const char* key, double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6g", value);
    AppendSummaryLine(key, text);
}

void RecordSummaryText(const char* key, const char* text) {
    AppendSummaryLine(key, text);
}
