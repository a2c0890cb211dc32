#pragma once

#include <SFML/Graphics/Texture.hpp>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Pictures decoded ahead of their use on worker threads, so that loading a list of pictures
// uses every core while the textures are still created one by one, in the caller's order, on
// the main thread. Only regular files holding a PNG or JPEG picture are decoded ahead (the
// formats both this decoder and the graphics library's read the same way; nothing that could
// block a worker); any other file, and a picture that does not decode, is left to
// sf::Texture::loadFromFile at its turn, so every message, result and order stays that of a
// plain load. The workers never print anything.
class PictureDecoder {
public:
    // Starts decoding the files, in list order, on `threads` worker threads.
    explicit PictureDecoder(std::vector<std::string> files, int threads = 2);
    // Stops the workers (pictures not yet decoded are skipped) and frees what is left.
    ~PictureDecoder();
    PictureDecoder(const PictureDecoder&) = delete;
    PictureDecoder& operator=(const PictureDecoder&) = delete;

    // Main thread: loads the texture from the file, as texture.loadFromFile(file) would.
    // A file of the list is taken from its decoded pixels (waiting for a worker that is
    // decoding it, or decoding it here when no worker has started it) and those pixels are
    // freed; any other file is read now.
    bool load(sf::Texture& texture, const std::string& file);
    // Main thread: true once every file of the list has been decoded or has failed.
    bool finished() const;

private:
    struct Picture {
        std::string file;
        unsigned char* pixels = nullptr;  // RGBA, freed when taken
        int width = 0;
        int height = 0;
        bool claimed = false;  // a worker (or the main thread) decodes it
        bool done = false;
        bool taken = false;
    };
    void work();

    std::vector<Picture> pictures;
    std::atomic<bool> stopping{false};
    size_t doneCount = 0;
    mutable std::mutex mutex;
    std::condition_variable decoded;
    std::vector<std::thread> workers;
};

// Loads a texture through the decoder when there is one, otherwise straight from the file.
bool loadPicture(PictureDecoder* decoder, sf::Texture& texture, const std::string& file);
