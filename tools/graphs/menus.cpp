// Menu pictures: loading screen, main menu, the two level panels, the pause/results panel,
// the HUD bar, the menu texts and the completion dots, and the tutorial pages.
//
// Texts 1-5, 14 and 16 are drawn by the game with a multiplicative blend, so their empty
// areas are opaque white and their ink only darkens what lies below.

#include <algorithm>
#include <cmath>
#include <string>

#include "core/songs.h"
#include "generator.h"
#include "paint.h"
#include "ui/calibration_layout.h"
#include "ui/options_layout.h"

const char* const songTitles[4] = {"Moss Parade", "Tide Lanterns", "Copper Rain", "Night Orchard"};
const char* const songMoods[4] = {"a brisk march through the meadow",
                                  "lanterns bobbing on the evening tide",
                                  "warm rain on an autumn roof", "a slow walk under the moon"};

namespace {

const Rgb kInk = {0.23, 0.16, 0.29};
const Rgb kPaper = {0.99, 0.96, 0.89};
const Rgb kWhite = {1, 1, 1};

std::string fmt1(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", v);
    std::string s = buf;
    if (s.size() > 2 && s.substr(s.size() - 2) == ".0") s.resize(s.size() - 2);
    return s;
}

// Writes a text scaled down until it fits the given width.
double fitText(cairo_t* cr, const std::string& text, double x, double y, double maxWidth,
               TextStyle style) {
    double w, h;
    for (int i = 0; i < 40; ++i) {
        measureText(cr, text, style, w, h);
        if (w <= maxWidth) break;
        style.size *= 0.95;
    }
    return drawText(cr, text, x, y, style);
}

void paintWhite(Canvas& c) {
    cairo_set_source_rgb(c.cr, 1, 1, 1);
    cairo_paint(c.cr);
}

void creatureAt(cairo_t* cr, int route, double x, double y, double scale, int eyes,
                bool faceRight) {
    Pose p;
    p.scale = scale;
    p.eyes = eyes;
    p.facing = !faceRight;
    p.look = faceRight ? 1 : 0;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    drawPose(cr, route, p);
    cairo_restore(cr);
}

void paperBackground(cairo_t* cr, int w, int h, const Rgb& base, uint32_t seed) {
    setRgb(cr, base);
    cairo_paint(cr);
    Lcg rng(seed);
    for (int i = 0; i < 260; ++i) {
        double x = rng.range(0, w), y = rng.range(0, h), r = rng.range(20, 90);
        ellipsePath(cr, x, y, r, r * 0.7);
        cairo_set_source_rgba(cr, 0.6, 0.5, 0.3, 0.025);
        cairo_fill(cr);
    }
}

void chevron(cairo_t* cr, double x, double y, double size, double dir, const Rgb& c, double alpha) {
    cairo_move_to(cr, x - dir * size * 0.4, y - size);
    cairo_line_to(cr, x + dir * size * 0.6, y);
    cairo_line_to(cr, x - dir * size * 0.4, y + size);
    setRgb(cr, c, alpha);
    cairo_set_line_width(cr, size * 0.35);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

void logo(cairo_t* cr, double cx, double top, double size) {
    TextStyle ts;
    ts.size = size;
    ts.bold = true;
    ts.align = AlignCentre;
    double w, h;
    measureText(cr, "Mirevo", ts, w, h);
    // Each letter pair in a route colour, with a dark outline.
    static const char* letters[6] = {"M", "i", "r", "e", "v", "o"};
    double x = cx - w / 2;
    for (int i = 0; i < 6; ++i) {
        TextStyle ls = ts;
        ls.align = AlignLeft;
        double lw, lh;
        measureText(cr, letters[i], ls, lw, lh);
        ls.colour = routeDark[i % 4];
        drawText(cr, letters[i], x + 5, top + 6, ls);
        ls.colour = routeBody[i % 4];
        drawText(cr, letters[i], x, top, ls);
        x += lw;
    }
}

}  // namespace

bool drawMenuBackgrounds(const std::string& root, int which) {
    Canvas c(2048, 1536);
    cairo_t* cr = c.cr;
    std::string name;
    if (which == 0) {
        name = "loading.jpg";
        cairo_pattern_t* bg = cairo_pattern_create_radial(1024, 700, 50, 1024, 768, 1300);
        cairo_pattern_add_color_stop_rgb(bg, 0, 0.22, 0.18, 0.36);
        cairo_pattern_add_color_stop_rgb(bg, 1, 0.06, 0.05, 0.12);
        cairo_set_source(cr, bg);
        cairo_paint(cr);
        cairo_pattern_destroy(bg);
        Lcg rng(42);
        for (int i = 0; i < 300; ++i) {
            starPath(cr, rng.range(0, 2048), rng.range(0, 1536), rng.range(2, 6), rng.next());
            cairo_set_source_rgba(cr, 1, 0.95, 0.8, rng.range(0.2, 0.7));
            cairo_fill(cr);
        }
        logo(cr, 1024, 430, 240);
        for (int r = 0; r < 4; ++r) {
            double x = 700 + r * 216;
            double hop = (r % 2) ? 40 : 0;
            ellipsePath(cr, x, 900, 62, 18);
            cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
            cairo_fill(cr);
            creatureAt(cr, r, x, 896 - hop, 1.6, r == 2 ? EyesHappy : EyesOpen, true);
        }
        TextStyle ts;
        ts.size = 56;
        ts.colour = {0.95, 0.92, 0.85};
        ts.align = AlignCentre;
        drawText(cr, "Loading the board\u2026", 1024, 1010, ts);
        ts.size = 34;
        ts.alpha = 0.7;
        drawText(cr, "E  P  L  D \u2014 one key for each corner", 1024, 1100, ts);
    } else if (which == 1) {
        name = "centre.jpg";
        paperBackground(cr, 2048, 1536, kPaper, 7);
        // The four directions: the window is cut along its diagonals.
        struct Sector {
            double ax, ay, bx, by;
            Rgb tint;
        };
        const Sector sectors[4] = {{0, 0, 2048, 0, {0.25, 0.18, 0.34}},
                                   {2048, 0, 2048, 1536, {1.0, 0.90, 0.78}},
                                   {2048, 1536, 0, 1536, {0.86, 0.93, 1.0}},
                                   {0, 1536, 0, 0, {0.88, 0.97, 0.84}}};
        for (const Sector& s : sectors) {
            cairo_move_to(cr, 1024, 768);
            cairo_line_to(cr, s.ax, s.ay);
            cairo_line_to(cr, s.bx, s.by);
            cairo_close_path(cr);
            setRgb(cr, s.tint);
            cairo_fill(cr);
        }
        // Stars in the dark top sector behind the title.
        Lcg rng(11);
        for (int i = 0; i < 90; ++i) {
            double x = rng.range(0, 2048), y = rng.range(0, 700);
            if (y > 0.75 * x - 30 || y > 1536 - 0.75 * x - 30 + 0 * x) continue;
            if (y > 1536 - 0.75 * x - 30) continue;
            starPath(cr, x, y, rng.range(3, 8), rng.next());
            cairo_set_source_rgba(cr, 1, 0.95, 0.75, rng.range(0.3, 0.8));
            cairo_fill(cr);
        }
        // Soft diagonals.
        cairo_move_to(cr, 0, 0);
        cairo_line_to(cr, 2048, 1536);
        cairo_move_to(cr, 2048, 0);
        cairo_line_to(cr, 0, 1536);
        cairo_set_source_rgba(cr, 0.23, 0.16, 0.29, 0.25);
        cairo_set_line_width(cr, 6);
        cairo_stroke(cr);
        // The emblem in the centre: four seeds, one per route, on a paper disc.
        ellipsePath(cr, 1024, 768, 200, 200);
        setRgb(cr, kPaper);
        cairo_fill(cr);
        for (int r = 0; r < 4; ++r) {
            static const double ang[4] = {-0.75 * kPi, -0.25 * kPi, 0.25 * kPi, 0.75 * kPi};
            double x = 1024 + 95 * std::cos(ang[r]), y = 768 + 95 * std::sin(ang[r]) + 20;
            drawGaugeSeed(cr, r, 10, 2, x, y);
        }
        ellipsePath(cr, 1024, 768, 200, 200);
        cairo_set_source_rgba(cr, 0.23, 0.16, 0.29, 0.5);
        cairo_set_line_width(cr, 5);
        cairo_stroke(cr);
        // Arrows toward the three choices.
        chevron(cr, 1290, 768, 40, 1, routeBody[0], 0.8);
        chevron(cr, 758, 768, 40, -1, routeBody[3], 0.8);
        cairo_save(cr);
        cairo_translate(cr, 1024, 1030);
        cairo_rotate(cr, kPi / 2);
        chevron(cr, 0, 0, 40, 1, routeBody[1], 0.8);
        cairo_restore(cr);
    } else {
        bool scored = which == 2;
        name = scored ? "side1.jpg" : "side3.jpg";
        paperBackground(cr, 2048, 1536, kPaper, scored ? 21 : 23);
        // A border of the panel's colour on the side it came from, with creatures.
        const Rgb edge = scored ? routeBody[0] : routeBody[3];
        double ex = scored ? 1930 : 0;
        cairo_rectangle(cr, ex, 0, 118, 1536);
        setRgb(cr, mix(edge, kWhite, 0.35));
        cairo_fill(cr);
        for (int i = 0; i < 12; ++i) {
            drawGaugeSeed(cr, i % 4, i, 2, ex + 59, 70 + i * 128);
        }
        cairo_rectangle(cr, 40, 40, 1968, 1456);
        cairo_set_source_rgba(cr, 0.23, 0.16, 0.29, 0.12);
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
    }
    return saveJpg(c, root + "/Menu/fondsNus/" + name);
}

bool drawPausePanel(const std::string& root) {
    Canvas c(2048, 1000);
    cairo_t* cr = c.cr;
    // Shadow and card.
    roundedRect(cr, 150, -60, 1760, 1040, 70);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_fill(cr);
    roundedRect(cr, 140, -70, 1768, 1030, 70);
    setRgb(cr, kPaper);
    cairo_fill_preserve(cr);
    setRgb(cr, kInk);
    cairo_set_line_width(cr, 8);
    cairo_stroke(cr);
    // The two buttons, inside the rectangles the game tests.
    struct Btn {
        double x0, x1;
        Rgb c;
        int icon;
    };
    // The left label is centred at 432 (its picture starts at 347), so the face leans right.
    const Btn btns[2] = {{262, 521, routeBody[0], 0}, {1524, 1868, routeBody[3], 1}};
    for (const Btn& b : btns) {
        roundedRect(cr, b.x0 + 8, 173, b.x1 - b.x0 - 16, 356, 40);
        setRgb(cr, mix(b.c, kWhite, 0.25));
        cairo_fill_preserve(cr);
        setRgb(cr, kInk);
        cairo_set_line_width(cr, 6);
        cairo_stroke(cr);
        double cx = b.icon == 0 ? 432 : (b.x0 + b.x1) / 2, cy = 420;
        if (b.icon == 0) {
            // Back to the list: an arrow pointing left.
            cairo_move_to(cr, cx + 50, cy);
            cairo_line_to(cr, cx - 40, cy);
            cairo_move_to(cr, cx - 5, cy - 40);
            cairo_line_to(cr, cx - 45, cy);
            cairo_line_to(cr, cx - 5, cy + 40);
        } else {
            cairo_move_to(cr, cx - 30, cy - 50);
            cairo_line_to(cr, cx + 50, cy);
            cairo_line_to(cr, cx - 30, cy + 50);
            cairo_close_path(cr);
        }
        setRgb(cr, kInk);
        cairo_set_line_width(cr, 16);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        if (b.icon == 1)
            cairo_fill(cr);
        else
            cairo_stroke(cr);
    }
    // A light field under the record banner and the result.
    roundedRect(cr, 600, 380, 848, 430, 40);
    setRgb(cr, kWhite);
    cairo_fill(cr);
    for (int r = 0; r < 4; ++r) creatureAt(cr, r, 720 + r * 200, 935, 1.0, EyesHappy, r < 2);
    return savePng(c, root + "/Menu/fondsNus/pause.png");
}

bool drawScoreBar(const std::string& root) {
    Canvas c(760, 190);
    cairo_t* cr = c.cr;
    roundedRect(cr, 0, 0, 760, 240, 60);
    cairo_set_source_rgba(cr, 0.12, 0.09, 0.16, 0.88);
    cairo_fill(cr);
    for (int r = 0; r < 4; ++r) {
        cairo_rectangle(cr, 80 + r * 150, 10, 150, 8);
        setRgb(cr, routeBody[r]);
        cairo_fill(cr);
    }
    return savePng(c, root + "/Menu/fondsNus/score.png");
}

bool drawMenuText(const std::string& root, int k) {
    std::string path = root + "/Menu/texts/" + std::to_string(k) + ".png";
    TextStyle big;
    big.bold = true;
    big.colour = kInk;
    big.align = AlignCentre;
    TextStyle small;
    small.colour = kInk;
    small.align = AlignCentre;
    switch (k) {
        case 0: {  // the title, drawn normally over the dark top of the menu
            Canvas c(778, 330);
            logo(c.cr, 389, 10, 190);
            for (int r = 0; r < 4; ++r)
                creatureAt(c.cr, r, 170 + r * 146, 318, 0.9, EyesOpen, true);
            return savePng(c, path);
        }
        case 1:
        case 3: {  // Play (right) and Explore (left)
            Canvas c(420, 210);
            paintWhite(c);
            bool play = k == 1;
            big.size = 96;
            big.colour = play ? routeDark[0] : routeDark[3];
            drawText(c.cr, play ? "Play" : "Explore", 210, 10, big);
            small.size = 34;
            drawText(c.cr, play ? "the four songs" : "endless plays", 210, 140, small);
            return savePng(c, path);
        }
        case 2: {
            Canvas c(448, 190);
            paintWhite(c);
            big.size = 84;
            big.colour = routeDark[1];
            fitText(c.cr, "Making of", 224, 10, 430, big);
            small.size = 34;
            drawText(c.cr, "how the game is made", 224, 128, small);
            return savePng(c, path);
        }
        case 4:
        case 5: {  // the two song lists
            bool scored = k == 4;
            int w = scored ? 1600 : 1500;
            Canvas c(w, scored ? 1290 : 1264);
            cairo_t* cr = c.cr;
            paintWhite(c);
            big.align = AlignLeft;
            big.size = 96;
            big.colour = scored ? routeDark[0] : routeDark[3];
            drawText(cr, scored ? "Play a song" : "Explore a song", 40, 30, big);
            small.align = AlignLeft;
            small.size = 38;
            small.wrap = w - 80;
            drawText(cr,
                     scored ? "Catch the creatures when they land on their pads. Good catches "
                              "fill the four gauges and bring in the music; fill them all to "
                              "reach the final stage."
                            : "A song opens here once it has been completed in a scored play. "
                              "Then it can be explored without end: every route plays random "
                              "layers, and the play lasts until a gauge runs dry.",
                     40, 170, small);
            small.wrap = -1;
            // The four creatures, between the text and the list, and their keys at the end.
            for (int r = 0; r < 4; ++r) {
                double x = 120 + r * 170, y = 500;
                creatureAt(cr, r, x, y, 1.0, scored ? EyesOpen : EyesHappy, true);
            }
            // Rows: their limits are those of the game's hit tests, in panel pixels.
            static const double scoredRows[6] = {629, 763, 889, 1008, 1141, 1269};
            static const double exploreRows[5] = {704, 861, 981, 1122, 1244};
            const double* rows = scored ? scoredRows : exploreRows;
            int rowCount = scored ? 5 : 4;
            TextStyle head;
            head.size = 30;
            head.bold = true;
            head.colour = {0.5, 0.45, 0.55};
            if (scored) {
                drawText(cr, "SONG", 110, 585, head);
                drawText(cr, "COMPLETION", 533, 585, head);
                drawText(cr, "BEST SCORE", 1300, 585, head);
            } else {
                drawText(cr, "BEST TIME", 30, 655, head);
                drawText(cr, "SONG", 720, 655, head);
            }
            for (int i = 0; i <= rowCount; ++i) {
                cairo_move_to(cr, 20, rows[i]);
                cairo_line_to(cr, w - 20, rows[i]);
                cairo_set_source_rgb(cr, 0.82, 0.78, 0.84);
                cairo_set_line_width(cr, 3);
                cairo_stroke(cr);
            }
            for (int i = 0; i < rowCount; ++i) {
                double top = rows[i], bottom = rows[i + 1];
                double mid = (top + bottom) / 2;
                int song = scored ? i - 1 : i;
                TextStyle title;
                title.bold = true;
                title.size = 52;
                title.colour = kInk;
                TextStyle sub;
                sub.size = 28;
                sub.colour = {0.45, 0.40, 0.50};
                TextStyle key = title;
                key.size = 40;
                key.colour = {0.55, 0.5, 0.6};
                if (scored) {
                    drawText(cr, std::to_string(i), 40, mid - 26, key);
                    if (song < 0) {
                        drawText(cr, "Tutorial", 110, mid - 50, title);
                        drawText(cr, "learn the catch on the real board, one corner at a time", 110,
                                 mid + 14, sub);
                        continue;
                    }
                    fitText(cr, songTitles[song], 110, mid - 50, 410, title);
                    drawText(cr, fmt1(songBpm[song]) + " bpm", 110, mid + 14, sub);
                    // Track of the completion dots (drawn over it by the game).
                    double dy = (i == 1 ? 816 : i == 2 ? 938 : i == 3 ? 1060 : 1181);
                    roundedRect(cr, 529, dy - 4, 428, 52, 26);
                    cairo_set_source_rgb(cr, 0.93, 0.91, 0.94);
                    cairo_fill_preserve(cr);
                    cairo_set_source_rgb(cr, 0.75, 0.7, 0.78);
                    cairo_set_line_width(cr, 2);
                    cairo_stroke(cr);
                    TextStyle best = sub;
                    best.size = 30;
                    drawText(cr, "best", 1300, mid - 18, best);
                } else {
                    // The best time is written by the game at x 100; the cursor hops at 604.
                    fitText(cr, songTitles[song], 720, mid - 48, 700, title);
                    drawText(cr, fmt1(songBpm[song]) + " bpm \u00b7 " + songMoods[song], 720,
                             mid + 12, sub);
                }
            }
            // The keys last, nothing else drawn where they stand: first the key patches.
            KeyPlaces::Patch patches[KeyPlaces::songListPatchCount];
            for (int r = 0; r < 4; ++r) patches[r] = KeyPlaces::songListPatch(r);
            if (!saveKeyPatches(c, patches, KeyPlaces::songListPatchCount, 1.0, 0, c.width,
                                c.height, root + "/Keys/text" + std::to_string(k) + ".png"))
                return false;
            for (const KeyPlaces::Patch& patch : patches) drawKeyLabel(cr, patch.label);
            return savePng(c, path);
        }
        case 6:
        case 7: {  // the back arrows at the panel edges
            Canvas c(200, 320);
            bool right = k == 6;
            chevron(c.cr, 100, 130, 70, right ? 1 : -1, kInk, 0.85);
            small.size = 34;
            small.bold = true;
            drawText(c.cr, "back", 100, 240, small);
            return savePng(c, path);
        }
        default:
            break;
    }
    // Pause and results labels: each picture is as wide as twice the distance from its
    // table position to the centre of its button or of the panel, so it stays centred.
    struct Label {
        int width, height;
        const char* text;
        double size;
        bool multiply;
        Rgb colour;
    };
    static const Label labels[17] = {{},
                                     {},
                                     {},
                                     {},
                                     {},
                                     {},
                                     {},
                                     {},
                                     {170, 100, "Quit", 58, false, {0.23, 0.16, 0.29}},
                                     {336, 130, "Paused", 84, false, {0.23, 0.16, 0.29}},
                                     {440, 100, "Resume", 64, false, {0.23, 0.16, 0.29}},
                                     {170, 100, "Back", 58, false, {0.23, 0.16, 0.29}},
                                     {732, 130, "Not finished yet", 84, false, {0.23, 0.16, 0.29}},
                                     {440, 100, "Retry", 64, false, {0.23, 0.16, 0.29}},
                                     {698, 150, "New record!", 96, true, {0.70, 0.22, 0.10}},
                                     {478, 130, "Completed!", 84, false, {0.10, 0.45, 0.15}},
                                     {716, 190, "First completion!", 80, true, {0.10, 0.40, 0.55}}};
    const Label& l = labels[k];
    Canvas c(l.width, l.height);
    if (l.multiply) paintWhite(c);
    big.size = l.size;
    big.colour = l.colour;
    double h = fitText(c.cr, l.text, l.width / 2.0, 8, l.width - 16, big);
    if (k == 16) {
        small.size = 36;
        small.colour = l.colour;
        fitText(c.cr, "Explore is now open for this song", l.width / 2.0, 8 + h + 4, l.width - 16,
                small);
    }
    return savePng(c, path);
}

bool drawDots(const std::string& root) {
    // Eleven seeds in the four colours; the game shows the left part by completion.
    Canvas c(420, 44);
    for (int i = 0; i < 11; ++i) {
        double cx = 20 + i * 38;
        ellipsePath(c.cr, cx, 22, 16, 16);
        setRgb(c.cr, routeBody[i % 4]);
        cairo_fill_preserve(c.cr);
        setRgb(c.cr, routeDark[i % 4]);
        cairo_set_line_width(c.cr, 3);
        cairo_stroke(c.cr);
        ellipsePath(c.cr, cx - 5, 16, 5, 4);
        cairo_set_source_rgba(c.cr, 1, 1, 1, 0.7);
        cairo_fill(c.cr);
    }
    return savePng(c, root + "/Menu/texts/dots.png");
}

bool drawTutorialPage(const std::string& root, int index) {
    // Pages 0-4 stack: each carries its own line lower down on a transparent page.
    const int w = 620, h = 500;
    cairo_t* cr = nullptr;
    struct Line {
        double top;
        const char* text;
        int route;  // badge colour, -1 for none
    };
    // Pages 1 to 3 name keys: their lines are those of KeyPlaces::tutorialKeyPages.
    static const Line lines[8] = {
        {10,
         "Welcome to <b>Mirevo</b>! Catch each creature just as it lands on its pad.\n"
         "<b>Press any key</b> to begin.",
         -1},
        {},
        {},
        {},
        {390, "Well done! <b>The real play starts with the next key.</b>", -1},
        {380, "<b>Too early!</b> Wait until it stands on its pad.", -1},
        {380, "<b>Too late!</b> Press as soon as it lands.", -1},
        {10, "<b>Final stage!</b> Keep catching while the countdown runs.", -1}};
    Line l = lines[index];
    std::string text = l.text ? l.text : "";
    const KeyPlaces::TutorialKeyPage* keyPage = KeyPlaces::tutorialKeyPage(index);
    if (keyPage) {
        l.top = keyPage->bandTop;
        l.route = keyPage->badgeRoute;
        for (int i = 0; i < keyPage->partCount; ++i) {
            const KeyPlaces::SentencePart& part = keyPage->parts[i];
            text += part.text ? std::string(part.text)
                              : std::string("<b>") + KeyPlaces::drawnKeys[part.route] + "</b>";
        }
    }
    int canvasH = index == 7 ? 110 : h;
    Canvas page(w, canvasH);
    cr = page.cr;
    double bandH = index == 0 ? 104 : 84;
    roundedRect(cr, 10, l.top, w - 20, bandH, 30);
    bool hint = index == 5 || index == 6;
    if (hint)
        cairo_set_source_rgba(cr, 0.55, 0.12, 0.12, 0.88);
    else
        cairo_set_source_rgba(cr, 0.12, 0.09, 0.16, 0.85);
    cairo_fill(cr);
    // The badge's disc left of the text (the text keeps to the right of it).
    if (l.route >= 0) {
        ellipsePath(cr, 62, l.top + bandH / 2, 28, 28);
        setRgb(cr, routeBody[l.route]);
        cairo_fill(cr);
    }
    // The key patch: the band without its text and the badge's letter.
    KeyPlaces::Patch patch{};
    if (keyPage) {
        patch = KeyPlaces::tutorialPatch(*keyPage);
        if (!saveKeyPatches(page, &patch, 1, 1.0, 0, w, canvasH,
                            root + "/Keys/tut" + std::to_string(index) + ".png"))
            return false;
    }
    TextStyle ts;
    ts.size = index == 0 ? 29 : 31;
    ts.colour = {0.97, 0.95, 0.9};
    ts.align = AlignCentre;
    ts.wrap = w - 120;
    double tw, th;
    measureText(cr, text, ts, tw, th);
    double textX = l.route >= 0 ? w / 2.0 + 30 : w / 2.0;
    drawText(cr, text, textX, l.top + (bandH - th) / 2, ts);
    if (keyPage) drawKeyLabel(cr, patch.label);
    return savePng(page, root + "/Tuto/tut" + std::to_string(index) + ".png");
}

// The options panel of one display profile: a paper card on the night sky of the main
// menu's top direction, with its rows' labels, the empty slider track and the choice arrows
// (the game writes the values and the hint line at the bottom, and draws the parts sheet
// over it). The card is drawn in
// canvas units scaled to the profile's reference width, at the places of OptionsLayout.
bool drawOptionsPanel(const std::string& root, int profile) {
    namespace L = OptionsLayout;
    static const char* const names[3] = {"1600_900", "1600_1000", "2048_1536"};
    static const int sizes[3][2] = {{1600, 900}, {1600, 1000}, {2048, 1536}};
    const int w = sizes[profile][0], h = sizes[profile][1];
    const double k = w / 2048.0;
    Canvas c(w, h);
    cairo_t* cr = c.cr;
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, h);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.16, 0.11, 0.24);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.30, 0.22, 0.40);
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);
    Lcg rng(31);
    for (int i = 0; i < 160; ++i) {
        starPath(cr, rng.range(0, w), rng.range(0, h), rng.range(2, 7) * k, rng.next());
        cairo_set_source_rgba(cr, 1, 0.95, 0.75, rng.range(0.3, 0.8));
        cairo_fill(cr);
    }
    cairo_save(cr);
    cairo_translate(cr, (w - L::cardWidth * k) / 2, (h - L::cardHeight * k) / 2);
    cairo_scale(cr, k, k);
    // Shadow and card.
    roundedRect(cr, 14, 18, L::cardWidth, L::cardHeight, 60);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_fill(cr);
    roundedRect(cr, 0, 0, L::cardWidth, L::cardHeight, 60);
    setRgb(cr, kPaper);
    cairo_fill_preserve(cr);
    setRgb(cr, kInk);
    cairo_set_line_width(cr, 8);
    cairo_stroke(cr);
    // Title, with the four seeds of the routes.
    TextStyle title;
    title.size = 96;
    title.bold = true;
    title.colour = kInk;
    title.align = AlignCentre;
    drawText(cr, "Options", L::cardWidth / 2, 50, title);
    for (int r = 0; r < 4; ++r) drawGaugeSeed(cr, r, 10, 2, 1080 + r * 70, 118);
    // The back arrow, pointing up where the panel goes.
    roundedRect(cr, L::backLeft, L::backTop, L::backSize, L::backSize, 30);
    setRgb(cr, mix(routeBody[1], kWhite, 0.55));
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, L::backLeft + L::backSize / 2, L::backTop + 62);
    cairo_rotate(cr, -kPi / 2);
    chevron(cr, 0, 0, 36, 1, kInk, 0.85);
    cairo_restore(cr);
    TextStyle small;
    small.size = 32;
    small.bold = true;
    small.colour = kInk;
    small.align = AlignCentre;
    drawText(cr, "back", L::backLeft + L::backSize / 2, L::backTop + 96, small);
    // The rows: volume, display, frame pacing, route keys, audio offset, input offset and
    // calibration, each with its label, a note below it and its value's place.
    static const char* const labels[L::rowCount] = {"Volume",     "Display",      "Frame pacing",
                                                    "Route keys", "Audio offset", "Input offset",
                                                    "Calibration"};
    static const char* const notes[L::rowCount] = {
        "Left / Right by 5, or drag the slider", "a window or the whole screen",
        "how the frames follow the screen",      "Return on a key, then press the new one",
        "the music earlier (+) or later (-)",    "a press judged earlier (+) or later (-)",
        "measure both offsets by tapping"};
    const auto valueBox = [cr](double left, double top, double width, double height) {
        roundedRect(cr, left, top, width, height, 34);
        setRgb(cr, kWhite);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 0.75, 0.7, 0.78);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
    };
    for (int row = 0; row < L::rowCount; ++row) {
        const double top = L::rowTop(row);
        const double mid = top + L::rowHeight / 2;
        drawGaugeSeed(cr, row % 4, 9, 2, L::labelLeft - 50, mid + 8);
        TextStyle label;
        label.size = 50;
        label.bold = true;
        label.colour = kInk;
        fitText(cr, labels[row], L::labelLeft, mid - 46, L::valueLeft - L::labelLeft - 20, label);
        TextStyle note;
        note.size = 26;
        note.colour = {0.45, 0.40, 0.50};
        fitText(cr, notes[row], L::labelLeft, mid + 12, L::valueLeft - L::labelLeft - 20, note);
        if (row == 0) {
            roundedRect(cr, L::trackLeft, mid - L::trackHeight / 2, L::trackWidth, L::trackHeight,
                        L::trackHeight / 2);
            cairo_set_source_rgb(cr, 0.93, 0.91, 0.94);
            cairo_fill_preserve(cr);
            cairo_set_source_rgb(cr, 0.75, 0.7, 0.78);
            cairo_set_line_width(cr, 3);
            cairo_stroke(cr);
        } else if (row == 3) {
            // Four key slots, each edged in its route's colour, and the reset button.
            for (int slot = 0; slot < 4; ++slot) {
                valueBox(L::keySlotX(slot), mid - L::keySlotHeight / 2, L::keySlotWidth,
                         L::keySlotHeight);
                cairo_move_to(cr, L::keySlotX(slot) + 24, mid + L::keySlotHeight / 2 - 10);
                cairo_line_to(cr, L::keySlotX(slot) + L::keySlotWidth - 24,
                              mid + L::keySlotHeight / 2 - 10);
                setRgb(cr, routeBody[slot]);
                cairo_set_line_width(cr, 6);
                cairo_stroke(cr);
            }
            roundedRect(cr, L::resetLeft, mid - L::keySlotHeight / 2, L::resetWidth,
                        L::keySlotHeight, 34);
            setRgb(cr, mix(routeBody[1], kWhite, 0.55));
            cairo_fill(cr);
        } else if (row == 6) {
            roundedRect(cr, L::buttonLeft, mid - L::buttonHeight / 2, L::buttonWidth,
                        L::buttonHeight, 40);
            setRgb(cr, mix(routeBody[1], kWhite, 0.55));
            cairo_fill_preserve(cr);
            setRgb(cr, routeDark[1], 0.7);
            cairo_set_line_width(cr, 4);
            cairo_stroke(cr);
        } else {
            valueBox(L::valueLeft, mid - 45, L::valueRight - L::valueLeft, 90);
            chevron(cr, L::valueLeft + 40, mid, 20, -1, routeDark[row % 4], 0.85);
            chevron(cr, L::valueRight - 40, mid, 20, 1, routeDark[row % 4], 0.85);
        }
        if (row + 1 < L::rowCount) {
            const double y = top + L::rowHeight + (L::rowPitch - L::rowHeight) / 2;
            cairo_move_to(cr, L::rowsLeft + 20, y);
            cairo_line_to(cr, L::rowsLeft + L::rowWidth - 20, y);
            cairo_set_source_rgb(cr, 0.82, 0.78, 0.84);
            cairo_set_line_width(cr, 3);
            cairo_stroke(cr);
        }
    }
    cairo_restore(cr);
    if (!savePng(c, root + "/Menu/options/panel_" + names[profile] + ".png")) return false;

    // The parts sheet: the chosen row's band, the filled track, the knob.
    Canvas parts(L::sheetPixels(L::sheetWidth, float(w)), L::sheetPixels(L::sheetHeight, float(w)));
    cr = parts.cr;
    cairo_scale(cr, k, k);
    roundedRect(cr, 2, L::bandTop + 2, L::rowWidth - 4, L::rowHeight - 4, 36);
    setRgb(cr, routeBody[1], 0.22);
    cairo_fill_preserve(cr);
    setRgb(cr, routeDark[1], 0.7);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, 0, L::trackWidth, 0);
    cairo_pattern_add_color_stop_rgb(fill, 0, routeBody[3].r, routeBody[3].g, routeBody[3].b);
    cairo_pattern_add_color_stop_rgb(fill, 1, routeBody[0].r, routeBody[0].g, routeBody[0].b);
    roundedRect(cr, 0, L::fillTop, L::trackWidth, L::trackHeight, L::trackHeight / 2);
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);
    roundedRect(cr, L::knobLeft + 4, L::fillTop + 4, L::knobWidth - 8, L::knobHeight - 8, 16);
    setRgb(cr, kPaper);
    cairo_fill_preserve(cr);
    setRgb(cr, kInk);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
    for (int i = -1; i <= 1; ++i) {
        cairo_move_to(cr, L::knobLeft + 20, L::fillTop + L::knobHeight / 2 + i * 14);
        cairo_line_to(cr, L::knobLeft + L::knobWidth - 20, L::fillTop + L::knobHeight / 2 + i * 14);
    }
    setRgb(cr, kInk, 0.6);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    return savePng(parts, root + "/Menu/options/parts_" + names[profile] + ".png");
}

// The calibration pages' card of one display profile, drawn to cover the options panel's card
// (the game draws it there): the title, the options panel's back arrow and the stage where the
// creature hops and the results are written; the game writes the texts. Its parts sheet holds
// the results page's three buttons, the ring around the chosen one and the creature's spot.
bool drawCalibrationCard(const std::string& root, int profile) {
    namespace L = OptionsLayout;
    namespace C = CalibrationLayout;
    static const char* const names[3] = {"1600_900", "1600_1000", "2048_1536"};
    static const int widths[3] = {1600, 1600, 2048};
    const int w = widths[profile];
    const double k = w / 2048.0;
    Canvas c(L::sheetPixels(L::cardWidth, float(w)), L::sheetPixels(L::cardHeight, float(w)));
    cairo_t* cr = c.cr;
    cairo_scale(cr, k, k);
    roundedRect(cr, 4, 4, L::cardWidth - 8, L::cardHeight - 8, 58);
    setRgb(cr, kPaper);
    cairo_fill_preserve(cr);
    setRgb(cr, kInk);
    cairo_set_line_width(cr, 8);
    cairo_stroke(cr);
    TextStyle title;
    title.size = 96;
    title.bold = true;
    title.colour = kInk;
    title.align = AlignCentre;
    drawText(cr, "Calibration", L::cardWidth / 2, 50, title);
    for (int r = 0; r < 4; ++r) drawGaugeSeed(cr, r, 10, 2, 1130 + r * 70, 118);
    roundedRect(cr, L::backLeft, L::backTop, L::backSize, L::backSize, 30);
    setRgb(cr, mix(routeBody[1], kWhite, 0.55));
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, L::backLeft + L::backSize / 2, L::backTop + 62);
    cairo_rotate(cr, -kPi / 2);
    chevron(cr, 0, 0, 36, 1, kInk, 0.85);
    cairo_restore(cr);
    TextStyle small;
    small.size = 32;
    small.bold = true;
    small.colour = kInk;
    small.align = AlignCentre;
    drawText(cr, "back", L::backLeft + L::backSize / 2, L::backTop + 96, small);
    // The stage, and a faint line of grass along its foot.
    roundedRect(cr, C::stageLeft, C::stageTop, C::stageWidth, C::stageHeight, 40);
    setRgb(cr, kWhite);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.75, 0.7, 0.78);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    for (int i = 0; i < 18; ++i) {
        const double x = C::stageLeft + 60 + i * 58.0;
        const double foot = C::stageTop + C::stageHeight - 22;
        cairo_move_to(cr, x, foot);
        cairo_line_to(cr, x - 6, foot - 16 - (i % 3) * 5);
        cairo_move_to(cr, x + 8, foot);
        cairo_line_to(cr, x + 12, foot - 12 - (i % 2) * 6);
    }
    setRgb(cr, routeBody[3], 0.35);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    if (!savePng(c, root + "/Menu/options/calibration_" + names[profile] + ".png")) return false;

    Canvas parts(L::sheetPixels(C::sheetWidth, float(w)), L::sheetPixels(C::sheetHeight, float(w)));
    cr = parts.cr;
    cairo_scale(cr, k, k);
    static const char* const words[3] = {"Apply", "Retry", "Back"};
    static const int colours[3] = {3, 1, 0};  // the routes whose colours the buttons wear
    for (int b = 0; b < C::buttonCount; ++b) {
        const double x = C::sheetButtonLeft(b);
        roundedRect(cr, x + 4, 4, C::buttonWidth - 8, C::buttonHeight - 8, 36);
        setRgb(cr, mix(routeBody[colours[b]], kWhite, 0.35));
        cairo_fill_preserve(cr);
        setRgb(cr, kInk);
        cairo_set_line_width(cr, 6);
        cairo_stroke(cr);
        TextStyle word;
        word.size = 54;
        word.bold = true;
        word.colour = kInk;
        word.align = AlignCentre;
        drawText(cr, words[b], x + C::buttonWidth / 2, 24, word);
    }
    roundedRect(cr, C::ringLeft + 5, 5, C::ringWidth - 10, C::ringHeight - 10, 46);
    setRgb(cr, routeDark[1], 0.9);
    cairo_set_line_width(cr, 9);
    cairo_stroke(cr);
    // The spot, a catch pad of the board: sand inside the blue route's rim.
    const double sx = C::spotLeft + C::spotWidth / 2, sy = C::spotTop + C::spotHeight / 2;
    ellipsePath(cr, sx, sy + 6, C::spotWidth / 2 - 8, C::spotHeight / 2 - 10);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.18);
    cairo_fill(cr);
    ellipsePath(cr, sx, sy, C::spotWidth / 2 - 10, C::spotHeight / 2 - 14);
    cairo_set_source_rgb(cr, 0.90, 0.86, 0.74);
    cairo_fill_preserve(cr);
    setRgb(cr, routeBody[1]);
    cairo_set_line_width(cr, 7);
    cairo_stroke(cr);
    return savePng(parts, root + "/Menu/options/calibration_parts_" + names[profile] + ".png");
}
