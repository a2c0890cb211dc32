#include <gtest/gtest.h>

#include <SFML/Audio.hpp>
#include <cstdlib>
#include <vector>

#include "audio/bank_ready.h"
#include "board/route.h"
#include "core/songs.h"

namespace {

// The song's wave layers, every one a silent 32-second loop, as the routes find them.
class RouteAudioTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        std::vector<sf::Int16> silence(8000 * 32, 0);
        buffer = new sf::SoundBuffer;
        buffer->loadFromSamples(silence.data(), silence.size(), 1, 8000);
    }
    static void TearDownTestSuite() { delete buffer; }
    void TearDown() override {
        for (auto& row : layers)
            for (sf::Sound& s : row) s.stop();
        setupRouteLayout(nullptr, 2048.0f, 0.0f, 0);
        songBankReady.clear();
    }
    // Every layer of the song loaded and handed over.
    Route makeRoute(int song, int index, float factor = 1.0f) {
        layers.assign(4, std::vector<sf::Sound>());
        for (int r = 0; r < 4; ++r) {
            layers[r].assign(touchCounts[song][r], sf::Sound(*buffer));
            for (int k = 0; k < touchCounts[song][r]; ++k) songBankReady.wave[r][k] = true;
        }
        setupRouteLayout(&layers, 2048.0f, 0.0f, modeOrder[song]);
        return Route(index, factor);
    }
    // A route whose music runs with `count` layers, the last of them heard.
    Route runningRoute(int song, int index, int count) {
        Route route = makeRoute(song, index);
        route.musicRunning = true;
        route.layerCount = count;
        route.currentLayer = count - 1;
        route.nextLayer = count;
        route.startLayers();
        return route;
    }
    float volume(int index, int k) { return layers[index][k].getVolume(); }
    float offset(int index, int k) { return layers[index][k].getPlayingOffset().asSeconds(); }
    sf::Sound::Status status(int index, int k) { return layers[index][k].getStatus(); }

    static sf::SoundBuffer* buffer;
    std::vector<std::vector<sf::Sound>> layers;
};

sf::SoundBuffer* RouteAudioTest::buffer = nullptr;

}  // namespace

TEST_F(RouteAudioTest, FirstGrabStartsTheLayersAndACatchSwitchesToTheNext) {
    Route route = makeRoute(1, 2);  // three points per level
    route.fillCount = 5;
    route.grabStarted = true;
    route.updateLoopScheduler(0.01f);
    EXPECT_TRUE(route.musicRunning);
    EXPECT_EQ(route.layerCount, 1);
    EXPECT_NEAR(volume(2, 0), 50.0f, 0.01f);
    EXPECT_EQ(status(2, 1), sf::Sound::Playing);
    EXPECT_FLOAT_EQ(volume(2, 1), 0.0f);
    route.launchParticle(0, 0, 0);
    route.particles[0].finished = true;
    route.particles[0].judgement = 1;
    route.resolveParticles();  // level 3: two layers
    EXPECT_EQ(route.currentLayer, 1);
    EXPECT_EQ(status(2, 0), sf::Sound::Stopped);
    EXPECT_NEAR(volume(2, 1), 50.0f, 0.01f);
}

TEST_F(RouteAudioTest, LostLevelGlidesToQuarterVolumeAndAGainGlidesBack) {
    Route route = runningRoute(0, 3, 2);  // two points per level
    route.fillCount = 2;
    route.setFillCount(1);  // level 1 wants one layer: quieter until the loop ends
    EXPECT_FLOAT_EQ(route.baseVolume, 25.0f);
    EXPECT_EQ(route.layerCount, 2);
    std::vector<float> heard;
    for (int t = 0; t < 20 && route.volumeGlide; ++t) {
        route.updateGlide(0.06f);
        heard.push_back(volume(3, 1));
    }
    ASSERT_EQ(heard.size(), 14u);
    EXPECT_NEAR(heard[0], 48.0f, 0.01f);
    EXPECT_NEAR(heard[11], 26.0f, 0.01f);
    EXPECT_NEAR(heard[12], 25.0f, 0.01f) << "GlideLandsOnItsTargetInsteadOfCirclingIt";
    route.fillCount = 5;
    testing::internal::CaptureStdout();
    route.setFillCount(6);  // level 4 wants three layers: glides back, no new layer yet
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "old: 5 new:6\nUP25->50 3\n");
    EXPECT_EQ(route.layerCount, 3);
    EXPECT_EQ(route.currentLayer, 1);
    for (int t = 0; t < 20 && route.volumeGlide; ++t) route.updateGlide(0.06f);
    EXPECT_NEAR(volume(3, 1), 50.0f, 0.01f);
}

TEST_F(RouteAudioTest, ErrorMusicVolumesOverTime) {
    // Volume heard after each frame of 0.11 s; the last frame ends the effect.
    const std::vector<float> fade{25, 15, 5, 0, 0, 0, 0, 0, 25};
    const std::vector<float> pattern{90, 0, 0, 0, 0, 10, 10, 30, 30, 25};
    for (int kind : {2, 3}) {
        Route route = runningRoute(3, 1, 1);
        route.baseVolume = 25.0f;
        route.errorMusicOn = true;
        route.errorKind = kind;
        route.errorLength = kind == 2 ? 0.9f : 1.0f;
        const std::vector<float>& heard = kind == 2 ? fade : pattern;
        for (size_t t = 0; t < heard.size(); ++t) {
            route.updateErrorMusic(0.11f);
            EXPECT_NEAR(volume(1, 0), heard[t], 0.01f) << "kind " << kind << " frame " << t;
        }
        EXPECT_FALSE(route.errorMusicOn);
    }
    Route wobble = runningRoute(3, 1, 1);
    wobble.errorMusicOn = true;
    wobble.errorKind = 1;
    wobble.errorLength = 0.5f;  // five swings: a crest at 0.025 s, a trough at 0.075 s
    wobble.updateErrorMusic(0.025f);
    EXPECT_NEAR(volume(1, 0), 100.0f, 0.05f);
    wobble.updateErrorMusic(0.05f);
    EXPECT_NEAR(volume(1, 0), 0.0f, 0.05f);
}

TEST_F(RouteAudioTest, StutterJumpsBackToTheMissThenReturnsToTheLoop) {
    Route route = runningRoute(3, 1, 1);
    layers[1][0].pause();  // offsets stay where they are put
    route.phase = 4;
    route.loopTimer = route.loopLength - 0.9f;  // a miss in the last second: no effect
    route.startErrorMusic();
    EXPECT_FALSE(route.errorMusicOn);
    route.loopTimer = 2.0f;
    route.startErrorMusic();
    ASSERT_TRUE(route.errorMusicOn);
    route.errorKind = 0;
    route.errorLength = 0.1f;
    route.updateErrorMusic(0.06f);
    EXPECT_NEAR(offset(1, 0), 2.0f, 0.01f);
    layers[1][0].setPlayingOffset(sf::seconds(3.0f));
    route.loopTimer = 4.0f;
    route.updateErrorMusic(0.06f);  // past its length: one jump only, then back in step
    EXPECT_EQ(route.errorStep, 1);
    EXPECT_FALSE(route.errorMusicOn);
    EXPECT_NEAR(offset(1, 0), 4.0f, 0.01f);
}

TEST_F(RouteAudioTest, SpecialLayerRouteActsEveryOtherLoop) {
    Route route = runningRoute(2, 0, 2);
    ASSERT_EQ(route.layerTotal, 4);
    route.fillCount = 8;  // level 3: two layers
    route.specialKind = 2;
    const char* said[4] = {"", "playspecial > 02\n", "",
                           "ispec = true, no special this round\nupdating route\n"};
    const int heard[4] = {1, 5, 5, 1};
    for (int boundary = 0; boundary < 4; ++boundary) {
        testing::internal::CaptureStdout();
        route.updateLoopScheduler(route.loopLength + 0.001f);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), said[boundary]);
        EXPECT_EQ(route.currentLayer, heard[boundary]) << "boundary " << boundary;
    }
    EXPECT_EQ(status(0, 5), sf::Sound::Playing);
    route.stopSoundsOnRoute();
    for (int k = 0; k < 6; ++k) EXPECT_EQ(status(0, k), sf::Sound::Stopped);
}

TEST_F(RouteAudioTest, ExploreLayerOutsideTheListDoesNothing) {
    Route route = makeRoute(1, 0);  // five layers: 0..4
    route.exploreMode = 1;
    route.exploreLayer = 5;
    route.grabStarted = true;
    route.updateExploreSequencer(0.01f);
    EXPECT_TRUE(route.musicRunning);
    route.setAudibleVolume(80.0f);
    route.setAudibleOffset(1.0f);
    route.pauseLayers(true);
    route.resumeLayers(true);
    EXPECT_FLOAT_EQ(route.audibleVolume(), 0.0f);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(status(0, k), sf::Sound::Stopped);
    for (int loop = 1; loop <= 3; ++loop) {  // song 1 plays three loops
        route.updateExploreSequencer(route.loopLength + 0.001f);
        EXPECT_EQ(route.finalSignal, loop == 3);
    }
    EXPECT_EQ(route.fillCount, 100);
}

TEST_F(RouteAudioTest, LayerNotYetLoadedIsLeftAlone) {
    Route route = makeRoute(1, 2);
    songBankReady.wave[2][1] = false;
    route.fillCount = 2;
    route.grabStarted = true;
    route.updateLoopScheduler(0.01f);
    EXPECT_EQ(status(2, 0), sf::Sound::Playing);
    EXPECT_EQ(status(2, 1), sf::Sound::Stopped);
    EXPECT_FLOAT_EQ(volume(2, 1), 100.0f);
    songBankReady.wave[2][1] = true;  // handed over: it joins at the next loop boundary
    route.updateLoopScheduler(route.loopLength + 0.001f);
    EXPECT_EQ(status(2, 1), sf::Sound::Playing);
}

// The silent companion layer arrives from the loader after the music started: a pause and
// resume before the next boundary leaves it stopped, at the library's volume, unheard.
TEST_F(RouteAudioTest, ALayerHandedOverAfterTheMusicStartedIsNotStartedByAResume) {
    Route route = makeRoute(1, 2);
    songBankReady.wave[2][1] = false;
    route.fillCount = 2;
    route.grabStarted = true;
    route.updateLoopScheduler(0.01f);
    songBankReady.wave[2][1] = true;
    route.pauseLayers(false);
    EXPECT_EQ(status(2, 0), sf::Sound::Paused);
    route.resumeLayers(false);
    EXPECT_EQ(status(2, 0), sf::Sound::Playing);
    EXPECT_EQ(status(2, 1), sf::Sound::Stopped);
}

TEST_F(RouteAudioTest, PauseResumeAndASilentPlay) {
    Route route = runningRoute(2, 1, 1);
    route.pauseLayers(false);
    EXPECT_EQ(status(1, 1), sf::Sound::Paused);
    route.resumeLayers(false);
    EXPECT_EQ(status(1, 1), sf::Sound::Playing);
    Route silent = makeRoute(0, 1, 0.0f);
    silent.fillCount = 2;
    silent.grabStarted = true;
    silent.updateLoopScheduler(0.01f);
    silent.setFillCount(4);  // switches to layer 1, silently
    silent.errorMusicOn = true;
    silent.errorKind = 3;
    silent.updateErrorMusic(0.05f);
    EXPECT_EQ(silent.currentLayer, 1);
    EXPECT_FLOAT_EQ(volume(1, 0) + volume(1, 1), 0.0f);
}

// Every layer starts where its loop is heard: with an audio offset the loops are heard that
// much ahead of the board (behind when negative). At the first catch the loop begins; each
// loop boundary as heard restarts the layers, in the frame that passes it, as far into the
// loop as the frame lies past it. A layer the board's boundary wants anew (a new explore
// layer) joins where the heard loop is.
TEST_F(RouteAudioTest, LayersRestartAsFarIntoTheLoopAsTheBoundaryLiesBehind) {
    // Every start of a layer as the route reports it: layer and playing offset.
    static std::vector<std::pair<int, float>> starts;
    Route::onLayerStart = [](const Route&, int layer, float offset) {
        starts.push_back({layer, offset});
    };
    struct Case {
        int song;
        bool explore;
        float frame;  // a frame length that never divides the loop
        float shift;  // the audio offset, seconds
    };
    for (const Case& c : {Case{3, false, 0.047f, 0.0f}, Case{0, false, 1.0f / 12.0f, 0.0f},
                          Case{1, false, 0.0161f, 0.0f}, Case{0, true, 0.031f, 0.0f},
                          Case{0, false, 1.0f / 12.0f, 0.1f}, Case{1, false, 0.0161f, -0.3f},
                          Case{3, false, 0.047f, 0.3f}, Case{0, true, 0.031f, 0.25f},
                          Case{0, true, 0.031f, -0.1f}}) {
        SCOPED_TRACE(testing::Message()
                     << "song " << c.song << " explore " << c.explore << " offset " << c.shift);
        starts.clear();
        Route route = makeRoute(c.song, 1);
        route.audioShift = c.shift;
        route.fillCount = 4;
        route.exploreMode = c.explore ? 1 : 0;
        route.exploreLayer = 2;
        route.grabStarted = true;
        auto step = [&](float dt) {
            if (c.explore)
                route.updateExploreSequencer(dt);
            else
                route.updateLoopScheduler(dt);
        };
        double sinceStart = 0;  // game time since the music started, at the first catch
        step(c.frame);
        const double loop = route.loopLength;
        int onTime = 0;  // loops started again in the frame that passed their heard boundary
        while (sinceStart + c.shift < 3 * loop + 0.5) {
            for (const auto& start : starts) {
                const double heard = sinceStart + c.shift;
                ASSERT_GE(heard, 0.0) << "a layer started before the music is heard";
                const int loops = static_cast<int>(heard / loop);
                const double expected = heard - loops * loop;
                EXPECT_NEAR(start.second, expected, 1e-4) << "loop " << loops;
                if (loops > 0 && expected <= c.frame + 1e-4) ++onTime;
                // The sound itself: caught at once, it is where the route put it.
                sf::Sound& sound = layers[1][start.first];
                EXPECT_EQ(sound.getStatus(), sf::Sound::Playing);
                sound.pause();
                EXPECT_NEAR(sound.getPlayingOffset().asSeconds(), expected, 2e-3);
                sound.play();
            }
            starts.clear();
            step(c.frame);
            sinceStart += c.frame;
        }
        // Two layers each loop (one in explore play).
        EXPECT_EQ(onTime, c.explore ? 3 : 6);
    }
    Route::onLayerStart = nullptr;
}
