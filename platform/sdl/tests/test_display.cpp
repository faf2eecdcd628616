// The SDL layer's display: the desktop's mode kept, surfaces in one format, the clipped opaque
// copy, the picture scaled onto screens of every size through the renderer, presents paced by
// the refresh, contexts, and bitmaps stretched onto surfaces.
#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/sdl/tests/sdl_test_support.h"

namespace {

constexpr Rgb black{0, 0, 0};
constexpr Rgb white{255, 255, 255};
constexpr Rgb red{255, 0, 0};
constexpr Rgb green{0, 255, 0};
constexpr Rgb blue{0, 0, 255};

Surface* MakeSurface(DisplayDevice* display, uint32_t width, uint32_t height) {
    SurfaceDesc desc{124, DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH, height, width, DDSCAPS_OFFSCREENPLAIN};
    Surface* surface = nullptr;
    EXPECT_EQ(PlatformCreateSurface(display, &desc, &surface), S_OK);
    return surface;
}

bool SameMode(const SDL_DisplayMode& a, const SDL_DisplayMode& b) {
    return a.w == b.w && a.h == b.h && a.format == b.format && a.refresh_rate == b.refresh_rate;
}

TEST_F(SdlLayer, TheDesktopKeepsItsModeAndThe32BitPictureModeIsGrantedWithoutAChange) {
    SDL_DisplayMode desktop, current;
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
    DisplayDevice* display = nullptr;
    ASSERT_EQ(PlatformCreateDisplay(&display), S_OK);
    ASSERT_EQ(PlatformSetCooperativeLevel(display, window), S_OK);
    EXPECT_EQ(PlatformSetDisplayMode(display, 800, 600, 32), S_OK);
    EXPECT_NE(PlatformSetDisplayMode(display, 800, 600, 16), S_OK);
    EXPECT_NE(PlatformSetDisplayMode(display, 1024, 768, 32), S_OK);
    Surface* primary = nullptr;
    SurfaceDesc desc{124, DDSD_CAPS, 0, 0, DDSCAPS_PRIMARYSURFACE};
    ASSERT_EQ(PlatformCreateSurface(display, &desc, &primary), S_OK);
    const Uint32 flags = SDL_GetWindowFlags(SdlWindowOf(window));
    EXPECT_EQ(flags & SDL_WINDOW_FULLSCREEN_DESKTOP, static_cast<Uint32>(SDL_WINDOW_FULLSCREEN_DESKTOP));
    ASSERT_EQ(SDL_GetCurrentDisplayMode(0, &current), 0);
    EXPECT_TRUE(SameMode(current, desktop));
    PlatformReleaseSurface(primary);
    PlatformReleaseDisplay(display);
    EXPECT_EQ(SDL_GetWindowFlags(SdlWindowOf(window)) & SDL_WINDOW_FULLSCREEN, 0u);
    ASSERT_EQ(SDL_GetCurrentDisplayMode(0, &current), 0);
    EXPECT_TRUE(SameMode(current, desktop));
}

TEST_F(SdlLayer, NothingIsMadeWithoutADisplayOrAWindow) {
    Surface* surface = nullptr;
    SurfaceDesc desc{124, DDSD_CAPS, 0, 0, DDSCAPS_PRIMARYSURFACE};
    EXPECT_NE(PlatformCreateSurface(nullptr, &desc, &surface), S_OK);
    EXPECT_EQ(surface, nullptr);
    DisplayDevice* display = nullptr;
    ASSERT_EQ(PlatformCreateDisplay(&display), S_OK);
    EXPECT_NE(PlatformSetCooperativeLevel(display, nullptr), S_OK);
}

TEST_F(SdlDisplay, ThePrimarySurfaceIsThe800By600PictureOnTheWholeDesktop) {
    uint32_t width = 0, height = 0;
    ASSERT_EQ(PlatformGetSurfaceSize(primary, &width, &height), S_OK);
    EXPECT_EQ(width, 800u);
    EXPECT_EQ(height, 600u);
    int outputWidth = 0, outputHeight = 0;
    ASSERT_EQ(SDL_GetRendererOutputSize(DisplayRenderer(), &outputWidth, &outputHeight), 0);
    EXPECT_EQ(outputWidth, 1024);  // the dummy driver's desktop
    EXPECT_EQ(outputHeight, 768);
}

TEST_F(SdlDisplay, OffscreenSurfacesHaveTheirSizeAndTheWindowsFormat) {
    Surface* cube = MakeSurface(display, 64, 464);
    ASSERT_NE(cube, nullptr);
    uint32_t width = 0, height = 0;
    ASSERT_EQ(PlatformGetSurfaceSize(cube, &width, &height), S_OK);
    EXPECT_EQ(width, 64u);
    EXPECT_EQ(height, 464u);
    EXPECT_EQ(SurfacePixels(cube)->format->format, SurfacePixels(primary)->format->format);
    EXPECT_EQ(SurfacePixels(back)->format->format, SurfacePixels(primary)->format->format);
}

TEST_F(SdlDisplay, AnOffscreenSurfaceNeedsASize) {
    SurfaceDesc desc{124, DDSD_CAPS, 0, 0, DDSCAPS_OFFSCREENPLAIN};
    Surface* surface = nullptr;
    EXPECT_NE(PlatformCreateSurface(display, &desc, &surface), S_OK);
    EXPECT_EQ(surface, nullptr);
}

TEST_F(SdlDisplay, TheCopyIsOpaqueAndLandsAtTheGivenPoint) {
    Surface* atlas = MakeSurface(display, 32, 16);
    SDL_Surface* from = SurfacePixels(atlas);
    const SDL_Rect left{0, 0, 16, 16}, right{16, 0, 16, 16};
    Fill(from, &left, red);
    Fill(from, &right, black);  // black is copied like any other colour: no transparent colour
    SDL_Surface* to = SurfacePixels(back);
    Fill(to, nullptr, green);

    const Rect cell{16, 0, 32, 16};
    ASSERT_EQ(PlatformCopyRect(back, 100, 200, atlas, &cell), S_OK);
    EXPECT_EQ(PixelAt(to, 100, 200), black);
    EXPECT_EQ(PixelAt(to, 115, 215), black);
    EXPECT_EQ(PixelAt(to, 99, 200), green);
    EXPECT_EQ(PixelAt(to, 116, 215), green);
    EXPECT_EQ(PixelAt(to, 100, 216), green);
}

TEST_F(SdlDisplay, CopiesAreClippedToBothSurfaces) {
    Surface* atlas = MakeSurface(display, 32, 32);
    Fill(SurfacePixels(atlas), nullptr, blue);
    SDL_Surface* to = SurfacePixels(back);
    Fill(to, nullptr, green);

    // Hanging over the top-left corner of the destination.
    const Rect whole{0, 0, 32, 32};
    EXPECT_EQ(PlatformCopyRect(back, -16, -8, atlas, &whole), S_OK);
    EXPECT_EQ(PixelAt(to, 0, 0), blue);
    EXPECT_EQ(PixelAt(to, 15, 23), blue);
    EXPECT_EQ(PixelAt(to, 16, 0), green);
    EXPECT_EQ(PixelAt(to, 0, 24), green);

    // Over the bottom-right corner, from a rectangle reaching past its source.
    const Rect beyond{16, 16, 48, 48};
    EXPECT_EQ(PlatformCopyRect(back, 790, 590, atlas, &beyond), S_OK);
    EXPECT_EQ(PixelAt(to, 790, 590), blue);
    EXPECT_EQ(PixelAt(to, 799, 599), blue);
    EXPECT_EQ(PixelAt(to, 789, 599), green);

    // Entirely outside: nothing happens, and nothing is touched.
    EXPECT_EQ(PlatformCopyRect(back, 800, 0, atlas, &whole), S_OK);
    EXPECT_EQ(PlatformCopyRect(back, 0, -40, atlas, &whole), S_OK);
    EXPECT_EQ(PixelAt(to, 400, 300), green);
}

// What the renderer last put on the screen, read back from the drawable.
class SdlScreen : public SdlDisplay {
protected:
    void TearDown() override {
        if (shown != nullptr)
            SDL_FreeSurface(shown);
        SdlDisplay::TearDown();
    }
    // Gives the window a drawable of another size, as other monitors have.
    void ScreenOfSize(int width, int height) {
        SDL_SetWindowFullscreen(SdlWindowOf(window), 0);
        SDL_SetWindowSize(SdlWindowOf(window), width, height);
    }
    // Composes on the back surface, copies it onto the primary surface and presents it at once.
    void Show(void (*paint)(SDL_Surface*)) {
        paint(SurfacePixels(back));
        const Rect whole{0, 0, 800, 600};
        ASSERT_EQ(PlatformCopyRect(primary, 0, 0, back, &whole), S_OK);
        PresentPictureNow();
        ReadBack();
    }
    void ReadBack() {
        int width = 0, height = 0;
        SDL_GetRendererOutputSize(DisplayRenderer(), &width, &height);
        if (shown != nullptr)
            SDL_FreeSurface(shown);
        shown = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888);
        ASSERT_EQ(SDL_RenderReadPixels(DisplayRenderer(), nullptr, SDL_PIXELFORMAT_RGB888, shown->pixels, shown->pitch),
                  0);
    }
    SDL_Surface* shown = nullptr;
};

// Every pixel its own colour from its position, so that any misplaced pixel shows.
void Pattern(SDL_Surface* picture) {
    for (int y = 0; y < 600; ++y) {
        Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(picture->pixels) + y * picture->pitch);
        for (int x = 0; x < 800; ++x) {
            row[x] = SDL_MapRGB(picture->format, (x * 7) & 255, (y * 5) & 255, (x + 3 * y) & 255);
        }
    }
}

// Black with a white 16-pixel cell in the top-left corner and a red one in the bottom-right.
void Corners(SDL_Surface* picture) {
    Fill(picture, nullptr, black);
    const SDL_Rect topLeft{0, 0, 16, 16}, bottomRight{784, 584, 16, 16};
    Fill(picture, &topLeft, white);
    Fill(picture, &bottomRight, red);
}

TEST_F(SdlScreen, OnAScreenOfThePicturesSizeEveryPixelIsShownAsItIs) {
    ScreenOfSize(800, 600);
    Show(Pattern);
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            ASSERT_EQ(PixelAt(shown, x, y), PixelAt(SurfacePixels(back), x, y)) << "at " << x << ", " << y;
        }
    }
}

TEST_F(SdlScreen, AWholeFactorMakesEveryPixelAnExactBlock) {
    ScreenOfSize(1600, 1200);
    Show(Pattern);
    for (int y = 0; y < 1200; ++y) {
        for (int x = 0; x < 1600; ++x) {
            ASSERT_EQ(PixelAt(shown, x, y), PixelAt(SurfacePixels(back), x / 2, y / 2)) << "at " << x << ", " << y;
        }
    }
}

TEST_F(SdlScreen, OnAWideScreenThePictureStandsCentredWithBlackBesideIt) {
    ScreenOfSize(1920, 1080);
    Show([](SDL_Surface* picture) { Fill(picture, nullptr, red); });
    // 1080 rows high gives a 1440-pixel-wide picture, 240 pixels in from either side.
    EXPECT_EQ(PixelAt(shown, 239, 540), black);
    EXPECT_EQ(PixelAt(shown, 240, 0), red);
    EXPECT_EQ(PixelAt(shown, 1679, 1079), red);
    EXPECT_EQ(PixelAt(shown, 1680, 540), black);
    EXPECT_EQ(PixelAt(shown, 0, 0), black);
    EXPECT_EQ(PixelAt(shown, 1919, 1079), black);
}

// At 1.28 (1024 x 768) an edge between two flat areas is blended over exactly one screen pixel:
// sharp, where plain linear scaling would smear it and nearest neighbours would give cells of 20
// and 21 pixels at random.
TEST_F(SdlScreen, AFactorThatIsNotWholeKeepsEdgesSharpAndFlatAreasFlat) {
    Show(Corners);
    EXPECT_EQ(PixelAt(shown, 0, 0), white);
    EXPECT_EQ(PixelAt(shown, 19, 19), white);
    EXPECT_EQ(PixelAt(shown, 21, 21), black);
    EXPECT_EQ(PixelAt(shown, 1023, 767), red);
    EXPECT_EQ(PixelAt(shown, 1004, 748), red);
    EXPECT_EQ(PixelAt(shown, 1002, 746), black);
    int blended = 0;
    for (int x = 0; x < 40; ++x) {
        const Rgb pixel = PixelAt(shown, x, 5);
        blended += pixel != white && pixel != black ? 1 : 0;
    }
    EXPECT_EQ(blended, 1);  // nearest neighbours would blend none, plain linear scaling two or more
}

void SleepUntil(uint64_t ns) {
    const timespec until{static_cast<time_t>(ns / 1000000000u), static_cast<long>(ns % 1000000000u)};
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr);
}

uint64_t Presents() {
    uint64_t count = 0, lastNs = 0;
    PresentStats(&count, &lastNs);
    return count;
}

TEST_F(SdlScreen, APresentComesAtMostOncePerRefreshAndOnlyForAChange) {
    ScreenOfSize(800, 600);
    const Rect whole{0, 0, 800, 600};
    Fill(SurfacePixels(back), nullptr, red);
    ASSERT_EQ(PlatformCopyRect(primary, 0, 0, back, &whole), S_OK);
    const uint64_t first = MonotonicNs();
    PresentPictureNow();
    uint64_t presentAt = 0;
    EXPECT_FALSE(PicturePending(&presentAt));
    EXPECT_GE(presentAt, first + RefreshIntervalNs());

    // A change within the refresh interval waits for its end.
    Fill(SurfacePixels(back), nullptr, green);
    ASSERT_EQ(PlatformCopyRect(primary, 0, 0, back, &whole), S_OK);
    EXPECT_TRUE(PicturePending(&presentAt));
    PlatformPresent(primary);
    const bool early = MonotonicNs() < presentAt;  // a slow machine may already be past it
    ReadBack();
    if (early) {
        EXPECT_EQ(PixelAt(shown, 400, 300), red);
    }
    SleepUntil(presentAt);
    PlatformPresent(primary);
    ReadBack();
    EXPECT_EQ(PixelAt(shown, 400, 300), green);
    EXPECT_FALSE(PicturePending(&presentAt));

    // A frame that could not be shown yet is declined, and owed once a present can come.
    if (PlatformFrameWanted()) {
        GTEST_SKIP() << "the machine took longer than a refresh interval between two calls";
    }
    EXPECT_TRUE(PicturePending(&presentAt));
    SleepUntil(presentAt);
    EXPECT_TRUE(PlatformFrameWanted());

    // The same picture again is no change: nothing is presented.
    SleepUntil(presentAt);
    const uint64_t before = Presents();
    ASSERT_EQ(PlatformCopyRect(primary, 0, 0, back, &whole), S_OK);
    PlatformPresent(primary);
    EXPECT_EQ(Presents(), before);
    EXPECT_FALSE(PicturePending(&presentAt));
}

TEST_F(SdlScreen, TextDrawnStraightOntoThePrimarySurfaceIsPresented) {
    ScreenOfSize(800, 600);
    Show([](SDL_Surface* picture) { Fill(picture, nullptr, black); });
    DrawContext* context = nullptr;
    ASSERT_EQ(PlatformGetDC(primary, &context), S_OK);
    PlatformSetOpaqueBackground(context);
    PlatformSetBackgroundColour(context, 0x00FF0000);  // blue
    PlatformSetTextColour(context, 0x00FFFFFF);
    PlatformTextOut(context, 10, 10, "Vornix", 6);
    PlatformReleaseDC(primary, context);
    PresentPictureNow();
    ReadBack();
    EXPECT_EQ(PixelAt(shown, 11, 11), blue);
}

TEST_F(SdlDisplay, ASurfaceHandsOutOneContextAtATime) {
    DrawContext* first = nullptr;
    DrawContext* second = nullptr;
    ASSERT_EQ(PlatformGetDC(back, &first), S_OK);
    EXPECT_NE(PlatformGetDC(back, &second), S_OK);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(PlatformReleaseDC(back, first), S_OK);
    EXPECT_NE(PlatformReleaseDC(back, first), S_OK);
    EXPECT_EQ(PlatformGetDC(back, &second), S_OK);
    EXPECT_EQ(PlatformReleaseDC(back, second), S_OK);
}

TEST_F(SdlDisplay, ReleasedSurfacesAndDisplayTakeNoMoreWork) {
    PlatformReleaseSurface(back);
    DrawContext* context = nullptr;
    EXPECT_NE(PlatformGetDC(back, &context), S_OK);
    const Rect whole{0, 0, 800, 600};
    EXPECT_NE(PlatformCopyRect(primary, 0, 0, back, &whole), S_OK);
    PlatformReleaseDisplay(display);
    EXPECT_EQ(SDL_GetWindowFlags(SdlWindowOf(window)) & SDL_WINDOW_FULLSCREEN, 0u);
}

class SdlBitmaps : public SdlDisplay {
protected:
    void TearDown() override {
        std::remove(path.c_str());
        SdlDisplay::TearDown();
    }

    // A 2 x 2 bitmap file: red, green on top; blue, white below.
    void WriteQuadrants() {
        SDL_Surface* image = SDL_CreateRGBSurfaceWithFormat(0, 2, 2, 24, SDL_PIXELFORMAT_BGR24);
        const SDL_Rect cells[4] = {{0, 0, 1, 1}, {1, 0, 1, 1}, {0, 1, 1, 1}, {1, 1, 1, 1}};
        const Rgb colours[4] = {red, green, blue, white};
        for (int i = 0; i < 4; ++i) {
            Fill(image, &cells[i], colours[i]);
        }
        ASSERT_EQ(SDL_SaveBMP(image, path.c_str()), 0);
        SDL_FreeSurface(image);
    }

    std::string path = ::testing::TempDir() + "vornix-quadrants.bmp";
};

TEST_F(SdlBitmaps, AMissingFileGivesNoBitmap) {
    EXPECT_EQ(PlatformLoadBitmapFile("textures/no-such-picture.bmp"), nullptr);
}

TEST_F(SdlBitmaps, ABitmapIsStretchedOverAWholeSurfaceInItsFormat) {
    WriteQuadrants();
    Bitmap* bitmap = PlatformLoadBitmapFile(path.c_str());
    ASSERT_NE(bitmap, nullptr);
    int32_t width = 0, height = 0;
    PlatformGetBitmapSize(bitmap, &width, &height);
    EXPECT_EQ(width, 2);
    EXPECT_EQ(height, 2);

    Surface* cube = MakeSurface(display, 64, 464);
    DrawContext* memory = PlatformCreateMemoryContext();
    ASSERT_NE(memory, nullptr);
    PlatformSelectBitmap(memory, bitmap);
    DrawContext* target = nullptr;
    ASSERT_EQ(PlatformGetDC(cube, &target), S_OK);
    PlatformStretchCopy(target, 0, 0, 64, 464, memory, 0, 0, width, height);
    PlatformReleaseDC(cube, target);
    PlatformDeleteMemoryContext(memory);
    PlatformDeleteBitmap(bitmap);

    SDL_Surface* pixels = SurfacePixels(cube);
    EXPECT_EQ(PixelAt(pixels, 0, 0), red);
    EXPECT_EQ(PixelAt(pixels, 31, 231), red);
    EXPECT_EQ(PixelAt(pixels, 63, 0), green);
    EXPECT_EQ(PixelAt(pixels, 0, 463), blue);
    EXPECT_EQ(PixelAt(pixels, 63, 463), white);
}

TEST_F(SdlBitmaps, ABitmapOfTheSurfacesSizeIsCopiedExactly) {
    WriteQuadrants();
    Bitmap* bitmap = PlatformLoadBitmapFile(path.c_str());
    ASSERT_NE(bitmap, nullptr);
    Surface* small = MakeSurface(display, 2, 2);
    DrawContext* memory = PlatformCreateMemoryContext();
    PlatformSelectBitmap(memory, bitmap);
    DrawContext* target = nullptr;
    ASSERT_EQ(PlatformGetDC(small, &target), S_OK);
    PlatformStretchCopy(target, 0, 0, 2, 2, memory, 0, 0, 2, 2);
    PlatformReleaseDC(small, target);
    PlatformDeleteMemoryContext(memory);
    PlatformDeleteBitmap(bitmap);

    SDL_Surface* pixels = SurfacePixels(small);
    EXPECT_EQ(PixelAt(pixels, 0, 0), red);
    EXPECT_EQ(PixelAt(pixels, 1, 0), green);
    EXPECT_EQ(PixelAt(pixels, 0, 1), blue);
    EXPECT_EQ(PixelAt(pixels, 1, 1), white);
}

// A 1-bit bitmap file of the given header, padded (or cut) to the given size.
void WriteBitmapFile(const std::string& path, int32_t width, int32_t height, size_t size) {
    unsigned char bytes[62] = {'B', 'M'};
    const auto put = [&](int at, uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    put(2, static_cast<uint32_t>(size), 4);
    put(10, 62, 4);  // the pixels follow the 40-byte header and a palette of two colours
    put(14, 40, 4);
    put(18, static_cast<uint32_t>(width), 4);
    put(22, static_cast<uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 1, 2);
    put(58, 0xFFFFFF, 4);
    std::string file(reinterpret_cast<const char*>(bytes), sizeof bytes);
    file.resize(size, '\xAA');
    FILE* stream = std::fopen(path.c_str(), "wb");
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
TEST_F(SdlBitmaps, AHeaderClaimingMoreThanItsFileOrTheLargestSideIsRefusedBeforeAnyAllocation) {
    const struct {
        int32_t width, height;
        size_t size;
        bool loads;
    } cases[] = {
        {20000, 20000, 1024, false},      {20000, -20000, 1024, false}, {4000, 4000, 62 + 500 * 4000 - 1, false},
        {64, 64, 62 + 8 * 64, true},      {16384, 1, 62 + 2048, true},  {16385, 1, 62 + 2052, false},
        {1, 16385, 62 + 4 * 16385, false}};
    SDL_GetMemoryFunctions(&sdlMalloc, &sdlCalloc, &sdlRealloc, &sdlFree);
    ASSERT_EQ(SDL_SetMemoryFunctions(CountedMalloc, CountedCalloc, CountedRealloc, sdlFree), 0);
    for (const auto& c : cases) {
        WriteBitmapFile(path, c.width, c.height, c.size);
        largestRequest = 0;
        Bitmap* bitmap = PlatformLoadBitmapFile(path.c_str());
        EXPECT_EQ(bitmap != nullptr, c.loads) << c.width << " x " << c.height << " in " << c.size;
        if (!c.loads) {
            EXPECT_LT(largestRequest, size_t{1} << 16) << c.width << " x " << c.height;
        }
        PlatformDeleteBitmap(bitmap);
    }
    SDL_SetMemoryFunctions(sdlMalloc, sdlCalloc, sdlRealloc, sdlFree);
}

TEST_F(SdlBitmaps, AContextWithoutABitmapTransfersNothing) {
    Surface* small = MakeSurface(display, 4, 4);
    Fill(SurfacePixels(small), nullptr, green);
    DrawContext* memory = PlatformCreateMemoryContext();
    DrawContext* target = nullptr;
    ASSERT_EQ(PlatformGetDC(small, &target), S_OK);
    PlatformStretchCopy(target, 0, 0, 4, 4, memory, 0, 0, 2, 2);
    PlatformReleaseDC(small, target);
    PlatformDeleteMemoryContext(memory);
    EXPECT_EQ(PixelAt(SurfacePixels(small), 2, 2), green);
}

}  // namespace
