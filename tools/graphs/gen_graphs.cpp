// gen_graphs <graphs folder> <manifest>: draws the game's whole picture tree into the given
// folder (which must be named graphs; its old content is removed first) and writes a
// manifest of every file (path, size, checksum). The same bytes come out on every run.

#include <pango/pangocairo.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "board/anim_tables.h"
#include "generator.h"
#include "manifest.h"
#include "paint.h"

namespace fs = std::filesystem;

namespace {

const char* const kFontSource = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
// The regular weight, for the tutorial's sentences around a key bound to another.
const char* const kRegularFontSource = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* const kFontLicence = "/usr/share/doc/fonts-dejavu-core/copyright";
const char* const kFontDir = "/usr/share/fonts/truetype/dejavu";

// Text is laid out with fonts from the DejaVu folder only, whatever else the machine has.
bool pinFonts(const fs::path& scratch) {
    std::error_code ec;
    fs::create_directories(scratch, ec);
    fs::path conf = scratch / "fonts.conf";
    std::ofstream out(conf);
    out << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
        << "  <dir>" << kFontDir << "</dir>\n  <cachedir>" << (scratch / "cache").string()
        << "</cachedir>\n</fontconfig>\n";
    out.close();
    if (!out) return false;
    return setenv("FONTCONFIG_FILE", conf.c_str(), 1) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: gen_graphs <output graphs folder> <manifest file>" << std::endl;
        return 2;
    }
    fs::path root = fs::absolute(argv[1]).lexically_normal();
    if (root.filename().empty()) root = root.parent_path();
    if (root.filename() != "graphs") {
        std::cerr << "gen_graphs: the output folder must be named graphs" << std::endl;
        return 2;
    }
    fs::path manifestPath = fs::absolute(argv[2]);
    std::error_code ec;
    fs::remove_all(root, ec);
    for (const char* sub : {"Atlas", "Board", "Button", "Slime", "Jauges", "Menu/fondsNus",
                            "Menu/texts", "Menu/makingof", "Menu/options", "Tuto", "Keys"}) {
        fs::create_directories(root / sub, ec);
        if (ec) {
            std::cerr << "gen_graphs: cannot create " << (root / sub).string() << std::endl;
            return 1;
        }
    }
    fs::path scratch = root.parent_path() / ".gen_graphs_fonts";
    if (!pinFonts(scratch)) {
        std::cerr << "gen_graphs: cannot write the font configuration" << std::endl;
        return 1;
    }
    fs::copy_file(kFontSource, root / "SATELLITE.OTF", fs::copy_options::overwrite_existing, ec);
    if (ec) {
        std::cerr << "gen_graphs: cannot copy the font " << kFontSource << std::endl;
        return 1;
    }
    fs::copy_file(kRegularFontSource, root / "Keys" / "regular.ttf",
                  fs::copy_options::overwrite_existing, ec);
    if (ec) {
        std::cerr << "gen_graphs: cannot copy the font " << kRegularFontSource << std::endl;
        return 1;
    }
    fs::copy_file(kFontLicence, root / "SATELLITE-LICENSE.txt",
                  fs::copy_options::overwrite_existing, ec);
    if (ec) {
        std::cerr << "gen_graphs: cannot copy the font licence " << kFontLicence << std::endl;
        return 1;
    }

    const std::string r = root.string();
    std::vector<std::function<bool()>> jobs;
    // The biggest pictures first, so the two workers finish together.
    for (int m = 0; m < 4; ++m) jobs.push_back([r, m] { return drawBoards(r, m); });
    for (int p = 0; p < 19; ++p) jobs.push_back([r, p] { return drawMakingOfPage(r, p); });
    for (int w = 0; w < 4; ++w) jobs.push_back([r, w] { return drawMenuBackgrounds(r, w); });
    for (int p = 0; p < 3; ++p) jobs.push_back([r, p] { return drawOptionsPanel(r, p); });
    for (int p = 0; p < 3; ++p) jobs.push_back([r, p] { return drawCalibrationCard(r, p); });
    for (int route = 0; route < 4; ++route)
        for (int j = 0; j < regularAnimCounts[route] + 7; ++j)
            jobs.push_back([r, route, j] { return drawAtlasSheet(r, route, j); });
    for (int m = 0; m < 4; ++m) {
        jobs.push_back([r, m] { return drawButtonSheet(r, m); });
        for (int route = 0; route < 4; ++route)
            jobs.push_back([r, m, route] { return drawSlimeSheet(r, m, route); });
    }
    for (int route = 0; route < 4; ++route)
        jobs.push_back([r, route] { return drawGaugeSheet(r, route); });
    jobs.push_back([r] { return drawVolumeSheet(r); });
    jobs.push_back([r] { return drawPausePanel(r); });
    jobs.push_back([r] { return drawScoreBar(r); });
    jobs.push_back([r] { return drawDots(r); });
    for (int k = 0; k <= 16; ++k) jobs.push_back([r, k] { return drawMenuText(r, k); });
    for (int t = 0; t <= 7; ++t) jobs.push_back([r, t] { return drawTutorialPage(r, t); });

    // Fontconfig and Pango are set up once before the workers start.
    {
        Canvas warm(8, 8);
        TextStyle ts;
        double w, h;
        measureText(warm.cr, "Mirevo", ts, w, h);
    }
    std::atomic<size_t> next(0);
    std::atomic<bool> failed(false);
    auto worker = [&] {
        for (size_t i = next++; i < jobs.size(); i = next++) {
            if (!jobs[i]()) failed = true;
        }
    };
    std::thread other(worker);
    worker();
    other.join();
    fs::remove_all(scratch, ec);
    if (failed) {
        std::cerr << "gen_graphs: a picture could not be written" << std::endl;
        return 1;
    }
    if (!writeManifest(root.parent_path(), "graphs", manifestPath)) {
        std::cerr << "gen_graphs: cannot write the manifest " << manifestPath.string() << std::endl;
        return 1;
    }
    return 0;
}
