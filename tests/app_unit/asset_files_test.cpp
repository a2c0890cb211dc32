#include "assets/asset_files.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "board/anim_tables.h"
#include "core/songs.h"

namespace {
// Leaves the data folder at its default when the test ends, whatever happened.
struct DataFolderReset {
    ~DataFolderReset() { setDataFolder(""); }
};
}  // namespace

// One file of each kind, as the game has always named it, then under the data folders a
// player or the launcher may give: the folder's own trailing slashes never double.
TEST(AssetFiles, NamesUnderTheDataFolder) {
    DataFolderReset reset;
    const struct {
        std::function<std::string()> name;
        const char* relative;
    } files[] = {
        {loadingPicture, "graphs/Menu/fondsNus/loading.jpg"},
        {[] { return gaugePicture(3); }, "graphs/Jauges/J3.png"},
        {[] { return atlasPicture(2, 32); }, "graphs/Atlas/2_32.png"},
        {[] { return menuPictureFiles()[21]; }, "graphs/Menu/texts/16.png"},
        {fontFile, "graphs/SATELLITE.OTF"},
        {[] { return boardPicture(2, "1600_900"); }, "graphs/Board/plateau_2_1600_900.jpg"},
        {[] { return buttonPicture(0); }, "graphs/Button/b0.png"},
        {[] { return slimePicture(2, 3); }, "graphs/Slime/p23.png"},
        {[] { return makingOfPicture(18); }, "graphs/Menu/makingof/mof18.jpg"},
        {volumeIconPicture, "graphs/Menu/animVolume.png"},
        {[] { return optionsPanelPicture("1600_1000"); },
         "graphs/Menu/options/panel_1600_1000.png"},
        {[] { return optionsPartsPicture("2048_1536"); },
         "graphs/Menu/options/parts_2048_1536.png"},
        {[] { return tutorialPicture(6); }, "graphs/Tuto/tut6.png"},
        {[] { return menuSoundFile(1); }, "qo_audio/mirevo_menu/mirevo_menu_loop3.ogg"},
        {[] { return menuSoundFile(3); }, "qo_audio/mirevo_error/mirevo_sound_error6.ogg"},
        {[] { return droneFile(3); }, "qo_audio/mirevo_drones/mirevo_drone3.ogg"},
        {[] { return breakMusicFile(3); },
         "qo_audio/mirevo_qo4_waves/mirevo_qo4_break_scoring.ogg"},
        {[] { return touchFile(0, 1); },
         "qo_audio/mirevo_touches/mirevo_qo1/mirevo_qo1_touche1.ogg"},
        {[] { return waveFile(2, 4, 5); }, "qo_audio/mirevo_qo3_waves/mirevo_qo3_t4_5.ogg"},
    };
    const struct {
        const char* given;
        const char* prefix;
    } folders[] = {
        {"", ""},
        {"/usr/share/games/mirevo", "/usr/share/games/mirevo/"},
        {"/usr/share/games/mirevo//", "/usr/share/games/mirevo/"},
        {"data", "data/"},
        {"/", "/"},
    };
    for (const auto& folder : folders) {
        setDataFolder(folder.given);
        for (const auto& file : files) {
            EXPECT_EQ(file.name(), std::string(folder.prefix) + file.relative)
                << "data folder [" << folder.given << "]";
        }
    }
}

// The start-up's pictures: the loading picture, 4 gauges, 129 atlas pictures, 24 menu and HUD
// pictures. A song's bank in the loader's order: 4 touches, the 4 first layers, then the
// other layers route by route (32, 24, 27 and 25 files).
TEST(AssetFiles, ListLengthsAndOrders) {
    const std::vector<std::string> startUp = startUpPictureFiles(regularAnimCounts);
    ASSERT_EQ(startUp.size(), 1u + 4u + 129u + 24u);
    EXPECT_EQ(startUp[5], "graphs/Atlas/0_0.png");
    EXPECT_EQ(startUp[5 + 31], "graphs/Atlas/0_31.png");
    EXPECT_EQ(startUp[5 + 128], "graphs/Atlas/3_30.png");
    EXPECT_EQ(startUp[134], "graphs/Menu/fondsNus/centre.jpg");
    const size_t bankSizes[4] = {32, 24, 27, 25};
    for (int song = 0; song < 4; ++song) {
        const std::vector<std::string> bank = songSoundFiles(song);
        ASSERT_EQ(bank.size(), bankSizes[song]) << song;
        EXPECT_EQ(std::vector<std::string>(bank.begin(), bank.begin() + 8), firstSoundFiles(song));
        EXPECT_EQ(bank[3], touchFile(song, 4));
        EXPECT_EQ(bank[7], waveFile(song, 4, 1));
        EXPECT_EQ(bank[8], waveFile(song, 1, 2));
        EXPECT_EQ(bank.back(), waveFile(song, 4, touchCounts[song][3]));
    }
    EXPECT_TRUE(songSoundFiles(4).empty());
}
