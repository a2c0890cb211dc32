#include "audio/held_samples.h"

#include <gtest/gtest.h>

#include <SFML/Audio.hpp>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <type_traits>
#include <vector>

#include "support/game_folder.h"

namespace {

bool writeSound(const std::string& path, unsigned rate, unsigned channels, size_t frames) {
    std::vector<sf::Int16> data(frames * channels);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = sf::Int16(9000 * std::sin(0.05 * i) + 3000 * std::sin(0.37 * i));
    sf::OutputSoundFile file;
    if (!file.openFromFile(path, rate, channels)) return false;
    file.write(data.data(), data.size());
    return true;
}

}  // namespace

// The quiet decoder reads exactly the samples of the buffer's own loader, or declines (and
// prints nothing) where a plain load must speak for itself.
TEST(HeldSamples, QuietDecodingMatchesThePlainLoadOrDeclines) {
    GameFolder folder(false);
    ASSERT_TRUE(writeSound("mono.ogg", 22050, 1, 30011));
    ASSERT_TRUE(writeSound("stereo.ogg", 44100, 2, 20000));
    ASSERT_TRUE(writeSound("wave.wav", 22050, 1, 700));
    std::rename("wave.wav", "wave_named.ogg");  // read by the plain load, not the quiet one
    { std::ofstream("garbage.ogg") << "OggS but nothing after"; }
    { std::ofstream("empty.ogg"); }
    const struct {
        const char* file;
        bool quiet;
        bool plain;
    } cases[] = {{"mono.ogg", true, true},        {"stereo.ogg", true, true},
                 {"wave_named.ogg", false, true}, {"garbage.ogg", false, false},
                 {"empty.ogg", false, false},     {"missing.ogg", false, false}};
    for (const auto& c : cases) {
        std::vector<sf::Int16> samples;
        unsigned channels = 0, rate = 0;
        testing::internal::CaptureStderr();
        const bool quiet = decodeOggQuietly(c.file, samples, channels, rate);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << c.file;
        EXPECT_EQ(quiet, c.quiet) << c.file;
        sf::SoundBuffer plain;
        testing::internal::CaptureStderr();
        EXPECT_EQ(plain.loadFromFile(c.file), c.plain) << c.file;
        testing::internal::GetCapturedStderr();
        if (!quiet) continue;
        EXPECT_EQ(channels, plain.getChannelCount()) << c.file;
        EXPECT_EQ(rate, plain.getSampleRate()) << c.file;
        ASSERT_EQ(samples.size(), plain.getSampleCount()) << c.file;
        EXPECT_TRUE(std::equal(samples.begin(), samples.end(), plain.getSamples())) << c.file;

        // Loaded from the decoded samples, the buffer plays them and keeps no copy.
        HeldBuffer held;
        ASSERT_TRUE(held.loadFromSamples(samples, channels, rate));
        EXPECT_EQ(held.sound().getSampleCount(), 0u);
        EXPECT_EQ(held.sampleCount(), samples.size());
        EXPECT_EQ(held.sound().getChannelCount(), channels);  // read from the audio library
        EXPECT_EQ(held.sound().getDuration(), plain.getDuration());
    }
}

// A copy of a buffer whose samples were released would be empty, and silent: copying one does
// not compile. A bank's vector moves its buffers instead, when it grows or is rebuilt.
static_assert(!std::is_copy_constructible_v<HeldBuffer> && !std::is_copy_assignable_v<HeldBuffer>,
              "a HeldBuffer must not be copyable");
static_assert(std::is_nothrow_move_constructible_v<HeldBuffer>,
              "a vector of HeldBuffer must move its elements, not copy them");

// Moved (a bank's vector growing), a buffer stays the one its sound plays, with its samples.
TEST(HeldSamples, ABankThatGrowsKeepsItsSoundsBound) {
    GameFolder folder(false);
    ASSERT_TRUE(writeSound("a.ogg", 22050, 1, 4000));
    std::vector<HeldBuffer> buffers(2);
    std::vector<sf::Sound> sounds(2);
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(buffers[i].loadFromFile("a.ogg"));
        sounds[i].setBuffer(buffers[i].sound());
    }
    buffers.reserve(64);
    buffers.resize(40);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(sounds[i].getBuffer(), &buffers[i].sound());
        EXPECT_EQ(buffers[i].sampleCount(), 4000u);
        EXPECT_EQ(buffers[i].sound().getChannelCount(), 1u);  // read from the audio library
    }
    sounds[1].play();
    EXPECT_EQ(sounds[1].getStatus(), sf::Sound::Playing);
    buffers[1].clear();
    EXPECT_EQ(sounds[1].getBuffer(), nullptr);
}
