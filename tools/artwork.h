// The game's pictures, drawn from code: the sprite atlas, the playfield backdrop strip, the
// background with the title and the status panels, and the window icon.
#pragma once

#include "tools/bitmap_files.h"
#include "tools/image.h"

constexpr int kCell = 16;

constexpr int kAtlasWidth = 320;
constexpr int kAtlasHeight = 32;
constexpr int kAtlasHeadUpX = 0;
constexpr int kAtlasHeadRightX = 16;
constexpr int kAtlasHeadDownX = 32;
constexpr int kAtlasHeadLeftX = 48;
constexpr int kAtlasBodyX = 64;
constexpr int kAtlasFirstItemX = 80;
constexpr int kAtlasItemSlots = 15;
constexpr int kAtlasWallKinds = 20;

constexpr int kStripWidth = 64;
constexpr int kStripHeight = 464;

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kFieldLeft = 23;
constexpr int kFieldTop = 105;
constexpr int kFieldWidth = 752;
constexpr int kFieldHeight = 464;

constexpr int kIconSize = 32;

// The colour every sprite's square is filled with around its figure; a field cell without its speckles.
Rgb SpriteGround();
// A field tile without speckles, the ground every sprite stands on.
void DrawPlainCell(Image& image, int x, int y);

Image DrawAtlas();
Image DrawBackdropStrip();
Image DrawBackground();
IndexedImage DrawIcon();
