#pragma once

#include <SFML/Graphics/Texture.hpp>
#include <memory>
#include <string>
#include <vector>

#include "assets/decode_pool.h"

// Pictures decoded ahead of their use by the game's decode pool, so that loading a list of
// pictures uses the other cores while the textures are still created one by one, in the
// caller's order, on the main thread. Only regular files holding a PNG or JPEG picture are
// decoded ahead (the formats both this decoder and the graphics library's read the same way;
// nothing that could block a worker); any other file, and a picture that does not decode, is
// left to sf::Texture::loadFromFile at its turn, so every message, result and order stays that
// of a plain load. The decoding never prints anything.
class PictureDecoder {
public:
    // Queues the files on the pool, in list order.
    PictureDecoder(DecodePool& pool, std::vector<std::string> files);
    // Cancels the pictures not decoded yet; what was decoded is freed.
    ~PictureDecoder();
    PictureDecoder(const PictureDecoder&) = delete;
    PictureDecoder& operator=(const PictureDecoder&) = delete;

    // Main thread: loads the texture from the file, as texture.loadFromFile(file) would.
    // A file of the list is taken from its decoded pixels (waiting for a worker that is
    // decoding it, or decoding it here when no worker has started it) and those pixels are
    // freed; any other file is read now.
    bool load(sf::Texture& texture, const std::string& file);
    // True once every file of the list has been decoded or has failed.
    bool finished() const;

private:
    class Job;
    struct Entry {
        std::shared_ptr<Job> job;
        bool taken = false;
    };
    DecodePool& pool;
    std::vector<Entry> pictures;
};

// Loads a texture through the decoder when there is one, otherwise straight from the file.
bool loadPicture(PictureDecoder* decoder, sf::Texture& texture, const std::string& file);
