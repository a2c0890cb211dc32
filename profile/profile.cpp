// The Interface's side of the records file: loaded at construction, saved at exit.
#include <iostream>

#include "profile/records_file.h"
#include "ui/interface.h"

bool Interface::writeProfile() {
    return writeRecordsFile(profileFileName, profileScratchFileName, bestCompletion, bestScore,
                            bestExploreTime);
}

void Interface::loadProfile() {
    profileStream.open(profileFileName, std::ios::binary);
    if (!profileStream.is_open()) {
        writeProfile();
        profileStream.clear();
        profileStream.open(profileFileName, std::ios::binary);
        std::cout << "creating new profile" << std::endl;
    } else {
        std::cout << "loading profile" << std::endl;
    }
    if (!readRecords(profileStream, bestCompletion, bestScore, bestExploreTime)) {
        std::cout << "error loading profile !" << std::endl;
    }
}

void Interface::saveProfile() {
    profileStream.close();
    if (writeProfile()) {
        std::cerr << "profile saved" << std::endl;
    } else {
        std::cerr << "error saving profile !" << std::endl;
    }
}
