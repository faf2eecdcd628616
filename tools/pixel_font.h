// The generator's built-in bitmap fonts: a 5 x 7 face for captions and a heavy face for the title.
#pragma once

constexpr int glyphWidth = 5;
constexpr int glyphHeight = 7;

// Whether the glyph for c covers the pixel; unknown characters are blank.
bool GlyphPixel(char c, int column, int row);
// Width in font pixels of a text set with one blank column between glyphs.
int TextColumns(const char* text);

// The heavy title face: 7 rows, strokes two pixels wide, only the letters the title needs.
constexpr int titleGlyphHeight = 7;
// Columns of the title glyph for c; 0 for a letter the face lacks.
int TitleGlyphWidth(char c);
bool TitleGlyphPixel(char c, int column, int row);
