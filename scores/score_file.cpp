// The score file "textures/scores.asc": reading it into the table at start-up, writing slots 0..199 on quitting.
#include <cstdint>
#include <cstdio>

#include "scores/file_access.h"
#include "scores/scores.h"

const char scoreFilePath[] = "textures/scores.asc";

namespace {

// The new table is written here, beside the old file, and only a complete file takes its place.
constexpr char temporaryScoreFilePath[] = "textures/scores.asc.tmp";

constexpr char endLines[] = "0\r\n\r\n";  // the end line "0", then one empty line

bool IsWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool ReadLine(FileHandle* file, char* line) {
    for (;;) {
        unsigned char byte;
        do {
            if (!fileAccess.readByte(file, &byte)) return false;
        } while (byte == '\r' || byte == '\n');

        // The file is outside input: bytes beyond the buffer are read and dropped, never stored.
        int32_t length = 0;
        line[length++] = static_cast<char>(byte);
        while (byte != '\n') {
            // A last line cut off by the end of the file is still a line; the next call finds the end.
            if (!fileAccess.readByte(file, &byte)) break;
            if (length < lineBufferSize - 1) line[length++] = static_cast<char>(byte);
        }
        line[length] = '\0';

        if (line[0] != '/') return true;
    }
}

// "%d %s" without the standard scanner, whose behaviour on a score beyond 32 bits is undefined.
void ParseRecordLine(const char* line, ScoreEntry& entry) {
    const char* at = line;
    while (IsWhitespace(*at)) ++at;

    bool negative = false;
    if (*at == '+' || *at == '-') {
        negative = *at == '-';
        ++at;
    }
    if (!IsDigit(*at)) return;
    const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
    int64_t magnitude = 0;
    for (; IsDigit(*at); ++at) {
        magnitude = magnitude * 10 + (*at - '0');
        if (magnitude > limit) return;  // too big for a score: the field is unreadable
    }
    entry.score = static_cast<int32_t>(negative ? -magnitude : magnitude);

    while (IsWhitespace(*at)) ++at;
    if (*at == '\0') return;
    size_t length = 0;
    while (*at != '\0' && !IsWhitespace(*at) && length < sizeof entry.name - 1) entry.name[length++] = *at++;
    entry.name[length] = '\0';
}

void LoadScores() {
    SetDefaultScores();

    FileHandle* file = fileAccess.openForReading(scoreFilePath);
    if (file == nullptr) return;  // no file yet: the defaults stand
    char line[lineBufferSize];
    // A line beginning with "0" ends the records; the program never writes a record line so.
    while (ReadLine(file, line) && line[0] != '0') {
        ParseRecordLine(line, ScoreTable[insertionSlot]);
        RankInsertionSlot(false);
    }
    fileAccess.closeReading(file);
}

// Cutting the old file to zero and writing it anew would lose every score to a crash or a full
// disk, so the old file stays untouched until a complete new one can replace it.
bool SaveScores() {
    FileHandle* file = fileAccess.createForWriting(temporaryScoreFilePath);
    if (file == nullptr) return false;

    // Room for the longest record: an 11-character score, a space, a 255-byte name, CR LF, zero.
    char text[16 + sizeof ScoreTable[0].name];
    bool written = true;
    for (int32_t slot = 0; slot < savedEntries && written; ++slot) {
        const ScoreEntry& entry = ScoreTable[slot];
        int length = std::snprintf(text, sizeof text, "%d %.255s\r\n", static_cast<int>(entry.score), entry.name);
        written = length > 0 && static_cast<size_t>(length) < sizeof text &&
                  fileAccess.writeBytes(file, text, static_cast<size_t>(length));
    }
    if (written) written = fileAccess.writeBytes(file, endLines, sizeof endLines - 1);

    bool finished = fileAccess.finishWriting(file);
    if (written && finished && fileAccess.replaceFile(temporaryScoreFilePath, scoreFilePath)) return true;
    fileAccess.removeFile(temporaryScoreFilePath);
    return false;
}
