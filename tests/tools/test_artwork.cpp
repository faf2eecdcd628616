// The generated pictures as the game uses them: their sizes, the atlas cells it copies, and the
// strip it repeats across the field.
#include <gtest/gtest.h>

#include "tools/artwork.h"

namespace {

const Image& Atlas() {
    static const Image atlas = DrawAtlas();
    return atlas;
}

Image Cell(int left, int top) {
    Image cell = MakeImage(cellSize, cellSize, {0, 0, 0});
    CopyRect(Atlas(), left, top, cellSize, cellSize, cell, 0, 0);
    return cell;
}

int DifferingPixels(const Image& a, const Image& b) {
    int n = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i)
        n += a.pixels[i] == b.pixels[i] ? 0 : 1;
    return n;
}

TEST(Artwork, PicturesHaveTheSizesTheGameStretchesThemTo) {
    const Image strip = DrawBackdropStrip(), background = DrawBackground();
    const IndexedImage icon = DrawIcon();
    EXPECT_EQ(std::vector<int>({Atlas().width, Atlas().height, strip.width, strip.height, background.width,
                                background.height, icon.width, icon.height}),
              std::vector<int>({320, 32, 64, 464, 800, 600, 32, 32}));
}

// The red of the forked tongue lies within 3 pixels of the edge the head faces, and of no other.
TEST(Artwork, EachHeadPutsItsTongueOnTheSideItHeadsTowards) {
    const int left[] = {atlasHeadX[0], atlasHeadX[1], atlasHeadX[2], atlasHeadX[3]};
    for (int heading = 0; heading < 4; ++heading) {
        const Image head = Cell(left[heading], 0);
        int tongue[4] = {0, 0, 0, 0};  // by edge: top, right, bottom, left
        for (int y = 0; y < cellSize; ++y)
            for (int x = 0; x < cellSize; ++x) {
                const Rgb c = GetPixel(head, x, y);
                if (c.r <= 200 || c.g >= 80 || c.b >= 100)
                    continue;
                tongue[0] += y < 3;
                tongue[1] += x >= cellSize - 3;
                tongue[2] += y >= cellSize - 3;
                tongue[3] += x < 3;
            }
        for (int edge = 0; edge < 4; ++edge)
            EXPECT_EQ(tongue[edge] >= 3, edge == heading) << "heading " << heading << ", edge " << edge;
    }
}

TEST(Artwork, TheSevenItemsAndTheSevenWallKindsAreToldApart) {
    for (int i = 0; i < 7; ++i)
        for (int j = i + 1; j < 7; ++j) {
            EXPECT_GE(DifferingPixels(Cell(atlasFirstItemX + cellSize * i, 0), Cell(atlasFirstItemX + cellSize * j, 0)),
                      64)
                << "items " << i << " and " << j;
            EXPECT_GE(DifferingPixels(Cell(cellSize * (i + 1), cellSize), Cell(cellSize * (j + 1), cellSize)), 200)
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

// Every size of the desktop icon is drawn at that size: a rounded tile whose corners let the
// desktop through, the snake's eye (yellow) and tongue (red) on it; the smallest is not the
// window icon with every other pixel dropped.
TEST(Artwork, TheDesktopIconIsDrawnAtEachOfItsSizes) {
    for (const int size : appIconSizes) {
        const RgbaImage icon = DrawAppIcon(size);
        ASSERT_EQ(icon.width, size);
        ASSERT_EQ(icon.pixels.size(), std::size_t(size) * size);
        ASSERT_EQ(icon.alpha.size(), icon.pixels.size());
        EXPECT_EQ(icon.alpha[0] + icon.alpha[size - 1] + icon.alpha[icon.alpha.size() - size], 0) << size;
        EXPECT_EQ(icon.alpha[std::size_t(size / 2) * size + size / 2], 255) << size;
        int eye = 0, tongue = 0;
        for (std::size_t i = 0; i < icon.pixels.size(); ++i) {
            eye += icon.pixels[i] == Rgb{255, 214, 40};
            tongue += icon.pixels[i] == Rgb{240, 40, 60};
        }
        EXPECT_GE(eye, 2) << size;
        EXPECT_GE(tongue, 3) << size;
    }
    const RgbaImage small = DrawAppIcon(16), large = DrawAppIcon(32);
    int differing = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            differing += !(small.pixels[std::size_t(y) * 16 + x] == large.pixels[std::size_t(2 * y) * 32 + 2 * x]);
    EXPECT_GE(differing, 32) << "the 16-pixel icon is the 32-pixel one with every other pixel dropped";
}

}  // namespace
