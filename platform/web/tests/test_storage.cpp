// The score file in the browser's local storage, through the game's own save and load: the bytes a
// desktop build would write, a save that is whole or absent, and storage that refuses.
#include <emscripten/emscripten.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "game/game.h"
#include "platform/platform.h"
#include "scores/file_access.h"
#include "scores/scores.h"

namespace {

// clang-format off
EM_JS(void, ResetStorage, (), {
    var storage = Module.vornixStorage;
    storage.items.clear();
    storage.refuseReads = false;
    storage.refuseWrites = false;
    storage.note.hidden = true;
    if (Module.vornixWeb) Module.vornixWeb.storageNoted = false;
});
EM_JS(void, RefuseStorage, (int reads, int writes), {
    Module.vornixStorage.refuseReads = reads !== 0;
    Module.vornixStorage.refuseWrites = writes !== 0;
});
EM_JS(int, NoteShown, (), { return Module.vornixStorage.note.hidden ? 0 : 1; });
EM_JS(void, PutItem, (const char* key, const unsigned char* bytes, int count), {
    var text = "";
    for (var i = 0; i < count; ++i) text += String.fromCharCode(HEAPU8[bytes + i]);
    Module.vornixStorage.items.set(UTF8ToString(key), text);
});
// The item's characters as bytes into bytes (up to capacity); -1 when there is none.
EM_JS(int, GetItem, (const char* key, unsigned char* bytes, int capacity), {
    var text = Module.vornixStorage.items.get(UTF8ToString(key));
    if (text === undefined) return -1;
    for (var i = 0; i < text.length && i < capacity; ++i) HEAPU8[bytes + i] = text.charCodeAt(i);
    return text.length;
});
EM_JS(int, ItemCount, (), { return Module.vornixStorage.items.size; });
// clang-format on

constexpr char scoresKey[] = "vornix/textures/scores.asc";

std::string Item(const char* key) {
    static unsigned char bytes[1 << 16];
    const int count = GetItem(key, bytes, sizeof bytes);
    return count < 0 ? "(none)" : std::string(reinterpret_cast<char*>(bytes), static_cast<size_t>(count));
}

void Put(const char* key, const std::string& bytes) {
    PutItem(key, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
}

// The 202 lines the game writes: the given records first, the defaults after them.
std::string SavedFile(const std::string& records, int recordCount) {
    std::string bytes = records;
    for (int line = recordCount; line < savedEntries; ++line)
        bytes += "1 ostrel\r\n";
    return bytes + "0\r\n\r\n";
}

class WebStorage : public ::testing::Test {
protected:
    void SetUp() override {
        ResetStorage();
        fileAccess = platformFileAccess;
    }
    void TearDown() override { fileAccess = standardFileAccess; }
};

// Every byte value a name can hold survives storage as the desktop file holds it; the temporary
// item of the save is gone afterwards.
TEST_F(WebStorage, ATableSavedAndLoadedBackKeepsItsBytes) {
    const std::string name = "Pil\x01ot\x80\xe9\xff";
    Put(scoresKey, "920 " + name + "\r\n35 rover\r\n0\r\n");
    LoadScores();
    EXPECT_EQ(std::string(ScoreTable[0].name), name);
    ASSERT_TRUE(SaveScores());
    EXPECT_EQ(Item(scoresKey), SavedFile("920 " + name + "\r\n35 rover\r\n", 2));
    EXPECT_EQ(ItemCount(), 1);
}

// Storage that refuses to write keeps the old file whole and the game's save reports failure; the
// page says once that scores will not be kept.
TEST_F(WebStorage, WhereStorageRefusesTheOldFileStandsAndThePageSaysSo) {
    Put(scoresKey, "77 kept\r\n0\r\n");
    LoadScores();
    RefuseStorage(0, 1);
    ScoreTable[0].score = 99;
    EXPECT_FALSE(SaveScores());
    EXPECT_FALSE(SaveScores());
    EXPECT_EQ(Item(scoresKey), "77 kept\r\n0\r\n");
    EXPECT_EQ(NoteShown(), 1);
}

}  // namespace
