// The score file's Windows file services: exclusive byte-wise reading, writing that cuts the file,
// the one-step replacement of the old file, and removal.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/platform.h"
#include "scratch_folder.h"

namespace {

using WindowsFilesTest = ScratchFolderTest;

std::string ReadAll(FileHandle* file) {
    std::string bytes;
    unsigned char byte = 0;
    while (platformFileAccess.readByte(file, &byte))
        bytes += static_cast<char>(byte);
    return bytes;
}

bool WriteWhole(const std::string& path, const std::string& bytes) {
    FileHandle* file = platformFileAccess.createForWriting(path.c_str());
    if (file == nullptr)
        return false;
    bool written = platformFileAccess.writeBytes(file, bytes.data(), bytes.size());
    return platformFileAccess.finishWriting(file) && written;
}

// ---- Reading ----

TEST_F(WindowsFilesTest, ReadingGivesEveryByteThenTheEnd) {
    PutFile("scores.asc", std::string("920 Pilot\r\n0\r\n\r\n\0\xff", 18));
    FileHandle* file = platformFileAccess.openForReading(PathOf("scores.asc").c_str());
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(ReadAll(file), std::string("920 Pilot\r\n0\r\n\r\n\0\xff", 18));
    unsigned char byte = 0;
    EXPECT_FALSE(platformFileAccess.readByte(file, &byte));
    EXPECT_FALSE(platformFileAccess.readFailed(file));
    platformFileAccess.closeReading(file);
}

TEST_F(WindowsFilesTest, AFailedReadIsToldFromTheEnd) {
    PutFile("scores.asc", "920 Pilot\r\n");
    FileHandle* file = platformFileAccess.openForReading(PathOf("scores.asc").c_str());
    ASSERT_NE(file, nullptr);
    unsigned char byte = 0;
    ASSERT_TRUE(platformFileAccess.readByte(file, &byte));
    CloseHandle(reinterpret_cast<HANDLE>(file));  // the handle goes bad under the reader
    EXPECT_FALSE(platformFileAccess.readByte(file, &byte));
    EXPECT_TRUE(platformFileAccess.readFailed(file));
    platformFileAccess.closeReading(file);
}

TEST_F(WindowsFilesTest, EmptyFileEndsAtOnce) {
    PutFile("scores.asc", "");
    FileHandle* file = platformFileAccess.openForReading(PathOf("scores.asc").c_str());
    ASSERT_NE(file, nullptr);
    unsigned char byte = 0;
    EXPECT_FALSE(platformFileAccess.readByte(file, &byte));
    platformFileAccess.closeReading(file);
}

TEST_F(WindowsFilesTest, MissingFileCannotBeOpened) {
    EXPECT_EQ(platformFileAccess.openForReading(PathOf("scores.asc").c_str()), nullptr);
    EXPECT_EQ(platformFileAccess.openForReading("no-such-folder/scores.asc"), nullptr);
    EXPECT_FALSE(platformFileAccess.exists(PathOf("scores.asc").c_str()));
    EXPECT_FALSE(platformFileAccess.exists("no-such-folder/scores.asc"));
}

TEST_F(WindowsFilesTest, NoOtherOpenerWhileTheFileIsRead) {
    PutFile("scores.asc", "1 ostrel\r\n");
    FileHandle* file = platformFileAccess.openForReading(PathOf("scores.asc").c_str());
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(platformFileAccess.openForReading(PathOf("scores.asc").c_str()), nullptr);
    EXPECT_EQ(platformFileAccess.createForWriting(PathOf("scores.asc").c_str()), nullptr);
    EXPECT_TRUE(platformFileAccess.exists(PathOf("scores.asc").c_str()));  // held, not missing
    platformFileAccess.closeReading(file);

    FileHandle* again = platformFileAccess.openForReading(PathOf("scores.asc").c_str());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(ReadAll(again), "1 ostrel\r\n");
    platformFileAccess.closeReading(again);
}

// ---- Writing ----

TEST_F(WindowsFilesTest, WritingCreatesTheFileWithExactlyTheBytes) {
    ASSERT_TRUE(WriteWhole(PathOf("scores.tmp"), "2 snake\r\n0\r\n\r\n"));
    EXPECT_EQ(FileBytes("scores.tmp"), "2 snake\r\n0\r\n\r\n");
}

TEST_F(WindowsFilesTest, WritingCutsALongerFileToTheNewBytes) {
    PutFile("scores.tmp", std::string(10000, '9'));
    ASSERT_TRUE(WriteWhole(PathOf("scores.tmp"), "0\r\n\r\n"));
    EXPECT_EQ(FileBytes("scores.tmp"), "0\r\n\r\n");
}

TEST_F(WindowsFilesTest, ManyWritesAddUpInOrder) {
    FileHandle* file = platformFileAccess.createForWriting(PathOf("scores.tmp").c_str());
    ASSERT_NE(file, nullptr);
    std::string expected;
    for (int i = 0; i < 200; ++i) {
        std::string line = std::to_string(1000 - i) + " name" + std::to_string(i) + "\r\n";
        ASSERT_TRUE(platformFileAccess.writeBytes(file, line.data(), line.size()));
        expected += line;
    }
    ASSERT_TRUE(platformFileAccess.writeBytes(file, "", 0));
    EXPECT_TRUE(platformFileAccess.finishWriting(file));
    EXPECT_EQ(FileBytes("scores.tmp"), expected);
}

TEST_F(WindowsFilesTest, WritingIntoAMissingFolderFails) {
    EXPECT_EQ(platformFileAccess.createForWriting(PathOf("textures/scores.asc").c_str()), nullptr);
}

// ---- Replacing and removing ----

TEST_F(WindowsFilesTest, ReplacingPutsTheNewFileInPlaceOfALongerOldOne) {
    PutFile("scores.asc", std::string(5000, '7'));
    ASSERT_TRUE(WriteWhole(PathOf("scores.tmp"), "3 rover\r\n0\r\n\r\n"));
    EXPECT_TRUE(platformFileAccess.replaceFile(PathOf("scores.tmp").c_str(), PathOf("scores.asc").c_str()));
    EXPECT_EQ(FileBytes("scores.asc"), "3 rover\r\n0\r\n\r\n");
    EXPECT_FALSE(Exists("scores.tmp"));
}

TEST_F(WindowsFilesTest, ReplacingWithoutAnOldFileCreatesIt) {
    ASSERT_TRUE(WriteWhole(PathOf("scores.tmp"), "0\r\n\r\n"));
    EXPECT_TRUE(platformFileAccess.replaceFile(PathOf("scores.tmp").c_str(), PathOf("scores.asc").c_str()));
    EXPECT_EQ(FileBytes("scores.asc"), "0\r\n\r\n");
    EXPECT_FALSE(Exists("scores.tmp"));
}

TEST_F(WindowsFilesTest, ReplacingFromAMissingFileFailsAndKeepsTheOldOne) {
    PutFile("scores.asc", "5 ostrel\r\n");
    EXPECT_FALSE(platformFileAccess.replaceFile(PathOf("scores.tmp").c_str(), PathOf("scores.asc").c_str()));
    EXPECT_EQ(FileBytes("scores.asc"), "5 ostrel\r\n");
}

TEST_F(WindowsFilesTest, RemovingDeletesTheFileOnce) {
    PutFile("scores.tmp", "partial");
    EXPECT_TRUE(platformFileAccess.removeFile(PathOf("scores.tmp").c_str()));
    EXPECT_FALSE(Exists("scores.tmp"));
    EXPECT_FALSE(platformFileAccess.removeFile(PathOf("scores.tmp").c_str()));
}

}  // namespace
