#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <sstream>

#include "audio/bank_ready.h"
#include "audio/held_samples.h"
#include "audio/load_with_thread.h"
#include "audio/sound_banks.h"
#include "support/bounded_wait.h"
#include "support/game_folder.h"
#include "support/load_watch.h"
#include "test_sounds.h"

using namespace testsounds;

namespace {

// Every case runs twice: the loader decoding every file itself, and the loader given the
// first sounds of all four songs already being decoded ahead (as the song list does).
class Loader : public ::testing::TestWithParam<bool> {
protected:
    GameFolder folder{false};
    // The game's pool, as on a machine of three cores.
    DecodePool pool{2};
    std::vector<std::vector<sf::Sound>> waveSounds;
    std::vector<std::vector<HeldBuffer>> waveBuffers;
    std::vector<sf::Sound> touchSounds;
    std::vector<HeldBuffer> touchBuffers;
    std::ostringstream out, err;
    std::unique_ptr<LoadWithThread> loader;
    // Given to the loaders started (see LoadWithThread::betweenAttachAndFlag).
    std::function<void()> betweenAttachAndFlag;
    // Set by a test: the loader is stopped before its thread starts.
    bool stopBeforeLaunch = false;

    void TearDown() override { drop(); }

    // Deletes the loader, if any (the deletion waits for its run: bounded).
    void drop() {
        if (loader) returnsWithin([&] { loader.reset(); }, stepBoundSeconds, "deleting a loader");
    }
    // Starts the loader of the song on fresh banks; the previous loader goes first.
    void start(int song) {
        drop();
        prepareSongBanks(waveSounds, waveBuffers, touchSounds, touchBuffers, song);
        loader = std::make_unique<LoadWithThread>(&touchSounds, &touchBuffers, &waveSounds,
                                                  &waveBuffers, song);
        EXPECT_EQ(loader->loadStatus.load(), 0);
        if (GetParam()) {
            std::vector<std::string> files;
            for (int other = 0; other < 4; ++other) {
                for (const std::string& file : firstSoundFiles(other)) files.push_back(file);
            }
            loader->firstSounds = std::make_unique<SoundDecoder>(pool, files);
        }
        loader->pool = &pool;
        loader->betweenAttachAndFlag = betweenAttachAndFlag;
        if (stopBeforeLaunch) loader->requestStop();
        loader->launch();
    }
    // Waits for the loader's run to return (bounded; see returnsWithin for `release`).
    void finish(int song, double seconds = stepBoundSeconds,
                const std::function<void()>& release = nullptr) {
        returnsWithin([&] { loader->wait(); }, seconds,
                      "the loader of song " + std::to_string(song), release);
    }
    // A whole load, its lines captured; the loader is kept (deleting it frees the buffers).
    void load(int song, double seconds = stepBoundSeconds,
              const std::function<void()>& release = nullptr) {
        std::streambuf* oldOut = std::cout.rdbuf(out.rdbuf());
        std::streambuf* oldErr = std::cerr.rdbuf(err.rdbuf());
        start(song);
        finish(song, seconds, release);
        std::cout.rdbuf(oldOut);
        std::cerr.rdbuf(oldErr);
        EXPECT_EQ(loader->firstSounds, nullptr) << "what was decoded ahead is freed";
    }
    // Whether the sound holds its own buffer, with samples.
    static bool holds(const sf::Sound& sound, const HeldBuffer& buffer) {
        return sound.getBuffer() == &buffer.sound() && buffer.sampleCount() > 0;
    }
    // Elements whose flag is up while their sound does not hold its buffer yet.
    int readyWithoutBuffer() const {
        int count = 0;
        for (int i = 0; i < 4; ++i) {
            count += songBankReady.touchReady(i) && !holds(touchSounds[i], touchBuffers[i]);
        }
        for (int r = 0; r < 4; ++r) {
            for (size_t k = 0; k < waveSounds[r].size(); ++k) {
                count += songBankReady.waveReady(r, static_cast<int>(k)) &&
                         !holds(waveSounds[r][k], waveBuffers[r][k]);
            }
        }
        return count;
    }
    // Elements whose sound has a buffer while their flag is still down.
    int attachedNotReady() const {
        int count = 0;
        for (int i = 0; i < 4; ++i) {
            count += !songBankReady.touchReady(i) && touchSounds[i].getBuffer() != nullptr;
        }
        for (int r = 0; r < 4; ++r) {
            for (size_t k = 0; k < waveSounds[r].size(); ++k) {
                count += !songBankReady.waveReady(r, static_cast<int>(k)) &&
                         waveSounds[r][k].getBuffer() != nullptr;
            }
        }
        return count;
    }
    bool wave(int r, int k) const { return waveBuffers[r][k].sampleCount() > 0; }

    // What a play does in one frame with the handed-over sounds: touches and layers played,
    // turned down, moved and paused. Returns how many it used.
    int useWhatIsReady() {
        EXPECT_EQ(readyWithoutBuffer(), 0) << "a sound handed over without its buffer";
        int used = 0;
        for (int i = 0; i < 4; ++i) used += playTouchSound(touchSounds, i, 1.0f);
        for (int r = 0; r < 4; ++r) {
            for (int k = 0; k < static_cast<int>(waveSounds[r].size()); ++k) {
                if (!songBankReady.waveReady(r, k)) continue;
                waveSounds[r][k].play();
                waveSounds[r][k].setVolume(20.0f);
                waveSounds[r][k].setPlayingOffset(sf::seconds(0.01f));
                waveSounds[r][k].pause();
                used += 1;
            }
        }
        return used;
    }
};

}  // namespace

TEST_P(Loader, BanksAreSizedPerSongAndLoweredBeforeLoading) {
    const int files[4] = {32, 24, 27, 25};
    for (int song : {0, 2, 1, 3}) {
        songBankReady.wave[3][4] = true;
        prepareSongBanks(waveSounds, waveBuffers, touchSounds, touchBuffers, song);
        ASSERT_EQ(touchSounds.size() + touchBuffers.size() + waveSounds.size(), 12u);
        int total = 4;
        for (int r = 0; r < 4; ++r) {
            EXPECT_EQ(waveSounds[r].size(), size_t(touchCounts[song][r]));
            total += static_cast<int>(waveBuffers[r].size());
        }
        EXPECT_EQ(total, files[song]);
        EXPECT_FALSE(songBankReady.waveReady(3, 4));
    }
}

TEST_P(Loader, EveryFileLandsInItsElementAndIsHandedOver) {
    for (int song = 0; song < 4; ++song) {
        ASSERT_TRUE(writeSongFiles(song));
        load(song);
        ASSERT_EQ(loader->loadStatus.load(), 1);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(touchBuffers[i].sampleCount(), touchLength(i + 1));
            EXPECT_EQ(touchSounds[i].getBuffer(), &touchBuffers[i].sound());
            EXPECT_TRUE(songBankReady.touchReady(i));
        }
        for (int r = 0; r < 4; ++r) {
            for (int k = 0; k < touchCounts[song][r]; ++k) {
                EXPECT_EQ(waveBuffers[r][k].sampleCount(), waveLength(r + 1, k + 1));
                EXPECT_EQ(waveSounds[r][k].getBuffer(), &waveBuffers[r][k].sound());
                EXPECT_TRUE(songBankReady.waveReady(r, k));
            }
        }
    }
    EXPECT_EQ(out.str(), "success thread!\nsuccess thread!\nsuccess thread!\nsuccess thread!\n");
    EXPECT_EQ(err.str(), "");
}

TEST_P(Loader, AMissingThirdTouchStopsBeforeAnyWaveFile) {
    ASSERT_TRUE(writeSongFiles(2, 1, touchName(2, 3)));
    load(2);
    EXPECT_EQ(loader->loadStatus.load(), -1);
    EXPECT_EQ(err.str(), "error loading touch!\n");
    EXPECT_EQ(out.str(), "");
    EXPECT_TRUE(songBankReady.touchReady(1));
    EXPECT_FALSE(songBankReady.touchReady(2));
    EXPECT_EQ(touchBuffers[3].sampleCount(), 0u);
    for (int r = 0; r < 4; ++r) EXPECT_FALSE(wave(r, 0) || songBankReady.waveReady(r, 0));
}

TEST_P(Loader, FirstLayersComeFirstThenTheOthersRouteByRoute) {
    ASSERT_TRUE(writeSongFiles(0, 1, waveName(0, 2, 1)));
    load(0);
    EXPECT_EQ(loader->loadStatus.load(), -1);
    EXPECT_TRUE(wave(0, 0));
    EXPECT_FALSE(wave(0, 1) || wave(2, 0) || wave(3, 0));

    ASSERT_TRUE(writeSongFiles(0));
    std::remove(waveName(0, 1, 3).c_str());
    load(0);
    EXPECT_EQ(err.str(), "error music!\nerror music!\n");
    for (int r = 0; r < 4; ++r) EXPECT_TRUE(wave(r, 0));
    EXPECT_TRUE(wave(0, 1) && songBankReady.waveReady(0, 1));
    EXPECT_FALSE(wave(0, 2) || wave(0, 3) || wave(1, 1) || songBankReady.waveReady(1, 1));
}

TEST_P(Loader, TheSameSongTwiceIsReadAgain) {
    ASSERT_TRUE(writeSongFiles(1));
    load(1);
    ASSERT_EQ(loader->loadStatus.load(), 1);
    drop();
    EXPECT_TRUE(touchBuffers.empty());  // the deleted loader freed them
    load(1);
    EXPECT_EQ(loader->loadStatus.load(), 1);
    EXPECT_EQ(waveBuffers[3][4].sampleCount(), waveLength(4, 5));
}

// A file that only the plain load reads (a WAV under an .ogg name) is still loaded, in its
// place in the order.
TEST_P(Loader, AFileOnlyThePlainLoadReadsIsLoadedInItsTurn) {
    ASSERT_TRUE(writeSongFiles(1));
    ASSERT_TRUE(writeTone("other.wav", 777));
    std::rename("other.wav", waveName(1, 2, 1).c_str());
    load(1);
    EXPECT_EQ(loader->loadStatus.load(), 1);
    EXPECT_EQ(waveBuffers[1][0].sampleCount(), 777u);
    EXPECT_TRUE(songBankReady.waveReady(1, 0));
    EXPECT_EQ(err.str(), "");
}

// A FIFO among the later layers (it would block whoever opens it until a writer comes), after
// a missing layer: the load ends at the missing one, without waiting for the FIFO.
TEST_P(Loader, AFifoAfterAMissingLayerIsNotRead) {
    ASSERT_TRUE(writeSongFiles(0, 1, waveName(0, 1, 2)));
    std::remove(waveName(0, 1, 3).c_str());
    ASSERT_TRUE(makeFifo(waveName(0, 1, 3)));
    load(0, 10.0, [] { releaseFifoReaders(waveName(0, 1, 3)); });
    EXPECT_EQ(loader->loadStatus.load(), -1);
    EXPECT_EQ(err.str(), "error music!\n");
    EXPECT_TRUE(wave(0, 0) && wave(3, 0));
    EXPECT_FALSE(wave(0, 1) || wave(0, 2) || songBankReady.waveReady(0, 2));
}

// The hand-over of each sound: when its flag rises, the sound already holds its buffer. Seen at
// the moment of each publication, between the two steps: every raised flag has its sound's
// buffer, and the one sound being handed over has its buffer and not yet its flag.
TEST_P(Loader, AFlagRisesOnlyOnceItsSoundHoldsItsBuffer) {
    ASSERT_TRUE(writeSongFiles(0));
    int published = 0;
    betweenAttachAndFlag = [&] {
        ++published;
        EXPECT_EQ(readyWithoutBuffer(), 0) << "a flag up before its sound holds its buffer";
        EXPECT_EQ(attachedNotReady(), 1) << "the sound being handed over holds its buffer";
    };
    load(0);
    EXPECT_EQ(loader->loadStatus.load(), 1);
    EXPECT_EQ(published, 32);
    EXPECT_EQ(readyWithoutBuffer() + attachedNotReady(), 0);
}

// Also for the thread-sanitizer build: loaders deleted at any stage of their load while the
// main thread uses what they have handed over.
TEST_P(Loader, DeletedMidLoadItWaitsThenFreesTheBuffersAndKeepsTheSounds) {
    ASSERT_TRUE(writeSongFiles(0, 8));
    for (int round = 0; round < 6; ++round) {
        start(0);
        for (int frame = 0; frame < round * round * 4; ++frame) useWhatIsReady();
        drop();
        EXPECT_TRUE(waveBuffers.empty() && touchBuffers.empty());
        ASSERT_EQ(touchSounds.size(), 4u);
        EXPECT_EQ(touchSounds[0].getBuffer(), nullptr);
        EXPECT_EQ(waveSounds[3][6].getBuffer(), nullptr);
        EXPECT_EQ(useWhatIsReady(), 0);
    }
}

// A loader stopped at any point of its load (between the two steps of a publication, the
// worst moment) returns without reading further: the last layer is a FIFO, which only a loader
// that goes on would open and wait on. What was published before the stop stays, whole; nothing
// after it is published, attached or kept; nothing is printed.
TEST_P(Loader, StoppedMidLoadItPublishesNothingAfterTheStop) {
    ASSERT_TRUE(writeSongFiles(0, 1, waveName(0, 4, 7)));
    ASSERT_TRUE(makeFifo(waveName(0, 4, 7)));
    // Stopped at the n-th publication (0: before the launch); song 0 publishes 31 sounds
    // before the FIFO.
    for (int stopAt : {0, 1, 4, 8, 9, 17, 30}) {
        SCOPED_TRACE("stopped at publication " + std::to_string(stopAt));
        int published = 0;
        betweenAttachAndFlag = [&] {
            if (++published == stopAt) loader->requestStop();
        };
        std::streambuf* oldOut = std::cout.rdbuf(out.rdbuf());
        std::streambuf* oldErr = std::cerr.rdbuf(err.rdbuf());
        stopBeforeLaunch = stopAt == 0;
        start(0);
        stopBeforeLaunch = false;
        finish(0, 10.0, [] { releaseFifoReaders(waveName(0, 4, 7)); });
        std::cout.rdbuf(oldOut);
        std::cerr.rdbuf(oldErr);
        EXPECT_EQ(loader->loadStatus.load(), -2);
        EXPECT_EQ(published, stopAt) << "publications after the stop";
        // The order of publication: touches, first layers, then the rows.
        std::vector<std::pair<int, int>> order;  // (-1, touch) or (route, layer)
        for (int i = 0; i < 4; ++i) order.push_back({-1, i});
        for (int r = 0; r < 4; ++r) order.push_back({r, 0});
        for (int r = 0; r < 4; ++r) {
            for (int k = 1; k < touchCounts[0][r]; ++k) order.push_back({r, k});
        }
        for (size_t n = 0; n < order.size(); ++n) {
            const auto [r, k] = order[n];
            const bool ready = r < 0 ? songBankReady.touchReady(k) : songBankReady.waveReady(r, k);
            const HeldBuffer& buffer = r < 0 ? touchBuffers[k] : waveBuffers[r][k];
            EXPECT_EQ(ready, static_cast<int>(n) < stopAt) << "sound " << n;
            EXPECT_EQ(buffer.sampleCount() > 0, ready) << "sound " << n << " kept";
        }
        EXPECT_EQ(readyWithoutBuffer() + attachedNotReady(), 0) << "a sound half handed over";
        EXPECT_EQ(out.str() + err.str(), "");
        EXPECT_EQ(loader->firstSounds, nullptr) << "what was decoded ahead is freed";
    }
}

TEST_P(Loader, EverythingIsUsableOnceTheLoadIsDone) {
    ASSERT_TRUE(writeSongFiles(2, 2));
    start(2);
    waitUntil(
        [&] {
            useWhatIsReady();
            return loader->loadStatus.load() != 0;
        },
        stepBoundSeconds, "the loader of song 2 to report its end");
    EXPECT_EQ(loader->loadStatus.load(), 1);
    EXPECT_EQ(useWhatIsReady(), 27);
}

// The benchmarks' watcher reads the flags from a thread of its own while the main thread plays
// what is handed over (also for the thread-sanitizer build): the first sounds come before the
// end of the load, and both moments are seen.
TEST_P(Loader, WatchedFromAnotherThreadWhileThePlayUsesItsSounds) {
    ASSERT_TRUE(writeSongFiles(2, 2));
    LoadWatch watch;
    start(2);
    watch.watch(loader.get());
    waitUntil(
        [&] {
            useWhatIsReady();
            return watch.endMs() >= 0;
        },
        stepBoundSeconds, "the watcher to see the end of the load of song 2");
    watch.stop();
    EXPECT_EQ(loader->loadStatus.load(), 1);
    EXPECT_GE(watch.firstSoundsMs(), 0.0);
    EXPECT_LE(watch.firstSoundsMs(), watch.endMs());
}

INSTANTIATE_TEST_SUITE_P(FirstSounds, Loader, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "DecodedAhead" : "DecodedByTheLoader";
                         });
