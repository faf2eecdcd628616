// The score file's POSIX services: exclusive byte-wise reading, complete writes that reach the
// disk, atomic replacement and removal.
#include <gtest/gtest.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/platform.h"

namespace {
int interruptedSyncs = 0;  // how many of the next syncs a signal interrupts
}  // namespace

// The C library's fsync, taken over for this test program so that a signal can interrupt it.
extern "C" int fsync(int descriptor) {
    if (interruptedSyncs > 0) {
        --interruptedSyncs;
        errno = EINTR;
        return -1;
    }
    return static_cast<int>(syscall(SYS_fsync, descriptor));
}

namespace {

class PosixFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder =
            ::testing::TempDir() + "vornix-files-" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(folder);
        ASSERT_TRUE(std::filesystem::create_directories(folder));
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string PathOf(const char* name) const { return folder + "/" + name; }

    bool Write(const std::string& path, const std::string& bytes) const {
        FileHandle* file = platformFileAccess.createForWriting(path.c_str());
        if (file == nullptr) {
            return false;
        }
        const bool written = platformFileAccess.writeBytes(file, bytes.data(), bytes.size());
        return platformFileAccess.finishWriting(file) && written;
    }

    std::string Read(const std::string& path) const {
        FileHandle* file = platformFileAccess.openForReading(path.c_str());
        if (file == nullptr) {
            return "<unopenable>";
        }
        std::string bytes;
        unsigned char byte;
        while (platformFileAccess.readByte(file, &byte)) {
            bytes.push_back(static_cast<char>(byte));
        }
        platformFileAccess.closeReading(file);
        return bytes;
    }

    std::string folder;
};

TEST_F(PosixFiles, WhatIsWrittenReadsBackByteForByte) {
    const std::string scores = "920 Pilot\r\n1 ostrel\r\n0\r\n\r\n";
    ASSERT_TRUE(Write(PathOf("scores.asc"), scores));
    EXPECT_EQ(Read(PathOf("scores.asc")), scores);
}

TEST_F(PosixFiles, AMissingFileCannotBeOpenedForReading) {
    EXPECT_EQ(platformFileAccess.openForReading(PathOf("absent.asc").c_str()), nullptr);
}

TEST_F(PosixFiles, AnInterruptedSyncIsAskedAgainAndTheSaveGoesThrough) {
    ASSERT_TRUE(Write(PathOf("scores.asc"), "old\r\n"));
    interruptedSyncs = 1;
    ASSERT_TRUE(Write(PathOf("scores.tmp"), "920 Pilot\r\n"));
    interruptedSyncs = 1;  // the folder's sync, after the rename
    EXPECT_TRUE(platformFileAccess.replaceFile(PathOf("scores.tmp").c_str(), PathOf("scores.asc").c_str()));
    EXPECT_EQ(interruptedSyncs, 0);
    EXPECT_EQ(Read(PathOf("scores.asc")), "920 Pilot\r\n");
}

// What keeps a file from being read is told apart from its absence, and a failed read from the end.
TEST_F(PosixFiles, AHeldFileOrAFailedReadIsNotAMissingFileNorItsEnd) {
    ASSERT_TRUE(Write(PathOf("scores.asc"), "5 a\r\n"));
    FileHandle* first = platformFileAccess.openForReading(PathOf("scores.asc").c_str());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(platformFileAccess.openForReading(PathOf("scores.asc").c_str()), nullptr);
    EXPECT_TRUE(platformFileAccess.exists(PathOf("scores.asc").c_str()));
    EXPECT_FALSE(platformFileAccess.exists(PathOf("absent.asc").c_str()));
    EXPECT_FALSE(platformFileAccess.exists(PathOf("absent/scores.asc").c_str()));
    EXPECT_EQ(Read(PathOf("scores.asc")), "<unopenable>");
    unsigned char byte;
    while (platformFileAccess.readByte(first, &byte)) {
    }
    EXPECT_FALSE(platformFileAccess.readFailed(first));
    platformFileAccess.closeReading(first);

    FileHandle* folderAsFile = platformFileAccess.openForReading(folder.c_str());  // every read fails
    ASSERT_NE(folderAsFile, nullptr);
    EXPECT_FALSE(platformFileAccess.readByte(folderAsFile, &byte));
    EXPECT_TRUE(platformFileAccess.readFailed(folderAsFile));
    platformFileAccess.closeReading(folderAsFile);
}

TEST_F(PosixFiles, WritingCutsAnOlderLongerFile) {
    ASSERT_TRUE(Write(PathOf("scores.asc"), std::string(1000, 'x')));
    ASSERT_TRUE(Write(PathOf("scores.asc"), "0\r\n"));
    EXPECT_EQ(Read(PathOf("scores.asc")), "0\r\n");
}

TEST_F(PosixFiles, LargeWritesArriveWhole) {
    std::string bytes(3 << 20, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * 7 + i / 251);
    }
    ASSERT_TRUE(Write(PathOf("large"), bytes));
    FILE* stream = std::fopen(PathOf("large").c_str(), "rb");
    ASSERT_NE(stream, nullptr);
    std::string back(bytes.size() + 1, '\0');
    EXPECT_EQ(std::fread(back.data(), 1, back.size(), stream), bytes.size());
    std::fclose(stream);
    back.resize(bytes.size());
    EXPECT_TRUE(back == bytes);
}

TEST_F(PosixFiles, ReplacingPutsTheNewFileInPlaceOfTheOld) {
    ASSERT_TRUE(Write(PathOf("scores.asc"), "old\r\n"));
    ASSERT_TRUE(Write(PathOf("scores.new"), "new\r\n"));
    EXPECT_TRUE(platformFileAccess.replaceFile(PathOf("scores.new").c_str(), PathOf("scores.asc").c_str()));
    EXPECT_EQ(Read(PathOf("scores.asc")), "new\r\n");
    EXPECT_EQ(platformFileAccess.openForReading(PathOf("scores.new").c_str()), nullptr);
}

TEST_F(PosixFiles, ReplacingFailsWithoutTheNewFileAndLeavesTheOld) {
    ASSERT_TRUE(Write(PathOf("scores.asc"), "old\r\n"));
    EXPECT_FALSE(platformFileAccess.replaceFile(PathOf("scores.new").c_str(), PathOf("scores.asc").c_str()));
    EXPECT_EQ(Read(PathOf("scores.asc")), "old\r\n");
}

TEST_F(PosixFiles, RelativePathsLiveInTheWorkingFolder) {
    // The game names its file "textures/scores.asc" and may replace a file in the folder itself.
    const std::string name = "vornix-relative-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed());
    ASSERT_TRUE(Write(name + ".new", "1 x\r\n"));
    EXPECT_TRUE(platformFileAccess.replaceFile((name + ".new").c_str(), (name + ".asc").c_str()));
    EXPECT_EQ(Read(name + ".asc"), "1 x\r\n");
    EXPECT_TRUE(platformFileAccess.removeFile((name + ".asc").c_str()));
}

TEST_F(PosixFiles, NothingIsCreatedInAMissingFolder) {
    EXPECT_EQ(platformFileAccess.createForWriting(PathOf("no-folder/scores.asc").c_str()), nullptr);
}

TEST_F(PosixFiles, RemovingTakesTheFileAwayOnce) {
    ASSERT_TRUE(Write(PathOf("scores.asc"), "x"));
    EXPECT_TRUE(platformFileAccess.removeFile(PathOf("scores.asc").c_str()));
    EXPECT_FALSE(platformFileAccess.removeFile(PathOf("scores.asc").c_str()));
    EXPECT_EQ(platformFileAccess.openForReading(PathOf("scores.asc").c_str()), nullptr);
}

}  // namespace
