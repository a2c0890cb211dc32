// Draws the desktop icon: the four routes' creatures, one per corner, as they look in the
// first frame of their first hop, on a round dark badge. The same drawing is written as a
// scalable SVG and as PNG pictures of the usual sizes, in the folder layout of an icon
// theme (<folder>/<size>x<size>/apps/mirevo.png, <folder>/scalable/apps/mirevo.svg).
#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>

#include "creatures.h"

namespace {

const double kSide = 256;  // drawing units: the icon is drawn on a 256 x 256 square
const double kCell = 100;  // each creature fits a square this wide
const double kCellX[4] = {24, 132, 132, 24};
const double kCellY[4] = {24, 24, 132, 132};
const int kPngSizes[] = {64, 128, 256};

void drawIcon(cairo_t* cr) {
    cairo_arc(cr, kSide / 2, kSide / 2, kSide / 2 - 2, 0, 2 * 3.14159265358979);
    cairo_set_source_rgb(cr, 34 / 255.0, 30 / 255.0, 52 / 255.0);
    cairo_fill(cr);
    for (int route = 0; route < 4; ++route) {
        Pose pose = regularPose(route, 0, 0);
        InkBox ink = poseInk(route, pose);
        if (ink.w <= 0 || ink.h <= 0) continue;
        double s = std::min(kCell / ink.w, kCell / ink.h);
        cairo_save(cr);
        cairo_translate(cr, kCellX[route] + (kCell - ink.w * s) / 2 - ink.x0 * s,
                        kCellY[route] + (kCell - ink.h * s) / 2 - ink.y0 * s);
        cairo_scale(cr, s, s);
        drawPose(cr, route, pose);
        cairo_restore(cr);
    }
}

bool writeSvg(const std::string& path) {
    cairo_surface_t* surface = cairo_svg_surface_create(path.c_str(), kSide, kSide);
    cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);
    cairo_t* cr = cairo_create(surface);
    drawIcon(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

bool writePng(const std::string& path, int size) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, size / kSide, size / kSide);
    drawIcon(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: make_icon <icon theme folder>" << std::endl;
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path root = argv[1];
    std::error_code error;
    fs::create_directories(root / "scalable" / "apps", error);
    if (error || !writeSvg((root / "scalable" / "apps" / "mirevo.svg").string())) {
        std::cerr << "make_icon: cannot write the SVG icon under " << root << std::endl;
        return 1;
    }
    for (int size : kPngSizes) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        fs::create_directories(root / name / "apps", error);
        if (error || !writePng((root / name / "apps" / "mirevo.png").string(), size)) {
            std::cerr << "make_icon: cannot write the " << name << " icon under " << root
                      << std::endl;
            return 1;
        }
    }
    return 0;
}
