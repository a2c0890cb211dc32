#include "audio/held_samples.h"

#include <gtest/gtest.h>

#include <SFML/Audio.hpp>
#include <cmath>
#include <cstdio>
#include <fstream>
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
        sf::SoundBuffer held;
        ASSERT_TRUE(loadDecodedSamples(held, samples, channels, rate));
        EXPECT_EQ(held.getSampleCount(), 0u);
        EXPECT_EQ(heldSampleCount(held), samples.size());
        EXPECT_EQ(held.getDuration(), plain.getDuration());
    }
}
