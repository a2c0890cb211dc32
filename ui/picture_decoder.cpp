#include "ui/picture_decoder.h"

#include <stb_image.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "assets/asset_files.h"

namespace {
// The signatures of the pictures read here: PNG and JPEG, the formats of the game's pictures,
// which the graphics library's own decoder reads the same way. It refuses some others that
// this one reads (a 16-bit PPM, a 1-bit BMP), whatever their name.
bool readHere(const unsigned char* head, size_t size) {
    static const unsigned char png[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    static const unsigned char jpeg[3] = {0xff, 0xd8, 0xff};
    return (size >= sizeof png && std::memcmp(head, png, sizeof png) == 0) ||
           (size >= sizeof jpeg && std::memcmp(head, jpeg, sizeof jpeg) == 0);
}

// RGBA pixels of a picture, or null (quietly) when it is not decoded here, to be left to the
// plain load: anything but a regular file (links followed; a FIFO or a device may block
// whoever opens it, and a worker could not be stopped), anything but a PNG or JPEG picture,
// and a picture that does not decode.
unsigned char* decodePicture(const std::string& file, int& width, int& height) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return nullptr;
    std::FILE* in = std::fopen(file.c_str(), "rb");
    if (!in) return nullptr;
    unsigned char head[8] = {};
    const size_t size = std::fread(head, 1, sizeof head, in);
    unsigned char* pixels = nullptr;
    if (readHere(head, size) && std::fseek(in, 0, SEEK_SET) == 0) {
        int channels = 0;
        pixels = stbi_load_from_file(in, &width, &height, &channels, STBI_rgb_alpha);
    }
    std::fclose(in);
    if (pixels && (width <= 0 || height <= 0)) {
        stbi_image_free(pixels);
        pixels = nullptr;
    }
    return pixels;
}
}  // namespace

// One picture: its RGBA pixels once decoded (null when it was not decoded here).
class PictureDecoder::Job : public DecodeJob {
public:
    explicit Job(std::string file) : file(std::move(file)) {}
    ~Job() override { stbi_image_free(pixels); }
    bool decode(const std::atomic<bool>&) override {
        pixels = decodePicture(file, width, height);
        return pixels != nullptr;
    }
    const std::string file;
    unsigned char* pixels = nullptr;
    int width = 0;
    int height = 0;
};

PictureDecoder::PictureDecoder(DecodePool& pool, std::vector<std::string> files) : pool(pool) {
    pictures.resize(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        pictures[i].job = std::make_shared<Job>(std::move(files[i]));
        pool.submit(pictures[i].job);
    }
}

PictureDecoder::~PictureDecoder() {
    // A picture being decoded is finished by its worker and freed with its job.
    for (Entry& e : pictures) {
        if (!e.taken) aheadFileLog.noteUntaken(e.job->file);
        pool.cancel(*e.job);
    }
}

bool PictureDecoder::load(sf::Texture& texture, const std::string& file) {
    Entry* found = nullptr;
    for (Entry& e : pictures) {
        if (!e.taken && e.job->file == file) {
            found = &e;
            break;
        }
    }
    if (!found) {
        aheadFileLog.noteUnlisted(file);
        return texture.loadFromFile(file);
    }
    found->taken = true;
    Job& job = *found->job;
    // Not decoded here: the plain load reports it (or reads it after all).
    if (pool.finish(job) != JobState::done) return texture.loadFromFile(file);
    // What loadFromFile does with a whole picture: create, then upload the pixels.
    const bool created =
        texture.create(static_cast<unsigned>(job.width), static_cast<unsigned>(job.height));
    if (created) texture.update(job.pixels);
    stbi_image_free(job.pixels);
    job.pixels = nullptr;
    return created;
}

bool PictureDecoder::finished() const {
    for (const Entry& e : pictures) {
        const JobState state = pool.state(*e.job);
        if (state == JobState::pending || state == JobState::claimed) return false;
    }
    return true;
}

bool loadPicture(PictureDecoder* decoder, sf::Texture& texture, const std::string& file) {
    return decoder ? decoder->load(texture, file) : texture.loadFromFile(file);
}
