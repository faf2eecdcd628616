// The desktop's application icon at each size it is installed in. The 32-pixel one is the window
// icon itself; the others are drawn afresh at their own size from the same shapes, so that every
// size is sharp: outlines and the eye keep at least a pixel, nothing is scaled from another size.
#include <algorithm>
#include <cmath>

#include "tools/artwork.h"

namespace {

// The shapes are laid out on the window icon's 32-unit grid; a size of N pixels puts N / 32
// pixels on a unit. Colours are those of the window icon, for a family likeness.
constexpr double units = 32.0;
constexpr Rgb navy = {18, 24, 44}, gridLine = {34, 42, 70}, brass = {214, 160, 58}, brassLit = {255, 222, 130},
              brassShade = {120, 76, 22}, outline = {6, 38, 20}, scaleDark = {30, 108, 46}, green = {58, 166, 66},
              greenLit = {122, 214, 86}, belly = {198, 242, 130}, eyeYellow = {255, 214, 40}, pupil = {0, 0, 0},
              glint = {255, 255, 255}, tongue = {240, 40, 60};

// The neck curves up from the bottom edge into a head looking right (as in the window icon).
bool InNeck(double x, double y) {
    const double dx = x - 29.0, dy = y - 32.0;
    const double r = std::sqrt(dx * dx + dy * dy);
    return std::fabs(r - 17.0) <= 4.6 && x < 21.0 && y > 11.0;
}

bool InHead(double x, double y) {
    const double along = (x - 16.0) / 9.5;
    if (along > 1.0 || along < -1.0)
        return false;
    const double ry = 6.0 * (along > 0 ? 1.0 - 0.45 * along * along : 1.0);
    const double dy = (y - 11.5) / ry;
    return along * along * (along < 0 ? 1.0 : 0.35) + dy * dy <= 1.0;
}

bool InSnake(double x, double y) {
    return InHead(x, y) || InNeck(x, y);
}

double DistanceToSegment(double x, double y, double x0, double y0, double x1, double y1) {
    const double vx = x1 - x0, vy = y1 - y0;
    const double t = std::clamp(((x - x0) * vx + (y - y0) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
    return std::hypot(x - x0 - t * vx, y - y0 - t * vy);
}

// The forked tongue, from the corner of the mouth out past the snout.
bool InTongue(double x, double y, double halfWidth) {
    return DistanceToSegment(x, y, 25.0, 12.5, 27.6, 12.5) <= halfWidth ||
           DistanceToSegment(x, y, 27.6, 12.5, 29.6, 10.4) <= halfWidth ||
           DistanceToSegment(x, y, 27.6, 12.5, 29.6, 14.6) <= halfWidth;
}

struct Sample {
    bool covered;
    Rgb colour;
};

// The tile at a point of the icon, in units; pixel is the size of one pixel in units, so that
// lines are kept at least a pixel wide.
Sample TileAt(double x, double y, double pixel) {
    // The tile: a rounded square with a brass rim lit from the top left, a faint grid inside.
    const double radius = 4.6;
    const double cx = std::clamp(x, radius, units - radius), cy = std::clamp(y, radius, units - radius);
    const double inside = radius - std::hypot(x - cx, y - cy);  // distance in from the tile's edge
    if (inside < 0)
        return {false, {0, 0, 0}};
    const double line = std::max(pixel, 1.0);
    Rgb colour = navy;
    if (inside < std::max(pixel, 1.4)) {
        const double diagonal = x + y - units;
        colour = diagonal < -8.0 ? brassLit : (diagonal > 8.0 ? brassShade : brass);
    } else if (std::fmod(x - 3.0 + 8.0, 8.0) < line || std::fmod(y - 3.0 + 8.0, 8.0) < line) {
        colour = gridLine;
    }
    return {true, colour};
}

// What lies at a point of the icon: the snake over the tile.
Sample At(double x, double y, double pixel) {
    const Sample tile = TileAt(x, y, pixel);
    if (!tile.covered)
        return tile;
    Rgb colour = tile.colour;
    const double tongueHalf = std::max(pixel, 0.9) / 2;
    if (InTongue(x, y, tongueHalf) && !InHead(x, y))
        return {true, tongue};
    if (!InSnake(x, y))
        return {true, colour};

    // Outlined shape: a point within an outline's width of the outside is outline.
    const double edge = std::max(pixel, 0.9);
    for (int k = 0; k < 8; ++k) {
        const double angle = k * 0.785398163;
        if (!InSnake(x + edge * std::cos(angle), y + edge * std::sin(angle)))
            return {true, outline};
    }
    // The mouth's line and the nostril.
    if (DistanceToSegment(x, y, 18.5, 13.5, 25.0, 13.0) <= std::max(pixel, 0.9) / 2 && x > 18.0)
        return {true, outline};
    if (std::hypot(x - 23.5, y - 9.5) <= std::max(pixel * 0.71, 0.6))
        return {true, outline};
    // The eye: a dark ring, a yellow iris, a slit pupil and a glint.
    const double ex = (x - 19.0) / 3.0, ey = (y - 9.0) / 2.2;
    if (ex * ex + ey * ey <= 1.0) {
        const double ring = std::max(pixel, 0.8);
        const double ix = (x - 19.0) / (3.0 - ring), iy = (y - 9.0) / (2.2 - ring);
        if (ix * ix + iy * iy > 1.0)
            return {true, outline};
        if (std::hypot(x - 19.9, y - 8.4) <= std::max(pixel * 0.6, 0.55))
            return {true, glint};
        if (std::fabs(x - 18.6) <= std::max(pixel, 0.9) / 2)
            return {true, pupil};
        return {true, eyeYellow};
    }
    if (InHead(x, y)) {
        // Lit crown, green flanks, pale jaw.
        colour = y < 9.0 ? greenLit : (y < 12.5 ? green : belly);
        if (y < 7.5 && x < 22.0)
            colour = belly;
        return {true, colour};
    }
    const double dx = x - 29.0, dy = y - 32.0;
    const double across = std::sqrt(dx * dx + dy * dy) - 17.0;  // negative on the belly side
    colour = across < -2.0 ? belly : (across > 2.2 ? greenLit : green);
    // Dark diamonds along the back.
    const double along = std::atan2(dy, dx) * 17.0;
    const double phase = std::fmod(along + 100.0, 6.0) - 3.0;
    if (std::fabs(phase) + std::fabs(across - 0.8) * 1.3 < 2.2)
        colour = scaleDark;
    return {true, colour};
}

// At 16 and 24 pixels a shape that is traced from the outlines loses the eye and the tongue in
// the rounding, so these two are pixelled by hand over the tile; '.' shows the tile.
constexpr PaletteKey snakeKeys[] = {
    {'K', outline},   {'D', scaleDark}, {'G', green}, {'L', greenLit}, {'P', belly},
    {'E', eyeYellow}, {'X', pupil},     {'W', glint}, {'R', tongue},
};
constexpr int snakeKeyCount = sizeof snakeKeys / sizeof snakeKeys[0];

// clang-format off
const char* const snake16[] = {
    "................",
    "................",
    "....KKKK........",
    "...KLLLLKK......",
    "..KLLKKKLLK.....",
    "..KGKEXEKGGK....",
    "..KGGKKKGGGGK.R.",
    "..KGGGGKKKKKKR..",
    "..KPPPPPPPPK..R.",
    "...KPPPPPPK.....",
    "....KLGDPK......",
    "....KLDGPK......",
    "...KLGDPK.......",
    "...KLGGPK.......",
    "...KLDGPK.......",
    "..KLGDPK........",
};

const char* const snake24[] = {
    "........................",
    "........................",
    "........................",
    ".......KKKKKK...........",
    ".....KKLLLLLLKK.........",
    "....KLLLLLLLKKKLK.......",
    "...KLLLLLLLKEXWKLK......",
    "...KGGGGGGGKEXEKGGK...R.",
    "...KGGGGGGGGKKKGGGK..R..",
    "...KGGGGGGGKKKKKKKKRR...",
    "...KPPPPPPPPPPPPKK...R..",
    "....KPPPPPPPPPPK......R.",
    ".....KPPPPPPPPK.........",
    "......KKLGDGPK..........",
    ".......KLDDGPK..........",
    ".......KLGGDPK..........",
    "......KLGDDPK...........",
    "......KLGGDPK...........",
    "......KLDGGPK...........",
    ".....KLDDGPK............",
    ".....KLGGDPK............",
    ".....KLGDDPK............",
    "....KLDGGPK.............",
    "....KLGGDPK.............",
};
// clang-format on

RgbaImage HandPixelled(int size, const char* const* rows) {
    const double pixel = units / size;
    Image picture = MakeImage(size, size, {0, 0, 0});
    RgbaImage image{size, size, {}, {}};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const Sample s = TileAt((x + 0.5) * pixel, (y + 0.5) * pixel, pixel);
            SetPixel(picture, x, y, s.colour);
            image.alpha.push_back(s.covered ? 255 : 0);
        }
    DrawMap(picture, 0, 0, rows, size, snakeKeys, snakeKeyCount);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (rows[y][x] != '.')
                image.alpha[static_cast<std::size_t>(y) * size + x] = 255;
    image.pixels = picture.pixels;
    return image;
}

}  // namespace

RgbaImage DrawAppIcon(int size) {
    RgbaImage image{size, size, {}, {}};
    if (size == iconSize) {
        const IndexedImage icon = DrawIcon();
        image.pixels = ToRgb(icon, {0, 0, 0}).pixels;
        for (const std::uint8_t through : icon.transparent)
            image.alpha.push_back(through ? 0 : 255);
        return image;
    }
    if (size == 16)
        return HandPixelled(size, snake16);
    if (size == 24)
        return HandPixelled(size, snake24);
    // Small sizes take each pixel's centre, which keeps them hard-edged like the window icon; large
    // ones average a grid of samples, which smooths the curves.
    const int grid = size < 48 ? 1 : 4;
    const double pixel = units / size;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int covered = 0, r = 0, g = 0, b = 0;
            for (int j = 0; j < grid; ++j)
                for (int i = 0; i < grid; ++i) {
                    const Sample s = At((x + (i + 0.5) / grid) * pixel, (y + (j + 0.5) / grid) * pixel, pixel);
                    if (!s.covered)
                        continue;
                    ++covered;
                    r += s.colour.r;
                    g += s.colour.g;
                    b += s.colour.b;
                }
            const int n = std::max(covered, 1);
            image.pixels.push_back(
                {static_cast<std::uint8_t>(r / n), static_cast<std::uint8_t>(g / n), static_cast<std::uint8_t>(b / n)});
            image.alpha.push_back(static_cast<std::uint8_t>(covered * 255 / (grid * grid)));
        }
    return image;
}
