#include "support/game_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

std::string assetsFolder() {
    const char* env = std::getenv("MIREVO_ASSETS");
    if (env && *env) return env;
    return MIREVO_ASSETS_DIR;
}

GameFolder::GameFolder(bool linkAssets) {
    std::error_code ec;
    previous = fs::current_path(ec).string();
    std::string pattern = (fs::temp_directory_path(ec) / "mirevo-test-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    path = made ? made : pattern;
    if (linkAssets) {
        fs::path assets = assetsFolder();
        if (fs::exists(assets / "graphs") && fs::exists(assets / "qo_audio")) {
            fs::create_directory_symlink(fs::absolute(assets / "graphs"), fs::path(path) / "graphs",
                                         ec);
            fs::create_directory_symlink(fs::absolute(assets / "qo_audio"),
                                         fs::path(path) / "qo_audio", ec);
            assetsLinked = !ec;
        }
    }
    fs::current_path(path, ec);
}

GameFolder::~GameFolder() {
    std::error_code ec;
    fs::current_path(previous, ec);
    fs::remove_all(path, ec);
}

std::string GameFolder::read(const std::string& name) const {
    std::ifstream in(file(name), std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

void GameFolder::copyAssets(const std::string& tree) {
    std::error_code ec;
    fs::path link = fs::path(path) / tree;
    fs::path source = fs::read_symlink(link, ec);
    if (ec) return;
    fs::remove(link, ec);
    fs::copy(source, link, fs::copy_options::recursive, ec);
}
