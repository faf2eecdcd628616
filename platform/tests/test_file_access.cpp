// One contract for every set of file services the score file can run on: the standard C++
// stand-in and the operating system's own. Each test works in a scratch folder made the working
// folder, so the paths are the game's own relative ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "platform/platform.h"

// How many of the next syncs, and of the next reads of a file, a signal interrupts. Only where the C
// library's services can be taken over (not on Windows) does that happen.
int interruptedSyncs = 0, interruptedReads = 0;
#ifdef _WIN32
constexpr bool takenOver = false;
#else
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
constexpr bool takenOver = true;
// The C library's fsync and read, taken over in this program so that a signal can interrupt them:
// the POSIX services must ask again rather than lose the save or a byte.
extern "C" int fsync(int descriptor) {
    if (interruptedSyncs > 0) {
        --interruptedSyncs;
        errno = EINTR;
        return -1;
    }
    return static_cast<int>(syscall(SYS_fsync, descriptor));
}
extern "C" ssize_t read(int descriptor, void* bytes, size_t count) {
    struct stat status;
    if (interruptedReads > 0 && fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode)) {
        --interruptedReads;
        errno = EINTR;
        return -1;
    }
    return syscall(SYS_read, descriptor, bytes, count);
}
#endif

namespace {

struct Services {
    const char* name;
    const FileAccess* files;
    bool system;  // the system's own: a file being read cannot be opened again, a save reaches the disk
};

class FileServices : public ::testing::TestWithParam<Services> {
protected:
    void SetUp() override {
        std::string name = std::string("scratch-") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '-');
        home = std::filesystem::current_path();
        folder = home / name;
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder / "textures");
        std::filesystem::current_path(folder);
        interruptedSyncs = interruptedReads = 0;
    }
    void TearDown() override {
        std::filesystem::current_path(home);
        std::filesystem::remove_all(folder);
    }

    bool Write(const char* path, const std::string& bytes, int pieces = 1) const {
        FileHandle* file = files.createForWriting(path);
        if (file == nullptr)
            return false;
        bool written = files.writeBytes(file, "", 0);
        for (size_t at = 0, step = bytes.size() / pieces + 1; at < bytes.size(); at += step)
            written = files.writeBytes(file, bytes.data() + at, std::min(step, bytes.size() - at)) && written;
        return files.finishWriting(file) && written;
    }
    // Every byte until the end, and "<failed>" after them when a read failed; "<unopenable>".
    std::string Read(const char* path) const {
        FileHandle* file = files.openForReading(path);
        if (file == nullptr)
            return "<unopenable>";
        std::string bytes;
        unsigned char byte = 0;
        while (files.readByte(file, &byte))
            bytes += static_cast<char>(byte);
        const bool failed = files.readFailed(file);
        files.closeReading(file);
        return failed ? bytes + "<failed>" : bytes;
    }

    const FileAccess& files = *GetParam().files;
    std::filesystem::path home, folder;
};

// Written bytes read back whole, even when a signal interrupts the reads. A file is made only where
// nothing stands, so that two saves at once never write into one file.
TEST_P(FileServices, WrittenBytesReadBackWholeAndNoFileIsMadeOverAnother) {
    const std::string scores = std::string("920 Pilot\r\n1 ostrel\r\n0\r\n\r\n\0\xff", 28) + std::string(70000, 'x');
    ASSERT_TRUE(Write("textures/scores.asc", scores, 200));
    interruptedReads = 3;
    EXPECT_TRUE(Read("textures/scores.asc") == scores);
    EXPECT_TRUE(interruptedReads == 0 || !GetParam().system || !takenOver) << "the reads were not interrupted";
    EXPECT_EQ(files.createForWriting("textures/scores.asc"), nullptr);
    EXPECT_EQ(files.createForWriting("textures"), nullptr);
    EXPECT_TRUE(Read("textures/scores.asc") == scores);
    ASSERT_TRUE(files.removeFile("textures/scores.asc") && Write("textures/scores.asc", ""));
    EXPECT_EQ(Read("textures/scores.asc"), "");
}

// What keeps a file from being read is told apart from its absence, and a failed read from the end.
TEST_P(FileServices, AHeldFileOrAFailedReadIsNeitherAMissingFileNorItsEnd) {
    for (const char* path : {"textures/absent.asc", "absent/scores.asc"}) {
        EXPECT_EQ(Read(path), "<unopenable>") << path;
        EXPECT_FALSE(files.exists(path) || files.removeFile(path)) << path;
    }
    EXPECT_EQ(files.createForWriting("absent/scores.asc"), nullptr);
    ASSERT_TRUE(Write("textures/scores.asc", "5 a\r\n"));
    FileHandle* first = files.openForReading("textures/scores.asc");
    ASSERT_NE(first, nullptr);
    if (GetParam().system) {
        EXPECT_EQ(Read("textures/scores.asc"), "<unopenable>");
    }
    EXPECT_TRUE(files.exists("textures/scores.asc"));
    files.closeReading(first);
    EXPECT_EQ(Read("textures/scores.asc"), "5 a\r\n");
    // A folder opened as a file, where the system allows that, fails every read.
    const std::string folderRead = Read("textures");
    EXPECT_TRUE(folderRead == "<failed>" || folderRead == "<unopenable>") << folderRead;
}

// The save: a new file written beside the old one replaces it in one step, even when a signal
// interrupts the syncs; a replacement without a new file fails and keeps the old one.
TEST_P(FileServices, ReplacingPutsTheNewFileInPlaceOfTheOldOnce) {
    ASSERT_TRUE(Write("textures/scores.asc", std::string(5000, '7')));
    interruptedSyncs = 2;
    ASSERT_TRUE(Write("textures/scores.asc.tmp", "3 rover\r\n"));
    EXPECT_TRUE(files.replaceFile("textures/scores.asc.tmp", "textures/scores.asc"));
    EXPECT_EQ(Read("textures/scores.asc"), "3 rover\r\n");
    EXPECT_FALSE(files.exists("textures/scores.asc.tmp"));
    EXPECT_TRUE(interruptedSyncs == 0 || !GetParam().system || !takenOver)
        << "the file and its folder were not both synced";
    EXPECT_FALSE(files.replaceFile("textures/scores.asc.tmp", "textures/scores.asc"));
    EXPECT_EQ(Read("textures/scores.asc"), "3 rover\r\n");
}

INSTANTIATE_TEST_SUITE_P(Each, FileServices,
                         ::testing::Values(Services{"standard", &standardFileAccess, false},
                                           Services{"platform", &platformFileAccess, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
