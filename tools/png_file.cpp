// PNG encoder of the artwork generator. The zlib stream holds stored blocks only: the icons are
// small, and the format stays simple enough to write out field by field.
#include "tools/png_file.h"

#include <array>

namespace {

constexpr std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t maxStoredBlock = 65535;

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr std::array<std::uint32_t, 256> crcTable = MakeCrcTable();

void PutBig32(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

// Length, type, data, and the CRC of type and data.
void PutChunk(Bytes& out, const char* type, const Bytes& data) {
    PutBig32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBig32(out, Crc32(out.data() + typeAt, out.size() - typeAt));
}

// Each row: filter type 0 (none), then red, green, blue and alpha of every pixel.
Bytes RawRows(const RgbaImage& image) {
    Bytes raw;
    raw.reserve(static_cast<std::size_t>(image.height) * (1 + 4 * static_cast<std::size_t>(image.width)));
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < image.width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * image.width + x;
            raw.insert(raw.end(), {image.pixels[i].r, image.pixels[i].g, image.pixels[i].b, image.alpha[i]});
        }
    }
    return raw;
}

// A zlib stream (deflate, 32K window, no dictionary) of stored blocks, then the Adler-32.
Bytes StoredZlib(const Bytes& raw) {
    Bytes out = {0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t length = raw.size() - at < maxStoredBlock ? raw.size() - at : maxStoredBlock;
        const bool last = at + length == raw.size();
        out.push_back(last ? 1 : 0);  // BFINAL, BTYPE 00
        out.push_back(static_cast<std::uint8_t>(length));
        out.push_back(static_cast<std::uint8_t>(length >> 8));
        out.push_back(static_cast<std::uint8_t>(~length));
        out.push_back(static_cast<std::uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                   raw.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    } while (at < raw.size());
    PutBig32(out, Adler32(raw.data(), raw.size()));
    return out;
}

}  // namespace

std::uint32_t Crc32(const std::uint8_t* bytes, std::size_t count) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < count; ++i)
        c = crcTable[(c ^ bytes[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(const std::uint8_t* bytes, std::size_t count) {
    constexpr std::uint32_t modulus = 65521;
    std::uint32_t a = 1, b = 0;
    for (std::size_t i = 0; i < count; ++i) {
        a = (a + bytes[i]) % modulus;
        b = (b + a) % modulus;
    }
    return b << 16 | a;
}

Bytes EncodePng(const RgbaImage& image) {
    Bytes out(signature, signature + sizeof signature);
    Bytes header;
    PutBig32(header, static_cast<std::uint32_t>(image.width));
    PutBig32(header, static_cast<std::uint32_t>(image.height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, adaptive filters, no interlace
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", StoredZlib(RawRows(image)));
    PutChunk(out, "IEND", {});
    return out;
}
