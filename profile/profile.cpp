#include "profile/profile.h"

#include <filesystem>
#include <iostream>
#include <system_error>

#include "profile/records_file.h"

namespace {
bool writeProfile(const std::vector<float>& bestCompletion, const std::vector<float>& bestScore,
                  const std::vector<float>& bestExploreTime) {
    return writeRecordsFile(profileFileName, bestCompletion, bestScore, bestExploreTime);
}

// Anything at all under the file's name, a link that leads nowhere included.
bool profileExists() {
    std::error_code error;
    return std::filesystem::symlink_status(profileFileName, error).type() !=
           std::filesystem::file_type::not_found;
}

// A file is there that cannot be read: it holds records this run never saw.
bool profileUnreadable() {
    if (!profileExists()) return false;
    std::ifstream in(profileFileName, std::ios::binary);
    return !in.is_open();
}
}  // namespace

void loadProfileFile(std::ifstream& stream, std::vector<float>& bestCompletion,
                     std::vector<float>& bestScore, std::vector<float>& bestExploreTime) {
    stream.open(profileFileName, std::ios::binary);
    if (!stream.is_open() && !profileExists()) {
        writeProfile(bestCompletion, bestScore, bestExploreTime);
        stream.clear();
        stream.open(profileFileName, std::ios::binary);
        std::cout << "creating new profile" << std::endl;
    } else {
        std::cout << "loading profile" << std::endl;
    }
    if (!readRecords(stream, bestCompletion, bestScore, bestExploreTime)) {
        std::cout << "error loading profile !" << std::endl;
    }
}

bool saveProfileFile(std::ifstream& stream, const std::vector<float>& bestCompletion,
                     const std::vector<float>& bestScore,
                     const std::vector<float>& bestExploreTime) {
    stream.close();
    bool saved = !profileUnreadable() && writeProfile(bestCompletion, bestScore, bestExploreTime);
    if (saved) {
        std::cerr << "profile saved" << std::endl;
    } else {
        std::cerr << "error saving profile !" << std::endl;
    }
    return saved;
}
