// The high-score table: 2000 ranked entries, the insertion slot, and the score file that keeps 200.
#pragma once
#include <cstdint>

constexpr int32_t rankedEntries = 2000;  // slots 0..1999 are the ranking
constexpr int32_t insertionSlot = 2000;  // every new entry is written here first
constexpr int32_t savedEntries = 200;    // the score file keeps slots 0..199
constexpr int32_t lineBufferSize = 256;  // ReadLine's buffer, with its zero byte
extern const char scoreFilePath[];       // "textures/scores.asc", relative to the working directory

struct ScoreEntry {
    char name[256];
    int32_t score;
};

extern ScoreEntry ScoreTable[rankedEntries + 1];
extern int32_t lastInsertRank;  // place (1..2000) of the last finished game that ranked; 0 before

// Defaults ("ostrel", 1 in every ranked slot; playerName "snake"), then every record of the score file.
// A file that exists but cannot be read whole is reported once and kept: see SaveScores.
void LoadScores();

// The defaults alone, LoadScores' first step; the insertion slot and lastInsertRank are left as they are.
void SetDefaultScores();

// Ranks the finished game (playerName, score), records its place, and has the score list redrawn.
void InsertScore();

// Moves the insertion slot's entry up to its place; when recording, lastInsertRank becomes that place.
void RankInsertionSlot(bool recordRank);

// Writes slots 0..199 to the score file. The new file is written beside the old one and then put
// in its place, so a failure at any point leaves the old file as it was. True when the new file is in place.
// When LoadScores kept the file, "textures/scores.asc.new" is written instead and the file stays untouched.
bool SaveScores();

struct FileHandle;

// Stores into line the next line of file that is neither blank nor a comment, with its LF and a zero
// byte; false when the file ends or a read fails before such a line begins. Never stores more than
// lineBufferSize bytes: a longer line keeps its first 255 bytes and the rest of it is skipped.
bool ReadLine(FileHandle* file, char* line);

// Reads a record line ("%d %s") into entry: fields that cannot be read keep their values.
// A score that does not fit in 32 bits counts as unreadable.
void ParseRecordLine(const char* line, ScoreEntry& entry);

// The redraw that a finished game asks of the display: reload the background, then draw the list
// around lastInsertRank. The display installs both at start-up; while they are null, InsertScore only ranks.
extern void (*reloadBackgroundRequest)();
extern void (*drawScoreListRequest)(int32_t centre);
