#include "profile/records_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "support/child_run.h"

namespace fs = std::filesystem;

namespace {
std::vector<char> bytesOf(const std::vector<float>& values) {
    std::vector<char> bytes(values.size() * 4);
    std::memcpy(bytes.data(), values.data(), bytes.size());
    return bytes;
}

std::vector<char> readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}
}  // namespace

class RecordsFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "mirevo-records-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all(folder); }
    bool save() { return writeRecordsFile((folder / "profile.zob").string(), done, best, longest); }
    bool load(const std::vector<char>& bytes) {
        std::istringstream in(std::string(bytes.begin(), bytes.end()));
        return readRecords(in, done, best, longest);
    }
    void writeProfileBytes(const std::vector<char>& bytes) {
        std::ofstream(folder / "profile.zob", std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    fs::path folder;
    std::vector<float> done = std::vector<float>(4, 0.0f);
    std::vector<float> best = std::vector<float>(4, 0.0f);
    std::vector<float> longest = std::vector<float>(4, 0.0f);
};

TEST_F(RecordsFile, FortyEightLittleEndianBytesInListOrder) {
    std::vector<char> bytes(48, 0);
    bytes[2] = static_cast<char>(0x80);  // 1.0f = 0x3f800000
    bytes[3] = 0x3f;
    bytes[30] = 0x20;  // 10.0f = 0x41200000, the last best score
    bytes[31] = 0x41;
    bytes.push_back('x');  // bytes beyond 48 are ignored
    EXPECT_TRUE(load(bytes));
    EXPECT_EQ(done[0], 1.0f);
    EXPECT_EQ(best[3], 10.0f);
    EXPECT_EQ(longest, std::vector<float>(4, 0.0f));
}

TEST_F(RecordsFile, TwentyBytesFillCompletionAndTheFirstScore) {
    std::vector<char> bytes = bytesOf({1, 0.5f, 0.25f, 1, 42, 9, 9, 9, 9, 9, 9, 9});
    bytes.resize(20);
    longest = {7, 7, 7, 7};
    EXPECT_FALSE(load(bytes));
    EXPECT_EQ(done, (std::vector<float>{1, 0.5f, 0.25f, 1}));
    EXPECT_EQ(best, (std::vector<float>{42, 0, 0, 0}));
    EXPECT_EQ(longest, (std::vector<float>{7, 7, 7, 7}));
    EXPECT_FALSE(load({}));
}

TEST_F(RecordsFile, SaveReplacesTheFileWholeAndNaNsBitForBit) {
    writeProfileBytes(std::vector<char>(100, 'z'));
    std::vector<char> bytes = bytesOf({1, 0, 1, 0.5f, 10, 20, 30, 40, 1.5f, 0, 0, 99});
    const unsigned char oddNaN[4] = {0x01, 0x02, 0xc0, 0xff};
    std::memcpy(bytes.data() + 4, oddNaN, 4);
    ASSERT_TRUE(load(bytes));
    ASSERT_TRUE(save());
    EXPECT_EQ(readFile(folder / "profile.zob"), bytes);
    EXPECT_FALSE(fs::exists(folder / "profile.zob.tmp"));
}

TEST_F(RecordsFile, NoScratchFileBesideAWritableFileMeansAWriteInPlace) {
    writeProfileBytes(std::vector<char>(100, 'z'));
    fs::create_directory(folder / "profile.zob.tmp");  // the scratch file cannot be made
    const std::vector<char> bytes = bytesOf({1, 1, 0, 0, 10, 20, 0, 0, 5, 6, 0, 0});
    ASSERT_TRUE(load(bytes));
    EXPECT_TRUE(save());
    EXPECT_EQ(readFile(folder / "profile.zob"), bytes);
    EXPECT_TRUE(fs::is_directory(folder / "profile.zob.tmp"));
}

// A folder or a FIFO under the name is never replaced, and a FIFO is not waited on.
TEST_F(RecordsFile, OnlyARegularFileIsReplaced) {
    fs::create_directories(folder / "folder" / "profile.zob" / "keep");
    fs::create_directory(folder / "fifo");
    ASSERT_EQ(mkfifo((folder / "fifo" / "profile.zob").c_str(), 0644), 0);
    for (const char* under : {"folder", "fifo"}) {
        const fs::path file = folder / under / "profile.zob";
        const ChildRun run = runInChild(
            [&] { return writeRecordsFile(file.string(), done, best, longest) ? 1 : 0; }, 5);
        ASSERT_TRUE(run.ended) << "the save over a " << under << " did not return within 5 s";
        EXPECT_EQ(run.status, 0) << "a " << under << " was replaced";
        EXPECT_EQ(fs::symlink_status(file).type(),
                  std::string(under) == "fifo" ? fs::file_type::fifo : fs::file_type::directory);
        EXPECT_FALSE(fs::exists(folder / under / "profile.zob.tmp")) << under;
    }
}
