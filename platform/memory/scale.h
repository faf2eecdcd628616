// Where the 800 x 600 picture stands on a screen of any size, and the scaler that puts the changed
// part of it there. Shared by the platforms that show the in-memory picture themselves.
//
// The picture is as large as fits with its shape kept, centred, black around it. A whole factor
// draws each picture pixel as an exact N x N block. Any other factor is sharp and even: as if the
// picture were enlarged by the next whole factor with nearest neighbours and that shrunk linearly
// onto the area, so that the step from one picture pixel to the next spans at most one blended
// screen pixel. A screen smaller than the picture gets it shrunk linearly.
#pragma once
#include <cstdint>

#include "platform/platform.h"

// The largest screen side the layout serves; larger screens get the picture at this size, centred.
constexpr int32_t largestScreenSide = 8192;

// How one screen axis samples the picture: screen pixel i of the area blends picture pixel
// first[i] with first[i] + 1 by weight[i] / 256 of the second (weight 0: first[i] alone).
struct AxisSampling {
    int32_t first[largestScreenSide];
    uint16_t weight[largestScreenSide];
};

struct PictureLayout {
    int32_t screenWidth;
    int32_t screenHeight;
    Rect area;       // where the picture stands on the screen
    int32_t factor;  // the whole factor when the area is exactly that many times the picture; else 0
    AxisSampling columns;
    AxisSampling rows;
};

// Lays the picture out on a screen of that size.
void LayOutPicture(int32_t screenWidth, int32_t screenHeight, PictureLayout* layout);

// The order of a screen pixel's bytes in memory.
enum class ScreenOrder { Xrgb, Rgba };

// Writes onto the screen (pitch: pixels from one row to the next) every screen pixel of the area
// that takes any of the picture rectangle changed, and says in *written the screen rectangle that
// was written (empty when none). Pixels of the screen outside the area are left alone.
void ScalePicture(const uint32_t* picture, const Rect& changed, const PictureLayout& layout, uint32_t* screen,
                  int32_t screenPitch, ScreenOrder order, Rect* written);

// Fills the screen outside the area with black.
void FillBorders(const PictureLayout& layout, uint32_t* screen, int32_t screenPitch, ScreenOrder order);
