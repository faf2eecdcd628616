// Bitmaps and text on GDI: BMP files loaded at their own size, the stretching copy between
// contexts, and opaque text in a box of the background colour no higher than a 16-pixel row.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "scratch_folder.h"

namespace {

constexpr uint32_t red = 0x0000FF;  // COLORREF, 0x00BBGGRR
constexpr uint32_t blue = 0xFF0000;
constexpr uint32_t white = 0xFFFFFF;
constexpr uint32_t black = 0x000000;
constexpr uint32_t grey = 0x808080;

// A 24-bit Windows BMP, bottom-up as most writers store it; pixels are COLORREFs, rows top first.
std::string Bmp(int width, int height, const std::vector<uint32_t>& pixels) {
    const int stride = (width * 3 + 3) / 4 * 4;
    std::string file(54 + stride * height, '\0');
    auto put32 = [&](int at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = static_cast<char>(value >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    file[26] = 1;
    file[28] = 24;
    put32(34, static_cast<uint32_t>(stride * height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t colour = pixels[y * width + x];
            const int at = 54 + (height - 1 - y) * stride + 3 * x;
            file[at] = static_cast<char>(colour >> 16);     // blue
            file[at + 1] = static_cast<char>(colour >> 8);  // green
            file[at + 2] = static_cast<char>(colour);       // red
        }
    }
    return file;
}

class WindowsBitmapsTest : public ScratchFolderTest {
protected:
    void TearDown() override {
        for (DrawContext* context : contexts)
            PlatformDeleteMemoryContext(context);
        for (Bitmap* bitmap : bitmaps)
            PlatformDeleteBitmap(bitmap);
        ScratchFolderTest::TearDown();
    }

    // A memory context holding a bitmap loaded from a BMP file of the given pixels.
    DrawContext* ContextWith(const std::string& name, int width, int height, const std::vector<uint32_t>& pixels) {
        PutFile(name, Bmp(width, height, pixels));
        Bitmap* bitmap = PlatformLoadBitmapFile(PathOf(name).c_str());
        EXPECT_NE(bitmap, nullptr);
        DrawContext* context = PlatformCreateMemoryContext();
        EXPECT_NE(context, nullptr);
        PlatformSelectBitmap(context, bitmap);
        bitmaps.push_back(bitmap);
        contexts.push_back(context);
        return context;
    }

    static uint32_t PixelAt(DrawContext* context, int x, int y) {
        return GetPixel(reinterpret_cast<HDC>(context), x, y);
    }

    std::vector<Bitmap*> bitmaps;
    std::vector<DrawContext*> contexts;
};

// ---- Loading ----

TEST_F(WindowsBitmapsTest, BmpFileLoadsAtItsOwnSize) {
    PutFile("icons.bmp", Bmp(320, 32, std::vector<uint32_t>(320 * 32, grey)));
    Bitmap* bitmap = PlatformLoadBitmapFile(PathOf("icons.bmp").c_str());
    ASSERT_NE(bitmap, nullptr);
    bitmaps.push_back(bitmap);
    int32_t width = 0;
    int32_t height = 0;
    PlatformGetBitmapSize(bitmap, &width, &height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 32);
}

TEST_F(WindowsBitmapsTest, LoadedPixelsKeepTheirPlacesAndColours) {
    DrawContext* context = ContextWith("cube.bmp", 2, 2, {red, blue, white, black});
    EXPECT_EQ(PixelAt(context, 0, 0), red);
    EXPECT_EQ(PixelAt(context, 1, 0), blue);
    EXPECT_EQ(PixelAt(context, 0, 1), white);
    EXPECT_EQ(PixelAt(context, 1, 1), black);
}

TEST_F(WindowsBitmapsTest, MissingOrBrokenFileGivesNoBitmap) {
    EXPECT_EQ(PlatformLoadBitmapFile(PathOf("background.bmp").c_str()), nullptr);
    PutFile("background.bmp", "BM this is no bitmap");
    EXPECT_EQ(PlatformLoadBitmapFile(PathOf("background.bmp").c_str()), nullptr);
}

// ---- The stretching copy ----

TEST_F(WindowsBitmapsTest, StretchCopyFillsTheWholeDestination) {
    DrawContext* source = ContextWith("source.bmp", 2, 1, {red, blue});
    DrawContext* target = ContextWith("target.bmp", 4, 2, std::vector<uint32_t>(8, white));
    PlatformStretchCopy(target, 0, 0, 4, 2, source, 0, 0, 2, 1);
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(PixelAt(target, 0, y), red);
        EXPECT_EQ(PixelAt(target, 1, y), red);
        EXPECT_EQ(PixelAt(target, 2, y), blue);
        EXPECT_EQ(PixelAt(target, 3, y), blue);
    }
}

TEST_F(WindowsBitmapsTest, StretchCopyOfTheSameSizeIsExact) {
    DrawContext* source = ContextWith("source.bmp", 3, 1, {red, white, blue});
    DrawContext* target = ContextWith("target.bmp", 3, 1, {black, black, black});
    PlatformStretchCopy(target, 0, 0, 3, 1, source, 0, 0, 3, 1);
    EXPECT_EQ(PixelAt(target, 0, 0), red);
    EXPECT_EQ(PixelAt(target, 1, 0), white);
    EXPECT_EQ(PixelAt(target, 2, 0), blue);
}

// ---- Text ----

TEST_F(WindowsBitmapsTest, OpaqueTextFillsItsBoxWithTheBackgroundColour) {
    constexpr int width = 96;
    constexpr int height = 40;
    DrawContext* context = ContextWith("text.bmp", width, height, std::vector<uint32_t>(width * height, white));
    PlatformSetOpaqueBackground(context);
    PlatformSetBackgroundColour(context, black);
    PlatformSetTextColour(context, red);
    PlatformTextOut(context, 4, 8, "PRESS", 5);

    int redPixels = 0;
    int blackPixels = 0;
    int lowestTouchedRow = -1;
    int rightmostTouchedColumn = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t pixel = PixelAt(context, x, y);
            if (pixel == white)
                continue;
            EXPECT_TRUE(x >= 4 && y >= 8) << "touched at " << x << ", " << y;
            redPixels += pixel == red;
            blackPixels += pixel == black;
            lowestTouchedRow = y > lowestTouchedRow ? y : lowestTouchedRow;
            rightmostTouchedColumn = x > rightmostTouchedColumn ? x : rightmostTouchedColumn;
        }
    }
    EXPECT_GT(redPixels, 20);
    EXPECT_GT(blackPixels, redPixels);
    EXPECT_LT(lowestTouchedRow, 8 + 16) << "the text box is higher than a 16-pixel row";
    EXPECT_LT(rightmostTouchedColumn, width - 1) << "five letters filled the whole width";
    // The top-left corner of the box is where the text was put, filled with the background.
    EXPECT_EQ(PixelAt(context, 4, 8), black);
}

TEST_F(WindowsBitmapsTest, TextWritesOnlyTheCountedCharacters) {
    constexpr int width = 96;
    constexpr int height = 24;
    DrawContext* one = ContextWith("one.bmp", width, height, std::vector<uint32_t>(width * height, white));
    DrawContext* three = ContextWith("three.bmp", width, height, std::vector<uint32_t>(width * height, white));
    for (DrawContext* context : {one, three}) {
        PlatformSetOpaqueBackground(context);
        PlatformSetBackgroundColour(context, black);
        PlatformSetTextColour(context, grey);
    }
    PlatformTextOut(one, 0, 0, "WWW", 1);
    PlatformTextOut(three, 0, 0, "WWW", 3);
    auto boxWidth = [&](DrawContext* context) {
        int right = -1;
        for (int x = 0; x < width; ++x) {
            if (PixelAt(context, x, 0) != white)
                right = x;
        }
        return right + 1;
    };
    EXPECT_GT(boxWidth(one), 0);
    EXPECT_GT(boxWidth(three), 2 * boxWidth(one));
}

}  // namespace
