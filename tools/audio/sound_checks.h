#pragma once

// Measurements on decoded sound files, shared by the checker, the generator and the tests.

#include <SFML/Audio/InputSoundFile.hpp>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace mirevo_audio {

struct Decoded {
    unsigned sampleRate = 0;
    unsigned channels = 0;
    std::vector<std::int16_t> samples;  // interleaved
    std::size_t frames() const { return channels ? samples.size() / channels : 0; }
};

inline bool decodeFile(const std::string& path, Decoded& out) {
    sf::InputSoundFile in;
    if (!in.openFromFile(path)) return false;
    out.sampleRate = in.getSampleRate();
    out.channels = in.getChannelCount();
    out.samples.assign(static_cast<std::size_t>(in.getSampleCount()), 0);
    std::size_t done = 0;
    while (done < out.samples.size()) {
        const sf::Uint64 got = in.read(out.samples.data() + done, out.samples.size() - done);
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    out.samples.resize(done);
    return out.channels > 0;
}

inline int peakOf(const Decoded& d) {
    int peak = 0;
    for (std::int16_t s : d.samples) peak = std::max(peak, std::abs(int(s)));
    return peak;
}

inline double rmsOf(const Decoded& d) {
    if (d.samples.empty()) return 0.0;
    double sum = 0.0;
    for (std::int16_t s : d.samples) sum += double(s) * s;
    return std::sqrt(sum / double(d.samples.size())) / 32768.0;
}

// The first frame at which a channel reaches `share` of the peak; frames() when none does.
inline std::size_t onsetFrame(const Decoded& d, double share) {
    const double level = share * peakOf(d);
    for (std::size_t i = 0; i < d.frames(); ++i) {
        for (unsigned c = 0; c < d.channels; ++c) {
            if (std::abs(double(d.samples[i * d.channels + c])) >= level) return i;
        }
    }
    return d.frames();
}

// Largest step between neighbouring samples of one channel over frames [from, to - 1).
inline int largestStep(const Decoded& d, std::size_t from, std::size_t to) {
    int largest = 0;
    for (unsigned c = 0; c < d.channels; ++c) {
        for (std::size_t i = from; i + 1 < to; ++i) {
            const int a = d.samples[i * d.channels + c], b = d.samples[(i + 1) * d.channels + c];
            largest = std::max(largest, std::abs(b - a));
        }
    }
    return largest;
}

// Step from the last frame back to the first, as heard when the sound restarts.
inline int seamStep(const Decoded& d) {
    const std::size_t n = d.frames();
    if (n < 2) return 0;
    int step = 0;
    for (unsigned c = 0; c < d.channels; ++c) {
        step =
            std::max(step, std::abs(int(d.samples[c]) - int(d.samples[(n - 1) * d.channels + c])));
    }
    return step;
}

// Largest second difference |x[i+1] - 2 x[i] + x[i-1]| of one channel over frames
// [from, to): how sharply the waveform bends there. Smooth sounds bend little; a jump bends
// hard on both of its sides.
inline int largestBend(const Decoded& d, std::size_t from, std::size_t to) {
    int largest = 0;
    for (unsigned c = 0; c < d.channels; ++c) {
        for (std::size_t i = std::max<std::size_t>(from, 1); i + 1 < to; ++i) {
            const int a = d.samples[(i - 1) * d.channels + c], b = d.samples[i * d.channels + c],
                      e = d.samples[(i + 1) * d.channels + c];
            largest = std::max(largest, std::abs(e - 2 * b + a));
        }
    }
    return largest;
}

// Bend across the seam, the last two frames followed by the first two.
inline int seamBend(const Decoded& d) {
    const std::size_t n = d.frames();
    if (n < 3) return 0;
    int bend = 0;
    for (unsigned c = 0; c < d.channels; ++c) {
        const int last2 = d.samples[(n - 2) * d.channels + c];
        const int last = d.samples[(n - 1) * d.channels + c];
        const int first = d.samples[c], second = d.samples[d.channels + c];
        bend = std::max(bend, std::abs(first - 2 * last + last2));
        bend = std::max(bend, std::abs(second - 2 * first + last));
    }
    return bend;
}

// A seam is continuous when its step is no larger than the steps elsewhere in the sound, and
// the waveform bends across it no harder than twice the sharpest bend in the half second on
// either side (a click stands out from its neighbourhood even in a loud passage, while a note
// that starts right on the loop bends no more than the notes around it).
inline bool seamContinuous(const Decoded& d) {
    const std::size_t n = d.frames();
    if (n < 4096) return false;
    const std::size_t near = 22050;  // half a second
    const int bendNear = std::max(largestBend(d, 0, near), largestBend(d, n - near, n));
    return seamStep(d) <= largestStep(d, 0, n) && seamBend(d) <= 2 * bendNear + 16;
}

inline bool fileChecksum(const std::string& path, std::uint64_t& checksum) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::uint64_t hash = 1469598103934665603ull;
    std::vector<char> buffer(1 << 16);
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const std::streamsize got = in.gcount();
        for (std::streamsize i = 0; i < got; ++i) {
            hash ^= static_cast<unsigned char>(buffer[static_cast<std::size_t>(i)]);
            hash *= 1099511628211ull;
        }
    }
    checksum = hash;
    return true;
}

}  // namespace mirevo_audio
