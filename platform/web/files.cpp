// The score file's services in the browser: the files live in the page's local storage, one item
// per path under "vornix/", holding the file's bytes as characters 0 to 255. Storage is synchronous,
// so a save is complete when it returns, also when the tab closes right after it, and one item is
// replaced in one step: a replacement is all or nothing.
#include <emscripten/emscripten.h>

#include <cstring>

#include "platform/platform.h"

namespace {

// A file is read whole into this buffer when it is opened; a larger one reads as far as the
// buffer holds (the game writes some 2 kB; a table of 2000 long names would take about 540 kB). A
// file being written gathers here until it is finished.
constexpr size_t fileBufferSize = 1 << 20;

struct OpenFile {
    bool inUse;
    bool writing;
    char path[64];
    size_t size;      // bytes held
    size_t position;  // the next byte to read
    unsigned char bytes[fileBufferSize];
};

// The score file never has more than one open.
OpenFile files[2];

// clang-format off
// Where storage throws (a private window, a full quota, storage turned off), the page says once that
// scores will not be kept; the game plays on.
EM_JS(void, StorageRefused, (), {
    var vx = Module.vornixWeb || (Module.vornixWeb = {});
    if (vx.storageNoted) return;
    vx.storageNoted = true;
    var note = document.getElementById("storage-note");
    if (note) note.hidden = false;
});

// The item's characters into bytes (up to capacity); -1 when there is none, -2 when storage throws.
EM_JS(int, ReadItem, (const char* path, unsigned char* bytes, int capacity), {
    var text;
    try {
        text = localStorage.getItem("vornix/" + UTF8ToString(path));
    } catch (e) {
        return -2;
    }
    if (text === null) return -1;
    var count = Math.min(text.length, capacity);
    for (var i = 0; i < count; ++i) HEAPU8[bytes + i] = text.charCodeAt(i) & 255;
    return count;
});

// 1 when stored, 0 when storage throws.
EM_JS(int, WriteItem, (const char* path, const unsigned char* bytes, int count), {
    var text = "";
    for (var at = 0; at < count; at += 8192) {
        text += String.fromCharCode.apply(null, HEAPU8.subarray(bytes + at, bytes + Math.min(count, at + 8192)));
    }
    try {
        localStorage.setItem("vornix/" + UTF8ToString(path), text);
        return 1;
    } catch (e) {
        return 0;
    }
});

// 1 when the item was there and is gone, 0 when there was none, -2 when storage throws.
EM_JS(int, RemoveItem, (const char* path), {
    try {
        var key = "vornix/" + UTF8ToString(path);
        if (localStorage.getItem(key) === null) return 0;
        localStorage.removeItem(key);
        return 1;
    } catch (e) {
        return -2;
    }
});
// clang-format on

OpenFile* Take(const char* path, bool writing) {
    if (std::strlen(path) >= sizeof files[0].path) {
        return nullptr;
    }
    for (OpenFile& file : files) {
        if (!file.inUse) {
            file.inUse = true;
            file.writing = writing;
            std::strcpy(file.path, path);
            file.size = 0;
            file.position = 0;
            return &file;
        }
    }
    return nullptr;
}

OpenFile* Of(FileHandle* handle) {
    return reinterpret_cast<OpenFile*>(handle);
}

FileHandle* OpenForReading(const char* path) {
    OpenFile* file = Take(path, false);
    if (file == nullptr) {
        return nullptr;
    }
    const int count = ReadItem(path, file->bytes, static_cast<int>(fileBufferSize));
    if (count < 0) {
        if (count == -2) {
            StorageRefused();
        }
        file->inUse = false;
        return nullptr;
    }
    file->size = static_cast<size_t>(count);
    return reinterpret_cast<FileHandle*>(file);
}

bool ReadByte(FileHandle* handle, unsigned char* byte) {
    OpenFile* file = Of(handle);
    if (file->position >= file->size) {
        return false;
    }
    *byte = file->bytes[file->position++];
    return true;
}

// The whole item was read at the open; nothing can fail after it.
bool ReadFailed(FileHandle*) {
    return false;
}

// Where storage cannot be asked, nothing is known to stand at the path: the defaults stand and the
// saves go to the score file's own place (and fail there, as storage refuses them).
bool Exists(const char* path) {
    unsigned char none[1];
    return ReadItem(path, none, 0) >= 0;
}

void CloseFile(FileHandle* handle) {
    Of(handle)->inUse = false;
}

FileHandle* CreateForWriting(const char* path) {
    return reinterpret_cast<FileHandle*>(Take(path, true));
}

bool WriteBytes(FileHandle* handle, const void* bytes, size_t count) {
    OpenFile* file = Of(handle);
    if (count > fileBufferSize - file->size) {
        return false;
    }
    std::memcpy(file->bytes + file->size, bytes, count);
    file->size += count;
    return true;
}

// The file reaches storage whole, in one step, or not at all.
bool FinishWriting(FileHandle* handle) {
    OpenFile* file = Of(handle);
    const bool stored = WriteItem(file->path, file->bytes, static_cast<int>(file->size)) != 0;
    if (!stored) {
        StorageRefused();
    }
    file->inUse = false;
    return stored;
}

// The target item is set to the temporary's bytes in one step, then the temporary goes; should
// storage refuse the second step, the target is already complete.
bool ReplaceFile(const char* from, const char* to) {
    OpenFile* file = Take(from, false);
    if (file == nullptr) {
        return false;
    }
    const int count = ReadItem(from, file->bytes, static_cast<int>(fileBufferSize));
    const bool replaced = count >= 0 && WriteItem(to, file->bytes, count) != 0;
    file->inUse = false;
    if (!replaced) {
        if (count != -1) {
            StorageRefused();
        }
        return false;
    }
    RemoveItem(from);
    return true;
}

bool RemoveFile(const char* path) {
    return RemoveItem(path) == 1;
}

}  // namespace

const FileAccess platformFileAccess = {
    OpenForReading, ReadByte,      ReadFailed,  Exists,     CloseFile,           CreateForWriting,
    WriteBytes,     FinishWriting, ReplaceFile, RemoveFile, PlatformDebugOutput,
};
