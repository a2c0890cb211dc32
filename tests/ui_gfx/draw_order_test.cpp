// What the Interface draws on each screen, seen on the rendered picture. Each layer
// expected on a screen gets a marker colour and covers the picture from its own column to
// the right edge, so every column shows its own layer only if the layers were drawn in
// order. Layers that must not be drawn cover the whole picture, including a top band that
// no expected layer reaches.
#include <cstdlib>
#include <vector>

#include "ui_gfx/interface_fixture.h"

namespace {
const unsigned width = 300;  // room for 29 layers, a column each, and a free one
const unsigned height = 60;
const unsigned column = 10;
const unsigned band = 10;

struct Layer {
    sf::Sprite* sprite;
    sf::Text* text;
    bool multiply;
};
Layer S(sf::Sprite& s) {
    return {&s, nullptr, false};
}
Layer M(sf::Sprite& s) {
    return {&s, nullptr, true};
}  // drawn with multiplicative blending
Layer T(sf::Text& t) {
    return {nullptr, &t, false};
}

sf::Color markerOf(std::size_t k, bool multiply) {
    if (multiply) return sf::Color(128, 255, 64);
    return sf::Color(static_cast<sf::Uint8>(60 + k * 37 % 190),
                     static_cast<sf::Uint8>(40 + k * 71 % 200),
                     static_cast<sf::Uint8>(200 - k * 23 % 150));
}
}  // namespace

class DrawOrder : public uitest::InterfaceTest {
protected:
    void SetUp() override {
        InterfaceTest::SetUp();
        sf::Image white;
        white.create(width, height, sf::Color::White);
        ASSERT_TRUE(marker.loadFromImage(white) && target.create(width, height));
        ASSERT_TRUE(font.loadFromFile(uitest::systemFont()));
        ui->tutorialSprites.resize(7);
        sprites = {&ui->centreSprite,       &ui->pauseSprite,       &ui->panelSprite,
                   &ui->atlasSprite,        &ui->scoreBarSprite,    &ui->makingOfPageSprite,
                   &ui->makingOfNextSprite, &ui->hintSprite,        &ui->volumeSprite,
                   &ui->optionsSprite,      &ui->optionsBandSprite, &ui->optionsFillSprite,
                   &ui->optionsKnobSprite};
        for (auto* list : {&ui->menuTextSprites, &ui->tutorialSprites, &ui->dotSprites}) {
            for (sf::Sprite& s : *list) sprites.push_back(&s);
        }
        texts = {&ui->headlineText, &ui->resultText, &ui->counterText};
        for (int i = 0; i < 4; ++i) texts.push_back(&ui->scoreTexts[i]);
        for (int i = 0; i < 4; ++i) texts.push_back(&ui->exploreTimeTexts[i]);
        for (sf::Text& t : ui->optionsTexts) texts.push_back(&t);
        for (sf::Text& t : ui->optionsKeyTexts) texts.push_back(&t);
        texts.push_back(&ui->optionsHint);
        for (sf::Text* t : texts) {
            t->setFont(font);
            t->setString(sf::String(static_cast<sf::Uint32>(0x2588)));  // a full block
            t->setCharacterSize(150);
        }
    }

    void place(sf::Sprite& s, unsigned left, unsigned top, sf::Color colour) {
        s.setTexture(marker);
        s.setTextureRect(sf::IntRect(0, 0, int(width - left), int(height - top)));
        s.setPosition(float(left), float(top));
        s.setScale(1, 1);
        s.setColor(colour);
    }
    // The block's soft edges start 3 pixels early, so the middle of its column is solid.
    void place(sf::Text& t, unsigned left, unsigned top, sf::Color colour) {
        const float start = left >= 3 ? float(left) - 3 : 0.0f;
        const sf::FloatRect glyph = t.getLocalBounds();
        t.setOrigin(glyph.left, glyph.top);
        t.setScale((float(width) - start) / glyph.width, float(height - top + 6) / glyph.height);
        t.setPosition(start, float(top) - 3);
        t.setFillColor(colour);
    }

    sf::Image render(const sf::RenderStates& states = sf::RenderStates::Default) {
        target.clear(sf::Color::Black);
        target.draw(*ui, states);
        target.display();
        return target.getTexture().copyToImage();
    }

    void expectLayers(const std::vector<Layer>& layers) {
        for (sf::Sprite* s : sprites) place(*s, 0, 0, sf::Color::Magenta);
        for (sf::Text* t : texts) place(*t, 0, 0, sf::Color::Magenta);
        for (std::size_t k = 0; k < layers.size(); ++k) {
            const sf::Color colour = markerOf(k, layers[k].multiply);
            if (layers[k].sprite) place(*layers[k].sprite, unsigned(k) * column, band, colour);
            if (layers[k].text) place(*layers[k].text, unsigned(k) * column, band, colour);
        }
        const sf::Image picture = render();
        sf::Color below = sf::Color::Black;
        for (std::size_t k = 0; k < layers.size(); ++k) {
            sf::Color expected = markerOf(k, layers[k].multiply);
            if (layers[k].multiply) expected = expected * below;
            const sf::Color seen = picture.getPixel(unsigned(k) * column + column / 2, 35);
            EXPECT_LE(std::abs(seen.r - expected.r) + std::abs(seen.g - expected.g) +
                          std::abs(seen.b - expected.b),
                      6)
                << "layer " << k << " is not the one on top in its column";
            below = expected;
        }
        EXPECT_EQ(picture.getPixel(width - 5, band / 2), sf::Color::Black)
            << "a layer not expected on this screen was drawn";
    }

    std::vector<sf::Sprite*> sprites;
    std::vector<sf::Text*> texts;
    sf::Texture marker;
    sf::Font font;
    sf::RenderTexture target;
};

TEST_F(DrawOrder, MainMenuItemsOverCentreAndHint) {
    ui->hintVisible = true;
    auto& items = ui->menuTextSprites;
    expectLayers({S(ui->panelSprite), S(ui->centreSprite), S(ui->hintSprite), S(items[0]),
                  M(items[1]), M(items[2]), M(items[3])});
}

TEST_F(DrawOrder, ScoredLevelSelectionDotsScoresThenSprite) {
    ui->Screen = LevelSelect;
    ui->MenuChoice = ChoiceRight;
    ui->atlasVisible = true;
    auto& t = ui->scoreTexts;
    auto& d = ui->dotSprites;
    expectLayers({S(ui->panelSprite), S(ui->centreSprite), M(ui->menuTextSprites[4]), S(d[0]),
                  S(d[1]), S(d[2]), S(d[3]), T(t[0]), T(t[1]), T(t[2]), T(t[3]),
                  S(ui->atlasSprite)});
}

TEST_F(DrawOrder, ClosingExplorePanelShowsMenuItemsUnderItsTimes) {
    ui->Screen = LevelSelect;
    ui->MenuChoice = ChoiceLeft;
    ui->panelClosing = true;
    auto& items = ui->menuTextSprites;
    auto& t = ui->exploreTimeTexts;
    expectLayers({S(ui->panelSprite), S(ui->centreSprite), S(items[0]), M(items[1]), M(items[2]),
                  M(items[3]), M(items[5]), T(t[0]), T(t[1]), T(t[2]), T(t[3])});
}

TEST_F(DrawOrder, NoPanelContentsForOtherChoices) {
    ui->Screen = LevelSelect;
    for (int choice : {0, 2, 4}) {
        ui->MenuChoice = choice;
        expectLayers({S(ui->panelSprite), S(ui->centreSprite)});
    }
}

// The options panel under the sliding menu while it comes, alone once it is open; the side
// panel's picture is not drawn with it.
TEST_F(DrawOrder, OptionsPanelWithItsBandSliderAndValues) {
    ui->MenuChoice = ChoiceUp;
    ui->Screen = MainMenu;
    ui->panelOpening = true;
    auto& items = ui->menuTextSprites;
    auto& v = ui->optionsTexts;
    auto& k = ui->optionsKeyTexts;
    expectLayers({S(ui->optionsSprite),
                  S(ui->optionsBandSprite),
                  S(ui->optionsFillSprite),
                  S(ui->optionsKnobSprite),
                  T(v[0]),
                  T(v[1]),
                  T(v[2]),
                  T(v[3]),
                  T(v[4]),
                  T(v[5]),
                  T(v[6]),
                  T(k[0]),
                  T(k[1]),
                  T(k[2]),
                  T(k[3]),
                  T(ui->optionsHint),
                  S(ui->centreSprite),
                  S(items[0]),
                  M(items[1]),
                  M(items[2]),
                  M(items[3])});
    ui->panelOpening = false;
    ui->Screen = OptionsPanel;
    expectLayers({S(ui->optionsSprite), S(ui->optionsBandSprite), S(ui->optionsFillSprite),
                  S(ui->optionsKnobSprite), T(v[0]), T(v[1]), T(v[2]), T(v[3]), T(v[4]), T(v[5]),
                  T(v[6]), T(k[0]), T(k[1]), T(k[2]), T(k[3]), T(ui->optionsHint),
                  S(ui->centreSprite)});
}

TEST_F(DrawOrder, MakingOfVolumeButtonOnlyOnTheFirstPageNotTurningForward) {
    ui->Screen = MakingOf;
    ui->MenuChoice = ChoiceDown;
    expectLayers({S(ui->makingOfPageSprite), S(ui->volumeSprite), S(ui->centreSprite)});
    ui->pageTurnBack = true;
    expectLayers({S(ui->makingOfNextSprite), S(ui->makingOfPageSprite), S(ui->volumeSprite),
                  S(ui->centreSprite)});
    ui->pageTurnBack = false;
    ui->pageTurnForward = true;
    expectLayers({S(ui->makingOfNextSprite), S(ui->makingOfPageSprite), S(ui->centreSprite)});
    ui->pageTurnForward = false;
    ui->makingOfPage = 4;
    expectLayers({S(ui->makingOfPageSprite), S(ui->centreSprite)});
    ui->panelOpening = true;
    expectLayers({S(ui->panelSprite), S(ui->centreSprite)});
}

TEST_F(DrawOrder, HudOnPlaysAndNothingMoreOnResults) {
    ui->Screen = Playing;
    expectLayers({S(ui->centreSprite)});
    ui->counterVisible = true;
    expectLayers(
        {S(ui->centreSprite), S(ui->scoreBarSprite), T(ui->headlineText), T(ui->counterText)});
    ui->Screen = Exploring;
    expectLayers({S(ui->centreSprite), S(ui->scoreBarSprite), T(ui->headlineText)});
    ui->Screen = Results;
    ui->pauseShown = true;
    expectLayers({S(ui->centreSprite)});
}

TEST_F(DrawOrder, TutorialPagesPileUpOverTheHint) {
    ui->Screen = Tutorial;
    auto& p = ui->tutorialSprites;
    ui->tutorialStep = 2;
    expectLayers({S(ui->centreSprite), S(p[0]), S(p[1]), S(p[2])});
    ui->tutorialStep = 7;
    ui->tutorialOverlay = 1;
    expectLayers({S(ui->centreSprite), S(p[5]), S(p[0]), S(p[1]), S(p[2]), S(p[3]), S(p[4])});
    ui->tutorialSprites.clear();  // not loaded: nothing is read past the list
    expectLayers({S(ui->centreSprite)});
}

TEST_F(DrawOrder, HintAndMakingOfPageIgnoreTheGivenTransform) {
    ui->Screen = MakingOf;
    ui->makingOfPage = 3;
    ui->hintVisible = true;
    place(ui->makingOfPageSprite, 0, band, sf::Color::Red);
    place(ui->centreSprite, 100, band, sf::Color::Green);
    ui->centreSprite.move(float(width), 0);  // out of the picture by itself
    place(ui->hintSprite, width - 50, band, sf::Color::Blue);
    sf::RenderStates shifted;
    shifted.transform.translate(-float(width), 0);
    const sf::Image picture = render(shifted);
    EXPECT_EQ(picture.getPixel(width - 75, 30), sf::Color::Green);  // follows the states
    EXPECT_EQ(picture.getPixel(5, 30), sf::Color::Red);
    EXPECT_EQ(picture.getPixel(width - 5, 30), sf::Color::Blue);
}

TEST_F(DrawOrder, LockedExploreItemLooksFadedUnlockedOneMultiplies) {
    for (sf::Sprite* s : sprites) s->setPosition(-1000.0f, -1000.0f);
    for (sf::Text* t : texts) t->setPosition(-1000.0f, -1000.0f);
    place(ui->centreSprite, 0, 0, sf::Color::White);
    place(ui->menuTextSprites[3], 100, 0, sf::Color(0, 0, 0, 50));  // ink, locked
    sf::Color locked = render().getPixel(150, 30);
    EXPECT_GT(locked.r, 150) << "a locked item must only tint what lies below";
    ui->menuTextSprites[3].setColor(sf::Color(0, 0, 0, 255));  // unlocked at the first catch
    sf::Color open = render().getPixel(150, 30);
    EXPECT_LT(open.r, 10);
    EXPECT_EQ(render().getPixel(50, 30), sf::Color::White);
}
