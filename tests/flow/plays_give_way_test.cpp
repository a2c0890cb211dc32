#include <gtest/gtest.h>

#include <chrono>

#include "app/app.h"
#include "audio/load_with_thread.h"
#include "game/game.h"
#include "scripted_player.h"
#include "support/game_folder.h"
#include "ui/interface.h"

// Where the drawing runs on the processor, a play's decoding gives way to its frames. Frames
// that come back to back, never resting, still let the song's whole bank load; leaving the
// play while it loads returns to the song list at once; and a second play loads as well.
TEST(PlaysGiveWay, BackToBackFramesStillLoadTheBankAndLeavingIsAtOnce) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    Session s;
    s.platform.softwareRenderer = true;
    ASSERT_EQ(s.start(), -1);
    Interface& ui = *s.app.iface;
    s.player.dt = 1.0f / 60.0f;
    for (int play = 0; play < 2; ++play) {
        SCOPED_TRACE("play " + std::to_string(play));
        ASSERT_TRUE(s.player.openSongList(false));
        ASSERT_TRUE(s.player.startListPosition(3));
        ASSERT_EQ(ui.Screen, Playing);
        LoadWithThread* loader = s.app.backgroundLoader.get();
        ASSERT_NE(loader, nullptr);
        if (play == 0) {
            // Leaving while it loads: the pause panel, then quit.
            s.player.tap(sf::Keyboard::Escape);
            ASSERT_TRUE(s.player.runUntil([&] { return ui.pauseShown && !ui.pauseOpening; }, 3.0f));
            const bool loading = loader->loadStatus.load() == 0;
            s.player.tap(sf::Keyboard::Escape);
            EXPECT_EQ(ui.Screen, LevelSelect) << "still loading at the quit: " << loading;
            continue;
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (loader->loadStatus.load() == 0 && std::chrono::steady_clock::now() < deadline)
            s.player.frame();
        EXPECT_EQ(loader->loadStatus.load(), 1) << "the bank did not load within 120 s of frames";
    }
}
