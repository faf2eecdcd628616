// The generated pictures as the game uses them: sizes, the atlas cells it copies, the strip it
// repeats across the field and the places on the background where its text is written.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tools/artwork.h"

namespace {

// One drawing of everything, shared by the cases; the generator is deterministic.
const Image& Atlas() {
  static const Image atlas = DrawAtlas();
  return atlas;
}
const Image& Strip() {
  static const Image strip = DrawBackdropStrip();
  return strip;
}
const Image& Background() {
  static const Image background = DrawBackground();
  return background;
}

Image Cell(const Image& atlas, int left, int top) {
  Image cell = MakeImage(kCell, kCell, {0, 0, 0});
  CopyRect(atlas, left, top, kCell, kCell, cell, 0, 0);
  return cell;
}

Image PlainCell() {
  Image cell = MakeImage(kCell, kCell, {0, 0, 0});
  DrawPlainCell(cell, 0, 0);
  return cell;
}

int DifferingPixels(const Image& a, const Image& b) {
  int n = 0;
  for (std::size_t i = 0; i < a.pixels.size(); ++i) n += a.pixels[i] == b.pixels[i] ? 0 : 1;
  return n;
}

bool IsTongue(Rgb c) { return c.r > 200 && c.g < 80 && c.b < 100; }
bool IsScale(Rgb c) { return c.g > c.r + 20 && c.g > c.b + 20 && c.g > 60; }

// The red of the forked tongue found within `depth` pixels of one edge of a head cell.
int TongueNearEdge(const Image& head, int edge, int depth) {
  int n = 0;
  for (int y = 0; y < kCell; ++y)
    for (int x = 0; x < kCell; ++x) {
      const bool near = edge == 0   ? y < depth
                        : edge == 1 ? x >= kCell - depth
                        : edge == 2 ? y >= kCell - depth
                                    : x < depth;
      if (near && IsTongue(GetPixel(head, x, y))) ++n;
    }
  return n;
}

}  // namespace

TEST(Artwork, PicturesHaveTheSizesTheGameStretchesThemTo) {
  EXPECT_EQ(Atlas().width, 320);
  EXPECT_EQ(Atlas().height, 32);
  EXPECT_EQ(Strip().width, 64);
  EXPECT_EQ(Strip().height, 464);
  EXPECT_EQ(Background().width, 800);
  EXPECT_EQ(Background().height, 600);
  const IndexedImage icon = DrawIcon();
  EXPECT_EQ(icon.width, 32);
  EXPECT_EQ(icon.height, 32);
  for (std::uint8_t index : icon.index) EXPECT_LT(index, 16);
}

TEST(Artwork, DrawingTwiceGivesTheSameBytes) {
  EXPECT_EQ(EncodeBmp24(DrawAtlas()), EncodeBmp24(Atlas()));
  EXPECT_EQ(EncodeBmp24(DrawBackdropStrip()), EncodeBmp24(Strip()));
  EXPECT_EQ(EncodeIco4(DrawIcon()), EncodeIco4(DrawIcon()));
}

TEST(SnakeSprites, EachHeadPutsItsTongueOnTheSideItHeadsTowards) {
  const int left[] = {kAtlasHeadUpX, kAtlasHeadRightX, kAtlasHeadDownX, kAtlasHeadLeftX};
  for (int heading = 0; heading < 4; ++heading) {
    const Image head = Cell(Atlas(), left[heading], 0);
    EXPECT_GE(TongueNearEdge(head, heading, 3), 3) << "heading " << heading;
    for (int other = 0; other < 4; ++other) {
      if (other == heading) continue;
      EXPECT_EQ(TongueNearEdge(head, other, 3), 0) << "heading " << heading << " edge " << other;
    }
  }
}

TEST(SnakeSprites, EachHeadJoinsItsNeckAtTheOppositeEdge) {
  const int left[] = {kAtlasHeadUpX, kAtlasHeadRightX, kAtlasHeadDownX, kAtlasHeadLeftX};
  for (int heading = 0; heading < 4; ++heading) {
    const Image head = Cell(Atlas(), left[heading], 0);
    // The middle of the edge facing the neck is scale, not floor.
    for (int k = 6; k <= 9; ++k) {
      const Rgb c = heading == 0   ? GetPixel(head, k, 15)
                    : heading == 1 ? GetPixel(head, 0, k)
                    : heading == 2 ? GetPixel(head, k, 0)
                                   : GetPixel(head, 15, k);
      EXPECT_TRUE(IsScale(c)) << "heading " << heading << " at " << k;
    }
  }
}

TEST(SnakeSprites, BodyReachesAllFourEdgesSoSegmentsJoinInEveryDirection) {
  const Image body = Cell(Atlas(), kAtlasBodyX, 0);
  for (int k = 4; k <= 11; ++k) {
    EXPECT_FALSE(GetPixel(body, k, 0) == GetPixel(PlainCell(), k, 0)) << "top edge at " << k;
    EXPECT_FALSE(GetPixel(body, k, 15) == GetPixel(PlainCell(), k, 15)) << "bottom edge at " << k;
    EXPECT_FALSE(GetPixel(body, 0, k) == GetPixel(PlainCell(), 0, k)) << "left edge at " << k;
    EXPECT_FALSE(GetPixel(body, 15, k) == GetPixel(PlainCell(), 15, k)) << "right edge at " << k;
    EXPECT_TRUE(IsScale(GetPixel(body, k, 8)) || IsScale(GetPixel(body, 8, k)));
  }
}

TEST(ItemSprites, TheSevenItemsInPlayAreToldApart) {
  for (int i = 0; i < 7; ++i) {
    const Image a = Cell(Atlas(), kAtlasFirstItemX + kCell * i, 0);
    EXPECT_GE(DifferingPixels(a, PlainCell()), 40) << "slot " << i << " shows hardly anything";
    for (int j = i + 1; j < 7; ++j) {
      const Image b = Cell(Atlas(), kAtlasFirstItemX + kCell * j, 0);
      EXPECT_GE(DifferingPixels(a, b), 64) << "slots " << i << " and " << j;
    }
  }
}

TEST(ItemSprites, EverySpriteStandsOnTheFloorOfTheField) {
  // Heads and items are copied opaquely onto the backdrop: their corners are plain floor.
  const Image floor = PlainCell();
  for (int left = 0; left < kAtlasFirstItemX + kCell * kAtlasItemSlots; left += kCell) {
    if (left == kAtlasBodyX) continue;
    const Image sprite = Cell(Atlas(), left, 0);
    for (const auto& p : {std::pair{0, 0}, std::pair{15, 0}, std::pair{0, 15}, std::pair{15, 15}})
      EXPECT_EQ(GetPixel(sprite, p.first, p.second), GetPixel(floor, p.first, p.second))
          << "cell at x " << left;
  }
}

TEST(WallSprites, KindZeroIsBlackAndTheSevenKindsDiffer) {
  for (int y = kCell; y < 2 * kCell; ++y)
    for (int x = 0; x < kCell; ++x) EXPECT_EQ(GetPixel(Atlas(), x, y), (Rgb{0, 0, 0}));
  for (int v = 1; v <= 7; ++v) {
    const Image a = Cell(Atlas(), kCell * v, kCell);
    for (int w = v + 1; w <= 7; ++w)
      EXPECT_GE(DifferingPixels(a, Cell(Atlas(), kCell * w, kCell)), 200) << "kinds " << v << " and " << w;
  }
}

TEST(WallSprites, WallsAreSolidAndStandOutFromTheFloor) {
  for (int v = 1; v < kAtlasWallKinds; ++v) {
    const Image wall = Cell(Atlas(), kCell * v, kCell);
    long luma = 0;
    for (const Rgb& c : wall.pixels) luma += Luma(c);
    EXPECT_GT(luma / (kCell * kCell), Luma(SpriteGround()) + 40) << "kind " << v;
  }
}

TEST(BackdropStrip, RepeatsSidewaysWithoutASeam) {
  // Where two copies meet (column 63 beside column 0) looks like any join inside the strip.
  for (int y = 0; y < kStripHeight; ++y)
    for (int join = 16; join < kStripWidth; join += 16) {
      EXPECT_EQ(GetPixel(Strip(), 63, y), GetPixel(Strip(), join - 1, y)) << "row " << y;
      EXPECT_EQ(GetPixel(Strip(), 0, y), GetPixel(Strip(), join, y)) << "row " << y;
    }
}

TEST(BackdropStrip, ItsLeft48ColumnsEndLikeTheWholeStrip) {
  for (int y = 0; y < kStripHeight; ++y)
    EXPECT_EQ(GetPixel(Strip(), 47, y), GetPixel(Strip(), 63, y)) << "row " << y;
}

TEST(BackdropStrip, StaysDarkSoTextAndSpritesReadOnIt) {
  for (const Rgb& c : Strip().pixels) EXPECT_LT(Luma(c), 48);
}

TEST(Background, PanelsBehindTheStatusTextAreBlack) {
  // Each status text is at most about 110 by 16 pixels from its point.
  const int points[][2] = {{140, 34}, {140, 63}, {550, 34}, {550, 63}};
  for (const auto& p : points)
    for (int y = p[1] - 2; y < p[1] + 18; ++y)
      for (int x = p[0] - 4; x < p[0] + 112; ++x)
        ASSERT_EQ(GetPixel(Background(), x, y), (Rgb{0, 0, 0})) << "at " << x << ", " << y;
}

TEST(Background, TitleStandsBrightBetweenThePanels) {
  int bright = 0;
  for (int y = 10; y < 96; ++y)
    for (int x = 270; x < 531; ++x) bright += Luma(GetPixel(Background(), x, y)) > 120 ? 1 : 0;
  EXPECT_GT(bright, 3000);
  // Nothing of the title spills into the panels' text lines.
  for (int x = 263; x < 268; ++x) EXPECT_LT(Luma(GetPixel(Background(), x, 50)), 120);
}

TEST(Background, PlayfieldIsFramedRightOutsideItsEdges) {
  // The frame's first line hugs the field on all four sides, dark so the field's edge reads.
  for (int x = kFieldLeft; x < kFieldLeft + kFieldWidth; x += 37) {
    EXPECT_LT(Luma(GetPixel(Background(), x, kFieldTop - 1)), 40);
    EXPECT_LT(Luma(GetPixel(Background(), x, kFieldTop + kFieldHeight)), 40);
    EXPECT_GT(Luma(GetPixel(Background(), x, kFieldTop - 4)), 100);
  }
  for (int y = kFieldTop; y < kFieldTop + kFieldHeight; y += 29) {
    EXPECT_LT(Luma(GetPixel(Background(), kFieldLeft - 1, y)), 40);
    EXPECT_LT(Luma(GetPixel(Background(), kFieldLeft + kFieldWidth, y)), 40);
    EXPECT_GT(Luma(GetPixel(Background(), kFieldLeft - 4, y)), 100);
  }
}
