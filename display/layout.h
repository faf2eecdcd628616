// Where everything stands: the 800 x 600 picture, the playfield, the backdrop strip, the sprite
// atlas, and the points and colours of the text. The display draws every frame by these numbers and
// the artwork generator paints the bitmaps by them, so the two cannot drift apart.
#pragma once
#include <cstdint>

constexpr int32_t screenWidth = 800;
constexpr int32_t screenHeight = 600;

// The playfield: 47 x 29 cells of 16 pixels; cell (x, y) has its top-left pixel at (23 + 16x, 105 + 16y).
constexpr int32_t cellSize = 16;
constexpr int32_t fieldLeft = 23;
constexpr int32_t fieldTop = 105;
constexpr int32_t fieldWidth = 47 * cellSize;
constexpr int32_t fieldHeight = 29 * cellSize;

// The backdrop strip (cube.bmp): four columns of field cells the height of the field, laid
// side by side across it; the last copy is cut short.
constexpr int32_t stripWidth = 4 * cellSize;
constexpr int32_t stripHeight = fieldHeight;
constexpr int32_t stripFullCopies = fieldWidth / stripWidth;
constexpr int32_t stripLastWidth = fieldWidth - stripFullCopies * stripWidth;

// The sprite atlas (icons.bmp), two rows of twenty cells. The top row holds the head for each
// heading (in the order of Direction: up, right, down, left), the body, then the items of slots
// 0, 1, ...; the bottom row holds wall kind n in its cell n (cell 0 is unused). Of the room in the
// rows, the game draws the items of slots 0..6 (one more in play at each of the seven levels) and
// wall kinds 1..7 (the walls of levels 2 to 7); the other cells stay plain ground.
constexpr int32_t atlasWidth = 20 * cellSize;
constexpr int32_t atlasHeight = 2 * cellSize;
constexpr int32_t atlasHeadX[4] = {0, cellSize, 2 * cellSize, 3 * cellSize};
constexpr int32_t atlasBodyX = 4 * cellSize;
constexpr int32_t atlasFirstItemX = 5 * cellSize;
constexpr int32_t atlasItemsDrawn = 7;
constexpr int32_t atlasWallsY = cellSize;
constexpr int32_t atlasWallKindsDrawn = 7;

// The status text, in opaque boxes padded to statusChars letters: the name over the score on the
// left, the level over the length on the right.
constexpr int32_t statusLeftX = 140;
constexpr int32_t statusRightX = 550;
constexpr int32_t statusTopY = 34;
constexpr int32_t statusBottomY = 63;
constexpr int32_t statusChars = 15;

// The score list: one row per field row from the field's top, rank, name and score in columns;
// the start prompt is four words down each side of it.
constexpr int32_t listRows = 28;
constexpr int32_t listRankX = 340;
constexpr int32_t listNameX = 370;
constexpr int32_t listScoreX = 450;
constexpr int32_t promptLeftX = 150;
constexpr int32_t promptRightX = 600;
constexpr int32_t promptTopY = 250;
constexpr int32_t promptLineStep = 20;

// Text colours, as COLORREF values (0x00BBGGRR).
constexpr uint32_t statusColour = 0x979799;
constexpr uint32_t highlightColour = 0xFFFFFF;
constexpr uint32_t rowColour = 0x808080;
constexpr uint32_t promptColour = 0x0000FF;  // red
constexpr uint32_t textBackground = 0x000000;
