// Whole runs of the program, from WinMain to its exit code, on the null platform: a seed (the clock
// at start-up) and a script of timed keys. Each checks what a player and the score file end up with,
// and pictures of the screen by their hash. The scripts were recorded from a steering program that
// chases the items; a change of the rules, the pacing, the keys, the drawing or the artwork changes
// the end. Other runs refuse the display's services one at a time and check what is reported.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "app/app.h"
#include "game/game.h"
#include "platform/null/null_platform.h"
#include "scores/scores.h"

namespace {

// A script as text: each key is the milliseconds since the previous one, then the key: '_' Space,
// U R D L the arrows, '!' Escape, '<' Backspace, '-' and '+' the focus lost and back, letters (a
// capital is typed with Shift).
struct Replay {
    uint32_t seed;
    bool shift;  // Shift held with Space and the arrows
    const char* keys;
};

NullKey script[512];
constexpr std::pair<char, uintptr_t> namedKeys[] = {
    {'_', VK_SPACE},  {'U', VK_UP},   {'R', VK_RIGHT},      {'D', VK_DOWN},       {'L', VK_LEFT},
    {'!', VK_ESCAPE}, {'<', VK_BACK}, {'-', nullFocusLost}, {'+', nullFocusBack},
};

size_t Parse(const Replay& replay) {
    size_t count = 0;
    uint32_t at = replay.seed;
    for (const char* text = replay.keys; *text != '\0' && count < std::size(script);) {
        char* end = nullptr;
        at += static_cast<uint32_t>(std::strtoul(text, &end, 10));
        const char key = *end;
        uintptr_t code = key >= 'a' && key <= 'z' ? key - 'a' + 'A' : static_cast<unsigned char>(key);
        for (const auto& [name, named] : namedKeys) {
            code = key == name ? named : code;
        }
        const bool arrowOrSpace = code == VK_SPACE || (code >= VK_LEFT && code <= VK_DOWN);
        script[count++] = NullKey{at, code, arrowOrSpace ? replay.shift : key >= 'A' && key <= 'Z'};
        text = end + 1;
    }
    return count;
}

int Play(const Replay& replay, const std::string& storedScores = "", const NullRefusals& refusals = {},
         uint32_t watchAt = 0) {
    // What the loader zeroes for a fresh process, should one process run several replays.
    lastStepTime = 0;
    appActive = 0;
    lastInsertRank = 0;
    NullStart(replay.seed, script, Parse(replay));
    NullRefuse(refusals);
    if (watchAt != 0)
        NullWatchFrame(watchAt);
    if (!storedScores.empty())
        NullPutFile("textures/scores.asc", storedScores.data(), storedScores.size());
    return WinMain(nullptr, nullptr, nullptr, 1);
}

std::string ScoreFile(const char* path = "textures/scores.asc") {
    size_t size = 0;
    const char* bytes = NullFile(path, &size);
    return bytes == nullptr ? "(none)" : std::string(bytes, size);
}

// The 202 lines the game writes: the given records first, the defaults after them.
std::string SavedFile(std::initializer_list<const char*> records) {
    std::string bytes;
    for (const char* record : records)
        bytes += std::string(record) + "\r\n";
    for (size_t line = records.size(); line < savedEntries; ++line)
        bytes += "1 ostrel\r\n";
    return bytes + "0\r\n\r\n";
}

// Six items eaten at level 1, the bottom edge, then Escape.
constexpr const char* levelOneMoves = "400_ 502R 3263D 502L 4518D 3012R 6275D 251L 4267U 4267R 8000!";

// A name typed with Shift and Backspace, a game at level 1 watched while it heads down, the list,
// Escape.
TEST(Replay, LevelOneGameEndsOnTheEdgeAndEscapeSavesIt) {
    const std::string keys = std::string("100x 100y 100< 100A 100z 100A ") + levelOneMoves;
    EXPECT_EQ(Play(Replay{600000, false, keys.c_str()}, "", {}, 605100), 0);
    EXPECT_EQ(score, 6);
    EXPECT_EQ(snakeLength, 9);
    EXPECT_EQ(level, 1);
    EXPECT_EQ(gameRunning, 0);
    EXPECT_EQ(lastInsertRank, 1);
    EXPECT_EQ(ScoreFile(), SavedFile({"6 AzA"}));
    EXPECT_EQ(NullWatchedFrameHash(), 0xa8715a09211c517aull) << std::hex << NullWatchedFrameHash();
    EXPECT_EQ(NullLastFrameHash(), 0xa9a116456fee5f10ull) << std::hex << NullLastFrameHash();
    EXPECT_STREQ(NullTranscript(), "mode 800x600x32\n");
    EXPECT_EQ(NullHeldResources(), 0);  // Escape lets the display go before the window closes
}

// The same game by a player who types a name too long for the table and whose score takes the
// last of the 2000 places: the list ends at place 2000, and the file keeps only the best 200.
TEST(Replay, AFullTablesLastPlaceAndANameCutTo11Letters) {
    std::string stored;
    for (int i = 0; i < 1999; ++i)
        stored += "100 old\r\n";
    const std::string keys =
        std::string("100< 100a 100b 100c 100d 100e 100f 100g 100h 100i 100j 100k 100l ") + levelOneMoves;
    EXPECT_EQ(Play(Replay{600000, false, keys.c_str()}, stored + "0\r\n"), 0);
    EXPECT_EQ(score, 6);
    EXPECT_EQ(lastInsertRank, 2000);
    EXPECT_STREQ(ScoreTable[1999].name, "abcdefghijk");
    EXPECT_EQ(ScoreFile(), stored.substr(0, 200 * 9) + "0\r\n\r\n");
    EXPECT_EQ(NullLastFrameHash(), 0x8502fef63edb7298ull) << std::hex << NullLastFrameHash();
}

// Shift held from start to end: the halved pace through two promotions, a game over at level 3,
// and then the window closed instead of Escape. The stored scores rank around the new one.
TEST(Replay, ShiftHeldThroughTwoPromotionsThenTheWindowIsClosed) {
    const Replay replay{987654, true,
                        "1000_ 126L 504D 1386L 1260U 2520R 3906D 1386L 4788U 1260R 5418D 882L 4788D 756R 2772U "
                        "378L 2268D 1386R 1134U 3276L 1512D 3276R 2898U 1890L 3906D 756R 4158U 1008L 2646D "
                        "756R 4032U 1512L 3024D 2520R 1134U 2772L 2394D 2268R 3125L 1111D 101R 101D 1111L "
                        "1313U 101R 202U 101R 4040D 202L 404U 101L 808U 2020R 808D 303L 707D 303L "
                        "505D 505L 1313U 505L 909D 101R 707D 101L 808U 707R 202D 303L 101D 202R "
                        "101U 101R 101U 303R 101D 404L 101D 202L 404U 404R 101U 101R 101U 202R "
                        "101U 101R 3939D 1919L 101D 303R 101U 101R 101U 2525L 202D 1111L 707U 1010L "
                        "2828D 606R 3333D 1313L 3232U 101R 101U 1515L 101D 303L 101U 404R 1919D 808L "
                        "707D 909R 1818U 101L 1717U 909L 1010U 202R 2626D 1313R 303U 1212L 101U 202L "
                        "2121D 1414R 1919U 2121L 2424D 202R 2626D 1313L 303U 909L"};
    EXPECT_EQ(Play(replay, "100 best\r\n10 worst\r\n", {}, 1157500), 0);
    EXPECT_EQ(score, 49);
    EXPECT_EQ(snakeLength, 50);
    EXPECT_EQ(level, 3);
    EXPECT_EQ(lastInsertRank, 2);
    EXPECT_EQ(ScoreFile(), SavedFile({"100 best", "49 snake", "10 worst"}));
    EXPECT_EQ(NullWatchedFrameHash(), 0xb881c0992ab3196full) << std::hex << NullWatchedFrameHash();
    EXPECT_EQ(NullLastFrameHash(), 0x848d828bac0835b8ull) << std::hex << NullLastFrameHash();
}

// A run that starts five seconds before the clock wraps and plays across the wrap.
TEST(Replay, PacingAndItemTimersHoldAcrossTheClockWrap) {
    const Replay replay{4294962296u, false, "1000_ 2510R 3263D 1004L 4769U 753L 502D 8000!"};
    EXPECT_EQ(Play(replay), 0);
    EXPECT_EQ(score, 4);
    EXPECT_EQ(snakeLength, 7);
    EXPECT_EQ(lastInsertRank, 1);
    EXPECT_EQ(ScoreFile().substr(0, 9), "4 snake\r\n");
}

// The way back is refused. Away from the game nothing is drawn, but the snake goes on up and dies
// at the top edge.
TEST(Replay, AGameGoesOnWhileThePlayerIsAway) {
    EXPECT_EQ(Play(Replay{50000, false, "100_ 300D 1000-"}, "", {}, 51401), 0);
    EXPECT_EQ(gameRunning, 0);
    EXPECT_TRUE(Snake[0].x == 23 && Snake[0].y == 0);
    EXPECT_EQ(NullWatchedFrameHash(), 0u) << "a picture was presented while the focus was away";
}

// Each refusal of the set-up is reported in its one box or debugger line, and the program still
// runs to its end. A screen lost and restored is refilled, so the last picture is as without it.
TEST(Replay, EachRefusalOfTheSetUpIsReportedAndTheRunGoesOn) {
    const char* mode = "mode 800x600x32\n";
    const std::string copyFailed = "ddcopybitmap failed\n";
    const struct {
        NullRefusals refused;
        std::string transcript;
    } cases[] = {
        {{.depths = 1ull << 32}, "mode 800x600x32 refused\nmode 800x600x24\n"},
        {{.depths = 1ull << 32 | 1ull << 24 | 1ull << 16},
         "mode 800x600x32 refused\nmode 800x600x24 refused\nmode 800x600x16 refused\n"},
        {{.display = true}, "DDraw: DirectDrawCreate failed\n" + copyFailed + copyFailed + copyFailed},
        {{.cooperation = true}, "DDraw: SetCoopLevel failed\n" + std::string(mode)},
        {{.surface = 1}, mode + std::string("DDraw: CreateSurface failed (primary)\n")},
        {{.surface = 2}, mode + std::string("DDraw: CreateSurface failed (back)\n") + copyFailed},
        {{.surface = 3}, mode + std::string("DDraw: CreateSurface failed (gradient)\n") + copyFailed},
        {{.surface = 4}, mode + std::string("DDraw: CreateSurface failed (icons)\n") + copyFailed},
        {{.missingFile = "textures/icons.bmp"}, mode + std::string("handle is null\n")},
        {{.screenLostOnce = true}, mode},
    };
    EXPECT_EQ(Play(Replay{7000, false, "1000x 1000!"}), 0);
    const uint64_t plainList = NullLastFrameHash();
    for (const auto& c : cases) {
        EXPECT_EQ(Play(Replay{7000, false, "1000x 1000!"}, "", c.refused), 0) << c.transcript;
        EXPECT_EQ(NullTranscript(), c.transcript);
        EXPECT_EQ(NullHeldResources(), 0) << c.transcript;
        if (c.refused.depths != 0 || c.refused.screenLostOnce) {
            EXPECT_EQ(NullLastFrameHash(), plainList) << c.transcript;
        }
    }
}

}  // namespace
