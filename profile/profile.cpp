#include "profile/profile.h"

#include <iostream>

#include "profile/records_file.h"

namespace {
bool writeProfile(const std::vector<float>& bestCompletion, const std::vector<float>& bestScore,
                  const std::vector<float>& bestExploreTime) {
    return writeRecordsFile(profileFileName, profileScratchFileName, bestCompletion, bestScore,
                            bestExploreTime);
}
}  // namespace

void loadProfileFile(std::ifstream& stream, std::vector<float>& bestCompletion,
                     std::vector<float>& bestScore, std::vector<float>& bestExploreTime) {
    stream.open(profileFileName, std::ios::binary);
    if (!stream.is_open()) {
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
    bool saved = writeProfile(bestCompletion, bestScore, bestExploreTime);
    if (saved) {
        std::cerr << "profile saved" << std::endl;
    } else {
        std::cerr << "error saving profile !" << std::endl;
    }
    return saved;
}
