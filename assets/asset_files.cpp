#include "assets/asset_files.h"

#include "core/songs.h"

namespace {
std::string folder;

// A name of the data tree under the data folder.
std::string under(const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

std::string number(int n) {
    return std::to_string(n);
}
}  // namespace

void setDataFolder(const std::string& given) {
    folder = given;
    // "/" stays the root; any other folder loses its trailing slashes.
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
}

const std::string& dataFolder() {
    return folder;
}

std::string loadingPicture() {
    return under("graphs/Menu/fondsNus/loading.jpg");
}

std::string gaugePicture(int route) {
    return under("graphs/Jauges/J" + number(route) + ".png");
}

std::string atlasPicture(int route, int picture) {
    return under("graphs/Atlas/" + number(route) + "_" + number(picture) + ".png");
}

std::vector<std::string> startUpPictureFiles(const int regularAnims[4]) {
    std::vector<std::string> files = {loadingPicture()};
    for (int i = 0; i < 4; ++i) files.push_back(gaugePicture(i));
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < regularAnims[i] + 7; ++j) files.push_back(atlasPicture(i, j));
    }
    for (std::string& file : menuPictureFiles()) files.push_back(std::move(file));
    return files;
}

std::vector<std::string> menuPictureFiles() {
    std::vector<std::string> files;
    for (const char* name : {"centre.jpg", "pause.png", "score.png", "side1.jpg", "side3.jpg"})
        files.push_back(under(std::string("graphs/Menu/fondsNus/") + name));
    for (int i = 0; i < 17; ++i) files.push_back(menuTextPicture(i));
    files.push_back(under("graphs/Menu/texts/dots.png"));
    files.push_back(under("graphs/Tuto/tut7.png"));
    return files;
}

std::string menuTextPicture(int k) {
    return under("graphs/Menu/texts/" + number(k) + ".png");
}

std::string fontFile() {
    return under("graphs/SATELLITE.OTF");
}

std::string boardPicture(int mode, const std::string& profileName) {
    return under("graphs/Board/plateau_" + number(mode) + "_" + profileName + ".jpg");
}

std::string buttonPicture(int mode) {
    return under("graphs/Button/b" + number(mode) + ".png");
}

std::string slimePicture(int mode, int i) {
    return under("graphs/Slime/p" + number(mode) + number(i) + ".png");
}

std::vector<std::string> playPictureFiles(int mode, const std::string& profileName) {
    std::vector<std::string> files = {boardPicture(mode, profileName), buttonPicture(mode)};
    for (int i = 0; i < 4; ++i) files.push_back(slimePicture(mode, i));
    return files;
}

std::string makingOfPicture(int page) {
    return under("graphs/Menu/makingof/mof" + number(page) + ".jpg");
}

std::string volumeIconPicture() {
    return under("graphs/Menu/animVolume.png");
}

std::string optionsPanelPicture(const std::string& profileName) {
    return under("graphs/Menu/options/panel_" + profileName + ".png");
}

std::string optionsPartsPicture(const std::string& profileName) {
    return under("graphs/Menu/options/parts_" + profileName + ".png");
}

std::string calibrationCardPicture(const std::string& profileName) {
    return under("graphs/Menu/options/calibration_" + profileName + ".png");
}

std::string calibrationPartsPicture(const std::string& profileName) {
    return under("graphs/Menu/options/calibration_parts_" + profileName + ".png");
}

std::string tutorialPicture(int i) {
    return under("graphs/Tuto/tut" + number(i) + ".png");
}

std::string boardKeyPatches(int mode, const std::string& profileName) {
    return under("graphs/Keys/board_" + number(mode) + "_" + profileName + ".png");
}

std::string menuTextKeyPatches(int k) {
    return under("graphs/Keys/text" + number(k) + ".png");
}

std::string tutorialKeyPatches(int i) {
    return under("graphs/Keys/tut" + number(i) + ".png");
}

std::string sentenceFontFile() {
    return under("graphs/Keys/regular.ttf");
}

std::string menuSoundFile(int i) {
    static const char* const names[4] = {"qo_audio/mirevo_menu/mirevo_menu_click1.ogg",
                                         "qo_audio/mirevo_menu/mirevo_menu_loop3.ogg",
                                         "qo_audio/mirevo_menu/mirevo_menu_maxVol_loop2.ogg",
                                         "qo_audio/mirevo_error/mirevo_sound_error6.ogg"};
    return (i >= 0 && i < 4) ? under(names[i]) : std::string();
}

std::string calibrationClickFile() {
    return under("qo_audio/mirevo_menu/mirevo_calibration_click.ogg");
}

std::string droneFile(int i) {
    return under("qo_audio/mirevo_drones/mirevo_drone" + number(i) + ".ogg");
}

std::vector<std::string> startUpSoundFiles() {
    std::vector<std::string> files;
    for (int i = 0; i < 4; ++i) files.push_back(menuSoundFile(i));
    for (int i = 1; i <= 4; ++i) files.push_back(droneFile(i));
    return files;
}

std::string breakMusicFile(int song) {
    const std::string n = number(song + 1);
    return under("qo_audio/mirevo_qo" + n + "_waves/mirevo_qo" + n + "_break_scoring.ogg");
}

std::string touchFile(int song, int i) {
    const std::string n = number(song + 1);
    return under("qo_audio/mirevo_touches/mirevo_qo" + n + "/mirevo_qo" + n + "_touche" +
                 number(i) + ".ogg");
}

std::string waveFile(int song, int route, int layer) {
    const std::string n = number(song + 1);
    return under("qo_audio/mirevo_qo" + n + "_waves/mirevo_qo" + n + "_t" + number(route) + "_" +
                 number(layer) + ".ogg");
}

std::vector<std::string> firstSoundFiles(int song) {
    std::vector<std::string> files;
    for (int i = 1; i <= 4; ++i) files.push_back(touchFile(song, i));
    for (int r = 1; r <= 4; ++r) files.push_back(waveFile(song, r, 1));
    return files;
}

std::vector<std::string> songSoundFiles(int song) {
    if (song < 0 || song > 3) return {};
    std::vector<std::string> files = firstSoundFiles(song);
    for (int r = 1; r <= 4; ++r) {
        for (int k = 2; k <= touchCounts[song][r - 1]; ++k) files.push_back(waveFile(song, r, k));
    }
    return files;
}

AheadFileLog aheadFileLog;

void AheadFileLog::noteUntaken(const std::string& file) {
    if (!recording.load()) return;
    std::lock_guard<std::mutex> lock(mutex);
    untaken.push_back(file);
}

void AheadFileLog::noteUnlisted(const std::string& file) {
    if (!recording.load()) return;
    std::lock_guard<std::mutex> lock(mutex);
    unlisted.push_back(file);
}

void AheadFileLog::record(bool on) {
    std::lock_guard<std::mutex> lock(mutex);
    untaken.clear();
    unlisted.clear();
    recording.store(on);
}
