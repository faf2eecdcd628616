// A scratch folder for one test, made fresh in the working directory and removed afterwards, with
// small helpers to put bytes into files and read them back.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

class ScratchFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::string("scratch-") + test->test_suite_name() + "-" + test->name();
        Clear();
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), NULL));
    }
    void TearDown() override { Clear(); }

    std::string PathOf(const std::string& name) const { return folder + "/" + name; }

    void PutFile(const std::string& name, const std::string& bytes) const {
        std::ofstream(PathOf(name), std::ios::binary) << bytes;
    }
    std::string FileBytes(const std::string& name) const {
        std::ifstream in(PathOf(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool Exists(const std::string& name) const {
        return GetFileAttributesA(PathOf(name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    std::string folder;

private:
    void Clear() const {
        WIN32_FIND_DATAA entry;
        HANDLE search = FindFirstFileA((folder + "/*").c_str(), &entry);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileA(PathOf(entry.cFileName).c_str());
            } while (FindNextFileA(search, &entry));
            FindClose(search);
        }
        RemoveDirectoryA(folder.c_str());
    }
};
