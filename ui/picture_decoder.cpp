#include "ui/picture_decoder.h"

#include <stb_image.h>

PictureDecoder::PictureDecoder(std::vector<std::string> files, int threads) {
    pictures.resize(files.size());
    for (size_t i = 0; i < files.size(); ++i) pictures[i].file = std::move(files[i]);
    for (int t = 0; t < threads; ++t) workers.emplace_back(&PictureDecoder::work, this);
}

PictureDecoder::~PictureDecoder() {
    stopping.store(true);
    for (std::thread& worker : workers) worker.join();
    for (Picture& p : pictures) stbi_image_free(p.pixels);
}

namespace {
// RGBA pixels of a picture, or null (quietly) when it does not decode.
unsigned char* decode(const std::string& file, int& width, int& height) {
    int channels = 0;
    unsigned char* pixels = stbi_load(file.c_str(), &width, &height, &channels, STBI_rgb_alpha);
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
    if (!found) return texture.loadFromFile(file);
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
