// The SDL layer's pictures: the 800 x 600 picture scaled onto screens of other sizes, the clipped
// opaque copy, text in its box, and bitmap files whose headers claim more than the file holds.
#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/sdl/tests/sdl_test_support.h"

namespace {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};
constexpr Rgb black{0, 0, 0}, white{255, 255, 255}, red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255};

void PrintTo(const Rgb& colour, std::ostream* out) {
    *out << "(" << colour.r << ", " << colour.g << ", " << colour.b << ")";
}

Rgb PixelAt(SDL_Surface* surface, int x, int y) {
    Uint32 value = 0;
    SDL_memcpy(&value, static_cast<Uint8*>(surface->pixels) + y * surface->pitch + x * surface->format->BytesPerPixel,
               surface->format->BytesPerPixel);
    Uint8 r, g, b;
    SDL_GetRGB(value, surface->format, &r, &g, &b);
    return Rgb{r, g, b};
}

void Fill(SDL_Surface* surface, const SDL_Rect* area, Rgb colour) {
    SDL_FillRect(surface, area, SDL_MapRGB(surface->format, colour.r, colour.g, colour.b));
}

// The display as the program sets it up, an 800 x 600 back surface, and what the screen shows.
class SdlScreen : public SdlLayer {
protected:
    void SetUp() override {
        SdlLayer::SetUp();
        ASSERT_EQ(PlatformCreateDisplay(&display), S_OK);
        ASSERT_EQ(PlatformSetCooperativeLevel(display, window), S_OK);
        ASSERT_EQ(PlatformSetDisplayMode(display, 800, 600, 32), S_OK);
        primary = MakeSurface(0, 0);
        back = MakeSurface(800, 600);
    }
    void TearDown() override {
        SDL_FreeSurface(shown);
        SdlLayer::TearDown();
    }
    Surface* MakeSurface(uint32_t width, uint32_t height) {
        SurfaceDesc desc{124, DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH, height, width, DDSCAPS_OFFSCREENPLAIN};
        if (width == 0)
            desc = SurfaceDesc{124, DDSD_CAPS, 0, 0, DDSCAPS_PRIMARYSURFACE};
        Surface* surface = nullptr;
        EXPECT_EQ(PlatformCreateSurface(display, &desc, &surface), S_OK);
        return surface;
    }
    // Paints the back surface, copies it onto the primary one, presents at once on a screen of the
    // given size and reads back what the screen shows.
    void Show(int width, int height, void (*paint)(SDL_Surface*)) {
        SDL_SetWindowFullscreen(SdlWindowOf(window), 0);
        SDL_SetWindowSize(SdlWindowOf(window), width, height);
        paint(SurfacePixels(back));
        const Rect whole{0, 0, 800, 600};
        ASSERT_EQ(PlatformCopyRect(primary, 0, 0, back, &whole), S_OK);
        PresentPictureNow();
        shown = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888);
        ASSERT_EQ(SDL_RenderReadPixels(DisplayRenderer(), nullptr, SDL_PIXELFORMAT_RGB888, shown->pixels, shown->pitch),
                  0);
    }

    DisplayDevice* display = nullptr;
    Surface* primary = nullptr;
    Surface* back = nullptr;
    SDL_Surface* shown = nullptr;
};

// Every pixel its own colour from its position, so that any misplaced pixel shows.
void Pattern(SDL_Surface* picture) {
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            const SDL_Rect pixel{x, y, 1, 1};
            Fill(picture, &pixel, Rgb{(x * 7) & 255, (y * 5) & 255, (x + 3 * y) & 255});
        }
    }
}

TEST_F(SdlScreen, AWholeFactorMakesEveryPixelAnExactBlock) {
    Show(1600, 1200, Pattern);
    for (int y = 0; y < 1200; ++y) {
        for (int x = 0; x < 1600; ++x) {
            ASSERT_EQ(PixelAt(shown, x, y), PixelAt(SurfacePixels(back), x / 2, y / 2)) << "at " << x << ", " << y;
        }
    }
}

TEST_F(SdlScreen, OnAWideScreenThePictureStandsCentredWithBlackBesideIt) {
    Show(1920, 1080, [](SDL_Surface* picture) { Fill(picture, nullptr, red); });
    // 1080 rows high gives a 1440-pixel-wide picture, 240 pixels in from either side.
    EXPECT_EQ(PixelAt(shown, 239, 540), black);
    EXPECT_EQ(PixelAt(shown, 240, 0), red);
    EXPECT_EQ(PixelAt(shown, 1679, 1079), red);
    EXPECT_EQ(PixelAt(shown, 1680, 540), black);
}

// At 1.28 an edge between two flat areas is blended over exactly one screen pixel: nearest
// neighbours would blend none and give cells of 20 and 21 pixels, plain linear scaling two or more.
TEST_F(SdlScreen, AFactorThatIsNotWholeKeepsEdgesSharpAndFlatAreasFlat) {
    Show(1024, 768, [](SDL_Surface* picture) {
        Fill(picture, nullptr, black);
        const SDL_Rect topLeft{0, 0, 16, 16}, bottomRight{784, 584, 16, 16};
        Fill(picture, &topLeft, white);
        Fill(picture, &bottomRight, red);
    });
    EXPECT_EQ(PixelAt(shown, 19, 19), white);
    EXPECT_EQ(PixelAt(shown, 21, 21), black);
    EXPECT_EQ(PixelAt(shown, 1004, 748), red);
    EXPECT_EQ(PixelAt(shown, 1002, 746), black);
    int blended = 0;
    for (int x = 0; x < 40; ++x) {
        blended += PixelAt(shown, x, 5) != white && PixelAt(shown, x, 5) != black ? 1 : 0;
    }
    EXPECT_EQ(blended, 1);
}

// Black is copied like any colour, and a copy hanging over the edges of either surface is cut.
TEST_F(SdlScreen, CopiesAreOpaqueAndClippedToBothSurfaces) {
    Surface* atlas = MakeSurface(32, 32);
    const SDL_Rect left{0, 0, 16, 32};
    Fill(SurfacePixels(atlas), nullptr, blue);
    Fill(SurfacePixels(atlas), &left, black);
    SDL_Surface* to = SurfacePixels(back);
    Fill(to, nullptr, green);
    const Rect whole{0, 0, 32, 32}, beyond{16, 16, 48, 48};
    EXPECT_EQ(PlatformCopyRect(back, -8, -8, atlas, &whole), S_OK);
    EXPECT_EQ(PlatformCopyRect(back, 790, 590, atlas, &beyond), S_OK);
    EXPECT_EQ(PlatformCopyRect(back, 800, 0, atlas, &whole), S_OK);
    EXPECT_EQ(PlatformCopyRect(back, 0, -40, atlas, &whole), S_OK);
    EXPECT_EQ(PixelAt(to, 0, 0), black);
    EXPECT_EQ(PixelAt(to, 8, 23), blue);
    EXPECT_EQ(PixelAt(to, 24, 0), green);
    EXPECT_EQ(PixelAt(to, 0, 24), green);
    EXPECT_EQ(PixelAt(to, 790, 590), blue);
    EXPECT_EQ(PixelAt(to, 799, 599), blue);
    EXPECT_EQ(PixelAt(to, 789, 599), green);
}

// The status text: an opaque box at most one 16-pixel row high from the given corner, one cell of
// one width per character, in the text colour read as a COLORREF, right again for more colours in
// turn than the glyph cache holds.
TEST_F(SdlScreen, TextStandsInAnOpaqueBoxInItsColour) {
    SDL_Surface* pixels = SurfacePixels(back);
    int width[2] = {};
    for (int i = 0; i < 40; ++i) {
        const Rgb colour{5 * i + 5, 255 - 5 * i, 40};
        Fill(pixels, nullptr, green);
        DrawContext* context = nullptr;
        ASSERT_EQ(PlatformGetDC(back, &context), S_OK);
        PlatformSetOpaqueBackground(context);
        PlatformSetBackgroundColour(context, 0x000000);
        PlatformSetTextColour(context, static_cast<uint32_t>(colour.r | colour.g << 8 | colour.b << 16));
        PlatformTextOut(context, 140, 34, "snake_", 6 >> i % 2);
        PlatformReleaseDC(back, context);
        int right = -1, bottom = -1, touched = 0, inColour = 0;
        for (int y = 0; y < 80; ++y) {
            for (int x = 0; x < 260; ++x) {
                const Rgb pixel = PixelAt(pixels, x, y);
                inColour += pixel == colour ? 1 : 0;
                touched += pixel != green ? 1 : 0;
                right = pixel != green ? std::max(right, x) : right;
                bottom = pixel != green ? std::max(bottom, y) : bottom;
            }
        }
        width[i % 2] = right - 139;
        ASSERT_TRUE(bottom - 34 >= 9 && bottom - 34 < 16) << bottom - 33 << " rows";
        ASSERT_EQ(touched, width[i % 2] * (bottom - 33)) << "not an opaque box from 140, 34";
        ASSERT_GT(inColour, 0) << "colour " << i;
    }
    EXPECT_EQ(width[0], 2 * width[1]);
}

// A 1-bit bitmap file of the given header, padded (or cut) to the given size.
void WriteBitmapFile(const char* path, int32_t width, int32_t height, size_t size) {
    unsigned char bytes[62] = {'B', 'M'};
    const auto put = [&](int at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    put(2, static_cast<uint32_t>(size));
    put(10, 62);  // the pixels follow the 40-byte header and a palette of two colours
    put(14, 40);
    put(18, static_cast<uint32_t>(width));
    put(22, static_cast<uint32_t>(height));
    put(26, 1 | 1 << 16);  // one plane, one bit a pixel
    put(58, 0xFFFFFF);
    std::string file(reinterpret_cast<const char*>(bytes), sizeof bytes);
    file.resize(size, '\xAA');
    FILE* stream = std::fopen(path, "wb");
    ASSERT_NE(stream, nullptr);
    std::fwrite(file.data(), 1, file.size(), stream);
    std::fclose(stream);
}

// SDL's allocations pass through here, so a test sees the largest block that a load asked for.
SDL_malloc_func sdlMalloc;
SDL_calloc_func sdlCalloc;
SDL_realloc_func sdlRealloc;
SDL_free_func sdlFree;
size_t largestRequest = 0;
void* CountedMalloc(size_t size) {
    largestRequest = std::max(largestRequest, size);
    return sdlMalloc(size);
}
void* CountedCalloc(size_t count, size_t size) {
    largestRequest = std::max(largestRequest, count * size);
    return sdlCalloc(count, size);
}
void* CountedRealloc(void* block, size_t size) {
    largestRequest = std::max(largestRequest, size);
    return sdlRealloc(block, size);
}

// The header is weighed before any pixel memory is taken: rows that cannot fit in the file after
// its headers, or a side above 16384, give no bitmap, like a missing file, and cost no memory.
TEST_F(SdlLayer, ABitmapHeaderClaimingMoreThanItsFileOrTheLargestSideIsRefusedBeforeAnyAllocation) {
    const struct {
        int32_t width, height;
        size_t size;
        bool loads;
    } cases[] = {{20000, 20000, 1024, false}, {20000, -20000, 1024, false}, {4000, 4000, 62 + 500 * 4000 - 1, false},
                 {16384, 1, 62 + 2048, true}, {16385, 1, 62 + 2052, false}, {1, 16385, 62 + 4 * 16385, false}};
    // In the build's own working folder: no other test run writes it.
    const char* path = "vornix-header.bmp";
    SDL_GetMemoryFunctions(&sdlMalloc, &sdlCalloc, &sdlRealloc, &sdlFree);
    ASSERT_EQ(SDL_SetMemoryFunctions(CountedMalloc, CountedCalloc, CountedRealloc, sdlFree), 0);
    for (const auto& c : cases) {
        WriteBitmapFile(path, c.width, c.height, c.size);
        largestRequest = 0;
        Bitmap* bitmap = PlatformLoadBitmapFile(path);
        EXPECT_EQ(bitmap != nullptr, c.loads) << c.width << " x " << c.height << " in " << c.size;
        EXPECT_TRUE(c.loads || largestRequest < size_t{1} << 16) << c.width << " x " << c.height;
        PlatformDeleteBitmap(bitmap);
    }
    SDL_SetMemoryFunctions(sdlMalloc, sdlCalloc, sdlRealloc, sdlFree);
    std::remove(path);
}

}  // namespace
