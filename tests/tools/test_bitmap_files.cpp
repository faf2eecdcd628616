// The icon and PNG files the generator writes, read byte by byte as a loader reads them. Its bitmaps
// are read by the game itself in the replays, whose pictures would show a fault in them.
#include <gtest/gtest.h>

#include "tools/bitmap_files.h"
#include "tools/png_file.h"

namespace {

std::uint32_t Le(const Bytes& file, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | file[at + i];
    return value;
}

TEST(IconFile, One32By32SixteenColourImageWithItsMaskBottomRowFirst) {
    IndexedImage icon{32, 32, {}, std::vector<std::uint8_t>(1024, 0), std::vector<std::uint8_t>(1024, 0)};
    icon.index[31 * 32] = 13;  // bottom row, first two pixels
    icon.index[31 * 32 + 1] = 14;
    icon.transparent[31 * 32 + 9] = 1;  // bottom row, tenth pixel
    icon.transparent[0] = 1;            // top left
    const Bytes file = EncodeIco4(icon);
    // Directory, one entry, header, 16 palette entries, 32 rows of 16 colour bytes and of 4 mask bytes.
    ASSERT_EQ(file.size(), 6u + 16 + 40 + 64 + 32 * 16 + 32 * 4);
    const std::uint32_t fields[][3] = {{0, 2, 0},   {2, 2, 1},   {4, 2, 1},   {6, 1, 32},   {7, 1, 32},
                                       {8, 1, 16},  {10, 2, 1},  {12, 2, 4},  {14, 4, 744}, {18, 4, 22},
                                       {22, 4, 40}, {26, 4, 32}, {30, 4, 64}, {36, 2, 4}};
    for (const auto& [at, size, value] : fields)  // offset, size, value
        EXPECT_EQ(Le(file, at, size), value) << "at " << at;
    const std::size_t colours = 22 + 40 + 64, mask = colours + 32 * 16;
    EXPECT_EQ(file[colours], (13 << 4) | 14);  // the left pixel in the high nibble
    EXPECT_EQ(file[mask + 1], 0x40);
    EXPECT_EQ(file[mask + 31 * 4], 0x80);
}

// The header chunk byte for byte with its CRC, the Adler-32 against a published value, and a
// picture too large for one stored block (the 256-pixel icon's size) split into full blocks.
TEST(PngFile, AnRgbaPictureInStoredBlocksUnderTheirChecksums) {
    const std::uint8_t wiki[] = {'W', 'i', 'k', 'i', 'p', 'e', 'd', 'i', 'a'};
    EXPECT_EQ(Adler32(wiki, sizeof wiki), 0x11E60398u);

    RgbaImage picture{256, 256, {}, {}};
    for (int i = 0; i < 256 * 256; ++i) {
        picture.pixels.push_back({std::uint8_t(i), std::uint8_t(i >> 8), std::uint8_t(i * 7)});
        picture.alpha.push_back(std::uint8_t(i * 3));
    }
    const Bytes file = EncodePng(picture);
    EXPECT_EQ(Bytes(file.begin() + 8, file.begin() + 33),
              Bytes({0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 1, 0, 0, 0, 1, 0, 8, 6, 0, 0, 0, 0x5C, 0x72, 0xA8, 0x66}))
        << "IHDR: 256 x 256, 8-bit RGBA, with its CRC";
    // IDAT's data: the zlib header, then a first stored block of 65535 bytes that is not the last,
    // opening with the first row's filter byte and first pixel.
    EXPECT_EQ(Bytes(file.begin() + 37, file.begin() + 54),
              Bytes({'I', 'D', 'A', 'T', 0x78, 0x01, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 1}));
}

}  // namespace
