#include "audio/held_samples.h"

#include <AL/al.h>

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

bool loadSamplesOnce(sf::SoundBuffer& buffer, const std::string& file) {
    if (!buffer.loadFromFile(file)) return false;
    // The audio library has its own copy now; the buffer's goes, capacity included.
    std::vector<sf::Int16>().swap(buffer.*member(SamplesMember()));
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
