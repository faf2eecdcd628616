// The SDL layer's display: the refused mode, surfaces in the window's format, the clipped opaque
// copy, the picture scaled onto a larger screen, the back surface sharing a screen of its size,
// contexts, and bitmaps stretched onto surfaces.
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

TEST_F(SdlLayer, AModeTheDisplayDoesNotListIsRefusedAtEveryDepth) {
    // The dummy display offers its 1024 x 768 desktop only.
    DisplayDevice* display = nullptr;
    ASSERT_EQ(PlatformCreateDisplay(&display), S_OK);
    ASSERT_EQ(PlatformSetCooperativeLevel(display, window), S_OK);
    EXPECT_NE(PlatformSetDisplayMode(display, 800, 600, 32), S_OK);
    EXPECT_NE(PlatformSetDisplayMode(display, 800, 600, 24), S_OK);
    EXPECT_NE(PlatformSetDisplayMode(display, 800, 600, 16), S_OK);
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

TEST_F(SdlDisplay, WithoutTheModeThePrimarySurfaceIsTheWholeDesktop) {
    uint32_t width = 0, height = 0;
    ASSERT_EQ(PlatformGetSurfaceSize(primary, &width, &height), S_OK);
    EXPECT_EQ(width, 1024u);
    EXPECT_EQ(height, 768u);
    EXPECT_NE(SDL_GetWindowFlags(SdlWindowOf(window)) & SDL_WINDOW_FULLSCREEN, 0u);
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

TEST_F(SdlDisplay, ThePictureFillsALargerScreenScaledWithItsShapeKept) {
    // 800 x 600 onto the 1024 x 768 desktop: every picture pixel becomes 1.28 screen pixels.
    SDL_Surface* picture = SurfacePixels(back);
    Fill(picture, nullptr, black);
    const SDL_Rect topLeft{0, 0, 16, 16}, bottomRight{784, 584, 16, 16};
    Fill(picture, &topLeft, white);
    Fill(picture, &bottomRight, red);

    const Rect whole{0, 0, 800, 600};
    ASSERT_EQ(PlatformCopyRect(primary, 0, 0, back, &whole), S_OK);
    PlatformPresent(primary);
    SDL_Surface* screen = SurfacePixels(primary);
    EXPECT_EQ(PixelAt(screen, 0, 0), white);
    EXPECT_EQ(PixelAt(screen, 19, 19), white);
    EXPECT_EQ(PixelAt(screen, 21, 21), black);
    EXPECT_EQ(PixelAt(screen, 1023, 767), red);
    EXPECT_EQ(PixelAt(screen, 1004, 748), red);
    EXPECT_EQ(PixelAt(screen, 1000, 744), black);
}

// Gives the window a screen of another shape than the desktop's, as other monitors have.
SDL_Surface* ScreenOfSize(WindowHandle window, int width, int height) {
    SDL_SetWindowFullscreen(SdlWindowOf(window), 0);
    SDL_SetWindowSize(SdlWindowOf(window), width, height);
    SDL_Surface* screen = SDL_GetWindowSurface(SdlWindowOf(window));
    Fill(screen, nullptr, white);
    return screen;
}

TEST_F(SdlDisplay, OnAWideScreenThePictureStandsCentredWithBlackBesideIt) {
    SDL_Surface* screen = ScreenOfSize(window, 1600, 900);
    ASSERT_EQ(screen->w, 1600);
    Fill(SurfacePixels(back), nullptr, red);
    const Rect whole{0, 0, 800, 600};
    ASSERT_EQ(PlatformCopyRect(primary, 0, 0, back, &whole), S_OK);
    // 900 rows high gives a 1200-pixel-wide picture, 200 pixels in from either side.
    EXPECT_EQ(PixelAt(screen, 0, 450), black);
    EXPECT_EQ(PixelAt(screen, 199, 0), black);
    EXPECT_EQ(PixelAt(screen, 200, 0), red);
    EXPECT_EQ(PixelAt(screen, 1399, 899), red);
    EXPECT_EQ(PixelAt(screen, 1400, 899), black);
    EXPECT_EQ(PixelAt(screen, 1599, 450), black);
}

TEST_F(SdlDisplay, WhereThePictureFitsAtItsOwnSizeItIsCopiedPixelForPixel) {
    SDL_Surface* screen = ScreenOfSize(window, 1000, 600);
    SDL_Surface* picture = SurfacePixels(back);
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; x += 80) {
            const SDL_Rect stripe{x, y, 80, 1};
            Fill(picture, &stripe, Rgb{x / 4, y / 3, (x + y) % 256});
        }
    }
    const Rect whole{0, 0, 800, 600};
    ASSERT_EQ(PlatformCopyRect(primary, 0, 0, back, &whole), S_OK);
    for (int y = 0; y < 600; y += 37) {
        for (int x = 0; x < 800; x += 41) {
            ASSERT_EQ(PixelAt(screen, 100 + x, y), PixelAt(picture, x, y)) << "at " << x << ", " << y;
        }
    }
    EXPECT_EQ(PixelAt(screen, 99, 300), black);
    EXPECT_EQ(PixelAt(screen, 900, 300), black);

    // A copy reaching past the picture's edge stops there and leaves the border black.
    Surface* cell = MakeSurface(display, 16, 16);
    Fill(SurfacePixels(cell), nullptr, green);
    const Rect all{0, 0, 16, 16};
    ASSERT_EQ(PlatformCopyRect(primary, 792, -8, cell, &all), S_OK);
    EXPECT_EQ(PixelAt(screen, 100 + 799, 0), green);
    EXPECT_EQ(PixelAt(screen, 900, 0), black);
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

TEST_F(SdlDisplay, SurfacesWithPixelsOfTheirOwnAreNeverLost) {
    Fill(SurfacePixels(back), nullptr, red);
    ScreenOfSize(window, 640, 480);
    const Rect whole{0, 0, 800, 600};
    EXPECT_EQ(PlatformCopyRect(primary, 0, 0, back, &whole), S_OK);
    EXPECT_EQ(PlatformRestoreAllSurfaces(display), S_OK);
    EXPECT_EQ(PlatformRestoreSurface(back), S_OK);
    EXPECT_EQ(PixelAt(SurfacePixels(back), 400, 300), red);
}

// The display on a screen of exactly the picture's size, as the game's own 800 x 600 mode gives
// it: the back surface is made after the screen has its size, and shares the screen's pixels.
class SdlSharedScreen : public SdlLayer {
protected:
    void SetUp() override {
        SdlLayer::SetUp();
        ASSERT_EQ(PlatformCreateDisplay(&display), S_OK);
        ASSERT_EQ(PlatformSetCooperativeLevel(display, window), S_OK);
        SurfaceDesc desc{124, DDSD_CAPS, 0, 0, DDSCAPS_PRIMARYSURFACE};
        ASSERT_EQ(PlatformCreateSurface(display, &desc, &primary), S_OK);
        ASSERT_EQ(ScreenOfSize(window, 800, 600)->w, 800);
        back = MakeSurface(display, 800, 600);
        ASSERT_NE(back, nullptr);
    }

    SDL_Surface* Screen() { return SDL_GetWindowSurface(SdlWindowOf(window)); }

    DisplayDevice* display = nullptr;
    Surface* primary = nullptr;
    Surface* back = nullptr;
    const Rect whole{0, 0, 800, 600};
};

TEST_F(SdlSharedScreen, WhatIsComposedOnTheBackSurfaceIsPresentedWithoutACopy) {
    ASSERT_EQ(SurfacePixels(back)->pixels, Screen()->pixels);
    const SDL_Rect corner{784, 584, 16, 16};
    Fill(SurfacePixels(back), nullptr, blue);
    Fill(SurfacePixels(back), &corner, red);
    // Already on the screen before the present: there is nothing left to copy.
    EXPECT_EQ(PixelAt(Screen(), 0, 0), blue);
    ASSERT_EQ(PlatformCopyRect(primary, 0, 0, back, &whole), S_OK);
    PlatformPresent(primary);
    EXPECT_EQ(PixelAt(Screen(), 0, 0), blue);
    EXPECT_EQ(PixelAt(Screen(), 799, 599), red);
    EXPECT_EQ(PixelAt(Screen(), 783, 599), blue);
}

TEST_F(SdlSharedScreen, OnlyOneSurfaceSharesTheScreen) {
    Surface* second = MakeSurface(display, 800, 600);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(SurfacePixels(second)->pixels, Screen()->pixels);
    Fill(SurfacePixels(back), nullptr, blue);
    Fill(SurfacePixels(second), nullptr, green);
    EXPECT_EQ(PixelAt(Screen(), 400, 300), blue);
    ASSERT_EQ(PlatformCopyRect(primary, 0, 0, second, &whole), S_OK);
    EXPECT_EQ(PixelAt(Screen(), 400, 300), green);
}

// A picture whose every pixel tells where it came from.
void FillWithPositions(SDL_Surface* surface) {
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; x += 4) {
            const SDL_Rect run{x, y, 4, 1};
            Fill(surface, &run, Rgb{x, y, 7});
        }
    }
}

TEST_F(SdlSharedScreen, CopiesBetweenTheScreenAndTheSharingSurfaceMoveOverlappingPixelsIntact) {
    SDL_Surface* pixels = SurfacePixels(back);
    FillWithPositions(pixels);
    // Down and to the right, out of the screen onto the surface in the same memory.
    const Rect block{0, 0, 100, 100};
    ASSERT_EQ(PlatformCopyRect(back, 30, 20, primary, &block), S_OK);
    for (int y = 0; y < 100; y += 3) {
        for (int x = 0; x < 100; x += 4) {
            ASSERT_EQ(PixelAt(pixels, 30 + x, 20 + y), (Rgb{x, y, 7})) << "at " << x << ", " << y;
        }
    }
    // Up and to the left, from the surface onto the screen.
    FillWithPositions(pixels);
    const Rect lower{40, 40, 140, 140};
    ASSERT_EQ(PlatformCopyRect(primary, 8, 4, back, &lower), S_OK);
    for (int y = 0; y < 100; y += 3) {
        for (int x = 0; x < 100; x += 4) {
            ASSERT_EQ(PixelAt(pixels, 8 + x, 4 + y), (Rgb{40 + x, 40 + y, 7})) << "at " << x << ", " << y;
        }
    }
}

TEST_F(SdlSharedScreen, AfterAResizeTheSharingSurfaceIsLostUntilRestored) {
    DrawContext* context = nullptr;
    ASSERT_EQ(PlatformGetDC(back, &context), S_OK);
    Surface* cell = MakeSurface(display, 16, 16);
    Fill(SurfacePixels(cell), nullptr, green);
    const Rect all{0, 0, 16, 16};

    // The fetch makes SDL free the old screen: any later use of it would be reported by the
    // address sanitizer.
    SDL_SetWindowSize(SdlWindowOf(window), 640, 480);
    ASSERT_EQ(Screen()->w, 640);
    Fill(Screen(), nullptr, white);

    EXPECT_EQ(PlatformCopyRect(primary, 0, 0, back, &whole), DDERR_SURFACELOST);
    EXPECT_EQ(PlatformCopyRect(back, 0, 0, cell, &all), DDERR_SURFACELOST);
    EXPECT_EQ(PlatformCopyRect(cell, 0, 0, back, &all), DDERR_SURFACELOST);
    EXPECT_EQ(SurfacePixels(back), nullptr);
    PlatformTextOut(context, 10, 10, "lost", 4);
    PlatformSetBackgroundColour(context, 0x0000FF);
    PlatformReleaseDC(back, context);
    DrawContext* another = nullptr;
    EXPECT_NE(PlatformGetDC(back, &another), S_OK);
    EXPECT_EQ(PixelAt(Screen(), 10, 10), white);

    // The new screen is not the picture's size: the surface gets pixels of its own, shown scaled.
    ASSERT_EQ(PlatformRestoreAllSurfaces(display), S_OK);
    ASSERT_NE(SurfacePixels(back), nullptr);
    EXPECT_NE(SurfacePixels(back)->pixels, Screen()->pixels);
    ASSERT_EQ(PlatformCopyRect(back, 0, 0, cell, &all), S_OK);
    const Rect rest{16, 0, 800, 600};
    Fill(SurfacePixels(back), nullptr, red);
    ASSERT_EQ(PlatformCopyRect(back, 0, 0, cell, &all), S_OK);
    ASSERT_EQ(PlatformCopyRect(primary, 0, 0, back, &whole), S_OK);
    EXPECT_EQ(PixelAt(Screen(), 0, 0), green);
    EXPECT_EQ(PixelAt(Screen(), 320, 240), red);
    ASSERT_EQ(PlatformCopyRect(primary, 16, 0, back, &rest), S_OK);
}

TEST_F(SdlSharedScreen, SdlsNoticeOfASizeChangeLosesTheSurfaceEvenWhereTheNewScreenLooksTheSame) {
    // SDL rebuilds the screen on every size change it announces; the new one may come at the old
    // addresses, so the notice alone marks the sharing surface lost.
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
    event.window.windowID = SDL_GetWindowID(SdlWindowOf(window));
    event.window.data1 = 800;
    event.window.data2 = 600;
    SDL_PushEvent(&event);
    EXPECT_EQ(PlatformCopyRect(primary, 0, 0, back, &whole), DDERR_SURFACELOST);
    EXPECT_EQ(PlatformRestoreSurface(back), S_OK);

    ASSERT_NE(SurfacePixels(back), nullptr);
    EXPECT_EQ(SurfacePixels(back)->pixels, Screen()->pixels);
    Fill(SurfacePixels(back), nullptr, green);
    ASSERT_EQ(PlatformCopyRect(primary, 0, 0, back, &whole), S_OK);
    PlatformPresent(primary);
    EXPECT_EQ(PixelAt(Screen(), 400, 300), green);
}

TEST_F(SdlSharedScreen, ARestoreAfterTheScreenGotThePictureSizeAgainSharesIt) {
    SDL_SetWindowSize(SdlWindowOf(window), 1024, 768);
    ASSERT_EQ(Screen()->w, 1024);
    EXPECT_EQ(PlatformCopyRect(primary, 0, 0, back, &whole), DDERR_SURFACELOST);
    SDL_SetWindowSize(SdlWindowOf(window), 800, 600);
    ASSERT_EQ(Screen()->w, 800);
    ASSERT_EQ(PlatformRestoreAllSurfaces(display), S_OK);
    EXPECT_EQ(SurfacePixels(back)->pixels, Screen()->pixels);
}

TEST_F(SdlSharedScreen, TextOnTheSharingSurfaceIsOnTheScreen) {
    DrawContext* context = nullptr;
    ASSERT_EQ(PlatformGetDC(back, &context), S_OK);
    Fill(SurfacePixels(back), nullptr, blue);
    PlatformSetBackgroundColour(context, 0x00FF00);  // green
    PlatformSetTextColour(context, 0xFFFFFF);
    PlatformTextOut(context, 100, 100, "  ", 2);
    PlatformReleaseDC(back, context);
    EXPECT_EQ(PixelAt(Screen(), 101, 101), green);
    EXPECT_EQ(PixelAt(Screen(), 99, 101), blue);
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
        for (int i = 0; i < count; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
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
    const struct { int32_t width, height; size_t size; bool loads; } cases[] = {
        {20000, 20000, 1024, false},  {20000, -20000, 1024, false}, {4000, 4000, 62 + 500 * 4000 - 1, false},
        {64, 64, 62 + 8 * 64, true},  {16384, 1, 62 + 2048, true},  {16385, 1, 62 + 2052, false},
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
