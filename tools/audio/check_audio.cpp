// Verifies a qo_audio/ tree against the game's tables and file names.
//
//   check_audio <folder holding qo_audio/> <manifest>
//
// Every file the game can open must exist, decode, have its exact length (layers: the song's
// loop; final music: the final-stage length), not be silent, peak at or below -1 dBFS and, for
// loops, restart without a click. The manifest must list each file with its checksum. The
// loudness of a play's full mix and of the final music must agree at their playback volumes.

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "tools/audio/pack.h"
#include "tools/audio/sound_checks.h"

using namespace mirevo_audio;

namespace {

constexpr int kMaxPeak = 29204;  // -1 dBFS at 16 bits
constexpr std::size_t kBankLimit = 128u * 1024u * 1024u;

int problems = 0;

void problem(const std::string& path, const std::string& what) {
    std::fprintf(stderr, "check_audio: %s: %s\n", path.c_str(), what.c_str());
    ++problems;
}

std::map<std::string, std::string> readManifest(const std::string& path) {
    std::map<std::string, std::string> sums;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string file, seconds, sum;
        std::getline(fields, file, '\t');
        std::getline(fields, seconds, '\t');
        std::getline(fields, sum, '\t');
        sums[file] = sum;
    }
    return sums;
}

double db(double x) {
    return 20.0 * std::log10(std::max(x, 1e-9));
}

// RMS of decoded sounds summed sample by sample, times `gain`.
double mixRms(const std::vector<Decoded>& sounds, double gain) {
    std::size_t n = 0;
    for (const Decoded& d : sounds) n = std::max(n, d.samples.size());
    if (n == 0) return 0.0;
    double sum = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        double v = 0.0;
        for (const Decoded& d : sounds) v += i < d.samples.size() ? d.samples[i] : 0;
        v *= gain / 32768.0;
        sum += v * v;
    }
    return std::sqrt(sum / double(n));
}

// RMS of the loudest stretch of `window` frames.
double loudestRms(const Decoded& d, std::size_t window) {
    const std::size_t n = d.frames();
    if (window == 0 || window >= n) return rmsOf(d);
    std::vector<double> prefix(n + 1, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        double e = 0.0;
        for (unsigned c = 0; c < d.channels; ++c) {
            const double s = d.samples[i * d.channels + c] / 32768.0;
            e += s * s;
        }
        prefix[i + 1] = prefix[i] + e / d.channels;
    }
    double best = 0.0;
    for (std::size_t s = 0; s + window <= n; s += window / 4) {
        best = std::max(best, (prefix[s + window] - prefix[s]) / double(window));
    }
    return std::sqrt(best);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: check_audio <folder holding qo_audio/> <manifest>\n");
        return 2;
    }
    const std::string root = argv[1];
    const std::map<std::string, std::string> manifest = readManifest(argv[2]);
    if (manifest.empty()) problem(argv[2], "missing or empty manifest");

    std::vector<Decoded> tops[4];
    std::vector<Decoded> finals(4);
    std::size_t menuFrames[2] = {0, 0};
    for (const PackFile& f : packFiles()) {
        const std::string path = root + "/" + f.path;
        Decoded d;
        if (!decodeFile(path, d)) {
            problem(f.path, "missing or not decodable");
            continue;
        }
        const auto listed = manifest.find(f.path);
        std::uint64_t sum = 0;
        char hex[32];
        if (listed == manifest.end()) {
            problem(f.path, "not in the manifest");
        } else if (fileChecksum(path, sum) &&
                   (std::snprintf(hex, sizeof hex, "%016llx", (unsigned long long)sum),
                    listed->second != hex)) {
            problem(f.path, "checksum differs from the manifest");
        }
        if (d.sampleRate != 44100 || d.channels != 2) problem(f.path, "not 44100 Hz stereo");
        const std::size_t exact = exactFrames(f), most = maxFrames(f);
        if (exact && d.frames() != exact) {
            problem(f.path, "lasts " + std::to_string(d.frames()) + " frames instead of " +
                                std::to_string(exact));
        }
        if (most && d.frames() > most) problem(f.path, "too long");
        const std::size_t onset = maxOnsetFrames(f);
        if (onset && onsetFrame(d, 0.1) > onset) problem(f.path, "does not sound at once");
        const int peak = peakOf(d);
        if (peak > kMaxPeak) problem(f.path, "peak above -1 dBFS");
        if (peak < 300 || rmsOf(d) < 1e-4) problem(f.path, "silent");
        if (isLoop(f.kind) && !seamContinuous(d)) {
            problem(f.path, "click at the loop seam (step " + std::to_string(seamStep(d)) + ")");
        }
        if (f.kind == Kind::MenuLoop || f.kind == Kind::MenuFull) {
            menuFrames[f.kind == Kind::MenuFull] = d.frames();
            if (d.frames() < 20u * 44100u || d.frames() > 40u * 44100u) {
                problem(f.path, "menu loop outside 20 to 40 seconds");
            }
        }
        if (f.kind == Kind::Layer && f.layer == regularLayerCount(f.song, f.route)) {
            tops[f.song].push_back(std::move(d));
        } else if (f.kind == Kind::Final) {
            finals[f.song] = std::move(d);
        }
    }
    if (menuFrames[0] != menuFrames[1]) problem("qo_audio/mirevo_menu", "loops differ in length");
    for (int s = 0; s < 4; ++s) {
        if (songBankBytes(s) >= kBankLimit)
            problem("song " + std::to_string(s), "bank over 128 MB");
        if (tops[s].size() != 4 || finals[s].samples.empty()) continue;
        // The full mix as played (layers at 50) against the final music's loudest loop (at 60).
        const double play = db(mixRms(tops[s], 0.5));
        const double final = db(0.6 * loudestRms(finals[s], tops[s][0].frames()));
        if (std::fabs(play - final) > 3.0) {
            problem("song " + std::to_string(s), "full mix at " + std::to_string(play) +
                                                     " dB against final music at " +
                                                     std::to_string(final) + " dB");
        }
    }
    if (problems) {
        std::fprintf(stderr, "check_audio: %d problem(s)\n", problems);
        return 1;
    }
    std::printf("check_audio: %zu files fine; song 3 bank %.1f MB\n", packFiles().size(),
                songBankBytes(3) / 1e6);
    return 0;
}
