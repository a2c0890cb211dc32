#include <gtest/gtest.h>

#include <SFML/Graphics.hpp>
#include <filesystem>
#include <string>

#include "app/app.h"
#include "board/anim_tables.h"
#include "board/particle.h"
#include "board/route.h"
#include "support/game_folder.h"
#include "support/scripted_platform.h"
#include "ui/particle_setup.h"

namespace fs = std::filesystem;

namespace {

void writePicture(const std::string& name, sf::Color colour, unsigned w = 4, unsigned h = 4) {
    fs::create_directories(fs::path(name).parent_path());
    sf::Image image;
    image.create(w, h, colour);
    image.saveToFile(name);
}

// The loading picture, the four gauges and the 129 atlas pictures, in the current folder.
void writeBoardPictures() {
    writePicture("graphs/Menu/fondsNus/loading.jpg", sf::Color::Red, 2048, 1536);
    for (int i = 0; i < 4; ++i) {
        writePicture("graphs/Jauges/J" + std::to_string(i) + ".png", sf::Color::Blue);
        for (int j = 0; j < regularAnimCounts[i] + 7; ++j)
            writePicture("graphs/Atlas/" + std::to_string(i) + "_" + std::to_string(j) + ".png",
                         sf::Color::Green);
    }
}

bool reddish(sf::Color c) {
    return c.r > 200 && c.g < 60 && c.b < 60;
}

struct StartUp {
    explicit StartUp(unsigned width = 1920, unsigned height = 1080)
        : platform(width, height), app(platform) {
        app.windowWidth = width;
        app.windowHeight = height;
    }
    ScriptedPlatform platform;
    App app;
};

}  // namespace

TEST(BoardStartUp, MissingLoadingPictureEndsWithStatusZeroBeforeAnythingElse) {
    GameFolder folder(false);
    StartUp s;
    EXPECT_EQ(s.app.loadBoardTextures(), 0);
    EXPECT_EQ(s.platform.framesShown, 0);
    EXPECT_TRUE(s.app.atlasTextures.empty());
}

TEST(BoardStartUp, LoadsEverythingUnderTheLoadingPictureFittedToTheWidth) {
    GameFolder folder(false);
    writeBoardPictures();
    StartUp wide;
    EXPECT_EQ(wide.app.loadBoardTextures(), -1);
    EXPECT_EQ(wide.platform.framesShown, 1);
    EXPECT_EQ(wide.app.loadingSprite.getScale(), sf::Vector2f(0.9375f, 0.9375f));
    EXPECT_EQ(wide.app.loadingSprite.getPosition(), sf::Vector2f(0.0f, -180.0f));
    EXPECT_TRUE(reddish(wide.platform.lastFrame().getPixel(1919, 1079)));
    const size_t sizes[4] = {32, 33, 33, 31};
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(wide.app.atlasTextures[i].size(), sizes[i]);
        EXPECT_EQ(wide.app.atlasTextures[i].back().getSize().x, 4u);
        EXPECT_EQ(wide.app.gaugeTextures[i].getSize().x, 4u);
    }
    StartUp tall(1280, 1024);  // black bands above and below
    EXPECT_EQ(tall.app.loadBoardTextures(), -1);
    sf::Image shown = tall.platform.lastFrame();
    EXPECT_EQ(shown.getPixel(640, 10), sf::Color::Black);
    EXPECT_TRUE(reddish(shown.getPixel(640, 512)));
    EXPECT_EQ(shown.getPixel(640, 1020), sf::Color::Black);
}

TEST(BoardStartUp, MissingGaugeOrAtlasPictureStopsThereWithStatusOne) {
    GameFolder folder(false);
    writeBoardPictures();
    fs::remove("graphs/Atlas/2_32.png");
    StartUp atlas;
    EXPECT_EQ(atlas.app.loadBoardTextures(), 1);
    EXPECT_EQ(atlas.app.atlasTextures[2][31].getSize().x, 4u);
    EXPECT_EQ(atlas.app.atlasTextures[2][32].getSize().x, 0u);
    EXPECT_EQ(atlas.app.atlasTextures[3][0].getSize().x, 0u);
    fs::remove("graphs/Jauges/J2.png");
    StartUp gauge;
    EXPECT_EQ(gauge.app.loadBoardTextures(), 1);
    EXPECT_EQ(gauge.app.gaugeTextures[1].getSize().x, 4u);
    EXPECT_EQ(gauge.app.atlasTextures[0][0].getSize().x, 0u);
}

TEST(BoardResources, ParticlesDrawTheStartUpAtlasSmoothedOffNativeSizeAndRoutesKeepTheirButton) {
    sf::Image image;
    image.create(8, 8, sf::Color::Green);
    std::vector<std::vector<sf::Texture>> atlas(4);
    for (int r = 0; r < 4; ++r) {
        atlas[r].resize(regularAnimCounts[r] + 7);
        for (sf::Texture& t : atlas[r]) t.loadFromImage(image);
    }
    testing::internal::CaptureStderr();
    setupParticleResources(atlas, 2048.0f, 0.0f, 1.0f);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    for (int r = 0; r < 4; ++r) EXPECT_FALSE(atlas[r].back().isSmooth());
    testing::internal::CaptureStderr();
    setupParticleResources(atlas, 1600.0f, 171.0f, 1.0f);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "smoothing !\n");
    for (int r = 0; r < 4; ++r) EXPECT_TRUE(atlas[r].back().isSmooth());
    // The particles draw the very textures loaded at start-up, not copies.
    EXPECT_EQ(Particle::atlasTextures, &atlas);
    Particle p(1, 3, 4, 5);
    p.update(0.1f);
    EXPECT_EQ(p.sprite.getTexture(), &atlas[1][3]);

    std::vector<sf::Texture> slimes(4, atlas[0][0]), gauges(4, atlas[0][0]);
    setupRouteResources(slimes, atlas[2][0], gauges, nullptr, 1600.0f, 101.0f, 2);
    const sf::Texture* button = Route::buttonTexture.get();
    Route route(3, 1.0f);
    EXPECT_EQ(route.slimeSprite.getTexture(), &slimes[3]);
    EXPECT_EQ(route.gaugeSprites[10].getTexture(), &gauges[3]);
    EXPECT_EQ(route.buttonSprite.getTexture(), button);
    EXPECT_NE(button, &atlas[2][0]);
    // The next play refills the same button picture, so no sprite is left dangling.
    setupRouteResources(slimes, atlas[1][0], gauges, nullptr, 1600.0f, 101.0f, 0);
    EXPECT_EQ(Route::buttonTexture.get(), button);
    setupRouteLayout(nullptr, 2048.0f, 0.0f, 0);
    Particle::atlasTextures = nullptr;  // the atlas of this test goes now
}
