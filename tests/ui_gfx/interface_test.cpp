// The Interface's state machines: mute button, level sprite, slides, making-of book,
// results and records file messages.
#include "board/anim_tables.h"
#include "ui_gfx/interface_fixture.h"

using uitest::Capture;
using uitest::writePicture;

namespace {
const float tick = 1.0f / 12 + 0.001f;  // a little over one frame period
}

using Widgets = uitest::InterfaceTest;

TEST_F(Widgets, MuteButtonRunsZeroToEightAndBackIgnoringClicksBetween) {
    ui->startMuteAnim();
    EXPECT_EQ(ui->muteStage, 1);
    ui->stepVolumeAnim(0.05f);  // under one period: no step, the time is kept
    ui->stepVolumeAnim(0.05f);
    EXPECT_EQ(ui->muteStage, 2);
    ui->startMuteAnim();  // a click between stages
    EXPECT_TRUE(ui->muted);
    for (int i = 0; i < 8; ++i) ui->stepVolumeAnim(0.5f);  // one step per frame at most
    EXPECT_EQ(ui->muteStage, 8);
    EXPECT_EQ(ui->volumeSprite.getTextureRect(), volumeFrameRect(8));
    ui->startMuteAnim();
    EXPECT_EQ(ui->muteStage, 7);
    EXPECT_FALSE(ui->muted);
    for (int i = 0; i < 8; ++i) ui->stepVolumeAnim(tick);
    EXPECT_EQ(ui->muteStage, 0);
    EXPECT_EQ(ui->volumeSprite.getTextureRect(), volumeFrameRect(0));
}

TEST_F(Widgets, LevelSpriteLandsOnTheRowOfItsEntryOrOffScreen) {
    ui->bestCompletion = {1, 1, 1, 1};
    for (int mode : {0, 1, 2, 3, 8}) {
        ui->placeAtlas(mode, false);
        EXPECT_EQ(ui->hitTestSongList(1000, float(ui->atlasY)), mode);
        if (mode == 8) continue;
        ui->placeAtlas(mode, true);
        EXPECT_EQ(ui->hitTestExploreList(1000, float(ui->atlasY)), mode);
    }
    for (int item : {-2, -1, 4, 5, 6, 9}) {
        ui->placeAtlas(item, item % 2 == 0);
        EXPECT_EQ(ui->atlasY, 2 * 1536) << "item " << item;
    }
}

TEST_F(Widgets, LevelSpriteStartsOnItsSecondFrameAndWraps) {
    sf::Texture sheet;
    ui->startAtlasAnim(true, sheet);
    EXPECT_EQ(ui->atlasFrame, 2);
    EXPECT_EQ(ui->atlasSprite.getTextureRect(), animFrameRect(2, 25, 2, false));
    ui->placeAtlas(1, false);
    ui->atlasFrame = 18;
    ui->stepAtlasAnim(0.1f);
    EXPECT_EQ(ui->atlasFrame, 0);
    const sf::Vector2i offset = animFrameOffset(2, 25, 0, false);
    EXPECT_EQ(ui->atlasSprite.getPosition(),
              sf::Vector2f(float(ui->atlasX + offset.x), float(ui->atlasY + offset.y)));
}

using Slides = uitest::InterfaceTest;

TEST_F(Slides, TwoSecondFrameOpensAPanelAtOnceAndClosingReturnsIt) {
    ui->MenuChoice = ChoiceRight;
    ui->makingOfPage = 5;
    ui->openPanel();
    EXPECT_EQ(ui->panelSprite.getPosition(), sf::Vector2f(2048, 0));
    ui->animatePanel(2.0f);
    EXPECT_TRUE(ui->panelSettled);
    EXPECT_FALSE(ui->panelOpening);
    EXPECT_EQ(ui->makingOfPage, 0);
    EXPECT_EQ(ui->panelSprite.getPosition(), sf::Vector2f(0, 0));
    EXPECT_EQ(ui->centreSprite.getPosition(), sf::Vector2f(-2048, 0));
    ui->panelSettled = false;
    ui->closePanel();
    ui->animatePanel(0.5f);
    EXPECT_EQ(ui->slideX, 1024.0f);
    EXPECT_FALSE(ui->panelSettled);
    ui->animatePanel(0.5f);
    EXPECT_TRUE(ui->panelSettled);
    EXPECT_EQ(ui->centreSprite.getPosition(), sf::Vector2f(0, 0));
}

TEST_F(Slides, PauseStaysShownUntilItHasClosed) {
    ui->togglePause();
    ui->animatePause(2.0f);
    EXPECT_TRUE(ui->pauseShown && ui->pauseSettled);
    EXPECT_EQ(ui->pauseSprite.getPosition(), sf::Vector2f(0, 0));
    ui->togglePause();
    ui->animatePause(0.5f);
    EXPECT_TRUE(ui->pauseShown);
    EXPECT_FLOAT_EQ(ui->pauseSprite.getPosition().y, -ui->pauseHiddenOffset / 2);
    ui->animatePause(0.5f);
    EXPECT_FALSE(ui->pauseShown || ui->pauseClosing);
}

TEST_F(Slides, HudAndOverlayTimers) {
    ui->resetHud(true);
    EXPECT_EQ(ui->headlineText.getString(), "0.0s");
    EXPECT_TRUE(ui->hudSliding);
    ui->animateHud(2.0f);
    EXPECT_FALSE(ui->hudSliding);
    ui->tutorialOverlay = 2;
    ui->stepOverlayTimer(2.0f);  // exactly 2 s is not above
    EXPECT_EQ(ui->tutorialOverlay, 2);
    ui->stepOverlayTimer(0.01f);
    EXPECT_EQ(ui->tutorialOverlay, 0);
}

TEST_F(Slides, PageTurnsStopAtTheEndsAndEachTurnSlidesFromItsStart) {
    ui->turnMakingOfPage(false);
    EXPECT_FALSE(ui->pageTurnBack);
    ui->makingOfPage = 18;
    ui->turnMakingOfPage(true);
    EXPECT_FALSE(ui->pageTurnForward);
    ui->makingOfPage = 3;
    Capture out(std::cout);
    Capture err(std::cerr);
    ui->turnMakingOfPage(true);  // page 4 is missing: the turn goes on
    EXPECT_EQ(out.text(), "Error loading MoF!\n");
    ui->animatePageTurn(2.0f);
    EXPECT_EQ(ui->makingOfPage, 4);
    ui->turnMakingOfPage(false);
    ui->animatePageTurn(0.5f);
    EXPECT_TRUE(ui->pageTurnBack);
    EXPECT_EQ(ui->makingOfPageSprite.getPosition().x, 1024.0f);
    ui->animatePageTurn(0.5f);
    EXPECT_EQ(ui->makingOfPage, 3);
}

TEST_F(Slides, MakingOfFirstPageLoadsOnceWithItsVolumeButton) {
    ASSERT_TRUE(writePicture("graphs/Menu/makingof/mof0.jpg", 64, 48));
    Capture err(std::cerr);
    EXPECT_FALSE(ui->loadMakingOfPage(0));  // the volume picture is missing
    EXPECT_TRUE(ui->makingOfLoaded[0]);
    std::filesystem::remove("graphs/Menu/makingof/mof0.jpg");
    Capture out(std::cout);
    ui->MenuChoice = ChoiceDown;
    ui->openPanel();  // already loaded: not read again
    EXPECT_EQ(out.text(), "");
    EXPECT_EQ(ui->panelSprite.getTexture(), &ui->makingOfTextures[0]);
    ui->unloadMakingOf();
    EXPECT_FALSE(ui->makingOfLoaded[0]);
    EXPECT_FALSE(ui->loadMakingOfPage(19));
}

TEST_F(Slides, ResultsRecordTheSongOfTheModeAndSlideThePauseIn) {
    ui->showResults(500, 1.0f, 130.0f, false, 2);
    EXPECT_TRUE(ui->firstCompletion && ui->levelCompleted && ui->newRecord);
    EXPECT_EQ(ui->bestScore[2], 500.0f);
    EXPECT_EQ(ui->scoreTexts[2].getString(), "500");
    EXPECT_TRUE(ui->pauseOpening && ui->pauseShown);
    ui->pauseOpening = false;
    ui->showResults(1, 0.1f, 1.0f, false, 9);  // already shown; no song of mode 9
    EXPECT_FALSE(ui->pauseOpening);
}

TEST_F(Slides, ProfileMessagesAndCrashSafeSave) {
    EXPECT_EQ(said, "creating new profile\n");
    ui->bestScore[1] = 321.0f;
    Capture err(std::cerr);
    ui->saveProfile();
    build(2048, 1536);
    EXPECT_EQ(said, "loading profile\n");
    EXPECT_EQ(ui->bestScore[1], 321.0f);
    // No scratch file can be made beside it: the file is written in place.
    std::filesystem::create_directory("profile.zob.tmp");
    ui->resetRecords();
    ui->saveProfile();
    EXPECT_EQ(err.text(), "profile saved\nprofile saved\n");
    EXPECT_EQ(std::filesystem::file_size("profile.zob"), 48u);
    std::filesystem::remove("profile.zob");
    build(2048, 1536);  // no profile and none can be made
    EXPECT_EQ(said, "creating new profile\nerror loading profile !\n");
}
