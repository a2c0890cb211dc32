#include <gtest/gtest.h>

#include <filesystem>

#include "app/app.h"
#include "audio/load_with_thread.h"
#include "game/game.h"
#include "scripted_player.h"
#include "support/bounded_wait.h"
#include "support/game_folder.h"
#include "support/scripted_platform.h"
#include "ui/interface.h"

namespace fs = std::filesystem;

namespace {
struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Starts the game in a folder whose asset tree lacks one file.
Outcome startWithout(GameFolder& folder, const std::string& tree, const std::string& file) {
    folder.copyAssets(tree);
    EXPECT_TRUE(fs::remove(folder.file(file))) << file;
    ScriptedPlatform platform(1024, 576);
    App app(platform);
    Outcome o;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    o.status = app.startUp();
    o.err = testing::internal::GetCapturedStderr();
    o.out = testing::internal::GetCapturedStdout();
    return o;
}
}  // namespace

TEST(StartUpFailures, MissingLoadingPictureEndsAtOnceWithStatusZero) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    Outcome o = startWithout(folder, "graphs", "graphs/Menu/fondsNus/loading.jpg");
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.out, "");  // nothing else was loaded, not even the records
    EXPECT_FALSE(fs::exists(folder.file("profile.zob")));
}

TEST(StartUpFailures, MissingPicturesFontOrSoundsEndWithStatusOne) {
    const struct {
        const char* tree;
        const char* file;
        bool interfaceLoaded;  // the interface (and so the records) came up before the failure
    } cases[] = {
        {"graphs", "graphs/Jauges/J2.png", false},
        {"graphs", "graphs/Atlas/2_32.png", false},
        {"graphs", "graphs/Menu/fondsNus/centre.jpg", true},
        {"graphs", "graphs/Menu/texts/16.png", true},
        {"graphs", "graphs/SATELLITE.OTF", true},
        {"qo_audio", "qo_audio/mirevo_menu/mirevo_menu_loop3.ogg", true},
        {"qo_audio", "qo_audio/mirevo_drones/mirevo_drone3.ogg", true},
    };
    for (const auto& c : cases) {
        GameFolder folder;
        ASSERT_TRUE(folder.hasAssets());
        Outcome o = startWithout(folder, c.tree, c.file);
        EXPECT_EQ(o.status, 1) << c.file;
        EXPECT_EQ(o.out.find("Exiting !"), std::string::npos) << c.file;
        bool imagesDone = o.out.find("done loading images") != std::string::npos;
        EXPECT_EQ(imagesDone, c.interfaceLoaded && std::string(c.tree) == "qo_audio") << c.file;
        EXPECT_EQ(o.out.find("creating new profile") != std::string::npos, c.interfaceLoaded)
            << c.file;
    }
}

TEST(PlayStartFailures, MissingFinalMusicEndsTheGameWithStatusOne) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    folder.copyAssets("qo_audio");
    fs::remove(folder.file("qo_audio/mirevo_qo1_waves/mirevo_qo1_break_scoring.ogg"));
    ScriptedPlatform platform(1024, 576);
    App app(platform);
    ScriptedPlayer player(app, platform);
    ASSERT_EQ(app.startUp(), -1);
    ASSERT_TRUE(player.openSongList(false));
    testing::internal::CaptureStdout();
    player.tap(sf::Keyboard::Num1);  // song 0
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("error loading final music\n"), std::string::npos);
    EXPECT_EQ(app.failStatus, 1);
    EXPECT_FALSE(app.frame());
}

TEST(PlayStartFailures, MissingTutorialPictureEndsTheGameWithStatusOne) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    folder.copyAssets("graphs");
    fs::remove(folder.file("graphs/Tuto/tut3.png"));
    ScriptedPlatform platform(1024, 576);
    App app(platform);
    ScriptedPlayer player(app, platform);
    ASSERT_EQ(app.startUp(), -1);
    ASSERT_TRUE(player.openSongList(false));
    player.tap(sf::Keyboard::Num0);
    EXPECT_EQ(app.failStatus, 1);
}

TEST(PlayStartFailures, MissingSongSoundsLeaveThePlayGoing) {
    for (const char* file : {"qo_audio/mirevo_touches/mirevo_qo1/mirevo_qo1_touche3.ogg",
                             "qo_audio/mirevo_qo1_waves/mirevo_qo1_t2_3.ogg"}) {
        GameFolder folder;
        ASSERT_TRUE(folder.hasAssets());
        folder.copyAssets("qo_audio");
        fs::remove(folder.file(file));
        ScriptedPlatform platform(1024, 576);
        App app(platform);
        ScriptedPlayer player(app, platform);
        ASSERT_EQ(app.startUp(), -1);
        ASSERT_TRUE(player.openSongList(false));
        testing::internal::CaptureStderr();
        player.tap(sf::Keyboard::Num1);
        ASSERT_NE(app.backgroundLoader, nullptr);
        returnsWithin([&] { app.backgroundLoader->wait(); }, stepBoundSeconds,
                      std::string("the loader ending at the missing ") + file);
        std::string err = testing::internal::GetCapturedStderr();
        bool touch = std::string(file).find("touche") != std::string::npos;
        EXPECT_NE(err.find(touch ? "error loading touch!\n" : "error music!\n"), std::string::npos)
            << err;
        EXPECT_EQ(app.backgroundLoader->loadStatus.load(), -1);
        EXPECT_EQ(app.iface->Screen, Playing);
        player.runUntil([] { return false; }, 10.0f);  // the play goes on
        EXPECT_EQ(app.iface->Screen, Playing);
        EXPECT_GT(app.game->totalTime, 9.0f);
    }
}
