#include <memory>

#include "audio/bank_ready.h"
#include "audio/load_with_thread.h"
#include "audio/sound_banks.h"
#include "play_fixture.h"

namespace {
// Sounds the loader has not handed over yet must not have been touched: they keep the
// library's default volume.
int touchedBeforeHandOver(std::vector<std::vector<sf::Sound>>& waveSounds,
                          std::vector<sf::Sound>& touchSounds) {
    int touched = 0;
    for (int i = 0; i < 4; ++i) {
        if (!songBankReady.touchReady(i) && touchSounds[i].getVolume() != 100.0f) touched += 1;
    }
    for (int r = 0; r < 4; ++r) {
        for (int k = 0; k < static_cast<int>(waveSounds[r].size()); ++k) {
            if (!songBankReady.waveReady(r, k) && waveSounds[r][k].getVolume() != 100.0f) {
                touched += 1;
            }
        }
    }
    return touched;
}
}  // namespace

// Plays started and left again and again while their songs are still loading, with presses,
// music starts, pauses and resumes on the way. Meant for the thread-sanitizer build too.
TEST_F(PlayTest, PlaysStartedAndLeftWhileTheirSongIsLoading) {
    // The loader thread writes its own line: the game's lines go to the real output here
    // rather than into a string shared by both threads.
    std::cout.rdbuf(oldOut);
    ASSERT_TRUE(testsounds::writeSongFiles(0, 6));
    ASSERT_TRUE(testsounds::writeSongFiles(3, 6));
    std::unique_ptr<LoadWithThread> loader;
    const int modes[6] = {1, 0, 0, 1, 1, 0};  // songs 0 and 3, the same song twice in a row
    for (int play = 0; play < 6; ++play) {
        const int mode = modes[play];
        const int song = songOfMode[mode];
        const bool explore = play % 2 == 1;

        // The start of a play, in the frame loop's order.
        game->mode = mode;
        game->explorePlay = explore;
        ASSERT_TRUE(game->loadBreakMusic(song));
        iface->Screen = explore ? Exploring : Playing;
        game->breakMusic.setLoop(explore);
        prepareSongBanks(waveSounds, waveBuffers, touchSounds, touchBuffers, song);
        loader = std::make_unique<LoadWithThread>(&touchSounds, &touchBuffers, &waveSounds,
                                                  &waveBuffers, song);
        loader->launch();
        setupRouteLayout(&waveSounds, 2048.0f, 0.0f, mode);
        game->initRoutes();
        game->startDrone();

        for (int frame = 0; frame < 10 + 15 * play; ++frame) {
            for (int i = 0; i < 4; ++i) {
                Route& r = game->routes[i];
                if (r.missedPress) {
                    r.missedPress = false;
                    playTouchSound(touchSounds, i, iface->volumeFactor);
                }
                if ((frame + i) % 3 == 0 && r.buttonState == 0) r.buttonState = 1;
            }
            if (frame == 2) {
                for (Route& r : game->routes) {
                    r.grabStarted = true;
                    r.fillCount = 3;
                }
            }
            if (frame % 7 == 3) {
                game->pauseDrone();
                for (Route& r : game->routes) r.pauseLayers(explore);
                game->paused = true;
                game->resumePlay();
            }
            if (frame == 12) game->forceFull = true;
            game->update(1.0f / 30.0f);
            if (game->finalStageStarted) game->finalStageStep(1.0f / 30.0f);
            EXPECT_EQ(touchedBeforeHandOver(waveSounds, touchSounds), 0) << play << " " << frame;
        }

        // Leaving the play: the loader is waited for unless it has finished, then deleted.
        if (play % 3 != 2) {
            if (loader->loadStatus.load() != 1) loader->wait();
            loader.reset();
            game->clearRoutes();
            EXPECT_TRUE(waveBuffers.empty());
            EXPECT_TRUE(touchBuffers.empty());
        } else {
            // A restart keeps the loader and its banks.
            game->initRoutes();
            EXPECT_EQ(game->routes.size(), 4u);
            loader->wait();
            EXPECT_EQ(loader->loadStatus.load(), 1);
            loader.reset();
            game->clearRoutes();
        }
    }
    EXPECT_TRUE(game->routes.empty());
}
