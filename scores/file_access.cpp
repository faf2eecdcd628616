// The standard C++ stand-in for the score file's file services, on <cstdio> streams.
#include "scores/file_access.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

// A handle of this stand-in is the stream itself; FileHandle stays opaque so that every set of
// services can give it its own meaning.
FILE* Stream(FileHandle* file) {
    return reinterpret_cast<FILE*>(file);
}
FileHandle* Handle(FILE* stream) {
    return reinterpret_cast<FileHandle*>(stream);
}

FileHandle* OpenForReading(const char* path) {
    return Handle(std::fopen(path, "rb"));
}

bool ReadByte(FileHandle* file, unsigned char* byte) {
    int read = std::fgetc(Stream(file));
    if (read == EOF)
        return false;
    *byte = static_cast<unsigned char>(read);
    return true;
}

bool ReadFailed(FileHandle* file) {
    return std::ferror(Stream(file)) != 0;
}

// Only "not found" counts as missing: a file behind a folder that cannot be searched may well exist.
bool Exists(const char* path) {
    std::error_code error;
    return std::filesystem::status(path, error).type() != std::filesystem::file_type::not_found;
}

void CloseReading(FileHandle* file) {
    std::fclose(Stream(file));
}

// Binary mode: the writer puts its own CR LF line ends into the bytes. Standard C++ cannot test
// and create in one step; the operating system's services do that.
FileHandle* CreateForWriting(const char* path) {
    if (Exists(path))
        return nullptr;
    return Handle(std::fopen(path, "wb"));
}

bool WriteBytes(FileHandle* file, const void* bytes, size_t count) {
    return std::fwrite(bytes, 1, count, Stream(file)) == count;
}

// Standard C++ cannot ask the disk to sync; the operating system's services do that.
bool FinishWriting(FileHandle* file) {
    FILE* stream = Stream(file);
    bool flushed = std::fflush(stream) == 0;
    bool closed = std::fclose(stream) == 0;
    return flushed && closed;
}

// std::rename replaces an existing file in one step where the C library follows POSIX; the Windows
// one refuses an existing target, and there std::filesystem::rename replaces it.
bool ReplaceFile(const char* from, const char* to) {
    if (std::rename(from, to) == 0)
        return true;
    std::error_code error;
    std::filesystem::rename(from, to, error);
    return !error;
}

bool RemoveFile(const char* path) {
    return std::remove(path) == 0;
}

void Report(const char* text) {
    std::fputs(text, stderr);
    std::fflush(stderr);
}

// Both program-wide sets are constant-initialised from this one, so neither depends on the order
// in which other files' start-up code runs.
constexpr FileAccess standardServices = {
    OpenForReading, ReadByte,      ReadFailed,  Exists,     CloseReading, CreateForWriting,
    WriteBytes,     FinishWriting, ReplaceFile, RemoveFile, Report,
};

}  // namespace

const FileAccess standardFileAccess = standardServices;
FileAccess fileAccess = standardServices;
