#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

#include "app/app.h"
#include "audio/load_with_thread.h"
#include "board/route.h"
#include "core/songs.h"
#include "game/game.h"
#include "profile/replay_file.h"
#include "scripted_player.h"
#include "support/game_folder.h"
#include "support/scripted_platform.h"
#include "ui/interface.h"

namespace fs = std::filesystem;

namespace {

void writeProfile(const std::string& path, const float values[12]) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(values), 12 * sizeof(float));
}

}  // namespace

TEST(Flow, ExplorePlayEndsWhenARouteFailsAndShowsItsTime) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    const float completed[12] = {1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0};
    writeProfile(folder.file("profile.zob"), completed);
    Session s;
    ASSERT_EQ(s.start(), -1);
    Interface& ui = *s.app.iface;
    ASSERT_FALSE(ui.noSongCompleted());
    ASSERT_TRUE(s.player.openSongList(true));
    EXPECT_TRUE(s.app.game->explorePlay);
    ASSERT_TRUE(s.player.startListPosition(0));
    EXPECT_EQ(ui.Screen, Exploring);
    EXPECT_TRUE(s.app.game->breakMusic.getLoop());
    // Catch for a while, then stop: sooner or later a route fails on an empty gauge.
    s.player.runUntil([] { return false; }, 20.0f);
    EXPECT_EQ(ui.Screen, Exploring);
    s.player.catching = false;
    ASSERT_TRUE(s.player.runUntil([&] { return ui.Screen == Results; }, 900.0f));
    std::string result = ui.resultText.getString().toAnsiString();
    EXPECT_TRUE(std::regex_match(result, std::regex("Time: [0-9]+\\.[0-9]s"))) << result;
    EXPECT_GT(ui.bestExploreTime[0], 20.0f);
    EXPECT_TRUE(ui.newRecord);
    // The play is kept as the song's last explore play and, being a record, as its best.
    const PlayRecording first = s.app.lastRecording;
    const int song = songOfMode[first.mode];
    EXPECT_EQ(keptReplayName(song, true, false), "replays/song1-explore-last.replay");
    PlayRecording kept;
    for (const bool best : {false, true}) {
        ASSERT_EQ(readReplayFile(folder.file(keptReplayName(song, true, best)), kept),
                  ReplayRefusal::none);
        EXPECT_TRUE(kept == first) << "best " << best;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file(keptReplayName(song, false, false))));
    // Space restarts the same play with the same banks and loader, once the panel is in.
    s.player.tap(sf::Keyboard::Space);
    EXPECT_EQ(ui.Screen, Results);  // ignored while the panel slides in
    s.player.wait(1.5f);
    EXPECT_TRUE(keepScreenshot(s.platform, "explore_results.png"));
    LoadWithThread* loader = s.app.backgroundLoader.get();
    testing::internal::CaptureStdout();
    s.player.tap(sf::Keyboard::Space);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("on recommence\n"), std::string::npos);
    EXPECT_EQ(ui.Screen, Exploring);
    EXPECT_EQ(s.app.backgroundLoader.get(), loader);
    EXPECT_EQ(s.app.game->routes.size(), 4u);
    // The next play replaces the last one; the best stays unless it beats it.
    ASSERT_TRUE(s.player.runUntil([&] { return ui.Screen == Results; }, 900.0f));
    const PlayRecording second = s.app.lastRecording;
    EXPECT_FALSE(second == first);
    ASSERT_EQ(readReplayFile(folder.file(keptReplayName(song, true, false)), kept),
              ReplayRefusal::none);
    EXPECT_TRUE(kept == second);
    ASSERT_EQ(readReplayFile(folder.file(keptReplayName(song, true, true)), kept),
              ReplayRefusal::none);
    EXPECT_TRUE(kept == (ui.newRecord ? second : first)) << "record " << ui.newRecord;
}

TEST(Flow, TutorialHintsStepsAndTheScoredPlayAfterIt) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    Session s;
    ASSERT_EQ(s.start(), -1);
    Interface& ui = *s.app.iface;
    ASSERT_TRUE(s.player.openSongList(false));
    s.app.game->breakMusic.setLoop(true);  // as an explore play leaves it
    s.player.tap(sf::Keyboard::Num0);
    ASSERT_EQ(ui.Screen, Tutorial);
    EXPECT_FALSE(s.app.game->breakMusic.getLoop());  // only an explore play's final music loops
    EXPECT_EQ(ui.tutorialStep, 0);
    for (const Route& r : s.app.game->routes) EXPECT_EQ(r.phase, 9);
    s.player.wait(1.0f);
    EXPECT_EQ(ui.tutorialStep, 0);  // the first page waits for a key
    s.player.tap(sf::Keyboard::A);
    EXPECT_EQ(ui.tutorialStep, 1);

    // Too early on route 3: hint 5.
    s.player.wantsPress = [](const Particle& p) {
        return p.stage == 2 && p.frame == p.frameCount - 4;
    };
    ASSERT_TRUE(s.player.runUntil([&] { return ui.tutorialOverlay == 1; }, 60.0f));
    EXPECT_EQ(ui.tutorialStep, 1);
    // Too late: hint 6.
    s.player.wantsPress = [](const Particle& p) { return p.stage == 3 && p.frame == 10; };
    ASSERT_TRUE(s.player.runUntil([&] { return ui.tutorialOverlay == 2; }, 60.0f));
    EXPECT_EQ(ui.tutorialStep, 1);
    // In time: the steps advance, route 3, then 0, then 1 and 2.
    s.player.wantsPress = [](const Particle& p) {
        return p.stage == 3 && p.frame >= 2 && p.frame <= 4;
    };
    ASSERT_TRUE(s.player.runUntil([&] { return ui.tutorialStep == 2; }, 60.0f));
    ASSERT_TRUE(s.player.runUntil([&] { return ui.tutorialStep == 3; }, 60.0f));
    ASSERT_TRUE(s.player.runUntil([&] { return ui.tutorialStep == 4; }, 60.0f));
    testing::internal::CaptureStdout();
    s.player.tap(sf::Keyboard::Return);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("start !\n"), std::string::npos);
    EXPECT_EQ(ui.Screen, Playing);
    EXPECT_EQ(s.app.game->mode, 1);
    ASSERT_EQ(s.app.game->routes.size(), 4u);
    for (const Route& r : s.app.game->routes) EXPECT_LT(r.phase, 4);  // warming up again
}

TEST(Flow, PauseResumeAndQuitRecordTheResult) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    Session s;
    ASSERT_EQ(s.start(), -1);
    Interface& ui = *s.app.iface;
    Game& g = *s.app.game;
    ASSERT_TRUE(s.player.openSongList(false));
    ASSERT_TRUE(s.player.startListPosition(1));  // song 1
    auto levels = [&] {
        int sum = 0;
        for (const Route& r : g.routes) sum += r.gaugeLevel;
        return sum;
    };
    ASSERT_TRUE(s.player.runUntil([&] { return levels() >= 4; }, 120.0f));

    s.player.tap(sf::Keyboard::Space);
    EXPECT_TRUE(ui.pauseShown);
    EXPECT_TRUE(g.paused);
    EXPECT_TRUE(s.platform.cursorVisible);
    float frozen = g.totalTime;
    s.player.wait(2.0f);
    EXPECT_EQ(g.totalTime, frozen);
    s.player.tap(sf::Keyboard::Space);  // the panel slides away, then the play resumes
    ASSERT_TRUE(s.player.runUntil([&] { return !g.paused; }, 3.0f));
    EXPECT_FALSE(ui.pauseShown);
    EXPECT_FALSE(s.platform.cursorVisible);
    s.player.wait(0.5f);
    EXPECT_GT(g.totalTime, frozen);

    s.player.tap(sf::Keyboard::Escape);
    EXPECT_TRUE(ui.pauseShown);
    s.player.wait(1.5f);
    ASSERT_EQ(g.score, 0.0f);  // hits only score once the gauges are full
    float completion = static_cast<float>(levels()) / 36.0f;
    s.player.tap(sf::Keyboard::Escape);
    EXPECT_EQ(ui.Screen, LevelSelect);
    EXPECT_EQ(ui.hovered, -1);
    EXPECT_TRUE(g.routes.empty());
    EXPECT_EQ(s.app.backgroundLoader, nullptr);
    // The abandoned play's progress is recorded.
    EXPECT_FLOAT_EQ(ui.bestCompletion[1], completion);
    EXPECT_EQ(ui.bestScore[1], 0.0f);
    EXPECT_TRUE(ui.noSongCompleted());
}

TEST(Flow, MakingOfTurnsPagesMutesAndResetsRecords) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    const float records[12] = {1, 0.5f, 0, 0, 100, 20, 0, 0, 30, 0, 0, 0};
    writeProfile(folder.file("profile.zob"), records);
    Session s;
    ASSERT_EQ(s.start(), -1);
    Interface& ui = *s.app.iface;
    s.player.tap(sf::Keyboard::Down);
    ASSERT_TRUE(s.player.runUntil([&] { return ui.Screen == MakingOf; }, 3.0f));
    EXPECT_EQ(ui.makingOfPage, 0);
    s.player.tap(sf::Keyboard::Right);
    ASSERT_TRUE(s.player.runUntil([&] { return !ui.pageTurnForward; }, 3.0f));
    EXPECT_EQ(ui.makingOfPage, 1);
    s.player.tap(sf::Keyboard::Right);
    s.player.wait(1.5f);
    s.player.tap(sf::Keyboard::Left);
    s.player.wait(1.5f);
    EXPECT_EQ(ui.makingOfPage, 1);
    s.player.tap(sf::Keyboard::Left);
    s.player.wait(1.5f);
    EXPECT_EQ(ui.makingOfPage, 0);
    s.player.tap(sf::Keyboard::Left);  // nothing before the first page
    s.player.wait(1.5f);
    EXPECT_EQ(ui.makingOfPage, 0);

    // The speaker on the first page mutes, and unmutes once its animation has settled.
    sf::FloatRect speaker = ui.volumeSprite.getGlobalBounds();
    ASSERT_GT(speaker.width, 0.0f);
    float cx = speaker.left + speaker.width / 2, cy = speaker.top + speaker.height / 2;
    s.player.clickAt(cx, cy);
    EXPECT_EQ(ui.volumeFactor, 0.0f);
    s.player.clickAt(cx, cy);  // while the button animates: nothing
    EXPECT_EQ(ui.volumeFactor, 0.0f);
    s.player.wait(1.0f);
    EXPECT_EQ(ui.muteStage, 8);
    EXPECT_EQ(s.app.menuSounds[1].getVolume(), 0.0f);
    s.player.clickAt(cx, cy);
    EXPECT_EQ(ui.volumeFactor, 1.0f);
    s.player.wait(1.0f);
    EXPECT_EQ(ui.muteStage, 0);
    EXPECT_FLOAT_EQ(s.app.menuSounds[1].getVolume(), 60.0f);

    float W = 1024, H = 576;
    float x = (1309 + 28) * W / 2048, y = (504 + 17) * W / 2048 - (W * 1536 / 2048 - H) / 2;
    s.player.clickAt(x, y);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ui.bestCompletion[i], 0.0f);
        EXPECT_EQ(ui.bestScore[i], 0.0f);
        EXPECT_EQ(ui.bestExploreTime[i], 0.0f);
    }
    s.player.tap(sf::Keyboard::Escape);
    ASSERT_TRUE(s.player.runUntil([&] { return ui.Screen == MainMenu; }, 3.0f));
    EXPECT_EQ(ui.MenuChoice, ChoiceNone);
}

TEST(Flow, RecordsSurviveARestartOfTheGame) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    {
        Session s;
        ASSERT_EQ(s.start(), -1);
        ASSERT_TRUE(s.player.openSongList(false));
        ASSERT_TRUE(s.player.startListPosition(2));
        // The developer chord marks every route full: the final stage comes at the next
        // loop boundary and catches then score.
        s.player.wait(3.0f);
        s.platform.hold(sf::Keyboard::LControl);
        s.platform.hold(sf::Keyboard::LShift);
        s.platform.hold(sf::Keyboard::F);
        s.player.frame();
        s.platform.release(sf::Keyboard::LControl);
        s.platform.release(sf::Keyboard::LShift);
        s.platform.release(sf::Keyboard::F);
        ASSERT_TRUE(s.player.runUntil([&] { return s.app.game->finalStageStarted; }, 60.0f));
        ASSERT_TRUE(s.player.runUntil([&] { return s.app.game->score > 0.0f; }, 120.0f));
        s.player.tap(sf::Keyboard::Escape);
        s.player.wait(1.5f);
        s.player.tap(sf::Keyboard::Escape);
        ASSERT_EQ(s.app.iface->Screen, LevelSelect);
        s.platform.pushClose();
        s.player.frame();
        EXPECT_FALSE(s.player.frame());
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_EQ(s.app.finish(), 0);
        std::string err = testing::internal::GetCapturedStderr();
        std::string out = testing::internal::GetCapturedStdout();
        EXPECT_NE(err.find("profile saved\n"), std::string::npos);
        EXPECT_NE(out.find("Exiting !\n"), std::string::npos);
    }
    EXPECT_EQ(fs::file_size(folder.file("profile.zob")), 48u);
    Session again;
    ASSERT_EQ(again.start(), -1);
    EXPECT_NE(again.startOutput.find("loading profile\n"), std::string::npos);
    EXPECT_EQ(again.app.iface->bestCompletion[2], 1.0f);
    EXPECT_FALSE(again.app.iface->noSongCompleted());
    // The explore list opens now.
    EXPECT_TRUE(again.player.openSongList(true));
}

TEST(Flow, KeyPressedAndReleasedBetweenTwoPollsStillCatches) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    Session s;
    ASSERT_EQ(s.start(), -1);
    ASSERT_TRUE(s.player.openSongList(false));
    ASSERT_TRUE(s.player.startListPosition(0));
    Game& g = *s.app.game;
    s.player.catching = false;
    // Wait for a creature in the good window, then tap its key as a quick event only.
    int route = -1;
    ASSERT_TRUE(s.player.runUntil(
        [&] {
            for (int i = 0; i < 4; ++i)
                for (const Particle& p : g.routes[i].particles)
                    if (p.stage == 3 && !p.judged && p.frame >= 2 && p.frame <= 4) route = i;
            return route >= 0;
        },
        60.0f));
    const sf::Keyboard::Key keys[4] = {sf::Keyboard::E, sf::Keyboard::P, sf::Keyboard::L,
                                       sf::Keyboard::D};
    s.platform.pushKey(keys[route]);
    s.platform.pushKey(keys[route]);  // a second tap in the same frame is not a second press
    s.player.frame();
    EXPECT_EQ(g.routes[route].buttonState, 2);
    EXPECT_FALSE(g.routes[route].missedPress);
    int good = 0;
    for (const Particle& p : g.routes[route].particles) good += p.judged && p.judgement == 1;
    EXPECT_EQ(good, 1);
    // Released: the button comes back up and the next tap is a new press.
    s.player.wait(0.3f);
    EXPECT_EQ(g.routes[route].buttonState, 0);
}
