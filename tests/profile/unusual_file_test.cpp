// The records file when it is not a plain file of this user: missing, unreadable,
// read-only, or a symbolic link. Loaded at start-up and saved at exit as the game does.
#include <grp.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "profile/profile.h"
#include "support/game_folder.h"

namespace fs = std::filesystem;

namespace {
const std::string kept = [] {
    const float values[12] = {1, 0, 1, 0, 250.5f, 0, 90, 0, 0, 0, 0, 73.2f};
    return std::string(reinterpret_cast<const char*>(values), sizeof values);
}();

void writeBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

// One run of the game as far as the records go: load at start-up, a play that sets every
// record, save at exit. Keeps what was loaded, the lines written and the save's result.
struct GameRun {
    std::vector<float> done = std::vector<float>(4, 0.0f);
    std::vector<float> best = std::vector<float>(4, 0.0f);
    std::vector<float> longest = std::vector<float>(4, 0.0f);
    std::vector<float> loaded;
    std::string out;
    std::string err;
    bool saved = false;

    void go() {
        std::ostringstream o, e;
        std::streambuf* keptOut = std::cout.rdbuf(o.rdbuf());
        std::streambuf* keptErr = std::cerr.rdbuf(e.rdbuf());
        std::ifstream stream;
        loadProfileFile(stream, done, best, longest);
        loaded = done;
        loaded.insert(loaded.end(), best.begin(), best.end());
        loaded.insert(loaded.end(), longest.begin(), longest.end());
        done.assign(4, 1.0f);
        best.assign(4, 500.0f);
        longest.assign(4, 60.0f);
        saved = saveProfileFile(stream, done, best, longest);
        std::cout.rdbuf(keptOut);
        std::cerr.rdbuf(keptErr);
        out = o.str();
        err = e.str();
    }
};

// Runs the game's load and save as a user who may not read the records file (nobody when
// the tests run as root, as in CI, where no file is unreadable), in a child process. Exits
// 0 when the load read nothing and the save refused; writes the save's line on stderr.
[[noreturn]] void runAsUserWhoCannotRead() {
    if (getuid() == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) {
            std::fprintf(stderr, "cannot become nobody\n");
            std::_Exit(3);
        }
    }
    if (std::ifstream("profile.zob").is_open()) {
        std::fprintf(stderr, "the records file is readable: nothing tested\n");
        std::_Exit(4);
    }
    GameRun run;
    run.go();
    std::cerr << run.err << std::flush;
    const bool nothingLoaded = run.loaded == std::vector<float>(12, 0.0f);
    const bool linesRight = run.out == "loading profile\nerror loading profile !\n";
    std::_Exit(nothingLoaded && linesRight && !run.saved ? 0 : 1);
}
}  // namespace

TEST(UnusualRecordsFile, AMissingFileIsCreatedWithZerosThenSaved) {
    GameFolder folder(false);
    GameRun run;
    std::ostringstream o;
    std::streambuf* keptOut = std::cout.rdbuf(o.rdbuf());
    std::ifstream stream;
    loadProfileFile(stream, run.done, run.best, run.longest);
    std::cout.rdbuf(keptOut);
    EXPECT_EQ(o.str(), "creating new profile\n");
    EXPECT_EQ(folder.read("profile.zob"), std::string(48, '\0'));
    stream.close();
    run.go();
    EXPECT_EQ(run.out, "loading profile\n");
    EXPECT_TRUE(run.saved);
    EXPECT_EQ(run.err, "profile saved\n");
    EXPECT_EQ(folder.read("profile.zob").size(), 48u);
}

TEST(UnusualRecordsFile, AFileThatCannotBeReadIsNeitherCreatedAgainNorReplaced) {
    GameFolder folder(false);
    writeBytes(folder.file("profile.zob"), kept);
    fs::permissions(folder.path, fs::perms::all);  // the other user may write the folder
    fs::permissions(folder.file("profile.zob"), fs::perms::none);
    EXPECT_EXIT(runAsUserWhoCannotRead(), testing::ExitedWithCode(0), "error saving profile !");
    fs::permissions(folder.file("profile.zob"), fs::perms::owner_read);
    EXPECT_EQ(folder.read("profile.zob"), kept);
    EXPECT_FALSE(fs::exists(folder.file("profile.zob.tmp")));
}

TEST(UnusualRecordsFile, AReadOnlyFileIsLoadedButNeverReplaced) {
    GameFolder folder(false);
    writeBytes(folder.file("profile.zob"), kept);
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read;
    fs::permissions(folder.file("profile.zob"), readOnly);
    GameRun run;
    run.go();
    EXPECT_EQ(run.out, "loading profile\n");
    EXPECT_EQ(run.loaded[4], 250.5f);
    EXPECT_FALSE(run.saved);
    EXPECT_EQ(run.err, "error saving profile !\n");
    EXPECT_EQ(folder.read("profile.zob"), kept);
    EXPECT_EQ(fs::status(folder.file("profile.zob")).permissions(), readOnly);
    EXPECT_FALSE(fs::exists(folder.file("profile.zob.tmp")));
}

TEST(UnusualRecordsFile, ALinkIsSavedThroughAndStaysALink) {
    GameFolder folder(false);
    const fs::path elsewhere = fs::path(folder.path) / "elsewhere";
    fs::create_directory(elsewhere);
    writeBytes(elsewhere / "records.bin", kept);
    const fs::perms privateFile = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(elsewhere / "records.bin", privateFile);
    fs::create_symlink("elsewhere/records.bin", folder.file("profile.zob"));
    GameRun run;
    run.go();
    EXPECT_EQ(run.loaded[11], 73.2f);
    EXPECT_TRUE(run.saved);
    EXPECT_EQ(run.err, "profile saved\n");
    ASSERT_TRUE(fs::is_symlink(folder.file("profile.zob")));
    EXPECT_EQ(fs::read_symlink(folder.file("profile.zob")), "elsewhere/records.bin");
    const std::string saved = readBytes(elsewhere / "records.bin");
    ASSERT_EQ(saved.size(), 48u);
    float values[12];
    std::memcpy(values, saved.data(), 48);
    EXPECT_EQ(values[0], 1.0f);
    EXPECT_EQ(values[4], 500.0f);
    EXPECT_EQ(values[8], 60.0f);
    EXPECT_FALSE(fs::exists(folder.file("profile.zob.tmp")));
    EXPECT_FALSE(fs::exists(elsewhere / "records.bin.tmp"));
    EXPECT_EQ(fs::status(elsewhere / "records.bin").permissions(), privateFile);
}

TEST(UnusualRecordsFile, ALinkLeadingNowhereIsLeftAlone) {
    GameFolder folder(false);
    fs::create_symlink("gone/records.bin", folder.file("profile.zob"));
    GameRun run;
    run.go();
    EXPECT_EQ(run.out, "loading profile\nerror loading profile !\n");
    EXPECT_EQ(run.loaded, std::vector<float>(12, 0.0f));
    EXPECT_FALSE(run.saved);
    EXPECT_EQ(run.err, "error saving profile !\n");
    EXPECT_EQ(fs::read_symlink(folder.file("profile.zob")), "gone/records.bin");
}
