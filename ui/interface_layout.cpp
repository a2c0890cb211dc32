// The layout of the whole screen: where every sprite and text stands for the window's
// geometry and the current screen state. Loading only makes the textures; placeAll puts
// them in place, at start-up and again whenever the window changes.
#include <string>

#include "ui/display_profile.h"
#include "ui/interface.h"

namespace {
// Rows of the level panels' texts and completion dots, canvas units.
const float exploreTimeRows[4] = {767, 888, 1011, 1130};
const float scoreRows[4] = {786, 908, 1031, 1152};
const float dotRows[4] = {816, 938, 1060, 1181};
// Where the signs of the kept plays stand in the rows, from the list's left edge: in the song
// list between the completion dots and the best score, in the explore list between the best
// time and the song.
const float scoredSignX = 1120;
const float exploreSignX = 420;
// The middle of a row's dots and of its best time, below their rows above.
const float dotMiddle = 22;
const float timeMiddle = 42;

// -1, 0 or 1 times the new extent: slide targets and page widths are a whole window away.
float sameSide(float value, float extent) {
    if (value > 0) return extent;
    if (value < 0) return -extent;
    return 0.0f;
}

bool isPlayScreen(int screen) {
    return screen == Playing || screen == Exploring || screen == Results || screen == Tutorial;
}
}  // namespace

bool Interface::layout(float width, float height) {
    const ScreenGeometry g =
        screenGeometry(static_cast<unsigned>(width), static_cast<unsigned>(height));
    screenWidth = g.windowWidth;
    screenHeight = g.windowHeight;
    aspectRatio = g.aspectRatio;
    areaLeft = g.area.left;
    areaTop = g.area.top;
    windowWidth = g.area.width;
    windowHeight = g.area.height;
    const bool otherSet = g.profile.profileName != profileName;
    profileName = g.profile.profileName;
    referenceWidth = g.profile.referenceWidth;
    scaleX = g.profile.scaleX;
    scaleY = g.profile.scaleY;
    menuTopOffset = g.profile.menuTopOffset;
    pauseHiddenOffset = g.profile.pauseHiddenOffset;
    bool reloaded = false;
    if (otherSet && boardMode >= 0) {
        const std::string board = playPictureFiles(boardMode)[0];
        reloaded = boardTexture.loadFromFile(board);
        if (reloaded) writeBoardKeys();
    }
    // The options panel's pictures of the new set, once the panel has been opened.
    if (otherSet && !optionsProfile.empty()) loadOptionsPictures();
    if (otherSet && !calibrationProfile.empty()) loadCalibrationPictures();
    placeAll();
    return reloaded;
}

DrawnArea Interface::drawnArea() const {
    DrawnArea area;
    area.left = areaLeft;
    area.top = areaTop;
    area.width = windowWidth;
    area.height = windowHeight;
    return area;
}

sf::Vector2f Interface::toArea(sf::Vector2f windowPoint) const {
    return sf::Vector2f(windowPoint.x - areaLeft, windowPoint.y - areaTop);
}

void Interface::placeAll() {
    const float W = windowWidth;
    const float H = windowHeight;
    const float s = scaleY;

    // Scales and smoothing. Smoothing is only ever turned on: at a scale of exactly 1 a
    // smoothed picture on whole pixels looks the same.
    atlasSprite.setScale(s * 0.6f, s * 0.6f);
    if (W * (1.0f / 2048.0f) != 1.0f) {
        centreTexture.setSmooth(true);
        pauseTexture.setSmooth(true);
        boardTexture.setSmooth(true);
        scoreBarTexture.setSmooth(true);
        for (sf::Texture& side : sideTextures) side.setSmooth(true);
        for (sf::Texture& text : menuTextTextures) text.setSmooth(true);
    }
    if (scaleX != 1.0f && boardMode >= 0) boardTexture.setSmooth(true);
    hintSprite.setScale(s, s);
    hintSprite.setPosition(W / 2 - hintSprite.getGlobalBounds().width / 2, 0);
    for (sf::Text& text : exploreTimeTexts) text.setScale(s, s);
    for (sf::Text& text : scoreTexts) text.setScale(s, s);
    for (sf::Sprite& dot : dotSprites) dot.setScale(s, s);
    if (MenuChoice == ChoiceDown) {
        panelSprite.setScale(W / 2048, W / 2048);
    } else {
        panelSprite.setScale(W / 2048, H / 1536);
    }
    pauseSprite.setScale(W / 2048, H / 1536);
    scoreBarSprite.setScale(s, s);
    for (sf::Sprite& text : menuTextSprites) text.setScale(s, s);
    headlineText.setScale(s, s);
    resultText.setScale(s, s);
    counterText.setScale(s, s);
    makingOfPageSprite.setScale(W / 2048, W / 2048);
    makingOfNextSprite.setScale(W / 2048, W / 2048);

    // The side panels' layer: untouched since the start, or where its slide stands.
    slideTargetX = sameSide(slideTargetX, W);
    slideTargetY = sameSide(slideTargetY, H);
    if (slideTargetX == 0 && slideTargetY == 0 && !panelOpening && !panelClosing) {
        for (int k = 0; k < 4; ++k) placeMenuText(k, 0, 0);
        for (int k = 4; k < 8; ++k) menuTextSprites[k].setPosition(0, -H);
        for (int i = 0; i < 4; ++i) {
            exploreTimeTexts[i].setPosition(-W, 0);
            scoreTexts[i].setPosition(-W, 0);
            dotSprites[i].setPosition(-W, 0);
            keptPlaySigns[i].setPosition(-W, 0);
        }
        panelSprite.setPosition(W, 0);
        centreSprite.setPosition(0, 0);
    } else {
        // Opening: ease(t) of the way out; closing: the rest; at rest, open on the level
        // screens and during plays, closed on the main menu.
        float k = Screen == MainMenu ? 1.0f : 0.0f;
        if (panelOpening) k = ease(transitionT);
        if (panelClosing) k = 1 - ease(transitionT);
        const float x = k * slideTargetX;
        const float y = k * slideTargetY;
        if (!isPlayScreen(Screen)) {
            slideX = x;
            slideY = y;
        }
        placePanelLayer(x, y);
    }

    // The pause and results panel: hidden above the window, or where its slide stands.
    if (pauseShown || pauseOpening || pauseClosing) {
        const float e = ease(transitionT);
        float y = -pauseHiddenOffset * e;
        if (pauseClosing) y = -pauseHiddenOffset * (1 - e);
        if (pauseShown && !pauseOpening && !pauseClosing) y = -pauseHiddenOffset * ease(1.0f);
        slideX = 0;
        slideY = y;
        placePauseLayer(0, y);
    } else {
        pauseSprite.setPosition(0, -pauseHiddenOffset);
        placeWatchButton(-H);
        for (int k = 8; k < 17; ++k) menuTextSprites[k].setPosition(0, -H);
        // Where it starts: below the headline as it reads "Congrats!".
        sf::Text headline = headlineText;
        headline.setString("Congrats!");
        const sf::FloatRect bounds = headline.getGlobalBounds();
        resultText.setPosition(W / 2 - bounds.width / 2, 500 * s - bounds.height);
    }

    // The final-stage HUD: at the bottom edge until its slide has been laid out once.
    if (hudLaidOut) {
        hudStartY = H;
        hudRise = -static_cast<float>(scoreBarTexture.getSize().y) * s;
        placeHud(hudT == 0 ? H : hudStartY + (1 - ease(hudT)) * hudRise);
    } else {
        const sf::FloatRect bar = scoreBarSprite.getGlobalBounds();
        scoreBarSprite.setPosition(W / 2 - bar.width / 2, H - bar.height);
        // The headline's height is that of "Congrats!", whatever it reads now.
        sf::Text congrats = headlineText;
        congrats.setString("Congrats!");
        centreText(headlineText, H - 50 - congrats.getGlobalBounds().height);
        const sf::FloatRect counter = counterText.getGlobalBounds();
        counterText.setPosition(W / 2 - counter.width / 2, 500 * s - counter.height);
    }

    // The making-of pages: the width of the window, centred vertically.
    const float letterboxY = (W * 1536 / 2048 - H) / 2;
    pageWidth = sameSide(pageWidth, W);
    if (pageTurnForward || pageTurnBack) {
        pageOffset = ease(transitionT) * pageWidth;
        makingOfNextSprite.setPosition(pageOffset, -letterboxY);
        makingOfPageSprite.setPosition(pageOffset - pageWidth, -letterboxY);
    } else {
        makingOfNextSprite.setPosition(0, -letterboxY);
        makingOfPageSprite.setPosition(0, -letterboxY);
    }
    if (volumeTexture.getSize().x > 0) {
        volumeSprite.setScale(s, s);
        showVolumeFrame(muteStage);
    }
    placeTutorialPages();
    placeReplaySign();

    // The level-selection sprite, beside the item it points at.
    if (atlasItem >= 0) {
        placeAtlas(atlasItem, atlasWide);
    } else {
        atlasY = wholePart(2 * H);
    }
    if (atlasFrameCount > 0) showAtlasFrame();

    // The middle picture: the board during plays, the menu background elsewhere.
    if (isPlayScreen(Screen)) {
        centreSprite.setPosition(0, 0);
        centreSprite.setScale(scaleX, scaleX);
    } else {
        centreSprite.setScale(W / 2048, H / 1536);
    }
    if (Screen == Calibration) placeCalibrationLayer();
}

void Interface::placePanelLayer(float x, float y) {
    const float W = windowWidth;
    const float H = windowHeight;
    const float s = scaleY;
    const float headerWidth = static_cast<float>(menuTextTextures[5].getSize().x);
    const float L = x + 179 * s;
    const float R = x + W - (headerWidth + 179) * s;

    const float letterboxY = (W * 1536 / 2048 - H) / 2;
    panelSprite.setPosition(x, MenuChoice == ChoiceDown ? y - letterboxY : y);
    const float dx = x - slideTargetX;
    const float dy = y - slideTargetY;
    centreSprite.setPosition(dx, dy);
    for (int i = 0; i < 4; ++i) placeMenuText(i, dx, dy);
    menuTextSprites[MenuText::songListHeader].setPosition(L, 171 * s + y);
    menuTextSprites[MenuText::exploreListHeader].setPosition(R, 156 * s + y);
    for (int i = 6; i < 8; ++i) {
        const float textureWidth = static_cast<float>(menuTextTextures[i].getSize().x);
        menuTextSprites[i].setPosition((textureWidth / 2 + menuTextLayout[i].x) * W / 2048 + x,
                                       menuTextLayout[i].y * s + y);
    }
    if (MenuChoice == ChoiceUp) placeOptionsLayer(x, y);
    for (int i = 0; i < 4; ++i) {
        sf::Text& time = exploreTimeTexts[i];
        time.setPosition(R + s * 100 - time.getGlobalBounds().width / 2,
                         156 * s + s * exploreTimeRows[i]);
        scoreTexts[i].setPosition(L + 1456 * s, 171 * s + s * scoreRows[i]);
        dotSprites[i].setPosition(L + 533 * s, 171 * s + s * dotRows[i]);
    }
    placeKeptPlaySigns(L, R);
}

void Interface::placeKeptPlaySigns(float scoredLeft, float exploreLeft) {
    const float s = scaleY;
    const bool scored = MenuChoice != ChoiceLeft;
    for (int i = 0; i < 4; ++i) {
        sf::Text& sign = keptPlaySigns[i];
        sign.setScale(s, s);
        const float x = scored ? scoredLeft + scoredSignX * s : exploreLeft + exploreSignX * s;
        const float middle = scored ? 171 * s + s * (dotRows[i] + dotMiddle)
                                    : 156 * s + s * (exploreTimeRows[i] + timeMiddle);
        const sf::FloatRect local = sign.getLocalBounds();
        sign.setPosition(x - (local.left + local.width / 2) * s,
                         middle - (local.top + local.height / 2) * s);
    }
}

void Interface::placePauseLayer(float x, float y) {
    pauseSprite.setPosition(x, y);
    for (int k = 8; k < 17; ++k) placeMenuText(k, 0, y);
    placeWatchButton(y);
    centreText(resultText, 645 * windowHeight / 1536 + y);
}

void Interface::placeHud(float y) {
    const float s = scaleY;
    scoreBarSprite.setPosition(windowWidth / 2 - scoreBarSprite.getGlobalBounds().width / 2, y);
    centreText(headlineText, y + 80 * s);
    centreText(counterText, y + 40 * s);
}

void Interface::placeTutorialPages() {
    for (std::size_t i = 0; i < tutorialSprites.size(); ++i) {
        sf::Sprite& page = tutorialSprites[i];
        page.setScale(scaleY, scaleY);
        const float y = (i == 5 || i == 6) ? 108 * scaleY : 0;
        page.setPosition(windowWidth / 2 - page.getGlobalBounds().width / 2, y);
    }
}
