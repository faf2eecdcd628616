// The null platform's folder: the score file's services on a few files kept in memory.
#include <cstdio>
#include <cstring>

#include "platform/null/null_platform.h"

struct FileHandle {
    int file;      // index into the folder
    size_t at;     // next byte to read
    bool writing;  // the file is being written
};

namespace {

constexpr int fileCapacity = 4;
constexpr size_t fileBytes = 64 * 1024;  // a score file of 200 names of 255 letters fits
struct StoredFile {
    char path[64];
    char bytes[fileBytes];
    size_t size;
    bool exists;
};
StoredFile folder[fileCapacity];
FileHandle handles[fileCapacity];

int FindFile(const char* path) {
    for (int i = 0; i < fileCapacity; ++i) {
        if (folder[i].exists && std::strcmp(folder[i].path, path) == 0)
            return i;
    }
    return -1;
}

int MakeFile(const char* path) {
    int slot = FindFile(path);
    for (int i = 0; slot < 0 && i < fileCapacity; ++i) {
        if (!folder[i].exists)
            slot = i;
    }
    if (slot < 0 || std::strlen(path) >= sizeof folder[slot].path)
        return -1;
    std::snprintf(folder[slot].path, sizeof folder[slot].path, "%s", path);
    folder[slot].size = 0;
    folder[slot].exists = true;
    return slot;
}

FileHandle* OpenHandle(int file, bool writing) {
    if (file < 0)
        return nullptr;
    handles[file] = FileHandle{file, 0, writing};
    return &handles[file];
}

FileHandle* OpenForReading(const char* path) {
    return OpenHandle(FindFile(path), false);
}
bool ReadByte(FileHandle* file, unsigned char* byte) {
    const StoredFile& stored = folder[file->file];
    if (file->at >= stored.size)
        return false;
    *byte = static_cast<unsigned char>(stored.bytes[file->at++]);
    return true;
}
bool ReadFailed(FileHandle*) {
    return false;
}
bool Exists(const char* path) {
    return FindFile(path) >= 0;
}
void CloseReading(FileHandle*) {}
// A new file only: nothing is made over a file that stands at the path, as on every platform.
FileHandle* CreateForWriting(const char* path) {
    return FindFile(path) >= 0 ? nullptr : OpenHandle(MakeFile(path), true);
}
bool WriteBytes(FileHandle* file, const void* bytes, size_t count) {
    StoredFile& stored = folder[file->file];
    if (count > fileBytes - stored.size)
        return false;  // a full disk
    std::memcpy(stored.bytes + stored.size, bytes, count);
    stored.size += count;
    return true;
}
bool FinishWriting(FileHandle*) {
    return true;
}
bool ReplaceFile(const char* from, const char* to) {
    const int source = FindFile(from);
    if (source < 0)
        return false;
    const int existing = FindFile(to);
    if (existing >= 0)
        folder[existing].exists = false;
    std::snprintf(folder[source].path, sizeof folder[source].path, "%s", to);
    return true;
}
bool RemoveFile(const char* path) {
    const int file = FindFile(path);
    if (file < 0)
        return false;
    folder[file].exists = false;
    return true;
}
void Report(const char* text) {
    std::fputs(text, stderr);
}
}  // namespace

const FileAccess platformFileAccess = {OpenForReading, ReadByte,         ReadFailed, Exists,
                                       CloseReading,   CreateForWriting, WriteBytes, FinishWriting,
                                       ReplaceFile,    RemoveFile,       Report};
bool NullPutFile(const char* path, const char* bytes, size_t count) {
    const int file = MakeFile(path);
    if (file < 0 || count > fileBytes)
        return false;
    std::memcpy(folder[file].bytes, bytes, count);
    folder[file].size = count;
    return true;
}

const char* NullFile(const char* path, size_t* size) {
    const int file = FindFile(path);
    if (file < 0)
        return nullptr;
    *size = folder[file].size;
    return folder[file].bytes;
}

void NullEmptyFolder() {
    for (StoredFile& file : folder)
        file.exists = false;
}
