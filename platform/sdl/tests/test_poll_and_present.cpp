// The SDL layer's pace on a scripted clock: when the poll's wait ends (the step's millisecond, a
// frame that can be shown, a message, the cap), and the present that shows the picture at most once
// per refresh, only when it changed, and only where it changed.
#include <algorithm>

#include "platform/memory/memory_internal.h"
#include "platform/sdl/tests/sdl_test_support.h"

namespace {

constexpr uint32_t red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF;
constexpr uint64_t ms = 1000000;

// The display as the program sets it up, on the dummy driver's 1024 x 768 desktop. The picture stands at 0, 0 .. 1024,
// 768 there, scaled by 1.28.
class SdlPace : public SdlLayer {
protected:
    void SetUp() override {
        SdlLayer::SetUp();
        ASSERT_EQ(PlatformCreateDisplay(&display), S_OK);
        ASSERT_EQ(PlatformSetCooperativeLevel(display, window), S_OK);
        SurfaceDesc desc{124, DDSD_CAPS, 0, 0, DDSCAPS_PRIMARYSURFACE};
        ASSERT_EQ(PlatformCreateSurface(display, &desc, &primary), S_OK);
        refresh = RefreshIntervalNs();
        SDL_PumpEvents();  // the window's own events of going fullscreen are not the test's
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    // Paints a rectangle of the picture in one colour, as text is written onto it.
    void Paint(uint32_t colour, const Rect& rect) {
        DrawContext* to = nullptr;
        ASSERT_EQ(PlatformGetDC(primary, &to), S_OK);
        int32_t width = 0, height = 0;
        uint32_t* pixels = ContextPixels(to, &width, &height);
        for (int32_t y = rect.top; y < rect.bottom; ++y)
            std::fill(pixels + y * width + rect.left, pixels + y * width + rect.right, colour);
        NoteContextWrite(to, rect, UniqueSignature());
        PlatformReleaseDC(primary, to);
    }
    // What the window shows at a point, 0x00RRGGBB.
    uint32_t Shown(int x, int y) {
        SDL_Surface* screen = SDL_GetWindowSurface(SdlWindowOf(window));
        Uint8 r, g, b;
        Uint32 value = 0;
        SDL_memcpy(&value, static_cast<Uint8*>(screen->pixels) + y * screen->pitch + x * 4, 4);
        SDL_GetRGB(value, screen->format, &r, &g, &b);
        return static_cast<uint32_t>(r) << 16 | g << 8 | b;
    }
    DisplayDevice* display = nullptr;
    Surface* primary = nullptr;
    uint64_t refresh = 0;
};

TEST_F(SdlPace, APresentComesAtMostOncePerRefreshOnlyOnChangeAndOnlyWhereItChanged) {
    now += refresh;  // since the black picture went to the screen as the display was made
    Paint(red, Rect{0, 0, 800, 600});
    ASSERT_TRUE(PlatformFrameWanted());
    PlatformPresent(primary);
    EXPECT_EQ(Shown(512, 384), red);

    // A change within the refresh: the frame is declined and a present shows nothing yet.
    now += refresh / 2;
    Paint(green, Rect{0, 0, 800, 600});
    EXPECT_FALSE(PlatformFrameWanted());
    PlatformPresent(primary);
    EXPECT_EQ(Shown(512, 384), red);
    now += refresh / 2;
    EXPECT_TRUE(PlatformFrameWanted());
    PlatformPresent(primary);
    EXPECT_EQ(Shown(512, 384), green);

    // Nothing changed: nothing is drawn, so a mark on the screen stays.
    SDL_Surface* screen = SDL_GetWindowSurface(SdlWindowOf(window));
    const SDL_Rect middle{512, 384, 1, 1};
    SDL_FillRect(screen, &middle, SDL_MapRGB(screen->format, 0, 0, 255));
    now += 5 * refresh;
    EXPECT_TRUE(PlatformFrameWanted());
    PlatformPresent(primary);
    EXPECT_EQ(Shown(512, 384), blue);
    now += refresh / 2;
    EXPECT_FALSE(PlatformFrameWanted()) << "within a refresh of the last frame, though that showed nothing new";

    // A cell at the top left and one at the bottom right change: they are drawn, the middle is not.
    Paint(red, Rect{0, 0, 16, 16});
    Paint(red, Rect{784, 584, 800, 600});
    now += refresh;
    PlatformPresent(primary);
    EXPECT_EQ(Shown(10, 10), red);
    EXPECT_EQ(Shown(1014, 758), red);
    EXPECT_EQ(Shown(512, 384), blue);

    // Uncovered, the window gets all of the picture again.
    ShowPictureAgain();
    now += refresh;
    PlatformPresent(primary);
    EXPECT_EQ(Shown(512, 384), green);
}

TEST_F(SdlPace, BetweenGamesThePollWaitsForAMessageOrASecond) {
    Message message{};
    uint64_t start = now;
    EXPECT_FALSE(PlatformPeekMessage(&message)) << "the idle turn";
    EXPECT_FALSE(PlatformPeekMessage(&message)) << "the turn that waits";
    EXPECT_EQ(now, start + 1000 * ms);

    scriptedEvent = SDL_Event{};
    scriptedEvent.type = SDL_KEYDOWN;
    scriptedEvent.key.keysym = SDL_Keysym{SDL_SCANCODE_SPACE, SDLK_SPACE, KMOD_NONE, 0};
    start = now;
    eventAt = start + 300 * ms;
    ASSERT_TRUE(PlatformPeekMessage(&message));  // the wait above ended in an idle turn: this one waits
    EXPECT_EQ(message.message, static_cast<uint32_t>(WM_KEYDOWN));
    EXPECT_EQ(now, start + 300 * ms);
}

TEST_F(SdlPace, DuringAGameThePollWakesAtTheStepsMillisecondOrOneRefreshAfterTheLastTurn) {
    Message message{};
    now += ms / 3;  // in the middle of a millisecond
    uint64_t start = now;
    ASSERT_FALSE(PlatformPeekMessage(&message));
    PlatformIdleWorkDueAt(PlatformClockMs() + 5, false);
    ASSERT_FALSE(PlatformPeekMessage(&message));
    EXPECT_EQ(now, (start / ms + 5) * ms) << "the start of the step's millisecond";

    start = now;
    PlatformIdleWorkDueAt(PlatformClockMs() + 200, false);
    ASSERT_FALSE(PlatformPeekMessage(&message));
    EXPECT_EQ(now, start + refresh) << "what changes with time alone is drawn";
}

TEST_F(SdlPace, ADeclinedFrameEndsTheWaitWhenItCanBeShown) {
    Message message{};
    const uint64_t shown = now;  // the black picture went to the screen as the display was made
    now += 2 * ms;
    ASSERT_FALSE(PlatformPeekMessage(&message));
    Paint(red, Rect{0, 0, 16, 16});
    EXPECT_FALSE(PlatformFrameWanted());
    ASSERT_FALSE(PlatformPeekMessage(&message));
    EXPECT_EQ(now, shown + refresh);
    EXPECT_TRUE(PlatformFrameWanted());
}

}  // namespace
