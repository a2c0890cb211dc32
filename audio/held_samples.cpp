#include "audio/held_samples.h"

#include <AL/al.h>
#include <vorbis/vorbisfile.h>

#include <filesystem>
#include <vector>

namespace {
// Names a private member of sf::SoundBuffer without changing the library: an explicit
// instantiation may name private members, and the friend function hands the pointer out.
// A member that is renamed or removed in another library version fails to compile.
struct SamplesMember {
    using type = std::vector<sf::Int16> sf::SoundBuffer::*;
    friend type member(SamplesMember);
};
struct BufferMember {
    using type = unsigned int sf::SoundBuffer::*;
    friend type member(BufferMember);
};
template <typename Tag, typename Tag::type pointer>
struct Expose {
    friend typename Tag::type member(Tag) { return pointer; }
};
template struct Expose<SamplesMember, &sf::SoundBuffer::m_samples>;
template struct Expose<BufferMember, &sf::SoundBuffer::m_buffer>;
}  // namespace

namespace {
void releaseSamples(sf::SoundBuffer& buffer) {
    // The audio library has its own copy now; the buffer's goes, capacity included.
    std::vector<sf::Int16>().swap(buffer.*member(SamplesMember()));
}
}  // namespace

bool loadSamplesOnce(sf::SoundBuffer& buffer, const std::string& file) {
    if (!buffer.loadFromFile(file)) return false;
    releaseSamples(buffer);
    return true;
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

bool loadDecodedSamples(sf::SoundBuffer& buffer, const std::vector<sf::Int16>& samples,
                        unsigned channels, unsigned sampleRate) {
    if (!buffer.loadFromSamples(samples.data(), samples.size(), channels, sampleRate)) return false;
    releaseSamples(buffer);
    return true;
}

std::size_t heldSampleCount(const sf::SoundBuffer& buffer) {
    const unsigned int id = buffer.*member(BufferMember());
    ALint bytes = 0;
    ALint bits = 0;
    alGetBufferi(id, AL_SIZE, &bytes);
    alGetBufferi(id, AL_BITS, &bits);
    if (bytes <= 0 || bits <= 0) return 0;
    return static_cast<std::size_t>(bytes) / static_cast<std::size_t>(bits / 8);
}
