#include "profile/records_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

const char* const profileFileName = "profile.zob";

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

namespace fs = std::filesystem;

// The file a save replaces: path itself, or the file a link at path points to (through
// any chain of links). Empty when the link cannot be followed.
fs::path fileToReplace(const fs::path& path) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(path, error))) return path;
    fs::path target = fs::weakly_canonical(path, error);
    return error ? fs::path() : target;
}

// An existing file may be replaced only when it could be written in place: its owner may
// write it (even when the game runs as root) and this user may open it for writing.
bool mayReplace(const fs::path& file) {
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (!fs::exists(status)) return true;
    if ((status.permissions() & fs::perms::owner_write) == fs::perms::none) return false;
    std::ofstream probe(file, std::ios::binary | std::ios::app);  // writes nothing
    return probe.is_open();
}
}  // namespace

bool readRecords(std::istream& in, std::vector<float>& bestCompletion,
                 std::vector<float>& bestScore, std::vector<float>& bestExploreTime) {
    readList(in, bestCompletion);
    readList(in, bestScore);
    readList(in, bestExploreTime);
    return !in.fail();
}

bool writeRecordsFile(const std::string& path, const std::vector<float>& bestCompletion,
                      const std::vector<float>& bestScore,
                      const std::vector<float>& bestExploreTime) {
    const fs::path target = fileToReplace(path);
    if (target.empty() || !mayReplace(target)) return false;
    const std::string file = target.string();
    const std::string scratch = file + ".tmp";
    std::ofstream out(scratch, std::ios::binary | std::ios::trunc);
    if (!out.is_open()) return false;
    writeList(out, bestCompletion);
    writeList(out, bestScore);
    writeList(out, bestExploreTime);
    out.flush();
    bool written = out.good();
    out.close();
    written = written && !out.fail();
    // The new file keeps the old one's permissions (a private file stays private).
    std::error_code error;
    const fs::file_status old = fs::status(target, error);
    if (written && fs::exists(old)) fs::permissions(scratch, old.permissions(), error);
    if (!written || std::rename(scratch.c_str(), file.c_str()) != 0) {
        std::remove(scratch.c_str());
        return false;
    }
    return true;
}
