#include "profile/replay_file.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>

const std::uint16_t replayFormatVersion = 1;
const std::uint32_t maxReplayFrames = 1u << 24;

namespace {
const unsigned char magic[8] = {'M', 'R', 'V', 'P', 'L', 'A', 'Y', 0x1a};
const std::size_t maxVersionBytes = 32;
const std::size_t frameBytes = 12;
const std::size_t resultBytes = 4 * 6 + 1 + 4 * 4 * 4;
const std::size_t crcBytes = 4;
// The largest file a recording makes: its header with the longest version, every frame.
const std::size_t maxFileBytes = sizeof magic + 2 + 1 + maxVersionBytes + 2 + 4 + 16 + 8 + 4 +
                                 static_cast<std::size_t>(maxReplayFrames) * frameBytes +
                                 resultBytes + crcBytes;
// The longest frame the loop makes (1/12 s as a float).
const float maxFrameTime = 1.0f / 12.0f;

const char* const refusalTexts[6] = {
    "",
    "cannot be read",
    "is not a Mirevo replay",
    "was recorded by a newer Mirevo (its replay format is newer than this game reads)",
    "is cut short (it ends before the play it records does)",
    "is damaged (its contents are not those it was recorded with)",
};

std::uint32_t floatBits(float f) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

float bitsFloat(std::uint32_t bits) {
    float f = 0.0f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

std::uint32_t crcOf(const unsigned char* bytes, std::size_t size) {
    return static_cast<std::uint32_t>(crc32(crc32(0L, Z_NULL, 0), bytes, static_cast<uInt>(size)));
}

class Writer {
public:
    void u8(unsigned v) { bytes.push_back(static_cast<unsigned char>(v & 0xFFu)); }
    void u16(unsigned v) {
        u8(v);
        u8(v >> 8);
    }
    void u32(std::uint32_t v) {
        for (int k = 0; k < 4; ++k) u8(v >> (8 * k));
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void f32(float v) { u32(floatBits(v)); }
    std::vector<unsigned char> bytes;
};

// Reads forward; once a read would pass the end it fails, and every read after it too.
class Reader {
public:
    Reader(const unsigned char* bytes, std::size_t size) : bytes(bytes), size(size) {}
    bool has(std::size_t n) const { return !failed && size - at >= n; }
    unsigned u8() {
        if (!has(1)) {
            failed = true;
            return 0;
        }
        return bytes[at++];
    }
    unsigned u16() {
        const unsigned low = u8();
        return low | (u8() << 8);
    }
    std::uint32_t u32() {
        std::uint32_t v = 0;
        for (int k = 0; k < 4; ++k) v |= static_cast<std::uint32_t>(u8()) << (8 * k);
        return v;
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    float f32() { return bitsFloat(u32()); }
    const unsigned char* bytes;
    std::size_t size;
    std::size_t at = 0;
    bool failed = false;
};

bool printable(const std::string& text) {
    for (char c : text) {
        if (c < 0x20 || c > 0x7e) return false;
    }
    return true;
}

bool finiteIn(float v, float low, float high) {
    return std::isfinite(v) && v >= low && v <= high;
}

void writeResults(Writer& w, const ReplayResults& r) {
    w.i32(r.shownScore);
    w.f32(r.score);
    w.i32(r.hits);
    w.i32(r.misses);
    w.f32(r.completion);
    w.f32(r.playTime);
    w.u8(r.ended ? 1 : 0);
    for (const ReplayRouteResult& route : r.routes) {
        w.i32(route.good);
        w.i32(route.early);
        w.i32(route.late);
        w.i32(route.missed);
    }
}

// False when a value is one no play has.
bool readResults(Reader& in, ReplayResults& r) {
    r.shownScore = in.i32();
    r.score = in.f32();
    r.hits = in.i32();
    r.misses = in.i32();
    r.completion = in.f32();
    r.playTime = in.f32();
    const unsigned ended = in.u8();
    r.ended = ended == 1;
    bool valid = r.shownScore >= 0 && std::isfinite(r.score) && r.score >= 0.0f && r.hits >= 0 &&
                 r.misses >= 0 && finiteIn(r.completion, 0.0f, 1.0f) && std::isfinite(r.playTime) &&
                 r.playTime >= 0.0f && ended <= 1;
    for (ReplayRouteResult& route : r.routes) {
        route.good = in.i32();
        route.early = in.i32();
        route.late = in.i32();
        route.missed = in.i32();
        valid =
            valid && route.good >= 0 && route.early >= 0 && route.late >= 0 && route.missed >= 0;
    }
    return valid;
}
}  // namespace

bool ReplayFrame::operator==(const ReplayFrame& o) const {
    return floatBits(frameTime) == floatBits(o.frameTime) && inputs == o.inputs && state == o.state;
}

bool ReplayRouteResult::operator==(const ReplayRouteResult& o) const {
    return good == o.good && early == o.early && late == o.late && missed == o.missed;
}

bool ReplayResults::operator==(const ReplayResults& o) const {
    for (int r = 0; r < 4; ++r) {
        if (!(routes[r] == o.routes[r])) return false;
    }
    return shownScore == o.shownScore && floatBits(score) == floatBits(o.score) && hits == o.hits &&
           misses == o.misses && floatBits(completion) == floatBits(o.completion) &&
           floatBits(playTime) == floatBits(o.playTime) && ended == o.ended;
}

bool PlayRecording::operator==(const PlayRecording& o) const {
    for (int r = 0; r < 4; ++r) {
        if (routeKeys[r] != o.routeKeys[r]) return false;
    }
    return gameVersion == o.gameVersion && mode == o.mode && explore == o.explore &&
           seed == o.seed && floatBits(audioOffset) == floatBits(o.audioOffset) &&
           floatBits(inputOffset) == floatBits(o.inputOffset) && frames == o.frames &&
           results == o.results;
}

const char* replayRefusalText(ReplayRefusal refusal) {
    const int k = static_cast<int>(refusal);
    return k >= 0 && k < 6 ? refusalTexts[k]
                           : refusalTexts[static_cast<int>(ReplayRefusal::damaged)];
}

std::vector<unsigned char> encodeReplay(const PlayRecording& rec) {
    Writer w;
    w.bytes.reserve(64 + rec.frames.size() * frameBytes + resultBytes);
    for (unsigned char m : magic) w.u8(m);
    w.u16(replayFormatVersion);
    const std::size_t versionBytes = std::min(rec.gameVersion.size(), maxVersionBytes);
    w.u8(static_cast<unsigned>(versionBytes));
    for (std::size_t i = 0; i < versionBytes; ++i)
        w.u8(static_cast<unsigned char>(rec.gameVersion[i]));
    w.u8(static_cast<unsigned>(rec.mode));
    w.u8(rec.explore ? 1 : 0);
    w.u32(rec.seed);
    for (std::int32_t key : rec.routeKeys) w.i32(key);
    w.f32(rec.audioOffset);
    w.f32(rec.inputOffset);
    w.u32(static_cast<std::uint32_t>(rec.frames.size()));
    for (const ReplayFrame& f : rec.frames) {
        w.f32(f.frameTime);
        w.u32(f.inputs);
        w.u32(f.state);
    }
    writeResults(w, rec.results);
    w.u32(crcOf(w.bytes.data(), w.bytes.size()));
    return w.bytes;
}

ReplayRefusal decodeReplay(const unsigned char* bytes, std::size_t size, PlayRecording& out) {
    if (size == 0 || !bytes) return ReplayRefusal::truncated;
    // A file cut inside the magic is a replay cut short; any other start is another file.
    const std::size_t magicBytes = std::min(size, sizeof magic);
    if (std::memcmp(bytes, magic, magicBytes) != 0) return ReplayRefusal::foreign;
    if (size > maxFileBytes) return ReplayRefusal::damaged;
    Reader in(bytes, size);
    in.at = magicBytes;
    const unsigned format = in.u16();
    if (in.failed) return ReplayRefusal::truncated;
    if (format > replayFormatVersion) return ReplayRefusal::newer;
    if (format == 0) return ReplayRefusal::damaged;

    PlayRecording rec;
    const std::size_t versionBytes = in.u8();
    if (in.failed) return ReplayRefusal::truncated;
    if (versionBytes > maxVersionBytes) return ReplayRefusal::damaged;
    for (std::size_t i = 0; i < versionBytes && !in.failed; ++i) {
        rec.gameVersion.push_back(static_cast<char>(in.u8()));
    }
    const unsigned mode = in.u8();
    const unsigned kind = in.u8();
    rec.mode = static_cast<int>(mode);
    rec.explore = kind == 1;
    rec.seed = in.u32();
    for (std::int32_t& key : rec.routeKeys) key = in.i32();
    rec.audioOffset = in.f32();
    rec.inputOffset = in.f32();
    const std::uint32_t frameCount = in.u32();
    if (in.failed) return ReplayRefusal::truncated;
    if (frameCount > maxReplayFrames) return ReplayRefusal::damaged;
    const std::size_t expected =
        in.at + static_cast<std::size_t>(frameCount) * frameBytes + resultBytes + crcBytes;
    if (size < expected) return ReplayRefusal::truncated;
    if (size > expected) return ReplayRefusal::damaged;
    std::uint32_t stored = 0;
    for (int k = 0; k < 4; ++k)
        stored |= static_cast<std::uint32_t>(bytes[size - 4 + k]) << (8 * k);
    if (crcOf(bytes, size - crcBytes) != stored) return ReplayRefusal::damaged;

    bool valid = printable(rec.gameVersion) && mode <= 3 && kind <= 1 &&
                 std::isfinite(rec.audioOffset) && std::isfinite(rec.inputOffset);
    for (int r = 0; r < 4; ++r) {
        valid = valid && rec.routeKeys[r] >= 0 && rec.routeKeys[r] < 256;
        for (int q = 0; q < r; ++q) valid = valid && rec.routeKeys[q] != rec.routeKeys[r];
    }
    rec.frames.resize(frameCount);
    for (ReplayFrame& f : rec.frames) {
        f.frameTime = in.f32();
        f.inputs = in.u32();
        f.state = in.u32();
        valid = valid && finiteIn(f.frameTime, 0.0f, maxFrameTime) &&
                (f.inputs & ~ReplayInput::all) == 0;
    }
    valid = readResults(in, rec.results) && valid;
    if (in.failed) return ReplayRefusal::truncated;
    if (!valid) return ReplayRefusal::damaged;
    out = std::move(rec);
    return ReplayRefusal::none;
}

int firstDivergentFrame(const PlayRecording& recorded, const PlayRecording& replayed) {
    const std::size_t n = std::min(recorded.frames.size(), replayed.frames.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (recorded.frames[i].state != replayed.frames[i].state) return static_cast<int>(i);
    }
    return recorded.frames.size() == replayed.frames.size() ? -1 : static_cast<int>(n);
}

bool writeReplayFile(const std::string& path, const PlayRecording& recording) {
    const std::vector<unsigned char> bytes = encodeReplay(recording);
    const std::string scratch = path + ".tmp";
    std::ofstream out(scratch, std::ios::binary | std::ios::trunc);
    if (!out.is_open()) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.flush();
    bool written = out.good();
    out.close();
    written = written && !out.fail();
    if (!written || std::rename(scratch.c_str(), path.c_str()) != 0) {
        std::remove(scratch.c_str());
        return false;
    }
    return true;
}

ReplayRefusal readReplayFile(const std::string& path, PlayRecording& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) return ReplayRefusal::unreadable;
    // At most one byte more than the largest replay: a larger file is refused unread.
    std::vector<unsigned char> bytes;
    char chunk[65536];
    while (bytes.size() <= maxFileBytes) {
        in.read(chunk, sizeof chunk);
        const std::streamsize got = in.gcount();
        if (got <= 0) break;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    if (in.bad()) return ReplayRefusal::unreadable;
    return decodeReplay(bytes.data(), bytes.size(), out);
}
