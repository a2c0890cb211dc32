// Alt+Return switches between full screen and the window on every screen, keeping every
// picture; a wide screen shows the 16:9 pictures whole in its middle, and the mouse hits
// what is drawn there.
#include <gtest/gtest.h>

#include <vector>

#include "app/app.h"
#include "board/particle.h"
#include "board/route.h"
#include "game/game.h"
#include "scripted_player.h"
#include "support/game_folder.h"
#include "support/scripted_platform.h"
#include "ui/interface.h"

namespace {

void altReturn(ScriptedPlayer& player) {
    sf::Event e;
    e.type = sf::Event::KeyPressed;
    e.key.code = sf::Keyboard::Return;
    e.key.alt = true;
    e.key.control = e.key.shift = e.key.system = false;
    player.platform.push(e);
    e.type = sf::Event::KeyReleased;
    player.platform.push(e);
    player.frame();
}

// The GL names of the pictures loaded at start-up and of the play: unchanged as long as no
// picture is loaded again.
std::vector<unsigned> textureNames(const App& app) {
    const Interface& ui = *app.iface;
    std::vector<unsigned> names = {
        ui.centreTexture.getNativeHandle(),   ui.pauseTexture.getNativeHandle(),
        ui.scoreBarTexture.getNativeHandle(), ui.hintTexture.getNativeHandle(),
        ui.dotTexture.getNativeHandle(),      app.buttonTexture.getNativeHandle()};
    for (const sf::Texture& t : ui.menuTextTextures) names.push_back(t.getNativeHandle());
    for (const sf::Texture& t : ui.sideTextures) names.push_back(t.getNativeHandle());
    for (const sf::Texture& t : app.gaugeTextures) names.push_back(t.getNativeHandle());
    for (const sf::Texture& t : app.slimeTextures) names.push_back(t.getNativeHandle());
    for (const auto& list : app.atlasTextures) {
        for (const sf::Texture& t : list) names.push_back(t.getNativeHandle());
    }
    return names;
}

bool isBlack(const sf::Image& frame, unsigned x, unsigned y) {
    const sf::Color c = frame.getPixel(x, y);
    return c.r == 0 && c.g == 0 && c.b == 0;
}

// The board of the play follows the board width and offset of the window.
void expectBoardFollows(const App& app) {
    const float scale = static_cast<float>(app.windowWidth) / 2048.0f;
    EXPECT_FLOAT_EQ(Route::boardScale, scale);
    EXPECT_FLOAT_EQ(Particle::boardScale, scale);
    EXPECT_EQ(Route::menuTopOffset, app.iface->menuTopOffset);
    EXPECT_EQ(app.keptScaleX, app.iface->scaleX);
    const Route& route = app.game->routes[1];
    EXPECT_FLOAT_EQ(route.buttonPosX, scale * buttonAnchors[1][0]);
    EXPECT_FLOAT_EQ(route.buttonPosY, scale * (buttonAnchors[1][1] - app.iface->menuTopOffset));
    for (const Route& r : app.game->routes) {
        for (const Particle& p : r.particles) {
            if (p.anim == -1 || p.stage != 3) continue;
            EXPECT_FLOAT_EQ(p.posX, scale * catchPoint[p.route][0]);
        }
    }
}

}  // namespace

TEST(WindowSwitch, AltReturnOnTheMenuAndInAPlayKeepsEveryPicture) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    Session s(2560, 1080);  // a 21:9 desktop
    ASSERT_EQ(s.start(), -1);
    App& app = s.app;
    Interface& ui = *app.iface;
    s.player.wait(0.5f);
    {
        const sf::Image frame = s.platform.lastFrame();
        ASSERT_EQ(frame.getSize(), sf::Vector2u(2560, 1080));
        EXPECT_EQ(ui.areaLeft, 320.0f);
        EXPECT_EQ(ui.windowWidth, 1920.0f);
        EXPECT_TRUE(isBlack(frame, 100, 540)) << "left bar";
        EXPECT_TRUE(isBlack(frame, 2459, 540)) << "right bar";
        EXPECT_FALSE(isBlack(frame, 330, 540)) << "left edge of the menu";
        EXPECT_FALSE(isBlack(frame, 2230, 540)) << "right edge of the menu";
    }
    const std::vector<unsigned> names = textureNames(app);
    const int opened = s.platform.windowsOpened;

    altReturn(s.player);  // to the window
    EXPECT_EQ(s.platform.windowsOpened, opened + 1);
    EXPECT_FALSE(s.platform.windowRequest.fullscreen);
    EXPECT_EQ(s.platform.size, sf::Vector2u(1280, 720));
    EXPECT_EQ(ui.windowWidth, 1280.0f);
    EXPECT_EQ(ui.areaLeft, 0.0f);
    EXPECT_FLOAT_EQ(Particle::boardScale, 1280.0f / 2048.0f);
    s.player.wait(0.2f);
    EXPECT_FALSE(isBlack(s.platform.lastFrame(), 640, 20)) << "the menu in the window";
    altReturn(s.player);  // and back to full screen
    EXPECT_TRUE(s.platform.windowRequest.fullscreen);
    EXPECT_EQ(s.platform.size, sf::Vector2u(2560, 1080));
    EXPECT_EQ(textureNames(app), names);
    EXPECT_EQ(ui.Screen, MainMenu) << "Return with Alt reaches no screen";

    // A click where the second row of the song list is drawn starts its song.
    ASSERT_TRUE(s.player.openSongList(false));
    s.player.clickAt(ui.areaLeft + 1000 * ui.windowWidth / 2048, 997 * ui.windowHeight / 1536);
    ASSERT_EQ(ui.Screen, Playing);
    EXPECT_EQ(app.game->mode, 1);
    s.player.wait(3.0f);
    const std::vector<unsigned> playNames = textureNames(app);
    const unsigned board = ui.boardTexture.getNativeHandle();

    altReturn(s.player);  // during the play
    EXPECT_EQ(ui.Screen, Playing);
    expectBoardFollows(app);
    s.player.wait(1.0f);
    s.player.tap(sf::Keyboard::Space);
    s.player.wait(1.5f);
    ASSERT_TRUE(ui.pauseShown);
    altReturn(s.player);  // paused
    EXPECT_TRUE(s.platform.windowRequest.fullscreen);
    expectBoardFollows(app);
    EXPECT_EQ(ui.pauseSprite.getPosition().y, 0.0f);
    EXPECT_EQ(textureNames(app), playNames);
    EXPECT_EQ(ui.boardTexture.getNativeHandle(), board);
    s.player.tap(sf::Keyboard::Space);
    s.player.wait(2.0f);
    EXPECT_FALSE(ui.pauseShown);
    EXPECT_FALSE(isBlack(s.platform.lastFrame(), 330, 540)) << "the board's left edge";
}

// A 4:3 desktop and a 16:9 window use two picture sets: switching during a play reads the
// board picture of the other set, and only that one.
TEST(WindowSwitch, AnotherPictureSetReloadsOnlyTheBoard) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    Session s(1024, 768);
    ASSERT_EQ(s.start(), -1);
    App& app = s.app;
    Interface& ui = *app.iface;
    ASSERT_TRUE(s.player.openSongList(false));
    ASSERT_TRUE(s.player.startListPosition(0));
    s.player.wait(1.0f);
    ASSERT_EQ(ui.profileName, "2048_1536");
    EXPECT_EQ(ui.boardTexture.getSize().x, 2048u);
    const std::vector<unsigned> names = textureNames(app);

    altReturn(s.player);  // a 1280 x 720 window, shrunk to 1024 x 576 on this desktop
    EXPECT_EQ(s.platform.size, sf::Vector2u(1024, 576));
    EXPECT_EQ(ui.profileName, "1600_900");
    EXPECT_EQ(ui.boardTexture.getSize().x, 1600u);
    EXPECT_EQ(textureNames(app), names);
    expectBoardFollows(app);
    EXPECT_FLOAT_EQ(ui.centreSprite.getScale().x, 1024.0f / 1600.0f);
    s.player.wait(1.0f);

    altReturn(s.player);
    EXPECT_EQ(ui.profileName, "2048_1536");
    EXPECT_EQ(ui.boardTexture.getSize().x, 2048u);
    expectBoardFollows(app);
}
