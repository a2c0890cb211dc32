// The records file against random contents: whatever lies in "profile.zob", the
// Interface loads it without crashing, takes exactly the bytes present in file order
// (the rest stay 0), reports a short file, and writes back what it loaded.
#include <gtest/gtest.h>

#include <SFML/Window/Context.hpp>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "support/game_folder.h"
#include "ui/interface.h"

namespace {
// Every size from 0 to maxBytes once, then random sizes: the load is a copy of the bytes,
// so a thousand files see every size, NaNs and infinities many times over.
const int fileCount = 1000;
const int maxBytes = 100;
const int recordBytes = 48;

// Swaps a standard stream's buffer for a string buffer while it lives.
class Capture {
public:
    explicit Capture(std::ostream& stream) : stream(stream), old(stream.rdbuf(text.rdbuf())) {}
    ~Capture() { stream.rdbuf(old); }
    std::string take() {
        std::string s = text.str();
        text.str("");
        return s;
    }

private:
    std::ostringstream text;
    std::ostream& stream;
    std::streambuf* old;
};

void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// The 48 bytes the three record lists hold, as stored.
std::vector<unsigned char> recordBytesOf(const Interface& ui) {
    std::vector<unsigned char> bytes(recordBytes, 0xEE);
    const std::vector<float>* lists[3] = {&ui.bestCompletion, &ui.bestScore, &ui.bestExploreTime};
    for (int l = 0; l < 3; ++l) {
        if (lists[l]->size() != 4) return {};
        std::memcpy(bytes.data() + 16 * l, lists[l]->data(), 16);
    }
    return bytes;
}

std::vector<unsigned char> randomFile(std::mt19937& rng, int size) {
    std::vector<unsigned char> bytes(static_cast<size_t>(size));
    // Mostly uniform bytes, sometimes plausible floats, NaNs and infinities.
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> kind(0, 3);
    for (size_t i = 0; i < bytes.size(); i += 4) {
        unsigned char word[4];
        float f = 0.0f;
        switch (kind(rng)) {
            case 0:
                f = static_cast<float>(byte(rng)) * 3.5f;
                std::memcpy(word, &f, 4);
                break;
            case 1: {
                const uint32_t odd[4] = {0x7FC00000u, 0x7F800000u, 0xFF800000u, 0x00000001u};
                std::memcpy(word, &odd[byte(rng) % 4], 4);
                break;
            }
            default:
                for (unsigned char& w : word) w = static_cast<unsigned char>(byte(rng));
        }
        for (size_t k = 0; k < 4 && i + k < bytes.size(); ++k) bytes[i + k] = word[k];
    }
    return bytes;
}
}  // namespace

TEST(RecordsFileFuzz, RandomFilesLoadExactlyAsTheirBytesSayAndSaveBackUnchanged) {
    GameFolder folder(false);
    // One drawing context for the whole test, so that Interfaces come and go quickly.
    sf::Context context;
    std::ofstream log(folder.file("log.txt"), std::ios::app);
    std::mt19937 rng(20261207u);
    std::uniform_int_distribution<int> size(0, maxBytes);
    int shortFiles = 0;
    int faults = 0;
    for (int n = 0; n < fileCount && faults < 10; ++n) {
        // Every size is tried at least once, the rest at random.
        const int bytesInFile = n <= maxBytes ? n : size(rng);
        const std::vector<unsigned char> bytes = randomFile(rng, bytesInFile);
        writeBytes(folder.file("profile.zob"), bytes);

        std::string out;
        std::string err;
        std::vector<unsigned char> loaded;
        std::string saved;
        {
            Capture outCapture(std::cout);
            Capture errCapture(std::cerr);
            Interface ui(1024.0f, 768.0f, log);
            out = outCapture.take();
            loaded = recordBytesOf(ui);
            ui.saveProfile();
            err = errCapture.take();
            saved = folder.read("profile.zob");
        }

        // Records: the bytes present, in file order; the rest 0.
        std::vector<unsigned char> expected(recordBytes, 0);
        for (int i = 0; i < recordBytes && i < bytesInFile; ++i) expected[i] = bytes[i];
        const bool isShort = bytesInFile < recordBytes;
        shortFiles += isShort ? 1 : 0;
        const std::string expectedOut =
            std::string("loading profile\n") + (isShort ? "error loading profile !\n" : "");

        bool ok = true;
        if (loaded != expected) {
            ADD_FAILURE() << "file " << n << " (" << bytesInFile << " bytes): records differ";
            ok = false;
        }
        if (out != expectedOut) {
            ADD_FAILURE() << "file " << n << " (" << bytesInFile << " bytes): output \"" << out
                          << "\"";
            ok = false;
        }
        if (err != "profile saved\n") {
            ADD_FAILURE() << "file " << n << ": standard error \"" << err << "\"";
            ok = false;
        }
        if (saved != std::string(expected.begin(), expected.end())) {
            ADD_FAILURE() << "file " << n << " (" << bytesInFile
                          << " bytes): the save did not write back the 48 loaded bytes ("
                          << saved.size() << " bytes written)";
            ok = false;
        }
        if (!ok) ++faults;
    }
    EXPECT_EQ(faults, 0);
    // The sample covers both sides of the 48-byte limit well.
    EXPECT_GT(shortFiles, fileCount / 3);
    EXPECT_LT(shortFiles, 2 * fileCount / 3);
}

TEST(RecordsFileFuzz, MissingFileIsCreatedAsTwelveZeros) {
    GameFolder folder(false);
    std::ofstream log(folder.file("log.txt"), std::ios::app);
    std::string out;
    std::vector<unsigned char> loaded;
    {
        Capture outCapture(std::cout);
        Interface ui(1024.0f, 768.0f, log);
        out = outCapture.take();
        loaded = recordBytesOf(ui);
    }
    EXPECT_EQ(out, "creating new profile\n");
    EXPECT_EQ(loaded, std::vector<unsigned char>(recordBytes, 0));
    EXPECT_EQ(folder.read("profile.zob"), std::string(recordBytes, '\0'));
}
