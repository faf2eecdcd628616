// The game's pictures, drawn from code: the sprite atlas, the playfield backdrop strip, the
// background with the title and the status panels, and the window icon.
#pragma once

#include "tools/bitmap_files.h"
#include "tools/image.h"
#include "tools/png_file.h"

// The sizes and places of everything the game copies from these pictures.
#include "display/layout.h"

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
