// The SDL layer's text: an opaque box of the background colour at most 16 pixels high, the text
// colour inside it, one cell per character, and colours given as COLORREF values.
#include <algorithm>

#include "platform/sdl/tests/sdl_test_support.h"

namespace {

constexpr Rgb black{0, 0, 0};
constexpr Rgb green{0, 255, 0};
constexpr Rgb statusGrey{153, 151, 151};
constexpr Rgb red{255, 0, 0};

struct Box {
    int left, top, right, bottom;  // inclusive; right < left when nothing was drawn
};

class SdlText : public SdlDisplay {
protected:
    void SetUp() override {
        SdlDisplay::SetUp();
        pixels = SurfacePixels(back);
        Fill(pixels, nullptr, green);
    }

    void Write(int x, int y, const char* text, int count, uint32_t textColour, uint32_t backgroundColour) {
        DrawContext* context = nullptr;
        ASSERT_EQ(PlatformGetDC(back, &context), S_OK);
        PlatformSetOpaqueBackground(context);
        PlatformSetBackgroundColour(context, backgroundColour);
        PlatformSetTextColour(context, textColour);
        PlatformTextOut(context, x, y, text, count);
        PlatformReleaseDC(back, context);
    }

    // The rectangle of everything that is no longer the green the surface was filled with.
    Box Touched() const {
        Box box{pixels->w, pixels->h, -1, -1};
        for (int y = 0; y < pixels->h; ++y) {
            for (int x = 0; x < pixels->w; ++x) {
                if (!(PixelAt(pixels, x, y) == green)) {
                    box.left = std::min(box.left, x);
                    box.top = std::min(box.top, y);
                    box.right = std::max(box.right, x);
                    box.bottom = std::max(box.bottom, y);
                }
            }
        }
        return box;
    }

    int Count(const Box& box, Rgb colour) const {
        int count = 0;
        for (int y = box.top; y <= box.bottom; ++y) {
            for (int x = box.left; x <= box.right; ++x) {
                count += PixelAt(pixels, x, y) == colour ? 1 : 0;
            }
        }
        return count;
    }

    SDL_Surface* pixels = nullptr;
};

TEST_F(SdlText, TheTextStandsInAnOpaqueBoxFromItsTopLeftCorner) {
    Write(140, 34, "snake_", 6, 0x979799, 0x000000);
    const Box box = Touched();
    EXPECT_EQ(box.left, 140);
    EXPECT_EQ(box.top, 34);
    const int height = box.bottom - box.top + 1;
    EXPECT_LE(height, 16) << "rows of the score list are 16 pixels apart";
    EXPECT_GE(height, 10);
    // Nothing of the green is left inside the box: the background fills what the letters leave.
    EXPECT_EQ(Count(box, green), 0);
    EXPECT_GT(Count(box, black), 0);
    EXPECT_GT(Count(box, statusGrey), 0) << "stems of the letters carry the full text colour";
}

TEST_F(SdlText, TheNameEntryCursorShowsBelowTheLetters) {
    // The underscore reaches below the font's nominal descent; its cell must still hold it.
    Write(10, 10, "_", 1, 0xFFFFFF, 0x000000);
    const Box box = Touched();
    EXPECT_LE(box.bottom - box.top + 1, 16);
    const int cellPixels = (box.right - box.left + 1) * (box.bottom - box.top + 1);
    EXPECT_LT(Count(box, black), cellPixels) << "the underscore left no mark";
}

TEST_F(SdlText, EveryCharacterTakesOneCellOfTheSameWidth) {
    Write(10, 10, "iiii", 4, 0xFFFFFF, 0x000000);
    const Box four = Touched();
    Fill(pixels, nullptr, green);
    Write(10, 10, "WW", 2, 0xFFFFFF, 0x000000);
    const Box two = Touched();
    EXPECT_EQ(four.right - four.left + 1, 2 * (two.right - two.left + 1));
    // Eleven letters of a name fit between the name's column at 370 and the score's at 450.
    EXPECT_LE(11 * (two.right - two.left + 1) / 2, 80);
}

TEST_F(SdlText, OnlyTheGivenCountIsWritten) {
    Write(10, 10, "ab", 1, 0xFFFFFF, 0x000000);
    const Box one = Touched();
    Fill(pixels, nullptr, green);
    Write(10, 10, "ab", 2, 0xFFFFFF, 0x000000);
    const Box two = Touched();
    EXPECT_EQ(2 * (one.right - one.left + 1), two.right - two.left + 1);
    Fill(pixels, nullptr, green);
    Write(10, 10, "ab", 0, 0xFFFFFF, 0x000000);
    EXPECT_LT(Touched().right, 0);
}

TEST_F(SdlText, ColoursAreReadAsBlueGreenRed) {
    Write(150, 250, "PRESS", 5, 0x0000FF, 0x000000);
    const Box box = Touched();
    EXPECT_GT(Count(box, red), 0);
    EXPECT_EQ(Count(box, Rgb{0, 0, 255}), 0);
}

TEST_F(SdlText, CharactersBeyondAsciiShowAsQuestionMarks) {
    Write(10, 10, "\xE9\x01", 2, 0xFFFFFF, 0x000000);
    SDL_Surface* odd = SDL_DuplicateSurface(pixels);
    Fill(pixels, nullptr, green);
    Write(10, 10, "??", 2, 0xFFFFFF, 0x000000);
    bool same = true;
    for (int y = 0; y < 40 && same; ++y) {
        for (int x = 0; x < 60 && same; ++x) {
            same = PixelAt(odd, x, y) == PixelAt(pixels, x, y);
        }
    }
    SDL_FreeSurface(odd);
    EXPECT_TRUE(same);
}

TEST_F(SdlText, ManyColoursInTurnEachComeOutRight) {
    // More colour pairs than the glyph cache holds: evicted ones are drawn afresh.
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 20; ++i) {
            const Rgb colour{10 * i + 5, 255 - 10 * i, 40};
            const uint32_t colourRef = static_cast<uint32_t>(colour.r | colour.g << 8 | colour.b << 16);
            Fill(pixels, nullptr, green);
            Write(300, 300, "HH", 2, colourRef, 0x000000);
            EXPECT_GT(Count(Box{300, 300, 340, 320}, colour), 0) << "colour " << i << " in round " << round;
        }
    }
}

TEST_F(SdlText, TextIsClippedAtTheSurfaceEdges) {
    Write(790, 590, "Score: 123", 10, 0xFFFFFF, 0x000000);
    Write(-20, -5, "Level: 7", 8, 0xFFFFFF, 0x000000);
    const Box box = Touched();
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, 799);
    EXPECT_EQ(box.bottom, 599);
}

}  // namespace
