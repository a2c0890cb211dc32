#pragma once

#include <string>

// A fresh temporary working folder for one test, with graphs/ and qo_audio/ of the
// asset pack linked into it when they exist. The process works in it while the object
// lives and returns to its previous folder afterwards.
class GameFolder {
public:
    explicit GameFolder(bool linkAssets = true);
    ~GameFolder();
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;

    // Full path of a file inside the folder.
    std::string file(const std::string& name) const { return path + "/" + name; }
    // Reads a whole file of the folder ("" when missing).
    std::string read(const std::string& name) const;
    // True when the asset pack was found and linked.
    bool hasAssets() const { return assetsLinked; }
    // Replaces the link of graphs/ or qo_audio/ by a copy, so a test may remove files.
    void copyAssets(const std::string& tree);

    std::string path;
    std::string previous;
    bool assetsLinked = false;
};

// Folder holding graphs/ and qo_audio/ (MIREVO_ASSETS, else the build's runtime folder).
std::string assetsFolder();
