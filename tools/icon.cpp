// The 32 x 32, 16-colour window icon: a snake's head rising out of a brass-rimmed tile.
#include <cmath>

#include "tools/artwork.h"

namespace {

// The sixteen colours; index 0 is also the colour of the see-through corners.
constexpr PaletteKey iconKeys[] = {
    {' ', {0, 0, 0}},       {'n', {18, 24, 44}},    {'N', {34, 42, 70}},   {'b', {214, 160, 58}},
    {'B', {255, 222, 130}}, {'K', {6, 38, 20}},     {'D', {30, 108, 46}},  {'G', {58, 166, 66}},
    {'L', {122, 214, 86}},  {'P', {198, 242, 130}}, {'E', {255, 214, 40}}, {'X', {0, 0, 0}},
    {'W', {255, 255, 255}}, {'R', {240, 40, 60}},   {'r', {150, 16, 38}},  {'o', {120, 76, 22}},
};
constexpr int iconKeyCount = 16;

// The snake seen from the side: a neck curving up from the bottom edge into a head that looks
// right, with a slit-pupilled eye and the forked tongue out. Shapes are tested at pixel centres.
constexpr double neckCentreX = 29.0;
constexpr double neckCentreY = 32.0;
constexpr double neckRadius = 17.0;
constexpr double neckHalfWidth = 4.6;

bool InNeck(double px, double py) {
    const double dx = px - neckCentreX, dy = py - neckCentreY;
    const double r = std::sqrt(dx * dx + dy * dy);
    return std::fabs(r - neckRadius) <= neckHalfWidth && px < neckCentreX - 8.0 && py > 11.0;
}

bool InHead(double px, double py) {
    const double cx = 16.0, cy = 11.5;
    const double along = (px - cx) / 9.5;
    if (along > 1.0 || along < -1.0)
        return false;
    const double ry = 6.0 * (along > 0 ? 1.0 - 0.45 * along * along : 1.0);
    const double dy = (py - cy) / ry;
    return along * along * (along < 0 ? 1.0 : 0.35) + dy * dy <= 1.0;
}

bool InSnake(double px, double py) {
    return InHead(px, py) || InNeck(px, py);
}

// Fine details on top of the shaded shape: eye, brow, nostril, mouth and tongue.
struct IconDot {
    int x;
    int y;
    char key;
};
constexpr IconDot iconDetails[] = {
    {17, 7, 'K'},  {18, 7, 'K'},  {19, 7, 'K'},  {20, 7, 'K'},  {16, 8, 'K'},  {17, 8, 'E'},  {18, 8, 'X'},
    {19, 8, 'W'},  {20, 8, 'E'},  {21, 8, 'K'},  {16, 9, 'K'},  {17, 9, 'E'},  {18, 9, 'X'},  {19, 9, 'E'},
    {20, 9, 'E'},  {21, 9, 'K'},  {17, 10, 'K'}, {18, 10, 'X'}, {19, 10, 'K'}, {20, 10, 'K'}, {23, 9, 'K'},
    {18, 13, 'K'}, {19, 13, 'K'}, {20, 13, 'K'}, {21, 13, 'K'}, {22, 13, 'K'}, {23, 13, 'K'}, {24, 13, 'K'},
    {25, 12, 'r'}, {26, 12, 'R'}, {27, 12, 'R'}, {28, 11, 'R'}, {29, 10, 'R'}, {28, 13, 'R'}, {29, 14, 'R'},
};

int KeyIndex(char key) {
    for (int k = 0; k < iconKeyCount; ++k)
        if (iconKeys[k].key == key)
            return k;
    return -1;
}

}  // namespace

IndexedImage DrawIcon() {
    IndexedImage icon{iconSize, iconSize, {}, {}, {}};
    for (int k = 0; k < iconKeyCount; ++k)
        icon.palette[k] = iconKeys[k].colour;
    icon.index.assign(iconSize * iconSize, 0);
    icon.transparent.assign(iconSize * iconSize, 0);
    auto set = [&](int x, int y, char key) {
        icon.index[static_cast<std::size_t>(y) * iconSize + x] = static_cast<std::uint8_t>(KeyIndex(key));
    };
    // The tile: rounded corners left see-through, a brass rim lit from the top left, a faint grid.
    for (int y = 0; y < iconSize; ++y)
        for (int x = 0; x < iconSize; ++x) {
            const int dx = x < 4 ? 4 - x : (x > 27 ? x - 27 : 0);
            const int dy = y < 4 ? 4 - y : (y > 27 ? y - 27 : 0);
            const int r2 = dx * dx + dy * dy;
            if (r2 > 17) {
                icon.transparent[static_cast<std::size_t>(y) * iconSize + x] = 1;
                continue;
            }
            const bool rim = r2 > 8 || x == 0 || y == 0 || x == iconSize - 1 || y == iconSize - 1;
            const int diagonal = x + y - (iconSize - 1);  // negative towards the lit corner
            if (rim)
                set(x, y, diagonal < -8 ? 'B' : (diagonal > 8 ? 'o' : 'b'));
            else if (x % 8 == 3 || y % 8 == 3)
                set(x, y, 'N');
            else
                set(x, y, 'n');
        }
    for (int y = 0; y < iconSize; ++y)
        for (int x = 0; x < iconSize; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            if (!InSnake(px, py) || icon.transparent[static_cast<std::size_t>(y) * iconSize + x])
                continue;
            const bool edge =
                !InSnake(px - 1, py) || !InSnake(px + 1, py) || !InSnake(px, py - 1) || !InSnake(px, py + 1);
            char key = 'G';
            if (edge)
                key = 'K';
            else if (InHead(px, py)) {
                // Lit crown, green flanks, pale jaw.
                key = py < 9.0 ? 'L' : (py < 12.5 ? 'G' : 'P');
                if (py < 7.5 && px < 22)
                    key = 'P';
            } else {
                const double dx = px - neckCentreX, dy = py - neckCentreY;
                const double across = std::sqrt(dx * dx + dy * dy) - neckRadius;  // negative on the belly side
                key = across < -2.0 ? 'P' : (across > 2.2 ? 'L' : 'G');
                // Dark diamonds along the back.
                const double along = std::atan2(dy, dx) * neckRadius;
                const double phase = std::fmod(along + 100.0, 6.0) - 3.0;
                if (std::fabs(phase) + std::fabs(across - 0.8) * 1.3 < 2.2)
                    key = 'D';
            }
            set(x, y, key);
        }
    for (const IconDot& d : iconDetails)
        set(d.x, d.y, d.key);
    return icon;
}
