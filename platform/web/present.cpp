// The picture on the canvas: laid out on the canvas's backing store (its size on the page times the
// device pixel ratio, so it is crisp on any screen), scaled into a buffer in the program's memory,
// and put on the canvas one changed rectangle at a time, at most once per animation frame.
#include <emscripten/emscripten.h>

#include "platform/memory/memory_display.h"
#include "platform/memory/scale.h"
#include "platform/web/web_platform.h"

namespace {

// The backing store is at most this many pixels a side; a larger canvas (a screen of more than
// 4096 device pixels across) gets a smaller backing store that the browser enlarges. The buffer
// behind it is fixed: 64 MB of the program's memory, of which only the part in use is touched.
constexpr int32_t largestBackingSide = 4096;
uint32_t screen[largestBackingSide * largestBackingSide];
PictureLayout layout;
bool laidOut = false;
bool canvasResized = true;  // the canvas's size is to be measured again before the next present

bool frameAskedFor = false;
bool frameOwed = false;

// clang-format off
// The canvas "screen" of the page; a page without one gets one that fills it.
EM_JS(int, FindCanvas, (), {
    var vx = Module.vornixWeb;
    if (!vx.canvas) {
        vx.canvas = document.getElementById("screen");
        if (!vx.canvas) {
            vx.canvas = document.createElement("canvas");
            vx.canvas.id = "screen";
            vx.canvas.style.cssText = "position:fixed;inset:0;width:100vw;height:100vh;background:#000";
            document.body.appendChild(vx.canvas);
        }
        vx.context = vx.canvas.getContext("2d", {alpha: false});
    }
    return vx.context ? 1 : 0;
});

// The backing store's size for the canvas as it stands on the page, into size[0..1].
EM_JS(void, MeasureCanvas, (int32_t* size, int largest), {
    var vx = Module.vornixWeb;
    var box = vx.canvas.getBoundingClientRect();
    var ratio = window.devicePixelRatio || 1;
    var width = Math.max(1, Math.round(box.width * ratio));
    var height = Math.max(1, Math.round(box.height * ratio));
    if (width > largest || height > largest) {
        var shrink = Math.min(largest / width, largest / height);
        width = Math.max(1, Math.floor(width * shrink));
        height = Math.max(1, Math.floor(height * shrink));
    }
    HEAP32[(size >> 2) + 0] = width;
    HEAP32[(size >> 2) + 1] = height;
});

// Gives the canvas that backing store, whose pixels stand in the program's memory at pixels.
EM_JS(void, SizeCanvas, (const uint32_t* pixels, int width, int height), {
    var vx = Module.vornixWeb;
    vx.canvas.width = width;
    vx.canvas.height = height;
    vx.image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4), width, height);
});

EM_JS(void, PutOnCanvas, (int left, int top, int width, int height), {
    var vx = Module.vornixWeb;
    vx.context.putImageData(vx.image, 0, 0, left, top, width, height);
});

// The next present waits for the next animation frame, which is asked for now.
EM_JS(void, PresentMade, (), {
    var vx = Module.vornixWeb;
    vx.presentBlocked = true;
    vx.requestFrame();
});

EM_JS(int, PresentBlocked, (), { return Module.vornixWeb.presentBlocked ? 1 : 0; });
// clang-format on

// Measures the canvas again after a new size, and lays the picture out anew when the backing store
// must change: true when the whole canvas is to be put again.
bool LayOutForCanvas() {
    if (!canvasResized && laidOut) {
        return false;
    }
    canvasResized = false;
    int32_t size[2];
    MeasureCanvas(size, largestBackingSide);
    if (laidOut && size[0] == layout.screenWidth && size[1] == layout.screenHeight) {
        return false;
    }
    LayOutPicture(size[0], size[1], &layout);
    SizeCanvas(screen, size[0], size[1]);
    FillBorders(layout, screen, layout.screenWidth, ScreenOrder::Rgba);
    laidOut = true;
    return true;
}

void PutPictureRect(const uint32_t* picture, const Rect& changed) {
    Rect written;
    ScalePicture(picture, changed, layout, screen, layout.screenWidth, ScreenOrder::Rgba, &written);
    if (written.right > written.left && written.bottom > written.top) {
        PutOnCanvas(written.left, written.top, written.right - written.left, written.bottom - written.top);
    }
}

// A run of changed tiles in one row of the change grid, grown downward while the rows below repeat it.
struct TileRun {
    int32_t first;  // first column
    int32_t end;    // one past the last column
    int32_t top;    // first row
};

void PutRun(const uint32_t* picture, const TileRun& run, int32_t endRow) {
    const Rect changed{run.first * changeTileSize, run.top * changeTileSize,
                       run.end * changeTileSize < pictureWidth ? run.end * changeTileSize : pictureWidth,
                       endRow * changeTileSize < pictureHeight ? endRow * changeTileSize : pictureHeight};
    PutPictureRect(picture, changed);
}

// Puts the changed tiles on the canvas: each row's runs of changed tiles, a run that the next row
// repeats exactly merged with it, so that a change covering a block goes as one rectangle.
void PutChangedTiles(const uint32_t* picture) {
    TileRun open[changeColumns];
    int32_t openCount = 0;
    for (int32_t row = 0; row <= changeRows; ++row) {
        TileRun current[changeColumns];
        int32_t currentCount = 0;
        for (int32_t column = 0; row < changeRows && column < changeColumns;) {
            if (!MemoryTileChanged(column, row)) {
                ++column;
                continue;
            }
            const int32_t first = column;
            while (column < changeColumns && MemoryTileChanged(column, row)) {
                ++column;
            }
            current[currentCount++] = TileRun{first, column, row};
        }
        TileRun stillOpen[changeColumns];
        int32_t stillOpenCount = 0;
        for (int32_t o = 0; o < openCount; ++o) {
            bool continues = false;
            for (int32_t c = 0; c < currentCount && !continues; ++c) {
                if (current[c].first == open[o].first && current[c].end == open[o].end) {
                    current[c].first = -1;  // taken by the run above
                    continues = true;
                }
            }
            if (continues) {
                stillOpen[stillOpenCount++] = open[o];
            } else {
                PutRun(picture, open[o], row);
            }
        }
        for (int32_t c = 0; c < currentCount; ++c) {
            if (current[c].first >= 0) {
                stillOpen[stillOpenCount++] = current[c];
            }
        }
        for (int32_t o = 0; o < stillOpenCount; ++o) {
            open[o] = stillOpen[o];
        }
        openCount = stillOpenCount;
    }
}

}  // namespace

bool PrepareCanvas() {
    return FindCanvas() != 0;
}

void CanvasResized() {
    canvasResized = true;
    MemoryMarkAllChanged();
}

bool PresentAllowed() {
    return PresentBlocked() == 0;
}

bool PictureWaiting() {
    Rect bounds;
    return MemoryPicture() != nullptr && MemoryPictureChanged(&bounds);
}

bool FrameAskedForLately() {
    return frameAskedFor;
}

void ForgetFrameAskedFor() {
    frameAskedFor = false;
    frameOwed = false;
}

bool FrameOwed() {
    return frameOwed;
}

bool PlatformFrameWanted() {
    frameAskedFor = true;
    if (PresentAllowed()) {
        frameOwed = false;  // the frame about to be drawn is the one owed
        return true;
    }
    frameOwed = true;
    return false;
}

void PlatformPresent(Surface*) {
    const uint32_t* picture = MemoryPicture();
    if (picture == nullptr || !PresentAllowed() || FindCanvas() == 0) {
        return;  // a change waits for the next animation frame
    }
    Rect bounds;
    if (LayOutForCanvas()) {
        Rect written;
        ScalePicture(picture, Rect{0, 0, pictureWidth, pictureHeight}, layout, screen, layout.screenWidth,
                     ScreenOrder::Rgba, &written);
        PutOnCanvas(0, 0, layout.screenWidth, layout.screenHeight);  // the black borders with it
    } else if (MemoryPictureChanged(&bounds)) {
        PutChangedTiles(picture);
    } else {
        return;
    }
    MemoryForgetChanges();
    PresentMade();
}
