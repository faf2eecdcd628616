// The header check of BMP files, shared by every platform.
#include "platform/bitmap_header.h"

namespace {

uint32_t LittleEndian(const unsigned char* bytes, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = value << 8 | bytes[i];
    }
    return value;
}

// A 32-bit field read as signed: a negative height stands for rows stored top first.
int64_t Signed32(const unsigned char* bytes) {
    return static_cast<int32_t>(LittleEndian(bytes, 4));
}

}  // namespace

bool BitmapHeaderFits(const unsigned char* header, size_t count, int64_t fileSize) {
    if (count < bitmapHeaderBytes || fileSize < 0 || header[0] != 'B' || header[1] != 'M') {
        return false;
    }
    // The info header's size, then the width and the height, the planes and the bits per pixel:
    // 16-bit fields in the old 12-byte header, 32-bit signed sides in every later one.
    // Each side is widened on its own: in one expression the signed side would be taken unsigned,
    // and a negative height (rows stored top first) would read as four billion.
    const bool oldHeader = LittleEndian(header + 14, 4) == 12;
    const int64_t width = oldHeader ? int64_t{LittleEndian(header + 18, 2)} : Signed32(header + 18);
    int64_t height = oldHeader ? int64_t{LittleEndian(header + 20, 2)} : Signed32(header + 22);
    const int64_t bitsPerPixel = LittleEndian(header + (oldHeader ? 24 : 28), 2);
    height = height < 0 ? -height : height;
    if (width <= 0 || height == 0 || width > largestBitmapSide || height > largestBitmapSide || bitsPerPixel == 0) {
        return false;
    }
    const int64_t rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    return rowBytes * height <= fileSize - static_cast<int64_t>(LittleEndian(header + 10, 4));
}
