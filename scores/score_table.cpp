// The high-score table: its defaults, the ranking pass, and the entry of a finished game.
#include <cstring>

#include "game/game.h"
#include "scores/scores.h"

ScoreEntry ScoreTable[rankedEntries + 1];
int32_t lastInsertRank;

void (*reloadBackgroundRequest)();
void (*drawScoreListRequest)(int32_t centre);

namespace {

constexpr char defaultName[] = "ostrel";
constexpr int32_t defaultScore = 1;
constexpr char defaultPlayerName[] = "snake";

// Copies at most 255 bytes and always ends the copy with a zero byte, whatever the source holds.
void CopyName(char (&to)[256], const char* from) {
    size_t length = 0;
    while (length < sizeof to - 1 && from[length] != '\0')
        ++length;
    std::memcpy(to, from, length);
    to[length] = '\0';
}

}  // namespace

void SetDefaultScores() {
    for (int32_t slot = 0; slot < rankedEntries; ++slot) {
        CopyName(ScoreTable[slot].name, defaultName);
        ScoreTable[slot].score = defaultScore;
    }
    std::memcpy(playerName, defaultPlayerName, sizeof defaultPlayerName);
}

// Slots 0..1999 are ranked when a pass begins, so only the new entry can move: it bubbles up past
// every smaller score and stops below the first equal one, which keeps older equals higher.
void RankInsertionSlot(bool recordRank) {
    for (int32_t k = rankedEntries; k >= 1; --k) {
        if (ScoreTable[k].score > ScoreTable[k - 1].score) {
            ScoreEntry rising = ScoreTable[k];
            ScoreTable[k] = ScoreTable[k - 1];
            ScoreTable[k - 1] = rising;
            if (recordRank)
                lastInsertRank = k;  // the entry now stands in slot k - 1, place k
        }
    }
}

void InsertScore() {
    ScoreEntry& entry = ScoreTable[insertionSlot];
    CopyName(entry.name, playerName);
    entry.score = score;
    RankInsertionSlot(true);
    // The list is drawn onto the background, which the last frame of the game has covered.
    if (reloadBackgroundRequest != nullptr)
        reloadBackgroundRequest();
    if (drawScoreListRequest != nullptr)
        drawScoreListRequest(lastInsertRank);
}
