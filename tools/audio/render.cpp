#include "tools/audio/render.h"

#include <fluidsynth.h>

#include <SFML/Audio/InputSoundFile.hpp>
#include <SFML/Audio/OutputSoundFile.hpp>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <mutex>

namespace mirevo_audio {

namespace {

const char* const kSoundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";

// FluidSynth draws from the C generator when a synthesiser is created, and the Ogg writer
// draws its stream serial number from it: both happen under this lock, with the generator
// reseeded before each file, so that every file comes out byte for byte the same on every run
// whatever the order in which the threads reach these points.
std::mutex& randomLock() {
    static std::mutex lock;
    return lock;
}

struct Event {
    std::size_t frame;
    int order;  // note-offs (0) before note-ons (1) at the same frame
    std::size_t index;
    int channel;
    int key;
    int velocity;
};

struct SynthHandle {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    ~SynthHandle() {
        if (synth) delete_fluid_synth(synth);
        if (settings) delete_fluid_settings(settings);
    }
};

std::uint64_t fnv1a(std::uint64_t hash, const char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= static_cast<unsigned char>(data[i]);
        hash *= 1099511628211ull;
    }
    return hash;
}

SynthHandle& keeper() {
    static SynthHandle handle;
    return handle;
}

}  // namespace

bool holdSoundFont(std::string& error) {
    SynthHandle& k = keeper();
    if (k.synth) return true;
    std::lock_guard<std::mutex> guard(randomLock());
    k.settings = new_fluid_settings();
    if (k.settings) k.synth = new_fluid_synth(k.settings);
    if (!k.synth || fluid_synth_sfload(k.synth, kSoundFont, 1) == FLUID_FAILED) {
        error = std::string("cannot load the sound font ") + kSoundFont +
                " (Debian package fluid-soundfont-gm)";
        return false;
    }
    return true;
}

void releaseSoundFont() {
    SynthHandle& k = keeper();
    if (k.synth) delete_fluid_synth(k.synth);
    if (k.settings) delete_fluid_settings(k.settings);
    k.synth = nullptr;
    k.settings = nullptr;
}

int Score::slot(const Instrument& instrument) {
    for (std::size_t i = 0; i < instruments.size(); ++i) {
        const Instrument& s = instruments[i];
        if (s.bank == instrument.bank && s.program == instrument.program &&
            s.volume == instrument.volume && s.pan == instrument.pan &&
            s.reverb == instrument.reverb && s.chorus == instrument.chorus) {
            return static_cast<int>(i);
        }
    }
    instruments.push_back(instrument);
    return static_cast<int>(instruments.size()) - 1;
}

void Score::add(int slotIndex, double start, double length, int key, int velocity) {
    if (key < 0 || key > 127 || length <= 0.0) return;
    velocity = std::clamp(velocity, 1, 127);
    notes.push_back(Note{start, length, slotIndex, key, velocity});
}

bool renderScore(const Score& score, double seconds, Audio& out, std::string& error) {
    if (score.instruments.size() > 16) {
        error = "more than 16 instruments in one score";
        return false;
    }
    SynthHandle handle;
    {
        std::lock_guard<std::mutex> guard(randomLock());
        handle.settings = new_fluid_settings();
        if (!handle.settings) {
            error = "cannot create synthesiser settings";
            return false;
        }
        fluid_settings_setnum(handle.settings, "synth.sample-rate", kSampleRate);
        fluid_settings_setint(handle.settings, "synth.polyphony", 512);
        fluid_settings_setint(handle.settings, "synth.cpu-cores", 1);
        fluid_settings_setnum(handle.settings, "synth.gain", 0.4);
        fluid_settings_setint(handle.settings, "synth.reverb.active", 1);
        fluid_settings_setnum(handle.settings, "synth.reverb.room-size", 0.55);
        fluid_settings_setnum(handle.settings, "synth.reverb.damp", 0.35);
        fluid_settings_setnum(handle.settings, "synth.reverb.width", 0.9);
        fluid_settings_setnum(handle.settings, "synth.reverb.level", 0.8);
        fluid_settings_setint(handle.settings, "synth.chorus.active", 1);
        handle.synth = new_fluid_synth(handle.settings);
    }
    if (!handle.synth) {
        error = "cannot create the synthesiser";
        return false;
    }
    const int font = fluid_synth_sfload(handle.synth, kSoundFont, 1);
    if (font == FLUID_FAILED) {
        error = std::string("cannot load the sound font ") + kSoundFont +
                " (Debian package fluid-soundfont-gm)";
        return false;
    }
    for (std::size_t i = 0; i < score.instruments.size(); ++i) {
        const Instrument& s = score.instruments[i];
        const int channel = static_cast<int>(i);
        fluid_synth_set_channel_type(handle.synth, channel,
                                     s.bank == 128 ? CHANNEL_TYPE_DRUM : CHANNEL_TYPE_MELODIC);
        if (fluid_synth_program_select(handle.synth, channel, font, s.bank, s.program) !=
            FLUID_OK) {
            error =
                "missing instrument " + std::to_string(s.bank) + ":" + std::to_string(s.program);
            return false;
        }
        fluid_synth_cc(handle.synth, channel, 7, s.volume);
        fluid_synth_cc(handle.synth, channel, 10, s.pan);
        fluid_synth_cc(handle.synth, channel, 91, s.reverb);
        fluid_synth_cc(handle.synth, channel, 93, s.chorus);
    }

    const std::size_t total = static_cast<std::size_t>(std::llround(seconds * kSampleRate));
    std::vector<Event> events;
    events.reserve(score.notes.size() * 2);
    for (std::size_t i = 0; i < score.notes.size(); ++i) {
        const Note& n = score.notes[i];
        const double on = std::max(0.0, n.start) * kSampleRate;
        const double off = std::max(0.0, n.start + n.length) * kSampleRate;
        const std::size_t onFrame = static_cast<std::size_t>(std::llround(on));
        const std::size_t offFrame =
            std::max(onFrame + 1, static_cast<std::size_t>(std::llround(off)));
        events.push_back(Event{onFrame, 1, i, n.slot, n.key, n.velocity});
        events.push_back(Event{offFrame, 0, i, n.slot, n.key, 0});
    }
    std::sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        if (a.frame != b.frame) return a.frame < b.frame;
        if (a.order != b.order) return a.order < b.order;
        return a.index < b.index;
    });

    std::vector<float> left(total, 0.0f), right(total, 0.0f);
    std::size_t done = 0;
    auto renderUpTo = [&](std::size_t frame) {
        frame = std::min(frame, total);
        while (done < frame) {
            const int chunk = static_cast<int>(std::min<std::size_t>(frame - done, 4096));
            fluid_synth_write_float(handle.synth, chunk, left.data(), static_cast<int>(done), 1,
                                    right.data(), static_cast<int>(done), 1);
            done += static_cast<std::size_t>(chunk);
        }
    };
    // A key struck again while still held keeps sounding until its last note ends: a note-off
    // releases every voice of its key, so it is sent only when no other note holds the key.
    std::vector<int> held(16 * 128, 0);
    for (const Event& e : events) {
        renderUpTo(e.frame);
        int& count = held[static_cast<std::size_t>(e.channel * 128 + e.key)];
        if (e.order == 1) {
            ++count;
            fluid_synth_noteon(handle.synth, e.channel, e.key, e.velocity);
        } else if (--count == 0) {
            fluid_synth_noteoff(handle.synth, e.channel, e.key);
        }
    }
    renderUpTo(total);

    out.resize(total);
    for (std::size_t i = 0; i < total; ++i) {
        out.samples[2 * i] = left[i];
        out.samples[2 * i + 1] = right[i];
    }
    return true;
}

void mixInto(Audio& target, const Audio& source, float gain) {
    const std::size_t n = std::min(target.samples.size(), source.samples.size());
    for (std::size_t i = 0; i < n; ++i) target.samples[i] += gain * source.samples[i];
}

void foldLoop(Audio& audio, std::size_t frames) {
    if (frames == 0) return;
    const std::size_t loopSamples = frames * kChannels;
    std::vector<float> folded(loopSamples, 0.0f);
    for (std::size_t i = 0; i < audio.samples.size(); ++i) {
        folded[i % loopSamples] += audio.samples[i];
    }
    audio.samples.swap(folded);
}

void trimWithFade(Audio& audio, std::size_t frames, std::size_t fadeFrames) {
    audio.samples.resize(frames * kChannels, 0.0f);
    fadeFrames = std::min(fadeFrames, frames);
    for (std::size_t i = 0; i < fadeFrames; ++i) {
        const std::size_t frame = frames - fadeFrames + i;
        const float g = static_cast<float>(fadeFrames - i) / static_cast<float>(fadeFrames + 1);
        for (unsigned c = 0; c < kChannels; ++c) audio.samples[frame * kChannels + c] *= g;
    }
}

void applyGain(Audio& audio, float gain) {
    for (float& s : audio.samples) s *= gain;
}

float peakOf(const Audio& audio) {
    float peak = 0.0f;
    for (float s : audio.samples) peak = std::max(peak, std::fabs(s));
    return peak;
}

float rmsOf(const Audio& audio) {
    if (audio.samples.empty()) return 0.0f;
    double sum = 0.0;
    for (float s : audio.samples) sum += static_cast<double>(s) * s;
    return static_cast<float>(std::sqrt(sum / static_cast<double>(audio.samples.size())));
}

void limit(Audio& audio, float ceiling, bool circular) {
    const std::size_t n = audio.frames();
    if (n == 0 || peakOf(audio) <= ceiling) return;
    const std::size_t reach = 96;  // about 2 ms of look-ahead on each side
    // Gain each frame needs on its own.
    std::vector<float> need(n);
    for (std::size_t i = 0; i < n; ++i) {
        const float a =
            std::max(std::fabs(audio.samples[2 * i]), std::fabs(audio.samples[2 * i + 1]));
        need[i] = a > ceiling ? ceiling / a : 1.0f;
    }
    // Extended copy so that windows reaching past either end see the loop's other end (or
    // unity gain for a one-shot sound).
    const std::size_t pad = 2 * reach;
    std::vector<float> ext(n + 2 * pad, 1.0f);
    for (std::size_t i = 0; i < n; ++i) ext[pad + i] = need[i];
    if (circular) {
        for (std::size_t i = 0; i < pad; ++i) {
            ext[i] = need[(n - pad % n + i) % n];
            ext[pad + n + i] = need[i % n];
        }
    }
    // Sliding minimum over 2 * reach + 1 frames, then a moving average over the same width:
    // every averaged value stays at or below the need of the centre frame.
    const std::size_t width = 2 * reach + 1;
    std::vector<float> mins(ext.size(), 1.0f);
    std::deque<std::size_t> window;
    for (std::size_t i = 0; i < ext.size(); ++i) {
        while (!window.empty() && ext[window.back()] >= ext[i]) window.pop_back();
        window.push_back(i);
        if (window.front() + width <= i) window.pop_front();
        if (i >= 2 * reach) mins[i - reach] = ext[window.front()];
    }
    std::vector<double> prefix(ext.size() + 1, 0.0);
    for (std::size_t i = 0; i < ext.size(); ++i) prefix[i + 1] = prefix[i] + mins[i];
    std::vector<float> gain(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t c = pad + i;
        const double sum = prefix[c + reach + 1] - prefix[c - reach];
        gain[i] = static_cast<float>(sum / static_cast<double>(width));
    }
    // Slow release back towards unity; never above the look-ahead gain.
    const float release = 1.0f / (0.06f * kSampleRate);
    float state = 1.0f;
    const int passes = circular ? 2 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        for (std::size_t i = 0; i < n; ++i) {
            state = std::min(gain[i], state + (1.0f - state) * release);
            if (pass == passes - 1) gain[i] = state;
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        audio.samples[2 * i] *= gain[i];
        audio.samples[2 * i + 1] *= gain[i];
    }
}

bool writeOgg(const std::string& path, const Audio& audio, float& decodedPeak, std::string& error) {
    std::vector<sf::Int16> pcm(audio.samples.size());
    for (std::size_t i = 0; i < pcm.size(); ++i) {
        const float s = std::clamp(audio.samples[i], -1.0f, 1.0f);
        pcm[i] = static_cast<sf::Int16>(std::lrint(s * 32767.0f));
    }
    {
        sf::OutputSoundFile file;
        bool opened = false;
        {
            std::lock_guard<std::mutex> guard(randomLock());
            // Seeded by the file name only, so that the folder written to does not matter.
            const std::string name = path.substr(path.find_last_of('/') + 1);
            const std::uint64_t seed = fnv1a(1469598103934665603ull, name.data(), name.size());
            std::srand(static_cast<unsigned>(seed & 0x7fffffffu));
            opened = file.openFromFile(path, kSampleRate, kChannels);
        }
        if (!opened) {
            error = "cannot write " + path;
            return false;
        }
        file.write(pcm.data(), pcm.size());
    }
    sf::InputSoundFile in;
    if (!in.openFromFile(path)) {
        error = "cannot read back " + path;
        return false;
    }
    if (in.getSampleCount() != pcm.size()) {
        error = "length changed on encoding: " + path;
        return false;
    }
    std::vector<sf::Int16> back(65536);
    int peak = 0;
    for (;;) {
        const sf::Uint64 got = in.read(back.data(), back.size());
        if (got == 0) break;
        for (sf::Uint64 i = 0; i < got; ++i) peak = std::max(peak, std::abs(int(back[i])));
    }
    decodedPeak = static_cast<float>(peak) / 32768.0f;
    return true;
}

}  // namespace mirevo_audio
