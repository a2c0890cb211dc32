#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/app.h"
#include "audio/bank_ready.h"
#include "audio/load_with_thread.h"
#include "audio/sound_decoder.h"
#include "core/songs.h"
#include "game/game.h"
#include "scripted_player.h"
#include "support/game_folder.h"
#include "support/window_events.h"
#include "ui/interface.h"

namespace {

// Frames until the condition holds, for at most `seconds` of real time (the work it waits
// for runs on worker threads, which each frame leaves the processor to for a moment).
template <class Condition>
bool framesUntil(ScriptedPlayer& player, Condition done, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline || !player.frame()) return done();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void pointAt(ScriptedPlatform& platform, int x, int y) {
    platform.mouse = {x, y};
    platform.push(mouseMoved(x, y));
}

}  // namespace

// A mouse player points at a row of the song list and clicks it: the first sounds decoded
// while the row was pointed at are that row's song, and the play takes all eight of them
// already decoded. Rows top to bottom hold modes 1, 3, 2, 0 (songs 0..3).
TEST(SongGuess, TheSongPointedAtWithTheMouseIsTheOneDecodedAheadForEveryRow) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    Session s;
    ASSERT_EQ(s.start(), -1);
    Interface& ui = *s.app.iface;
    App& app = s.app;
    const float rowY[4] = {1000, 1120, 1245, 1376};  // canvas heights inside each row
    ASSERT_TRUE(s.player.openSongList(false));
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        const int x = static_cast<int>(canvasX(app, 1000));
        const int y = static_cast<int>(canvasY(app, rowY[row]));
        pointAt(s.platform, x, y);
        s.player.frame();
        ASSERT_EQ(ui.hovered, modeOrder[row]) << "the mouse writes the row's mode";
        ASSERT_TRUE(framesUntil(
            s.player, [&] { return app.playSounds && app.playSounds->finished(); }, 120.0))
            << "the first sounds of the song pointed at were not decoded within 120 s";
        EXPECT_EQ(app.playSoundsSong, row) << "the song decoded ahead is the one pointed at";

        s.player.clickAt(static_cast<float>(x), static_cast<float>(y));
        ASSERT_EQ(ui.Screen, Playing);
        ASSERT_EQ(app.game->mode, modeOrder[row]);
        LoadWithThread* loader = app.backgroundLoader.get();
        ASSERT_NE(loader, nullptr);
        ASSERT_TRUE(framesUntil(
            s.player, [] { return songBankReady.firstSoundsReady(); }, 60.0))
            << "the play's first sounds were not published within 60 s";
        EXPECT_EQ(loader->firstSoundsReady.load(), 8) << "every first sound came decoded";

        // Back to the list through the pause panel.
        s.player.tap(sf::Keyboard::Space);
        s.player.wait(1.0f);
        s.player.tap(sf::Keyboard::Escape);
        ASSERT_TRUE(s.player.runUntil([&] { return ui.Screen == LevelSelect; }, 3.0f));
    }
}
