// Bitmaps, drawing contexts and text on GDI: loading a bitmap from a resource or a BMP file,
// stretching it onto a surface's context, and opaque text.
#include <windows.h>
// Builds on the types of windows.h, so it comes after it.
#include <ddraw.h>

#include "platform/bitmap_header.h"
#include "platform/platform.h"

namespace {

HDC ToHdc(DrawContext* context) {
    return reinterpret_cast<HDC>(context);
}
HBITMAP ToHbitmap(Bitmap* bitmap) {
    return reinterpret_cast<HBITMAP>(bitmap);
}
IDirectDrawSurface7* ToDirectDrawSurface(Surface* surface) {
    return reinterpret_cast<IDirectDrawSurface7*>(surface);
}

// LoadImageA takes the memory that a file's header claims before it reads a pixel: a 1 KB file
// claiming 20000 x 20000 made it ask for 1.2 GB and end the program. The header check that every
// platform makes is asked first, and a file it refuses is treated as one that cannot be read.
bool HeaderFits(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    unsigned char header[bitmapHeaderBytes];
    DWORD count = 0;
    LARGE_INTEGER size = {};
    const bool read = ReadFile(file, header, sizeof header, &count, NULL) && GetFileSizeEx(file, &size);
    CloseHandle(file);
    return read && BitmapHeaderFits(header, count, size.QuadPart);
}

}  // namespace

Bitmap* PlatformLoadBitmapFile(const char* path) {
    if (!HeaderFits(path))
        return nullptr;
    HANDLE image = LoadImageA(NULL, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    return reinterpret_cast<Bitmap*>(image);
}

void PlatformGetBitmapSize(Bitmap* bitmap, int32_t* width, int32_t* height) {
    BITMAP record = {};
    GetObjectA(ToHbitmap(bitmap), sizeof(record), &record);
    *width = record.bmWidth;
    *height = record.bmHeight;
}

void PlatformDeleteBitmap(Bitmap* bitmap) {
    DeleteObject(ToHbitmap(bitmap));
}

DrawContext* PlatformCreateMemoryContext() {
    return reinterpret_cast<DrawContext*>(CreateCompatibleDC(NULL));
}

void PlatformSelectBitmap(DrawContext* context, Bitmap* bitmap) {
    SelectObject(ToHdc(context), ToHbitmap(bitmap));
}

void PlatformDeleteMemoryContext(DrawContext* context) {
    DeleteDC(ToHdc(context));
}

HRESULT PlatformGetDC(Surface* surface, DrawContext** context) {
    HDC dc = NULL;
    HRESULT result = ToDirectDrawSurface(surface)->GetDC(&dc);
    *context = result == DD_OK ? reinterpret_cast<DrawContext*>(dc) : nullptr;
    return result;
}

HRESULT PlatformReleaseDC(Surface* surface, DrawContext* context) {
    return ToDirectDrawSurface(surface)->ReleaseDC(ToHdc(context));
}

void PlatformStretchCopy(DrawContext* destination, int32_t x, int32_t y, int32_t width, int32_t height,
                         DrawContext* source, int32_t sourceX, int32_t sourceY, int32_t sourceWidth,
                         int32_t sourceHeight) {
    StretchBlt(ToHdc(destination), x, y, width, height, ToHdc(source), sourceX, sourceY, sourceWidth, sourceHeight,
               SRCCOPY);
}

void PlatformSetOpaqueBackground(DrawContext* context) {
    SetBkMode(ToHdc(context), OPAQUE);
}

void PlatformSetBackgroundColour(DrawContext* context, uint32_t colour) {
    SetBkColor(ToHdc(context), colour);
}

void PlatformSetTextColour(DrawContext* context, uint32_t colour) {
    SetTextColor(ToHdc(context), colour);
}

void PlatformTextOut(DrawContext* context, int32_t x, int32_t y, const char* text, int32_t count) {
    TextOutA(ToHdc(context), x, y, text, count);
}
