// Where the loaded pictures land on several desktops, and what loading reads.
#include "ui_gfx/interface_fixture.h"

using uitest::Capture;
using uitest::writePicture;

namespace {
float middleX(const sf::FloatRect& r) {
    return r.left + r.width / 2;
}
}  // namespace

class Layout : public uitest::InterfaceTest, public ::testing::WithParamInterface<sf::Vector2f> {
protected:
    void SetUp() override {
        InterfaceTest::SetUp();
        ASSERT_TRUE(uitest::writeMenuPictures());
        W = GetParam().x;
        H = GetParam().y;
        s = H / 1536;
        build(W, H);
        Capture out(std::cout);
        ASSERT_TRUE(ui->loadImages());
        EXPECT_EQ(out.text(), "done loading images\n");
    }
    float W = 0, H = 0, s = 0;
};

INSTANTIATE_TEST_SUITE_P(Desktops, Layout,
                         ::testing::Values(sf::Vector2f(1920, 1080), sf::Vector2f(1600, 900),
                                           sf::Vector2f(1920, 1200), sf::Vector2f(1024, 768)));

TEST_P(Layout, MenuItemsHudAndPanels) {
    for (int k = 0; k < 4; ++k) {  // centred half a picture width right of the canvas point
        const sf::FloatRect item = ui->menuTextSprites[k].getGlobalBounds();
        EXPECT_NEAR(middleX(item), (menuTextLayout[k].x + 60 + 5 * k) * W / 2048, 0.01f);
        EXPECT_NEAR(item.top, menuTextLayout[k].y * H / 1536, 0.01f);
        EXPECT_NEAR(item.width, (120 + 10 * k) * s, 0.01f);
    }
    EXPECT_EQ(ui->menuTextSprites[3].getColor(), sf::Color(255, 255, 255, 50));  // locked
    for (int k = 4; k < 17; ++k) {
        const sf::FloatRect item = ui->menuTextSprites[k].getGlobalBounds();
        EXPECT_LE(item.top + item.height, 0.0f) << "menu text " << k << " is not hidden";
    }
    const sf::FloatRect bar = ui->scoreBarSprite.getGlobalBounds();
    EXPECT_NEAR(bar.top + bar.height, H, 0.01f);
    EXPECT_NEAR(middleX(bar), W / 2, 0.01f);
    const float headlineWidth = ui->headlineText.getGlobalBounds().width;
    EXPECT_NEAR(ui->headlineText.getPosition().x + headlineWidth / 2, W / 2, 0.01f);
    EXPECT_EQ(ui->resultText.getPosition().x, ui->headlineText.getPosition().x);
    const sf::FloatRect hint = ui->hintSprite.getGlobalBounds();
    EXPECT_NEAR(middleX(hint), W / 2, 0.01f);
    EXPECT_NEAR(hint.width, 300 * s, 0.01f);
    EXPECT_NEAR(ui->pauseSprite.getPosition().y, -1122 * s, 0.01f);
    EXPECT_EQ(ui->panelSprite.getPosition(), sf::Vector2f(W, 0));
    EXPECT_EQ(ui->scoreTexts[2].getPosition(), sf::Vector2f(-W, 0));
}

TEST_P(Layout, MakingOfPagesAreLetterboxedAndTutorialPagesCentred) {
    ASSERT_TRUE(writePicture("graphs/Menu/makingof/mof0.jpg", 2048, 1536));
    ASSERT_TRUE(writePicture("graphs/Menu/animVolume.png", 600, 460));
    ui->MenuChoice = ChoiceDown;
    ui->openPanel();
    ui->animatePanel(2.0f);
    const sf::FloatRect page = ui->makingOfPageSprite.getGlobalBounds();
    EXPECT_NEAR(page.width, W, 0.01f);
    EXPECT_NEAR(page.top + page.height / 2, H / 2, 0.5f);  // 150 above a 1600 x 900 window
    EXPECT_NEAR(ui->panelSprite.getGlobalBounds().top, page.top, 0.01f);

    for (unsigned i = 0; i < 7; ++i) {
        ASSERT_TRUE(writePicture("graphs/Tuto/tut" + std::to_string(i) + ".png", 1000 - 50 * i, 9));
    }
    ASSERT_TRUE(ui->loadTutorial());
    for (int i = 0; i < 7; ++i) {
        const sf::FloatRect tutorial = ui->tutorialSprites[i].getGlobalBounds();
        EXPECT_NEAR(middleX(tutorial), W / 2, 0.01f);
        EXPECT_NEAR(tutorial.width, (1000 - 50 * i) * s, 0.01f);
        EXPECT_NEAR(tutorial.top, i >= 5 ? 108 * s : 0.0f, 0.01f) << "page " << i;
    }
}

using Loading = uitest::InterfaceTest;

TEST_F(Loading, MissingMenuTextStopsBeforeTheFontAndTheLayout) {
    ASSERT_TRUE(uitest::writeMenuPictures());
    std::filesystem::remove("graphs/Menu/texts/16.png");
    Capture out(std::cout);
    Capture err(std::cerr);
    EXPECT_FALSE(ui->loadImages());
    EXPECT_EQ(ui->font.getInfo().family, "");
    EXPECT_EQ(out.text(), "");
}

TEST_F(Loading, PlayPicturesOfTheModeAndProfile) {
    ASSERT_TRUE(writePicture("graphs/Board/plateau_0_2048_1536.jpg", 40, 30));
    ASSERT_TRUE(writePicture("graphs/Button/b0.png", 20, 10));
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(writePicture("graphs/Slime/p0" + std::to_string(i) + ".png", 11 + i, 5));
    }
    sf::Texture button;
    std::vector<sf::Texture> slimes(4);
    EXPECT_TRUE(ui->loadPlayImages(0, button, slimes));
    EXPECT_EQ(slimes[3].getSize(), sf::Vector2u(14, 5));
    EXPECT_FALSE(ui->boardTexture.isSmooth());  // scaleX is exactly 1
    Capture err(std::cerr);
    EXPECT_FALSE(ui->loadPlayImages(7, button, slimes));
    EXPECT_EQ(ui->boardTexture.getSize(), sf::Vector2u(40, 30));  // the previous board stays

    build(1920, 1080);
    EXPECT_EQ(warned, "image 1600_900 rap 1.77778 imageX1600 scaleX1.2\n");
    ASSERT_TRUE(writePicture("graphs/Board/plateau_2_1600_900.jpg", 40, 30));
    EXPECT_FALSE(ui->loadPlayImages(2, button, slimes));  // no b2.png
    EXPECT_TRUE(ui->boardTexture.isSmooth());
    EXPECT_NEAR(ui->atlasSprite.getScale().x, 1080.0f / 1536 * 0.6f, 1e-6f);
}
