// The game's pictures, drawn from code: the sprite atlas, the playfield backdrop strip, the
// background with the title and the status panels, and the window icon.
#pragma once

#include "tools/bitmap_files.h"
#include "tools/image.h"
#include "tools/png_file.h"

constexpr int cellPixels = 16;

constexpr int atlasWidth = 320;
constexpr int atlasHeight = 32;
constexpr int atlasHeadUpX = 0;
constexpr int atlasHeadRightX = 16;
constexpr int atlasHeadDownX = 32;
constexpr int atlasHeadLeftX = 48;
constexpr int atlasBodyX = 64;
constexpr int atlasFirstItemX = 80;
constexpr int atlasItemSlots = 15;
constexpr int atlasWallKinds = 20;

constexpr int stripWidth = 64;
constexpr int stripHeight = 464;

constexpr int screenWidth = 800;
constexpr int screenHeight = 600;
constexpr int fieldLeft = 23;
constexpr int fieldTop = 105;
constexpr int fieldWidth = 752;
constexpr int fieldHeight = 464;

constexpr int iconSize = 32;
// The sizes of the desktop's application icon, each drawn at its own size.
constexpr int appIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The colour every sprite's square is filled with around its figure; a field cell without its speckles.
Rgb SpriteGround();
// A field tile without speckles, the ground every sprite stands on.
void DrawPlainCell(Image& image, int x, int y);

Image DrawAtlas();
Image DrawBackdropStrip();
Image DrawBackground();
IndexedImage DrawIcon();
RgbaImage DrawAppIcon(int size);
