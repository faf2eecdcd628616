// The score file: its exact bytes, what the reader tolerates, and a save that never loses the old file.
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

// A disk that takes or gives the first bytes of a file and then fails, after which it recovers:
// a writer that ignored the failure would put a file with a hole in place.
size_t budget;
bool readBroke;
bool WriteWithinBudget(FileHandle* file, const void* bytes, size_t count) {
    const size_t allowed = std::min(count, budget);
    budget = allowed == count ? budget - allowed : SIZE_MAX;
    return standardFileAccess.writeBytes(file, bytes, allowed) && allowed == count;
}
bool ReadWithinBudget(FileHandle* file, unsigned char* byte) {
    if (budget == 0)
        return !(readBroke = true);
    --budget;
    return standardFileAccess.readByte(file, byte);
}
std::string reports;
void Report(const char* text) {
    reports += text;
}

// Every test works in a fresh folder of its own with an empty "textures/" and the standard file services.
class ScoreFileTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        fs::create_directories(folder / "textures");
        fs::current_path(folder);
        fileAccess = standardFileAccess;
        fileAccess.report = Report;
        reports.clear();
    }
    void TearDown() override {
        fs::current_path(home);
        fs::remove_all(folder);
        GameTest::TearDown();
    }
    const fs::path home = fs::current_path();
    const fs::path folder = fs::temp_directory_path() / Numbered("vornix-scores-", std::random_device{}());
};

// A missing file is no failure: the defaults stand, and the first save writes the file itself.
TEST_F(ScoreFileTest, TheTableIsWrittenByteForByteAndReadsBackTheSame) {
    lastInsertRank = 17;
    LoadScores();
    EXPECT_TRUE(NameAt(rankedEntries - 1) == "ostrel" && ScoreTable[0].score == 1);
    EXPECT_STREQ(playerName, "snake");
    PlayGame("Pilot", 35);
    PlayGame(std::string(251, 'n'), 480);  // as long as a name can be and still read back whole
    PlayGame("Pilot", 920);
    ASSERT_TRUE(SaveScores());
    const std::string bytes = ReadFile(scoreFile);
    EXPECT_EQ(bytes, SavedFile({"920 Pilot", "480 " + std::string(251, 'n'), "35 Pilot"}));
    EXPECT_EQ(FilesInTextures(), 1);
    SetDefaultScores();
    LoadScores();
    EXPECT_EQ(lastInsertRank, 1);  // reading records no place
    ASSERT_TRUE(SaveScores());
    EXPECT_EQ(ReadFile(scoreFile), bytes);
    EXPECT_EQ(reports, "");
}

TEST_F(ScoreFileTest, AFailedSaveLeavesTheOldFileAndNoOtherFile) {
    PlayGame("Pilot", 920);
    ASSERT_TRUE(SaveScores());
    const std::string oldFile = ReadFile(scoreFile);
    PlayGame("rover", 1480);
    const size_t newSize = SavedFile({"1480 rover", "920 Pilot"}).size();
    const size_t budgets[] = {0, 12, newSize - 1, SIZE_MAX, SIZE_MAX};  // then replacing fails, then finishing too
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

// Saving over a file that was not read whole would lose what was not read: this run's saves go
// beside it.
TEST_F(ScoreFileTest, AFileThatCouldNotBeReadWholeIsNeverReplaced) {
    const std::string oldFile = SavedFile({"920 Pilot", "480 rover", "35 Pilot"});
    for (bool openFails : {false, true}) {
        WriteFile(scoreFile, oldFile);
        fs::remove("textures/scores.asc.new");
        fileAccess.readByte = ReadWithinBudget;
        fileAccess.readFailed = [](FileHandle*) { return readBroke; };
        if (openFails)  // held by another opener
            fileAccess.openForReading = [](const char*) -> FileHandle* { return nullptr; };
        budget = 40;  // within line 4
        readBroke = false;
        reports.clear();
        LoadScores();
        PlayGame("Nova", 700);
        ASSERT_TRUE(SaveScores());
        ASSERT_TRUE(SaveScores());  // Escape saves twice
        EXPECT_EQ(ReadFile(scoreFile), oldFile);
        EXPECT_EQ(ReadFile("textures/scores.asc.new"),
                  openFails ? SavedFile({"700 Nova"}) : SavedFile({"920 Pilot", "700 Nova", "480 rover", "35 Pilot"}));
        EXPECT_EQ(FilesInTextures(), 2);
        EXPECT_EQ(reports,
                  "textures/scores.asc could not be read whole: it is left as it is, and this run's "
                  "scores are saved to textures/scores.asc.new\n");
    }
}

// A line ends at LF and keeps it; CR and LF before a line are skipped, and so are comment lines. A
// longer line keeps its first 255 bytes and the rest of it is dropped, never stored past the buffer.
TEST_F(ScoreFileTest, LinesSkipBlanksAndCommentsKeepTheirEndsAndNeverFillMoreThanTheBuffer) {
    WriteFile(scoreFile, "\r\n\n/comment\r\n\r\r\n" + std::string(400, 'c') + "\r\n480 rover\n35 Pilot");
    char area[lineBufferSize + 64];
    std::memset(area, '#', sizeof area);
    FileHandle* file = fileAccess.openForReading("textures/scores.asc");
    ASSERT_TRUE(ReadLine(file, area));
    EXPECT_EQ(std::string(area, lineBufferSize), std::string(255, 'c').append(1, '\0'));
    EXPECT_EQ(std::string(area + lineBufferSize, 64), std::string(64, '#'));
    std::vector<std::string> rest;
    while (ReadLine(file, area))
        rest.push_back(area);
    fileAccess.closeReading(file);
    EXPECT_EQ(rest, (std::vector<std::string>{"480 rover\n", "35 Pilot"}));
}

// Records are read as "%d %s" up to the end line, a line beginning with "0": a score beyond 32 bits
// or a field that cannot be read leaves the entry being read as it was.
TEST_F(ScoreFileTest, LoadingToleratesWhatAHandEditedFileHoldsUpToTheEndLine) {
    WriteFile(scoreFile,
              " 0 zero\r\n920 Pilot\r\n+750 plus\n35Glued\r\n600 Jane Doe\r\nPilot 5000\r\n2147483647 max\n"
              "2147483648 over\n99999999999 huge\r\n\t 42\vTab\r\n480 rover\n0\r\n700 after");
    LoadScores();
    const std::pair<int32_t, std::string> expected[] = {{INT32_MAX, "max"}, {920, "Pilot"}, {750, "plus"},
                                                        {600, "Jane"},      {480, "rover"}, {42, "Tab"},
                                                        {35, "Glued"},      {1, "ostrel"}};
    for (int32_t slot = 0; slot < 8; ++slot)
        EXPECT_EQ(std::make_pair(ScoreTable[slot].score, NameAt(slot)), expected[slot]) << slot;
}

}  // namespace
