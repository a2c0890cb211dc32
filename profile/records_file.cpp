#include "profile/records_file.h"

#include <cstdio>
#include <fstream>

const char* const profileFileName = "profile.zob";
const char* const profileScratchFileName = "profile.zob.tmp";

namespace {
static_assert(sizeof(float) == 4, "the records file holds 4-byte floats");
const std::streamsize listBytes = 4 * sizeof(float);

// The lists are dumped and read as the machine's own float storage (little-endian here).
void readList(std::istream& in, std::vector<float>& list) {
    list.resize(4, 0.0f);
    in.read(reinterpret_cast<char*>(list.data()), listBytes);
}

void writeList(std::ostream& out, const std::vector<float>& list) {
    std::vector<float> four(list);
    four.resize(4, 0.0f);
    out.write(reinterpret_cast<const char*>(four.data()), listBytes);
}
}  // namespace

bool readRecords(std::istream& in, std::vector<float>& bestCompletion,
                 std::vector<float>& bestScore, std::vector<float>& bestExploreTime) {
    readList(in, bestCompletion);
    readList(in, bestScore);
    readList(in, bestExploreTime);
    return !in.fail();
}

bool writeRecordsFile(const std::string& path, const std::string& scratchPath,
                      const std::vector<float>& bestCompletion, const std::vector<float>& bestScore,
                      const std::vector<float>& bestExploreTime) {
    std::ofstream out(scratchPath, std::ios::binary | std::ios::trunc);
    if (!out.is_open()) return false;
    writeList(out, bestCompletion);
    writeList(out, bestScore);
    writeList(out, bestExploreTime);
    out.flush();
    bool written = out.good();
    out.close();
    written = written && !out.fail();
    if (!written || std::rename(scratchPath.c_str(), path.c_str()) != 0) {
        std::remove(scratchPath.c_str());
        return false;
    }
    return true;
}
