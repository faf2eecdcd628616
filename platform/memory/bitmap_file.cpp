// The one BMP reader of the in-memory display. Files are read through the standard library, so
// the same reader serves the disk on Linux and the replays and the browser's in-memory files.
#include <cstdio>

#include "platform/bitmap_header.h"
#include "platform/memory/memory_internal.h"

namespace {

// The file header, the largest info header (124 bytes) and the three colour masks that may follow
// a 40-byte one.
constexpr size_t headBytes = 14 + 124 + 12;
constexpr uint32_t biRgb = 0;
constexpr uint32_t biBitfields = 3;

unsigned char head[headBytes];
uint32_t palette[256];
unsigned char row[largestBitmapSide * 4];

uint32_t Field(const unsigned char* at, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = value << 8 | at[i];
    }
    return value;
}

// One colour channel held under a mask, widened or narrowed to 8 bits.
struct Channel {
    uint32_t mask;
    int shift;
    int bits;
};

Channel ChannelOf(uint32_t mask) {
    Channel channel{mask, 0, 0};
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++channel.shift;
    }
    while ((mask & 1) != 0) {
        mask >>= 1;
        ++channel.bits;
    }
    return channel;
}

uint32_t Level(const Channel& channel, uint32_t value) {
    if (channel.bits == 0) {
        return 0;
    }
    const uint32_t held = (value & channel.mask) >> channel.shift;
    return channel.bits >= 8 ? held >> (channel.bits - 8) : held * 255 / ((1u << channel.bits) - 1);
}

// The pixels of one stored row.
void DecodeRow(const unsigned char* bytes, uint32_t bits, int32_t width, const Channel* masks, uint32_t* pixels) {
    for (int32_t x = 0; x < width; ++x) {
        if (bits <= 8) {
            const uint32_t perByte = 8 / bits;
            const uint32_t shift = 8 - bits * (1 + static_cast<uint32_t>(x) % perByte);
            pixels[x] = palette[(bytes[x / perByte] >> shift) & ((1u << bits) - 1)];
        } else if (bits == 24) {
            const unsigned char* at = bytes + 3 * x;
            pixels[x] = static_cast<uint32_t>(at[2]) << 16 | at[1] << 8 | at[0];
        } else {
            const uint32_t value = Field(bytes + x * (bits / 8), static_cast<int>(bits / 8));
            pixels[x] = Level(masks[0], value) << 16 | Level(masks[1], value) << 8 | Level(masks[2], value);
        }
    }
}

Bitmap* Read(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) {
        return nullptr;
    }
    const long size = std::ftell(file);
    if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0 ||
        std::fread(head, 1, bitmapHeaderBytes, file) != bitmapHeaderBytes ||
        !BitmapHeaderFits(head, bitmapHeaderBytes, size)) {
        return nullptr;
    }
    const uint32_t infoBytes = Field(head + 14, 4);
    if (infoBytes != 12 && (infoBytes < 40 || infoBytes > 124)) {
        return nullptr;
    }
    // The rest of the info header, and the masks that may follow a 40-byte one.
    const size_t needed = 14 + infoBytes < bitmapHeaderBytes ? 0 : 14 + infoBytes - bitmapHeaderBytes;
    const size_t wanted = infoBytes == 40 ? needed + 12 : needed;
    if (std::fread(head + bitmapHeaderBytes, 1, wanted, file) < needed) {
        return nullptr;
    }
    const bool core = infoBytes == 12;
    const int32_t width = core ? static_cast<int32_t>(Field(head + 18, 2)) : static_cast<int32_t>(Field(head + 18, 4));
    const int32_t height = core ? static_cast<int32_t>(Field(head + 20, 2)) : static_cast<int32_t>(Field(head + 22, 4));
    const uint32_t bits = Field(head + (core ? 24 : 28), 2);
    const uint32_t compression = core ? biRgb : Field(head + 30, 4);
    Channel masks[3] = {ChannelOf(0xFF0000), ChannelOf(0xFF00), ChannelOf(0xFF)};
    if (bits == 16) {
        masks[0] = ChannelOf(0x7C00);
        masks[1] = ChannelOf(0x3E0);
        masks[2] = ChannelOf(0x1F);
    }
    if (compression == biBitfields && (bits == 16 || bits == 32)) {
        for (int i = 0; i < 3; ++i) {
            masks[i] = ChannelOf(Field(head + 54 + 4 * i, 4));
        }
    } else if (compression != biRgb ||
               (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)) {
        return nullptr;
    }
    if (bits <= 8) {
        // The palette follows the info header: entries of blue, green, red (and a spare byte).
        const uint32_t used = core ? 0 : Field(head + 46, 4);
        const uint32_t entries = used != 0 && used < (1u << bits) ? used : 1u << bits;
        const size_t entryBytes = core ? 3 : 4;
        unsigned char entry[4];
        for (uint32_t i = 0; i < 256; ++i) {
            palette[i] = 0;
        }
        if (std::fseek(file, static_cast<long>(14 + infoBytes), SEEK_SET) != 0) {
            return nullptr;
        }
        for (uint32_t i = 0; i < entries; ++i) {
            if (std::fread(entry, 1, entryBytes, file) != entryBytes) {
                return nullptr;
            }
            palette[i] = static_cast<uint32_t>(entry[2]) << 16 | entry[1] << 8 | entry[0];
        }
    }
    const int32_t rows = height < 0 ? -height : height;
    Bitmap* bitmap = TakeBitmap(width, rows);
    if (bitmap == nullptr) {
        return nullptr;
    }
    const size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    bool read = std::fseek(file, static_cast<long>(Field(head + 10, 4)), SEEK_SET) == 0;
    for (int32_t y = 0; read && y < rows; ++y) {
        read = std::fread(row, 1, stride, file) == stride;
        if (!read) {
            break;
        }
        // A positive height stores the bottom row first.
        const int32_t line = height > 0 ? rows - 1 - y : y;
        DecodeRow(row, bits, width, masks, bitmap->pixels + static_cast<int64_t>(line) * width);
    }
    if (!read) {
        bitmap->inUse = false;
        return nullptr;
    }
    return bitmap;
}

}  // namespace

Bitmap* MemoryLoadBitmapFile(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return nullptr;
    }
    Bitmap* bitmap = Read(file);
    std::fclose(file);
    return bitmap;
}
