// Where the game's files come from: the lists of files decoded ahead match what the loads
// take, and the data folder given at start holds every file the game reads while the
// working folder keeps what it writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "assets/asset_files.h"
#include "audio/load_with_thread.h"
#include "audio/sound_decoder.h"
#include "core/songs.h"
#include "game/game.h"
#include "scripted_player.h"
#include "support/bounded_wait.h"
#include "support/game_folder.h"
#include "support/scripted_platform.h"
#include "ui/interface.h"
#include "ui/picture_decoder.h"

namespace fs = std::filesystem;

namespace {
std::string joined(const std::vector<std::string>& files) {
    std::string all;
    for (const std::string& f : files) all += f + "\n";
    return all;
}

// Records what the decoders report for the length of a test.
struct AheadRecording {
    AheadRecording() { aheadFileLog.record(true); }
    ~AheadRecording() { aheadFileLog.record(false); }
    std::vector<std::string> untaken() {
        std::lock_guard<std::mutex> lock(aheadFileLog.mutex);
        return aheadFileLog.untaken;
    }
    std::vector<std::string> unlisted() {
        std::lock_guard<std::mutex> lock(aheadFileLog.mutex);
        return aheadFileLog.unlisted;
    }
};
}  // namespace

// Every picture and sound the start-up decodes ahead is taken by its load, and no load of the
// start-up reads a file that was not decoded ahead. At a play start the song list's pictures
// of the three modes not started are dropped untaken (they were read ahead in case), and
// nothing else: the started mode's pictures and its song's first sounds are all taken.
TEST(AheadFiles, EveryFileReadAheadIsTakenByItsLoad) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    AheadRecording recording;
    Session s;
    ASSERT_EQ(s.start(), -1);
    EXPECT_EQ(s.app.startUpPictures, nullptr);
    EXPECT_EQ(s.app.startUpSounds, nullptr);
    EXPECT_EQ(joined(recording.untaken()), "") << "start-up: read ahead, never loaded";
    EXPECT_EQ(joined(recording.unlisted()), "") << "start-up: loaded, not read ahead";

    ASSERT_TRUE(s.player.openSongList(false));
    // The list decodes every play's pictures, then the likeliest song's first sounds.
    ASSERT_TRUE(waitUntil(
        [&] {
            s.player.frame();
            return s.app.playSounds && s.app.playSounds->finished();
        },
        stepBoundSeconds, "the song list's pictures and first sounds decoded ahead"));
    const int song = s.app.playSoundsSong;
    ASSERT_GE(song, 0);
    ASSERT_LT(song, 4);
    const int mode = modeOrder[song];  // list position k plays song k
    ASSERT_EQ(songOfMode[mode], song);
    std::vector<std::string> otherModes;
    for (int m = 0; m < 4; ++m) {
        if (m == mode) continue;
        for (const std::string& f : s.app.iface->playPictureFiles(m)) otherModes.push_back(f);
    }

    ASSERT_TRUE(s.player.startListPosition(song));
    ASSERT_EQ(s.app.iface->Screen, Playing);
    ASSERT_NE(s.app.backgroundLoader, nullptr);
    LoadWithThread& loader = *s.app.backgroundLoader;
    ASSERT_TRUE(waitUntil([&] { return loader.loadStatus.load() != 0; }, stepBoundSeconds,
                          "the song's loader to finish"));
    EXPECT_EQ(loader.loadStatus.load(), 1);
    EXPECT_EQ(loader.firstSounds, nullptr);
    EXPECT_EQ(joined(recording.untaken()), joined(otherModes))
        << "play start: read ahead, never loaded";
    EXPECT_EQ(joined(recording.unlisted()), "") << "play start: loaded, not read ahead";
}

// The game started in an empty working folder with its data folder given: it reads every
// file from there (the messages of the media libraries name the file with the folder in its
// path) and writes its records and log in the working folder. A data folder that lacks a
// file is met as a missing file always is, with the same exit status; without a data folder
// the names stay relative, as they always were.
TEST(DataFolder, FilesAreReadFromItAndWrittenInTheWorkingFolder) {
    GameFolder data;  // the asset pack, linked into a folder the game does not work in
    ASSERT_TRUE(data.hasAssets());
    GameFolder partial(false);  // the pictures only
    fs::create_directory_symlink(fs::path(data.path) / "graphs", fs::path(partial.path) / "graphs");
    GameFolder empty(false);
    const struct {
        std::string dataFolder;
        int status;           // of the start-up: -1 when the frame loop may start
        std::string message;  // what the media library says on standard error ("": nothing)
    } cases[] = {
        {data.path, -1, ""},
        {data.path + "//", -1, ""},
        {empty.path, 0,
         "Failed to load image \"" + empty.path + "/graphs/Menu/fondsNus/loading.jpg\""},
        {partial.path + "/", 1,
         "\"" + partial.path + "/qo_audio/mirevo_menu/mirevo_menu_click1.ogg\""},
        {"", 0, "Failed to load image \"graphs/Menu/fondsNus/loading.jpg\""},
    };
    for (const auto& c : cases) {
        GameFolder work(false);
        ScriptedPlatform platform(1024, 576);
        Options options;
        options.dataFolder = c.dataFolder;
        App app(platform, options);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int status = app.startUp();
        int exitStatus = status;
        if (status < 0) {
            app.quitRequested = true;
            app.frame();
            exitStatus = app.finish();
        }
        const std::string err = testing::internal::GetCapturedStderr();
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(status, c.status) << "data folder [" << c.dataFolder << "]\n" << err;
        if (c.message.empty()) {
            EXPECT_EQ(err.find("Failed"), std::string::npos) << err;
        } else {
            EXPECT_NE(err.find(c.message), std::string::npos) << c.message << "\n" << err;
        }
        if (status < 0) {
            EXPECT_EQ(exitStatus, 0);
            EXPECT_EQ(work.read("profile.zob").size(), 48u) << c.dataFolder;
            EXPECT_EQ(work.read("log.txt").rfind("Mirevo ", 0), 0u) << c.dataFolder;
            EXPECT_FALSE(fs::exists(data.file("profile.zob"))) << c.dataFolder;
            EXPECT_FALSE(fs::exists(data.file("log.txt"))) << c.dataFolder;
        }
        EXPECT_FALSE(fs::exists(work.file("graphs")) || fs::exists(work.file("qo_audio")));
    }
}
