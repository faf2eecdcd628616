// The score file "textures/scores.asc": reading it into the table at start-up, writing slots 0..199 on quitting.
#include <cstdint>
#include <cstdio>

#include "scores/file_access.h"
#include "scores/scores.h"

const char scoreFilePath[] = "textures/scores.asc";

namespace {

// A score file that exists but could not be read whole at start-up (held by another process,
// not readable, a read error part-way) is never replaced: saving over it would lose every record
// that was not read. This run's saves go beside it instead. A later start-up that reads the score
// file whole ranks the records of that earlier save in as well, and removes it only once a save
// has put them into the score file: a crash in between brings them back twice, never loses them.
// One that cannot read it whole either ranks them in all the same, so that its own save beside
// the score file carries them along.
constexpr char keptFileSavePath[] = "textures/scores.asc.new";
bool scoreFileKept = false;
bool keptFileSaveTaken = false;  // the records of an earlier save beside the score file were all read

// The new table is written to a temporary file beside its target, and only a complete file takes
// its place. Each save makes a temporary file of its own, under a name nothing stands at yet: two
// copies of the game saving at the same moment never write into the same one. A name taken (by
// another copy's save under way, or left by a crash) only moves the save on to the next name.
constexpr int32_t temporaryNames = 100;

constexpr char endLines[] = "0\r\n\r\n";  // the end line "0", then one empty line

bool IsWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

bool ReadLine(FileHandle* file, char* line) {
    for (;;) {
        unsigned char byte;
        do {
            if (!fileAccess.readByte(file, &byte))
                return false;
        } while (byte == '\r' || byte == '\n');

        // The file is outside input: bytes beyond the buffer are read and dropped, never stored.
        int32_t length = 0;
        line[length++] = static_cast<char>(byte);
        while (byte != '\n') {
            // A last line cut off by the end of the file is still a line; the next call finds the end.
            if (!fileAccess.readByte(file, &byte))
                break;
            if (length < lineBufferSize - 1)
                line[length++] = static_cast<char>(byte);
        }
        line[length] = '\0';

        if (line[0] != '/')
            return true;
    }
}

// "%d %s" without the standard scanner, whose behaviour on a score beyond 32 bits is undefined.
void ParseRecordLine(const char* line, ScoreEntry& entry) {
    const char* at = line;
    while (IsWhitespace(*at))
        ++at;

    bool negative = false;
    if (*at == '+' || *at == '-') {
        negative = *at == '-';
        ++at;
    }
    if (!IsDigit(*at))
        return;
    const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
    int64_t magnitude = 0;
    for (; IsDigit(*at); ++at) {
        magnitude = magnitude * 10 + (*at - '0');
        if (magnitude > limit)
            return;  // too big for a score: the field is unreadable
    }
    entry.score = static_cast<int32_t>(negative ? -magnitude : magnitude);

    while (IsWhitespace(*at))
        ++at;
    if (*at == '\0')
        return;
    size_t length = 0;
    while (*at != '\0' && !IsWhitespace(*at) && length < sizeof entry.name - 1)
        entry.name[length++] = *at++;
    entry.name[length] = '\0';
}

namespace {

void KeepScoreFile() {
    scoreFileKept = true;
    fileAccess.report(
        "textures/scores.asc could not be read whole: it is left as it is, and this run's "
        "scores are saved to textures/scores.asc.new\n");
}

// Every record line up to the end line, ranked as it is read when asked to; false when a read failed.
bool ReadRecords(FileHandle* file, bool ranking) {
    char line[lineBufferSize];
    // A line beginning with "0" ends the records; the program never writes a record line so.
    while (ReadLine(file, line) && line[0] != '0') {
        if (ranking) {
            ParseRecordLine(line, ScoreTable[insertionSlot]);
            RankInsertionSlot(false);
        }
    }
    return !fileAccess.readFailed(file);
}

bool ReadKeptFileSave(bool ranking) {
    FileHandle* file = fileAccess.openForReading(keptFileSavePath);
    if (file == nullptr)
        return false;
    const bool whole = ReadRecords(file, ranking);
    fileAccess.closeReading(file);
    return whole;
}

// A save that cannot be read whole is left as it is for a later start-up to try again. It is read
// through once before any of its records is ranked: the records read before a failure would come
// back a second time, with the rest, at that later start-up.
void TakeInKeptFileSave() {
    keptFileSaveTaken = ReadKeptFileSave(false) && ReadKeptFileSave(true);
}

FileHandle* CreateTemporaryFile(const char* target, char* temporary, size_t size) {
    for (int32_t name = 0; name < temporaryNames; ++name) {
        if (name == 0)
            std::snprintf(temporary, size, "%s.tmp", target);
        else
            std::snprintf(temporary, size, "%s.%d.tmp", target, static_cast<int>(name));
        if (FileHandle* file = fileAccess.createForWriting(temporary))
            return file;
        // A folder that cannot be written to refuses every name alike.
        if (!fileAccess.exists(temporary))
            return nullptr;
    }
    return nullptr;
}

}  // namespace

void LoadScores() {
    SetDefaultScores();
    scoreFileKept = false;
    keptFileSaveTaken = false;

    FileHandle* file = fileAccess.openForReading(scoreFilePath);
    if (file == nullptr) {
        // No file yet: the defaults stand, and the first save creates it.
        if (fileAccess.exists(scoreFilePath))
            KeepScoreFile();
    } else {
        // The records read before a failure stay in the table, as at the end of the file.
        if (!ReadRecords(file, true))
            KeepScoreFile();
        fileAccess.closeReading(file);
    }
    // Taken in even when the score file was kept: this run's saves then go to the same place, and
    // must carry the earlier save's records along rather than replace them.
    TakeInKeptFileSave();
}

// Cutting the old file to zero and writing it anew would lose every score to a crash or a full
// disk, so the old file stays untouched until a complete new one can replace it.
bool SaveScores() {
    const char* target = scoreFileKept ? keptFileSavePath : scoreFilePath;
    char temporary[sizeof keptFileSavePath + 16];
    FileHandle* file = CreateTemporaryFile(target, temporary, sizeof temporary);
    if (file == nullptr)
        return false;

    // Room for the longest record: an 11-character score, a space, a 255-byte name, CR LF, zero.
    char text[16 + sizeof ScoreTable[0].name];
    bool written = true;
    for (int32_t slot = 0; slot < savedEntries && written; ++slot) {
        const ScoreEntry& entry = ScoreTable[slot];
        int length = std::snprintf(text, sizeof text, "%d %.255s\r\n", static_cast<int>(entry.score), entry.name);
        written = length > 0 && static_cast<size_t>(length) < sizeof text &&
                  fileAccess.writeBytes(file, text, static_cast<size_t>(length));
    }
    if (written)
        written = fileAccess.writeBytes(file, endLines, sizeof endLines - 1);

    bool finished = fileAccess.finishWriting(file);
    if (written && finished && fileAccess.replaceFile(temporary, target)) {
        // Once the score file holds them, the records of the save beside it are gone from nowhere.
        if (keptFileSaveTaken && !scoreFileKept)
            keptFileSaveTaken = !fileAccess.removeFile(keptFileSavePath);
        return true;
    }
    fileAccess.removeFile(temporary);
    return false;
}
