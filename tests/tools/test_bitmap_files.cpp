// The bitmap and icon files the generator writes, read back byte by byte as a loader sees them.
#include <gtest/gtest.h>

#include "tools/bitmap_files.h"

namespace {

std::uint32_t Le32(const Bytes& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint32_t Le16(const Bytes& b, std::size_t at) { return b[at] | b[at + 1] << 8; }

Image Gradient(int width, int height) {
  Image image = MakeImage(width, height, {0, 0, 0});
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      SetPixel(image, x, y,
               {static_cast<std::uint8_t>(40 * x + 1), static_cast<std::uint8_t>(50 * y + 2),
                static_cast<std::uint8_t>(7 * x + 11 * y + 3)});
  return image;
}

IndexedImage Checker() {
  IndexedImage icon{32, 32, {}, {}, {}};
  for (int i = 0; i < 16; ++i)
    icon.palette[i] = {static_cast<std::uint8_t>(16 * i), static_cast<std::uint8_t>(255 - 16 * i),
                       static_cast<std::uint8_t>(i)};
  icon.index.assign(32 * 32, 0);
  icon.transparent.assign(32 * 32, 0);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) icon.index[y * 32 + x] = static_cast<std::uint8_t>((x + 3 * y) % 16);
  icon.transparent[0] = 1;            // top-left corner
  icon.transparent[31 * 32 + 9] = 1;  // bottom row, tenth pixel
  return icon;
}

}  // namespace

TEST(BitmapFile, HeadersDescribeAnUncompressed24BitBottomUpPicture) {
  const Bytes file = EncodeBmp24(Gradient(3, 2));
  ASSERT_GE(file.size(), 54u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  // 3 pixels of 3 bytes pad to 12 bytes a row.
  EXPECT_EQ(file.size(), 54u + 2 * 12);
  EXPECT_EQ(Le32(file, 2), file.size());
  EXPECT_EQ(Le32(file, 10), 54u);
  EXPECT_EQ(Le32(file, 14), 40u);
  EXPECT_EQ(Le32(file, 18), 3u);
  EXPECT_EQ(Le32(file, 22), 2u);  // positive height: bottom-up
  EXPECT_EQ(Le16(file, 26), 1u);
  EXPECT_EQ(Le16(file, 28), 24u);
  EXPECT_EQ(Le32(file, 30), 0u);
  EXPECT_EQ(Le32(file, 34), 2u * 12);
}

TEST(BitmapFile, FirstStoredRowIsTheBottomRowInBlueGreenRedOrder) {
  Image image = MakeImage(2, 2, {0, 0, 0});
  SetPixel(image, 0, 1, {255, 0, 0});  // bottom left: red
  SetPixel(image, 1, 0, {0, 0, 255});  // top right: blue
  const Bytes file = EncodeBmp24(image);
  EXPECT_EQ(file[54], 0);
  EXPECT_EQ(file[55], 0);
  EXPECT_EQ(file[56], 255);
  // Second stored row (the top one) starts after 6 bytes of pixels and 2 of padding.
  EXPECT_EQ(file[62 + 3], 255);
  EXPECT_EQ(file[62 + 4], 0);
  EXPECT_EQ(file[62 + 5], 0);
}

TEST(BitmapFile, RowPaddingIsZeroAndEveryWidthReadsBackUnchanged) {
  for (int width = 1; width <= 9; ++width) {
    const Image image = Gradient(width, 3);
    const Bytes file = EncodeBmp24(image);
    const BmpInfo info = ReadBmpInfo(file);
    ASSERT_TRUE(info.valid) << "width " << width;
    EXPECT_EQ(info.rowStride % 4, 0u);
    for (int row = 0; row < 3; ++row)
      for (std::uint32_t pad = static_cast<std::uint32_t>(width) * 3; pad < info.rowStride; ++pad)
        EXPECT_EQ(file[54 + row * info.rowStride + pad], 0) << "width " << width;
    Image back;
    ASSERT_TRUE(DecodeBmp24(file, back));
    EXPECT_EQ(back.width, width);
    EXPECT_EQ(back.height, 3);
    EXPECT_EQ(back.pixels, image.pixels) << "width " << width;
  }
}

TEST(BitmapFile, TruncatedFileIsRejected) {
  Bytes file = EncodeBmp24(Gradient(4, 4));
  file.resize(file.size() - 1);
  EXPECT_FALSE(ReadBmpInfo(file).valid);
  Image image;
  EXPECT_FALSE(DecodeBmp24(file, image));
  EXPECT_FALSE(ReadBmpInfo(Bytes{'B', 'M', 0, 0}).valid);
}

TEST(IconFile, DirectoryAnnouncesOne32By32SixteenColourImage) {
  const Bytes file = EncodeIco4(Checker());
  // Directory, one entry, header, 16 palette entries, 32 rows of 16 colour bytes and of 4 mask bytes.
  ASSERT_EQ(file.size(), 6u + 16 + 40 + 64 + 32 * 16 + 32 * 4);
  EXPECT_EQ(Le16(file, 0), 0u);
  EXPECT_EQ(Le16(file, 2), 1u);
  EXPECT_EQ(Le16(file, 4), 1u);
  EXPECT_EQ(file[6], 32);
  EXPECT_EQ(file[7], 32);
  EXPECT_EQ(file[8], 16);
  EXPECT_EQ(Le16(file, 10), 1u);
  EXPECT_EQ(Le16(file, 12), 4u);
  EXPECT_EQ(Le32(file, 14), file.size() - 22);
  EXPECT_EQ(Le32(file, 18), 22u);
  EXPECT_EQ(Le32(file, 22), 40u);
  EXPECT_EQ(Le32(file, 26), 32u);
  EXPECT_EQ(Le32(file, 30), 64u);  // colour rows and mask rows together
  EXPECT_EQ(Le16(file, 36), 4u);
}

TEST(IconFile, LeftPixelIsTheHighNibbleAndTheMaskMarksSeeThroughPixels) {
  const IndexedImage icon = Checker();
  const Bytes file = EncodeIco4(icon);
  const std::size_t colours = 22 + 40 + 64;
  const std::size_t mask = colours + 32 * 16;
  // The first stored row is the bottom one (y = 31): pixels 0 and 1 have indices 93 % 16 and 94 % 16.
  EXPECT_EQ(file[colours], (13 << 4) | 14);
  // Bottom row, tenth pixel: second mask byte, second bit from the top.
  EXPECT_EQ(file[mask + 1], 0x40);
  EXPECT_EQ(file[mask], 0);
  // Top row, first pixel: the last stored mask row, top bit.
  EXPECT_EQ(file[mask + 31 * 4], 0x80);
}

TEST(IconFile, ReadsBackUnchanged) {
  const IndexedImage icon = Checker();
  IndexedImage back{};
  ASSERT_TRUE(DecodeIco4(EncodeIco4(icon), back));
  EXPECT_EQ(back.width, 32);
  EXPECT_EQ(back.height, 32);
  EXPECT_EQ(back.index, icon.index);
  EXPECT_EQ(back.transparent, icon.transparent);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(back.palette[i], icon.palette[i]) << i;
}

TEST(IconFile, PlainPictureShowsSeeThroughPixelsInTheGivenColour) {
  const IndexedImage icon = Checker();
  const Image picture = ToRgb(icon, {1, 2, 3});
  EXPECT_EQ(GetPixel(picture, 0, 0), (Rgb{1, 2, 3}));
  EXPECT_EQ(GetPixel(picture, 9, 31), (Rgb{1, 2, 3}));
  EXPECT_EQ(GetPixel(picture, 1, 0), icon.palette[1]);
}
