// The sprite atlas: four snake heads, the body, the seven bonus items and the seven wall kinds, each
// an opaque 16 x 16 square, since the game copies sprites without a transparent colour.
#include <cmath>
#include <cstdlib>

#include "tools/artwork.h"

namespace {

// The snake.
constexpr Rgb scaleOutline{6, 38, 20};
constexpr Rgb scaleDark{30, 108, 46};
constexpr Rgb scaleMid{58, 166, 66};
constexpr Rgb scaleLight{122, 214, 86};
constexpr Rgb scalePale{198, 242, 130};

constexpr Rgb backMark{150, 200, 70};
constexpr Rgb backMarkLight{210, 236, 110};

// Segments fill their cell but for clipped corners, so a run of them reads as one banded body.
bool InsideSegment(int x, int y) {
    if (x < 0 || y < 0 || x > 15 || y > 15)
        return false;
    const int dx = x < 2 ? 2 - x : (x > 13 ? x - 13 : 0);
    const int dy = y < 2 ? 2 - y : (y > 13 ? y - 13 : 0);
    return dx * dx + dy * dy <= 4;
}

// A rounded segment lit from the top left, with the diamond mark of the snake's back in the middle;
// the diamond looks the same whichever way the body runs, so one sprite serves every bend.
void DrawBody(Image& atlas, int x0, int y0) {
    DrawPlainCell(atlas, x0, y0);
    for (int y = 0; y < cellSize; ++y)
        for (int x = 0; x < cellSize; ++x) {
            if (!InsideSegment(x, y))
                continue;
            const bool edge = x == 0 || y == 0 || x == 15 || y == 15 || !InsideSegment(x - 1, y) ||
                              !InsideSegment(x + 1, y) || !InsideSegment(x, y - 1) || !InsideSegment(x, y + 1);
            Rgb c = scaleMid;
            const int light = (x + y) - 15;  // negative towards the light
            if (light < -9)
                c = scaleLight;
            else if (light > 7)
                c = scaleDark;
            // Small scales: a lighter fleck at every other lattice point.
            if ((x + y) % 4 == 0 && (x - y + 16) % 4 == 0 && c == scaleMid)
                c = Mix(scaleMid, scaleLight, 150);
            if ((x + y) % 4 == 2 && (x - y + 16) % 4 == 2 && c == scaleMid)
                c = Mix(scaleMid, scaleDark, 150);
            const int d = std::abs(2 * x - 15) + std::abs(2 * y - 15);  // twice the distance from the centre
            if (d <= 3)
                c = backMarkLight;
            else if (d <= 7)
                c = backMark;
            else if (d <= 9)
                c = scaleDark;
            if (edge)
                c = scaleOutline;
            SetPixel(atlas, x0 + x, y0 + y, c);
        }
}

// Heading up; the other three headings are this square turned.
// clang-format off
constexpr const char* headUp[] = {
    "......R.",
    ".......R",
    ".....KKr",
    "...KKLPP",
    "..KLLNLP",
    ".KLLLLLP",
    "KKKKKLLL",
    "KEXWKLGL",
    "KEXEKGGL",
    "KeXeKGGG",
    "KKKKGGDG",
    "KGGGGDMD",
    "KDGGDMBM",
    ".KDGGDMD",
    ".KDDGGDG",
    ".KKDDGGG",
};
// clang-format on

void DrawHead(Image& atlas, int x0, int quarterTurns) {
    constexpr PaletteKey keys[] = {
        {'K', scaleOutline}, {'L', scaleLight},      {'P', scalePale},     {'G', scaleMid},       {'N', {8, 52, 26}},
        {'D', scaleDark},    {'M', backMark},        {'B', backMarkLight}, {'E', {255, 214, 40}}, {'e', {214, 128, 14}},
        {'X', {0, 0, 0}},    {'W', {255, 255, 255}}, {'R', {240, 40, 60}}, {'r', {150, 16, 38}}};
    // Only the head turns; the floor under it keeps its light from the top left like every other cell.
    constexpr Rgb unpainted{1, 2, 3};
    Image head = MakeImage(cellSize, cellSize, unpainted);
    DrawMirroredMap(head, 0, 0, headUp, 16, keys, sizeof keys / sizeof keys[0]);
    RotateBlockClockwise(head, 0, 0, cellSize, quarterTurns);
    DrawPlainCell(atlas, x0, 0);
    for (int y = 0; y < cellSize; ++y)
        for (int x = 0; x < cellSize; ++x)
            if (!(GetPixel(head, x, y) == unpainted))
                SetPixel(atlas, x0 + x, y, GetPixel(head, x, y));
}

// Round fruit and trinkets: filled from an inside test, outlined where the shape ends, and lit
// from the top left in three bands.
struct Ramp {
    Rgb outline;
    Rgb dark;
    Rgb mid;
    Rgb light;
};

template <typename Inside>
void ShadeBlob(Image& atlas, int x0, Inside inside, const Ramp& ramp, double cx, double cy, double radius) {
    for (int y = 0; y < cellSize; ++y)
        for (int x = 0; x < cellSize; ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            if (!inside(px, py))
                continue;
            const bool edge = !inside(px - 1, py) || !inside(px + 1, py) || !inside(px, py - 1) || !inside(px, py + 1);
            Rgb c = ramp.outline;
            if (!edge) {
                const double toLight = ((cx - px) * 0.6 + (cy - py) * 0.8) / radius;
                c = toLight > 0.3 ? ramp.light : (toLight > -0.35 ? ramp.mid : ramp.dark);
            }
            SetPixel(atlas, x0 + x, y, c);
        }
}

bool InCircle(double px, double py, double cx, double cy, double r) {
    return (px - cx) * (px - cx) + (py - cy) * (py - cy) <= r * r;
}

void Dot(Image& atlas, int x0, int x, int y, Rgb c) {
    SetPixel(atlas, x0 + x, y, c);
}

constexpr Rgb white{255, 255, 255};

void DrawApple(Image& atlas, int x0) {
    const Ramp red{{96, 6, 20}, {168, 18, 30}, {226, 38, 44}, {255, 110, 96}};
    ShadeBlob(
        atlas, x0,
        [](double px, double py) {
            if (py > 15.0 || (py < 6.0 && px > 6.8 && px < 9.2))
                return false;
            return InCircle(px, py, 5.9, 9.6, 5.2) || InCircle(px, py, 10.1, 9.6, 5.2);
        },
        red, 8, 9.6, 6);
    // clang-format off
  constexpr const char* stemAndLeaf[] = {
      "..........LL....",
      "........nLLl....",
      ".......n.ll.....",
      ".......n........",
      ".......n........",
  };
    // clang-format on
    constexpr PaletteKey keys[] = {{'n', {104, 62, 26}}, {'l', {38, 140, 46}}, {'L', {130, 222, 90}}};
    DrawMap(atlas, x0, 1, stemAndLeaf, 5, keys, 3);
    Dot(atlas, x0, 4, 7, white);
    Dot(atlas, x0, 4, 8, {255, 200, 190});
    Dot(atlas, x0, 5, 7, {255, 200, 190});
}

void DrawCherries(Image& atlas, int x0) {
    const Ramp pink{{100, 0, 40}, {176, 10, 72}, {236, 40, 120}, {255, 130, 180}};
    ShadeBlob(
        atlas, x0, [](double px, double py) { return InCircle(px, py, 4.6, 11.4, 3.6); }, pink, 4.6, 11.4, 3.6);
    ShadeBlob(
        atlas, x0, [](double px, double py) { return InCircle(px, py, 11.2, 12.0, 3.6); }, pink, 11.2, 12.0, 3.6);
    // clang-format off
  constexpr const char* stems[] = {
      "..........lLL...",
      ".........sLl....",
      "........ss......",
      ".......s.s......",
      "......s...s.....",
      ".....s....s.....",
      ".....s.....s....",
  };
    // clang-format on
    constexpr PaletteKey keys[] = {{'s', {70, 150, 40}}, {'l', {38, 140, 46}}, {'L', {130, 222, 90}}};
    DrawMap(atlas, x0, 1, stems, 7, keys, 3);
    Dot(atlas, x0, 3, 10, white);
    Dot(atlas, x0, 10, 11, white);
}

void DrawGem(Image& atlas, int x0) {
    // clang-format off
  constexpr const char* half[] = {
      "........",
      "........",
      "...ooooo",
      "..oWLLlL",
      ".oWLLlLL",
      "oLLLlLLl",
      "ommmmmmm",
      ".omLmmdm",
      "..omLmdd",
      "...omLdd",
      "....omdd",
      ".....omd",
      "......od",
      ".......o",
      "........",
      "........",
  };
    // clang-format on
    constexpr PaletteKey keys[] = {{'o', {10, 60, 96}},   {'W', white},          {'L', {150, 240, 255}},
                                   {'l', {80, 200, 240}}, {'m', {30, 160, 220}}, {'d', {16, 100, 170}}};
    DrawMirroredMap(atlas, x0, 0, half, 16, keys, 6);
}

void DrawCoin(Image& atlas, int x0) {
    const Ramp gold{{110, 60, 0}, {196, 124, 12}, {246, 188, 30}, {255, 236, 120}};
    ShadeBlob(
        atlas, x0, [](double px, double py) { return InCircle(px, py, 8, 8, 6.8); }, gold, 8, 8, 6.8);
    // The embossed rim and a snake's coil struck in the middle.
    for (int y = 0; y < cellSize; ++y)
        for (int x = 0; x < cellSize; ++x) {
            const double d = std::hypot(x + 0.5 - 8, y + 0.5 - 8);
            if (d > 4.3 && d < 5.2)
                SetPixel(atlas, x0 + x, y, (x + y < 16) ? Rgb{196, 124, 12} : Rgb{255, 236, 120});
        }
    // clang-format off
  constexpr const char* mark[] = {
      ".ddd.",
      "d....",
      ".dd..",
      "...d.",
      "ddd..",
  };
    // clang-format on
    constexpr PaletteKey keys[] = {{'d', {160, 96, 8}}};
    DrawMap(atlas, x0 + 6, 6, mark, 5, keys, 1);
    Dot(atlas, x0, 4, 3, white);
    Dot(atlas, x0, 3, 4, white);
}

void DrawEgg(Image& atlas, int x0) {
    const Ramp cream{{96, 80, 60}, {196, 176, 150}, {240, 232, 212}, {255, 255, 246}};
    ShadeBlob(
        atlas, x0,
        [](double px, double py) {
            const double dy = (py - 9.0) / 6.2;
            const double rx = 5.0 * (dy < 0 ? 1.0 + 0.25 * dy : 1.0);  // narrower towards the top
            const double dx = (px - 8) / rx;
            return dx * dx + dy * dy <= 1.0;
        },
        cream, 8, 9, 6);
    constexpr Rgb speck{150, 110, 70};
    Dot(atlas, x0, 6, 6, speck);
    Dot(atlas, x0, 10, 8, speck);
    Dot(atlas, x0, 7, 11, speck);
    Dot(atlas, x0, 11, 12, speck);
    Dot(atlas, x0, 5, 10, speck);
    Dot(atlas, x0, 9, 5, speck);
    Dot(atlas, x0, 6, 4, white);
}

void DrawPotion(Image& atlas, int x0) {
    // clang-format off
  constexpr const char* half[] = {
      "........",
      ".....ccc",
      ".....cCC",
      ".....ogg",
      ".....ogG",
      ".....ogg",
      "....oggg",
      "..oogggg",
      ".ogwgggg",
      ".oppPPPP",
      "oppPPPPP",
      "opPPPPPP",
      "opPPPPPP",
      ".oppPPPP",
      "..oopppp",
      "....oooo",
  };
    // clang-format on
    constexpr PaletteKey keys[] = {{'c', {120, 70, 30}},  {'C', {180, 120, 60}},  {'o', {40, 20, 70}},
                                   {'g', {90, 110, 150}}, {'G', {170, 200, 230}}, {'w', white},
                                   {'p', {120, 30, 170}}, {'P', {190, 70, 240}}};
    DrawMirroredMap(atlas, x0, 0, half, 16, keys, 8);
    Dot(atlas, x0, 4, 10, {240, 180, 255});
    Dot(atlas, x0, 5, 11, {240, 180, 255});
    Dot(atlas, x0, 10, 11, {240, 180, 255});
}

void DrawCrown(Image& atlas, int x0) {
    // clang-format off
  constexpr const char* half[] = {
      "........",
      "........",
      "........",
      ".o......",
      "oYo...oo",
      "oyo..oYY",
      "oyyo.oyy",
      "oyyyooyy",
      "oyyyyyyy",
      "oyyyyyyy",
      "oYYYYYYY",
      "oyrRyyBb",
      "oyrryyBB",
      "oYYYYYYY",
      ".ooooooo",
      "........",
  };
    // clang-format on
    constexpr PaletteKey keys[] = {{'o', {100, 50, 0}}, {'Y', {255, 236, 120}}, {'y', {240, 170, 20}},
                                   {'r', {200, 0, 40}}, {'R', {255, 120, 130}}, {'B', {60, 140, 255}},
                                   {'b', {20, 60, 180}}};
    DrawMirroredMap(atlas, x0, 0, half, 16, keys, 7);
}

void DrawItem(Image& atlas, int slot) {
    const int x0 = atlasFirstItemX + cellSize * slot;
    DrawPlainCell(atlas, x0, 0);
    switch (slot) {
    case 0:
        DrawApple(atlas, x0);
        break;
    case 1:
        DrawCherries(atlas, x0);
        break;
    case 2:
        DrawGem(atlas, x0);
        break;
    case 3:
        DrawCoin(atlas, x0);
        break;
    case 4:
        DrawEgg(atlas, x0);
        break;
    case 5:
        DrawPotion(atlas, x0);
        break;
    case 6:
        DrawCrown(atlas, x0);
        break;
    }
}

// Walls. Each kind is drawn so that neighbouring wall cells of the same kind join up.
struct WallColours {
    Rgb base;
    Rgb light;
    Rgb dark;
    Rgb accent;
};

void WallPixel(Image& atlas, int kind, int x, int y, Rgb c) {
    SetPixel(atlas, cellSize * kind + x, cellSize + y, c);
}

// Stone: four rough blocks per cell in offset courses, bevelled, with grit.
void DrawStone(Image& atlas, int kind, const WallColours& c, std::uint32_t seed) {
    for (int y = 0; y < cellSize; ++y)
        for (int x = 0; x < cellSize; ++x) {
            const int course = y / 8;
            const int split = course == 0 ? 9 : 3;
            const int sx = (x - split + cellSize) % cellSize;  // position within the course, counted from a joint
            const int blockWidth = course == 0 ? (sx < 7 ? 7 : 9) : (sx < 8 ? 8 : 8);
            const int bx = course == 0 ? (sx < 7 ? sx : sx - 7) : (sx < 8 ? sx : sx - 8);
            const int by = y % 8;
            const int block = course * 2 + (course == 0 ? (sx < 7 ? 0 : 1) : (sx < 8 ? 0 : 1));
            Rgb p = Add(c.base, static_cast<int>(Hash(block, kind, seed) % 17) - 8);
            if (bx == 0 || by == 0)
                p = c.dark;
            else if (bx == 1 || by == 1)
                p = Mix(p, c.light, 150);
            else if (bx == blockWidth - 1 || by == 7)
                p = Mix(p, c.dark, 110);
            else {
                const std::uint32_t h = Hash(x, y, seed + kind);
                if (h % 7 == 0)
                    p = Add(p, -14);
                else if (h % 11 == 0)
                    p = Add(p, 12);
                else if (h % 29 == 0)
                    p = c.accent;
            }
            WallPixel(atlas, kind, x, y, p);
        }
}

// Brick: 8 x 4 bricks with the courses offset by half a brick.
void DrawBrick(Image& atlas, int kind, const WallColours& c, std::uint32_t seed) {
    for (int y = 0; y < cellSize; ++y)
        for (int x = 0; x < cellSize; ++x) {
            const int course = y / 4;
            const int sx = (x + (course % 2) * 4) % 8;
            const int brick = course * 2 + ((x + (course % 2) * 4) % cellSize) / 8;
            const int by = y % 4;
            Rgb p = Add(c.base, static_cast<int>(Hash(brick, kind, seed) % 25) - 12);
            if (by == 3 || sx == 7)
                p = c.dark;
            else if (by == 0)
                p = Mix(p, c.light, 120);
            else if (by == 2 || sx == 6)
                p = Mix(p, c.dark, 70);
            if (by != 3 && sx != 7 && Hash(x, y, seed) % 13 == 0)
                p = Mix(p, c.accent, 128);
            WallPixel(atlas, kind, x, y, p);
        }
}

// Crystal: a faceted block, four facets meeting in the middle, with a glint.
void DrawCrystal(Image& atlas, int kind, const WallColours& c) {
    for (int y = 0; y < cellSize; ++y)
        for (int x = 0; x < cellSize; ++x) {
            const int dx = 2 * x - 15, dy = 2 * y - 15;
            Rgb p;
            if (-dy >= std::abs(dx))
                p = c.light;  // top facet
            else if (dy >= std::abs(dx))
                p = c.dark;  // bottom facet
            else if (dx < 0)
                p = Mix(c.base, c.light, 90);  // left facet
            else
                p = Mix(c.base, c.dark, 90);  // right facet
            if (std::abs(dx) == std::abs(dy) || (std::abs(dx) == std::abs(dy) + 2 && std::abs(dy) < 3))
                p = Mix(p, c.accent, 150);  // facet ridges
            if (x == 0 || y == 0)
                p = Mix(c.accent, c.dark, 100);
            if (x == cellSize - 1 || y == cellSize - 1)
                p = Mix(c.dark, {0, 0, 0}, 120);
            WallPixel(atlas, kind, x, y, p);
        }
    WallPixel(atlas, kind, 4, 3, {255, 255, 255});
    WallPixel(atlas, kind, 3, 4, c.accent);
    WallPixel(atlas, kind, 5, 4, c.accent);
    WallPixel(atlas, kind, 4, 5, c.accent);
}

// Metal: a riveted plate with a diagonal sheen.
void DrawMetal(Image& atlas, int kind, const WallColours& c) {
    for (int y = 0; y < cellSize; ++y)
        for (int x = 0; x < cellSize; ++x) {
            Rgb p = Mix(c.light, c.base, 100 + y * 10);
            const int diagonal = (x + y) % 16;
            if (diagonal == 5 || diagonal == 6 || diagonal == 9)
                p = Mix(p, c.light, 120);
            if (x == 0 || y == 0)
                p = c.light;
            if (x == cellSize - 1 || y == cellSize - 1)
                p = c.dark;
            if ((x == 1 || y == 1) && x < cellSize - 1 && y < cellSize - 1)
                p = Mix(p, c.light, 80);
            WallPixel(atlas, kind, x, y, p);
        }
    const int rivets[][2] = {{3, 3}, {11, 3}, {3, 11}, {11, 11}};
    for (const auto& r : rivets) {
        WallPixel(atlas, kind, r[0], r[1], c.accent);
        WallPixel(atlas, kind, r[0] + 1, r[1], Mix(c.accent, c.base, 128));
        WallPixel(atlas, kind, r[0], r[1] + 1, Mix(c.accent, c.base, 128));
        WallPixel(atlas, kind, r[0] + 1, r[1] + 1, c.dark);
        WallPixel(atlas, kind, r[0] + 2, r[1] + 1, Mix(c.dark, c.base, 128));
        WallPixel(atlas, kind, r[0] + 1, r[1] + 2, Mix(c.dark, c.base, 128));
    }
}

// Wood: a crate with a frame and a diagonal brace over grained planks.
void DrawWood(Image& atlas, int kind, const WallColours& c, std::uint32_t seed) {
    for (int y = 0; y < cellSize; ++y)
        for (int x = 0; x < cellSize; ++x) {
            Rgb p = c.base;
            if (y % 5 == 0)
                p = Mix(c.base, c.dark, 140);  // plank joints
            else if (Hash(x / 3, y, seed) % 5 == 0)
                p = Mix(c.base, c.dark, 60);  // grain
            const bool frame = x <= 2 || y <= 2 || x >= 13 || y >= 13;
            const bool brace = std::abs(x + y - 15) <= 1;
            if (frame || brace) {
                p = c.light;
                if (Hash(x, y / 3, seed + 1) % 6 == 0)
                    p = Mix(c.light, c.base, 80);
            }
            if (x == 0 || y == 0 || x == cellSize - 1 || y == cellSize - 1)
                p = c.accent;
            if (frame && (x == 3 || y == 3) && x > 2 && y > 2 && x < 13 && y < 13)
                p = c.dark;
            if (!frame && brace && std::abs(x + y - 15) == 1 && x + y > 15)
                p = Mix(c.light, c.dark, 110);
            WallPixel(atlas, kind, x, y, p);
        }
    const int nails[][2] = {{1, 1}, {14, 1}, {1, 14}, {14, 14}};
    for (const auto& n : nails)
        WallPixel(atlas, kind, n[0], n[1], {200, 200, 190});
}

// Ice: a glassy block with a bright rim, streaks and a crack.
void DrawIce(Image& atlas, int kind, const WallColours& c) {
    for (int y = 0; y < cellSize; ++y)
        for (int x = 0; x < cellSize; ++x) {
            Rgb p = Mix(c.base, c.dark, (x + y) * 5);
            const int streak = (x - y + 32) % 16;
            if (streak == 3 || streak == 4 || streak == 11)
                p = Mix(p, c.light, 150);
            if (x == 0 || y == 0)
                p = c.light;
            if (x == cellSize - 1 || y == cellSize - 1)
                p = Mix(c.dark, {0, 0, 0}, 60);
            WallPixel(atlas, kind, x, y, p);
        }
    const int crack[][2] = {{9, 2}, {9, 3}, {10, 4},  {10, 5},  {9, 6}, {8, 7},
                            {8, 8}, {9, 9}, {11, 10}, {12, 10}, {7, 9}, {6, 10}};
    for (const auto& k : crack)
        WallPixel(atlas, kind, k[0], k[1], c.accent);
    WallPixel(atlas, kind, 3, 2, {255, 255, 255});
    WallPixel(atlas, kind, 2, 3, {255, 255, 255});
}

// Lava: a molten glow under a broken crust, from noise that wraps at the cell edges.
void DrawLava(Image& atlas, int kind, const WallColours& c, std::uint32_t seed) {
    auto lattice = [&](int i, int j) { return static_cast<double>(Hash(i & 3, j & 3, seed) % 1000) / 1000.0; };
    for (int y = 0; y < cellSize; ++y)
        for (int x = 0; x < cellSize; ++x) {
            const double fx = x / 4.0, fy = y / 4.0;
            const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
            const double tx = fx - ix, ty = fy - iy;
            const double sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
            const double top = lattice(ix, iy) + (lattice(ix + 1, iy) - lattice(ix, iy)) * sx;
            const double bottom = lattice(ix, iy + 1) + (lattice(ix + 1, iy + 1) - lattice(ix, iy + 1)) * sx;
            const double v = top + (bottom - top) * sy;
            Rgb p;
            if (v < 0.30)
                p = c.dark;
            else if (v < 0.42)
                p = c.base;
            else if (v < 0.52)
                p = Mix(c.base, c.light, 110);
            else if (v < 0.68)
                p = c.light;
            else
                p = c.accent;
            WallPixel(atlas, kind, x, y, p);
        }
}

void DrawWall(Image& atlas, int kind) {
    switch (kind) {
    case 1:
        DrawStone(atlas, kind, {{118, 118, 126}, {184, 184, 192}, {44, 44, 54}, {150, 146, 140}}, 11);
        break;
    case 2:
        DrawBrick(atlas, kind, {{170, 66, 42}, {220, 120, 86}, {62, 40, 36}, {110, 40, 30}}, 12);
        break;
    case 3:
        DrawCrystal(atlas, kind, {{120, 80, 220}, {200, 170, 255}, {60, 30, 140}, {230, 250, 255}});
        break;
    case 4:
        DrawMetal(atlas, kind, {{110, 124, 146}, {200, 212, 228}, {40, 46, 62}, {236, 240, 248}});
        break;
    case 5:
        DrawWood(atlas, kind, {{132, 82, 40}, {178, 118, 60}, {82, 48, 22}, {58, 32, 14}}, 15);
        break;
    case 6:
        DrawIce(atlas, kind, {{150, 214, 244}, {236, 250, 255}, {70, 140, 200}, {60, 110, 170}});
        break;
    case 7:
        DrawLava(atlas, kind, {{200, 40, 10}, {255, 140, 20}, {70, 18, 10}, {255, 236, 110}}, 17);
        break;
    }
}

}  // namespace

Image DrawAtlas() {
    Image atlas = MakeImage(atlasWidth, atlasHeight, SpriteGround());
    DrawHead(atlas, atlasHeadX[0], 0);
    DrawHead(atlas, atlasHeadX[1], 1);
    DrawHead(atlas, atlasHeadX[2], 2);
    DrawHead(atlas, atlasHeadX[3], 3);
    DrawBody(atlas, atlasBodyX, 0);
    for (int slot = 0; slot < atlasItemsDrawn; ++slot)
        DrawItem(atlas, slot);
    for (int kind = 1; kind <= atlasWallKindsDrawn; ++kind)
        DrawWall(atlas, kind);
    return atlas;
}
