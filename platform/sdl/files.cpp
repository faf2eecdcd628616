// The score file's services on POSIX: an exclusively locked reader handing out one byte per call
// from blocks it reads ahead, and a writer whose replacement of the old file is atomic and reaches
// the disk.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "platform/sdl/player_folder.h"

namespace {

// Handles are slots holding a descriptor; the score file never has more than one open.
constexpr int handleCapacity = 4;
int descriptors[handleCapacity] = {-1, -1, -1, -1};
bool readFailedIn[handleCapacity] = {};  // a read of the slot's file has failed

// One system call per byte made a hand-made file of a million lines hold up the start for half a
// minute: bytes come from a block read ahead, and the next block is read only when it is used up,
// so a failed read still shows after the last byte that could be read.
constexpr size_t readBlockBytes = 65536;
unsigned char readBlocks[handleCapacity][readBlockBytes];
size_t readNext[handleCapacity] = {};  // the next byte of the block to hand out
size_t readEnd[handleCapacity] = {};   // the bytes the block holds

FileHandle* TakeHandle(int descriptor) {
    for (int slot = 0; slot < handleCapacity; ++slot) {
        if (descriptors[slot] < 0) {
            descriptors[slot] = descriptor;
            readFailedIn[slot] = false;
            readNext[slot] = readEnd[slot] = 0;
            return reinterpret_cast<FileHandle*>(&descriptors[slot]);
        }
    }
    close(descriptor);
    return nullptr;
}

int& SlotOf(FileHandle* file) {
    return *reinterpret_cast<int*>(file);
}

ptrdiff_t IndexOf(FileHandle* file) {
    return &SlotOf(file) - descriptors;
}

// fsync can be interrupted by a signal on some file systems (network and FUSE ones): an
// interrupted sync is asked again, like an interrupted open or write, rather than dropping the save.
bool Sync(int descriptor) {
    int result;
    do {
        result = fsync(descriptor);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

FileHandle* OpenForReading(const char* path) {
    int descriptor;
    do {
        descriptor = open(path, O_RDONLY | O_CLOEXEC);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) {
        return nullptr;
    }
    // No other opener while the file is read: a second reader holding the lock is refused.
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        close(descriptor);
        return nullptr;
    }
    return TakeHandle(descriptor);
}

bool ReadByte(FileHandle* file, unsigned char* byte) {
    const ptrdiff_t slot = IndexOf(file);
    if (readNext[slot] == readEnd[slot]) {
        ssize_t count;
        do {
            count = read(SlotOf(file), readBlocks[slot], readBlockBytes);
        } while (count < 0 && errno == EINTR);
        if (count <= 0) {
            readFailedIn[slot] = readFailedIn[slot] || count < 0;
            return false;
        }
        readNext[slot] = 0;
        readEnd[slot] = static_cast<size_t>(count);
    }
    *byte = readBlocks[slot][readNext[slot]++];
    return true;
}

bool ReadFailed(FileHandle* file) {
    return readFailedIn[IndexOf(file)];
}

// Only a missing name counts as missing: a file that is locked or forbidden still exists.
bool Exists(const char* path) {
    struct stat status;
    return stat(path, &status) == 0 || (errno != ENOENT && errno != ENOTDIR);
}

void CloseHandle(FileHandle* file) {
    int& slot = SlotOf(file);
    close(slot);
    slot = -1;
}

FileHandle* CreateForWriting(const char* path) {
    if (ScoreWritingRefused()) {
        return nullptr;
    }
    int descriptor;
    do {
        descriptor = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) {
        return nullptr;
    }
    return TakeHandle(descriptor);
}

bool WriteBytes(FileHandle* file, const void* bytes, size_t count) {
    const char* next = static_cast<const char*>(bytes);
    while (count > 0) {
        const ssize_t written = write(SlotOf(file), next, count);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        next += written;
        count -= static_cast<size_t>(written);
    }
    return true;
}

bool FinishWriting(FileHandle* file) {
    const bool synced = Sync(SlotOf(file));
    int& slot = SlotOf(file);
    const bool closed = close(slot) == 0;
    slot = -1;
    return synced && closed;
}

// After a rename the new name lives in the folder's entries: those must reach the disk as well.
bool SyncFolderOf(const char* path) {
    char folder[PATH_MAX];
    const char* slash = std::strrchr(path, '/');
    if (slash == nullptr) {
        folder[0] = '.';
        folder[1] = '\0';
    } else {
        const size_t length = slash == path ? 1 : static_cast<size_t>(slash - path);
        if (length >= sizeof folder) {
            return false;
        }
        std::memcpy(folder, path, length);
        folder[length] = '\0';
    }
    const int descriptor = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        return false;
    }
    const bool synced = Sync(descriptor);
    close(descriptor);
    return synced;
}

bool ReplaceFile(const char* from, const char* to) {
    if (ScoreWritingRefused() || std::rename(from, to) != 0) {
        return false;
    }
    return SyncFolderOf(to);
}

bool RemoveFile(const char* path) {
    return !ScoreWritingRefused() && unlink(path) == 0;
}

}  // namespace

const FileAccess platformFileAccess = {
    OpenForReading, ReadByte,      ReadFailed,  Exists,     CloseHandle,         CreateForWriting,
    WriteBytes,     FinishWriting, ReplaceFile, RemoveFile, PlatformDebugOutput,
};
