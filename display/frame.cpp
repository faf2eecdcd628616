// One frame: the playfield repainted from the backdrop strip and the sprite atlas, the text, the present.
#include <cstring>

#include "display/display.h"
#include "game/clock.h"
#include "game/game.h"
#include "game/items.h"
#include "scores/scores.h"

Rect srcRect = {0, 0, 0, 0};

// The opaque copy of srcRect from source onto the backSurface; an absent surface skips the copy.
static void CopyToBack(Surface* source, int32_t x, int32_t y) {
    if (backSurface == nullptr || source == nullptr) {
        return;
    }
    lastResult = PlatformCopyRect(backSurface, x, y, source, &srcRect);
}

static_assert(fieldWidth == boardColumns * cellSize && fieldHeight == boardRows * cellSize);

// The cell of the sprite atlas whose top-left pixel is (x, y).
static Rect AtlasCell(int32_t x, int32_t y) {
    return {x, y, x + cellSize, y + cellSize};
}

static void CopyIconToCell(int32_t column, int32_t row) {
    CopyToBack(iconSurface, fieldLeft + cellSize * column, fieldTop + cellSize * row);
}

void DrawPlayfieldBackdrop() {
    // The strip is 4 cells wide: 11 full copies cover 44 columns, the twelfth covers the last 3.
    srcRect = {0, 0, stripWidth, stripHeight};
    for (int32_t i = 0; i < stripFullCopies; ++i) {
        CopyToBack(cubeSurface, fieldLeft + stripWidth * i, fieldTop);
    }
    srcRect = {0, 0, stripLastWidth, stripHeight};
    CopyToBack(cubeSurface, fieldLeft + stripWidth * stripFullCopies, fieldTop);
}

void DrawWalls() {
    for (int32_t x = 0; x < boardColumns; ++x) {
        for (int32_t y = 0; y < boardRows; ++y) {
            int32_t kind = Board[x][y];
            if (kind != 0) {
                srcRect = AtlasCell(cellSize * kind, atlasWallsY);
                CopyIconToCell(x, y);
            }
        }
    }
}

void DrawItems() {
    for (int32_t i = 0; i < level; ++i) {
        // Each item is judged by a fresh reading, by the same rule that lets the snake eat it.
        if (IsItemVisible(ItemTable[i], ReadClock())) {
            srcRect = AtlasCell(atlasFirstItemX + cellSize * i, 0);
            CopyIconToCell(ItemTable[i].x, ItemTable[i].y);
        }
    }
}

// The head's picture follows where the neck lies, so a turn shows only once the step has been made.
static Rect HeadSprite(Segment head, Segment neck) {
    if (neck.x == head.x - 1 && neck.y == head.y) {
        return AtlasCell(atlasHeadX[Right], 0);  // neck to the left
    }
    if (neck.x == head.x && neck.y == head.y - 1) {
        return AtlasCell(atlasHeadX[Down], 0);  // neck above
    }
    if (neck.x == head.x + 1 && neck.y == head.y) {
        return AtlasCell(atlasHeadX[Left], 0);  // neck to the right
    }
    // Neck below, and should the neck not lie beside the head at all, the head still gets a head
    // picture rather than whatever rectangle the previous copy left behind.
    return AtlasCell(atlasHeadX[Up], 0);
}

// Segments stack on one cell after growth and after a new level, up to thousands of them. The body
// picture is opaque, so a second copy onto a cell that already shows it in this frame changes no
// pixel: it is left out. A cell is marked with the number of the frame that drew a body on it.
static uint32_t bodyFrame[boardColumns][boardRows];
static uint32_t snakeFrame;

void DrawSnake() {
    if (++snakeFrame == 0) {  // after 2^32 frames the old marks could match again
        std::memset(bodyFrame, 0, sizeof bodyFrame);
        snakeFrame = 1;
    }
    srcRect = HeadSprite(Snake[0], Snake[1]);
    CopyIconToCell(Snake[0].x, Snake[0].y);
    // Drawn after the head, so a segment lying on the head's cell covers it.
    srcRect = AtlasCell(atlasBodyX, 0);
    for (int32_t i = 1; i < snakeLength; ++i) {
        uint32_t& drawn = bodyFrame[Snake[i].x][Snake[i].y];
        if (drawn != snakeFrame) {
            drawn = snakeFrame;
            CopyIconToCell(Snake[i].x, Snake[i].y);
        }
    }
}

void RenderFrame() {
    DrawPlayfieldBackdrop();
    if (gameRunning != 0) {
        DrawWalls();
        DrawItems();
        DrawSnake();
    } else {
        DrawScoreList(lastInsertRank);
    }
    DrawStatusText();

    srcRect = {0, 0, screenWidth, screenHeight};
    if (primarySurface == nullptr || backSurface == nullptr) {
        return;
    }
    lastResult = PlatformCopyRect(primarySurface, 0, 0, backSurface, &srcRect);
    if (lastResult == DDERR_SURFACELOST) {
        // The frame is not copied again: the next frame tries anew on the restored surfaces.
        if (directDraw != nullptr) {
            lastResult = PlatformRestoreAllSurfaces(directDraw);
            // Restored surfaces hold undefined pixels. Without their bitmaps again the backdrop and
            // the sprites would stay garbage for the rest of the run (switching away from the
            // fullscreen game loses them), and the background until the next game over.
            if (lastResult == S_OK) {
                LoadAllBitmaps();
            }
        }
        return;
    }
    if (lastResult == S_OK) {
        PlatformPresent(primarySurface);
    }
}
