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

// Only a regular file (or a link to one) is opened: a FIFO or a device under the name
// could block the open or the reads.
bool profileIsRegular() {
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::status(profileFileName, error));
}
}  // namespace

void loadProfileFile(std::ifstream& stream, bool& unread, std::vector<float>& bestCompletion,
                     std::vector<float>& bestScore, std::vector<float>& bestExploreTime) {
    if (profileIsRegular()) stream.open(profileFileName, std::ios::binary);
    if (!stream.is_open() && !profileExists()) {
        writeProfile(bestCompletion, bestScore, bestExploreTime);
        stream.clear();
        if (profileIsRegular()) stream.open(profileFileName, std::ios::binary);
        std::cout << "creating new profile" << std::endl;
    } else {
        std::cout << "loading profile" << std::endl;
    }
    // No file could be read (something under the name could not be, or none could be
    // created): records under the name at exit were never seen by this run.
    unread = !stream.is_open();
    if (!readRecords(stream, bestCompletion, bestScore, bestExploreTime)) {
        std::cout << "error loading profile !" << std::endl;
    }
}

bool saveProfileFile(std::ifstream& stream, bool unread, const std::vector<float>& bestCompletion,
                     const std::vector<float>& bestScore,
                     const std::vector<float>& bestExploreTime) {
    stream.close();
    // A run that read no file may create one, never replace one: whatever is under the
    // name by now (a file that has become readable, a link whose target has appeared,
    // another game's new file) holds records this run never saw.
    const bool leftAlone = unread && profileExists();
    bool saved = !leftAlone && writeProfile(bestCompletion, bestScore, bestExploreTime);
    if (saved) {
        std::cerr << "profile saved" << std::endl;
    } else {
        std::cerr << "error saving profile !" << std::endl;
    }
    return saved;
}
