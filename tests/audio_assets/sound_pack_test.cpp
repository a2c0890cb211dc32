// The generated sound pack against the game's own tables: the lengths the routes rely on to
// restart their layers on the loop, the final-stage lengths, the file set the loaders open,
// the generator's reproducibility and its care with the folder it empties.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/songs.h"
#include "tools/audio/sound_checks.h"

namespace fs = std::filesystem;
using mirevo_audio::Decoded;

namespace {

std::string assetsDir() {
    const char* env = std::getenv("MIREVO_ASSETS");
    return env ? env : MIREVO_ASSETS_DIR;
}

std::string generator() {
    return std::string(MIREVO_BINARY_DIR) + "/tools/audio/gen_audio";
}

std::size_t framesOf(float seconds) {
    return static_cast<std::size_t>(std::llround(static_cast<double>(seconds) * 44100.0));
}

std::string wavePath(int song, const std::string& name) {
    const std::string n = std::to_string(song + 1);
    return assetsDir() + "/qo_audio/mirevo_qo" + n + "_waves/mirevo_qo" + n + name;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int run(const std::string& command) {
    return std::system((command + " > /dev/null 2>&1").c_str());
}

struct TempDir {
    fs::path path;
    explicit TempDir(const std::string& name) {
        path = fs::temp_directory_path() / ("mirevo_" + name + "_" + std::to_string(::getpid()));
        std::error_code ec;
        fs::remove_all(path, ec);
        fs::create_directories(path, ec);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

}  // namespace

// Every layer lasts one loop of its song to the sample, so that a route restarting its layers
// at each loop boundary never cuts a note short or leaves a gap; the final music lasts the
// final stage.
TEST(SoundPackDurations, LayersLastTheLoopAndFinalMusicTheFinalStage) {
    for (int song = 0; song < 4; ++song) {
        for (int route = 0; route < 4; ++route) {
            for (int k = 1; k <= touchCounts[song][route]; ++k) {
                const std::string path = wavePath(
                    song, "_t" + std::to_string(route + 1) + "_" + std::to_string(k) + ".ogg");
                Decoded d;
                ASSERT_TRUE(mirevo_audio::decodeFile(path, d)) << path;
                EXPECT_EQ(d.sampleRate, 44100u) << path;
                EXPECT_EQ(d.frames(), framesOf(songLoopLength[song])) << path;
            }
        }
        const std::string path = wavePath(song, "_break_scoring.ogg");
        Decoded d;
        ASSERT_TRUE(mirevo_audio::decodeFile(path, d)) << path;
        EXPECT_EQ(d.frames(), framesOf(songLength[song])) << path;
    }
}

// The short cues are short: a touch under half a second, the menu click under 0.15 s.
TEST(SoundPackDurations, CuesStayShort) {
    for (int song = 0; song < 4; ++song) {
        const std::string n = std::to_string(song + 1);
        for (int route = 1; route <= 4; ++route) {
            const std::string path = assetsDir() + "/qo_audio/mirevo_touches/mirevo_qo" + n +
                                     "/mirevo_qo" + n + "_touche" + std::to_string(route) + ".ogg";
            Decoded d;
            ASSERT_TRUE(mirevo_audio::decodeFile(path, d)) << path;
            EXPECT_LT(d.frames(), framesOf(0.5f)) << path;
        }
    }
    Decoded click;
    ASSERT_TRUE(mirevo_audio::decodeFile(
        assetsDir() + "/qo_audio/mirevo_menu/mirevo_menu_click1.ogg", click));
    EXPECT_LT(click.frames(), framesOf(0.15f));
}

// Song 3's wave bank (21 layers of 30 s) decoded at 16 bits fits in 128 MB.
TEST(SoundPackDurations, LargestSongBankFitsInMemory) {
    std::size_t bytes = 0;
    for (int route = 0; route < 4; ++route) {
        for (int k = 1; k <= touchCounts[3][route]; ++k) {
            Decoded d;
            const std::string path =
                wavePath(3, "_t" + std::to_string(route + 1) + "_" + std::to_string(k) + ".ogg");
            ASSERT_TRUE(mirevo_audio::decodeFile(path, d)) << path;
            bytes += d.samples.size() * sizeof(std::int16_t);
        }
    }
    EXPECT_LT(bytes, 128u * 1024u * 1024u);
}

// The loop-seam measure flags a jump that a restart would turn into a click, and accepts a
// waveform that runs on smoothly.
TEST(SoundPackSeams, ClickAtTheSeamIsFound) {
    Decoded smooth;
    smooth.sampleRate = 44100;
    smooth.channels = 2;
    const std::size_t frames = 44100;
    for (std::size_t i = 0; i < frames; ++i) {
        // 441 Hz: exactly 441 periods in the loop.
        const auto s = static_cast<std::int16_t>(
            std::lround(8000.0 * std::sin(2.0 * 3.141592653589793 * 441.0 * i / 44100.0)));
        smooth.samples.push_back(s);
        smooth.samples.push_back(s);
    }
    EXPECT_TRUE(mirevo_audio::seamContinuous(smooth));

    Decoded cut = smooth;
    cut.samples.resize(cut.samples.size() - 2 * 25);  // ends a quarter period early
    EXPECT_FALSE(mirevo_audio::seamContinuous(cut));
}

// Two runs give byte-identical files, whatever folder they are written to, and the folder is
// emptied of anything stale first.
TEST(SoundPackGenerator, SameManifestOnEveryRunAndNoStaleFiles) {
    ASSERT_TRUE(fs::exists(generator())) << generator();
    TempDir a("audio_a"), b("audio_b");
    fs::create_directories(a.path / "qo_audio" / "old");
    std::ofstream(a.path / "qo_audio" / "old" / "stale.ogg") << "stale";
    const std::string subset =
        " --only mirevo_qo1_t2_3 --only mirevo_drone2 --only mirevo_qo2_touche --only click";
    for (const fs::path& dir : {a.path, b.path}) {
        ASSERT_EQ(run(generator() + " " + (dir / "qo_audio").string() + " " +
                      (dir / "qo_audio.manifest").string() + subset),
                  0);
    }
    const std::string manifest = readFile(a.path / "qo_audio.manifest");
    EXPECT_EQ(manifest, readFile(b.path / "qo_audio.manifest"));
    EXPECT_NE(manifest.find("qo_audio/mirevo_qo1_waves/mirevo_qo1_t2_3.ogg\t6.850000\t"),
              std::string::npos);
    EXPECT_NE(manifest.find("qo_audio/mirevo_drones/mirevo_drone2.ogg"), std::string::npos);
    EXPECT_NE(manifest.find("qo_audio/mirevo_touches/mirevo_qo2/mirevo_qo2_touche4.ogg"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(a.path / "qo_audio" / "old"));
}

// The generator empties its output folder, so it refuses one that is not called qo_audio.
TEST(SoundPackGenerator, RefusesToEmptyAnotherFolder) {
    ASSERT_TRUE(fs::exists(generator())) << generator();
    TempDir dir("audio_refuse");
    std::ofstream(dir.path / "keep.txt") << "keep";
    EXPECT_NE(run(generator() + " " + dir.path.string() + " " +
                  (dir.path / "qo_audio.manifest").string() + " --only click"),
              0);
    EXPECT_TRUE(fs::exists(dir.path / "keep.txt"));
}
