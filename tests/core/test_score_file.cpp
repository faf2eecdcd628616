// The score file: its exact bytes, what the reader tolerates, and a save that never loses the old file.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "game/game.h"
#include "scores/file_access.h"
#include "scores/scores.h"

namespace fs = std::filesystem;

namespace {

// A prefix and a number ("p17"), built without string concatenation, which a compiler of the
// cross build misreports as an overlapping copy.
std::string Numbered(const char* prefix, long long number) {
    char text[64];
    std::snprintf(text, sizeof text, "%s%lld", prefix, number);
    return text;
}

const fs::path scoreFile = "textures/scores.asc";

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Listing(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(folder)) names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The file the program writes: the given records, default records up to 200, the end line, the empty line.
std::string SavedFile(const std::vector<std::string>& records) {
    std::string bytes;
    for (size_t line = 0; line < savedEntries; ++line) bytes += (line < records.size() ? records[line] : "1 ostrel") + "\r\n";
    return bytes + "0\r\n\r\n";
}

void PlayGame(const std::string& name, int32_t points) {
    std::snprintf(playerName, sizeof playerName, "%s", name.c_str());
    score = points;
    InsertScore();
}

void LoadFrom(const std::string& bytes) {
    WriteFile(scoreFile, bytes);
    LoadScores();
}

std::string NameAt(int32_t slot) { return ScoreTable[slot].name; }

// File services that fail on demand, each wrapping the standard one.
size_t writeBudget;  // bytes that may be written before the one failing write
size_t readBudget;   // bytes that may still be read
int openings;
int closings;

// A short write once the budget runs out, then the disk recovers: later writes succeed, so a writer
// that ignores the failure would put a file with a hole in place.
bool WriteWithinBudget(FileHandle* file, const void* bytes, size_t count) {
    size_t allowed = std::min(count, writeBudget);
    writeBudget -= allowed;
    if (allowed > 0) standardFileAccess.writeBytes(file, bytes, allowed);
    if (allowed == count) return true;
    writeBudget = SIZE_MAX;
    return false;
}
bool FinishButFail(FileHandle* file) {
    standardFileAccess.finishWriting(file);
    return false;
}
bool ReplaceFails(const char*, const char*) { return false; }
bool ReadWithinBudget(FileHandle* file, unsigned char* byte) {
    if (readBudget == 0) return false;
    --readBudget;
    return standardFileAccess.readByte(file, byte);
}
FileHandle* CountOpening(const char* path) {
    FileHandle* file = standardFileAccess.openForReading(path);
    if (file != nullptr) ++openings;
    return file;
}
void CountClosing(FileHandle* file) {
    ++closings;
    standardFileAccess.closeReading(file);
}

// Every test works in a fresh folder of its own, with an empty "textures/", and the standard file services.
class ScoreFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousFolder = fs::current_path();
        previousAccess = fileAccess;
        std::random_device entropy;
        do folder = fs::temp_directory_path() / Numbered("vornix-scores-", entropy());
        while (!fs::create_directory(folder));
        fs::current_path(folder);
        fs::create_directory("textures");
        fileAccess = standardFileAccess;
        fileAccess.openForReading = CountOpening;
        fileAccess.closeReading = CountClosing;
        openings = closings = 0;
        SetDefaultScores();
        ScoreTable[insertionSlot] = ScoreEntry{};
        lastInsertRank = 0;
    }
    void TearDown() override {
        fileAccess = previousAccess;
        fs::current_path(previousFolder);
        fs::remove_all(folder);
    }
    // Each file's own lines as ReadLine returns them.
    static std::vector<std::string> LinesOf(const std::string& bytes) {
        WriteFile("lines.txt", bytes);
        FileHandle* file = fileAccess.openForReading("lines.txt");
        std::vector<std::string> lines;
        char line[lineBufferSize];
        while (ReadLine(file, line)) lines.push_back(line);
        fileAccess.closeReading(file);
        return lines;
    }
    fs::path previousFolder;
    FileAccess previousAccess;
    fs::path folder;
};

// ---- Writing ----

TEST_F(ScoreFileTest, ExampleTableIsWrittenByteForByte) {
    PlayGame("Pilot", 35);
    PlayGame("rover", 480);
    PlayGame("Pilot", 920);
    ASSERT_TRUE(SaveScores());
    std::string bytes = ReadFile(scoreFile);
    EXPECT_EQ(bytes, SavedFile({"920 Pilot", "480 rover", "35 Pilot"}));
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 202);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 202);
    EXPECT_EQ(Listing("textures"), std::vector<std::string>{"scores.asc"});
}

TEST_F(ScoreFileTest, ReadingBackGivesTheFirst200SlotsEqualsInOrder) {
    for (int game = 0; game < 250; ++game) PlayGame(Numbered("g", game), 2 + game % 7);
    std::vector<ScoreEntry> saved(ScoreTable, ScoreTable + savedEntries);
    ASSERT_TRUE(SaveScores());
    int32_t rankBefore = lastInsertRank;
    LoadScores();
    for (int32_t slot = 0; slot < savedEntries; ++slot) {
        ASSERT_EQ(NameAt(slot), saved[slot].name) << slot;
        ASSERT_EQ(ScoreTable[slot].score, saved[slot].score) << slot;
    }
    EXPECT_EQ(NameAt(savedEntries), "ostrel");
    EXPECT_EQ(ScoreTable[savedEntries].score, 1);
    EXPECT_EQ(lastInsertRank, rankBefore);  // reading never records a place
}

TEST_F(ScoreFileTest, EmptyNameIsWrittenAsScoreAndSpaceAndReadsTheInsertionSlotsName) {
    PlayGame("", 900);
    PlayGame("x", 600);
    PlayGame("", 400);
    ASSERT_TRUE(SaveScores());
    EXPECT_EQ(ReadFile(scoreFile), SavedFile({"900 ", "600 x", "400 "}));
    ScoreTable[insertionSlot] = ScoreEntry{};
    LoadScores();
    EXPECT_EQ(NameAt(0), "");        // the first record finds the insertion slot empty
    EXPECT_EQ(NameAt(1), "x");
    EXPECT_EQ(NameAt(2), "ostrel");  // a later one finds the default that the pass before left there
    EXPECT_EQ(ScoreTable[2].score, 400);
}

TEST_F(ScoreFileTest, LongestNameIsWrittenWhole) {
    PlayGame(std::string(255, 'n'), 700);
    ASSERT_TRUE(SaveScores());
    EXPECT_EQ(ReadFile(scoreFile), SavedFile({"700 " + std::string(255, 'n')}));
}

TEST_F(ScoreFileTest, SaveReplacesALongerOldFileWhole) {
    WriteFile(scoreFile, std::string(10000, '9'));
    ASSERT_TRUE(SaveScores());
    EXPECT_EQ(ReadFile(scoreFile), SavedFile({}));
    EXPECT_EQ(Listing("textures"), std::vector<std::string>{"scores.asc"});
}

// ---- A save that fails leaves the old file ----

class FailedSaveTest : public ScoreFileTest {
protected:
    void SetUp() override {
        ScoreFileTest::SetUp();
        PlayGame("Pilot", 920);
        ASSERT_TRUE(SaveScores());
        oldFile = ReadFile(scoreFile);
        PlayGame("rover", 1480);
        newFile = SavedFile({"1480 rover", "920 Pilot"});
    }
    void ExpectOldFileAlone() {
        EXPECT_EQ(ReadFile(scoreFile), oldFile);
        EXPECT_EQ(Listing("textures"), std::vector<std::string>{"scores.asc"});
    }
    std::string oldFile;
    std::string newFile;
};

TEST_F(FailedSaveTest, WriteFailingPartwayLeavesTheOldFile) {
    fileAccess.writeBytes = WriteWithinBudget;
    for (size_t budget : {size_t{0}, size_t{1}, size_t{12}, newFile.size() / 2, newFile.size() - 1}) {
        writeBudget = budget;
        EXPECT_FALSE(SaveScores()) << budget;
        ExpectOldFileAlone();
    }
    writeBudget = newFile.size();
    EXPECT_TRUE(SaveScores());
    EXPECT_EQ(ReadFile(scoreFile), newFile);
}

TEST_F(FailedSaveTest, FailingFinishLeavesTheOldFile) {
    fileAccess.finishWriting = FinishButFail;
    EXPECT_FALSE(SaveScores());
    ExpectOldFileAlone();
}

TEST_F(FailedSaveTest, FailingReplaceLeavesTheOldFile) {
    fileAccess.replaceFile = ReplaceFails;
    EXPECT_FALSE(SaveScores());
    ExpectOldFileAlone();
}

TEST_F(ScoreFileTest, MissingTexturesFolderWritesNothing) {
    fs::remove("textures");
    EXPECT_FALSE(SaveScores());
    EXPECT_TRUE(Listing(".").empty());
}

// ---- Lines ----

TEST_F(ScoreFileTest, LinesSkipBlanksAndCommentsAndKeepTheirEnds) {
    EXPECT_EQ(LinesOf("\r\n\n/comment\r\n920 Pilot\r\n\r\r\n480 rover\n/x\n35 Pilot"),
              (std::vector<std::string>{"920 Pilot\r\n", "480 rover\n", "35 Pilot"}));
    EXPECT_TRUE(LinesOf("").empty());
    EXPECT_TRUE(LinesOf("\r\n\r\n/only a comment").empty());
}

TEST_F(ScoreFileTest, OverLongLineKeeps255BytesAndDropsTheRest) {
    std::string fits(254, 'a');     // with its LF, exactly 255 bytes
    std::string tooLong(255, 'b');  // with its LF, 256
    std::string far(400, 'c');
    std::string comment(400, 'd');  // skipped whole, not as one comment and a line
    comment[0] = '/';
    EXPECT_EQ(LinesOf(fits + "\n" + tooLong + "\n" + far + "\r\n" + comment + "\n500 x\n"),
              (std::vector<std::string>{fits + "\n", tooLong, std::string(255, 'c'), "500 x\n"}));

    WriteFile("long.txt", far + "\n");
    char area[lineBufferSize + 64];
    std::memset(area, '#', sizeof area);
    FileHandle* file = fileAccess.openForReading("long.txt");
    ASSERT_TRUE(ReadLine(file, area));
    fileAccess.closeReading(file);
    EXPECT_EQ(area[lineBufferSize - 1], '\0');
    EXPECT_EQ(std::string(area + lineBufferSize, sizeof area - lineBufferSize), std::string(64, '#'));
}

// ---- Record lines ----

TEST_F(ScoreFileTest, RecordLinesParseLikeScoreThenOneWord) {
    struct Case {
        std::string line;
        int32_t score;
        std::string name;
    };
    const std::string unread = "before";  // what the entry held
    const Case cases[] = {
        {"920 Pilot\r\n", 920, "Pilot"},
        {"+750 plus\n", 750, "plus"},
        {"35Glued\r\n", 35, "Glued"},
        {"600 Jane Doe\r\n", 600, "Jane"},
        {"\t 42\v\f\tTab\r\n", 42, "Tab"},
        {"-5 below\n", -5, "below"},
        {"0042 zeros\n", 42, "zeros"},
        {"12345\r\n", 12345, unread},
        {"12345", 12345, unread},
        {"2147483647 max", INT32_MAX, "max"},
        {"-2147483648 min", INT32_MIN, "min"},
        {"2147483648 over", 77, unread},
        {"-2147483649 under", 77, unread},
        {"99999999999 huge\r\n", 77, unread},
        {"-99999999999 tiny\r\n", 77, unread},
        {std::string(300, '9') + " digits", 77, unread},
        {"Pilot 5000\r\n", 77, unread},
        {"- 5 gap\n", 77, unread},
        {"+\n", 77, unread},
        {"#$%!\r\n", 77, unread},
        {"", 77, unread},
        {"8 " + std::string(300, 'w'), 8, std::string(255, 'w')},
    };
    for (const Case& test : cases) {
        ScoreEntry entry;
        std::snprintf(entry.name, sizeof entry.name, "%s", unread.c_str());
        entry.score = 77;
        ParseRecordLine(test.line.c_str(), entry);
        EXPECT_EQ(entry.score, test.score) << test.line;
        EXPECT_EQ(std::string(entry.name), test.name) << test.line;
    }
}

// ---- Loading ----

TEST_F(ScoreFileTest, MissingFileLeavesTheDefaults) {
    LoadScores();
    for (int32_t slot = 0; slot < rankedEntries; ++slot) ASSERT_EQ(ScoreTable[slot].score, 1);
    EXPECT_STREQ(playerName, "snake");
    EXPECT_EQ(openings, 0);
}

TEST_F(ScoreFileTest, LoadingToleratesWhatAHandEditedFileHolds) {
    LoadFrom("/ best scores\r\n\r\n920 Pilot\r\n+750 plus\n35Glued\r\n600 Jane Doe\r\nPilot 5000\r\n"
             " 0 nobody\r\n99999999999 huge\r\n-99999999999 tiny\r\n#$%!\r\n" +
             ("450 " + std::string(396, 'L') + "\r\n") + "480 rover");
    const std::vector<std::pair<int32_t, std::string>> expected = {
        {920, "Pilot"}, {750, "plus"}, {600, "Jane"}, {480, "rover"}, {450, std::string(251, 'L')}, {35, "Glued"}, {1, "ostrel"}};
    for (size_t slot = 0; slot < expected.size(); ++slot) {
        EXPECT_EQ(ScoreTable[slot].score, expected[slot].first) << slot;
        EXPECT_EQ(NameAt(slot), expected[slot].second) << slot;
    }
    EXPECT_EQ(ScoreTable[rankedEntries - 1].score, 1);
    EXPECT_EQ(openings, 1);
    EXPECT_EQ(closings, 1);
}

TEST_F(ScoreFileTest, UnreadableScoreMovesNothingAndKeepsTheInsertionSlot) {
    for (const char* line : {"99999999999 huge\r\n", "-99999999999 tiny\r\n", "Pilot 5000\r\n"}) {
        std::snprintf(ScoreTable[insertionSlot].name, sizeof ScoreTable[insertionSlot].name, "held");
        ScoreTable[insertionSlot].score = 0;
        LoadFrom(line);
        EXPECT_EQ(NameAt(insertionSlot), "held") << line;
        EXPECT_EQ(ScoreTable[insertionSlot].score, 0) << line;
        EXPECT_EQ(NameAt(0), "ostrel") << line;
        EXPECT_EQ(ScoreTable[0].score, 1) << line;
    }
}

TEST_F(ScoreFileTest, LineBeginningWithZeroEndsTheReading) {
    LoadFrom("920 Pilot\r\n0\r\n480 rover\r\n");
    EXPECT_EQ(NameAt(0), "Pilot");
    EXPECT_EQ(ScoreTable[1].score, 1);
    LoadFrom("007 Bond\r\n480 rover\r\n");
    EXPECT_EQ(ScoreTable[0].score, 1);
    LoadFrom(" 0 nobody\r\n480 rover\r\n");  // a space first: a record of score 0, which enters nothing
    EXPECT_EQ(NameAt(0), "rover");
    EXPECT_EQ(ScoreTable[1].score, 1);
    EXPECT_EQ(closings, 3);
}

TEST_F(ScoreFileTest, ReadErrorKeepsTheRecordsReadSoFar) {
    const std::string first = "920 Pilot\r\n480 rover\r\n";
    fileAccess.readByte = ReadWithinBudget;
    readBudget = first.size() + 3;
    LoadFrom(first + "350 cut\r\n300 late\r\n0\r\n");
    EXPECT_EQ(NameAt(0), "Pilot");
    EXPECT_EQ(NameAt(1), "rover");
    EXPECT_EQ(ScoreTable[2].score, 350);  // the line cut short by the error still counts
    EXPECT_EQ(NameAt(2), "ostrel");       // but brought no name
    EXPECT_EQ(ScoreTable[3].score, 1);
    EXPECT_EQ(closings, 1);
}

TEST_F(ScoreFileTest, MoreThan2000RecordsKeepTheBestWithEarlierEqualsHigher) {
    std::string bytes;
    std::vector<std::pair<int32_t, std::string>> records;
    for (int line = 0; line < 2600; ++line) {
        int32_t points = 2 + (line * 37) % 23;
        std::string name = Numbered("r", line);
        char record[64];
        std::snprintf(record, sizeof record, "%d %s%s", points, name.c_str(), line % 2 ? "\n" : "\r\n");
        bytes += record;
        records.push_back({points, name});
    }
    LoadFrom(bytes);
    std::stable_sort(records.begin(), records.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (int32_t slot = 0; slot < rankedEntries; ++slot) {
        ASSERT_EQ(ScoreTable[slot].score, records[slot].first) << slot;
        ASSERT_EQ(NameAt(slot), records[slot].second) << slot;
    }
}

}  // namespace
