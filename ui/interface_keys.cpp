// The routes' keys on the pictures. The pictures are drawn with the default keys; when a key
// is bound to another, the regions of a picture that show it are covered with the picture's
// key patches (the same regions drawn without keys) and the bound keys' names are written
// there, in the game's font at the size and in the colour of the drawn ones. The picture's
// texture is changed once, as it is loaded: drawing it costs nothing more, and nothing beyond
// the pictures is read while the keys are the defaults.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "assets/asset_files.h"
#include "ui/interface.h"
#include "ui/key_places.h"

namespace {
namespace K = KeyPlaces;

// The routes' dark colours, in which their keys are written, and the tutorial's text colour.
const sf::Color keyColours[4] = {{122, 51, 13}, {15, 61, 115}, {77, 31, 107}, {31, 87, 20}};
const sf::Color sentenceColour(247, 242, 230);

// The size at which the fonts' advances are measured: large enough that they come out as
// the font draws them unhinted, as the generator lays out its texts.
const unsigned measureSize = 128;

// The two weights of the font: the keys are drawn with the game's own (bold) and measured
// with a copy; the tutorial's sentences are drawn and measured with the regular one. The
// copies are read for the occasion, and go with their glyphs once the pictures are written.
struct Fonts {
    const sf::Font* bold = nullptr;
    sf::Font boldMeasure;
    sf::Font regular;

    bool load(const sf::Font& game, bool sentences) {
        bold = &game;
        return boldMeasure.loadFromFile(fontFile()) &&
               (!sentences || regular.loadFromFile(sentenceFontFile()));
    }
};

// A text of the pictures: a string in a font at a size (canvas units, drawn scale times
// larger), each character where the font's unhinted advances and kerning put it.
struct Run {
    std::vector<sf::Text> glyphs;
    std::vector<float> offsets;  // from the run's left, canvas units
    float width = 0.0f;          // advance, canvas units

    Run(const std::string& string, const sf::Font& font, const sf::Font& measure, double size,
        double scale) {
        // Rasterised at the size it is shown at, in whole pixels.
        const unsigned characterSize =
            std::max(1u, static_cast<unsigned>(std::lround(size * scale)));
        const float factor = static_cast<float>(size) / static_cast<float>(characterSize);
        const float unit = static_cast<float>(size) / static_cast<float>(measureSize);
        sf::Uint32 previous = 0;
        for (sf::Uint32 c : sf::String::fromUtf8(string.begin(), string.end())) {
            if (previous != 0) width += measure.getKerning(previous, c, measureSize) * unit;
            sf::Text glyph(sf::String(c), font, characterSize);
            glyph.setScale(factor, factor);
            glyphs.push_back(glyph);
            offsets.push_back(width);
            width += measure.getGlyph(c, measureSize, false).advance * unit;
            previous = c;
        }
    }
    // Left end of the advance at x, baseline at y (a text's baseline lies its character size
    // below its top).
    void place(float x, float baseline) {
        for (size_t i = 0; i < glyphs.size(); ++i) {
            const float size = static_cast<float>(glyphs[i].getCharacterSize());
            glyphs[i].setPosition(x + offsets[i], baseline - size * glyphs[i].getScale().y);
        }
    }
    void draw(sf::RenderTarget& target, const sf::Transform& transform, sf::Color colour) {
        for (sf::Text& glyph : glyphs) {
            glyph.setFillColor(colour);
            target.draw(glyph, sf::RenderStates(transform));
        }
    }
};

void drawLabel(sf::RenderTarget& target, const sf::Transform& transform, const K::Label& label,
               const std::string& name, Fonts& fonts, double scale) {
    Run run(name, *fonts.bold, fonts.boldMeasure, label.size, scale);
    const float room = static_cast<float>(label.right - label.left);
    if (run.width > room && run.width > 0) {
        run = Run(name, *fonts.bold, fonts.boldMeasure, label.size * room / run.width, scale);
    }
    float x = static_cast<float>(label.centreX) - run.width / 2;
    x = std::max(x, static_cast<float>(label.left));
    x = std::min(x, static_cast<float>(label.right) - run.width);
    run.place(x, static_cast<float>(label.top + K::ascent * label.size));
    sf::Color colour = keyColours[label.route];
    colour.a = static_cast<sf::Uint8>(std::lround(label.alpha * 255));
    run.draw(target, transform, colour);
}

// A tutorial sentence: its words wrapped as the generator wraps them, each line centred, the
// keys in the game's (bold) font and the rest in the regular one.
void drawSentence(sf::RenderTarget& target, const sf::Transform& transform,
                  const K::TutorialKeyPage& page, const std::array<std::string, 4>& names,
                  Fonts& fonts) {
    const double size = K::sentenceSize;
    struct Word {
        std::vector<Run> runs;
        float width = 0.0f;
    };
    std::vector<Word> words(1);
    auto add = [&](const std::string& piece, bool bold) {
        if (piece.empty()) return;
        words.back().runs.emplace_back(piece, bold ? *fonts.bold : fonts.regular,
                                       bold ? fonts.boldMeasure : fonts.regular, size, 1.0);
        words.back().width += words.back().runs.back().width;
    };
    for (int i = 0; i < page.partCount; ++i) {
        const K::SentencePart& part = page.parts[i];
        if (!part.text) {
            add(names[part.route], true);
            continue;
        }
        std::string piece;
        for (const char* c = part.text; *c; ++c) {
            if (*c != ' ') {
                piece += *c;
                continue;
            }
            add(piece, false);
            piece.clear();
            if (!words.back().runs.empty()) words.emplace_back();
        }
        add(piece, false);
    }
    if (words.back().runs.empty()) words.pop_back();
    const float space = Run(" ", fonts.regular, fonts.regular, size, 1.0).width;
    // Lines: as many words as fit the wrap width, at least one.
    std::vector<std::pair<size_t, size_t>> lines;
    std::vector<float> widths;
    for (size_t w = 0; w < words.size();) {
        size_t end = w + 1;
        float width = words[w].width;
        while (end < words.size() && width + space + words[end].width <= K::sentenceWrap) {
            width += space + words[end].width;
            ++end;
        }
        lines.emplace_back(w, end);
        widths.push_back(width);
        w = end;
    }
    const double lineHeight = K::lineHeight * size;
    const double blockHeight = std::ceil(lineHeight * static_cast<double>(lines.size()));
    const double blockTop = page.bandTop + (K::tutorialBandHeight - blockHeight) / 2;
    for (size_t l = 0; l < lines.size(); ++l) {
        float x = static_cast<float>(K::sentenceCentreX) - widths[l] / 2;
        const float baseline =
            static_cast<float>(blockTop + lineHeight * static_cast<double>(l) + K::ascent * size);
        for (size_t w = lines[l].first; w < lines[l].second; ++w) {
            for (Run& run : words[w].runs) {
                run.place(x, baseline);
                run.draw(target, transform, sentenceColour);
                x += run.width;
            }
            x += space;
        }
    }
}

bool rebound(const std::array<std::string, 4>& names, int route) {
    return names[static_cast<size_t>(route)] != K::drawnKeys[route];
}

// Covers the patches of a picture that hold a key bound to another and writes the names
// there (with the sentence of a tutorial page). The picture is drawn from the canvas at scale,
// from the canvas height fromTop. False when the patches cannot be read: the picture is then
// left as it is.
bool writeKeys(sf::Texture& picture, const std::string& patchFile, const K::Patch* patches,
               int count, double scale, double fromTop, const std::array<std::string, 4>& names,
               Fonts& fonts, const K::TutorialKeyPage* sentencePage) {
    std::vector<bool> redraw(static_cast<size_t>(count), false);
    bool any = false;
    for (int i = 0; i < count; ++i) {
        bool keys = rebound(names, patches[i].label.route);
        for (int p = 0; sentencePage && p < sentencePage->partCount; ++p) {
            if (!sentencePage->parts[p].text)
                keys = keys || rebound(names, sentencePage->parts[p].route);
        }
        redraw[static_cast<size_t>(i)] = keys;
        any = any || keys;
    }
    if (!any) return true;
    sf::Texture sheet;
    if (!sheet.loadFromFile(patchFile)) return false;
    const sf::Vector2u size = picture.getSize();
    int sheetLeft = 0;
    for (int i = 0; i < count; ++i) {
        const K::PixelBox box = K::pixelBox(patches[i].box, scale, fromTop,
                                            static_cast<int>(size.x), static_cast<int>(size.y));
        const int left = sheetLeft;
        sheetLeft += box.width;
        if (!redraw[static_cast<size_t>(i)] || box.width <= 0 || box.height <= 0) continue;
        sf::RenderTexture patch;
        if (!patch.create(static_cast<unsigned>(box.width), static_cast<unsigned>(box.height)))
            return false;
        patch.clear(sf::Color::Transparent);
        sf::Sprite under(sheet, sf::IntRect(left, 0, box.width, box.height));
        patch.draw(under, sf::RenderStates(sf::BlendNone));
        // Canvas units to the patch's pixels.
        sf::Transform transform;
        transform.translate(static_cast<float>(-box.left), static_cast<float>(-box.top));
        transform.scale(static_cast<float>(scale), static_cast<float>(scale));
        transform.translate(0.0f, static_cast<float>(-fromTop));
        drawLabel(patch, transform, patches[i].label,
                  names[static_cast<size_t>(patches[i].label.route)], fonts, scale);
        if (sentencePage) drawSentence(patch, transform, *sentencePage, names, fonts);
        patch.display();
        picture.update(patch.getTexture().copyToImage(), static_cast<unsigned>(box.left),
                       static_cast<unsigned>(box.top));
    }
    return true;
}
}  // namespace

bool Interface::keysRebound() const {
    for (int r = 0; r < 4; ++r) {
        if (rebound(routeKeyNames, r)) return true;
    }
    return false;
}

void Interface::setRouteKeyNames(const std::array<std::string, 4>& names) {
    if (names == routeKeyNames) return;
    const bool before = keysRebound();
    routeKeyNames = names;
    if (menuTextTextures[MenuText::songListHeader].getSize().x == 0) return;  // not loaded yet
    // The song lists show the keys: drawn again from their files when keys were bound.
    for (int k : {MenuText::songListHeader, MenuText::exploreListHeader}) {
        if (before) menuTextTextures[static_cast<size_t>(k)].loadFromFile(menuTextPicture(k));
        writeSongListKeys(k);
    }
}

bool Interface::writeBoardKeys() {
    const K::BoardCut* cut = K::boardCut(profileName.c_str());
    if (!cut || boardMode < 0 || !keysRebound()) return true;
    Fonts fonts;
    if (!fonts.load(font, false)) return false;
    K::Patch patches[K::boardPatchCount];
    for (int i = 0; i < K::boardPatchCount; ++i) patches[i] = K::boardPatch(boardMode, i);
    return writeKeys(boardTexture, boardKeyPatches(boardMode, profileName), patches,
                     K::boardPatchCount, cut->scale, cut->fromTop, routeKeyNames, fonts, nullptr);
}

bool Interface::writeSongListKeys(int k) {
    if (!keysRebound()) return true;
    Fonts fonts;
    if (!fonts.load(font, false)) return false;
    K::Patch patches[K::songListPatchCount];
    for (int r = 0; r < 4; ++r) patches[r] = K::songListPatch(r);
    return writeKeys(menuTextTextures[static_cast<size_t>(k)], menuTextKeyPatches(k), patches,
                     K::songListPatchCount, 1.0, 0.0, routeKeyNames, fonts, nullptr);
}

bool Interface::writeTutorialKeys() {
    if (!keysRebound()) return true;
    Fonts fonts;
    if (!fonts.load(font, true)) return false;
    bool written = true;
    for (const K::TutorialKeyPage& page : K::tutorialKeyPages) {
        if (page.page >= static_cast<int>(tutorialTextures.size())) continue;
        const K::Patch patch = K::tutorialPatch(page);
        written = writeKeys(tutorialTextures[static_cast<size_t>(page.page)],
                            tutorialKeyPatches(page.page), &patch, 1, 1.0, 0.0, routeKeyNames,
                            fonts, &page) &&
                  written;
    }
    return written;
}
