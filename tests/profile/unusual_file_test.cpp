// The records file when it is not a plain file of this user: missing, unreadable,
// read-only, a symbolic link, a FIFO, in a folder the player may not write, or on a disk
// that is full. Loaded at start-up and saved at exit as the game does.
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "profile/profile.h"
#include "support/child_run.h"
#include "support/game_folder.h"

namespace fs = std::filesystem;

namespace {
const std::string kept = [] {
    const float values[12] = {1, 0, 1, 0, 250.5f, 0, 90, 0, 0, 0, 0, 73.2f};
    return std::string(reinterpret_cast<const char*>(values), sizeof values);
}();
const char* const keptLoaded = "loaded 1 0 1 0 250.5 0 90 0 0 0 0 73.2";
const char* const nothingLoaded = "loaded 0 0 0 0 0 0 0 0 0 0 0 0";

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
    std::ifstream stream;
    bool unread = false;
    std::string out;
    std::string err;
    bool saved = false;

    void go() {
        load();
        save();
    }
    void load() {
        std::ostringstream o;
        std::streambuf* keptOut = std::cout.rdbuf(o.rdbuf());
        loadProfileFile(stream, unread, done, best, longest);
        std::cout.rdbuf(keptOut);
        out += o.str();
        loaded = done;
        loaded.insert(loaded.end(), best.begin(), best.end());
        loaded.insert(loaded.end(), longest.begin(), longest.end());
    }
    void save() {
        done.assign(4, 1.0f);
        best.assign(4, 500.0f);
        longest.assign(4, 60.0f);
        std::ostringstream e;
        std::streambuf* keptErr = std::cerr.rdbuf(e.rdbuf());
        saved = saveProfileFile(stream, unread, done, best, longest);
        std::cerr.rdbuf(keptErr);
        err += e.str();
    }
    // The lines a player would see, then what was loaded.
    std::string report() const {
        std::ostringstream text;
        text << out << err << "loaded";
        for (float v : loaded) text << " " << v;
        return text.str();
    }
};

// The records a run writes at exit (GameRun::save).
const std::string played = [] {
    const float values[12] = {1, 1, 1, 1, 500, 500, 500, 500, 60, 60, 60, 60};
    return std::string(reinterpret_cast<const char*>(values), sizeof values);
}();

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
    bool unread = false;
    loadProfileFile(stream, unread, run.done, run.best, run.longest);
    std::cout.rdbuf(keptOut);
    EXPECT_FALSE(unread);
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

// Shared score files: the folder belongs to another user and the player may not write in
// it, but the records file is writable by the player's group. No scratch file can be made
// beside it, so the records are written in place, and the file keeps its owner and mode.
TEST(UnusualRecordsFile, AWritableFileInAFolderThePlayerCannotWriteIsSavedInPlace) {
    GameFolder folder(false);
    const std::string file = folder.file("profile.zob");
    writeBytes(file, kept + std::string(52, 'z'));  // longer than 48 bytes: cut to 48
    const fs::perms groupWritable = fs::perms::owner_read | fs::perms::owner_write |
                                    fs::perms::group_read | fs::perms::group_write |
                                    fs::perms::others_read;
    fs::permissions(file, groupWritable);
    const bool root = geteuid() == 0;
    if (root) {
        // The folder stays root's, rwxr-xr-x; the player is nobody, of the file's group.
        ASSERT_EQ(chown(file.c_str(), 0, 65534), 0);
        fs::permissions(folder.path, fs::perms::owner_all | fs::perms::group_read |
                                         fs::perms::group_exec | fs::perms::others_read |
                                         fs::perms::others_exec);
    } else {
        fs::permissions(folder.path, fs::perms::owner_read | fs::perms::owner_exec);
    }
    const ChildRun run = runInChild(
        [] {
            if (!becomeNobody()) return 3;
            GameRun game;
            game.go();
            std::cout << game.report() << std::endl;
            return 0;
        },
        10);
    fs::permissions(folder.path, fs::perms::owner_all);
    ASSERT_TRUE(run.ended) << "the run as the player did not end within 10 s";
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, std::string("loading profile\nprofile saved\n") + keptLoaded + "\n");
    EXPECT_EQ(folder.read("profile.zob"), played);
    EXPECT_EQ(fs::status(file).permissions(), groupWritable);
    struct stat after {};
    ASSERT_EQ(stat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_gid, root ? 65534u : getgid());
    EXPECT_FALSE(fs::exists(folder.file("profile.zob.tmp")));
}

// A run that could not read the records file at start-up played from empty records: it
// never replaces the file at exit, even when the file has become readable by then.
TEST(UnusualRecordsFile, AFileNotReadAtStartUpIsNotReplacedWhenItHasBecomeReadable) {
    struct Case {
        const char* what;
        const char* records;                             // the file that holds the records
        std::function<void(const std::string&)> before;  // sets the folder up (as root)
        std::function<void()> during;                    // in the run, between load and save
        bool asNobody;  // the run is nobody's when the tests run as root
    };
    const Case cases[] = {
        {"a link whose target appears during the run", "records.bin",
         [](const std::string&) { fs::create_symlink("records.bin", "profile.zob"); },
         [] { writeBytes("records.bin", kept); }, false},
        {"a file the player may not read, made readable during the run", "profile.zob",
         [](const std::string& path) {
             writeBytes("profile.zob", kept);
             fs::permissions(path, fs::perms::all);  // the player may write the folder
             if (geteuid() == 0) (void)chown("profile.zob", 65534, 65534);
             fs::permissions("profile.zob", fs::perms::none);
         },
         [] { fs::permissions("profile.zob", fs::perms::owner_read | fs::perms::owner_write); },
         true},
    };
    for (const Case& c : cases) {
        GameFolder folder(false);
        c.before(folder.path);
        const ChildRun run = runInChild(
            [&c] {
                if (c.asNobody && !becomeNobody()) return 3;
                GameRun game;
                game.load();
                c.during();
                game.save();
                std::cout << game.report() << std::endl;
                return 0;
            },
            10);
        ASSERT_TRUE(run.ended) << c.what << ": the run did not end within 10 s";
        EXPECT_EQ(run.status, 0) << c.what;
        EXPECT_EQ(
            run.output,
            std::string("loading profile\nerror loading profile !\nerror saving profile !\n") +
                nothingLoaded + "\n")
            << c.what;
        fs::permissions(folder.file(c.records), fs::perms::owner_read);
        EXPECT_EQ(folder.read(c.records), kept) << c.what;
        EXPECT_FALSE(fs::exists(folder.file(std::string(c.records) + ".tmp"))) << c.what;
    }
}

// A FIFO under the name would block the open until something writes into it: the game
// neither waits on it nor replaces it, and plays with empty records.
TEST(UnusualRecordsFile, AFifoIsNeitherWaitedOnNorReplaced) {
    GameFolder folder(false);
    ASSERT_EQ(mkfifo("profile.zob", 0644), 0);
    const ChildRun run = runInChild(
        [] {
            GameRun game;
            game.go();
            std::cout << game.report() << std::endl;
            return 0;
        },
        5);
    ASSERT_TRUE(run.ended) << "the load and save of a FIFO named profile.zob did not return "
                              "within 5 s";
    EXPECT_EQ(run.output,
              std::string("loading profile\nerror loading profile !\nerror saving profile !\n") +
                  nothingLoaded + "\n");
    EXPECT_TRUE(fs::is_fifo(folder.file("profile.zob")));
    EXPECT_FALSE(fs::exists(folder.file("profile.zob.tmp")));
}

// A save whose bytes cannot all be written keeps the old records byte for byte and leaves
// no scratch file. Two real failures of the write: a full disk (a small tmpfs filled up;
// the test must be allowed to mount one) and a file size limit below 48 bytes
// (RLIMIT_FSIZE), which stands for a full disk on any machine.
TEST(UnusualRecordsFile, AFailedWriteOnAFullDiskOrPastAFileSizeLimitKeepsTheOldRecords) {
    GameFolder folder(false);
    const fs::path disk = fs::path(folder.path) / "disk";
    fs::create_directory(disk);
    struct Case {
        const char* what;
        bool fullDisk;
    };
    const Case cases[] = {{"a full disk", true}, {"a file size limit of 20 bytes", false}};
    int ran = 0;
    for (const Case& c : cases) {
        if (c.fullDisk && mount("mirevo-test", disk.c_str(), "tmpfs", 0, "size=64k") != 0) {
            std::cout << "not run: " << c.what
                      << " (no tmpfs can be mounted here: " << std::strerror(errno) << ")"
                      << std::endl;
            continue;
        }
        writeBytes(disk / "profile.zob", kept);
        if (c.fullDisk) {
            std::ofstream filler(disk / "filler", std::ios::binary);
            const std::string page(4096, 'f');
            for (int i = 0; i < 1000 && filler; ++i) filler.write(page.data(), 4096).flush();
            EXPECT_FALSE(filler) << "the 64 KiB disk did not fill up";
        }
        const ChildRun run = runInChild(
            [&c, &disk] {
                fs::current_path(disk);
                if (!c.fullDisk) {
                    signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead
                    const rlimit limit{20, 20};
                    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 3;
                }
                GameRun game;
                game.go();
                std::cout << game.report() << std::endl;
                return 0;
            },
            10);
        const std::string left = readBytes(disk / "profile.zob");
        const bool scratchLeft = fs::exists(disk / "profile.zob.tmp");
        if (c.fullDisk) {
            umount2(disk.c_str(), MNT_DETACH);
        } else {
            fs::remove(disk / "profile.zob");
        }
        ASSERT_TRUE(run.ended) << c.what << ": the run did not end within 10 s";
        EXPECT_EQ(run.status, 0) << c.what;
        EXPECT_EQ(run.output,
                  std::string("loading profile\nerror saving profile !\n") + keptLoaded + "\n")
            << c.what;
        EXPECT_EQ(left, kept) << c.what;
        EXPECT_FALSE(scratchLeft) << c.what;
        ++ran;
    }
    EXPECT_GE(ran, 1);
}
