#include "ui/picture_decoder.h"

#include <stb_image.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "assets/asset_files.h"

PictureDecoder::PictureDecoder(std::vector<std::string> files, int threads) {
    pictures.resize(files.size());
    for (size_t i = 0; i < files.size(); ++i) pictures[i].file = std::move(files[i]);
    for (int t = 0; t < threads; ++t) workers.emplace_back(&PictureDecoder::work, this);
}

PictureDecoder::~PictureDecoder() {
    stopping.store(true);
    for (std::thread& worker : workers) worker.join();
    for (Picture& p : pictures) {
        if (!p.taken) aheadFileLog.noteUntaken(p.file);
        stbi_image_free(p.pixels);
    }
}

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
unsigned char* decode(const std::string& file, int& width, int& height) {
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

void PictureDecoder::work() {
    for (;;) {
        size_t i = 0;
        {
            std::lock_guard<std::mutex> lock(mutex);
            while (i < pictures.size() && pictures[i].claimed) ++i;
            if (stopping.load() || i >= pictures.size()) return;
            pictures[i].claimed = true;
        }
        // The file name is fixed before the workers start; only the result is shared.
        int width = 0, height = 0;
        unsigned char* pixels = decode(pictures[i].file, width, height);
        std::lock_guard<std::mutex> lock(mutex);
        Picture& p = pictures[i];
        p.pixels = pixels;
        p.width = width;
        p.height = height;
        p.done = true;
        ++doneCount;
        decoded.notify_all();
    }
}

bool PictureDecoder::load(sf::Texture& texture, const std::string& file) {
    Picture* found = nullptr;
    for (Picture& p : pictures) {
        if (!p.taken && p.file == file) {
            found = &p;
            break;
        }
    }
    if (!found) {
        aheadFileLog.noteUnlisted(file);
        return texture.loadFromFile(file);
    }
    unsigned char* pixels = nullptr;
    int width = 0, height = 0;
    {
        std::unique_lock<std::mutex> lock(mutex);
        found->taken = true;
        if (!found->claimed) {
            // No worker has come to it yet: decoded here rather than waited for.
            found->claimed = true;
            found->done = true;
            ++doneCount;
            lock.unlock();
            pixels = decode(file, width, height);
        } else {
            decoded.wait(lock, [&] { return found->done; });
            pixels = found->pixels;
            found->pixels = nullptr;
            width = found->width;
            height = found->height;
        }
    }
    // Not decoded here: the plain load reports it (or reads it after all).
    if (!pixels) return texture.loadFromFile(file);
    // What loadFromFile does with a whole picture: create, then upload the pixels.
    const bool created =
        texture.create(static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (created) texture.update(pixels);
    stbi_image_free(pixels);
    return created;
}

bool PictureDecoder::finished() const {
    std::lock_guard<std::mutex> lock(mutex);
    return doneCount == pictures.size();
}

bool loadPicture(PictureDecoder* decoder, sf::Texture& texture, const std::string& file) {
    return decoder ? decoder->load(texture, file) : texture.loadFromFile(file);
}
