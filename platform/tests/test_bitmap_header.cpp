// The one header check of BMP files that every platform makes before it loads one: a bitmap is
// refused when its rows, bottom-up or top-down, cannot fit in its file, or a side exceeds 16384.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/bitmap_header.h"

namespace {

// The first 30 bytes of a BMP file with a 40-byte info header and pixels from byte 54.
std::vector<unsigned char> Header(int32_t width, int32_t height, uint16_t bitsPerPixel) {
    std::vector<unsigned char> bytes(bitmapHeaderBytes, 0);
    auto put = [&bytes](size_t at, uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<uint32_t>(width), 4);
    put(22, static_cast<uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, bitsPerPixel, 2);
    return bytes;
}

bool Fits(int32_t width, int32_t height, uint16_t bitsPerPixel, int64_t fileSize) {
    const std::vector<unsigned char> header = Header(width, height, bitsPerPixel);
    return BitmapHeaderFits(header.data(), header.size(), fileSize);
}

TEST(BitmapHeader, RowsOfEitherOrderMustFitInTheFile) {
    for (int32_t order : {1, -1}) {  // bottom-up, then top-down
        // 800 x 600 at 24 bits: rows of 2400 bytes. 3 x 2 at 24 bits: rows of 9 bytes padded to 12.
        EXPECT_TRUE(Fits(800, 600 * order, 24, 54 + 2400 * 600)) << order;
        EXPECT_FALSE(Fits(800, 600 * order, 24, 54 + 2400 * 600 - 1)) << order;
        EXPECT_TRUE(Fits(3, 2 * order, 24, 54 + 24)) << order;
        EXPECT_FALSE(Fits(3, 2 * order, 24, 54 + 23)) << order;
        // A 1 KB file claiming 20000 x 20000 would ask a loader for 1.2 GB.
        EXPECT_FALSE(Fits(20000, 20000 * order, 24, 1024)) << order;
        EXPECT_FALSE(Fits(800, 0, 24, 54 + 2400 * 600)) << order;
        EXPECT_FALSE(Fits(-800, 600 * order, 24, 54 + 2400 * 600)) << order;
    }
    EXPECT_FALSE(Fits(800, 600, 24, 40));  // a file shorter than its own headers
}

TEST(BitmapHeader, NoSideAbove16384EvenWhenTheFileHoldsIt) {
    const int64_t large = int64_t(1) << 40;
    for (int32_t order : {1, -1}) {
        EXPECT_TRUE(Fits(16384, 16384 * order, 1, 54 + 2048 * 16384)) << order;
        EXPECT_FALSE(Fits(16385, 1 * order, 1, large)) << order;
        EXPECT_FALSE(Fits(1, 16385 * order, 1, large)) << order;
    }
}

TEST(BitmapHeader, OnlyAWholeBmpHeaderIsWeighed) {
    std::vector<unsigned char> header = Header(8, 8, 24);
    EXPECT_TRUE(BitmapHeaderFits(header.data(), header.size(), 54 + 24 * 8));
    EXPECT_FALSE(BitmapHeaderFits(header.data(), header.size() - 1, 54 + 24 * 8));  // a file of 29 bytes
    header[1] = 'A';
    EXPECT_FALSE(BitmapHeaderFits(header.data(), header.size(), 54 + 24 * 8));
}

}  // namespace
