#pragma once

// The records file: 48 bytes, no header. Three lists of four IEEE-754 single-precision
// little-endian floats, indexed by song: best completion, best score, best explore time.

#include <istream>
#include <string>
#include <vector>

// The file in the working folder.
extern const char* const profileFileName;

// Reads 16 bytes into each list in turn (lists of 4 floats). The bytes read before a short
// file ends stay in the lists; the rest keep their values. False when the stream failed.
bool readRecords(std::istream& in, std::vector<float>& bestCompletion,
                 std::vector<float>& bestScore, std::vector<float>& bestExploreTime);

// Replaces the file at path with the three lists without ever leaving it half written: the
// bytes go to a scratch file beside it (its name with ".tmp" added), which is flushed,
// closed and renamed over it. A symbolic link is written through: the file it points to is
// replaced (its scratch file beside it) and the link stays. A read-only file, and anything
// under the name that is not a regular file, is never replaced. When no scratch file can be
// made beside a file that may be written (a folder the player may not write), the file is
// written in place instead. False, with no scratch file left, on any failure; the file is
// then untouched, except after a failed write in place.
bool writeRecordsFile(const std::string& path, const std::vector<float>& bestCompletion,
                      const std::vector<float>& bestScore,
                      const std::vector<float>& bestExploreTime);
