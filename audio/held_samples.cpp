#include "audio/held_samples.h"

#include <vorbis/vorbisfile.h>

#include <SFML/Config.hpp>
#include <filesystem>
#include <vector>

#include "assets/frame_gate.h"

// SFML 2.5 keeps a second copy of every sample in process memory, in the private member
// sf::SoundBuffer::m_samples, next to the audio library's copy, which is the one that plays.
// Releasing it halves the game's sound memory, and the library offers no public way to do it,
// so the member is reached here, and only here. Another version of the library may lay out its
// buffer differently or need its samples (SFML 2.5 only reads them to copy a buffer, which
// HeldBuffer forbids): check SoundBuffer.hpp/.cpp of that version before allowing it below.
static_assert(SFML_VERSION_MAJOR == 2 && SFML_VERSION_MINOR == 5,
              "HeldBuffer releases sf::SoundBuffer::m_samples as laid out in SFML 2.5: check that "
              "member and SoundBuffer's use of it in this SFML version, then adjust this check");

namespace {
// Names the private member without changing the library: an explicit instantiation may name
// private members, and the friend function hands the pointer out. A member that is renamed or
// removed in another library version fails to compile.
struct SamplesMember {
    using type = std::vector<sf::Int16> sf::SoundBuffer::*;
    friend type member(SamplesMember);
};
template <typename Tag, typename Tag::type pointer>
struct Expose {
    friend typename Tag::type member(Tag) { return pointer; }
};
template struct Expose<SamplesMember, &sf::SoundBuffer::m_samples>;

// The audio library has its own copy now; the buffer's goes, capacity included.
void releaseSamples(sf::SoundBuffer& buffer) {
    std::vector<sf::Int16>().swap(buffer.*member(SamplesMember()));
}
}  // namespace

HeldBuffer::HeldBuffer() : buffer(std::make_unique<sf::SoundBuffer>()) {}

bool HeldBuffer::loadFromFile(const std::string& file) {
    count = 0;
    if (!buffer->loadFromFile(file)) return false;
    count = buffer->getSampleCount();
    releaseSamples(*buffer);
    return true;
}

bool HeldBuffer::loadFromSamples(const std::vector<sf::Int16>& samples, unsigned channels,
                                 unsigned sampleRate) {
    count = 0;
    if (!buffer->loadFromSamples(samples.data(), samples.size(), channels, sampleRate))
        return false;
    count = samples.size();
    releaseSamples(*buffer);
    return true;
}

void HeldBuffer::clear() {
    // The old buffer's destruction detaches the sounds bound to it.
    buffer = std::make_unique<sf::SoundBuffer>();
    count = 0;
}

bool decodeOggQuietly(const std::string& file, std::vector<sf::Int16>& samples, unsigned& channels,
                      unsigned& sampleRate, const std::atomic<bool>* cancel) {
    // Only a regular file (links followed): a FIFO or a device may block whoever opens it, and
    // a worker decoding ahead could not be stopped.
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return false;
    OggVorbis_File vorbis;
    if (ov_fopen(file.c_str(), &vorbis) != 0) return false;
    const vorbis_info* info = ov_info(&vorbis, -1);
    const ogg_int64_t frames = ov_pcm_total(&vorbis, -1);
    bool ok = info && (info->channels == 1 || info->channels == 2) && info->rate > 0 && frames > 0;
    if (ok) {
        channels = static_cast<unsigned>(info->channels);
        sampleRate = static_cast<unsigned>(info->rate);
        samples.resize(static_cast<size_t>(frames) * channels);
        // The same reads as the buffer's loader: 16-bit little-endian signed samples.
        size_t count = 0;
        while (count < samples.size()) {
            if (cancel && cancel->load(std::memory_order_relaxed)) break;
            frameGate.giveWay();
            const long bytes = ov_read(
                &vorbis, reinterpret_cast<char*>(samples.data() + count),
                static_cast<int>((samples.size() - count) * sizeof(sf::Int16)), 0, 2, 1, nullptr);
            if (bytes <= 0) break;
            count += static_cast<size_t>(bytes) / sizeof(sf::Int16);
        }
        ok = count == samples.size();
    }
    ov_clear(&vorbis);
    if (!ok) std::vector<sf::Int16>().swap(samples);
    return ok;
}
