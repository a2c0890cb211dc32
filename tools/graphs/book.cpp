// The making-of picture book: nineteen pages about how the game is made. Everything on a
// page stays inside the band that a 16:9 screen shows (rows 192 to 1344).

#include <cmath>
#include <string>

#include "board/anim_tables.h"
#include "core/songs.h"
#include "generator.h"
#include "paint.h"

const double volumeIconCentre[2] = {108.5, 73.5};

namespace {

const Rgb kInk = {0.23, 0.16, 0.29};
const Rgb kPaper = {0.99, 0.96, 0.89};
const Rgb kMuted = {0.45, 0.40, 0.50};

struct PageText {
    const char* title;
    const char* body;
};

const PageText pages[19] = {
    {"The making of Mirevo",
     "This little book shows how the game is built: the board and its creatures, the catch, "
     "the music that grows with every good catch, and the program that draws every picture "
     "you see.\n\nTurn the pages with the arrow keys or by clicking the right and left edges. "
     "Click the top of the screen to close the book."},
    {"The board",
     "Every song has its own board, but they all share one plan: four routes run from the "
     "corners to a pond in the middle. Creatures leave their nest in a corner, hop over two "
     "stepping stones and land on the route's pad at the edge of the pond.\n\nBeside each "
     "route lies a row of eleven seed sockets: the route's gauge."},
    {"Four creatures",
     "Each corner has its own species and its own key. Ember comes from the top left (E), "
     "Drip from the top right (P), Plum from the bottom right (L) and Sprout from the bottom "
     "left (D).\n\nColours tell them apart at a glance, and the keys sit where the corners "
     "are on the keyboard."},
    {"Three hops",
     "A creature hops three times. Each hop is an animation of 19 frames, shown at 12 frames "
     "a second, so a hop lasts about 1.6 seconds. After each hop the creature's anchor moves "
     "one step along the route, and the next hop starts exactly where the last one ended.\n\n"
     "The third hop ends on the pad: that is where the catch happens."},
    {"The catch window",
     "The catch is judged in frames. The last five frames of the third hop are too early; the "
     "first frames on the pad are the good ones; after that the creature has waited too long."
     "\n\nA good catch fills the gauge; an early or late one starts a little error sound and, "
     "after a few in a row, drains it."},
    {"How a creature lands",
     "Every catch plays one of seven landing animations. Good catches end in a burst of the "
     "route's colour. Early ones stumble short of the pad. Late ones turn to stone and "
     "crumble, and a creature nobody catches waits a moment, grows sad and fades away."},
    {"Eleven levels",
     "As the gauge fills, the creatures get trickier. The easy hops are plain and even; "
     "harder ones hesitate, hop twice, feint backwards, hover or stand still before a sudden "
     "leap. The timing of the catch never changes: only the motion that leads to it.\n\n"
     "The paths on the right are the feet of three hops, one dot per frame."},
    {"The gauges",
     "Each route has eleven seeds. A good catch adds to the route's music score; every few "
     "points a new seed lights up, first half, then full. Misses are forgiven for a while "
     "(how long depends on the song) and then drain the top seed.\n\nWhen all four gauges "
     "are nearly full, the final stage begins."},
    {"Music that grows",
     "Every song is cut into layers, and each route owns some of them. A lit seed unlocks the "
     "route's next layer, which joins on the next loop boundary, so the music always stays in "
     "time. Start with a lonely drone; end with the whole band."},
    {"Mistakes make music too",
     "A missed catch does not silence anything. Instead, the route's layer stutters for a "
     "moment: a short error effect, played in time with the song. Several misses in a row "
     "are what cost a seed."},
    {"Song one: Moss Parade", nullptr},
    {"Song two: Tide Lanterns", nullptr},
    {"Song three: Copper Rain", nullptr},
    {"Song four: Night Orchard", nullptr},
    {"Final stage and Explore",
     "Once the gauges are full the song's final music plays with a countdown. Keep catching: "
     "every good catch adds to the score. Reaching the final stage completes the song.\n\n"
     "A completed song opens in Explore: endless plays where each route fires random layers "
     "and the difficulty rises every ten seconds, until a gauge runs dry."},
    {"Pictures from code",
     "No picture of Mirevo was painted by hand. A small program draws them all when the game "
     "is built: boards, creatures, menus, even this book. It uses Cairo for shapes and Pango "
     "for text, and writes the same bytes every time.\n\nOn the right: the sheet of one hop, "
     "each frame in its own rectangle."},
    {"Frame tables",
     "The game finds every frame through a table: where the frame sits in its sheet, and "
     "where it is drawn relative to the creature's anchor. The picture program measures each "
     "drawing, packs it into its sheet and writes the table, so pictures and table always "
     "agree.\n\nThe offset carries the motion; the rectangle only cuts the frame out."},
    {"Sound from code",
     "The music is also made by a program: each layer is written note by note, rendered to "
     "sound and cut to the exact length of the song's loop, so that the layers can start on "
     "any loop boundary and still fit together."},
    {"Thank you for playing",
     "Mirevo was made by a small team with SFML, Cairo and Pango. The lettering uses DejaVu "
     "Sans, a free font; its licence comes with the game in graphs/SATELLITE-LICENSE.txt.\n\n"
     "Now go and catch them all on the beat!"}};

void pageFrame(cairo_t* cr, int index) {
    setRgb(cr, kPaper);
    cairo_paint(cr);
    Lcg rng(500 + index);
    for (int i = 0; i < 160; ++i) {
        double x = rng.range(0, 2048), y = rng.range(0, 1536), r = rng.range(20, 80);
        ellipsePath(cr, x, y, r, r * 0.7);
        cairo_set_source_rgba(cr, 0.6, 0.5, 0.3, 0.03);
        cairo_fill(cr);
    }
    const Rgb& accent = routeBody[index % 4];
    cairo_rectangle(cr, 0, 200, 2048, 10);
    setRgb(cr, accent);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, 1326, 2048, 10);
    setRgb(cr, accent);
    cairo_fill(cr);
    TextStyle title;
    title.size = 74;
    title.bold = true;
    title.colour = kInk;
    drawText(cr, pages[index].title, 140, 236, title);
    TextStyle foot;
    foot.size = 30;
    foot.colour = kMuted;
    foot.align = AlignCentre;
    drawText(cr, std::to_string(index + 1) + " / 19", 1024, 1272, foot);
    // Turning hints at the edges the game listens to.
    if (index > 0) {
        cairo_move_to(cr, 120, 720);
        cairo_line_to(cr, 80, 768);
        cairo_line_to(cr, 120, 816);
    }
    if (index < 18) {
        cairo_move_to(cr, 1928, 720);
        cairo_line_to(cr, 1968, 768);
        cairo_line_to(cr, 1928, 816);
    }
    setRgb(cr, kMuted, 0.7);
    cairo_set_line_width(cr, 12);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

double bodyText(cairo_t* cr, const char* text, double x, double y, double wrap) {
    TextStyle body;
    body.size = 36;
    body.colour = kInk;
    body.wrap = wrap;
    body.spacing = 10;
    return drawText(cr, text, x, y, body);
}

void label(cairo_t* cr, const std::string& text, double x, double y, double size, int align,
           const Rgb& c = kInk, bool bold = false) {
    TextStyle t;
    t.size = size;
    t.align = align;
    t.colour = c;
    t.bold = bold;
    drawText(cr, text, x, y, t);
}

void creature(cairo_t* cr, int route, double x, double y, double scale, int eyes = EyesOpen) {
    Pose p;
    p.scale = scale;
    p.eyes = eyes;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    drawPose(cr, route, p);
    cairo_restore(cr);
}

void miniBoard(cairo_t* cr, int mode, double x, double y, double scale) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, 2048 * scale, 1536 * scale);
    cairo_clip(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, scale);
    drawBoardCanvas(cr, mode);
    cairo_restore(cr);
    cairo_rectangle(cr, x, y, 2048 * scale, 1536 * scale);
    setRgb(cr, kInk);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
}

void drawCover(cairo_t* cr) {
    // Creatures parade across the lower left.
    for (int r = 0; r < 4; ++r) creature(cr, r, 240 + r * 190, 1180 - (r % 2) * 30, 1.5, EyesHappy);
    // Records reset: the small button the game listens to at (1309, 504), 56 x 34.
    label(cr, "Reset all records", 1390, 494, 36, AlignLeft, kInk, true);
    label(cr, "clears best scores, times and completions", 1390, 546, 24, AlignLeft, kMuted);
    roundedRect(cr, 1309, 504, 56, 34, 10);
    cairo_set_source_rgb(cr, 0.85, 0.2, 0.22);
    cairo_fill_preserve(cr);
    setRgb(cr, kInk);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    // The sound button is drawn by the game around (1362, 1009); here is its place.
    ellipsePath(cr, 1362, 1009, 82, 82);
    cairo_set_source_rgba(cr, 0.96, 0.55, 0.2, 0.18);
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 0.96, 0.55, 0.2, 0.6);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    label(cr, "Sound", 1470, 958, 40, AlignLeft, kInk, true);
    label(cr, "click to mute or unmute", 1470, 1012, 24, AlignLeft, kMuted);
}

void drawHops(cairo_t* cr) {
    // Route 0 seen from above: nest, two stones and the pad, one hop between each.
    const double k = 1.25, ox = 1060, oy = 560;
    for (int h = 0; h < 4; ++h) {
        double x = ox + h * 179 * k, y = oy + h * 72 * k;
        ellipsePath(cr, x, y + 4, 60, 20);
        setRgb(cr, h == 3 ? routeBody[0] : Rgb{0.8, 0.76, 0.66});
        cairo_fill(cr);
        label(cr, h == 3 ? "pad" : (h == 0 ? "nest" : "stone"), x, y + 34, 28, AlignCentre, kMuted,
              true);
    }
    // The second hop, every third frame, fading in.
    Pose first = regularPose(0, 7, 0);
    for (int f = 0; f < 19; f += 3) {
        Pose p = regularPose(0, 7, f);
        double dx = (p.feetX - first.feetX) * k, dy = (p.feetY - first.feetY) * k;
        p.feetX = 0;
        p.feetY = 0;
        p.alpha = 0.3 + 0.7 * f / 18.0;
        p.scale = 1.0;
        cairo_save(cr);
        cairo_translate(cr, ox + 179 * k + dx, oy + 72 * k + dy);
        drawPose(cr, 0, p);
        cairo_restore(cr);
    }
    label(cr, "stage 0: nest to stone \u00b7 stage 1: stone to stone \u00b7 stage 2: stone to pad",
          1480, 1050, 28, AlignCentre, kMuted);
    label(cr, "19 frames a hop, 12 frames a second", 1480, 1120, 32, AlignCentre, kInk, true);
}

void drawTimeline(cairo_t* cr) {
    // Counters -5..10 around the landing; the colours are the verdicts of the game.
    double x0 = 1060, cw = 52;
    auto verdict = [](int route, int frame) {
        if (frame <= -3) return -1;
        if (frame <= 0) return -1;
        if (frame <= 6) return 1;
        (void)route;
        return -2;
    };
    for (int row = 0; row < 1; ++row) {
        double y = 560;
        label(cr, "every corner", x0, y - 60, 32, AlignLeft, kInk, true);
        for (int f = -5; f <= 10; ++f) {
            int v = verdict(row, f);
            double x = x0 + (f + 5) * cw;
            roundedRect(cr, x + 2, y, cw - 4, 90, 8);
            if (v == 1)
                cairo_set_source_rgb(cr, 0.45, 0.78, 0.35);
            else if (v == -1)
                cairo_set_source_rgb(cr, 0.93, 0.45, 0.35);
            else
                cairo_set_source_rgb(cr, 0.95, 0.75, 0.3);
            cairo_fill(cr);
            label(cr, std::to_string(f), x + cw / 2, y + 28, 24, AlignCentre, kInk, true);
        }
    }
    double yb = 820;
    cairo_move_to(cr, x0 + 5 * cw, 520);
    cairo_line_to(cr, x0 + 5 * cw, 760);
    setRgb(cr, kInk);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    label(cr, "lands on the pad", x0 + 5 * cw + 10, 720, 26, AlignLeft, kInk);
    label(cr, "third hop", x0 + 2.5 * cw, 680, 26, AlignCentre, kMuted);
    label(cr, "on the pad", x0 + 10 * cw, 680, 26, AlignCentre, kMuted);
    struct Key {
        Rgb c;
        const char* text;
    };
    const Key keys[3] = {
        {{0.93, 0.45, 0.35}, "early"}, {{0.45, 0.78, 0.35}, "good"}, {{0.95, 0.75, 0.3}, "late"}};
    for (int i = 0; i < 3; ++i) {
        roundedRect(cr, x0 + i * 250, yb, 60, 50, 8);
        setRgb(cr, keys[i].c);
        cairo_fill(cr);
        label(cr, keys[i].text, x0 + i * 250 + 75, yb + 6, 32, AlignLeft);
    }
    label(cr, "frames before and after the landing", x0, 900, 28, AlignLeft, kMuted);
}

void drawLandings(cairo_t* cr) {
    struct Shot {
        int route, landing, index;
        const char* text;
    };
    const Shot shots[4] = {{0, 5, 13, "good: a burst"},
                           {1, 0, 9, "early: a stumble"},
                           {2, 2, 17, "late: turned to stone"},
                           {3, 3, 19, "not caught: fades"}};
    for (int i = 0; i < 4; ++i) {
        double cx = 1200 + (i % 2) * 420, cy = 620 + (i / 2) * 400;
        Pose p = landingPose(shots[i].route, shots[i].landing, shots[i].index);
        p.feetX = 0;
        p.feetY = 0;
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, 1.3, 1.3);
        drawPose(cr, shots[i].route, p);
        cairo_restore(cr);
        label(cr, shots[i].text, cx, cy + 40, 30, AlignCentre, kInk, true);
    }
}

void drawPaths(cairo_t* cr) {
    const int anims[3] = {7, 13, 11};
    const char* names[3] = {"level 0: a plain hop", "level 3: a feint", "level 6: a long pause"};
    for (int i = 0; i < 3; ++i) {
        double ox = 1100, oy = 520 + i * 260;
        Pose p0 = regularPose(0, anims[i], 0);
        for (int f = 0; f < 19; ++f) {
            Pose p = regularPose(0, anims[i], f);
            double x = ox + (p.feetX - p0.feetX) * 3.6;
            double y = oy + (p.feetY - p0.feetY - 72.0 * (p.feetX - p0.feetX) / 179.0) * 2.2;
            ellipsePath(cr, x, y, 9, 9);
            setRgb(cr, p.visible ? routeBody[i] : Rgb{0.8, 0.8, 0.8});
            cairo_fill_preserve(cr);
            setRgb(cr, routeDark[i]);
            cairo_set_line_width(cr, 2);
            cairo_stroke(cr);
        }
        cairo_move_to(cr, ox - 20, oy + 12);
        cairo_line_to(cr, ox + 660, oy + 12);
        setRgb(cr, kMuted, 0.5);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
        label(cr, names[i], ox, oy + 30, 28, AlignLeft, kInk, true);
    }
}

void drawGaugeRow(cairo_t* cr) {
    for (int i = 0; i < 11; ++i) {
        double x = 1100 + i * 72, y = 700 - i * 14;
        int state = i < 6 ? 2 : (i == 6 ? 1 : (i == 7 ? 0 : -1));
        if (state >= 0) {
            drawGaugeSeed(cr, 1, i, state, x, y);
        } else {
            ellipsePath(cr, x, y, 28, 36);
            cairo_set_source_rgba(cr, 0, 0, 0, 0.15);
            cairo_fill(cr);
        }
    }
    label(cr, "full", 1100 + 2 * 72, 790, 28, AlignCentre, kMuted, true);
    label(cr, "half", 1100 + 6 * 72, 740, 28, AlignCentre, kMuted, true);
    label(cr, "empty", 1100 + 7 * 72 + 20, 800, 28, AlignCentre, kMuted, true);
    TextStyle t;
    t.size = 30;
    t.colour = kInk;
    t.wrap = 780;
    drawText(cr,
             "Misses forgiven before a seed drains:\nMoss Parade 2 \u00b7 Tide Lanterns 0 \u00b7 "
             "Copper Rain 1 \u00b7 Night Orchard 1",
             1100, 900, t);
}

void drawLayers(cairo_t* cr) {
    const char* names[7] = {"drone",   "layer 1", "layer 2", "layer 3",
                            "layer 4", "layer 5", "layer 6"};
    for (int i = 0; i < 7; ++i) {
        double y = 420 + i * 105;
        double start = 1100 + (i == 0 ? 0 : 80 + i * 95);
        label(cr, names[i], 1080, y + 14, 28, AlignRight, kInk, true);
        roundedRect(cr, start, y, 1900 - start, 70, 20);
        const Rgb& c = i == 0 ? Rgb{0.6, 0.55, 0.65} : routeBody[(i - 1) % 4];
        setRgb(cr, c, 0.85);
        cairo_fill(cr);
        // Loop boundaries.
        for (double x = 1100; x < 1900; x += 95) {
            cairo_move_to(cr, x, y + 8);
            cairo_line_to(cr, x, y + 62);
        }
        cairo_set_source_rgba(cr, 1, 1, 1, 0.5);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    }
    label(cr, "time \u2192 (each stripe is one loop)", 1500, 1170, 30, AlignCentre, kMuted);
}

void drawWave(cairo_t* cr, bool glitch) {
    double x0 = 1080, x1 = 1900, y = 760;
    for (int i = 0; i <= 820; ++i) {
        double x = x0 + i;
        double t = i / 820.0;
        double env = std::sin(kPi * std::fmod(t * 4, 1.0));
        double v = env * (std::sin(i * 0.25) * 0.7 + 0.3 * std::sin(i * 0.61));
        if (glitch && t > 0.5 && t < 0.75) v = (int(i / 12) % 2 ? 0.8 : -0.8) * env;
        if (i == 0)
            cairo_move_to(cr, x, y - v * 220);
        else
            cairo_line_to(cr, x, y - v * 220);
    }
    setRgb(cr, glitch ? routeBody[2] : routeBody[1]);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    cairo_move_to(cr, x0, y);
    cairo_line_to(cr, x1, y);
    setRgb(cr, kMuted, 0.5);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    if (glitch)
        label(cr, "error effect", x0 + 0.62 * 820, 1010, 30, AlignCentre, kInk, true);
    else
        label(cr, "four notes, four loops", (x0 + x1) / 2, 1010, 30, AlignCentre, kInk, true);
}

void drawSongPage(cairo_t* cr, int song) {
    int mode = 0;
    for (int m = 0; m < 4; ++m)
        if (songOfMode[m] == song) mode = m;
    miniBoard(cr, mode, 1060, 360, 0.42);
    TextStyle big;
    big.size = 120;
    big.bold = true;
    big.colour = routeDark[song];
    char bpm[32];
    std::snprintf(bpm, sizeof bpm, "%g", double(songBpm[song]));
    drawText(cr, std::string(bpm) + " bpm", 140, 360, big);
    std::string facts = std::string("<i>") + songMoods[song] + "</i>\n\nLoop length: ";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f s", double(songLoopLength[song]));
    facts += buf;
    facts += "\nPhrase: " + std::to_string(songPhraseLength[song]) + " beats";
    std::snprintf(buf, sizeof buf, "\nFinal stage: %d s", int(songLength[song]));
    facts += buf;
    bodyText(cr, facts.c_str(), 140, 540, 820);
    // The beats of one phrase, four to a bar.
    int beats = songPhraseLength[song];
    for (int b = 0; b < beats; ++b) {
        double x = 150 + (b % 16) * 50, y = 960 + (b / 16) * 50;
        ellipsePath(cr, x, y, b % 4 == 0 ? 16 : 11, b % 4 == 0 ? 16 : 11);
        setRgb(cr, b % 4 == 0 ? routeBody[song] : Rgb{0.75, 0.7, 0.78});
        cairo_fill(cr);
    }
    label(cr, "board of the song", 1490, 1030, 28, AlignCentre, kMuted, true);
}

void drawFinal(cairo_t* cr) {
    double cx = 1480, cy = 700;
    for (int i = 0; i < 60; ++i) {
        double a = -kPi / 2 + i * 2 * kPi / 60;
        cairo_move_to(cr, cx + 200 * std::cos(a), cy + 200 * std::sin(a));
        cairo_line_to(cr, cx + (i % 5 ? 185 : 170) * std::cos(a),
                      cy + (i % 5 ? 185 : 170) * std::sin(a));
    }
    setRgb(cr, kInk);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, 150, -kPi / 2, -kPi / 2 + 1.4 * kPi);
    setRgb(cr, routeBody[0]);
    cairo_set_line_width(cr, 30);
    cairo_stroke(cr);
    label(cr, "87", cx, cy - 60, 100, AlignCentre, kInk, true);
    label(cr, "seconds left", cx, cy + 60, 30, AlignCentre, kMuted);
    for (int r = 0; r < 4; ++r) creature(cr, r, 1200 + r * 190, 1160, 1.0, EyesHappy);
}

void drawSheetDemo(cairo_t* cr) {
    // The real sheet of route 0, regular animation 0, with its frame rectangles.
    const AnimFrame* frames = frameTable[0];
    double ox = 1080, oy = 380, scale = 1.3;
    cairo_save(cr);
    cairo_translate(cr, ox, oy);
    cairo_scale(cr, scale, scale);
    for (int f = 0; f < 19; ++f) {
        const AnimFrame& a = frames[f];
        if (a.width <= 0) continue;
        Pose p = regularPose(0, 0, f);
        cairo_save(cr);
        cairo_rectangle(cr, a.left, a.top, a.width, a.height);
        cairo_clip(cr);
        cairo_translate(cr, a.left + p.feetX - a.offsetX, a.top + p.feetY - a.offsetY);
        drawPose(cr, 0, p);
        cairo_restore(cr);
        cairo_rectangle(cr, a.left + 0.5, a.top + 0.5, a.width - 1, a.height - 1);
        cairo_set_source_rgba(cr, 0.85, 0.2, 0.3, 0.8);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
    label(cr, "sheet 0_0.png: 19 frames", 1080, 1150, 30, AlignLeft, kInk, true);
}

void drawRecordDemo(cairo_t* cr) {
    const AnimFrame& a = frameTable[0][1];
    double ax = 1100, ay = 420, k = 3.0;
    Pose p = regularPose(0, 0, 1);
    cairo_save(cr);
    cairo_translate(cr, ax + a.offsetX * k, ay + a.offsetY * k);
    cairo_scale(cr, k, k);
    cairo_rectangle(cr, 0, 0, a.width, a.height);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.8);
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 0.85, 0.2, 0.3, 0.9);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_translate(cr, p.feetX - a.offsetX, p.feetY - a.offsetY);
    drawPose(cr, 0, p);
    cairo_restore(cr);
    ellipsePath(cr, ax, ay, 12, 12);
    setRgb(cr, kInk);
    cairo_fill(cr);
    cairo_move_to(cr, ax, ay);
    cairo_line_to(cr, ax + a.offsetX * k, ay + a.offsetY * k);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    label(cr, "anchor", ax - 10, ay - 50, 28, AlignLeft, kInk, true);
    char buf[128];
    std::snprintf(buf, sizeof buf, "offset (%d, %d)   rectangle (%d, %d, %d, %d)", a.offsetX,
                  a.offsetY, a.left, a.top, a.width, a.height);
    label(cr, buf, 1100, 1150, 30, AlignLeft, kInk, true);
}

}  // namespace

bool drawMakingOfPage(const std::string& root, int index) {
    Canvas c(2048, 1536);
    cairo_t* cr = c.cr;
    pageFrame(cr, index);
    if (pages[index].body) bodyText(cr, pages[index].body, 140, 360, 840);
    switch (index) {
        case 0:
            drawCover(cr);
            break;
        case 1:
            miniBoard(cr, 1, 1060, 380, 0.42);
            break;
        case 2:
            for (int r = 0; r < 4; ++r) {
                static const char* names[4] = {"Ember \u00b7 E", "Drip \u00b7 P", "Plum \u00b7 L",
                                               "Sprout \u00b7 D"};
                double x = 1250 + (r == 1 || r == 2 ? 420 : 0), y = 640 + (r >= 2 ? 420 : 0);
                creature(cr, r, x, y, 2.2);
                label(cr, names[r], x, y + 30, 36, AlignCentre, routeDark[r], true);
            }
            break;
        case 3:
            drawHops(cr);
            break;
        case 4:
            drawTimeline(cr);
            break;
        case 5:
            drawLandings(cr);
            break;
        case 6:
            drawPaths(cr);
            break;
        case 7:
            drawGaugeRow(cr);
            break;
        case 8:
            drawLayers(cr);
            break;
        case 9:
            drawWave(cr, true);
            break;
        case 10:
        case 11:
        case 12:
        case 13:
            drawSongPage(cr, index - 10);
            break;
        case 14:
            drawFinal(cr);
            break;
        case 15:
            drawSheetDemo(cr);
            break;
        case 16:
            drawRecordDemo(cr);
            break;
        case 17:
            drawWave(cr, false);
            break;
        default:
            for (int r = 0; r < 4; ++r) creature(cr, r, 1150 + r * 200, 900, 1.6, EyesHappy);
            break;
    }
    return saveJpg(c, root + "/Menu/makingof/mof" + std::to_string(index) + ".jpg");
}
