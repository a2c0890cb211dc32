#pragma once

// An Interface built in a scratch working folder (the records file and the pictures are
// read from the working folder), with its console streams captured.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "ui/interface.h"

namespace uitest {

namespace fs = std::filesystem;

// Redirects a console stream into a string for as long as it lives.
class Capture {
public:
    explicit Capture(std::ostream& s) : stream(s), old(s.rdbuf(buffer.rdbuf())) {}
    ~Capture() { stream.rdbuf(old); }
    std::string text() const { return buffer.str(); }

    std::ostream& stream;
    std::ostringstream buffer;
    std::streambuf* old;
};

// A font file of the system, standing in for the game's own font.
inline std::string systemFont() {
    for (const char* font : {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                             "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"}) {
        if (fs::exists(font)) return font;
    }
    return "";
}

inline bool writePicture(const fs::path& file, unsigned width, unsigned height) {
    fs::create_directories(file.parent_path());
    sf::Image image;
    image.create(width, height, sf::Color(90, 140, 200));
    return image.saveToFile(file.string());
}

// Menu text picture k of the made-up picture set below is 120 + 10k pixels wide.
inline bool writeMenuPictures() {
    bool ok = writePicture("graphs/Menu/fondsNus/centre.jpg", 64, 48) &&
              writePicture("graphs/Menu/fondsNus/pause.png", 256, 192) &&
              writePicture("graphs/Menu/fondsNus/score.png", 400, 100) &&
              writePicture("graphs/Menu/fondsNus/side1.jpg", 32, 24) &&
              writePicture("graphs/Menu/fondsNus/side3.jpg", 32, 24) &&
              writePicture("graphs/Menu/texts/dots.png", 101, 20) &&
              writePicture("graphs/Tuto/tut7.png", 300, 200);
    for (unsigned k = 0; k < 17; ++k) {
        ok = ok &&
             writePicture("graphs/Menu/texts/" + std::to_string(k) + ".png", 120 + 10 * k, 40 + k);
    }
    std::error_code error;
    fs::copy_file(systemFont(), "graphs/SATELLITE.OTF", error);
    return ok && !error;
}

class InterfaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "mirevo-ui-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        fs::current_path(folder);
        build(2048, 1536);
    }
    void TearDown() override {
        ui.reset();
        fs::current_path(previous);
        fs::remove_all(folder);
    }
    // A new Interface of that window size, with its display profile chosen.
    void build(float width, float height) {
        Capture out(std::cout);
        Capture err(std::cerr);
        ui = std::make_unique<Interface>(width, height, log);
        ui->chooseDisplayProfile();
        said = out.text();
        warned = err.text();
    }

    fs::path previous = fs::current_path();
    fs::path folder;
    std::ofstream log;
    std::unique_ptr<Interface> ui;
    std::string said;    // what the last build wrote to standard output
    std::string warned;  // and to standard error
};

}  // namespace uitest
