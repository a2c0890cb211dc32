#include "profile/replay_file.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "support/game_folder.h"

namespace {

// A play as a recording holds it: every field set, floats of every kind a play has.
PlayRecording samplePlay() {
    PlayRecording rec;
    rec.gameVersion = "1.0";
    rec.mode = 2;
    rec.explore = true;
    rec.seed = 4294967295u;
    const std::int32_t keys[4] = {4, 15, 11, 3};
    std::memcpy(rec.routeKeys, keys, sizeof keys);
    rec.audioOffset = 0.0f;
    rec.inputOffset = -0.0f;
    for (int i = 0; i < 500; ++i) {
        ReplayFrame f;
        f.frameTime = i % 7 == 0 ? 1.0f / 12.0f : 0.0001f * static_cast<float>(i % 13);
        f.inputs = static_cast<std::uint32_t>(i * 2654435761u) & ReplayInput::all;
        f.state = static_cast<std::uint32_t>(i) * 2246822519u;
        rec.frames.push_back(f);
    }
    rec.results.shownScore = 1234;
    rec.results.score = 1234.75f;
    rec.results.hits = 211;
    rec.results.misses = 37;
    rec.results.completion = 1.0f;
    rec.results.playTime = 301.0625f;
    rec.results.ended = true;
    for (int r = 0; r < 4; ++r) rec.results.routes[r] = {50 + r, 3 * r, r, 7 - r};
    return rec;
}

void putU32(std::vector<unsigned char>& b, std::size_t at, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) b[at + k] = static_cast<unsigned char>(v >> (8 * k));
}

// The file's checksum made right again after an edit, as a file written wrongly would have it.
void resealed(std::vector<unsigned char>& b) {
    const std::size_t n = b.size() - 4;
    putU32(b, n, static_cast<std::uint32_t>(crc32(crc32(0L, Z_NULL, 0), b.data(), n)));
}

// Where the fields of the sample's file lie (its version "1.0" is 3 bytes).
const std::size_t versionAt = 8;
const std::size_t modeAt = 8 + 2 + 1 + 3;
const std::size_t keysAt = modeAt + 2 + 4;
const std::size_t offsetsAt = keysAt + 16;
const std::size_t frameCountAt = offsetsAt + 8;
const std::size_t framesAt = frameCountAt + 4;

}  // namespace

// A recording comes back from its bytes, and from its file, exactly as it was.
TEST(ReplayFile, ARecordingComesBackExactlyFromItsBytesAndItsFile) {
    const PlayRecording rec = samplePlay();
    const std::vector<unsigned char> bytes = encodeReplay(rec);
    EXPECT_EQ(bytes.size(), framesAt + 500 * 12 + 4 * 6 + 1 + 64 + 4);
    PlayRecording back;
    ASSERT_EQ(decodeReplay(bytes.data(), bytes.size(), back), ReplayRefusal::none);
    EXPECT_TRUE(back == rec);
    EXPECT_EQ(encodeReplay(back), bytes);

    GameFolder folder(false);
    const std::string path = folder.file("play.mrvplay");
    ASSERT_TRUE(writeReplayFile(path, rec));
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    PlayRecording fromFile;
    ASSERT_EQ(readReplayFile(path, fromFile), ReplayRefusal::none);
    EXPECT_TRUE(fromFile == rec);
    // Written again over itself, shorter: the old file is replaced whole.
    PlayRecording shorter = rec;
    shorter.frames.resize(3);
    ASSERT_TRUE(writeReplayFile(path, shorter));
    ASSERT_EQ(readReplayFile(path, fromFile), ReplayRefusal::none);
    EXPECT_TRUE(fromFile == shorter);
}

// Every way a file is refused, each with its one line.
TEST(ReplayFile, EachKindOfBadFileIsRefusedWithItsOwnLine) {
    const std::vector<unsigned char> good = encodeReplay(samplePlay());
    using Edit = std::function<void(std::vector<unsigned char>&)>;
    struct Case {
        const char* what;
        Edit edit;
        ReplayRefusal expected;
    };
    const Case cases[] = {
        // Another file, whatever its size.
        {"a records file", [](auto& b) { b.assign(48, 0x3f); }, ReplayRefusal::foreign},
        {"a picture",
         [](auto& b) {
             b.assign({0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0});
         },
         ReplayRefusal::foreign},
        {"one foreign byte", [](auto& b) { b.assign(1, 'X'); }, ReplayRefusal::foreign},
        {"magic of another case", [](auto& b) { b[1] = 'r'; }, ReplayRefusal::foreign},
        // A newer format, whatever follows it.
        {"format 2", [](auto& b) { b[versionAt] = 2; }, ReplayRefusal::newer},
        {"format 65535 cut after it",
         [](auto& b) {
             b[versionAt] = 0xff;
             b[versionAt + 1] = 0xff;
             b.resize(versionAt + 2);
         },
         ReplayRefusal::newer},
        // Cut short anywhere: an empty file, in the magic, the header, the frames, the end.
        {"empty", [](auto& b) { b.clear(); }, ReplayRefusal::truncated},
        {"cut in the magic", [](auto& b) { b.resize(5); }, ReplayRefusal::truncated},
        {"cut in the format", [](auto& b) { b.resize(versionAt + 1); }, ReplayRefusal::truncated},
        {"cut in the header", [](auto& b) { b.resize(keysAt + 6); }, ReplayRefusal::truncated},
        {"cut in the frames", [](auto& b) { b.resize(framesAt + 12 * 250 + 5); },
         ReplayRefusal::truncated},
        {"checksum missing", [](auto& b) { b.resize(b.size() - 4); }, ReplayRefusal::truncated},
        {"last byte missing", [](auto& b) { b.pop_back(); }, ReplayRefusal::truncated},
        {"more frames said than held",
         [](auto& b) {
             putU32(b, frameCountAt, 501);
             resealed(b);
         },
         ReplayRefusal::truncated},
        // Damaged: a byte changed, bytes added, or values no play has under a right checksum.
        {"a frame's bit flipped", [](auto& b) { b[framesAt + 12 * 100 + 5] ^= 0x10; },
         ReplayRefusal::damaged},
        {"a result's bit flipped", [](auto& b) { b[b.size() - 20] ^= 1; }, ReplayRefusal::damaged},
        {"checksum changed", [](auto& b) { b.back() ^= 0x80; }, ReplayRefusal::damaged},
        {"a byte added", [](auto& b) { b.push_back(0); }, ReplayRefusal::damaged},
        {"format 0", [](auto& b) { b[versionAt] = 0; }, ReplayRefusal::damaged},
        {"fewer frames said than held",
         [](auto& b) {
             putU32(b, frameCountAt, 499);
             resealed(b);
         },
         ReplayRefusal::damaged},
        {"more frames than a play has",
         [](auto& b) {
             putU32(b, frameCountAt, maxReplayFrames + 1);
             resealed(b);
         },
         ReplayRefusal::damaged},
        {"mode 4",
         [](auto& b) {
             b[modeAt] = 4;
             resealed(b);
         },
         ReplayRefusal::damaged},
        {"kind 2",
         [](auto& b) {
             b[modeAt + 1] = 2;
             resealed(b);
         },
         ReplayRefusal::damaged},
        {"two routes on one key",
         [](auto& b) {
             putU32(b, keysAt + 4, 4);
             resealed(b);
         },
         ReplayRefusal::damaged},
        {"version text with a line end",
         [](auto& b) {
             b[versionAt + 3] = '\n';
             resealed(b);
         },
         ReplayRefusal::damaged},
        {"offset NaN",
         [](auto& b) {
             putU32(b, offsetsAt, 0x7fc00000u);
             resealed(b);
         },
         ReplayRefusal::damaged},
        {"frame time longer than the loop allows",
         [](auto& b) {
             putU32(b, framesAt + 12 * 3, 0x3e000000u);  // 0.125 s
             resealed(b);
         },
         ReplayRefusal::damaged},
        {"frame time negative",
         [](auto& b) {
             putU32(b, framesAt + 12 * 3, 0xbf800000u);
             resealed(b);
         },
         ReplayRefusal::damaged},
        {"an input no play has",
         [](auto& b) {
             putU32(b, framesAt + 12 * 3 + 4, ReplayInput::all + 1);
             resealed(b);
         },
         ReplayRefusal::damaged},
        {"completion above 1",
         [](auto& b) {
             putU32(b, b.size() - 4 - 64 - 1 - 8, 0x3f800001u);
             resealed(b);
         },
         ReplayRefusal::damaged},
        {"ended neither yes nor no",
         [](auto& b) {
             b[b.size() - 4 - 64 - 1] = 2;
             resealed(b);
         },
         ReplayRefusal::damaged},
        {"a negative count",
         [](auto& b) {
             putU32(b, b.size() - 8, 0xffffffffu);
             resealed(b);
         },
         ReplayRefusal::damaged},
    };
    std::vector<std::string> lines;
    for (const Case& c : cases) {
        std::vector<unsigned char> bytes = good;
        c.edit(bytes);
        PlayRecording out;
        out.seed = 77;
        EXPECT_EQ(decodeReplay(bytes.data(), bytes.size(), out), c.expected) << c.what;
        EXPECT_EQ(out.seed, 77u) << c.what << ": a refused file changed the recording";
    }
    // One line each, and no two kinds alike.
    const ReplayRefusal kinds[] = {ReplayRefusal::unreadable, ReplayRefusal::foreign,
                                   ReplayRefusal::newer, ReplayRefusal::truncated,
                                   ReplayRefusal::damaged};
    for (ReplayRefusal k : kinds) {
        const std::string line = replayRefusalText(k);
        EXPECT_FALSE(line.empty());
        EXPECT_EQ(line.find('\n'), std::string::npos) << line;
        for (const std::string& other : lines) EXPECT_NE(line, other);
        lines.push_back(line);
    }

    // The adapter: a file that is not there, a folder, a folder that is not there.
    GameFolder folder(false);
    PlayRecording out;
    EXPECT_EQ(readReplayFile(folder.file("none.mrvplay"), out), ReplayRefusal::unreadable);
    std::filesystem::create_directory(folder.file("folder.mrvplay"));
    EXPECT_EQ(readReplayFile(folder.file("folder.mrvplay"), out), ReplayRefusal::unreadable);
    EXPECT_FALSE(writeReplayFile(folder.file("no/such/folder.mrvplay"), samplePlay()));
    EXPECT_FALSE(std::filesystem::exists(folder.file("no/such/folder.mrvplay.tmp")));
}
