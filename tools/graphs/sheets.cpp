// Sprite sheets of the board: the creature atlas, buttons, slimes, gauges and the volume
// icon. Every sheet is drawn from the game's own frame tables: each frame's rectangle gets
// that frame's drawing and nothing else.

#include <cmath>
#include <string>

#include "board/anim_tables.h"
#include "generator.h"
#include "paint.h"

namespace {

void clipTo(cairo_t* cr, const AnimFrame& f) {
    cairo_rectangle(cr, f.left, f.top, f.width, f.height);
    cairo_clip(cr);
}

bool emptyFrame(const AnimFrame& f) {
    return f.width <= 0 || f.height <= 0;
}

void sheetSize(const AnimFrame* frames, int count, int& w, int& h) {
    w = 1;
    h = 1;
    for (int i = 0; i < count; ++i) {
        if (emptyFrame(frames[i])) continue;
        if (frames[i].left + frames[i].width > w) w = frames[i].left + frames[i].width;
        if (frames[i].top + frames[i].height > h) h = frames[i].top + frames[i].height;
    }
}

}  // namespace

bool drawAtlasSheet(const std::string& root, int route, int picture) {
    bool landing = picture >= regularAnimCounts[route];
    int anim = landing ? picture - regularAnimCounts[route] : picture;
    int count = landing ? landingFrameCounts[route][anim] : 19;
    const AnimFrame* frames =
        frameTable[route] + (landing ? landingFirstFrame[route][anim] : 19 * anim);
    int w, h;
    sheetSize(frames, count, w, h);
    Canvas canvas(w, h);
    for (int i = 0; i < count; ++i) {
        const AnimFrame& f = frames[i];
        if (emptyFrame(f)) continue;
        Pose pose = landing ? landingPose(route, anim, i) : regularPose(route, anim, i);
        cairo_save(canvas.cr);
        clipTo(canvas.cr, f);
        cairo_translate(canvas.cr, f.left + pose.feetX - f.offsetX, f.top + pose.feetY - f.offsetY);
        drawPose(canvas.cr, route, pose);
        cairo_restore(canvas.cr);
    }
    return savePng(
        canvas, root + "/Atlas/" + std::to_string(route) + "_" + std::to_string(picture) + ".png");
}

// A route's pad lights up when pressed (frame 1) and leaves a fading ring (frame 0).
void drawPadFlash(cairo_t* cr, int mode, int route, int frame, double x, double y, double w,
                  double h) {
    const Rgb& c = routeBody[route];
    const Rgb& l = routeLight[route];
    double cx = x + w / 2, cy = y + h * 0.56;
    double rx = w / 2 - 4, ry = h * 0.4;
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    if (frame == 1) {
        cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, 4, cx, cy, rx);
        cairo_pattern_add_color_stop_rgba(glow, 0, 1, 1, 0.92, 0.95);
        cairo_pattern_add_color_stop_rgba(glow, 0.45, l.r, l.g, l.b, 0.9);
        cairo_pattern_add_color_stop_rgba(glow, 1, c.r, c.g, c.b, 0.0);
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, 1, ry / rx);
        cairo_arc(cr, 0, 0, rx, 0, 2 * kPi);
        cairo_restore(cr);
        cairo_set_source(cr, glow);
        cairo_fill(cr);
        cairo_pattern_destroy(glow);
        ellipsePath(cr, cx, cy + 4, rx * 0.7, ry * 0.55);
        setRgb(cr, c, 0.85);
        cairo_set_line_width(cr, 6);
        cairo_stroke(cr);
        // Little sparks around the pad, one pattern per song's board.
        for (int i = 0; i < 6 + mode; ++i) {
            double a = i * 2 * kPi / (6 + mode) + 0.4 * mode;
            starPath(cr, cx + rx * 0.82 * std::cos(a), cy + ry * 0.8 * std::sin(a), 6, a);
        }
        cairo_set_source_rgba(cr, 1, 1, 0.85, 0.95);
        cairo_fill(cr);
    } else {
        for (int k = 0; k < 2; ++k) {
            ellipsePath(cr, cx, cy, rx * (0.92 - 0.18 * k), ry * (0.92 - 0.18 * k));
            setRgb(cr, k ? l : c, 0.65 - 0.25 * k);
            cairo_set_line_width(cr, 5 - 2 * k);
            cairo_stroke(cr);
        }
    }
    cairo_restore(cr);
}

bool drawButtonSheet(const std::string& root, int mode) {
    int w = 1, h = 1;
    for (int r = 0; r < 4; ++r)
        for (int f = 0; f < 2; ++f) {
            const AnimFrame& b = buttonFrames[mode][r][f];
            if (b.left + b.width > w) w = b.left + b.width;
            if (b.top + b.height > h) h = b.top + b.height;
        }
    Canvas canvas(w, h);
    for (int r = 0; r < 4; ++r)
        for (int f = 0; f < 2; ++f) {
            const AnimFrame& b = buttonFrames[mode][r][f];
            drawPadFlash(canvas.cr, mode, r, f, b.left, b.top, b.width, b.height);
        }
    return savePng(canvas, root + "/Button/b" + std::to_string(mode) + ".png");
}

// The slime of a route: a jelly that quivers in the pond; each frame is another wobble.
void drawSlime(cairo_t* cr, int mode, int route, int frame, double x, double y, double w,
               double h) {
    const Rgb& c = routeBody[route];
    const Rgb& l = routeLight[route];
    const Rgb& d = routeDark[route];
    double cx = x + w / 2, cy = y + h * 0.56;
    double rx = w / 2 - 38, ry = h / 2 - 14;
    double phase = frame * 2 * kPi / 9.0 + mode;
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    const int n = 48;
    for (int i = 0; i <= n; ++i) {
        double a = i * 2 * kPi / n;
        double wob = 1 + 0.06 * std::sin(3 * a + phase) + 0.04 * std::sin(5 * a - 2 * phase);
        double px = cx + rx * wob * std::cos(a);
        double py = cy + ry * wob * std::sin(a) * (std::sin(a) < 0 ? 1.0 : 0.75);
        if (i == 0)
            cairo_move_to(cr, px, py);
        else
            cairo_line_to(cr, px, py);
    }
    cairo_close_path(cr);
    cairo_pattern_t* fill =
        cairo_pattern_create_radial(cx - rx * 0.3, cy - ry * 0.4, 4, cx, cy, rx);
    cairo_pattern_add_color_stop_rgba(fill, 0, l.r, l.g, l.b, 0.9);
    cairo_pattern_add_color_stop_rgba(fill, 1, c.r, c.g, c.b, 0.75);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    setRgb(cr, d, 0.8);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    // Bubbles rise inside the jelly.
    for (int b = 0; b < 4; ++b) {
        double t = std::fmod(frame / 9.0 + b * 0.27, 1.0);
        double bx = cx + rx * (0.5 * std::sin(b * 2.3 + 1.0));
        double by = cy + ry * (0.5 - 1.0 * t);
        ellipsePath(cr, bx, by, 4 + b, 4 + b);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.35 + 0.3 * (1 - t));
        cairo_fill(cr);
    }
    ellipsePath(cr, cx - rx * 0.45, cy - ry * 0.55, rx * 0.18, ry * 0.1);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.6);
    cairo_fill(cr);
    // Sleepy eyes.
    for (int s = -1; s <= 1; s += 2) {
        cairo_new_sub_path(cr);
        double ex = cx + s * rx * 0.22, ey = cy - ry * 0.05 + 2 * std::sin(phase);
        cairo_arc(cr, ex, ey, 7, 0.15 * kPi, 0.85 * kPi);
        setRgb(cr, d);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

bool drawSlimeSheet(const std::string& root, int mode, int route) {
    const AnimFrame* frames = slimeFrames[mode][route];
    int w, h;
    sheetSize(frames, 10, w, h);
    Canvas canvas(w, h);
    for (int f = 0; f < 10; ++f) {
        const AnimFrame& s = frames[f];
        // The game shows width - 1 by height - 1 of each cell.
        drawSlime(canvas.cr, mode, route, f, s.left, s.top, s.width - 1, s.height - 1);
    }
    return savePng(canvas,
                   root + "/Slime/p" + std::to_string(mode) + std::to_string(route) + ".png");
}

// One gauge cell: a seed that is empty (0), half (1) or fully (2) lit. (cx, cy) is the
// seed's centre in sheet pixels.
void drawGaugeSeed(cairo_t* cr, int route, int cell, int state, double cx, double cy) {
    const Rgb& c = routeBody[route];
    const Rgb& l = routeLight[route];
    const Rgb& d = routeDark[route];
    auto seed = [&]() {
        cairo_new_path(cr);
        cairo_move_to(cr, cx, cy - 44);
        cairo_curve_to(cr, cx + 14, cy - 26, cx + 32, cy - 10, cx + 32, cy + 10);
        cairo_curve_to(cr, cx + 32, cy + 30, cx + 17, cy + 40, cx, cy + 40);
        cairo_curve_to(cr, cx - 17, cy + 40, cx - 32, cy + 30, cx - 32, cy + 10);
        cairo_curve_to(cr, cx - 32, cy - 10, cx - 14, cy - 26, cx, cy - 44);
        cairo_close_path(cr);
    };
    double glow = 0.6 + 0.04 * cell;
    seed();
    if (state == 0) {
        setRgb(cr, mix(d, c, 0.25), 0.8);
        cairo_fill_preserve(cr);
    } else if (state == 1) {
        setRgb(cr, mix(d, c, 0.3), 0.85);
        cairo_fill_preserve(cr);
        cairo_save(cr);
        cairo_clip(cr);
        cairo_rectangle(cr, cx - 40, cy + 2, 80, 50);
        setRgb(cr, c);
        cairo_fill(cr);
        cairo_move_to(cr, cx - 40, cy + 2);
        cairo_line_to(cr, cx + 40, cy + 2);
        setRgb(cr, l);
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
        cairo_restore(cr);
        seed();
    } else {
        cairo_pattern_t* p = cairo_pattern_create_radial(cx - 8, cy - 8, 3, cx, cy, 44);
        cairo_pattern_add_color_stop_rgb(p, 0, 1, 1, 0.9);
        cairo_pattern_add_color_stop_rgb(p, 0.35, l.r, l.g, l.b);
        cairo_pattern_add_color_stop_rgb(p, 1, c.r * glow + (1 - glow) * d.r,
                                         c.g * glow + (1 - glow) * d.g,
                                         c.b * glow + (1 - glow) * d.b);
        cairo_set_source(cr, p);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(p);
    }
    setRgb(cr, state == 0 ? c : d);
    cairo_set_line_width(cr, state == 0 ? 4 : 3);
    cairo_stroke(cr);
    if (state == 2) {
        ellipsePath(cr, cx - 11, cy - 10, 7, 11);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.75);
        cairo_fill(cr);
        starPath(cr, cx + 20, cy - 30, 9, 0.2);
        cairo_set_source_rgb(cr, 1, 0.97, 0.75);
        cairo_fill(cr);
    }
}

bool drawGaugeSheet(const std::string& root, int route) {
    int w = 1, h = 1;
    for (int i = 0; i < 33; ++i) {
        const AnimFrame& f = gaugeFrames[gaugeFirstFrame[route] + i];
        if (f.left + f.width > w) w = f.left + f.width;
        if (f.top + f.height > h) h = f.top + f.height;
    }
    Canvas canvas(w, h);
    for (int cell = 0; cell < 11; ++cell) {
        for (int s = 0; s < 3; ++s) {
            // The game reads route 3's state s at record (s + 1) mod 3 of the cell.
            int slot = route == 3 ? (s + 1) % 3 : s;
            const AnimFrame& f = gaugeFrames[gaugeFirstFrame[route] + 3 * cell + slot];
            cairo_save(canvas.cr);
            clipTo(canvas.cr, f);
            drawGaugeSeed(canvas.cr, route, cell, s, f.left + 45 - f.offsetX,
                          f.top + gaugeSeedCentreY - f.offsetY);
            cairo_restore(canvas.cr);
        }
    }
    return savePng(canvas, root + "/Jauges/J" + std::to_string(route) + ".png");
}

// The making-of sound button: a speaker whose waves give way to a cross (frames 0 -> 8).
void drawVolumeIcon(cairo_t* cr, int frame, double cx, double cy) {
    double t = frame / 8.0;
    ellipsePath(cr, cx, cy, 54, 54);
    cairo_set_source_rgb(cr, 0.99, 0.96, 0.88);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.23, 0.16, 0.29);
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    double sx = cx - 14;
    cairo_move_to(cr, sx - 26, cy - 13);
    cairo_line_to(cr, sx - 10, cy - 13);
    cairo_line_to(cr, sx + 10, cy - 31);
    cairo_line_to(cr, sx + 10, cy + 31);
    cairo_line_to(cr, sx - 10, cy + 13);
    cairo_line_to(cr, sx - 26, cy + 13);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, 0.23, 0.16, 0.29);
    cairo_fill(cr);
    for (int k = 0; k < 3; ++k) {
        double a = 1.0 - std::min(1.0, std::max(0.0, t * 3.0 - (2 - k)));
        if (a <= 0) continue;
        cairo_new_sub_path(cr);
        cairo_arc(cr, sx + 8, cy, 18 + 11 * k, -0.33 * kPi, 0.33 * kPi);
        cairo_set_source_rgba(cr, 0.96, 0.55, 0.2, a);
        cairo_set_line_width(cr, 5);
        cairo_stroke(cr);
    }
    if (frame > 0) {
        double s = 14 * std::min(1.0, t * 1.4);
        double x = cx + 24, y = cy;
        cairo_move_to(cr, x - s, y - s);
        cairo_line_to(cr, x + s, y + s);
        cairo_move_to(cr, x + s, y - s);
        cairo_line_to(cr, x - s, y + s);
        cairo_set_source_rgb(cr, 0.85, 0.15, 0.2);
        cairo_set_line_width(cr, 7);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr);
    }
}

bool drawVolumeSheet(const std::string& root) {
    int w, h;
    sheetSize(volumeFrames, 10, w, h);
    Canvas canvas(w, h);
    for (int f = 0; f < 9; ++f) {
        const AnimFrame& v = volumeFrames[f];
        cairo_save(canvas.cr);
        clipTo(canvas.cr, v);
        drawVolumeIcon(canvas.cr, f, v.left + volumeIconCentre[0] - v.offsetX,
                       v.top + volumeIconCentre[1] - v.offsetY);
        cairo_restore(canvas.cr);
    }
    return savePng(canvas, root + "/Menu/animVolume.png");
}
