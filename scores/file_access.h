// The file services that the score file needs, as a seam: standard C++ stands in by default, the
// shell installs the operating system's own at start-up, and tests install failing ones.
#pragma once
#include <cstddef>

struct FileHandle;

struct FileAccess {
    // Opens for reading, shared with no other opener; null when it cannot be opened.
    FileHandle* (*openForReading)(const char* path);
    // One byte; false at the end of the file or on a read error.
    bool (*readByte)(FileHandle* file, unsigned char* byte);
    // True once a read of the file has failed, so that a false readByte was not simply its end.
    bool (*readFailed)(FileHandle* file);
    // False only when nothing stands at the path; a file that cannot be opened still exists.
    bool (*exists)(const char* path);
    // Closes a file opened for reading.
    void (*closeReading)(FileHandle* file);
    // Creates a new file for writing; null when anything already stands at the path (checked and
    // created in one step where the system can: another process may be making the same name) or
    // when it cannot be made.
    FileHandle* (*createForWriting)(const char* path);
    // Writes all the bytes; false when any could not be written.
    bool (*writeBytes)(FileHandle* file, const void* bytes, size_t count);
    // Flushes the file to the disk and closes it; false when any of that failed. Closed in any case.
    bool (*finishWriting)(FileHandle* file);
    // Puts the file from in place of the file to in one atomic step; false when that failed.
    bool (*replaceFile)(const char* from, const char* to);
    // Removes the file; false when it could not be removed.
    bool (*removeFile)(const char* path);
    // A line for whoever looks after the program: standard error, or the debugger output on Windows.
    void (*report)(const char* text);
};

extern FileAccess fileAccess;                // what the score file uses now
extern const FileAccess standardFileAccess;  // the standard C++ stand-in
