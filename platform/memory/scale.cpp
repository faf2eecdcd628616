// The picture's place on a screen of any size and the scaler that redraws the changed part of it
// there: exact blocks at a whole factor, sharp bilinear between whole factors, linear below one.
#include "platform/memory/scale.h"

#include <cstring>

#include "platform/memory/memory_display.h"

namespace {

// One axis of the picture (size pixels) shown over `shown` screen pixels. Each screen pixel samples
// at its centre a picture enlarged by the next whole factor with nearest neighbours (by 1 where the
// screen is smaller, which is plain linear scaling): where the two enlarged pixels it falls between
// belong to the same picture pixel it takes that one alone, so only the screen pixel astride a
// boundary blends. The enlarged pixels are more than one screen pixel apart, so at most one does.
void SampleAxis(int32_t size, int32_t shown, AxisSampling* axis) {
    if (shown % size == 0) {
        const int32_t factor = shown / size;
        for (int32_t i = 0; i < shown; ++i) {
            axis->first[i] = i / factor;
            axis->weight[i] = 0;
        }
        return;
    }
    const int64_t enlarge = shown > size ? shown / size + 1 : 1;
    const int64_t enlarged = enlarge * size;
    const int64_t unit = 2 * int64_t{shown};  // the centre of screen pixel i lies at (2i + 1) / unit
    for (int32_t i = 0; i < shown; ++i) {
        const int64_t centre = (2 * int64_t{i} + 1) * enlarged - shown;  // in enlarged pixels, times unit
        const int64_t at = centre < 0 ? 0 : centre / unit;
        const int64_t rest = centre < 0 ? 0 : centre % unit;
        const int32_t picture = static_cast<int32_t>(at / enlarge);
        int32_t weight = 0;
        if (at + 1 < enlarged && (at + 1) / enlarge != picture) {
            weight = static_cast<int32_t>((rest * 256 + unit / 2) / unit);
        }
        axis->first[i] = weight == 256 ? picture + 1 : picture;
        axis->weight[i] = static_cast<uint16_t>(weight == 256 ? 0 : weight);
    }
}

// The first screen pixel whose sample takes picture pixel `from` or a later one, and the first
// whose sample takes only pixels from `to` on: the screen span that shows [from, to).
void ScreenSpan(const AxisSampling& axis, int32_t shown, int32_t from, int32_t to, int32_t* begin, int32_t* end) {
    int32_t low = 0, high = shown;
    while (low < high) {
        const int32_t middle = (low + high) / 2;
        if (axis.first[middle] + (axis.weight[middle] != 0 ? 1 : 0) >= from) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    *begin = low;
    high = shown;
    while (low < high) {
        const int32_t middle = (low + high) / 2;
        if (axis.first[middle] >= to) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    *end = low;
}

// weight / 256 of b and the rest of a, each of the four bytes on its own.
inline uint32_t Blend(uint32_t a, uint32_t b, uint32_t weight) {
    const uint32_t keep = 256 - weight;
    const uint32_t redBlue = (((a & 0x00FF00FF) * keep + (b & 0x00FF00FF) * weight) >> 8) & 0x00FF00FF;
    const uint32_t alphaGreen = (((a >> 8) & 0x00FF00FF) * keep + ((b >> 8) & 0x00FF00FF) * weight) & 0xFF00FF00;
    return redBlue | alphaGreen;
}

inline uint32_t InOrder(uint32_t pixel, ScreenOrder order) {
    if (order == ScreenOrder::Xrgb) {
        return pixel;
    }
    // Red, green, blue, alpha in memory: red in the lowest byte of a little-endian word, alpha full.
    return 0xFF000000u | ((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
}

// Two picture rows scaled across, the ones a screen row blends; rows repeat over several screen rows.
uint32_t scaledRows[2][largestScreenSide];
int32_t scaledRowOf[2];

// Picture row `row` scaled across the screen columns [begin, end) of the area, in screen order.
const uint32_t* ScaledRow(const uint32_t* picture, int32_t row, const PictureLayout& layout, int32_t begin, int32_t end,
                          ScreenOrder order, int32_t keep) {
    for (int slot = 0; slot < 2; ++slot) {
        if (scaledRowOf[slot] == row) {
            return scaledRows[slot] + begin;
        }
    }
    const uint32_t* source = picture + row * pictureWidth;
    if (layout.factor == 1 && order == ScreenOrder::Xrgb) {
        return source + begin;  // the picture's own row, as it is
    }
    const int slot = scaledRowOf[0] == keep ? 1 : 0;
    scaledRowOf[slot] = row;
    uint32_t* out = scaledRows[slot];
    if (layout.factor > 0) {
        // Each picture pixel an exact block: the pixels of the span, each written factor times.
        const int32_t factor = layout.factor;
        int32_t i = begin;
        for (int32_t pixel = begin / factor; i < end; ++pixel) {
            const uint32_t value = InOrder(source[pixel], order);
            const int32_t blockEnd = (pixel + 1) * factor < end ? (pixel + 1) * factor : end;
            for (; i < blockEnd; ++i) {
                out[i] = value;
            }
        }
        return out + begin;
    }
    const int32_t* first = layout.columns.first;
    const uint16_t* weight = layout.columns.weight;
    for (int32_t i = begin; i < end; ++i) {
        const uint32_t pixel =
            weight[i] == 0 ? source[first[i]] : Blend(source[first[i]], source[first[i] + 1], weight[i]);
        out[i] = InOrder(pixel, order);
    }
    return out + begin;
}

void FillRect(uint32_t* screen, int32_t pitch, int32_t left, int32_t top, int32_t right, int32_t bottom,
              uint32_t value) {
    for (int32_t y = top; y < bottom; ++y) {
        uint32_t* line = screen + static_cast<int64_t>(y) * pitch;
        for (int32_t x = left; x < right; ++x) {
            line[x] = value;
        }
    }
}

}  // namespace

void LayOutPicture(int32_t screenWidth, int32_t screenHeight, PictureLayout* layout) {
    layout->screenWidth = screenWidth;
    layout->screenHeight = screenHeight;
    const int32_t width = screenWidth < largestScreenSide ? screenWidth : largestScreenSide;
    const int32_t height = screenHeight < largestScreenSide ? screenHeight : largestScreenSide;
    int32_t areaWidth = 0, areaHeight = 0;
    if (int64_t{width} * pictureHeight <= int64_t{height} * pictureWidth) {
        areaWidth = width;
        areaHeight = static_cast<int32_t>(int64_t{width} * pictureHeight / pictureWidth);
    } else {
        areaHeight = height;
        areaWidth = static_cast<int32_t>(int64_t{height} * pictureWidth / pictureHeight);
    }
    const int32_t left = (screenWidth - areaWidth) / 2;
    const int32_t top = (screenHeight - areaHeight) / 2;
    layout->area = Rect{left, top, left + areaWidth, top + areaHeight};
    const bool whole = areaWidth > 0 && areaWidth % pictureWidth == 0 && areaHeight % pictureHeight == 0 &&
                       areaWidth / pictureWidth == areaHeight / pictureHeight;
    layout->factor = whole ? areaWidth / pictureWidth : 0;
    SampleAxis(pictureWidth, areaWidth, &layout->columns);
    SampleAxis(pictureHeight, areaHeight, &layout->rows);
}

void ScalePicture(const uint32_t* picture, const Rect& changed, const PictureLayout& layout, uint32_t* screen,
                  int32_t screenPitch, ScreenOrder order, Rect* written) {
    *written = Rect{0, 0, 0, 0};
    const int32_t areaWidth = layout.area.right - layout.area.left;
    const int32_t areaHeight = layout.area.bottom - layout.area.top;
    int32_t columnBegin = 0, columnEnd = 0, rowBegin = 0, rowEnd = 0;
    ScreenSpan(layout.columns, areaWidth, changed.left, changed.right, &columnBegin, &columnEnd);
    ScreenSpan(layout.rows, areaHeight, changed.top, changed.bottom, &rowBegin, &rowEnd);
    if (columnBegin >= columnEnd || rowBegin >= rowEnd) {
        return;
    }
    scaledRowOf[0] = scaledRowOf[1] = -1;
    const size_t rowBytes = static_cast<size_t>(columnEnd - columnBegin) * sizeof(uint32_t);
    const uint32_t* previous = nullptr;  // the screen row above, when it shows the same as this one
    int32_t previousRow = -1;
    for (int32_t j = rowBegin; j < rowEnd; ++j) {
        const int32_t row = layout.rows.first[j];
        const uint32_t weight = layout.rows.weight[j];
        uint32_t* out =
            screen + static_cast<int64_t>(layout.area.top + j) * screenPitch + layout.area.left + columnBegin;
        if (weight == 0) {
            if (previous != nullptr && previousRow == row) {
                std::memcpy(out, previous, rowBytes);  // the rows of one block, or of one picture row
            } else {
                std::memcpy(out, ScaledRow(picture, row, layout, columnBegin, columnEnd, order, -1), rowBytes);
            }
            previous = out;
            previousRow = row;
            continue;
        }
        const uint32_t* above = ScaledRow(picture, row, layout, columnBegin, columnEnd, order, -1);
        const uint32_t* below = ScaledRow(picture, row + 1, layout, columnBegin, columnEnd, order, row);
        for (int32_t i = 0; i < columnEnd - columnBegin; ++i) {
            out[i] = Blend(above[i], below[i], weight);
        }
        previous = nullptr;
        previousRow = -1;
    }
    *written = Rect{layout.area.left + columnBegin, layout.area.top + rowBegin, layout.area.left + columnEnd,
                    layout.area.top + rowEnd};
}

void FillBorders(const PictureLayout& layout, uint32_t* screen, int32_t screenPitch, ScreenOrder order) {
    const uint32_t black = InOrder(0, order);
    const Rect& area = layout.area;
    FillRect(screen, screenPitch, 0, 0, layout.screenWidth, area.top, black);
    FillRect(screen, screenPitch, 0, area.bottom, layout.screenWidth, layout.screenHeight, black);
    FillRect(screen, screenPitch, 0, area.top, area.left, area.bottom, black);
    FillRect(screen, screenPitch, area.right, area.top, layout.screenWidth, area.bottom, black);
}
