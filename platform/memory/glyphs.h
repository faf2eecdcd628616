// The glyph atlas that every platform drawing in memory writes its text with: the printable
// characters of the font the game carries, rendered at build time by tools/make_glyphs.cpp, so that
// Linux, the browser and the replays show the same letters.
#pragma once
#include <cstdint>

constexpr int32_t firstGlyph = 32;  // space
constexpr int32_t lastGlyph = 126;  // tilde
constexpr int32_t glyphCount = lastGlyph - firstGlyph + 1;

// Every glyph stands in a cell as wide as the face's advance and as high as the rows from its
// ascent down to its lowest descender; the baseline lies at the ascent. The largest size of the
// face whose cells fit the score list's 16-pixel rows and whose 11-letter names fit its 80 pixels.
extern const int32_t glyphCellWidth;
extern const int32_t glyphCellHeight;
// Coverage from 0 (the background) to 255 (the text colour): glyph after glyph from firstGlyph,
// each glyphCellHeight rows of glyphCellWidth, top row first.
extern const unsigned char glyphCoverage[];
