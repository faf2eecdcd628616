// The one check of a BMP file's header that every platform makes before it loads the file. The
// header is outside input: a loader allocates whatever size it claims before it reads a pixel, so a
// 1 KB file claiming 20000 x 20000 would ask for gigabytes.
#pragma once
#include <cstddef>
#include <cstdint>

// The bytes of the file that the check reads: the file header and the start of the info header.
constexpr size_t bitmapHeaderBytes = 30;
// No side of a bitmap may exceed this.
constexpr int64_t largestBitmapSide = 16384;

// True when header (the first count bytes of a file of fileSize bytes) is a BMP header whose sides
// are positive (a negative height stands for rows stored top first) and at most 16384, and whose
// rows, each padded to four bytes, fit in the file after the offset where its pixels begin.
// Compressed files are weighed by the same rule: a picture is never allowed more pixel memory than
// its file could hold uncompressed.
bool BitmapHeaderFits(const unsigned char* header, size_t count, int64_t fileSize);
