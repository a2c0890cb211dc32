// The song list's keyboard and clicks, driven through the App's event handler with a bare
// interface and game (no window, no sounds, no pictures; textures still need a display).
#include <gtest/gtest.h>

#include <memory>

#include "app/app.h"
#include "game/game.h"
#include "support/game_folder.h"
#include "support/scripted_platform.h"
#include "support/window_events.h"
#include "ui/interface.h"

namespace {
class SongList : public ::testing::Test {
protected:
    void SetUp() override {
        app.iface = std::make_unique<Interface>(1024.0f, 768.0f, app.log);
        app.game = std::make_unique<Game>();
        app.iface->Screen = LevelSelect;
    }
    void enter(bool explore) {
        app.game->explorePlay = explore;
        app.iface->MenuChoice = explore ? ChoiceLeft : ChoiceRight;
    }
    void key(sf::Keyboard::Key code) { app.levelSelectEvent(keyPressed(code)); }
    // A left click at canvas coordinates (the window is half the canvas).
    void click(float canvasX, float canvasY) {
        platform.mouse = sf::Vector2i(static_cast<int>(canvasX / 2), static_cast<int>(canvasY / 2));
        app.levelSelectEvent(mousePressed(platform.mouse.x, platform.mouse.y));
    }

    GameFolder folder{false};
    ScriptedPlatform platform{1024, 768};
    App app{platform};
};
}  // namespace

TEST_F(SongList, UpAndDownMoveTheHighlightFromEveryValueTheMouseCanLeave) {
    // hovered before the key: a list row 0..3, 8 the tutorial entry, 5 and 6 the side edges,
    // -1 nothing, -2 a locked explore row. In the explore list songs 1 and 3 are completed.
    struct Case {
        bool explore;
        sf::Keyboard::Key key;
        int before;
        int after;
    };
    const sf::Keyboard::Key up = sf::Keyboard::Up;
    const sf::Keyboard::Key down = sf::Keyboard::Down;
    const Case cases[] = {
        // Scored: Down is one row down, at most the bottom row; from the tutorial the top row.
        {false, down, -1, 0},
        {false, down, 0, 1},
        {false, down, 2, 3},
        {false, down, 3, 3},
        {false, down, 8, 0},
        {false, down, 5, 3},
        {false, down, 6, 3},
        // Scored: Up is one row up, from the top row the tutorial, which stays; anything
        // else counts as nothing highlighted and starts at the bottom.
        {false, up, 3, 2},
        {false, up, 1, 0},
        {false, up, 0, 8},
        {false, up, 8, 8},
        {false, up, -1, 3},
        {false, up, 5, 3},
        {false, up, 6, 3},
        {false, up, -2, 3},
        // Explore: the next completed song in the key's direction; off the list counts as
        // nothing highlighted.
        {true, down, -1, 1},
        {true, down, 0, 1},
        {true, down, 1, 3},
        {true, down, 3, 3},
        {true, down, 5, 1},
        {true, down, 6, 1},
        {true, down, -2, 1},
        {true, up, -1, 3},
        {true, up, 3, 1},
        {true, up, 2, 1},
        {true, up, 1, 1},
        {true, up, 5, 3},
        {true, up, 6, 3},
        {true, up, -2, 3},
    };
    app.iface->bestCompletion = {0.0f, 1.0f, 0.0f, 1.0f};
    for (const Case& c : cases) {
        enter(c.explore);
        app.iface->hovered = c.before;
        key(c.key);
        EXPECT_EQ(app.iface->hovered, c.after)
            << (c.explore ? "explore " : "scored ") << (c.key == up ? "Up" : "Down") << " from "
            << c.before;
        EXPECT_FALSE(app.game->startPending);
    }
}

TEST_F(SongList, ExploreKeysWithNoCompletedSongHighlightNothing) {
    enter(true);
    for (sf::Keyboard::Key k : {sf::Keyboard::Up, sf::Keyboard::Down}) {
        for (int before : {-1, 5, 6, -2}) {
            app.iface->hovered = before;
            key(k);
            EXPECT_EQ(app.iface->hovered, -1) << before;
        }
    }
}

TEST_F(SongList, DownFromAnEdgeThenReturnStartsTheBottomSong) {
    enter(false);
    app.iface->hovered = 5;
    key(sf::Keyboard::Down);
    key(sf::Keyboard::Return);
    EXPECT_TRUE(app.game->startPending);
    EXPECT_EQ(app.game->mode, 0);  // the bottom row plays mode 0
    EXPECT_FALSE(app.game->tutorialPlay);
}

TEST_F(SongList, AKeyOrSongClickAfterATutorialStartForgetsTheTutorial) {
    enter(false);
    // Click on the tutorial entry, then another key in the same frame.
    click(1000, 934);
    ASSERT_TRUE(app.game->startPending);
    ASSERT_TRUE(app.game->tutorialPlay);
    key(sf::Keyboard::A);
    EXPECT_FALSE(app.game->startPending);
    EXPECT_FALSE(app.game->tutorialPlay);

    // Return on the tutorial entry, then another key.
    app.iface->hovered = 8;
    key(sf::Keyboard::Return);
    ASSERT_TRUE(app.game->tutorialPlay);
    key(sf::Keyboard::Space);
    EXPECT_FALSE(app.game->startPending);
    EXPECT_FALSE(app.game->tutorialPlay);

    // Key 0, then a number key: the song chosen last starts, as a song.
    key(sf::Keyboard::Num0);
    ASSERT_TRUE(app.game->tutorialPlay);
    key(sf::Keyboard::Num2);
    EXPECT_TRUE(app.game->startPending);
    EXPECT_EQ(app.game->mode, 3);
    EXPECT_FALSE(app.game->tutorialPlay);

    // A click on the tutorial entry, then on the bottom song row: that song, as a song.
    click(1000, 900);
    ASSERT_TRUE(app.game->tutorialPlay);
    click(1000, 1376);
    EXPECT_TRUE(app.game->startPending);
    EXPECT_EQ(app.game->mode, 0);
    EXPECT_FALSE(app.game->tutorialPlay);

    // Return on the tutorial entry still starts the tutorial.
    app.iface->hovered = 8;
    key(sf::Keyboard::Return);
    EXPECT_TRUE(app.game->startPending);
    EXPECT_TRUE(app.game->tutorialPlay);
    EXPECT_EQ(app.game->mode, 1);
}
