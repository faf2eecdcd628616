// The high scores: the ranking of finished games, and the score file with its exact bytes, what
// its reader tolerates, and a save that never loses the old file.
#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "scores/file_access.h"
#include "tests/core/game_fixture.h"

namespace fs = std::filesystem;

namespace {

using Ranking = GameTest;

TEST_F(Ranking, AGameRanksAboveSmallerScoresAndBelowEveryOlderEqual) {
    const int32_t cases[][2] = {{9000, 1}, {5000, 2}, {4996, 6}, {1003, 2000}};  // points, place
    for (const auto& [points, place] : cases) {
        for (int32_t slot = 0; slot < rankedEntries; ++slot) {  // "p<slot>" with 5000 - 2 slot; slots 2..4 tie
            std::snprintf(ScoreTable[slot].name, sizeof ScoreTable[slot].name, "p%d", static_cast<int>(slot));
            ScoreTable[slot].score = slot >= 2 && slot <= 4 ? 4996 : 5000 - 2 * slot;
        }
        PlayGame("new", points);
        EXPECT_TRUE(lastInsertRank == place && drawnAround == place && NameAt(place - 1) == "new") << points;
        EXPECT_EQ(NameAt(insertionSlot), "p1999");  // the last place falls out
    }
    std::memset(playerName, 'P', sizeof playerName);  // no zero byte: the name keeps its first 255 bytes
    score = 9999;
    InsertScore();
    EXPECT_TRUE(NameAt(0) == std::string(255, 'P') && ScoreTable[0].score == 9999);
}

const fs::path scoreFile = "textures/scores.asc";

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

long FilesInTextures() {
    return std::distance(fs::directory_iterator("textures"), fs::directory_iterator());
}

// The file the program writes: the given records, default records up to 200, the end line, the empty line.
std::string SavedFile(const std::vector<std::string>& records) {
    std::string bytes;
    for (size_t line = 0; line < savedEntries; ++line)
        bytes += (line < records.size() ? records[line] : "1 ostrel") + "\r\n";
    return bytes + "0\r\n\r\n";
}

// A disk that takes the first bytes of a file and then fails, after which it recovers: a writer
// that ignored the failure would put a file with a hole in place.
size_t budget;
bool WriteWithinBudget(FileHandle* file, const void* bytes, size_t count) {
    const size_t allowed = std::min(count, budget);
    budget = allowed == count ? budget - allowed : SIZE_MAX;
    return standardFileAccess.writeBytes(file, bytes, allowed) && allowed == count;
}
std::string reports;  // what the game said to whoever looks after it

// Every test works in a fresh folder of its own with an empty "textures/" and the standard file services.
class ScoreFileTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        fs::create_directories(folder / "textures");
        fs::current_path(folder);
        fileAccess = standardFileAccess;
        fileAccess.report = [](const char* text) { reports += text; };
        reports.clear();
    }
    void TearDown() override {
        fs::current_path(home);
        fs::remove_all(folder);
    }
    const fs::path home = fs::current_path();
    const fs::path folder = (fs::temp_directory_path() / "vornix-scores-") += std::to_string(std::random_device{}());
};

// A missing file is no failure: the defaults stand, and the first save writes the file itself.
TEST_F(ScoreFileTest, TheTableIsWrittenByteForByteAndReadsBackTheSame) {
    LoadScores();
    PlayGame(std::string(251, 'n'), 480);  // as long as a name can be and still read back whole
    PlayGame("Pilot", 920);
    ASSERT_TRUE(SaveScores());
    const std::string bytes = ReadFile(scoreFile);
    EXPECT_EQ(bytes, SavedFile({"920 Pilot", "480 " + std::string(251, 'n')}));
    EXPECT_EQ(FilesInTextures(), 1);
    WriteFile(scoreFile, bytes + "700 after");  // the line "0" ends the records
    SetDefaultScores();
    LoadScores();
    EXPECT_EQ(lastInsertRank, 1);  // reading records no place
    ASSERT_TRUE(SaveScores());
    EXPECT_EQ(ReadFile(scoreFile) + reports, bytes);
}

TEST_F(ScoreFileTest, AFailedSaveLeavesTheOldFileAndNoOtherFile) {
    PlayGame("Pilot", 920);
    ASSERT_TRUE(SaveScores());
    const std::string oldFile = ReadFile(scoreFile);
    PlayGame("rover", 1480);
    // Short writes at the start, in the middle and of the last byte; then replacing fails, then finishing too.
    const size_t budgets[] = {0, 12, SavedFile({"1480 rover", "920 Pilot"}).size() - 1, SIZE_MAX, SIZE_MAX};
    for (size_t n = 0; n < std::size(budgets); ++n) {
        fileAccess.writeBytes = WriteWithinBudget;
        budget = budgets[n];
        if (n == 3)
            fileAccess.replaceFile = [](const char*, const char*) { return false; };
        if (n == 4)
            fileAccess.finishWriting = [](FileHandle* file) { return !standardFileAccess.finishWriting(file); };
        EXPECT_FALSE(SaveScores()) << n;
        EXPECT_EQ(ReadFile(scoreFile), oldFile) << n;
        EXPECT_EQ(FilesInTextures(), 1) << n;
    }
}

// Saving over a score file that was not read whole (here held by another opener) would lose what
// was not read: this run's saves go beside it, and a second run that finds it held carries the
// first one's records along.
TEST_F(ScoreFileTest, AFileThatCouldNotBeReadWholeIsNeverReplaced) {
    WriteFile(scoreFile, SavedFile({"920 Pilot"}));
    fileAccess.openForReading = [](const char* path) -> FileHandle* {
        return fs::path(path) == scoreFile ? nullptr : standardFileAccess.openForReading(path);
    };
    for (const auto& [name, points] : {std::pair<const char*, int32_t>{"Nova", 700}, {"Vega", 650}}) {
        reports.clear();
        LoadScores();
        PlayGame(name, points);
        ASSERT_TRUE(SaveScores() && SaveScores());  // Escape saves twice
    }
    EXPECT_EQ(ReadFile("textures/scores.asc.new"), SavedFile({"700 Nova", "650 Vega"}));
    EXPECT_EQ(ReadFile(scoreFile), SavedFile({"920 Pilot"}));
    EXPECT_EQ(FilesInTextures(), 2);
    EXPECT_EQ(reports,
              "textures/scores.asc could not be read whole: it is left as it is, and this run's "
              "scores are saved to textures/scores.asc.new\n");
}

// Another copy of the game saving its own table while this one is half-way through its save.
bool otherCopySaved;
std::string otherCopyFile;
bool WriteWhileTheOtherCopySaves(FileHandle* file, const void* bytes, size_t count) {
    fileAccess.writeBytes = standardFileAccess.writeBytes;
    const bool written = standardFileAccess.writeBytes(file, bytes, count);
    const std::vector<ScoreEntry> mine(ScoreTable, ScoreTable + insertionSlot + 1);
    PlayGame("Other", 5000);
    otherCopySaved = SaveScores();
    otherCopyFile = ReadFile(ReadFile("textures/scores.asc.new").empty() ? scoreFile : "textures/scores.asc.new");
    std::copy(mine.begin(), mine.end(), ScoreTable);
    return written;
}

// Two copies saving at the same moment write temporary files of their own, whether they kept an
// unreadable score file or not: each save puts a whole file in place, the later one last.
TEST_F(ScoreFileTest, TwoCopiesSavingAtOnceEachPutAWholeFileInPlace) {
    for (bool kept : {false, true}) {
        fs::remove_all("textures");
        fs::create_directories("textures");
        WriteFile(scoreFile, SavedFile({"920 Pilot"}));
        if (kept)
            fileAccess.readFailed = [](FileHandle*) { return true; };
        LoadScores();
        fileAccess.readFailed = standardFileAccess.readFailed;
        PlayGame("Nova", 700);
        fileAccess.writeBytes = WriteWhileTheOtherCopySaves;
        ASSERT_TRUE(SaveScores() && otherCopySaved) << kept;
        EXPECT_EQ(otherCopyFile, SavedFile({"5000 Other", "920 Pilot", "700 Nova"})) << kept;
        EXPECT_EQ(ReadFile(kept ? "textures/scores.asc.new" : scoreFile), SavedFile({"920 Pilot", "700 Nova"}));
        EXPECT_EQ(FilesInTextures(), kept ? 2 : 1);
    }
}

// The save of a run that could not read the score file comes back at the next start that reads the
// file whole: its records are ranked in after the file's, and it is removed only once a save has put
// them into the score file. One that cannot be opened or read whole is left for a later start.
FileHandle* keptFileSave;  // its reads fail
bool keptFileSaveOpens;
TEST_F(ScoreFileTest, ASaveBesideAnUnreadableFileComesBackAtTheNextStart) {
    const std::string keptFile = SavedFile({"700 Nova", "35 Pilot"});
    WriteFile(scoreFile, SavedFile({"920 Pilot", "35 Pilot"}));
    WriteFile("textures/scores.asc.new", keptFile);
    fileAccess.openForReading = [](const char* path) -> FileHandle* {
        const bool kept = fs::path(path).extension() == ".new";
        FileHandle* file = kept && !keptFileSaveOpens ? nullptr : standardFileAccess.openForReading(path);
        keptFileSave = kept ? file : nullptr;
        return file;
    };
    fileAccess.readFailed = [](FileHandle* file) { return file == keptFileSave; };
    for (bool opens : {false, true}) {
        keptFileSaveOpens = opens;
        LoadScores();
        ASSERT_TRUE(SaveScores());
        EXPECT_EQ(ReadFile("textures/scores.asc.new"), keptFile) << opens;
    }
    fileAccess = standardFileAccess;
    LoadScores();
    const std::string merged = SavedFile({"920 Pilot", "700 Nova", "35 Pilot", "35 Pilot"});
    fileAccess.replaceFile = [](const char*, const char*) { return false; };
    EXPECT_FALSE(SaveScores());
    EXPECT_EQ(ReadFile("textures/scores.asc.new"), keptFile);
    fileAccess.replaceFile = standardFileAccess.replaceFile;
    ASSERT_TRUE(SaveScores() && SaveScores());
    EXPECT_EQ(ReadFile(scoreFile), merged);
    EXPECT_EQ(FilesInTextures(), 1);
}

// Reading skips CR and LF before a line and whole comment lines, keeps a line's LF, keeps the first
// 255 bytes of a longer line and drops the rest, never storing past its buffer. A record is "%d %s":
// a score beyond 32 bits or a field that cannot be read leaves the entry being read as it was.
TEST_F(ScoreFileTest, ReadingToleratesWhatAHandEditedFileHolds) {
    WriteFile(scoreFile, "\r\n\n/ best\r\n\r\r\n" + std::string(400, '9') +
                             "\r\n 0 zero\n920 Pilot\r\n+750 plus\n35Glued\r\n600 Jane Doe\r\nPilot 5000\r\n"
                             "2147483647 max\n2147483648 over\n99999999999 huge\r\n\t 42\vTab\r\n480 rover");
    char area[lineBufferSize + 64];
    std::memset(area, '#', sizeof area);
    FileHandle* file = fileAccess.openForReading("textures/scores.asc");
    ASSERT_TRUE(ReadLine(file, area));
    EXPECT_EQ(std::string(area, lineBufferSize), std::string(255, '9').append(1, '\0'));
    ASSERT_TRUE(ReadLine(file, area));
    EXPECT_STREQ(area, " 0 zero\n");  // a record of score 0, not the end line
    EXPECT_EQ(std::string(area + lineBufferSize, 64), std::string(64, '#'));
    fileAccess.closeReading(file);
    LoadScores();
    const std::pair<int32_t, std::string> expected[] = {{INT32_MAX, "max"}, {920, "Pilot"}, {750, "plus"},
                                                        {600, "Jane"},      {480, "rover"}, {42, "Tab"},
                                                        {35, "Glued"},      {1, "ostrel"}};
    for (int32_t slot = 0; slot < 8; ++slot)
        EXPECT_EQ(std::make_pair(ScoreTable[slot].score, NameAt(slot)), expected[slot]) << slot;
}

}  // namespace
