#include "audio/sound_banks.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "audio/bank_ready.h"
#include "audio/held_samples.h"
#include "audio/sound_decoder.h"
#include "support/game_folder.h"
#include "test_sounds.h"

using testsounds::writeTone;

// Loaded straight from the files, or from a decoder working ahead on every file (the start-up),
// the menu sounds come out the same, and a missing file stops at the same place.
TEST(MenuSounds, LoadInIndexOrderAndStopAtAMissingMenuLoop) {
    for (bool decodedAhead : {false, true}) {
        SCOPED_TRACE(decodedAhead ? "decoded ahead" : "plain");
        GameFolder folder(false);
        DecodePool pool(2);
        const char* files[4] = {"qo_audio/mirevo_menu/mirevo_menu_click1.ogg",
                                "qo_audio/mirevo_menu/mirevo_menu_loop3.ogg",
                                "qo_audio/mirevo_menu/mirevo_menu_maxVol_loop2.ogg",
                                "qo_audio/mirevo_error/mirevo_sound_error6.ogg"};
        for (int i = 0; i < 4; ++i) ASSERT_TRUE(writeTone(files[i], 500 + 10 * i));
        std::remove(files[1]);
        std::vector<sf::Sound> sounds;
        std::vector<HeldBuffer> buffers;
        auto ahead = [&] {
            return decodedAhead ? std::make_unique<SoundDecoder>(
                                      pool, std::vector<std::string>(files, files + 4))
                                : nullptr;
        };
        testing::internal::CaptureStderr();
        EXPECT_FALSE(loadMenuSounds(sounds, buffers, ahead().get()));
        // The plain load's own message names the missing file, once.
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("mirevo_menu_loop3.ogg"), std::string::npos);
        EXPECT_EQ(said.find("mirevo_menu_loop3.ogg"), said.rfind("mirevo_menu_loop3.ogg"));
        ASSERT_EQ(buffers.size(), 4u);
        EXPECT_EQ(buffers[0].sampleCount(), 500u);
        EXPECT_EQ(buffers[2].sampleCount(), 0u);  // later files are not tried

        ASSERT_TRUE(writeTone(files[1], 510));
        ASSERT_TRUE(loadMenuSounds(sounds, buffers, ahead().get()));
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(buffers[i].sampleCount(), 500u + 10 * i);
            EXPECT_EQ(sounds[i].getBuffer(), &buffers[i].sound());
        }
        setMenuVolumes(sounds, 1.0f);
        EXPECT_FLOAT_EQ(sounds[1].getVolume(), 60.0f);
        EXPECT_FLOAT_EQ(sounds[3].getVolume(), 50.0f);
        setMenuVolumes(sounds, 0.0f);
        EXPECT_FLOAT_EQ(sounds[0].getVolume(), 0.0f);
    }
}

TEST(Drones, LoadInOrderAndStopAtTheFirstMissingFile) {
    GameFolder folder(false);
    ASSERT_TRUE(testsounds::writeDrones());
    std::vector<sf::Sound> sounds;
    std::vector<HeldBuffer> buffers;
    ASSERT_TRUE(loadDrones(sounds, buffers));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(buffers[i].sampleCount(), 610u + 10 * i);
        EXPECT_EQ(buffers[i].sound().getSampleCount(), 0u);  // held once, by the audio library
    }
    EXPECT_EQ(sounds[3].getBuffer(), &buffers[3].sound());

    std::remove("qo_audio/mirevo_drones/mirevo_drone3.ogg");
    std::vector<HeldBuffer> others;
    EXPECT_FALSE(loadDrones(sounds, others));
    EXPECT_EQ(others[1].sampleCount(), 620u);
    EXPECT_EQ(others[3].sampleCount(), 0u);
}

TEST(TouchPlayback, OnlyHandedOverSoundsPlay) {
    GameFolder folder(false);
    ASSERT_TRUE(writeTone("qo_audio/t.ogg", 22050));
    std::vector<HeldBuffer> buffers(4);
    std::vector<sf::Sound> sounds(4);
    songBankReady.clear();
    ASSERT_TRUE(buffers[2].loadFromFile("qo_audio/t.ogg"));
    sounds[2].setBuffer(buffers[2].sound());
    sounds[2].setVolume(7.0f);
    EXPECT_FALSE(playTouchSound(sounds, 2, 1.0f));
    EXPECT_FLOAT_EQ(sounds[2].getVolume(), 7.0f);

    songBankReady.touch[2] = true;
    EXPECT_TRUE(playTouchSound(sounds, 2, 1.0f));
    EXPECT_EQ(sounds[2].getStatus(), sf::Sound::Playing);
    EXPECT_FLOAT_EQ(sounds[2].getVolume(), 100.0f);
    // Samples held only by the audio library still seek, pause and stop.
    sounds[2].setPlayingOffset(sf::milliseconds(250));
    EXPECT_NEAR(sounds[2].getPlayingOffset().asSeconds(), 0.25f, 0.05f);
    sounds[2].pause();
    EXPECT_EQ(sounds[2].getStatus(), sf::Sound::Paused);
    sounds[2].stop();
    EXPECT_EQ(sounds[2].getStatus(), sf::Sound::Stopped);
    EXPECT_FALSE(playTouchSound(sounds, 4, 1.0f));
    songBankReady.clear();
}
