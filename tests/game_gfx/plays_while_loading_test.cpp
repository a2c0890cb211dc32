#include "audio/bank_ready.h"
#include "play_fixture.h"
#include "support/bounded_wait.h"

namespace {
// Sounds not yet handed over by the loader must be left alone: they keep the default volume.
int touchedBeforeHandOver(std::vector<std::vector<sf::Sound>>& waves,
                          std::vector<sf::Sound>& touches) {
    int touched = 0;
    for (int i = 0; i < 4; ++i) {
        touched += !songBankReady.touchReady(i) && touches[i].getVolume() != 100.0f;
    }
    for (int r = 0; r < 4; ++r) {
        for (int k = 0; k < static_cast<int>(waves[r].size()); ++k) {
            touched += !songBankReady.waveReady(r, k) && waves[r][k].getVolume() != 100.0f;
        }
    }
    return touched;
}
// Sounds handed over by the loader already hold their buffer.
int handedOverWithoutBuffer(std::vector<std::vector<sf::Sound>>& waves,
                            std::vector<sf::Sound>& touches) {
    int missing = 0;
    for (int i = 0; i < 4; ++i) {
        missing += songBankReady.touchReady(i) && touches[i].getBuffer() == nullptr;
    }
    for (int r = 0; r < 4; ++r) {
        for (int k = 0; k < static_cast<int>(waves[r].size()); ++k) {
            missing += songBankReady.waveReady(r, k) && waves[r][k].getBuffer() == nullptr;
        }
    }
    return missing;
}
}  // namespace

// Plays started and left again and again while their song is still loading, with presses,
// music starts, pauses and resumes on the way. Also for the thread-sanitizer build.
TEST_F(PlayTest, PlaysStartedAndLeftWhileTheirSongIsLoading) {
    std::cout.rdbuf(oldOut);  // the loader writes too: no string shared by both threads
    ASSERT_TRUE(testsounds::writeSongFiles(0, 6));
    ASSERT_TRUE(testsounds::writeSongFiles(3, 6));
    const int modes[6] = {1, 0, 0, 1, 1, 0};  // songs 0 and 3, the same song twice in a row
    DecodePool pool(2);
    for (int play = 0; play < 6; ++play) {
        const bool explore = play % 2 == 1;
        start(modes[play], explore, false);
        auto loader = std::make_unique<LoadWithThread>(&touchSounds, &touchBuffers, &waveSounds,
                                                       &waveBuffers, songOfMode[modes[play]]);
        loader->pool = &pool;
        loader->launch();
        for (int frame = 0; frame < 10 + 15 * play; ++frame) {
            for (int i = 0; i < 4; ++i) {
                Route& r = game->routes[i];
                if (r.missedPress) playTouchSound(touchSounds, i, iface->volumeFactor);
                r.missedPress = false;
                if ((frame + i) % 3 == 0 && r.buttonState == 0) r.buttonState = 1;
                if (frame == 2) r.grabStarted = true;
                if (frame == 2) r.fillCount = 3;
            }
            if (frame % 7 == 3) {
                game->pauseDrone();
                for (Route& r : game->routes) r.pauseLayers(explore);
                game->resumePlay();
            }
            game->forceFull = frame == 12;
            update(1.0f / 30.0f);
            if (game->finalStageStarted) stageStep(1.0f / 30.0f);
            EXPECT_EQ(touchedBeforeHandOver(waveSounds, touchSounds), 0) << play << " " << frame;
            EXPECT_EQ(handedOverWithoutBuffer(waveSounds, touchSounds), 0) << play << " " << frame;
        }
        if (play % 3 == 2) startRoutes(*iface, *game);  // a restart keeps the loader and its banks
        // Left as the frame loop leaves a play: the loader stopped and joined unless it is done,
        // then deleted.
        returnsWithin(
            [&] {
                if (loader->loadStatus.load() != 1) {
                    loader->requestStop();
                    loader->wait();
                }
                loader.reset();
            },
            stepBoundSeconds, "leaving play " + std::to_string(play) + " while its song loads");
        game->clearRoutes();
        EXPECT_TRUE(waveBuffers.empty() && touchBuffers.empty());
    }
}
