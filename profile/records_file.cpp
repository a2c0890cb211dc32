#include "profile/records_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

const char* const profileFileName = "profile.zob";

namespace {
static_assert(sizeof(float) == 4, "the records file holds 4-byte floats");
const std::streamsize listBytes = 4 * sizeof(float);
const std::uintmax_t fileBytes = 3 * listBytes;

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

// The three lists, flushed; false when any byte did not reach the file.
bool writeLists(std::ostream& out, const std::vector<float>& bestCompletion,
                const std::vector<float>& bestScore, const std::vector<float>& bestExploreTime) {
    writeList(out, bestCompletion);
    writeList(out, bestScore);
    writeList(out, bestExploreTime);
    out.flush();
    return out.good();
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

// An existing file may be replaced only when it is a regular file that could be written in
// place: its owner may write it (even when the game runs as root) and this user may open
// it for writing. Anything else (a folder, a FIFO that would block the open) is left alone.
bool mayReplace(const fs::path& file) {
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (!fs::exists(status)) return true;
    if (!fs::is_regular_file(status)) return false;
    if ((status.permissions() & fs::perms::owner_write) == fs::perms::none) return false;
    std::ofstream probe(file, std::ios::binary | std::ios::app);  // writes nothing
    return probe.is_open();
}

// The crash-safe save: the bytes go to the scratch file, which is renamed over the file
// only once all of them are there. False, with no scratch file left, on any failure;
// scratchMade tells whether the scratch file could be created at all.
bool replaceThroughScratch(const fs::path& target, const std::vector<float>& bestCompletion,
                           const std::vector<float>& bestScore,
                           const std::vector<float>& bestExploreTime, bool& scratchMade) {
    const std::string file = target.string();
    const std::string scratch = file + ".tmp";
    std::ofstream out(scratch, std::ios::binary | std::ios::trunc);
    scratchMade = out.is_open();
    if (!scratchMade) return false;
    bool written = writeLists(out, bestCompletion, bestScore, bestExploreTime);
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

// The save in place, for a file that may be written in a folder that may not (shared
// score files: the folder belongs to another user, the file is writable by the group).
// Not crash-safe: a save interrupted here can leave a mixed file. The new bytes are
// written over the old ones before the file is cut to 48 bytes, so that a full disk
// cannot leave it empty when it already held 48 bytes or more.
bool writeInPlace(const fs::path& target, const std::vector<float>& bestCompletion,
                  const std::vector<float>& bestScore, const std::vector<float>& bestExploreTime) {
    std::fstream out(target, std::ios::binary | std::ios::in | std::ios::out);
    if (!out.is_open()) return false;
    bool written = writeLists(out, bestCompletion, bestScore, bestExploreTime);
    out.close();
    if (!written || out.fail()) return false;
    std::error_code error;
    const std::uintmax_t size = fs::file_size(target, error);
    if (error) return false;
    if (size > fileBytes) fs::resize_file(target, fileBytes, error);
    return !error;
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
    bool scratchMade = false;
    if (replaceThroughScratch(target, bestCompletion, bestScore, bestExploreTime, scratchMade)) {
        return true;
    }
    std::error_code error;
    // Only when no scratch file could be made beside an existing file that may be written
    // (checked above): then the file is written in place, as the only way to save it.
    if (scratchMade || !fs::is_regular_file(fs::status(target, error))) return false;
    return writeInPlace(target, bestCompletion, bestScore, bestExploreTime);
}
