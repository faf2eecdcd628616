// The generated pictures as the game uses them: the atlas cells it copies and the strip it repeats
// across the field.
#include <gtest/gtest.h>

#include "tools/artwork.h"

namespace {

const Image& Atlas() {
    static const Image atlas = DrawAtlas();
    return atlas;
}

int DifferingPixels(int leftA, int topA, int leftB, int topB) {
    int n = 0;
    for (int y = 0; y < cellSize; ++y)
        for (int x = 0; x < cellSize; ++x)
            n += !(GetPixel(Atlas(), leftA + x, topA + y) == GetPixel(Atlas(), leftB + x, topB + y));
    return n;
}

// The red of the forked tongue lies within 3 pixels of the edge the head faces, and of no other.
TEST(Artwork, EachHeadPutsItsTongueOnTheSideItHeadsTowards) {
    for (int heading = 0; heading < 4; ++heading) {
        int tongue[4] = {0, 0, 0, 0};  // by edge: top, right, bottom, left
        for (int y = 0; y < cellSize; ++y)
            for (int x = 0; x < cellSize; ++x) {
                const Rgb c = GetPixel(Atlas(), atlasHeadX[heading] + x, y);
                const bool red = c.r > 200 && c.g < 80 && c.b < 100;
                tongue[0] += red && y < 3;
                tongue[1] += red && x >= cellSize - 3;
                tongue[2] += red && y >= cellSize - 3;
                tongue[3] += red && x < 3;
            }
        for (int edge = 0; edge < 4; ++edge)
            EXPECT_EQ(tongue[edge] >= 3, edge == heading) << "heading " << heading << ", edge " << edge;
    }
}

TEST(Artwork, TheSevenItemsAndTheSevenWallKindsAreToldApart) {
    for (int i = 0; i < 7; ++i)
        for (int j = i + 1; j < 7; ++j) {
            EXPECT_GE(DifferingPixels(atlasFirstItemX + cellSize * i, 0, atlasFirstItemX + cellSize * j, 0), 64)
                << "items " << i << " and " << j;
            EXPECT_GE(DifferingPixels(cellSize * (i + 1), atlasWallsY, cellSize * (j + 1), atlasWallsY), 200)
                << "walls " << i + 1 << " and " << j + 1;
        }
}

// Copies meet column 63 to column 0, and the last, 48 columns wide, ends on column 47.
TEST(Artwork, TheStripRepeatsSidewaysWithoutASeam) {
    const Image strip = DrawBackdropStrip();
    for (int y = 0; y < stripHeight; ++y)
        for (int join = 16; join < stripWidth; join += 16) {
            ASSERT_EQ(GetPixel(strip, 63, y), GetPixel(strip, join - 1, y)) << "row " << y;
            ASSERT_EQ(GetPixel(strip, 0, y), GetPixel(strip, join, y)) << "row " << y;
        }
}

}  // namespace
