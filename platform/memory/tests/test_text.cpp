// Text of the in-memory display: the glyph atlas's cells fit the score list, and a glyph's cell is
// written opaque, blended from the background to the text colour, clipped to its target. The
// context's pixels and the record of writes are stand-ins here, so the text is seen on its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/memory/glyphs.h"
#include "platform/memory/memory_internal.h"

namespace {

constexpr int32_t canvasWidth = 64;
constexpr int32_t canvasHeight = 40;
constexpr uint32_t untouched = 0x00FF00FF;
uint32_t canvas[canvasWidth * canvasHeight];

struct Note {
    std::string written;  // left, top, right, bottom
    uint64_t signature;
};
std::vector<Note> notes;

std::string Corners(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return std::to_string(left) + "," + std::to_string(top) + "," + std::to_string(right) + "," +
           std::to_string(bottom);
}

int Coverage(char character, int x, int y) {
    return glyphCoverage[((character - firstGlyph) * glyphCellHeight + y) * glyphCellWidth + x];
}

uint32_t At(int x, int y) {
    return canvas[y * canvasWidth + x];
}

void Clear() {
    std::fill(std::begin(canvas), std::end(canvas), untouched);
    notes.clear();
}

// White on dark blue unless told otherwise.
void Write(int32_t x, int32_t y, const std::string& text, uint32_t textColour = 0xFFFFFF,
           uint32_t backgroundColour = 0x400000) {
    DrawContext context{};
    PlatformSetOpaqueBackground(&context);
    PlatformSetTextColour(&context, textColour);
    PlatformSetBackgroundColour(&context, backgroundColour);
    PlatformTextOut(&context, x, y, text.data(), static_cast<int32_t>(text.size()));
}

}  // namespace

uint32_t* ContextPixels(DrawContext*, int32_t* width, int32_t* height) {
    *width = canvasWidth;
    *height = canvasHeight;
    return canvas;
}

void NoteContextWrite(DrawContext*, const Rect& written, uint64_t signature) {
    notes.push_back(Note{Corners(written.left, written.top, written.right, written.bottom), signature});
}

// The rows of the score list are 16 pixels apart, and an 11-letter name must end before the score
// column 80 pixels to its right. The cell reaches down to the underscore, the lowest of the ink.
TEST(GlyphAtlas, ACellFitsTheListsRowsAndAnElevenLetterNameFitsItsColumn) {
    EXPECT_TRUE(glyphCellHeight >= 12 && glyphCellHeight <= 16) << glyphCellHeight;
    EXPECT_TRUE(glyphCellWidth >= 6 && 11 * glyphCellWidth <= 80) << glyphCellWidth;
    EXPECT_GT(Coverage('_', glyphCellWidth / 2, glyphCellHeight - 1), 0) << "the cell cuts the underscore off";
}

// Each character fills its whole cell, one cell after the other: the text colour where the glyph
// covers a pixel fully, the background where it does not touch it, and between them in proportion.
// The same glyph at the same place in the same colours is the same write; in another colour it is not.
TEST(Text, EachCellIsTheBackgroundBlendedToTheTextColourByCoverage) {
    Clear();
    Write(3, 5, "Mg", 0x979799);
    for (int y = 0; y < canvasHeight; ++y) {
        for (int x = 0; x < canvasWidth; ++x) {
            const uint32_t pixel = At(x, y);
            if (x < 3 || x >= 3 + 2 * glyphCellWidth || y < 5 || y >= 5 + glyphCellHeight) {
                ASSERT_EQ(pixel, untouched) << x << ", " << y;
                continue;
            }
            const double share = Coverage(x - 3 < glyphCellWidth ? 'M' : 'g', (x - 3) % glyphCellWidth, y - 5) / 255.0;
            ASSERT_TRUE(share < 1 || pixel == 0x999797u) << x << ", " << y;
            ASSERT_TRUE(share > 0 || pixel == 0x000040u) << x << ", " << y;
            EXPECT_NEAR(pixel >> 16, 0x99 * share, 1.0) << x << ", " << y;
            EXPECT_NEAR(pixel >> 8 & 0xFF, 0x97 * share, 1.0) << x << ", " << y;
            EXPECT_NEAR(pixel & 0xFF, 0x40 + (0x97 - 0x40) * share, 1.0) << x << ", " << y;
        }
    }
    Write(3, 5, "Mg", 0x979799);
    Write(3, 5, "Mg", 0xFFFFFF);
    ASSERT_EQ(notes.size(), 6u);
    EXPECT_EQ(notes[1].written, Corners(3 + glyphCellWidth, 5, 3 + 2 * glyphCellWidth, 5 + glyphCellHeight));
    EXPECT_EQ(notes[2].signature, notes[0].signature);
    EXPECT_EQ(notes[3].signature, notes[1].signature);
    EXPECT_NE(notes[3].signature, notes[2].signature);
    EXPECT_NE(notes[4].signature, notes[0].signature);
    // A byte the font has no glyph for (a control character, a letter of another code page read from
    // the score file) shows as a question mark.
    Clear();
    Write(0, 0, std::string("?\x01\x7F\xC8", 4));
    for (int i = 1; i < 4; ++i)
        for (int y = 0; y < glyphCellHeight; ++y)
            for (int x = 0; x < glyphCellWidth; ++x)
                ASSERT_EQ(At(i * glyphCellWidth + x, y), At(x, y)) << "character " << i;
}

// Text that hangs over an edge of its target shows the part that lies on it, as the same text
// drawn in the open shows it, and leaves a note of only that part.
TEST(Text, TextIsClippedAtEveryEdge) {
    Clear();
    Write(20, 12, "AB");
    const std::vector<uint32_t> open(std::begin(canvas), std::end(canvas));
    Clear();
    const int32_t w = glyphCellWidth, h = glyphCellHeight, right = canvasWidth - w - 2, bottom = canvasHeight - 5;
    Write(-3, -4, "AB");
    Write(right, bottom, "AB");
    Write(2147483647 - 5, -2147483647 - 1, "far off");
    for (int y = 0; y < canvasHeight; ++y) {
        for (int x = 0; x < canvasWidth; ++x) {
            uint32_t expected = untouched;
            if (x < 2 * w - 3 && y < h - 4)
                expected = open[(y + 4 + 12) * canvasWidth + x + 3 + 20];
            if (x >= right && y >= bottom)
                expected = open[(y - bottom + 12) * canvasWidth + x - right + 20];
            ASSERT_EQ(At(x, y), expected) << x << ", " << y;
        }
    }
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_EQ(notes[0].written, Corners(0, 0, w - 3, h - 4));
    EXPECT_EQ(notes[1].written, Corners(w - 3, 0, 2 * w - 3, h - 4));
    EXPECT_EQ(notes[2].written, Corners(right, bottom, right + w, canvasHeight));
    EXPECT_EQ(notes[3].written, Corners(right + w, bottom, canvasWidth, canvasHeight));
}
