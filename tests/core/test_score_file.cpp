// The score file: its exact bytes, what the reader tolerates, and a save that never loses the old file.
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

using Lines = std::vector<std::string>;
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
std::string SavedFile(const Lines& records) {
    std::string bytes;
    for (size_t line = 0; line < savedEntries; ++line)
        bytes += (line < records.size() ? records[line] : "1 ostrel") + "\r\n";
    return bytes + "0\r\n\r\n";
}

void LoadFrom(const std::string& bytes) {
    WriteFile(scoreFile, bytes);
    LoadScores();
}

// A short write once the budget runs out, after which the disk recovers: a writer that ignored the
// failure would put a file with a hole in place.
size_t writeBudget;
bool WriteWithinBudget(FileHandle* file, const void* bytes, size_t count) {
    const size_t allowed = std::min(count, writeBudget);
    writeBudget -= allowed;
    if (allowed > 0)
        standardFileAccess.writeBytes(file, bytes, allowed);
    if (allowed == count)
        return true;
    writeBudget = SIZE_MAX;
    return false;
}
bool FinishButFail(FileHandle* file) {
    return standardFileAccess.finishWriting(file) && false;
}
bool ReplaceFails(const char*, const char*) {
    return false;
}

// A disk that gives the first bytes of a file and then fails; a file held by another opener.
size_t readBudget;
bool readBroke;
bool ReadWithinBudget(FileHandle* file, unsigned char* byte) {
    if (readBudget == 0)
        return !(readBroke = true);
    --readBudget;
    return standardFileAccess.readByte(file, byte);
}
bool ReadBroke(FileHandle*) {
    return readBroke;
}
FileHandle* HeldByAnother(const char*) {
    return nullptr;
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
        previousFolder = fs::current_path();
        std::random_device entropy;
        do
            folder = fs::temp_directory_path() / Numbered("vornix-scores-", entropy());
        while (!fs::create_directory(folder));
        fs::current_path(folder);
        fs::create_directory("textures");
        fileAccess = standardFileAccess;
    }
    void TearDown() override {
        fileAccess = standardFileAccess;
        fs::current_path(previousFolder);
        fs::remove_all(folder);
        GameTest::TearDown();
    }
    fs::path previousFolder;
    fs::path folder;
};

TEST_F(ScoreFileTest, WithoutAFileEveryRankedSlotHoldsTheDefault) {
    lastInsertRank = 17;
    LoadScores();
    for (int32_t slot = 0; slot < rankedEntries; ++slot)
        ASSERT_TRUE(NameAt(slot) == "ostrel" && ScoreTable[slot].score == 1) << slot;
    EXPECT_STREQ(playerName, "snake");
    EXPECT_EQ(lastInsertRank, 17);
}

TEST_F(ScoreFileTest, TheTableIsWrittenByteForByteAndReadsBackTheSame) {
    PlayGame("Pilot", 35);
    PlayGame(std::string(251, 'n'), 480);  // as long as a name can be and still read back whole
    PlayGame("Pilot", 920);
    ASSERT_TRUE(SaveScores());
    const std::string bytes = ReadFile(scoreFile);
    EXPECT_EQ(bytes, SavedFile({"920 Pilot", "480 " + std::string(251, 'n'), "35 Pilot"}));
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 202);
    EXPECT_EQ(FilesInTextures(), 1);
    SetDefaultScores();
    LoadScores();
    EXPECT_EQ(lastInsertRank, 1);  // reading records no place
    ASSERT_TRUE(SaveScores());
    EXPECT_EQ(ReadFile(scoreFile), bytes);
}

TEST_F(ScoreFileTest, AFailedSaveLeavesTheOldFileAndNoOtherFile) {
    PlayGame("Pilot", 920);
    ASSERT_TRUE(SaveScores());
    const std::string oldFile = ReadFile(scoreFile);
    PlayGame("rover", 1480);
    const size_t newSize = SavedFile({"1480 rover", "920 Pilot"}).size();
    const struct {
        size_t writeBudget;
        bool finishFails, replaceFails;
    } faults[] = {{0, false, false},           {1, false, false},           {12, false, false},
                  {newSize / 2, false, false}, {newSize - 1, false, false}, {SIZE_MAX, true, false},
                  {SIZE_MAX, false, true}};
    for (const auto& f : faults) {
        fileAccess = standardFileAccess;
        fileAccess.writeBytes = WriteWithinBudget;
        writeBudget = f.writeBudget;
        if (f.finishFails)
            fileAccess.finishWriting = FinishButFail;
        if (f.replaceFails)
            fileAccess.replaceFile = ReplaceFails;
        EXPECT_FALSE(SaveScores()) << f.writeBudget;
        EXPECT_EQ(ReadFile(scoreFile), oldFile) << f.writeBudget;
        EXPECT_EQ(FilesInTextures(), 1) << f.writeBudget;
    }
}

// Saving over a file that was not read whole would lose what was not read: this run's saves go
// beside it, and the next start-up reads the file itself again.
TEST_F(ScoreFileTest, AFileThatCouldNotBeReadWholeIsNeverReplaced) {
    const std::string oldFile = SavedFile({"920 Pilot", "480 rover", "35 Pilot"});
    const struct {
        bool openFails;
        Lines saved;
    } cases[] = {{false, {"920 Pilot", "700 Nova", "480 rover", "35 Pilot"}},  // fails 40 bytes in, within line 4
                 {true, {"700 Nova"}}};
    for (const auto& c : cases) {
        WriteFile(scoreFile, oldFile);
        fs::remove("textures/scores.asc.new");
        fileAccess = standardFileAccess;
        fileAccess.readByte = ReadWithinBudget;
        fileAccess.readFailed = ReadBroke;
        fileAccess.report = Report;
        if (c.openFails)
            fileAccess.openForReading = HeldByAnother;
        readBudget = 40;
        readBroke = false;
        reports.clear();
        LoadScores();
        PlayGame("Nova", 700);
        ASSERT_TRUE(SaveScores());
        ASSERT_TRUE(SaveScores());  // Escape saves twice
        EXPECT_EQ(ReadFile(scoreFile), oldFile) << c.openFails;
        EXPECT_EQ(ReadFile("textures/scores.asc.new"), SavedFile(c.saved)) << c.openFails;
        EXPECT_EQ(FilesInTextures(), 2) << c.openFails;
        EXPECT_EQ(reports,
                  "textures/scores.asc could not be read whole: it is left as it is, and this run's "
                  "scores are saved to textures/scores.asc.new\n")
            << c.openFails;

        fileAccess = standardFileAccess;
        LoadScores();
        EXPECT_TRUE(NameAt(0) == "Pilot" && NameAt(1) == "rover" && NameAt(2) == "Pilot") << c.openFails;
    }
    // A missing file is no failure: defaults, then the file itself is written.
    fs::remove(scoreFile);
    fileAccess.report = Report;
    reports.clear();
    LoadScores();
    ASSERT_TRUE(SaveScores());
    EXPECT_EQ(ReadFile(scoreFile), SavedFile({}));
    EXPECT_EQ(reports, "");
}

TEST_F(ScoreFileTest, LinesSkipBlanksAndCommentsKeepTheirEndsAndNeverFillMoreThanTheBuffer) {
    WriteFile("textures/lines.txt", "\r\n\n/comment\r\n\r\r\n" + std::string(400, 'c') + "\r\n480 rover\n35 Pilot");
    char area[lineBufferSize + 64];
    std::memset(area, '#', sizeof area);
    FileHandle* file = fileAccess.openForReading("textures/lines.txt");
    ASSERT_TRUE(ReadLine(file, area));
    EXPECT_EQ(std::string(area, lineBufferSize), std::string(255, 'c').append(1, '\0'));
    EXPECT_EQ(std::string(area + lineBufferSize, 64), std::string(64, '#'));
    Lines rest;
    while (ReadLine(file, area))
        rest.push_back(area);
    fileAccess.closeReading(file);
    EXPECT_EQ(rest, (Lines{"480 rover\n", "35 Pilot"}));
}

TEST_F(ScoreFileTest, AScoreBeyond32BitsIsUnreadableAndFieldsThatCannotBeReadKeepTheirValues) {
    const struct {
        const char* line;
        int32_t score;
        const char* name;
    } cases[] = {{"2147483647 max", INT32_MAX, "max"}, {"-2147483648 min", INT32_MIN, "min"},
                 {"2147483648 over", 77, "kept"},      {"-2147483649 under", 77, "kept"},
                 {"12345\r\n", 12345, "kept"},         {"Pilot 5000\r\n", 77, "kept"}};
    for (const auto& c : cases) {
        ScoreEntry entry = {"kept", 77};
        ParseRecordLine(c.line, entry);
        EXPECT_EQ(entry.score, c.score) << c.line;
        EXPECT_STREQ(entry.name, c.name) << c.line;
    }
}

TEST_F(ScoreFileTest, LoadingToleratesWhatAHandEditedFileHolds) {
    // An over-long line keeps its first 255 bytes; the rest of it, comment or record, is dropped.
    LoadFrom(
        "/ best scores\r\n\r\n920 Pilot\r\n+750 plus\n35Glued\r\n600 Jane Doe\r\nPilot 5000\r\n\r\r\n"
        "99999999999 huge\r\n#$%!\r\n\t 42\vTab\r\n/" +
        std::string(254, '-') + "999 ghost\n450 " + std::string(396, 'L') + "\r\n480 rover");
    const std::pair<int32_t, std::string> expected[] = {
        {920, "Pilot"}, {750, "plus"}, {600, "Jane"}, {480, "rover"}, {450, std::string(251, 'L')},
        {42, "Tab"},    {35, "Glued"}, {1, "ostrel"}};
    for (int32_t slot = 0; slot < 8; ++slot)
        EXPECT_EQ(std::make_pair(ScoreTable[slot].score, NameAt(slot)), expected[slot]) << slot;
}

TEST_F(ScoreFileTest, ALineBeginningWithZeroEndsTheRecordsButASpacedZeroIsARecord) {
    LoadFrom("920 Pilot\r\n0\r\n480 rover\r\n");
    EXPECT_TRUE(NameAt(0) == "Pilot" && ScoreTable[1].score == 1);
    LoadFrom(" 0 nobody\r\n480 rover\r\n");  // a record of score 0, which enters nothing
    EXPECT_TRUE(NameAt(0) == "rover" && ScoreTable[1].score == 1);
}

TEST_F(ScoreFileTest, MoreThan2000RecordsKeepTheBestWithEarlierEqualsHigher) {
    std::string bytes;
    std::vector<std::pair<int32_t, std::string>> records;
    for (int line = 0; line < 2600; ++line) {
        const int32_t points = 2 + (line * 37) % 23;
        records.push_back({points, Numbered("r", line)});
        bytes += Numbered("", points) + " " + records.back().second + (line % 2 ? "\n" : "\r\n");
    }
    LoadFrom(bytes);
    std::stable_sort(records.begin(), records.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (int32_t slot = 0; slot < rankedEntries; ++slot)
        ASSERT_EQ(std::make_pair(ScoreTable[slot].score, NameAt(slot)), records[slot]) << slot;
}

}  // namespace
