// Recorded plays against damaged files: whatever the bytes, reading them never crashes, a
// file is either refused with one of the refusal lines or taken as exactly what its bytes
// say (written back, it gives the same bytes), and damage that leaves the checksum alone is
// never taken.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "profile/replay_file.h"

namespace {
const int fileCount = 20000;

PlayRecording randomPlay(std::mt19937& rng) {
    std::uniform_int_distribution<std::uint32_t> any;
    std::uniform_int_distribution<int> frames(0, 40);
    std::uniform_real_distribution<float> frameTime(0.0f, 1.0f / 12.0f);
    PlayRecording rec;
    rec.gameVersion = any(rng) % 2 ? "1.0" : "12.345.6789";
    rec.mode = static_cast<int>(any(rng) % 4);
    rec.explore = any(rng) % 2 == 1;
    rec.seed = any(rng);
    for (int r = 0; r < 4; ++r) rec.routeKeys[r] = r * 7 + static_cast<int>(any(rng) % 7);
    const int n = frames(rng);
    for (int i = 0; i < n; ++i) {
        rec.frames.push_back({frameTime(rng), any(rng) & ReplayInput::all, any(rng)});
    }
    rec.results.shownScore = static_cast<std::int32_t>(any(rng) % 5000);
    rec.results.score = static_cast<float>(rec.results.shownScore) + 0.5f;
    rec.results.completion = frameTime(rng) * 12.0f;
    rec.results.playTime = frameTime(rng) * 1000.0f;
    rec.results.ended = any(rng) % 2 == 1;
    return rec;
}

void reseal(std::vector<unsigned char>& b) {
    if (b.size() < 4) return;
    const std::size_t n = b.size() - 4;
    const std::uint32_t crc = static_cast<std::uint32_t>(crc32(crc32(0L, Z_NULL, 0), b.data(), n));
    for (int k = 0; k < 4; ++k) b[n + k] = static_cast<unsigned char>(crc >> (8 * k));
}

// Damage of the kinds files meet: bits flipped, bytes overwritten, cut, grown, a stretch
// removed or repeated, a header field set to an extreme.
void damage(std::mt19937& rng, std::vector<unsigned char>& b) {
    std::uniform_int_distribution<int> kind(0, 6);
    std::uniform_int_distribution<int> byte(0, 255);
    auto at = [&](std::size_t size) {
        return size == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, size - 1)(rng);
    };
    const int edits = 1 + static_cast<int>(rng() % 3);
    for (int e = 0; e < edits; ++e) {
        switch (kind(rng)) {
            case 0:
                if (!b.empty()) b[at(b.size())] ^= static_cast<unsigned char>(1u << (rng() % 8));
                break;
            case 1:
                for (int k = 0; k < 8 && !b.empty(); ++k)
                    b[at(b.size())] = static_cast<unsigned char>(byte(rng));
                break;
            case 2:
                b.resize(at(b.size() + 1));
                break;
            case 3:
                for (int k = 0; k < 1 + byte(rng) % 40; ++k)
                    b.push_back(static_cast<unsigned char>(byte(rng)));
                break;
            case 4: {
                const std::size_t from = at(b.size());
                const std::size_t to = from + at(b.size() - from + 1);
                b.erase(b.begin() + static_cast<std::ptrdiff_t>(from),
                        b.begin() + static_cast<std::ptrdiff_t>(to));
                break;
            }
            case 5: {
                const std::size_t from = at(b.size());
                const std::vector<unsigned char> part(b.begin() + static_cast<std::ptrdiff_t>(from),
                                                      b.end());
                b.insert(b.begin() + static_cast<std::ptrdiff_t>(from), part.begin(),
                         part.begin() + static_cast<std::ptrdiff_t>(at(part.size() + 1)));
                break;
            }
            default: {
                // The format, version length, mode, kind or frame count at its extremes
                // (where a file with the version "1.0" has them).
                const std::size_t fields[5] = {8, 10, 14, 15, 44};
                const std::size_t f = fields[rng() % 5];
                const std::size_t width = f == 44 ? 4 : f == 8 ? 2 : 1;
                for (std::size_t k = f; k < f + width && k < b.size(); ++k) {
                    b[k] = rng() % 2 ? 0xff : 0x00;
                }
            }
        }
    }
}
}  // namespace

TEST(ReplayFileFuzz, DamagedFilesAreRefusedOrTakenExactlyAsTheirBytesSay) {
    std::mt19937 rng(20261208u);
    const ReplayRefusal kinds[] = {ReplayRefusal::foreign, ReplayRefusal::newer,
                                   ReplayRefusal::truncated, ReplayRefusal::damaged};
    int counts[6] = {0, 0, 0, 0, 0, 0};
    int faults = 0;
    for (int n = 0; n < fileCount && faults < 10; ++n) {
        const std::vector<unsigned char> original = encodeReplay(randomPlay(rng));
        std::vector<unsigned char> bytes = original;
        damage(rng, bytes);
        // Half the files are sealed again after the damage, as a faulty writer would leave
        // them: their contents reach the checks of the values.
        const bool sealed = n % 2 == 1;
        if (sealed) reseal(bytes);

        PlayRecording out;
        const ReplayRefusal result = decodeReplay(bytes.data(), bytes.size(), out);
        counts[static_cast<int>(result)] += 1;
        if (result == ReplayRefusal::none) {
            if (encodeReplay(out) != bytes) {
                ADD_FAILURE() << "file " << n << " (" << bytes.size()
                              << " bytes) was taken as something else than its bytes say";
                ++faults;
            } else if (!sealed && bytes != original) {
                ADD_FAILURE() << "file " << n << ": damage under the old checksum was taken";
                ++faults;
            }
            continue;
        }
        bool known = false;
        for (ReplayRefusal k : kinds) known = known || k == result;
        const std::string line = replayRefusalText(result);
        if (!known || line.empty() || line.find('\n') != std::string::npos) {
            ADD_FAILURE() << "file " << n << ": refused with \"" << line << "\"";
            ++faults;
        }
    }
    EXPECT_EQ(faults, 0);
    // Every kind of refusal was met many times, and some sealed damage left a valid play.
    for (ReplayRefusal k : kinds)
        EXPECT_GT(counts[static_cast<int>(k)], 100) << replayRefusalText(k);
    EXPECT_GT(counts[static_cast<int>(ReplayRefusal::none)], 50);
}
