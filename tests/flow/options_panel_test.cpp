// The options panel on the main menu's top direction: volume, display and frame pacing
// change at once, and settings.toml keeps them for the next start.
#include "app/options_panel.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/options.h"
#include "game/game.h"
#include "scripted_player.h"
#include "support/game_folder.h"
#include "support/scripted_platform.h"
#include "support/window_events.h"
#include "ui/interface.h"
#include "ui/options_layout.h"

namespace {

// The GL names of the pictures loaded so far: unchanged as long as none is loaded again.
std::vector<unsigned> textureNames(const App& app) {
    const Interface& ui = *app.iface;
    std::vector<unsigned> names = {
        ui.centreTexture.getNativeHandle(), ui.pauseTexture.getNativeHandle(),
        ui.optionsTexture.getNativeHandle(), ui.optionsPartsTexture.getNativeHandle()};
    for (const sf::Texture& t : ui.menuTextTextures) names.push_back(t.getNativeHandle());
    for (const sf::Texture& t : ui.sideTextures) names.push_back(t.getNativeHandle());
    for (const auto& list : app.atlasTextures) {
        for (const sf::Texture& t : list) names.push_back(t.getNativeHandle());
    }
    return names;
}

// The menu sounds follow the master volume: click, menu music, full-volume loop, error.
void expectMenuVolumes(const App& app, float volume) {
    EXPECT_FLOAT_EQ(app.iface->masterVolume, volume);
    EXPECT_FLOAT_EQ(app.game->volumeFactor, volume);
    EXPECT_FLOAT_EQ(app.menuSounds[0].getVolume(), 50.0f * volume);
    EXPECT_FLOAT_EQ(app.menuSounds[1].getVolume(), 60.0f * volume) << "the menu music";
    EXPECT_FLOAT_EQ(app.menuSounds[3].getVolume(), 50.0f * volume);
}

bool openOptions(ScriptedPlayer& player) {
    player.tap(sf::Keyboard::Up);
    return player.runUntil([&] { return player.app.iface->Screen == OptionsPanel; }, 3.0f);
}

// A window point of the panel at rest, from card units.
sf::Vector2f cardPoint(const Interface& ui, float x, float y) {
    const float c = ui.windowWidth / 2048;
    return sf::Vector2f(ui.areaLeft + (ui.windowWidth - OptionsLayout::cardWidth * c) / 2 + x * c,
                        ui.areaTop + (ui.windowHeight - OptionsLayout::cardHeight * c) / 2 + y * c);
}

}  // namespace

// Keys only, from the main menu: every row changes what it shows at once and writes only
// its own setting into the player's file, keeping the file's comments; a flag given for
// this run is not written back; the next start reads the changes.
TEST(OptionsPanel, KeysChangeEveryRowAndTheNextStartKeepsThem) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    std::string text = defaultSettingsText();
    text.replace(text.find("volume = 100"), 12, "volume = 80  # quiet evenings");
    text += "# the player's own note\n";
    {
        std::ofstream out(folder.file("settings.toml"));
        out << text;
    }
    CommandLine flags;
    flags.vsync = false;  // --vsync off, for this run only
    Session s(1920, 1080);
    s.platform.keepFrames = true;
    s.app.options = mergeOptions(loadSettingsFile(folder.file("settings.toml"), std::cerr), flags);
    ASSERT_EQ(s.start(), -1);
    App& app = s.app;
    Interface& ui = *app.iface;
    s.player.wait(0.2f);
    ASSERT_TRUE(openOptions(s.player)) << "the panel after Up on the main menu";
    s.player.wait(0.2f);
    const std::vector<unsigned> names = textureNames(app);
    ASSERT_GT(ui.optionsTexture.getSize().x, 0u);

    // Volume: steps of 5, heard at once.
    EXPECT_EQ(ui.optionsRow, 0);
    s.player.tap(sf::Keyboard::Right);
    expectMenuVolumes(app, 0.85f);
    s.player.tap(sf::Keyboard::Left);
    s.player.tap(sf::Keyboard::Left);
    expectMenuVolumes(app, 0.75f);
    EXPECT_EQ(ui.optionsTexts[0].getString().toAnsiString(), "75");
    std::string kept = folder.read("settings.toml");
    EXPECT_NE(kept.find("volume = 75  # quiet evenings\n"), std::string::npos) << kept;
    EXPECT_NE(kept.find("# the player's own note\n"), std::string::npos) << kept;
    EXPECT_NE(kept.find("vsync = true\n"), std::string::npos) << "the flag is not written back";

    // Display: the first window, then full screen again with Return; nothing is reloaded.
    s.player.tap(sf::Keyboard::Down);
    EXPECT_EQ(ui.optionsRow, 1);
    s.player.tap(sf::Keyboard::Right);
    EXPECT_FALSE(s.platform.windowRequest.fullscreen);
    EXPECT_EQ(s.platform.size, sf::Vector2u(1024, 768));
    EXPECT_EQ(ui.windowWidth, 1024.0f);
    EXPECT_EQ(ui.profileName, "2048_1536");
    EXPECT_EQ(ui.optionsTexture.getSize().x, 2048u) << "the panel of the 4:3 set";
    EXPECT_EQ(ui.optionsTexts[1].getString().toAnsiString(), "Window 1024 x 768");
    EXPECT_EQ(textureNames(app), names);
    kept = folder.read("settings.toml");
    EXPECT_NE(kept.find("fullscreen = false\n"), std::string::npos) << kept;
    EXPECT_NE(kept.find("window_size = \"1024x768\"\n"), std::string::npos) << kept;
    s.player.tap(sf::Keyboard::Return);
    EXPECT_TRUE(s.platform.windowRequest.fullscreen);
    EXPECT_EQ(s.platform.size, sf::Vector2u(1920, 1080));
    EXPECT_EQ(ui.optionsTexts[1].getString().toAnsiString(), "Full screen");
    EXPECT_EQ(textureNames(app), names);
    EXPECT_NE(folder.read("settings.toml").find("fullscreen = true\n"), std::string::npos);

    // Alt+Return on the panel: the row shows the window it opened (not kept).
    sf::Event altReturn = keyPressed(sf::Keyboard::Return);
    altReturn.key.alt = true;
    s.platform.push(altReturn);
    s.player.frame();
    EXPECT_EQ(ui.optionsTexts[1].getString().toAnsiString(), "Window 1024 x 768");
    s.platform.push(altReturn);
    s.player.frame();
    EXPECT_EQ(ui.optionsTexts[1].getString().toAnsiString(), "Full screen");

    // Frame pacing: off (the flag) to capped at the refresh rate, 60 when unknown.
    s.player.tap(sf::Keyboard::Down);
    EXPECT_EQ(ui.optionsTexts[2].getString().toAnsiString(), "Off");
    s.player.tap(sf::Keyboard::Left);
    EXPECT_FALSE(s.platform.windowRequest.vsync);
    EXPECT_EQ(s.platform.frameCap, 60u);
    kept = folder.read("settings.toml");
    EXPECT_NE(kept.find("frame_pacing = \"capped\"\n"), std::string::npos) << kept;
    EXPECT_NE(kept.find("vsync = false\n"), std::string::npos) << kept;
    EXPECT_EQ(ui.optionsTexts[2].getString().toAnsiString(), "Capped at 60 per second");
    // Every value stands inside its box, between the box's arrows.
    for (int row = 1; row < 3; ++row) {
        const sf::FloatRect text = ui.optionsTexts[row].getGlobalBounds();
        const float top = OptionsLayout::rowTop(row);
        const sf::Vector2f from = cardPoint(ui, OptionsLayout::valueLeft + 70, top);
        const sf::Vector2f to =
            cardPoint(ui, OptionsLayout::valueRight - 70, top + OptionsLayout::rowHeight);
        EXPECT_TRUE(text.left >= from.x && text.left + text.width <= to.x && text.top >= from.y &&
                    text.top + text.height <= to.y)
            << "row " << row;
    }
    s.player.frame();
    EXPECT_TRUE(keepScreenshot(s.platform, "options_panel_1920x1080.png"));

    s.player.tap(sf::Keyboard::Escape);
    ASSERT_TRUE(s.player.runUntil([&] { return ui.Screen == MainMenu; }, 3.0f))
        << "the main menu after Escape";
    EXPECT_FALSE(folder.read("settings.toml").empty());
    EXPECT_FALSE(std::ifstream(folder.file("settings.toml.tmp")).is_open());

    // The next start, without flags, opens as the player left it.
    Session next(1920, 1080);
    next.app.options = loadSettingsFile(folder.file("settings.toml"), std::cerr);
    ASSERT_EQ(next.start(), -1);
    EXPECT_TRUE(next.platform.windowRequest.fullscreen);
    EXPECT_FALSE(next.platform.windowRequest.vsync);
    EXPECT_EQ(next.platform.frameCap, 60u);
    EXPECT_EQ(next.app.options.windowWidth, 1024u);
    EXPECT_FLOAT_EQ(next.app.iface->masterVolume, 0.75f);
    EXPECT_FLOAT_EQ(next.app.menuSounds[1].getVolume(), 45.0f) << "the menu music";
}

// The mouse: a click on the top triangle opens the panel, and the volume slider's knob
// dragged along its track sets the volume while the button is held (the menu music follows);
// the value is kept when it is let go.
TEST(OptionsPanel, MouseOpensThePanelAndDragsTheVolume) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    Session s(1024, 768);
    s.platform.keepFrames = true;
    ASSERT_EQ(s.start(), -1);
    App& app = s.app;
    Interface& ui = *app.iface;
    s.player.wait(0.2f);
    s.player.clickAt(512, 60);  // the top triangle
    ASSERT_TRUE(s.player.runUntil([&] { return ui.Screen == OptionsPanel; }, 3.0f))
        << "the panel after a click on the top triangle";
    s.player.wait(0.2f);

    const sf::FloatRect knob = ui.optionsKnobSprite.getGlobalBounds();
    ASSERT_GT(knob.width, 0.0f);
    const float middle = knob.top + knob.height / 2;
    s.platform.mouse =
        sf::Vector2i(static_cast<int>(knob.left + knob.width / 2), static_cast<int>(middle));
    s.platform.push(mousePressed(s.platform.mouse.x, s.platform.mouse.y));
    s.player.frame();
    const float at40 =
        cardPoint(ui, OptionsLayout::trackLeft + 0.4f * OptionsLayout::trackWidth, 0).x;
    s.platform.mouse = sf::Vector2i(static_cast<int>(at40 + 0.5f), static_cast<int>(middle));
    s.platform.push(mouseMoved(s.platform.mouse.x, s.platform.mouse.y));
    s.player.frame();
    EXPECT_NEAR(ui.masterVolume, 0.4f, 0.011f) << "while dragging";
    EXPECT_NEAR(app.menuSounds[1].getVolume(), 24.0f, 0.7f) << "the menu music while dragging";
    const sf::FloatRect moved = ui.optionsKnobSprite.getGlobalBounds();
    EXPECT_NEAR(moved.left + moved.width / 2, at40, 2.0f) << "the knob under the mouse";
    EXPECT_EQ(folder.read("settings.toml").find("volume = 40"), std::string::npos)
        << "kept only when let go";
    s.player.frame();
    EXPECT_TRUE(keepScreenshot(s.platform, "options_panel_1024x768.png"));
    s.platform.push(mouseReleased(s.platform.mouse.x, s.platform.mouse.y));
    s.player.frame();
    const int volume = ui.optionsVolume;
    EXPECT_NE(folder.read("settings.toml").find("volume = " + std::to_string(volume) + "\n"),
              std::string::npos);
    // The mouse moving afterwards changes nothing; the back arrow closes the panel.
    s.platform.mouse = sf::Vector2i(10, static_cast<int>(middle));
    s.platform.push(mouseMoved(10, static_cast<int>(middle)));
    s.player.frame();
    EXPECT_EQ(ui.optionsVolume, volume);
    const sf::Vector2f back = cardPoint(ui, OptionsLayout::backLeft + OptionsLayout::backSize / 2,
                                        OptionsLayout::backTop + OptionsLayout::backSize / 2);
    s.player.clickAt(back.x, back.y);
    EXPECT_TRUE(s.player.runUntil([&] { return ui.Screen == MainMenu; }, 3.0f))
        << "the main menu after the back arrow";
}

// A settings file with a mistake in it is the player's to mend: the panel's changes take
// effect for this run, the file keeps every byte, and the panel says so in red.
TEST(OptionsPanel, SettingsWithProblemsAreNeverWrittenOverAndThePanelSaysSo) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    const std::string text = "volume = 60\nfullscreen = \"maybe\"  # a typo\n";
    {
        std::ofstream out(folder.file("settings.toml"));
        out << text;
    }
    Session s(1920, 1080);
    s.platform.keepFrames = true;
    s.app.options = loadSettingsFile(folder.file("settings.toml"), std::cerr);
    EXPECT_TRUE(s.app.options.settingsLocked);
    ASSERT_EQ(s.start(), -1);
    Interface& ui = *s.app.iface;
    s.player.wait(0.2f);
    ASSERT_TRUE(openOptions(s.player)) << "the panel after Up on the main menu";
    s.player.wait(0.2f);
    EXPECT_TRUE(ui.optionsNoticeShown);
    EXPECT_EQ(ui.optionsHint.getString().toAnsiString(),
              "settings.toml has errors: changes hold for this run only");
    s.player.tap(sf::Keyboard::Right);
    expectMenuVolumes(s.app, 0.65f);
    s.player.tap(sf::Keyboard::Down);
    s.player.tap(sf::Keyboard::Right);
    EXPECT_FALSE(s.platform.windowRequest.fullscreen) << "the window switched all the same";
    EXPECT_EQ(folder.read("settings.toml"), text);
    EXPECT_FALSE(std::ifstream(folder.file("settings.toml.tmp")).is_open());
    // The notice stands inside the card, below the last row.
    const sf::FloatRect notice = ui.optionsHint.getGlobalBounds();
    const sf::Vector2f from = cardPoint(ui, 0, OptionsLayout::rowTop(OptionsLayout::rowCount));
    const sf::Vector2f to = cardPoint(ui, OptionsLayout::cardWidth, OptionsLayout::cardHeight);
    EXPECT_TRUE(notice.left >= from.x && notice.left + notice.width <= to.x &&
                notice.top >= from.y && notice.top + notice.height <= to.y);
    s.player.frame();
    EXPECT_TRUE(keepScreenshot(s.platform, "options_panel_locked.png"));
}

// The offset rows: Left and Right, or a click on either half of the value, step by 5 ms
// within the row's range; each change is kept in settings.toml and taken by the next play.
TEST(OptionsPanel, OffsetRowsStepKeepAndReachTheNextPlay) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    {
        std::ofstream out(folder.file("settings.toml"));
        out << defaultSettingsText();
    }
    Session s(1280, 720);
    s.app.options = loadSettingsFile(folder.file("settings.toml"), std::cerr);
    s.app.options.inputOffsetMs = 148;  // as the calibration may leave it
    ASSERT_EQ(s.start(), -1);
    Interface& ui = *s.app.iface;
    s.player.wait(0.2f);
    ASSERT_TRUE(openOptions(s.player)) << "the panel after Up on the main menu";
    s.player.wait(0.2f);
    for (int row = 0; row < OptionsRow::audioOffset; ++row) s.player.tap(sf::Keyboard::Down);
    EXPECT_EQ(ui.optionsRow, OptionsRow::audioOffset);
    EXPECT_EQ(ui.optionsTexts[OptionsRow::audioOffset].getString().toAnsiString(), "0 ms");
    s.player.tap(sf::Keyboard::Left);
    s.player.tap(sf::Keyboard::Left);
    EXPECT_EQ(ui.optionsTexts[OptionsRow::audioOffset].getString().toAnsiString(), "-10 ms");
    EXPECT_NE(folder.read("settings.toml").find("\naudio_offset = -10\n"), std::string::npos);
    s.player.tap(sf::Keyboard::Down);
    EXPECT_EQ(ui.optionsTexts[OptionsRow::inputOffset].getString().toAnsiString(), "+148 ms");
    s.player.tap(sf::Keyboard::Right);
    s.player.tap(sf::Keyboard::Right);  // the end of the range holds
    EXPECT_EQ(ui.optionsTexts[OptionsRow::inputOffset].getString().toAnsiString(), "+150 ms");
    const float middle =
        OptionsLayout::rowTop(OptionsRow::inputOffset) + OptionsLayout::rowHeight / 2;
    for (int click = 0; click < 3; ++click) {
        const sf::Vector2f back = cardPoint(ui, OptionsLayout::valueLeft + 40, middle);
        s.player.clickAt(back.x, back.y);
    }
    EXPECT_EQ(ui.optionsTexts[OptionsRow::inputOffset].getString().toAnsiString(), "+135 ms");
    const std::string kept = folder.read("settings.toml");
    EXPECT_NE(kept.find("\ninput_offset = 135\n"), std::string::npos) << kept;
    EXPECT_NE(kept.find("\naudio_offset = -10\n"), std::string::npos) << kept;

    s.player.tap(sf::Keyboard::Escape);
    ASSERT_TRUE(s.player.runUntil([&] { return ui.Screen == MainMenu; }, 3.0f));
    ASSERT_TRUE(s.player.openSongList(false));
    ASSERT_TRUE(s.player.startListPosition(0));
    EXPECT_FLOAT_EQ(s.app.game->audioOffset, -0.010f);
    EXPECT_FLOAT_EQ(s.app.game->inputOffset, 0.135f);
    for (const Route& route : s.app.game->routes) {
        EXPECT_FLOAT_EQ(route.audioShift, -0.010f);
        EXPECT_FLOAT_EQ(route.inputShift, 0.135f);
    }
}
