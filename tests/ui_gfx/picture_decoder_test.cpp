#include "ui/picture_decoder.h"

#include <gtest/gtest.h>

#include <SFML/Graphics.hpp>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "support/game_folder.h"

namespace {

// A picture whose every pixel differs, so that any decoding difference shows.
void writeNoise(const std::string& name, unsigned w, unsigned h) {
    const bool alpha = name.substr(name.size() - 4) == ".png";
    sf::Image image;
    image.create(w, h);
    std::srand(7);
    for (unsigned y = 0; y < h; ++y) {
        for (unsigned x = 0; x < w; ++x) {
            const int r = std::rand() % 256, g = std::rand() % 256, b = std::rand() % 256;
            image.setPixel(x, y, sf::Color(r, g, b, alpha ? std::rand() % 256 : 255));
        }
    }
    ASSERT_TRUE(image.saveToFile(name));
}

struct Loaded {
    bool ok;
    std::string messages;
    sf::Image pixels;
};

Loaded plainLoad(const std::string& file) {
    sf::Texture texture;
    testing::internal::CaptureStderr();
    const bool ok = texture.loadFromFile(file);
    return {ok, testing::internal::GetCapturedStderr(), texture.copyToImage()};
}

Loaded decodedLoad(PictureDecoder& decoder, const std::string& file) {
    sf::Texture texture;
    testing::internal::CaptureStderr();
    const bool ok = decoder.load(texture, file);
    return {ok, testing::internal::GetCapturedStderr(), texture.copyToImage()};
}

bool samePixels(const sf::Image& a, const sf::Image& b) {
    if (a.getSize() != b.getSize()) return false;
    const size_t n = 4u * a.getSize().x * a.getSize().y;
    return n == 0 || std::equal(a.getPixelsPtr(), a.getPixelsPtr() + n, b.getPixelsPtr());
}

}  // namespace

// Whatever the file, a picture taken from the decoder is the texture, the result and the
// messages of a plain load, and the decoding itself prints nothing.
TEST(PictureDecoder, EveryFileLoadsAsAPlainLoadWould) {
    GameFolder folder(false);
    writeNoise("noise.jpg", 301, 173);
    writeNoise("noise.png", 64, 33);
    { std::ofstream("garbage.png") << "not a picture at all"; }
    { std::ofstream("empty.jpg"); }
    writeNoise("outside.png", 5, 5);
    const std::vector<std::string> files = {"noise.jpg", "garbage.png", "missing.png", "noise.png",
                                            "empty.jpg"};
    for (int round = 0; round < 3; ++round) {
        testing::internal::CaptureStderr();
        PictureDecoder decoder(files);
        // The same files in another order, one of them twice, one not in the list.
        std::vector<std::string> asked = {"noise.png",   "garbage.png", "noise.jpg", "outside.png",
                                          "missing.png", "empty.jpg",   "noise.png"};
        std::rotate(asked.begin(), asked.begin() + 2 * round, asked.end());
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        for (const std::string& file : asked) {
            const Loaded plain = plainLoad(file);
            const Loaded decoded = decodedLoad(decoder, file);
            EXPECT_EQ(decoded.ok, plain.ok) << file;
            EXPECT_EQ(decoded.messages, plain.messages) << file;
            EXPECT_TRUE(samePixels(decoded.pixels, plain.pixels)) << file;
        }
        EXPECT_TRUE(decoder.finished());
    }
    // Several of the files fail, and their messages name them.
    EXPECT_FALSE(plainLoad("garbage.png").ok);
    EXPECT_NE(plainLoad("missing.png").messages.find("missing.png"), std::string::npos);
}

// Also for the thread-sanitizer build: a decoder dropped at any point of its work (the
// start-up ending at a missing file, the song list closed) stops its workers cleanly.
TEST(PictureDecoder, DroppedWhileDecodingStopsItsWorkers) {
    GameFolder folder(false);
    std::vector<std::string> files;
    for (int i = 0; i < 12; ++i) {
        files.push_back("p" + std::to_string(i) + ".png");
        writeNoise(files.back(), 64, 64);
    }
    for (int round = 0; round < 20; ++round) {
        PictureDecoder decoder(files, 1 + round % 2);
        sf::Texture texture;
        for (int k = 0; k < round % 4; ++k) EXPECT_TRUE(decoder.load(texture, files[k * 3]));
    }
}
