// A window that changes size at run time is laid out exactly as a game started at that
// size: every sprite, text and geometry field, on each screen, mid-slide or at rest.
#include <functional>
#include <sstream>
#include <vector>

#include "core/songs.h"
#include "ui_gfx/interface_fixture.h"

using uitest::writePicture;

namespace {

std::string describe(const char* name, const sf::Sprite& s) {
    std::ostringstream out;
    const sf::IntRect r = s.getTextureRect();
    out << name << " at " << s.getPosition().x << "," << s.getPosition().y << " scale "
        << s.getScale().x << "," << s.getScale().y << " rect " << r.left << "," << r.top << ","
        << r.width << "," << r.height << " alpha " << int(s.getColor().a);
    return out.str();
}

std::string describe(const char* name, const sf::Text& t) {
    std::ostringstream out;
    out << name << " at " << t.getPosition().x << "," << t.getPosition().y << " scale "
        << t.getScale().x << "," << t.getScale().y << " '" << t.getString().toAnsiString() << "'";
    return out.str();
}

// Everything the layout decides, one line per object, named.
std::vector<std::string> layoutOf(const Interface& ui) {
    std::vector<std::string> lines;
    std::ostringstream g;
    g << "geometry " << ui.windowWidth << "x" << ui.windowHeight << " in " << ui.screenWidth << "x"
      << ui.screenHeight << " at " << ui.areaLeft << "," << ui.areaTop << " rap " << ui.aspectRatio
      << " " << ui.profileName << " " << ui.referenceWidth << " " << ui.scaleX << " " << ui.scaleY
      << " " << ui.menuTopOffset << " " << ui.pauseHiddenOffset;
    lines.push_back(g.str());
    std::ostringstream slides;
    slides << "slides " << ui.slideX << "," << ui.slideY << " target " << ui.slideTargetX << ","
           << ui.slideTargetY << " page " << ui.pageWidth << "," << ui.pageOffset << " hud "
           << ui.hudStartY << "," << ui.hudRise << " atlas " << ui.atlasX << "," << ui.atlasY;
    lines.push_back(slides.str());
    std::ostringstream board;
    board << "board " << ui.boardTexture.getSize().x << "x" << ui.boardTexture.getSize().y
          << " smooth " << ui.boardTexture.isSmooth() << " centre smooth "
          << ui.centreTexture.isSmooth();
    lines.push_back(board.str());
    lines.push_back(describe("centreSprite", ui.centreSprite));
    lines.push_back(describe("pauseSprite", ui.pauseSprite));
    lines.push_back(describe("panelSprite", ui.panelSprite));
    lines.push_back(describe("atlasSprite", ui.atlasSprite));
    lines.push_back(describe("scoreBarSprite", ui.scoreBarSprite));
    lines.push_back(describe("makingOfPageSprite", ui.makingOfPageSprite));
    lines.push_back(describe("makingOfNextSprite", ui.makingOfNextSprite));
    lines.push_back(describe("hintSprite", ui.hintSprite));
    lines.push_back(describe("volumeSprite", ui.volumeSprite));
    for (std::size_t k = 0; k < ui.menuTextSprites.size(); ++k) {
        lines.push_back(describe(("menuText" + std::to_string(k)).c_str(), ui.menuTextSprites[k]));
    }
    for (std::size_t k = 0; k < ui.tutorialSprites.size(); ++k) {
        lines.push_back(describe(("tutorial" + std::to_string(k)).c_str(), ui.tutorialSprites[k]));
    }
    for (std::size_t k = 0; k < ui.dotSprites.size(); ++k) {
        lines.push_back(describe(("dot" + std::to_string(k)).c_str(), ui.dotSprites[k]));
    }
    lines.push_back(describe("headlineText", ui.headlineText));
    lines.push_back(describe("resultText", ui.resultText));
    lines.push_back(describe("counterText", ui.counterText));
    for (int i = 0; i < 4; ++i) {
        lines.push_back(describe(("scoreText" + std::to_string(i)).c_str(), ui.scoreTexts[i]));
        lines.push_back(
            describe(("exploreTime" + std::to_string(i)).c_str(), ui.exploreTimeTexts[i]));
    }
    return lines;
}

struct Screen {
    const char* name;
    std::function<void(Interface&, const sf::Texture&)> reach;
};

void openList(Interface& ui, int choice) {
    ui.MenuChoice = choice;
    ui.openPanel();
    ui.animatePanel(2.0f);
    ui.Screen = choice == ChoiceDown ? MakingOf : LevelSelect;
}

void startPlay(Interface& ui, int screen) {
    sf::Texture button;
    std::vector<sf::Texture> slimes(4);
    ui.loadPlayImages(0, button, slimes);
    ui.Screen = screen;
    ui.showBoard();
    ui.resetHud(screen == Exploring);
}

const Screen screens[] = {
    {"main menu at start", [](Interface&, const sf::Texture&) {}},
    {"song list sliding in",
     [](Interface& ui, const sf::Texture&) {
         ui.MenuChoice = ChoiceRight;
         ui.openPanel();
         ui.animatePanel(0.4f);
     }},
    {"song list pointing at a song",
     [](Interface& ui, const sf::Texture& atlas) {
         openList(ui, ChoiceRight);
         ui.startAtlasAnim(true, atlas);
         ui.placeAtlas(3, false);
         ui.stepAtlasAnim(0.1f);
     }},
    {"explore list closing",
     [](Interface& ui, const sf::Texture&) {
         openList(ui, ChoiceLeft);
         ui.closePanel();
         ui.animatePanel(0.3f);
     }},
    {"making-of turning a page",
     [](Interface& ui, const sf::Texture&) {
         openList(ui, ChoiceDown);
         ui.turnMakingOfPage(true);
         ui.animatePageTurn(0.45f);
     }},
    {"tutorial",
     [](Interface& ui, const sf::Texture&) {
         startPlay(ui, Tutorial);
         ui.loadTutorial();
     }},
    {"play paused",
     [](Interface& ui, const sf::Texture&) {
         openList(ui, ChoiceRight);
         startPlay(ui, Playing);
         ui.togglePause();
         ui.animatePause(2.0f);
     }},
    {"results sliding down",
     [](Interface& ui, const sf::Texture&) {
         // The song is completed already: the record texts keep the strings they were
         // laid out with.
         ui.bestCompletion[songOfMode[0]] = 1.0f;
         openList(ui, ChoiceRight);
         startPlay(ui, Playing);
         ui.Screen = Results;
         ui.showResults(1234, 1.0f, 80.0f, false, 0);
         ui.animatePause(0.35f);
     }},
    {"explore play, HUD rising",
     [](Interface& ui, const sf::Texture&) {
         openList(ui, ChoiceLeft);
         startPlay(ui, Exploring);
         ui.animateHud(0.3f);
     }},
};

class Relayout : public uitest::InterfaceTest {
protected:
    void SetUp() override {
        InterfaceTest::SetUp();
        ASSERT_TRUE(uitest::writeMenuPictures());
        // Each picture set's board has its own size, so a reload shows.
        ASSERT_TRUE(writePicture("graphs/Board/plateau_0_1600_900.jpg", 160, 90));
        ASSERT_TRUE(writePicture("graphs/Board/plateau_0_1600_1000.jpg", 160, 100));
        ASSERT_TRUE(writePicture("graphs/Board/plateau_0_2048_1536.jpg", 204, 153));
        ASSERT_TRUE(writePicture("graphs/Button/b0.png", 20, 10));
        for (int i = 0; i < 4; ++i) {
            ASSERT_TRUE(writePicture("graphs/Slime/p0" + std::to_string(i) + ".png", 11, 5));
        }
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(
                writePicture("graphs/Menu/makingof/mof" + std::to_string(i) + ".jpg", 2048, 1536));
        }
        ASSERT_TRUE(writePicture("graphs/Menu/animVolume.png", 600, 460));
        for (int i = 0; i < 7; ++i) {
            ASSERT_TRUE(writePicture("graphs/Tuto/tut" + std::to_string(i) + ".png", 900, 300));
        }
        sf::Image image;
        image.create(400, 400, sf::Color::White);
        ASSERT_TRUE(atlas.loadFromImage(image));
    }

    // The layout of an interface that reached the screen at one size, then was laid out
    // at another (or none).
    std::vector<std::string> layoutAfter(const Screen& screen, sf::Vector2f startSize,
                                         const sf::Vector2f* newSize) {
        build(startSize.x, startSize.y);
        uitest::Capture out(std::cout);
        uitest::Capture err(std::cerr);
        if (!ui->loadImages()) return {"loadImages failed"};
        screen.reach(*ui, atlas);
        if (newSize) ui->layout(newSize->x, newSize->y);
        return layoutOf(*ui);
    }
    sf::Texture atlas;
};

}  // namespace

TEST_F(Relayout, ASizeReachedAtRunTimeLaysOutAsAFreshStart) {
    const sf::Vector2f sizes[] = {{1920, 1080}, {1280, 720}, {1024, 768}};
    const sf::Vector2f earlier[] = {{1680, 1050}, {1000, 1000}, {2560, 1080}};
    for (const Screen& screen : screens) {
        for (const sf::Vector2f& size : sizes) {
            const std::vector<std::string> fresh = layoutAfter(screen, size, nullptr);
            for (const sf::Vector2f& from : earlier) {
                const std::vector<std::string> switched = layoutAfter(screen, from, &size);
                ASSERT_EQ(fresh.size(), switched.size()) << screen.name;
                for (std::size_t i = 0; i < fresh.size(); ++i) {
                    EXPECT_EQ(fresh[i], switched[i]) << screen.name << ": " << from.x << "x"
                                                     << from.y << " -> " << size.x << "x" << size.y;
                }
            }
        }
    }
}
