#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>

#include "creatures.h"

// Small drawing helpers of the picture generator: a Cairo canvas, text with Pango in the
// game's font family, and writing PNG or JPEG files.

struct Canvas {
    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    int width = 0;
    int height = 0;

    Canvas(int w, int h);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
};

// Writes the canvas; false when the file cannot be written.
bool savePng(Canvas& canvas, const std::string& path);
bool saveJpg(Canvas& canvas, const std::string& path);

enum Align { AlignLeft, AlignCentre, AlignRight };

struct TextStyle {
    double size = 40;  // pixels
    bool bold = false;
    Rgb colour = {0.1, 0.1, 0.1};
    double alpha = 1.0;
    int align = AlignLeft;
    double wrap = -1;    // wrap width in pixels, -1 for none
    double spacing = 0;  // extra line spacing, pixels
};

// Draws text with its top-left (or top-centre/top-right by alignment) at (x, y);
// returns the height of the laid-out text. Markup (<b>, <i>, <span>) is understood.
double drawText(cairo_t* cr, const std::string& markup, double x, double y, const TextStyle& style);
// Width and height of a text without drawing it.
void measureText(cairo_t* cr, const std::string& markup, const TextStyle& style, double& w,
                 double& h);

void setRgb(cairo_t* cr, const Rgb& c, double alpha = 1.0);
Rgb mix(const Rgb& a, const Rgb& b, double t);
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void ellipsePath(cairo_t* cr, double cx, double cy, double rx, double ry);
void starPath(cairo_t* cr, double cx, double cy, double r, double rot);

// A tiny fixed-seed generator for scattered decorations.
struct Lcg {
    uint32_t state;
    explicit Lcg(uint32_t seed) : state(seed) {}
    double next();  // 0 .. 1
    double range(double lo, double hi) { return lo + (hi - lo) * next(); }
};

// Copies a region of a canvas, scaled, into a new canvas (used for the board sizes).
void paintScaled(Canvas& to, Canvas& from, double scale, double fromTop);

extern const double kPi;
