#include "manifest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

fs::path scratch(const std::string& name) {
    fs::path dir = fs::temp_directory_path() / ("mirevo_manifest_" + name);
    fs::remove_all(dir);
    fs::create_directories(dir / "graphs" / "b");
    return dir;
}

void write(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary);
    out << bytes;
}

}  // namespace

TEST(Manifest, ChecksumIsFnv1a) {
    fs::path dir = scratch("sum");
    write(dir / "empty", "");
    write(dir / "a", "a");
    uint64_t size = 99;
    bool ok = false;
    EXPECT_EQ(fileChecksum(dir / "empty", size, ok), "cbf29ce484222325");
    EXPECT_TRUE(ok);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(fileChecksum(dir / "a", size, ok), "af63dc4c8601ec8c");
    EXPECT_EQ(size, 1u);
    fs::remove_all(dir);
}

TEST(Manifest, WrittenSortedAndReadBack) {
    fs::path dir = scratch("round");
    write(dir / "graphs" / "z.png", "zz");
    write(dir / "graphs" / "b" / "a.png", "abc");
    write(dir / "graphs" / "A.txt", "x");
    ASSERT_TRUE(writeManifest(dir, "graphs", dir / "list"));
    std::vector<ManifestEntry> entries;
    ASSERT_TRUE(readManifest(dir / "list", entries));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].path, "graphs/A.txt");
    EXPECT_EQ(entries[1].path, "graphs/b/a.png");
    EXPECT_EQ(entries[1].size, 3u);
    EXPECT_EQ(entries[2].path, "graphs/z.png");
    std::vector<ManifestEntry> again = scanTree(dir, "graphs");
    ASSERT_EQ(again.size(), 3u);
    EXPECT_EQ(again[2].checksum, entries[2].checksum);
    fs::remove_all(dir);
}

TEST(Manifest, RejectsMalformedAndEmpty) {
    fs::path dir = scratch("bad");
    write(dir / "list", "graphs/x.png 12\n");
    std::vector<ManifestEntry> entries;
    EXPECT_FALSE(readManifest(dir / "list", entries));
    EXPECT_FALSE(readManifest(dir / "missing", entries));
    // An empty tree gives no manifest worth keeping.
    EXPECT_FALSE(writeManifest(dir, "graphs", dir / "list2"));
    fs::remove_all(dir);
}
