#pragma once

// A recorded play: what it started from, what the player did frame by frame and what came of
// it, enough to play it again and to tell whether it went the same way.
//
// The file, little-endian throughout:
//   8 bytes   magic "MRVPLAY\x1a"
//   u16       format version (replayFormatVersion)
//   u8 n, n bytes   the game's version that recorded it (printable ASCII, at most 32)
//   u8        mode 0..3
//   u8        kind: 0 scored play, 1 explore play
//   u32       the play's seed
//   4 x i32   the route keys (keyboard key codes, route 0..3)
//   2 x f32   audio and input offsets, seconds
//   u32       frame count, then per frame: f32 frame time, u32 input bits, u32 fingerprint
//   results   i32 score shown, f32 score, i32 hits, i32 misses, f32 completion, f32 play time,
//             u8 ended (1: the results came by themselves), 4 x (i32 good, early, late, missed)
//   u32       CRC-32 of every byte before it

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern const std::uint16_t replayFormatVersion;
// Frames a recording may hold: over four hours at a thousand frames a second.
extern const std::uint32_t maxReplayFrames;

// The inputs of one frame, as bits: the route keys held (or pressed during the frame), what
// the pause keys and the pause panel's buttons did in the frame (at most one of the three
// takes effect in a frame), and the developer keys.
namespace ReplayInput {
const std::uint32_t route0 = 1u << 0;       // route r: route0 << r
const std::uint32_t pauseKey = 1u << 4;     // the pause panel opened or closed by a key
const std::uint32_t quit = 1u << 5;         // the play left from the pause panel
const std::uint32_t resumeClick = 1u << 6;  // the pause panel's resume button
const std::uint32_t errorMusic0 = 1u << 7;
const std::uint32_t errorMusic1 = 1u << 8;
const std::uint32_t special = 1u << 9;
const std::uint32_t fillAll = 1u << 10;
const std::uint32_t all = (1u << 11) - 1;
}  // namespace ReplayInput

struct ReplayFrame {
    float frameTime = 0.0f;    // seconds the frame loop advanced the play by
    std::uint32_t inputs = 0;  // ReplayInput bits
    std::uint32_t state = 0;   // the play's fingerprint after the frame
    bool operator==(const ReplayFrame& o) const;
};

// A route's catches on the results panel.
struct ReplayRouteResult {
    std::int32_t good = 0;
    std::int32_t early = 0;
    std::int32_t late = 0;
    std::int32_t missed = 0;
    bool operator==(const ReplayRouteResult& o) const;
};

// What the results panel shows of a play, and how the play ended.
struct ReplayResults {
    std::int32_t shownScore = 0;
    float score = 0.0f;
    std::int32_t hits = 0;
    std::int32_t misses = 0;
    float completion = 0.0f;
    float playTime = 0.0f;
    bool ended = false;  // the results came by themselves (not left from the pause panel)
    ReplayRouteResult routes[4];
    bool operator==(const ReplayResults& o) const;
    bool operator!=(const ReplayResults& o) const { return !(*this == o); }
};

struct PlayRecording {
    std::string gameVersion;
    int mode = 0;
    bool explore = false;
    std::uint32_t seed = 0;
    std::int32_t routeKeys[4] = {0, 0, 0, 0};
    float audioOffset = 0.0f;
    float inputOffset = 0.0f;
    std::vector<ReplayFrame> frames;
    ReplayResults results;
    bool operator==(const PlayRecording& o) const;
};

// Why a file is not taken, one kind per message.
enum class ReplayRefusal { none, unreadable, foreign, newer, truncated, damaged };
// One line, without its line end ("" for none).
const char* replayRefusalText(ReplayRefusal refusal);

// The core: bytes from a recording and back. Decoding never reads past `size`, allocates no
// more than the bytes present call for, and leaves `out` alone unless it returns none.
std::vector<unsigned char> encodeReplay(const PlayRecording& recording);
ReplayRefusal decodeReplay(const unsigned char* bytes, std::size_t size, PlayRecording& out);

// The first frame at which a play played again went another way than the recorded one: its
// fingerprint differs, or one of the two plays ended there. -1 when every frame is the same.
int firstDivergentFrame(const PlayRecording& recorded, const PlayRecording& replayed);

// The adapter: a file at path. Writing never leaves the file half written: the bytes go to a
// scratch file beside it (its name with ".tmp" added), which is flushed, closed and renamed
// over it; false, with no scratch file left, on any failure.
bool writeReplayFile(const std::string& path, const PlayRecording& recording);
ReplayRefusal readReplayFile(const std::string& path, PlayRecording& out);
