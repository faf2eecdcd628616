// vornix_artwork OUTPUT_DIR: writes the game's three bitmaps under OUTPUT_DIR/textures, its
// icon as OUTPUT_DIR/vornix-icon.bmp and OUTPUT_DIR/vornix.ico, and the desktop's application
// icon at each size as OUTPUT_DIR/icons/vornix-N.png.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "tools/artwork.h"
#include "tools/bitmap_files.h"

namespace {

bool Save(const std::filesystem::path& path, const Bytes& bytes) {
    if (WriteFile(path.string(), bytes))
        return true;
    std::fprintf(stderr, "vornix_artwork: cannot write %s\n", path.string().c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vornix_artwork OUTPUT_DIR\n");
        return 2;
    }
    const std::filesystem::path out(argv[1]);
    std::error_code error;
    for (const char* folder : {"textures", "icons"}) {
        std::filesystem::create_directories(out / folder, error);
        if (error) {
            std::fprintf(stderr, "vornix_artwork: cannot create %s: %s\n", (out / folder).string().c_str(),
                         error.message().c_str());
            return 1;
        }
    }
    const IndexedImage icon = DrawIcon();
    // The window icon as a plain bitmap has no mask; its see-through corners become black.
    bool ok = Save(out / "textures" / "background.bmp", EncodeBmp24(DrawBackground())) &&
              Save(out / "textures" / "cube.bmp", EncodeBmp24(DrawBackdropStrip())) &&
              Save(out / "textures" / "icons.bmp", EncodeBmp24(DrawAtlas())) &&
              Save(out / "vornix-icon.bmp", EncodeBmp24(ToRgb(icon, {0, 0, 0}))) &&
              Save(out / "vornix.ico", EncodeIco4(icon));
    for (const int size : appIconSizes)
        ok = ok && Save(out / "icons" / ("vornix-" + std::to_string(size) + ".png"), EncodePng(DrawAppIcon(size)));
    return ok ? 0 : 1;
}
