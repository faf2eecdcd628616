// The picture on screens of other shapes: centred with its shape kept and black around it, exact
// blocks at a whole factor, sharp edges between whole factors, and a change redrawn in place.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/memory/memory_display.h"
#include "platform/memory/scale.h"

namespace {

constexpr uint32_t black = 0x000000, white = 0xFFFFFF, unwritten = 0x5A5A5A;

PictureLayout layout;  // too large for the stack
Rect written;          // what the last drawing wrote

struct Screen {
    int32_t width, height;
};
const Screen screens[] = {{1680, 1050}, {1920, 1200}, {1280, 1024}, {768, 1024},
                          {1024, 768},  {1600, 1200}, {1920, 1080}, {800, 600}};

// Every pixel its own colour from its position, so that any misplaced pixel shows.
std::vector<uint32_t> Pattern() {
    std::vector<uint32_t> picture(pictureWidth * pictureHeight);
    for (int32_t y = 0; y < pictureHeight; ++y) {
        for (int32_t x = 0; x < pictureWidth; ++x) {
            picture[y * pictureWidth + x] =
                static_cast<uint32_t>((x * 7) & 255) << 16 | ((y * 5) & 255) << 8 | ((x + 3 * y) & 255);
        }
    }
    return picture;
}

// Lays the picture out on the screen and draws all of it, the borders included.
std::vector<uint32_t> Show(const Screen& screen, const std::vector<uint32_t>& picture,
                           ScreenOrder order = ScreenOrder::Xrgb) {
    std::vector<uint32_t> pixels(static_cast<size_t>(screen.width) * screen.height, unwritten);
    LayOutPicture(screen.width, screen.height, &layout);
    FillBorders(layout, pixels.data(), screen.width, order);
    ScalePicture(picture.data(), Rect{0, 0, pictureWidth, pictureHeight}, layout, pixels.data(), screen.width, order,
                 &written);
    return pixels;
}

// At a whole factor every picture pixel is an exact block; otherwise the corners of the picture
// reach the corners of its area (unblended unless shrunk).
TEST(PictureOnScreen, StandsCentredWithItsShapeKeptAndBlackAround) {
    const std::vector<uint32_t> picture = Pattern();
    for (const Screen& screen : screens) {
        const std::vector<uint32_t> pixels = Show(screen, picture);
        const Rect area = layout.area;
        const int32_t width = area.right - area.left, height = area.bottom - area.top;
        SCOPED_TRACE(testing::Message() << screen.width << " x " << screen.height);
        EXPECT_TRUE(width == screen.width || height == screen.height) << "as large as fits";
        EXPECT_LE(std::abs(width * pictureHeight - height * pictureWidth), pictureWidth) << width << " x " << height;
        EXPECT_LE(std::abs(area.left - (screen.width - area.right)), 1);
        EXPECT_LE(std::abs(area.top - (screen.height - area.bottom)), 1);
        EXPECT_EQ(std::memcmp(&written, &area, sizeof area), 0) << "the whole picture, and nothing beside it";
        EXPECT_TRUE(layout.factor > 0 || width % pictureWidth != 0) << "a whole factor drawn as any other";
        int32_t wrong = 0;
        for (int32_t y = 0; y < screen.height; ++y) {
            for (int32_t x = 0; x < screen.width; ++x) {
                const uint32_t pixel = pixels[y * screen.width + x];
                const int32_t px = x - area.left, py = y - area.top;
                if (px < 0 || py < 0 || x >= area.right || y >= area.bottom)
                    wrong += pixel != black ? 1 : 0;
                else if (layout.factor > 0)
                    wrong += pixel != picture[py / layout.factor * pictureWidth + px / layout.factor] ? 1 : 0;
                else
                    wrong += pixel == unwritten ? 1 : 0;
            }
        }
        EXPECT_EQ(wrong, 0) << "pixels lit around the picture, misplaced in a block, or never written";
        if (width >= pictureWidth) {
            EXPECT_EQ(pixels[area.top * screen.width + area.left], picture[0]);
            EXPECT_EQ(pixels[(area.bottom - 1) * screen.width + area.right - 1], picture.back());
        }
    }
}

// Stripes two picture pixels wide, across or down: every stripe shows in its own colour, and the
// step from one to the next spans at most one blended screen pixel, on every screen at least as
// large as the picture.
TEST(PictureOnScreen, EdgesStaySharpBetweenWholeFactors) {
    for (const bool across : {true, false}) {
        std::vector<uint32_t> picture(pictureWidth * pictureHeight);
        for (int32_t y = 0; y < pictureHeight; ++y) {
            for (int32_t x = 0; x < pictureWidth; ++x) {
                picture[y * pictureWidth + x] = ((across ? x : y) / 2) % 2 == 0 ? black : white;
            }
        }
        for (const Screen& screen : screens) {
            if (screen.width < pictureWidth || screen.height < pictureHeight) {
                continue;  // shrunk: no pixel can stay whole
            }
            SCOPED_TRACE(testing::Message()
                         << screen.width << " x " << screen.height << (across ? " across" : " down"));
            const std::vector<uint32_t> pixels = Show(screen, picture);
            const Rect area = layout.area;
            const int32_t length = across ? area.right - area.left : area.bottom - area.top;
            int32_t stripes = 0, blendedInARow = 0, worst = 0;
            uint32_t last = unwritten;
            for (int32_t i = 0; i < length; ++i) {
                const uint32_t pixel = across ? pixels[area.top * screen.width + area.left + i]
                                              : pixels[(area.top + i) * screen.width + area.left];
                const bool flat = pixel == black || pixel == white;
                blendedInARow = flat ? 0 : blendedInARow + 1;
                worst = blendedInARow > worst ? blendedInARow : worst;
                stripes += flat && pixel != last ? 1 : 0;
                last = flat ? pixel : last;
            }
            EXPECT_LE(worst, 1) << "blended screen pixels in a row";
            EXPECT_EQ(stripes, (across ? pictureWidth : pictureHeight) / 2);
        }
    }
}

// A change redrawn alone leaves the screen as a whole redraw of the new picture would, blends with
// its neighbours included, and writes little beyond its own place.
TEST(PictureOnScreen, AChangeIsRedrawnInPlaceWithItsBlendedEdges) {
    for (const Screen& screen : {Screen{1024, 768}, Screen{1600, 1200}, Screen{1680, 1050}}) {
        SCOPED_TRACE(testing::Message() << screen.width << " x " << screen.height);
        std::vector<uint32_t> picture = Pattern();
        std::vector<uint32_t> pixels = Show(screen, picture);
        const Rect changed{391, 205, 409, 219};
        for (int32_t y = changed.top; y < changed.bottom; ++y) {
            for (int32_t x = changed.left; x < changed.right; ++x) {
                picture[y * pictureWidth + x] ^= 0xFFFFFF;
            }
        }
        ScalePicture(picture.data(), changed, layout, pixels.data(), screen.width, ScreenOrder::Xrgb, &written);
        const std::vector<uint32_t> whole = Show(screen, picture);
        EXPECT_TRUE(pixels == whole);
        ScalePicture(picture.data(), changed, layout, pixels.data(), screen.width, ScreenOrder::Xrgb, &written);
        const double scale = static_cast<double>(layout.area.right - layout.area.left) / pictureWidth;
        EXPECT_LE(written.right - written.left, (changed.right - changed.left) * scale + 3);
        EXPECT_LE(written.bottom - written.top, (changed.bottom - changed.top) * scale + 3);
    }
}

// The browser's canvas takes red, green, blue and alpha bytes in that order, alpha full.
TEST(PictureOnScreen, RgbaOrderPutsRedFirstAndBlackOpaque) {
    const std::vector<uint32_t> picture(pictureWidth * pictureHeight, 0x112233);
    const std::vector<uint32_t> pixels = Show(Screen{1920, 1080}, picture, ScreenOrder::Rgba);
    const unsigned char* inside = reinterpret_cast<const unsigned char*>(&pixels[540 * 1920 + 960]);
    const unsigned char* border = reinterpret_cast<const unsigned char*>(&pixels[0]);
    EXPECT_EQ(std::vector<int>(inside, inside + 4), (std::vector<int>{0x11, 0x22, 0x33, 0xFF}));
    EXPECT_EQ(std::vector<int>(border, border + 4), (std::vector<int>{0, 0, 0, 0xFF}));
}

}  // namespace
