// Watching a play again in the game: from the results panel, the play just played; from the
// song list, a song's kept best play. The recording plays at the speed it was played, to the
// same results, and nothing of the player's (records, kept plays, log, last play) changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "audio/load_with_thread.h"
#include "board/route.h"
#include "flow/scripted_player.h"
#include "game/game.h"
#include "game/play_state.h"
#include "support/game_folder.h"
#include "ui/interface.h"

namespace fs = std::filesystem;

namespace {

const std::string fixtureFolder = std::string(MIREVO_SOURCE_DIR) + "/tests/fixtures/replays";

// The records file: completion, best score and best explore time of each song.
void writeRecords(const GameFolder& folder, const std::array<float, 12>& records) {
    std::ofstream(folder.file("profile.zob"), std::ios::binary)
        .write(reinterpret_cast<const char*>(records.data()), sizeof(float) * records.size());
}

std::array<float, 12> recordsOf(const Interface& ui) {
    std::array<float, 12> r{};
    for (int i = 0; i < 4; ++i) {
        r[i] = ui.bestCompletion[i];
        r[4 + i] = ui.bestScore[i];
        r[8 + i] = ui.bestExploreTime[i];
    }
    return r;
}

std::string bytesOf(const std::array<float, 12>& records) {
    return std::string(reinterpret_cast<const char*>(records.data()),
                       sizeof(float) * records.size());
}

// Every file under replays/, with its size and a hash of its bytes.
std::vector<std::string> keptFiles(const GameFolder& folder) {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder.file("replays"), error)) {
        const std::string name = "replays/" + entry.path().filename().string();
        const std::string bytes = folder.read(name);
        files.push_back(name + " " + std::to_string(bytes.size()) + " bytes, hash " +
                        std::to_string(std::hash<std::string>()(bytes)));
    }
    std::sort(files.begin(), files.end());
    return files;
}

sf::Vector2f middleOf(const sf::FloatRect& r) {
    return sf::Vector2f(r.left + r.width / 2, r.top + r.height / 2);
}

// The lines the game itself writes on standard error (the libraries' diagnostics aside).
std::string gameLines(const std::string& err) {
    std::string lines;
    size_t at = 0;
    while ((at = err.find("mirevo: ", at)) != std::string::npos) {
        const size_t end = err.find('\n', at);
        lines += err.substr(at, end == std::string::npos ? std::string::npos : end + 1 - at);
        at = end == std::string::npos ? err.size() : end + 1;
    }
    return lines;
}

// From the song list, highlights list position k with the keys.
void highlight(ScriptedPlayer& player, int k) {
    for (int i = 0; i <= k; ++i) player.tap(sf::Keyboard::Down);
}

// Every song completed, with no score or time yet: any watched play would set records.
const std::array<float, 12> completedNoRecords = {1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0};

// Keeps, as the best plays: the scored fixture for song 1, the explore fixture for song 2, and
// a damaged copy of the scored fixture for song 3.
void keepFixtures(const GameFolder& folder) {
    fs::create_directories(folder.file("replays"));
    fs::copy_file(fixtureFolder + "/scored-song1.replay",
                  folder.file(keptReplayName(0, false, true)));
    fs::copy_file(fixtureFolder + "/explore-song2.replay",
                  folder.file(keptReplayName(1, true, true)));
    std::string damaged;
    {
        std::ifstream in(fixtureFolder + "/scored-song1.replay", std::ios::binary);
        damaged.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    damaged[damaged.size() / 2] ^= 0x20;
    std::ofstream(folder.file(keptReplayName(2, false, true)), std::ios::binary) << damaged;
}

}  // namespace

// A scored play to its results; the watch button plays it again, with the replay sign, to the
// same results; W on those results plays it again, and Escape leaves to the song list. The
// player's last play, records, kept plays and log are as the play left them.
TEST(WatchPlays, TheResultsPanelPlaysThePlayAgainToTheSameResults) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    writeRecords(folder, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    Session s(640, 360);
    s.app.options.seed = 31u;
    ASSERT_EQ(s.start(), -1);
    Interface& ui = *s.app.iface;
    Game& g = *s.app.game;
    ASSERT_TRUE(s.player.openSongList(false));
    ASSERT_TRUE(s.player.startListPosition(0));
    ASSERT_TRUE(s.player.runUntil([&] { return ui.Screen == Results; }, 900.0f))
        << "the scored play did not reach its results";
    s.player.wait(1.5f);  // the panel settles
    ASSERT_TRUE(s.app.recordingFinished);
    const PlayRecording own = s.app.lastRecording;
    const std::string shown = ui.resultText.getString().toAnsiString();
    const std::array<float, 12> records = recordsOf(ui);
    EXPECT_GT(records[4 + 0], 0.0f) << "the play set no record to keep";
    const std::string recordsFile = folder.read("profile.zob");
    ASSERT_EQ(keptFiles(folder).size(), 2u) << "the play was kept as the song's last and best";
    // Marked, to tell whether the watched play is written over them.
    for (const bool best : {false, true}) {
        std::ofstream(folder.file(keptReplayName(0, false, best))) << "kept";
    }
    const auto kept = keptFiles(folder);
    const std::string logText = folder.read("log.txt");

    // The watch button is offered; a click on it starts the play again.
    ASSERT_TRUE(s.app.canWatchResults());
    s.player.catching = false;
    const sf::Vector2f button = middleOf(ui.watchButtonTop.getGlobalBounds());
    EXPECT_TRUE(ui.hitTestWatchButton(button.x, button.y));
    s.player.clickAt(button.x, button.y);
    ASSERT_TRUE(s.app.watch.active);
    EXPECT_EQ(ui.Screen, Playing);
    EXPECT_TRUE(ui.replaySignShown);
    const sf::FloatRect sign = ui.replaySign.getGlobalBounds();
    EXPECT_TRUE(sf::FloatRect(0, 0, 640, 360).contains(sign.left, sign.top + sign.height));
    EXPECT_EQ(ui.replaySign.getString().toAnsiString(), "REPLAY");

    ASSERT_TRUE(s.player.runUntil([&] { return ui.Screen == Results; }, 900.0f))
        << "the watched play did not reach its results";
    EXPECT_EQ(s.app.lastRecording.results, own.results);
    EXPECT_EQ(firstDivergentFrame(own, s.app.lastRecording), -1);
    EXPECT_EQ(ui.resultText.getString().toAnsiString(), shown);
    EXPECT_TRUE(ui.replaySignShown);
    EXPECT_EQ(recordsOf(ui), records);

    // Watched twice: W on the watched play's results plays it from its start again.
    s.player.wait(1.5f);
    keepScreenshot(s.platform, "watch_results.png");
    s.player.tap(sf::Keyboard::W);
    EXPECT_EQ(ui.Screen, Playing);
    ASSERT_TRUE(s.app.watch.active);
    s.player.wait(4.0f);
    EXPECT_EQ(s.app.lastRecording.frames.size(), 65u);
    for (size_t i = 0; i < s.app.lastRecording.frames.size(); ++i) {
        ASSERT_EQ(s.app.lastRecording.frames[i], own.frames[i]) << "frame " << i;
    }
    s.player.tap(sf::Keyboard::Escape);
    EXPECT_EQ(ui.Screen, LevelSelect);
    EXPECT_FALSE(s.app.watch.active);
    EXPECT_FALSE(ui.replaySignShown);
    EXPECT_EQ(s.app.backgroundLoader, nullptr);
    EXPECT_TRUE(g.routes.empty());

    // The player's own last play, records, kept plays and log.
    EXPECT_TRUE(s.app.recordingFinished);
    EXPECT_TRUE(s.app.lastRecording == own) << "the player's own last play is back";
    EXPECT_EQ(recordsOf(ui), records);
    EXPECT_EQ(folder.read("profile.zob"), recordsFile);
    EXPECT_EQ(keptFiles(folder), kept);
    EXPECT_EQ(folder.read("log.txt"), logText);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(s.app.finish(), 0);
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(folder.read("profile.zob"), bytesOf(records));
}

// The song list shows a sign on the songs whose best play of the list's kind is kept; a click
// on it or W on the highlighted song plays it, to its recorded results, and Escape on those
// results goes back to the list. A damaged file is one line and the error sound.
TEST(WatchPlays, TheSongListPlaysASongsKeptBestPlay) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    writeRecords(folder, completedNoRecords);
    keepFixtures(folder);
    struct Case {
        const char* what;
        bool explore;
        int song;
        bool byClick;
        std::string refusal;  // the line of a file that cannot be played, else empty
    };
    const Case cases[] = {
        {"scored list, a click on the sign", false, 0, true, ""},
        {"scored list, W on a damaged file", false, 2, false,
         "mirevo: \"replays/song3-scored-best.replay\" is damaged (its contents are not those "
         "it was recorded with)\n"},
        {"explore list, W", true, 1, false, ""},
    };
    const std::array<bool, 4> keptScored = {true, false, true, false};
    const std::array<bool, 4> keptExplore = {false, true, false, false};

    Session s(640, 360);
    ASSERT_EQ(s.start(), -1);
    Interface& ui = *s.app.iface;
    Game& g = *s.app.game;
    s.player.catching = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(s.player.openSongList(c.explore));
        EXPECT_EQ(ui.keptPlays, c.explore ? keptExplore : keptScored);
        PlayRecording expected;
        if (c.refusal.empty()) {
            ASSERT_EQ(
                readReplayFile(folder.file(keptReplayName(c.song, c.explore, true)), expected),
                ReplayRefusal::none);
        }
        s.app.menuSounds[3].stop();
        testing::internal::CaptureStderr();
        if (c.byClick) {
            const sf::Vector2f at = middleOf(ui.keptPlaySigns[c.song].getGlobalBounds());
            EXPECT_EQ(ui.hitTestKeptPlaySign(at.x, at.y), c.song);
            s.player.clickAt(at.x, at.y);
        } else {
            highlight(s.player, c.song);
            ASSERT_EQ(ui.highlighted, c.song);
            s.player.tap(sf::Keyboard::W);
        }
        s.player.frame();
        const std::string err = gameLines(testing::internal::GetCapturedStderr());
        EXPECT_EQ(err, c.refusal);
        if (!c.refusal.empty()) {
            EXPECT_EQ(s.app.menuSounds[3].getStatus(), sf::Sound::Playing);
            EXPECT_EQ(ui.Screen, LevelSelect);
            EXPECT_FALSE(s.app.watch.active);
            s.player.tap(sf::Keyboard::Escape);
            ASSERT_TRUE(s.player.runUntil([&] { return ui.Screen == MainMenu; }, 3.0f));
            continue;
        }
        ASSERT_TRUE(s.app.watch.active);
        EXPECT_TRUE(ui.replaySignShown);
        EXPECT_EQ(ui.Screen, c.explore ? Exploring : Playing);
        EXPECT_EQ(g.mode, expected.mode);
        ASSERT_TRUE(s.player.runUntil([&] { return ui.Screen == Results; }, 900.0f))
            << "the watched play did not reach its results";
        EXPECT_EQ(s.app.lastRecording.results, expected.results);
        EXPECT_EQ(firstDivergentFrame(expected, s.app.lastRecording), -1);
        EXPECT_EQ(recordsOf(ui), completedNoRecords);
        s.player.wait(1.5f);
        s.player.tap(sf::Keyboard::Escape);
        EXPECT_EQ(ui.Screen, LevelSelect);
        EXPECT_FALSE(s.app.watch.active);
        EXPECT_FALSE(s.app.recordingFinished) << "no play of the player's was there to restore";
        EXPECT_EQ(g.explorePlay, c.explore);
        EXPECT_EQ(ui.keptPlays, c.explore ? keptExplore : keptScored);
        s.player.tap(sf::Keyboard::Escape);
        ASSERT_TRUE(s.player.runUntil([&] { return ui.Screen == MainMenu; }, 3.0f));
    }
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(s.app.finish(), 0);
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(folder.read("profile.zob"), bytesOf(completedNoRecords));
    EXPECT_EQ(keptFiles(folder).size(), 3u);
}

// The recorded frames' times drive the play, paced by the display's frames; the recorded
// play's own pause plays out as recorded; Space holds the playback and its music, and lets
// it go on; Escape leaves to the song list.
TEST(WatchPlays, SpaceHoldsThePlaybackAndEscapeLeavesIt) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    writeRecords(folder, completedNoRecords);
    keepFixtures(folder);
    Session s(640, 360);
    ASSERT_EQ(s.start(), -1);
    Interface& ui = *s.app.iface;
    Game& g = *s.app.game;
    s.player.catching = false;
    ASSERT_TRUE(s.player.openSongList(false));
    highlight(s.player, 0);
    s.player.tap(sf::Keyboard::W);  // chosen; the play starts in this frame's list step
    ASSERT_TRUE(s.app.watch.active);
    const PlayRecording& played = s.app.lastRecording;
    const PlayRecording& source = *s.app.replaySource;
    ASSERT_EQ(source.frames[0].frameTime, 1.0f / 16.0f);

    // At the recording's rate, one recorded frame a frame; at twice it, one every other frame.
    for (int i = 0; i < 40; ++i) s.player.frame();
    EXPECT_EQ(played.frames.size(), 40u);
    s.player.dt = 1.0f / 32.0f;
    for (int i = 0; i < 40; ++i) s.player.frame();
    EXPECT_EQ(played.frames.size(), 60u);
    s.player.dt = 1.0f / 16.0f;

    // The recorded play's pause (its frames 300 to 340) opens its pause panel, as it did.
    ASSERT_TRUE(s.player.runUntil([&] { return ui.pauseShown; }, 60.0f)) << "the recorded pause";
    EXPECT_FALSE(s.app.watch.paused);
    ASSERT_TRUE(s.player.runUntil(
        [&] { return !ui.pauseShown && !g.paused && g.finalStageStarted; }, 600.0f))
        << "the recorded play's final stage";
    s.player.wait(2.0f);

    // Space holds the playback: the play's time, its frames and its music stand still.
    s.player.tap(sf::Keyboard::Space);
    ASSERT_TRUE(s.app.watch.paused);
    EXPECT_EQ(ui.replaySign.getString().toAnsiString().rfind("REPLAY", 0), 0u);
    EXPECT_NE(ui.replaySign.getString().toAnsiString(), "REPLAY");
    const size_t frames = played.frames.size();
    const float time = g.totalTime;
    const std::uint32_t state = playStateChecksum(g);
    EXPECT_EQ(g.breakMusic.getStatus(), sf::Music::Paused);
    s.player.wait(3.0f);
    EXPECT_EQ(played.frames.size(), frames);
    EXPECT_EQ(g.totalTime, time);
    EXPECT_EQ(playStateChecksum(g), state);
    EXPECT_FALSE(ui.pauseShown) << "the play's own pause panel stays shut";

    // Space again: it goes on from where it stood, with its music.
    s.player.tap(sf::Keyboard::Space);
    EXPECT_FALSE(s.app.watch.paused);
    EXPECT_EQ(ui.replaySign.getString().toAnsiString(), "REPLAY");
    EXPECT_EQ(g.breakMusic.getStatus(), sf::Music::Playing);
    s.player.wait(1.0f);
    EXPECT_EQ(played.frames.size(), frames + 17);
    EXPECT_GT(g.totalTime, time);
    for (size_t i = 0; i < played.frames.size(); ++i) {
        ASSERT_EQ(played.frames[i], source.frames[i]) << "frame " << i;
    }

    // Escape leaves to the song list, the final music with it.
    s.player.tap(sf::Keyboard::Escape);
    EXPECT_EQ(ui.Screen, LevelSelect);
    EXPECT_FALSE(s.app.watch.active);
    EXPECT_FALSE(ui.replaySignShown);
    EXPECT_EQ(s.app.replaySource, nullptr);
    EXPECT_EQ(s.app.backgroundLoader, nullptr);
    EXPECT_TRUE(g.routes.empty());
    EXPECT_EQ(g.breakMusic.getStatus(), sf::Music::Stopped);
    EXPECT_EQ(recordsOf(ui), completedNoRecords);
}
