// The score file's file services on the Windows kernel: exclusive one-byte reads, and a write
// that is flushed to the disk before it replaces the old file in one step.
#include <windows.h>

#include "platform/platform.h"

namespace {

HANDLE ToHandle(FileHandle* file) {
    return reinterpret_cast<HANDLE>(file);
}

FileHandle* ToFileHandle(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? nullptr : reinterpret_cast<FileHandle*>(handle);
}

FileHandle* OpenForReading(const char* path) {
    return ToFileHandle(CreateFileA(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL));
}

// The file whose read failed last; the program reads one file at a time.
HANDLE failedReading = INVALID_HANDLE_VALUE;

bool ReadByte(FileHandle* file, unsigned char* byte) {
    DWORD count = 0;
    if (!ReadFile(ToHandle(file), byte, 1, &count, NULL)) {
        failedReading = ToHandle(file);
        return false;
    }
    return count == 1;  // a successful read of nothing is the end of the file
}

bool ReadFailed(FileHandle* file) {
    return ToHandle(file) == failedReading;
}

// A file held open by another process, or one that may not be read, still has its attributes;
// only a name that is not there, or a folder that is not, is missing.
bool Exists(const char* path) {
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES)
        return true;
    DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

void CloseReading(FileHandle* file) {
    if (ToHandle(file) == failedReading)
        failedReading = INVALID_HANDLE_VALUE;
    CloseHandle(ToHandle(file));
}

FileHandle* CreateForWriting(const char* path) {
    return ToFileHandle(CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL));
}

bool WriteBytes(FileHandle* file, const void* bytes, size_t count) {
    const char* next = static_cast<const char*>(bytes);
    while (count > 0) {
        DWORD chunk = count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count);
        DWORD written = 0;
        if (!WriteFile(ToHandle(file), next, chunk, &written, NULL) || written == 0)
            return false;
        next += written;
        count -= written;
    }
    return true;
}

bool FinishWriting(FileHandle* file) {
    bool flushed = FlushFileBuffers(ToHandle(file)) != 0;
    bool closed = CloseHandle(ToHandle(file)) != 0;
    return flushed && closed;
}

bool MoveOver(const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveFile(const char* path) {
    return DeleteFileA(path) != 0;
}

void Report(const char* text) {
    OutputDebugStringA(text);
}

}  // namespace

const FileAccess platformFileAccess = {
    OpenForReading, ReadByte,      ReadFailed, Exists,     CloseReading, CreateForWriting,
    WriteBytes,     FinishWriting, MoveOver,   RemoveFile, Report,
};
