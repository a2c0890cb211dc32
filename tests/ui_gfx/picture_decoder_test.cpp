#include "ui/picture_decoder.h"

#include <gtest/gtest.h>

#include <SFML/Graphics.hpp>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "support/bounded_wait.h"
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

// A 16-bit binary PPM (maxval 65535), 4 x 3 pixels.
void writePpm16(const std::string& name) {
    std::ofstream out(name, std::ios::binary);
    out << "P6\n4 3\n65535\n";
    for (int i = 0; i < 4 * 3 * 3; ++i) out.put(char(i * 7)).put(char(255 - i));
}

// A 1-bit BMP with a two-colour palette, 8 x 4 pixels.
void writeBmp1(const std::string& name) {
    auto u16 = [](std::string& s, unsigned v) {
        for (int b = 0; b < 2; ++b) s += char((v >> (8 * b)) & 255);
    };
    auto u32 = [](std::string& s, unsigned v) {
        for (int b = 0; b < 4; ++b) s += char((v >> (8 * b)) & 255);
    };
    const unsigned rows = 4, rowBytes = 4, offset = 14 + 40 + 2 * 4;
    std::string s = "BM";
    u32(s, offset + rows * rowBytes);
    u32(s, 0);
    u32(s, offset);
    u32(s, 40);  // the info header
    u32(s, 8);
    u32(s, rows);
    u16(s, 1);
    u16(s, 1);  // bits per pixel
    u32(s, 0);
    u32(s, rows * rowBytes);
    u32(s, 2835);
    u32(s, 2835);
    u32(s, 2);
    u32(s, 2);
    u32(s, 0x00000000);  // black, then blue
    u32(s, 0x0000a0ff);
    for (unsigned y = 0; y < rows; ++y) s += std::string{char(0xa5 ^ y), 0, 0, 0};
    std::ofstream(name, std::ios::binary) << s;
}

bool samePixels(const sf::Image& a, const sf::Image& b) {
    if (a.getSize() != b.getSize()) return false;
    const size_t n = 4u * a.getSize().x * a.getSize().y;
    return n == 0 || std::equal(a.getPixelsPtr(), a.getPixelsPtr() + n, b.getPixelsPtr());
}

// One round: the files loaded through a decoder, in an order that depends on the round, each
// compared with a plain load.
void compareLoads(const std::vector<std::string>& files, int round) {
    testing::internal::CaptureStderr();
    DecodePool pool(2);
    PictureDecoder decoder(pool, files);
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
        // Waits on workers are bounded: one that never delivers fails here.
        returnsWithin([&] { compareLoads(files, round); }, stepBoundSeconds,
                      "the loads of round " + std::to_string(round));
    }
    // Several of the files fail, and their messages name them.
    EXPECT_FALSE(plainLoad("garbage.png").ok);
    EXPECT_NE(plainLoad("missing.png").messages.find("missing.png"), std::string::npos);
}

// Pictures in formats that this decoder reads but the graphics library's own refuses, under the
// game's picture names: refused as by the plain load, with its message.
TEST(PictureDecoder, A16BitPpmAndA1BitBmpNamedPngAreRefusedAsByThePlainLoad) {
    GameFolder folder(false);
    writePpm16("deep.png");
    writeBmp1("mono.png");
    writeNoise("plain.png", 9, 7);
    const std::vector<std::string> files = {"deep.png", "plain.png", "mono.png"};
    for (int threads : {0, 1, 2}) {
        returnsWithin(
            [&] {
                DecodePool pool(threads);
                PictureDecoder decoder(pool, files);
                for (const std::string& file : files) {
                    const Loaded plain = plainLoad(file);
                    const Loaded decoded = decodedLoad(decoder, file);
                    EXPECT_EQ(decoded.ok, plain.ok) << file;
                    EXPECT_EQ(decoded.messages, plain.messages) << file;
                    EXPECT_TRUE(samePixels(decoded.pixels, plain.pixels)) << file;
                    EXPECT_EQ(plain.ok, file == "plain.png") << file << " " << plain.messages;
                }
            },
            stepBoundSeconds, "the loads with " + std::to_string(threads) + " workers");
    }
}

// A FIFO among the pictures (it would block whoever opens it until a writer comes) is not read
// ahead: the other pictures load, and the decoder is dropped, without waiting for it.
TEST(PictureDecoder, AFifoAmongThePicturesIsNotReadAhead) {
    GameFolder folder(false);
    writeNoise("a.png", 16, 16);
    writeNoise("c.jpg", 16, 16);
    ASSERT_TRUE(makeFifo("b.png"));
    const std::vector<std::string> files = {"a.png", "b.png", "c.jpg", "a.png"};
    for (int threads : {1, 2}) {
        returnsWithin(
            [&] {
                DecodePool pool(threads);
                PictureDecoder decoder(pool, files);
                waitUntil([&] { return decoder.finished(); }, 5.0,
                          "the workers to get past the FIFO");
                sf::Texture texture;
                EXPECT_TRUE(decoder.load(texture, "a.png"));
                EXPECT_TRUE(decoder.load(texture, "c.jpg"));
            },
            10.0, "a decoder with a FIFO in its list, used and dropped",
            [] { releaseFifoReaders("b.png"); });
    }
}

// Also for the thread-sanitizer build: a decoder dropped at any point of its work (the
// start-up ending at a missing file, the song list closed) gives up its pictures cleanly while
// the pool goes on with the next decoder's, and a pool dropped at any point stops its workers.
TEST(PictureDecoder, DroppedWhileDecodingStopsItsWorkers) {
    GameFolder folder(false);
    std::vector<std::string> files;
    for (int i = 0; i < 12; ++i) {
        files.push_back("p" + std::to_string(i) + ".png");
        writeNoise(files.back(), 64, 64);
    }
    returnsWithin(
        [&] {
            for (int round = 0; round < 20; ++round) {
                DecodePool pool(1 + round % 2);
                for (int batch = 0; batch < 3; ++batch) {
                    PictureDecoder decoder(pool, files);
                    sf::Texture texture;
                    for (int k = 0; k < (round + batch) % 4; ++k) {
                        EXPECT_TRUE(decoder.load(texture, files[k * 3]));
                    }
                }
            }
        },
        stepBoundSeconds, "20 decoders, each dropped after a few loads");
}
