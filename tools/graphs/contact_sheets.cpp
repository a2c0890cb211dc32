// Contact sheets of the generated pictures for a human eye, drawn the way the game places
// them, from the game's tables only: the life of a particle on each route, every
// animation and landing, the play screen of each mode with its decorations, the menus at
// three screen sizes and the making-of pages. Needs an X display.
// Usage: contact_sheets <folder holding graphs/> <output folder>
// Exits 1 when a picture could not be read or a sheet could not be written.

#include <SFML/Graphics.hpp>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>

#include "board/anim_tables.h"
#include "board/particle.h"
#include "board/route.h"

namespace {

std::string assetsFolder;
std::string outputFolder;
int failures = 0;

// Counts and reports a failure; true when the condition held.
bool check(bool condition, const std::string& what) {
    if (!condition) {
        std::cerr << "contact_sheets: " << what << std::endl;
        ++failures;
    }
    return condition;
}

std::string assetsDir() {
    return assetsFolder;
}

std::string artefactsDir() {
    return outputFolder;
}

std::map<std::string, sf::Texture>& textures() {
    static std::map<std::string, sf::Texture> cache;
    return cache;
}

const sf::Texture& tex(const std::string& rel, bool smooth = true) {
    auto& cache = textures();
    auto it = cache.find(rel);
    if (it != cache.end()) return it->second;
    sf::Texture& t = cache[rel];
    check(t.loadFromFile(assetsDir() + "/graphs/" + rel), "cannot read graphs/" + rel);
    t.setSmooth(smooth);
    return t;
}

const sf::Font& font() {
    static sf::Font f;
    static bool loaded =
        check(f.loadFromFile(assetsDir() + "/graphs/SATELLITE.OTF"), "cannot read the font");
    (void)loaded;
    return f;
}

void save(sf::RenderTexture& rt, const std::string& name) {
    rt.display();
    check(rt.getTexture().copyToImage().saveToFile(artefactsDir() + "/" + name),
          "cannot write " + name);
}

struct Screen {
    float W, H, s, bs, top, scaleX;
    std::string profile;
};

Screen screenOf(unsigned w, unsigned h) {
    Screen sc;
    sc.W = float(w);
    sc.H = float(h);
    sc.s = sc.H / 1536.f;
    sc.bs = sc.W / 2048.f;
    float ratio = sc.W / sc.H;
    if (ratio > 1.7767777777302802) {
        sc.profile = "1600_900", sc.top = 171, sc.scaleX = sc.W / 1600.f;
    } else if (ratio > 1.5989999999525026) {
        sc.profile = "1600_1000", sc.top = 101, sc.scaleX = sc.W / 1600.f;
    } else {
        sc.profile = "2048_1536", sc.top = 0, sc.scaleX = sc.W / 2048.f;
    }
    return sc;
}

// A particle of route r showing (anim, frame) around the given anchor (window pixels).
void drawParticle(sf::RenderTarget& t, const Screen& sc, int r, int anim, int frame, bool landing,
                  float ax, float ay, sf::Color colour = sf::Color::White) {
    sf::IntRect rect = animFrameRect(r, anim, frame, landing);
    if (rect.width <= 0) return;
    sf::Vector2i off = animFrameOffset(r, anim, frame, landing);
    int picture = landing ? regularAnimCounts[r] + anim : anim;
    sf::Sprite sp(tex("Atlas/" + std::to_string(r) + "_" + std::to_string(picture) + ".png"), rect);
    sp.setScale(sc.bs, sc.bs);
    sp.setPosition(std::trunc(sc.bs * off.x + ax), std::trunc(sc.bs * off.y + ay));
    sp.setColor(colour);
    t.draw(sp);
}

void stageAnchor(const Screen& sc, int r, int stage, float& x, float& y) {
    if (stage == 3) {
        x = sc.bs * catchPoint[r][0];
        y = sc.bs * catchPoint[r][1] - sc.top * sc.bs;
        return;
    }
    float sx = sc.bs * particleStep[r][0], sy = sc.bs * particleStep[r][1];
    x = sc.bs * lastRegularPoint[r][0] - 2 * sx + stage * sx;
    y = sc.bs * lastRegularPoint[r][1] - sc.top * sc.bs - 2 * sy + stage * sy;
}

void drawBoard(sf::RenderTarget& t, const Screen& sc, int mode) {
    sf::Sprite board(tex("Board/plateau_" + std::to_string(mode) + "_" + sc.profile + ".jpg"));
    board.setScale(sc.scaleX, sc.scaleX);
    t.draw(board);
}

void drawDecorations(sf::RenderTarget& t, const Screen& sc, int mode, int gaugeLevel,
                     int slimeFrame, bool pressed) {
    for (int r = 0; r < 4; ++r) {
        int frame = pressed ? (r % 2 ? 0 : 1) : -1;
        if (frame >= 0) {
            sf::Sprite b(tex("Button/b" + std::to_string(mode) + ".png", false),
                         buttonFrameRect(r, mode, frame));
            b.setScale(sc.bs, sc.bs);
            b.setPosition(sc.bs * buttonAnchors[r][0], sc.bs * (buttonAnchors[r][1] - sc.top));
            t.draw(b);
        }
        sf::IntRect sr = slimeFrameRect(r, mode, slimeFrame);
        sf::Vector2i so = slimeFrameOffset(r, mode, slimeFrame);
        sf::Sprite sl(tex("Slime/p" + std::to_string(mode) + std::to_string(r) + ".png", false),
                      sf::IntRect(sr.left, sr.top, sr.width - 1, sr.height - 1));
        sl.setScale(sc.bs, sc.bs);
        sl.setPosition(std::trunc(sc.bs * (slimeAnchors[mode][r][0] + so.x)),
                       std::trunc(sc.bs * (slimeAnchors[mode][r][1] - sc.top + so.y)));
        t.draw(sl);
        for (int i = 0; i < gaugeLevel; ++i) {
            int state = i == gaugeLevel - 1 ? 1 : 2;
            int look = r == 3 ? (state + 1) % 3 : state;
            float bx = sc.bs * (gaugeOrigins[r][0] + i * gaugeSpacings[r][0]);
            float by = sc.bs * (gaugeOrigins[r][1] - sc.top + i * gaugeSpacings[r][1]);
            sf::Vector2i go = gaugeFrameOffset(r, i, look);
            sf::Sprite g(tex("Jauges/J" + std::to_string(r) + ".png"), gaugeFrameRect(r, i, look));
            g.setScale(sc.bs, sc.bs);
            g.setPosition(std::trunc(sc.bs * go.x + bx), std::trunc(sc.bs * go.y + by));
            t.draw(g);
        }
    }
}

void label(sf::RenderTarget& t, const std::string& text, float x, float y, unsigned size,
           sf::Color c = sf::Color::White) {
    sf::Text tx(text, font(), size);
    tx.setPosition(x + 1, y + 1);
    tx.setFillColor(sf::Color::Black);
    t.draw(tx);
    tx.setPosition(x, y);
    tx.setFillColor(c);
    t.draw(tx);
}

// Multiplied menu sprite, placed as the menu texts are.
void menuText(sf::RenderTarget& t, const Screen& sc, int k, float x, float y, bool centred,
              bool multiply) {
    sf::Sprite sp(tex("Menu/texts/" + std::to_string(k) + ".png"));
    sp.setScale(sc.s, sc.s);
    float tw = float(sp.getTexture()->getSize().x);
    float px = centred ? (tw * 0.5f + x) * sc.W / 2048.f - sp.getGlobalBounds().width * 0.5f : x;
    sp.setPosition(px, y);
    sf::RenderStates st;
    st.blendMode = multiply ? sf::BlendMultiply : sf::BlendAlpha;
    t.draw(sp, st);
}

const float kLayout[17][2] = {{635, 72},   {1476, 666}, {800, 1226}, {76, 666},   {179, 171},
                              {179, 156},  {1840, 580}, {0, 620},    {347, 202},  {856, 184},
                              {1476, 192}, {347, 202},  {658, 190},  {1476, 192}, {675, 394},
                              {785, 189},  {666, 407}};

}  // namespace

// Feet of a frame (bottom centre of its rectangle) around an anchor, reference pixels.
sf::Vector2f footAt(int r, int anim, int frame, bool landing, float ax, float ay) {
    sf::IntRect rect = animFrameRect(r, anim, frame, landing);
    sf::Vector2i off = animFrameOffset(r, anim, frame, landing);
    return sf::Vector2f(ax + off.x + rect.width / 2.f, ay + off.y + rect.height);
}

void ParticleLifeOnEachRoute() {
    Screen sc = screenOf(2048, 1536);
    // Three hops (an easy one, a hard one, the flicker one) and the uncaught landing.
    const int anims[4][3] = {{7, 11, 2}, {1, 18, 9}, {0, 20, 13}, {8, 21, 5}};
    for (int r = 0; r < 4; ++r) {
        int landing = defaultLanding[r];
        float nx, ny, px, py;
        stageAnchor(sc, r, 0, nx, ny);
        stageAnchor(sc, r, 2, px, py);
        sf::Vector2f nest = footAt(r, 0, 0, false, nx, ny);
        sf::Vector2f pad = footAt(r, 0, 18, false, px, py);
        sf::Vector2f mid((nest.x + pad.x) / 2, (nest.y + pad.y) / 2 - 60);
        // Onion skins: one panel per stage; the previous stage's last frame is tinted red
        // under the stage's first frame, so a jump between stages shows at once.
        sf::RenderTexture rt;
        if (!check(rt.create(1920, 1200), "cannot make a sheet")) return;
        rt.clear(sf::Color(30, 30, 30));
        for (int stage = 0; stage < 4; ++stage) {
            sf::View view(sf::FloatRect(mid.x - 480, mid.y - 300, 960, 600));
            view.setViewport(sf::FloatRect((stage % 2) * 0.5f, (stage / 2) * 0.5f, 0.5f, 0.5f));
            rt.setView(view);
            drawBoard(rt, sc, 1);
            float ax, ay;
            stageAnchor(sc, r, stage, ax, ay);
            if (stage > 0) {
                float bx, by;
                stageAnchor(sc, r, stage - 1, bx, by);
                drawParticle(rt, sc, r, anims[r][stage - 1], 18, false, bx, by,
                             sf::Color(255, 60, 60, 255));
            }
            bool land = stage == 3;
            int anim = land ? landing : anims[r][stage];
            int count = land ? landingFrameCounts[r][landing] - 5 : 19;
            for (int f = count - 1; f >= 0; --f) {
                sf::Color c(255, 255, 255, f == 0 ? 255 : 90);
                drawParticle(rt, sc, r, anim, land ? f + 5 : f, land, ax, ay, c);
            }
            sf::CircleShape mark(7);
            mark.setFillColor(sf::Color::Red);
            mark.setPosition(ax - 7, ay - 7);
            rt.draw(mark);
            rt.setView(rt.getDefaultView());
            label(rt,
                  land ? "landing " + std::to_string(anim) + " from frame 5"
                       : "stage " + std::to_string(stage) + ", animation " + std::to_string(anim),
                  (stage % 2) * 960.f + 10, (stage / 2) * 600.f + 6, 28);
        }
        save(rt, "life_route" + std::to_string(r) + ".png");
        // The end of the last hop and the start of the landing, one tile per tick.
        if (!check(rt.create(1920, 1000), "cannot make a sheet")) return;
        rt.clear(sf::Color(30, 30, 30));
        for (int t = 0; t < 20; ++t) {
            int f = 10 + t;
            bool land = f >= 19;
            sf::View view(sf::FloatRect(pad.x - 280, pad.y - 210, 560, 350));
            view.setViewport(sf::FloatRect((t % 5) * 0.2f, (t / 5) * 0.25f, 0.2f, 0.25f));
            rt.setView(view);
            drawBoard(rt, sc, 1);
            float ax, ay;
            stageAnchor(sc, r, land ? 3 : 2, ax, ay);
            drawParticle(rt, sc, r, land ? landing : anims[r][2], land ? f - 19 + 5 : f, land, ax,
                         ay);
            rt.setView(rt.getDefaultView());
            label(rt, land ? "landing f" + std::to_string(f - 19) : "s2 f" + std::to_string(f),
                  (t % 5) * 384.f + 6, (t / 5) * 250.f + 4, 22);
        }
        save(rt, "arrival_route" + std::to_string(r) + ".png");
    }
}

void EveryRegularAnimation() {
    // Onion skins of every regular animation of a route, one panel each, drawn around the
    // first stage's anchor: the easy ones are even, the hard ones hesitate and feint.
    Screen sc = screenOf(2048, 1536);
    for (int r = 0; r < 4; ++r) {
        float ax, ay;
        stageAnchor(sc, r, 1, ax, ay);
        sf::Vector2f a = footAt(r, 0, 0, false, ax, ay);
        sf::Vector2f b = footAt(r, 0, 18, false, ax, ay);
        sf::Vector2f mid((a.x + b.x) / 2, (a.y + b.y) / 2 - 50);
        const int cols = 6, rows = 5;
        sf::RenderTexture rt;
        if (!check(rt.create(1920, 1250), "cannot make a sheet")) return;
        rt.clear(sf::Color(30, 30, 30));
        for (int anim = 0; anim < regularAnimCounts[r]; ++anim) {
            sf::View view(sf::FloatRect(mid.x - 200, mid.y - 130, 400, 260));
            view.setViewport(sf::FloatRect(float(anim % cols) / cols, float(anim / cols) / rows,
                                           1.f / cols, 1.f / rows));
            rt.setView(view);
            drawBoard(rt, sc, 0);
            for (int f = 18; f >= 0; --f) {
                sf::Uint8 alpha = sf::Uint8(f == 0 || f == 18 ? 255 : 70 + 6 * f);
                drawParticle(rt, sc, r, anim, f, false, ax, ay, sf::Color(255, 255, 255, alpha));
            }
            rt.setView(rt.getDefaultView());
            label(rt, "animation " + std::to_string(anim), (anim % cols) * 320.f + 6,
                  (anim / cols) * 250.f + 4, 20);
        }
        save(rt, "animations_route" + std::to_string(r) + ".png");
    }
}

void EveryLandingAtItsCatchPoint() {
    Screen sc = screenOf(2048, 1536);
    for (int r = 0; r < 4; ++r) {
        float px, py;
        stageAnchor(sc, r, 2, px, py);
        float cx = px + (r == 1 || r == 2 ? 30.f : 260.f), cy = py + 140;
        sf::FloatRect crop(cx - 260, cy - 190, 520, 380);
        const int cols = 29, tileW = 130, tileH = 95;
        sf::RenderTexture rt;
        if (!check(rt.create(cols * tileW, 7 * tileH), "cannot make a sheet")) return;
        rt.clear(sf::Color(30, 30, 30));
        for (int k = 0; k < 7; ++k) {
            for (int i = 0; i < landingFrameCounts[r][k]; ++i) {
                sf::View view(crop);
                view.setViewport(sf::FloatRect(float(i) / cols, float(k) / 7, 1.f / cols, 1.f / 7));
                rt.setView(view);
                drawBoard(rt, sc, 3);
                float ax, ay;
                stageAnchor(sc, r, 3, ax, ay);
                drawParticle(rt, sc, r, k, i, true, ax, ay);
                rt.setView(rt.getDefaultView());
                label(rt, std::to_string(k) + ":" + std::to_string(i), i * tileW + 2.f,
                      k * tileH + 1.f, 12);
            }
        }
        save(rt, "landings_route" + std::to_string(r) + ".png");
    }
}

void PlayScreens() {
    const unsigned sizes[3][2] = {{1920, 1080}, {1920, 1200}, {1024, 768}};
    for (const auto& size : sizes) {
        Screen sc = screenOf(size[0], size[1]);
        for (int mode = 0; mode < 4; ++mode) {
            sf::RenderTexture rt;
            if (!check(rt.create(size[0], size[1]), "cannot make a sheet")) return;
            rt.clear(sf::Color::Black);
            drawBoard(rt, sc, mode);
            drawDecorations(rt, sc, mode, 3 + 2 * mode, mode * 2, true);
            for (int r = 0; r < 4; ++r) {
                // One creature per stage, and one landing (a good one) on the pad.
                for (int stage = 0; stage < 3; ++stage) {
                    float ax, ay;
                    stageAnchor(sc, r, stage, ax, ay);
                    drawParticle(rt, sc, r, 7, 9 + 3 * stage, false, ax, ay);
                }
                float ax, ay;
                stageAnchor(sc, r, 3, ax, ay);
                drawParticle(rt, sc, r, 4 + mode % 3, 12, true, ax, ay);
            }
            sf::Sprite bar(tex("Menu/fondsNus/score.png"));
            bar.setScale(sc.s, sc.s);
            bar.setPosition(sc.W / 2 - bar.getGlobalBounds().width / 2,
                            sc.H - bar.getGlobalBounds().height);
            rt.draw(bar);
            sf::Text head("1234", font(), 80);
            head.setScale(sc.s, sc.s);
            head.setFillColor(sf::Color(242, 242, 242));
            head.setPosition(sc.W / 2 - head.getGlobalBounds().width / 2,
                             bar.getPosition().y + 80 * sc.s);
            rt.draw(head);
            sf::Text counter("87", font(), 40);
            counter.setScale(sc.s, sc.s);
            counter.setFillColor(sf::Color(153, 153, 153));
            counter.setPosition(sc.W / 2 - counter.getGlobalBounds().width / 2,
                                bar.getPosition().y + 40 * sc.s);
            rt.draw(counter);
            save(rt, "play_mode" + std::to_string(mode) + "_" + std::to_string(size[0]) + "x" +
                         std::to_string(size[1]) + ".png");
        }
    }
}

void Menus() {
    const unsigned sizes[3][2] = {{1920, 1080}, {1920, 1200}, {1024, 768}};
    for (const auto& size : sizes) {
        Screen sc = screenOf(size[0], size[1]);
        std::string suffix = std::to_string(size[0]) + "x" + std::to_string(size[1]) + ".png";
        sf::RenderTexture rt;
        if (!check(rt.create(size[0], size[1]), "cannot make a sheet")) return;
        // Main menu.
        rt.clear(sf::Color::Black);
        sf::Sprite centre(tex("Menu/fondsNus/centre.jpg"));
        centre.setScale(sc.W / 2048, sc.H / 1536);
        rt.draw(centre);
        for (int k = 0; k < 4; ++k)
            menuText(rt, sc, k, kLayout[k][0], kLayout[k][1] * sc.H / 1536, true, k > 0);
        save(rt, "menu_main_" + suffix);
        // Scored song list with the records and the cursor on song 2.
        for (int list = 0; list < 2; ++list) {
            bool scored = list == 0;
            rt.clear(sf::Color::Black);
            sf::Sprite side(tex(scored ? "Menu/fondsNus/side1.jpg" : "Menu/fondsNus/side3.jpg"));
            side.setScale(sc.W / 2048, sc.H / 1536);
            rt.draw(side);
            float w5 = float(tex("Menu/texts/5.png").getSize().x);
            float L = 179 * sc.s, R = sc.W - (w5 + 179) * sc.s;
            if (scored) {
                menuText(rt, sc, 4, L, 171 * sc.s, false, true);
                const float dy[4] = {816, 938, 1060, 1181}, ty[4] = {786, 908, 1031, 1152};
                const float done[4] = {1.0f, 0.5f, 0.1f, 0.0f};
                for (int i = 0; i < 4; ++i) {
                    const sf::Texture& dots = tex("Menu/texts/dots.png", false);
                    int wdots = int((dots.getSize().x - 1) * done[i] + 1);
                    sf::Sprite d(dots, sf::IntRect(0, 0, wdots, int(dots.getSize().y)));
                    d.setScale(sc.s, sc.s);
                    d.setPosition(L + 533 * sc.s, 171 * sc.s + sc.s * dy[i]);
                    rt.draw(d);
                    sf::Text score(i == 3 ? " " : std::to_string(1000 + 2345 * i), font(), 70);
                    score.setFillColor(sf::Color::Black);
                    score.setScale(sc.s, sc.s);
                    score.setPosition(L + 1456 * sc.s, 171 * sc.s + sc.s * ty[i]);
                    rt.draw(score);
                }
            } else {
                menuText(rt, sc, 5, R, 156 * sc.s, false, true);
                const float ty[4] = {767, 888, 1011, 1130};
                const char* times[4] = {"95.4s", "-", "123.8s", "-"};
                for (int i = 0; i < 4; ++i) {
                    sf::Text t(times[i], font(), 70);
                    t.setFillColor(sf::Color::Black);
                    t.setScale(sc.s, sc.s);
                    t.setPosition(R + sc.s * 100 - t.getGlobalBounds().width / 2,
                                  156 * sc.s + sc.s * ty[i]);
                    rt.draw(t);
                }
            }
            // The cursor: placeAtlas for the song at list position 2, frame 5.
            int route = scored ? 2 : 0, anim = scored ? 25 : 24;
            float atlasX = scored ? std::trunc(sc.s * -85 + 179 * sc.s)
                                  : std::trunc(sc.W - (w5 + 179) * sc.s + 604 * sc.s);
            float atlasY = scored ? std::trunc(sc.s * 1037 + 171 * sc.s)
                                  : std::trunc(sc.H * 156 / 1536 + sc.s * 1009);
            sf::Sprite cursor(
                tex("Atlas/" + std::to_string(route) + "_" + std::to_string(anim) + ".png"),
                animFrameRect(route, anim, 5, false));
            cursor.setScale(sc.s * 0.6f, sc.s * 0.6f);
            sf::Vector2i o = animFrameOffset(route, anim, 5, false);
            cursor.setPosition(std::trunc(sc.s * o.x + atlasX), std::trunc(sc.s * o.y + atlasY));
            rt.draw(cursor);
            // Hit-test rows drawn as thin lines (canvas y scaled by H / 1536).
            const float scoredRows[6] = {800, 934, 1060, 1179, 1312, 1440};
            const float exploreRows[5] = {860, 1017, 1137, 1278, 1400};
            const float* rows = scored ? scoredRows : exploreRows;
            for (int i = 0; i < (scored ? 6 : 5); ++i) {
                sf::RectangleShape line(sf::Vector2f(sc.W, 1));
                line.setPosition(0, rows[i] * sc.H / 1536);
                line.setFillColor(sf::Color(255, 0, 0, 160));
                rt.draw(line);
            }
            save(rt, std::string(scored ? "menu_songs_" : "menu_explore_") + suffix);
        }
        // Results over a board.
        rt.clear(sf::Color::Black);
        drawBoard(rt, sc, 2);
        sf::Sprite pause(tex("Menu/fondsNus/pause.png"));
        pause.setScale(sc.W / 2048, sc.H / 1536);
        rt.draw(pause);
        for (int k : {11, 15, 16, 13})
            menuText(rt, sc, k, kLayout[k][0], kLayout[k][1] * sc.H / 1536, true, k == 16);
        sf::Text result("12345", font(), 80);
        result.setFillColor(sf::Color::Black);
        result.setScale(sc.s, sc.s);
        result.setPosition(sc.W / 2 - result.getGlobalBounds().width / 2, 645 * sc.H / 1536);
        rt.draw(result);
        for (float x : {242.f, 521.f, 1524.f, 1868.f}) {
            sf::RectangleShape line(sf::Vector2f(1, (537 - 165) * sc.H / 1536));
            line.setPosition(x * sc.W / 2048, 165 * sc.H / 1536);
            line.setFillColor(sf::Color(255, 0, 0, 200));
            rt.draw(line);
        }
        save(rt, "menu_results_" + suffix);
        // Results of a play not completed, with a new record.
        rt.clear(sf::Color::Black);
        drawBoard(rt, sc, 3);
        rt.draw(pause);
        for (int k : {11, 12, 14, 13})
            menuText(rt, sc, k, kLayout[k][0], kLayout[k][1] * sc.H / 1536, true, k == 14);
        rt.draw(result);
        save(rt, "menu_record_" + suffix);
        // Pause panel.
        rt.clear(sf::Color::Black);
        drawBoard(rt, sc, 0);
        rt.draw(pause);
        for (int k : {8, 9, 10})
            menuText(rt, sc, k, kLayout[k][0], kLayout[k][1] * sc.H / 1536, true, k == 14);
        save(rt, "menu_pause_" + suffix);
        // Making-of page 0 with the volume icon and the reset rectangle.
        rt.clear(sf::Color::Black);
        float letterbox = (sc.W * 1536 / 2048 - sc.H) / 2;
        sf::Sprite page(tex("Menu/makingof/mof0.jpg"));
        page.setScale(sc.W / 2048, sc.W / 2048);
        page.setPosition(0, -letterbox);
        rt.draw(page);
        sf::Sprite vol(tex("Menu/animVolume.png"), volumeFrameRect(0));
        vol.setScale(sc.s, sc.s);
        sf::Vector2i vo = volumeFrameOffset(0);
        vol.setPosition(std::trunc(sc.W * 1267 / 2048 + sc.s * vo.x),
                        std::trunc(sc.W * 945 / 2048 - letterbox + sc.s * vo.y));
        rt.draw(vol);
        sf::RectangleShape reset(sf::Vector2f(56 * sc.W / 2048, 34 * sc.W / 2048));
        reset.setPosition(1309 * sc.W / 2048, 504 * sc.W / 2048 - letterbox);
        reset.setFillColor(sf::Color::Transparent);
        reset.setOutlineColor(sf::Color::Red);
        reset.setOutlineThickness(1);
        rt.draw(reset);
        save(rt, "menu_makingof0_" + suffix);
        // Tutorial pages over the board, with the early hint.
        rt.clear(sf::Color::Black);
        drawBoard(rt, sc, 1);
        drawDecorations(rt, sc, 1, 0, 0, false);
        for (int i : {5, 0, 1, 2, 3, 4}) {
            sf::Sprite tut(tex("Tuto/tut" + std::to_string(i) + ".png"));
            tut.setScale(sc.s, sc.s);
            tut.setPosition(sc.W / 2 - tut.getGlobalBounds().width / 2, i >= 5 ? 108 * sc.s : 0);
            rt.draw(tut);
        }
        for (int r = 0; r < 4; ++r) {
            float ax, ay;
            stageAnchor(sc, r, 3, ax, ay);
            drawParticle(rt, sc, r, defaultLanding[r], 8, true, ax, ay);
        }
        save(rt, "menu_tutorial_" + suffix);
    }
}

void MakingOfPages() {
    Screen sc = screenOf(1920, 1080);
    sf::RenderTexture rt;
    if (!check(rt.create(1920 * 4 / 4, 1080 * 5 / 4 + 40), "cannot make a sheet")) return;
    // A contact sheet of the 19 pages as a 16:9 screen shows them.
    const int cols = 4;
    float tw = 1920.f / cols, th = 1080.f / cols;
    rt.clear(sf::Color(40, 40, 40));
    for (int n = 0; n < 19; ++n) {
        sf::Sprite page(tex("Menu/makingof/mof" + std::to_string(n) + ".jpg"));
        page.setTextureRect(sf::IntRect(0, 192, 2048, 1152));
        page.setScale(tw / 2048, th / 1152);
        page.setPosition((n % cols) * tw, (n / cols) * th);
        rt.draw(page);
    }
    (void)sc;
    save(rt, "makingof_pages.png");
}

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: contact_sheets <folder holding graphs/> <output folder>" << std::endl;
        return 2;
    }
    assetsFolder = argv[1];
    outputFolder = argv[2];
    std::filesystem::create_directories(outputFolder);
    ParticleLifeOnEachRoute();
    EveryRegularAnimation();
    EveryLandingAtItsCatchPoint();
    PlayScreens();
    Menus();
    MakingOfPages();
    std::cout << "contact sheets in " << outputFolder << (failures ? " (with failures)" : "")
              << std::endl;
    return failures ? 1 : 0;
}
