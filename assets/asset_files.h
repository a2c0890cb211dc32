#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

// Every file the game reads, named in one place: the pictures and the font under graphs/,
// the sounds under qo_audio/, both in the data folder. Loaders and the lists of files read
// ahead of their loads take their names from here, so the two cannot drift apart.
//
// The data folder is given once at start, before anything is loaded (the loader thread
// reads it too). Empty, the default, means the working folder: names stay relative, exactly
// "graphs/SATELLITE.OTF", as the game is run from the folder that holds its data.

// Sets the data folder ("" for the working folder); trailing slashes are dropped.
void setDataFolder(const std::string& folder);
const std::string& dataFolder();

// Pictures. Numbers are written in decimal, without leading zeros.
std::string loadingPicture();                      // graphs/Menu/fondsNus/loading.jpg
std::string gaugePicture(int route);               // graphs/Jauges/J<route>.png
std::string atlasPicture(int route, int picture);  // graphs/Atlas/<route>_<picture>.png
// The start-up's pictures in the order it loads them: the loading picture, the 4 gauges,
// the atlas (route r holds regularAnims[r] + 7 pictures: its regular animations, then its
// 7 landings), then the menu pictures.
std::vector<std::string> startUpPictureFiles(const int regularAnims[4]);
// The menu and HUD pictures in the order the interface loads them: centre, pause, score,
// side1, side3, the 17 menu texts, dots, then the HUD's hint (graphs/Tuto/tut7.png).
std::vector<std::string> menuPictureFiles();
std::string menuTextPicture(int k);  // graphs/Menu/texts/<k>.png
std::string fontFile();              // graphs/SATELLITE.OTF
// A play's pictures: the board of the mode for a display profile, its button, its slimes.
std::string boardPicture(int mode, const std::string& profileName);
std::string buttonPicture(int mode);        // graphs/Button/b<mode>.png
std::string slimePicture(int mode, int i);  // graphs/Slime/p<mode><i>.png
// In the order a play start loads them: board, button, slimes 0..3.
std::vector<std::string> playPictureFiles(int mode, const std::string& profileName);
std::string makingOfPicture(int page);  // graphs/Menu/makingof/mof<page>.jpg
std::string volumeIconPicture();        // graphs/Menu/animVolume.png
// The options panel of a display profile, and its parts (highlight band, filled slider
// track, knob): graphs/Menu/options/panel_<profile>.png, parts_<profile>.png.
std::string optionsPanelPicture(const std::string& profileName);
std::string optionsPartsPicture(const std::string& profileName);
// The calibration pages' card of a display profile, and its parts (the three buttons, the
// ring around the chosen one, the creature's spot):
// graphs/Menu/options/calibration_<profile>.png, calibration_parts_<profile>.png.
std::string calibrationCardPicture(const std::string& profileName);
std::string calibrationPartsPicture(const std::string& profileName);
std::string tutorialPicture(int i);  // graphs/Tuto/tut<i>.png
// The key patches of the pictures that show the routes' keys (ui/key_places.h), read when a
// key is bound to another: graphs/Keys/board_<mode>_<profile>.png, text<k>.png (menu text k),
// tut<i>.png; and the regular weight of the font, for the tutorial's sentences around such a
// key: graphs/Keys/regular.ttf.
std::string boardKeyPatches(int mode, const std::string& profileName);
std::string menuTextKeyPatches(int k);
std::string tutorialKeyPatches(int i);
std::string sentenceFontFile();

// Sounds. The files of song s carry the number s + 1.
std::string menuSoundFile(int i);  // 0 click, 1 menu loop, 2 full-volume loop, 3 error
std::string droneFile(int i);      // drone i, 1..4
// The calibration's beat: qo_audio/mirevo_menu/mirevo_calibration_click.ogg.
std::string calibrationClickFile();
// The start-up's sounds in the order it loads them: the 4 menu sounds, then the 4 drones.
std::vector<std::string> startUpSoundFiles();
// The final music of a song.
std::string breakMusicFile(int song);
// Touch sound i (1..4) of a song: qo_audio/mirevo_touches/mirevo_qo<n>/mirevo_qo<n>_touche<i>.ogg
std::string touchFile(int song, int i);
// Wave layer k (1..) of route r (1..4): qo_audio/mirevo_qo<n>_waves/mirevo_qo<n>_t<r>_<k>.ogg
std::string waveFile(int song, int route, int layer);
// What a play of the song needs first, in the order of publication: the 4 touches, then the
// first layer of routes 1..4.
std::vector<std::string> firstSoundFiles(int song);
// The whole bank of a song in the order the loader publishes it: the first sounds, then the
// other layers route by route. Empty for a song outside 0..3.
std::vector<std::string> songSoundFiles(int song);

// For tests: what the decoders that read files ahead of their loads saw go wrong. A file
// read ahead that no load took when its decoder was dropped is "untaken"; a load through a
// decoder of a file not on its list is "unlisted". Either means a list drifted from its
// loader. Nothing is noted unless a test turns recording on.
struct AheadFileLog {
    std::atomic<bool> recording{false};
    std::mutex mutex;
    std::vector<std::string> untaken;
    std::vector<std::string> unlisted;

    void noteUntaken(const std::string& file);
    void noteUnlisted(const std::string& file);
    // Empties both lists and turns recording on (or off).
    void record(bool on);
};
extern AheadFileLog aheadFileLog;
