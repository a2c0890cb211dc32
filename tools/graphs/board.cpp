// The four boards, one per mode (song). Each is drawn once on the 2048 x 1536 reference
// canvas, with its features where the game's layout tables put the moving parts, and the
// three profile files are cut from it.

#include <cmath>
#include <string>

#include "board/anim_tables.h"
#include "board/route.h"
#include "core/songs.h"
#include "generator.h"
#include "paint.h"

const double gaugeSeedCentreY = 62;

namespace {

struct Theme {
    Rgb inner, outer, speck, stone, stoneDark, water, waterDeep;
};

// By song: 0 Moss Parade, 1 Tide Lanterns, 2 Copper Rain, 3 Night Orchard.
const Theme themes[4] = {{{0.33, 0.55, 0.33},
                          {0.15, 0.30, 0.18},
                          {0.55, 0.75, 0.42},
                          {0.86, 0.82, 0.70},
                          {0.45, 0.42, 0.33},
                          {0.35, 0.66, 0.78},
                          {0.14, 0.36, 0.50}},
                         {{0.72, 0.60, 0.42},
                          {0.34, 0.25, 0.18},
                          {0.96, 0.90, 0.74},
                          {0.97, 0.94, 0.86},
                          {0.48, 0.40, 0.32},
                          {0.40, 0.74, 0.84},
                          {0.10, 0.36, 0.52}},
                         {{0.55, 0.33, 0.20},
                          {0.26, 0.13, 0.09},
                          {0.86, 0.55, 0.28},
                          {0.90, 0.80, 0.64},
                          {0.46, 0.33, 0.25},
                          {0.36, 0.62, 0.60},
                          {0.14, 0.32, 0.34}},
                         {{0.20, 0.24, 0.27},
                          {0.06, 0.08, 0.10},
                          {0.95, 0.92, 0.70},
                          {0.80, 0.82, 0.80},
                          {0.30, 0.33, 0.34},
                          {0.25, 0.45, 0.55},
                          {0.08, 0.16, 0.24}}};

void feetAt(int route, int hop, double& x, double& y) {
    // hop 0 = the nest in the corner, 3 = the pad.
    x = routePadFeet[route][0] - (3 - hop) * routeStep[route][0];
    y = routePadFeet[route][1] - (3 - hop) * routeStep[route][1];
}

void drawBackground(cairo_t* cr, const Theme& t, int song) {
    cairo_pattern_t* bg = cairo_pattern_create_radial(1030, 720, 80, 1030, 720, 1350);
    cairo_pattern_add_color_stop_rgb(bg, 0, t.inner.r, t.inner.g, t.inner.b);
    cairo_pattern_add_color_stop_rgb(bg, 1, t.outer.r, t.outer.g, t.outer.b);
    cairo_set_source(cr, bg);
    cairo_paint(cr);
    cairo_pattern_destroy(bg);
    Lcg rng(1234u + 77u * song);
    // Soft ground patches.
    for (int i = 0; i < 140; ++i) {
        double x = rng.range(0, 2048), y = rng.range(0, 1536);
        double r = rng.range(30, 120);
        ellipsePath(cr, x, y, r * 1.6, r);
        setRgb(cr, rng.next() < 0.5 ? t.outer : t.inner, 0.18);
        cairo_fill(cr);
    }
    // Song-specific texture.
    for (int i = 0; i < 420; ++i) {
        double x = rng.range(0, 2048), y = rng.range(0, 1536);
        double s = rng.range(0.5, 1.5);
        double a = rng.range(0.15, 0.45);
        switch (song) {
            case 0:  // grass tufts
                for (int k = -1; k <= 1; ++k) {
                    cairo_move_to(cr, x + k * 4 * s, y);
                    cairo_line_to(cr, x + k * 9 * s, y - 16 * s);
                }
                setRgb(cr, t.speck, a);
                cairo_set_line_width(cr, 2.5);
                cairo_stroke(cr);
                break;
            case 1:  // wave lines on wet sand
                cairo_move_to(cr, x - 20 * s, y);
                cairo_curve_to(cr, x - 10 * s, y - 8 * s, x + 10 * s, y + 8 * s, x + 20 * s, y);
                setRgb(cr, t.speck, a * 0.8);
                cairo_set_line_width(cr, 3);
                cairo_stroke(cr);
                break;
            case 2:  // falling leaves and rain
                if (i % 3 == 0) {
                    cairo_save(cr);
                    cairo_translate(cr, x, y);
                    cairo_rotate(cr, rng.range(0, 6.28));
                    ellipsePath(cr, 0, 0, 12 * s, 5 * s);
                    cairo_restore(cr);
                    setRgb(cr, t.speck, a);
                    cairo_fill(cr);
                } else {
                    cairo_move_to(cr, x, y);
                    cairo_line_to(cr, x - 8 * s, y + 26 * s);
                    cairo_set_source_rgba(cr, 0.85, 0.9, 1.0, a * 0.4);
                    cairo_set_line_width(cr, 1.5);
                    cairo_stroke(cr);
                }
                break;
            default:  // stars in the night
                starPath(cr, x, y, 3 + 3 * s, rng.range(0, 1));
                setRgb(cr, t.speck, a + 0.2);
                cairo_fill(cr);
                break;
        }
    }
}

void drawTrail(cairo_t* cr, int route, const Theme& t) {
    const Rgb& c = routeBody[route];
    double px[4], py[4];
    for (int h = 0; h < 4; ++h) feetAt(route, h, px[h], py[h]);
    // A soft band in the route's colour from the corner to the pad.
    cairo_move_to(cr, px[0], py[0] - 10);
    for (int h = 1; h < 4; ++h) cairo_line_to(cr, px[h], py[h] - 10);
    setRgb(cr, c, 0.16);
    cairo_set_line_width(cr, 120);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    // Arcs of the hops, dotted.
    for (int h = 0; h < 3; ++h) {
        double mx = (px[h] + px[h + 1]) / 2, my = (py[h] + py[h + 1]) / 2 - 80;
        cairo_move_to(cr, px[h], py[h] - 30);
        cairo_curve_to(cr, mx, my, mx, my, px[h + 1], py[h + 1] - 30);
    }
    static const double dash[2] = {2, 16};
    cairo_set_dash(cr, dash, 2, 0);
    setRgb(cr, mix(c, Rgb{1, 1, 1}, 0.4), 0.7);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    // Stepping stones under the feet of each hop.
    for (int h = 1; h < 3; ++h) {
        ellipsePath(cr, px[h], py[h] + 6, 62, 24);
        setRgb(cr, t.stoneDark, 0.9);
        cairo_fill(cr);
        ellipsePath(cr, px[h], py[h], 60, 21);
        setRgb(cr, t.stone);
        cairo_fill_preserve(cr);
        setRgb(cr, c, 0.9);
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
    }
    // The nest in the corner the creatures come from.
    ellipsePath(cr, px[0], py[0] + 4, 74, 30);
    setRgb(cr, c);
    cairo_fill(cr);
    ellipsePath(cr, px[0], py[0] + 2, 62, 22);
    cairo_set_source_rgb(cr, 0.06, 0.05, 0.08);
    cairo_fill(cr);
}

// The disc of a route's key badge (its key is written over it with the others).
void drawKeyBadge(cairo_t* cr, int route) {
    const double cx = KeyPlaces::badgeCentres[route][0], cy = KeyPlaces::badgeCentres[route][1];
    const double r = KeyPlaces::badgeRadius;
    ellipsePath(cr, cx, cy, r, r);
    cairo_set_source_rgb(cr, 0.99, 0.97, 0.9);
    cairo_fill_preserve(cr);
    setRgb(cr, routeDark[route]);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
}

void drawPond(cairo_t* cr, const Theme& t, int mode) {
    double cx = 1036, cy = 708;
    ellipsePath(cr, cx, cy + 14, 396, 222);
    setRgb(cr, t.stoneDark, 0.9);
    cairo_fill(cr);
    ellipsePath(cr, cx, cy, 388, 212);
    cairo_pattern_t* w = cairo_pattern_create_radial(cx, cy - 40, 30, cx, cy, 400);
    cairo_pattern_add_color_stop_rgb(w, 0, t.water.r, t.water.g, t.water.b);
    cairo_pattern_add_color_stop_rgb(w, 1, t.waterDeep.r, t.waterDeep.g, t.waterDeep.b);
    cairo_set_source(cr, w);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(w);
    setRgb(cr, t.stone);
    cairo_set_line_width(cr, 10);
    cairo_stroke(cr);
    for (int k = 1; k <= 3; ++k) {
        ellipsePath(cr, cx, cy, 90.0 * k, 48.0 * k);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.08);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
    }
    // Beds where the slimes quiver, each in its route's tint.
    for (int r = 0; r < 4; ++r) {
        const AnimFrame& s = slimeFrames[mode][r][0];
        double bx = slimeAnchors[mode][r][0] + s.offsetX + s.width / 2.0;
        double by = slimeAnchors[mode][r][1] + s.offsetY + s.height * 0.62;
        ellipsePath(cr, bx, by, s.width / 2.0 - 30, s.height / 2.0 - 18);
        setRgb(cr, routeBody[r], 0.18);
        cairo_fill(cr);
    }
}

void drawPad(cairo_t* cr, int mode, int route, const Theme& t) {
    const AnimFrame& b = buttonFrames[mode][route][0];
    double x = buttonAnchors[route][0], y = buttonAnchors[route][1];
    double cx = x + b.width / 2.0, cy = y + b.height * 0.6;
    double rx = b.width / 2.0 - 5, ry = b.height * 0.3;
    ellipsePath(cr, cx, cy + 10, rx, ry);
    setRgb(cr, routeDark[route]);
    cairo_fill(cr);
    cairo_rectangle(cr, cx - rx, cy, 2 * rx, 10);
    cairo_fill(cr);
    ellipsePath(cr, cx, cy, rx, ry);
    setRgb(cr, mix(t.stone, routeBody[route], 0.35));
    cairo_fill_preserve(cr);
    setRgb(cr, routeBody[route]);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
}

void drawGaugeSockets(cairo_t* cr, int route) {
    const Rgb& c = routeBody[route];
    for (int i = 0; i < 11; ++i) {
        double bx = gaugeOrigins[route][0] + i * gaugeSpacings[route][0];
        double by = gaugeOrigins[route][1] + i * gaugeSpacings[route][1];
        double cx = bx + 45, cy = by + gaugeSeedCentreY;
        cairo_new_path(cr);
        cairo_move_to(cr, cx, cy - 44);
        cairo_curve_to(cr, cx + 14, cy - 26, cx + 32, cy - 10, cx + 32, cy + 10);
        cairo_curve_to(cr, cx + 32, cy + 30, cx + 17, cy + 40, cx, cy + 40);
        cairo_curve_to(cr, cx - 17, cy + 40, cx - 32, cy + 30, cx - 32, cy + 10);
        cairo_curve_to(cr, cx - 32, cy - 10, cx - 14, cy - 26, cx, cy - 44);
        cairo_close_path(cr);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
        cairo_fill_preserve(cr);
        setRgb(cr, c, 0.45);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
    }
}

}  // namespace

void drawBoardCanvas(cairo_t* cr, int mode, bool keys) {
    int song = songOfMode[mode];
    const Theme& t = themes[song];
    drawBackground(cr, t, song);
    for (int r = 0; r < 4; ++r) drawGaugeSockets(cr, r);
    for (int r = 0; r < 4; ++r) drawTrail(cr, r, t);
    drawPond(cr, t, mode);
    for (int r = 0; r < 4; ++r) drawPad(cr, mode, r, t);
    for (int r = 0; r < 4; ++r) drawKeyBadge(cr, r);
    // The keys last: nothing else is drawn where they stand.
    for (int i = 0; keys && i < KeyPlaces::boardPatchCount; ++i)
        drawKeyLabel(cr, KeyPlaces::boardPatch(mode, i).label);
}

bool drawBoards(const std::string& root, int mode) {
    Canvas canvas(2048, 1536);
    drawBoardCanvas(canvas.cr, mode, false);
    // The key patches of each profile's board, from the canvas without its keys.
    KeyPlaces::Patch patches[KeyPlaces::boardPatchCount];
    for (int i = 0; i < KeyPlaces::boardPatchCount; ++i)
        patches[i] = KeyPlaces::boardPatch(mode, i);
    std::string base = std::to_string(mode) + "_";
    bool ok = true;
    for (const KeyPlaces::BoardCut& cut : KeyPlaces::boardCuts) {
        ok = ok && saveKeyPatches(canvas, patches, KeyPlaces::boardPatchCount, cut.scale,
                                  cut.fromTop, cut.width, cut.height,
                                  root + "/Keys/board_" + base + cut.profileName + ".png");
    }
    for (int i = 0; i < KeyPlaces::boardPatchCount; ++i) drawKeyLabel(canvas.cr, patches[i].label);
    for (const KeyPlaces::BoardCut& cut : KeyPlaces::boardCuts) {
        const std::string file = root + "/Board/plateau_" + base + cut.profileName + ".jpg";
        if (cut.scale == 1.0) {
            ok = ok && saveJpg(canvas, file);
        } else {
            Canvas picture(cut.width, cut.height);
            paintScaled(picture, canvas, cut.scale, cut.fromTop);
            ok = ok && saveJpg(picture, file);
        }
    }
    return ok;
}
