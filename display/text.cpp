// The status text above the playfield and the score-list window with its start prompt.
#include <cstdio>

#include "display/display.h"
#include "game/game.h"
#include "scores/scores.h"

DrawContext* textDc = nullptr;

static constexpr int32_t textBufferSize = 256;
static constexpr int32_t rowsAboveCentre = listRows / 2;

// snprintf reports the length the text would have had; only what landed in the buffer is drawn.
static void WriteText(int32_t x, int32_t y, const char* text, int written) {
    int32_t count = written;
    if (count < 0) {
        count = 0;
    }
    if (count > textBufferSize - 1) {
        count = textBufferSize - 1;
    }
    PlatformTextOut(textDc, x, y, text, count);
}

static HRESULT TakeTextContext() {
    if (backSurface == nullptr) {
        return E_FAIL;
    }
    DrawContext* context = nullptr;
    HRESULT result = PlatformGetDC(backSurface, &context);
    if (result != S_OK) {
        return result;
    }
    textDc = context;
    // Each text's box is filled black before its letters: this is what keeps the text readable on the
    // background picture and wipes the cursor underscore once a game runs.
    PlatformSetOpaqueBackground(textDc);
    PlatformSetBackgroundColour(textDc, textBackground);
    return S_OK;
}

static HRESULT GiveBackTextContext() {
    HRESULT result = PlatformReleaseDC(backSurface, textDc);
    textDc = nullptr;
    return result;
}

// The status area is never cleared as such: each status text is padded with blanks to the width of
// the longest one a game shows, so its opaque box also covers whatever a longer text of an earlier
// frame left there. Without it a new game's "Score: 0" after "Score: 123" would read "Score: 023".

static void WriteStatusText(int32_t x, int32_t y, char* text, int written) {
    int32_t count = written < 0 ? 0 : written;
    if (count > textBufferSize - 1) {
        count = textBufferSize - 1;
    }
    while (count < statusChars) {
        text[count++] = ' ';
    }
    PlatformTextOut(textDc, x, y, text, count);
}

void DrawStatusText() {
    if (TakeTextContext() != S_OK) {
        return;
    }
    PlatformSetTextColour(textDc, statusColour);
    char text[textBufferSize];
    // The underscore is the cursor of name entry; while a game runs two blanks paint over it.
    if (gameRunning == 0) {
        WriteStatusText(statusLeftX, statusTopY, text, std::snprintf(text, sizeof text, "%s_", playerName));
    } else {
        WriteStatusText(statusLeftX, statusTopY, text, std::snprintf(text, sizeof text, "%s  ", playerName));
    }
    WriteStatusText(statusLeftX, statusBottomY, text, std::snprintf(text, sizeof text, "Score: %d", score));
    WriteStatusText(statusRightX, statusTopY, text, std::snprintf(text, sizeof text, "Level: %d", level));
    WriteStatusText(statusRightX, statusBottomY, text, std::snprintf(text, sizeof text, "Snake: %d", snakeLength));
    GiveBackTextContext();
}

HRESULT DrawScoreList(int32_t centre) {
    // -1 while no game of this run has ranked: then no row is white.
    int32_t highlighted = lastInsertRank - 1;
    if (centre < rowsAboveCentre) {
        centre = rowsAboveCentre;
    }
    HRESULT result = TakeTextContext();
    if (result != S_OK) {
        return result;
    }

    char text[textBufferSize];
    for (int32_t row = 0; row < listRows; ++row) {
        int32_t i = centre - rowsAboveCentre + row;
        // Only slots 0..1999 have a place. The insertion slot holds the entry that fell out of the
        // ranking (or a game that never entered it), so the rows from index 2000 on stay blank
        // rather than show it as place 2001, and nothing past the table is read.
        if (i >= rankedEntries) {
            break;
        }
        int32_t y = fieldTop + cellSize * row;
        PlatformSetTextColour(textDc, i == highlighted ? highlightColour : rowColour);
        WriteText(listRankX, y, text, std::snprintf(text, sizeof text, "%d.", i + 1));
        WriteText(listNameX, y, text, std::snprintf(text, sizeof text, "%s", ScoreTable[i].name));
        // Written after the name, so where a long name reaches the score's column its box covers it.
        WriteText(listScoreX, y, text, std::snprintf(text, sizeof text, "%d", ScoreTable[i].score));
    }

    PlatformSetTextColour(textDc, promptColour);
    static const char* const promptWords[] = {"PRESS", "SPACE", "TO", "START"};
    static const int32_t promptColumns[] = {promptLeftX, promptRightX};
    for (int32_t column : promptColumns) {
        for (int32_t word = 0; word < 4; ++word) {
            WriteText(column, promptTopY + promptLineStep * word, text,
                      std::snprintf(text, sizeof text, "%s", promptWords[word]));
        }
    }
    return GiveBackTextContext();
}
