// While a play's first sounds are loading and nothing moves on its board, the loop leaves
// the processor to the loader after each frame, a tenth of a second at most; in every
// other state it never waits.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "app/app.h"
#include "audio/load_with_thread.h"
#include "board/route.h"
#include "core/bank_ready.h"
#include "game/game.h"
#include "scripted_player.h"
#include "support/game_folder.h"
#include "support/scripted_platform.h"
#include "ui/interface.h"

TEST(FirstSoundsRest, TheLoopWaitsOnlyWhileAStillBoardAwaitsItsFirstSounds) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    Session s;
    ASSERT_EQ(s.start(), -1);
    Interface& ui = *s.app.iface;
    Game& g = *s.app.game;
    ASSERT_TRUE(s.player.openSongList(false));
    EXPECT_EQ(s.platform.rested, 0.0f) << "on the menus";
    ASSERT_TRUE(s.player.startListPosition(0));
    s.player.catching = false;
    LoadWithThread* loader = s.app.backgroundLoader.get();
    ASSERT_NE(loader, nullptr);
    // The real loader finishes (no frame runs meanwhile, so the board stays still); each
    // row below then puts the play in a state and runs one frame.
    for (int i = 0; i < 3000 && loader->loadStatus.load() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(loader->loadStatus.load(), 1);
    ASSERT_TRUE(songBankReady.firstSoundsReady());
    for (const Route& r : g.routes) ASSERT_TRUE(r.particles.empty());

    auto loading = [&] {
        loader->loadStatus = 0;
        songBankReady.wave[3][0] = false;
    };
    auto loaded = [&] {
        loader->loadStatus = 1;
        songBankReady.wave[3][0] = true;
    };
    struct Row {
        const char* state;
        std::function<void()> set;
        float rest;
    };
    const Row rows[] = {
        {"still board, first sounds loading", loading, 0.1f},
        {"first sounds published", [&] {}, 0.0f},
        {"still board, loader failed",
         [&] {
             loading();
             loader->loadStatus = -1;
         },
         0.0f},
        {"pause panel opening while loading",
         [&] {
             s.platform.pushKey(sf::Keyboard::Space);
             s.player.frame();
             ASSERT_TRUE(ui.pauseShown || ui.pauseOpening);
             loading();
         },
         0.0f},
        {"pause panel gone, still loading",
         [&] {
             ASSERT_TRUE(s.player.runUntil([&] { return !ui.pauseOpening; }, 3.0f));
             s.platform.pushKey(sf::Keyboard::Space);
             ASSERT_TRUE(s.player.runUntil([&] { return !g.paused; }, 3.0f));
             loading();
         },
         0.1f},
        {"a creature on the board while loading",
         [&] {
             ASSERT_TRUE(s.player.runUntil(
                 [&] {
                     for (const Route& r : g.routes)
                         if (!r.particles.empty()) return true;
                     return false;
                 },
                 5.0f));
             loading();
         },
         0.0f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.state);
        row.set();
        s.platform.rested = 0.0f;
        ASSERT_TRUE(s.player.frame());
        EXPECT_NEAR(s.platform.rested, row.rest, 0.0021f);
        loaded();
    }
    s.platform.rested = 0.0f;
    s.player.tap(sf::Keyboard::Escape);
    s.player.wait(1.5f);
    s.player.tap(sf::Keyboard::Escape);
    EXPECT_EQ(ui.Screen, LevelSelect);
    s.player.wait(0.5f);
    EXPECT_EQ(s.platform.rested, 0.0f) << "back on the song list";
}
