#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>

#include "app/app.h"
#include "audio/load_with_thread.h"
#include "board/route.h"
#include "core/songs.h"
#include "flow/scripted_player.h"
#include "game/game.h"
#include "support/game_folder.h"
#include "support/scripted_platform.h"
#include "ui/interface.h"

namespace fs = std::filesystem;

namespace {

int countLines(const std::string& text, const std::string& pattern) {
    std::regex re(pattern);
    return static_cast<int>(
        std::distance(std::sregex_iterator(text.begin(), text.end(), re), std::sregex_iterator()));
}
}  // namespace

TEST(ScoredPlays, ScoredPlayOfEveryModeReachesItsResults) {
    GameFolder folder;
    ASSERT_TRUE(folder.hasAssets());
    Session s(640, 360);
    ASSERT_EQ(s.start(), -1);
    Interface& ui = *s.app.iface;
    EXPECT_TRUE(ui.noSongCompleted());
    ASSERT_TRUE(s.player.openSongList(false));
    for (int k = 0; k < 4; ++k) {
        int mode = modeOrder[k];
        int song = songOfMode[mode];
        ASSERT_EQ(song, k);
        ASSERT_TRUE(s.player.startListPosition(k));
        EXPECT_EQ(ui.Screen, Playing);
        EXPECT_EQ(s.app.game->mode, mode);
        bool finished = s.player.runUntil([&] { return ui.Screen == Results; }, 900.0f);
        ASSERT_TRUE(finished) << "song " << song << " gauges " << s.app.game->routes[0].gaugeLevel
                              << " " << s.app.game->routes[1].gaugeLevel << " "
                              << s.app.game->routes[2].gaugeLevel << " "
                              << s.app.game->routes[3].gaugeLevel;
        EXPECT_GT(s.app.game->score, 0.0f);
        EXPECT_TRUE(ui.levelCompleted);
        EXPECT_TRUE(ui.newRecord);
        EXPECT_TRUE(ui.firstCompletion);
        EXPECT_EQ(ui.bestCompletion[song], 1.0f);
        EXPECT_EQ(ui.bestScore[song], static_cast<float>(static_cast<int>(s.app.game->score)));
        EXPECT_EQ(ui.resultText.getString().toAnsiString(),
                  std::to_string(static_cast<int>(s.app.game->score)));
        EXPECT_EQ(countLines(folder.read("log.txt"), "Explore end\\. Score: [0-9.e+]+\n"), k + 1);
        // The results stay up until the player leaves them.
        s.player.wait(1.5f);
        EXPECT_EQ(ui.Screen, Results);
        s.player.tap(sf::Keyboard::Escape);
        EXPECT_EQ(ui.Screen, LevelSelect);
        EXPECT_EQ(s.app.backgroundLoader, nullptr);
        EXPECT_TRUE(s.app.game->routes.empty());
    }
    EXPECT_FALSE(ui.noSongCompleted());
    EXPECT_FALSE(ui.exploreLocked);
    EXPECT_EQ(ui.menuTextSprites[3].getColor().a, 255);
}
