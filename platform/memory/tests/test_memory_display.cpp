// The in-memory display: copies clipped to both surfaces, the one BMP reader, the stretched copy,
// and the record of what changed on the primary surface, each against a reference of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/memory/memory_internal.h"

namespace {

class MemoryDisplay : public ::testing::Test {
protected:
    void SetUp() override { MemoryReset(); }
    void TearDown() override { MemoryReset(); }

    // The primary surface when no width is given.
    static Surface* Make(int32_t width, int32_t height) {
        const uint32_t w = static_cast<uint32_t>(width), h = static_cast<uint32_t>(height);
        SurfaceDesc desc = width == 0
                               ? SurfaceDesc{124, DDSD_CAPS, 0, 0, DDSCAPS_PRIMARYSURFACE}
                               : SurfaceDesc{124, DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, h, w, DDSCAPS_OFFSCREENPLAIN};
        Surface* surface = nullptr;
        EXPECT_EQ(MemoryCreateSurface(&desc, &surface), S_OK);
        return surface;
    }
};

uint32_t Pixel(const Surface* surface, int32_t x, int32_t y) {
    return surface->pixels[y * surface->width + x];
}

// Writes random pixels over a rectangle of the surface the way text does, through its context.
void Scribble(Surface* surface, const Rect& area, std::mt19937& random) {
    DrawContext* context = nullptr;
    ASSERT_EQ(PlatformGetDC(surface, &context), S_OK);
    int32_t width = 0, height = 0;
    uint32_t* pixels = ContextPixels(context, &width, &height);
    for (int32_t y = area.top; y < area.bottom; ++y) {
        for (int32_t x = area.left; x < area.right; ++x) {
            pixels[y * width + x] = random() & 0xFFFFFF;
        }
    }
    NoteContextWrite(context, area, UniqueSignature());
    ASSERT_EQ(PlatformReleaseDC(surface, context), S_OK);
}

// Every source pixel inside both surfaces lands at its place, and nothing else is touched, not even
// memory past the destination's last row: checked pixel by pixel against the pixels before the
// copy, for random rectangles reaching past every edge, copies within one surface among them.
TEST_F(MemoryDisplay, CopiesAreOpaqueAndClippedToBothSurfaces) {
    std::mt19937 random(7);
    Surface* destination = Make(41, 29);
    Surface* source = Make(37, 23);
    constexpr int32_t guard = 41 * 40;  // memory past the destination's pixels, which no copy may reach
    for (int round = 0; round < 3000; ++round) {
        Scribble(source, Rect{0, 0, 37, 23}, random);
        Scribble(destination, Rect{0, 0, 41, 29}, random);
        Surface* from = round % 3 == 0 ? destination : source;
        const std::vector<uint32_t> before(from->pixels, from->pixels + from->width * from->height);
        std::vector<uint32_t> expected(destination->pixels, destination->pixels + 41 * 29 + guard);
        const auto coordinate = [&random] { return static_cast<int32_t>(random() % 80) - 30; };
        Rect rect{coordinate(), coordinate(), 0, 0};
        rect.right = rect.left + static_cast<int32_t>(random() % 50) - 2;
        rect.bottom = rect.top + static_cast<int32_t>(random() % 40) - 2;
        const int32_t x = coordinate(), y = coordinate();
        for (int32_t sy = std::max(rect.top, 0); sy < std::min(rect.bottom, from->height); ++sy) {
            for (int32_t sx = std::max(rect.left, 0); sx < std::min(rect.right, from->width); ++sx) {
                const int32_t tx = x + sx - rect.left, ty = y + sy - rect.top;
                if (tx >= 0 && ty >= 0 && tx < 41 && ty < 29)
                    expected[ty * 41 + tx] = before[sy * from->width + sx];
            }
        }
        ASSERT_EQ(PlatformCopyRect(destination, x, y, from, &rect), S_OK);
        ASSERT_TRUE(std::memcmp(destination->pixels, expected.data(), sizeof(uint32_t) * expected.size()) == 0)
            << "rect " << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom << " to " << x << ","
            << y << (from == destination ? " within the destination" : "");
    }
}

TEST_F(MemoryDisplay, LostSurfacesRefuseCopiesUntilRestoredMagenta) {
    Surface* primary = Make(0, 0);
    Surface* back = Make(800, 600);
    const Rect whole{0, 0, 800, 600};
    MemoryLoseSurfaces();
    EXPECT_EQ(PlatformCopyRect(primary, 0, 0, back, &whole), DDERR_SURFACELOST);
    DrawContext* context = nullptr;
    EXPECT_NE(PlatformGetDC(back, &context), S_OK);
    EXPECT_EQ(PlatformRestoreSurface(back), S_OK);
    EXPECT_EQ(PlatformCopyRect(primary, 0, 0, back, &whole), DDERR_SURFACELOST);  // the primary is still lost
    MemoryForgetChanges();
    EXPECT_EQ(PlatformRestoreAllSurfaces(nullptr), S_OK);
    EXPECT_TRUE(MemoryTileChanged(49, 37));
    EXPECT_EQ(Pixel(back, 799, 599), 0xFF00FFu);
    EXPECT_EQ(MemoryPicture()[0], 0xFF00FFu);
    EXPECT_EQ(PlatformCopyRect(primary, 0, 0, back, &whole), S_OK);
    EXPECT_EQ(MemoryHeldResources(), 2);
}

// A BMP file of the given bits a pixel: each row's bytes given in picture order (top row first).
std::string BitmapFile(int32_t width, int32_t height, uint16_t bits, const std::vector<std::string>& rows,
                       const std::vector<uint32_t>& palette = {}, uint32_t compression = 0,
                       const std::vector<uint32_t>& masks = {}) {
    std::string pixels;
    for (size_t i = 0; i < rows.size(); ++i) {
        std::string row = rows[height > 0 ? rows.size() - 1 - i : i];
        row.resize((static_cast<size_t>(width) * bits + 31) / 32 * 4, '\0');
        pixels += row;
    }
    // The file's head and the information's, in words of four bytes: planes and bits share one.
    const uint32_t info = 40 + 4 * static_cast<uint32_t>(masks.size() + palette.size());
    const uint32_t size = 14 + info + static_cast<uint32_t>(pixels.size()),
                   colours = static_cast<uint32_t>(palette.size());
    std::vector<uint32_t> words = {size, 0, 14 + info, 40, static_cast<uint32_t>(width), static_cast<uint32_t>(height)};
    words.insert(words.end(), {1u | bits << 16u, compression, 0, 0, 0, colours, 0});
    words.insert(words.end(), masks.begin(), masks.end());
    words.insert(words.end(), palette.begin(), palette.end());
    std::string file = "BM";
    for (uint32_t word : words)
        for (int i = 0; i < 4; ++i)
            file += static_cast<char>(word >> (8 * i) & 0xFF);
    return file + pixels;
}

Bitmap* LoadBitmap(const std::string& bytes) {
    const char* path = "memory_display_test.bmp";
    std::FILE* file = std::fopen(path, "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    Bitmap* bitmap = MemoryLoadBitmapFile(path);
    std::remove(path);
    return bitmap;
}

// The width, then the pixels; nothing when the file is refused.
std::vector<uint32_t> Load(const std::string& bytes) {
    Bitmap* bitmap = LoadBitmap(bytes);
    if (bitmap == nullptr)
        return {};
    std::vector<uint32_t> pixels(bitmap->pixels, bitmap->pixels + bitmap->width * bitmap->height);
    pixels.insert(pixels.begin(), static_cast<uint32_t>(bitmap->width));
    PlatformDeleteBitmap(bitmap);
    return pixels;
}

TEST_F(MemoryDisplay, BitmapsReadEitherRowOrderAndWithPalettesAndMasks) {
    // Blue, green, red bytes; 3 pixels a row, so each row is padded.
    const std::vector<std::string> rows = {std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09", 9),
                                           std::string("\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF", 9)};
    const std::vector<uint32_t> expected = {3, 0x030201, 0x060504, 0x090807, 0x0000FF, 0x00FF00, 0xFF0000};
    EXPECT_EQ(Load(BitmapFile(3, 2, 24, rows)), expected);
    EXPECT_EQ(Load(BitmapFile(3, -2, 24, rows)), expected);
    const std::vector<uint32_t> palette = {0x030201, 0x060504, 0x090807, 0x0000FF, 0x00FF00, 0xFF0000};
    EXPECT_EQ(Load(BitmapFile(3, 2, 8, {std::string("\0\1\2", 3), "\3\4\5"}, palette)), expected);
    EXPECT_EQ(Load(BitmapFile(3, -2, 4, {std::string("\x01\x20", 2), "\x34\x50"}, palette)), expected);
    EXPECT_EQ(Load(BitmapFile(3, 1, 1, {"\xA0"}, {0x112233, 0x445566})),
              (std::vector<uint32_t>{3, 0x445566, 0x112233, 0x445566}));
    // Red in the lowest byte, blue in the highest.
    EXPECT_EQ(Load(BitmapFile(1, 1, 32, {"\x11\x22\x33\x00"}, {}, 3, {0xFF, 0xFF00, 0xFF0000})),
              (std::vector<uint32_t>{1, 0x112233}));
}

TEST_F(MemoryDisplay, ABitmapClaimingMoreThanItsFileOrTooLargeASideIsRefused) {
    for (int32_t sign : {1, -1}) {
        std::string file = BitmapFile(4, 4 * sign, 24, std::vector<std::string>(4, std::string(12, 'x')));
        EXPECT_FALSE(Load(file).empty());
        EXPECT_TRUE(Load(file.substr(0, file.size() - 1)).empty()) << "cut short, height " << 4 * sign;
        EXPECT_TRUE(Load(BitmapFile(16385, sign, 8, {std::string(16385, '\0')}, {0})).empty());
        // Within the side limit, but more pixels than a bitmap slot holds.
        EXPECT_TRUE(Load(BitmapFile(16384, 141 * sign, 8, std::vector<std::string>(141), {0})).empty());
    }
    EXPECT_EQ(MemoryHeldResources(), 0);
}

TEST_F(MemoryDisplay, TheStretchedCopyTakesTheNearestSourcePixelAndIsClipped) {
    Surface* surface = Make(7, 5);
    Bitmap* bitmap = LoadBitmap(BitmapFile(3, 1, 24, {std::string("\x01\x00\x00\x02\x00\x00\x03\x00\x00", 9)}));
    ASSERT_NE(bitmap, nullptr);
    DrawContext* memory = PlatformCreateMemoryContext();
    PlatformSelectBitmap(memory, bitmap);
    DrawContext* context = nullptr;
    ASSERT_EQ(PlatformGetDC(surface, &context), S_OK);
    const auto row = [surface](int32_t y) {
        std::string seen;
        for (int32_t x = 0; x < 7; ++x)
            seen += static_cast<char>('0' + Pixel(surface, x, y));
        return seen;
    };
    // Three columns spread over seven: widths 3, 2, 2.
    PlatformStretchCopy(context, 0, 0, 7, 5, memory, 0, 0, 3, 1);
    EXPECT_EQ(row(4), "1112233");
    // Shifted one left and one up: the first column falls outside.
    PlatformStretchCopy(context, -1, -1, 7, 5, memory, 0, 0, 3, 1);
    EXPECT_EQ(row(3), "1122333");
    EXPECT_EQ(MemoryHeldResources(), 4);  // the surface, its context, the bitmap, the memory context
    PlatformReleaseDC(surface, context);
    PlatformDeleteMemoryContext(memory);
    PlatformDeleteBitmap(bitmap);
    EXPECT_EQ(MemoryHeldResources(), 1);
}

// Frames composed as the game composes them: a backdrop, then a script of cells that mostly repeats
// and now and then changes, from a source that now and then changes too, now and then on a second
// back surface, and now and then the top of a surface copied onto the primary one. After each whole copy the primary
// holds what the back surface must hold, and the tiles recorded as changed are exactly those whose pixels changed (at
// least those, when the primary was also written another way).
TEST_F(MemoryDisplay, TheChangeRecordHoldsEveryChangedTileAndNoOther) {
    std::mt19937 random(2024);
    Surface* primary = Make(0, 0);
    Surface* backs[2] = {Make(800, 600), Make(800, 600)};
    Surface* strip = Make(64, 464);
    Surface* atlas = Make(320, 32);
    Scribble(strip, Rect{0, 0, 64, 464}, random);
    Scribble(atlas, Rect{0, 0, 320, 32}, random);
    struct Op {
        Rect rect;
        int32_t x, y;
    };
    const auto cell = [&random] {
        const int32_t atlasX = static_cast<int32_t>(random() % 20) * 16;
        // Cells crowded into a corner of the field, so that they overlap and their order counts.
        return Op{Rect{atlasX, 0, atlasX + 16, 16}, 23 + 16 * static_cast<int32_t>(random() % 4),
                  105 + 16 * static_cast<int32_t>(random() % 3)};
    };
    std::vector<Op> script(40);
    std::generate(script.begin(), script.end(), cell);
    std::vector<uint32_t> shown(800 * 600, 0);
    // What the strip and the back surfaces must hold, kept by plain copies (all within bounds here):
    // a copy left out where its pixels were not all there shows.
    std::map<const Surface*, std::vector<uint32_t>> held;
    for (const Surface* surface : {backs[0], backs[1], strip, atlas}) {
        held[surface].assign(surface->pixels, surface->pixels + surface->width * surface->height);
    }
    const auto copy = [&held](Surface* to, int32_t x, int32_t y, Surface* from, const Rect& rect) {
        EXPECT_EQ(PlatformCopyRect(to, x, y, from, &rect), S_OK);
        for (int32_t row = rect.top; row < rect.bottom; ++row) {
            std::copy_n(&held[from][row * from->width + rect.left], rect.right - rect.left,
                        &held[to][(y + row - rect.top) * to->width + x]);
        }
    };
    // Every tile whose pixels differ from those shown before is recorded and, when exact, no other;
    // the bounds are those of the recorded tiles. True when any differ.
    const auto checkRecord = [&shown](bool exact, int frame) {
        const uint32_t* picture = MemoryPicture();
        bool anyDiffers = false;
        Rect bounds{800, 600, 0, 0};
        for (int32_t row = 0; row < changeRows; ++row) {
            for (int32_t column = 0; column < changeColumns; ++column) {
                bool differs = false;
                for (int32_t y = row * 16; y < row * 16 + 16 && y < 600; ++y) {
                    differs = differs || std::memcmp(picture + y * 800 + column * 16, &shown[y * 800 + column * 16],
                                                     16 * sizeof(uint32_t)) != 0;
                }
                anyDiffers = anyDiffers || differs;
                const bool recorded = MemoryTileChanged(column, row);
                if (recorded) {
                    bounds = Rect{std::min(bounds.left, column * 16), std::min(bounds.top, row * 16),
                                  std::max(bounds.right, column * 16 + 16),
                                  std::min(600, std::max(bounds.bottom, row * 16 + 16))};
                }
                EXPECT_TRUE(recorded == differs || (recorded && !exact))
                    << "frame " << frame << ", tile " << column << ", " << row;
            }
        }
        Rect recordedBounds{};
        EXPECT_EQ(MemoryPictureChanged(&recordedBounds), bounds.left < bounds.right);
        EXPECT_TRUE(bounds.left >= bounds.right || std::memcmp(&recordedBounds, &bounds, sizeof bounds) == 0)
            << "frame " << frame;
        return anyDiffers;
    };
    int unchangedFrames = 0;
    const Rect whole{0, 0, 800, 600};
    for (int frame = 0; frame < 600; ++frame) {
        Surface* back = backs[random() % 16 == 0 ? 1 : 0];  // now and then another back surface
        MemoryForgetChanges();
        bool otherWrites = false;
        if (random() % 4 == 0) {
            script[random() % script.size()] = cell();
        }
        if (random() % 6 == 0) {
            const size_t at = random() % (script.size() - 1);
            std::swap(script[at], script[at + 1]);
        }
        if (random() % 12 == 0) {
            const Rect from{0, 0, 16, 16};
            copy(strip, 0, static_cast<int32_t>(random() % 448), atlas, from);
        }
        for (int32_t i = 0; i < 12; ++i) {
            const Rect strips{0, 0, i == 11 ? 48 : 64, 464};
            copy(back, 23 + 64 * i, 105, strip, strips);
        }
        for (const Op& op : script) {
            copy(back, op.x, op.y, atlas, op.rect);
        }
        // Now and then the top of the back surface or of the strip, all but the whole picture, copied
        // onto the primary surface: the rows below stay, and exactly the tiles that changed are recorded.
        if (random() % 10 == 0) {
            const Rect top{0, 0, 800, static_cast<int32_t>(random() % 600)};
            EXPECT_EQ(PlatformCopyRect(primary, 0, 0, random() % 2 == 0 ? back : strip, &top), S_OK);
            ASSERT_TRUE(std::equal(shown.begin() + top.bottom * 800, shown.end(), MemoryPicture() + top.bottom * 800))
                << "frame " << frame << ": rows below the copy changed";
            checkRecord(true, frame);
            otherWrites = true;
        }
        ASSERT_EQ(PlatformCopyRect(primary, 0, 0, back, &whole), S_OK);
        const uint32_t* picture = MemoryPicture();
        ASSERT_EQ(std::memcmp(picture, held[back].data(), sizeof(uint32_t) * 800 * 600), 0) << "frame " << frame;
        unchangedFrames += checkRecord(!otherWrites, frame) ? 0 : 1;
        shown.assign(picture, picture + 800 * 600);
    }
    EXPECT_GT(unchangedFrames, 100);  // frames that repeat the last one are common, as in the game
}

}  // namespace
