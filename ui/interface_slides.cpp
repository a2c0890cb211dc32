// The eased slides: side panels, pause panel, final-stage HUD and making-of pages.
#include <algorithm>

#include "ui/interface.h"

namespace {
// Rows of the level panels' texts and completion dots, canvas units.
const float exploreTimeRows[4] = {767, 888, 1011, 1130};
const float scoreRows[4] = {786, 908, 1031, 1152};
const float dotRows[4] = {816, 938, 1060, 1181};

// Advances a slide's progress; true in the frame in which it reaches the end.
bool advance(float& t, float dt) {
    t = std::min(t + dt, 1.0f);
    return t == 1.0f;
}
}  // namespace

void Interface::animatePanel(float dt) {
    if (!panelOpening && !panelClosing) return;
    const bool done = advance(transitionT, dt);
    const float e = ease(transitionT);
    const float k = panelOpening ? e : 1 - e;
    slideX = k * slideTargetX;
    slideY = k * slideTargetY;

    const float W = windowWidth;
    const float H = windowHeight;
    const float s = scaleY;
    const float headerWidth = static_cast<float>(menuTextTextures[5].getSize().x);
    const float L = slideX + 179 * s;
    const float R = slideX + W - (headerWidth + 179) * s;

    const float letterboxY = (W * 1536 / 2048 - H) / 2;
    panelSprite.setPosition(slideX, MenuChoice == ChoiceDown ? slideY - letterboxY : slideY);
    const float dx = slideX - slideTargetX;
    const float dy = slideY - slideTargetY;
    centreSprite.setPosition(dx, dy);
    for (int i = 0; i < 4; ++i) placeMenuText(i, dx, dy);
    menuTextSprites[4].setPosition(L, 171 * s + slideY);
    menuTextSprites[5].setPosition(R, 156 * s + slideY);
    for (int i = 6; i < 8; ++i) {
        const float textureWidth = static_cast<float>(menuTextTextures[i].getSize().x);
        menuTextSprites[i].setPosition((textureWidth / 2 + menuTextLayout[i].x) * W / 2048 + slideX,
                                       menuTextLayout[i].y * s + slideY);
    }
    for (int i = 0; i < 4; ++i) {
        sf::Text& time = exploreTimeTexts[i];
        time.setPosition(R + s * 100 - time.getGlobalBounds().width / 2,
                         156 * s + s * exploreTimeRows[i]);
        scoreTexts[i].setPosition(L + 1456 * s, 171 * s + s * scoreRows[i]);
        dotSprites[i].setPosition(L + 533 * s, 171 * s + s * dotRows[i]);
    }

    if (done) {
        transitionT = 0;
        panelOpening = false;
        panelClosing = false;
        makingOfPage = 0;
        panelSettled = true;
    }
}

void Interface::togglePause() {
    hintVisible = false;
    pauseSettled = false;
    if (pauseShown) {
        pauseClosing = true;
        return;
    }
    pauseOpening = true;
    pauseSprite.setPosition(0, -pauseHiddenOffset);
    for (int k = 8; k < 17; ++k) placeMenuText(k, 0, -pauseHiddenOffset);
    pauseShown = true;
}

void Interface::animatePause(float dt) {
    if (!pauseOpening && !pauseClosing) return;
    const bool done = advance(transitionT, dt);
    const float e = ease(transitionT);
    if (pauseOpening) {
        slideX = 0;
        slideY = -pauseHiddenOffset * e;
    } else {
        slideY = -pauseHiddenOffset * (1 - e);
    }
    pauseSprite.setPosition(slideX, slideY);
    for (int k = 8; k < 17; ++k) placeMenuText(k, 0, slideY);
    centreText(resultText, 645 * windowHeight / 1536 + slideY);
    if (done) {
        transitionT = 0;
        if (pauseClosing) pauseShown = false;
        pauseOpening = false;
        pauseClosing = false;
        pauseSettled = true;
    }
}

void Interface::layoutFinalStageHud() {
    const float H = windowHeight;
    const float s = scaleY;
    hudStartY = H;
    hudRise = -static_cast<float>(scoreBarTexture.getSize().y) * s;
    hudT = 0;
    scoreBarSprite.setPosition(windowWidth / 2 - scoreBarSprite.getGlobalBounds().width / 2, H);
    centreText(headlineText, H + 80 * s);
    centreText(counterText, H + 40 * s);
    hudSliding = true;
}

void Interface::animateHud(float dt) {
    if (!hudSliding) return;
    const bool done = advance(hudT, dt);
    const float s = scaleY;
    const float y = hudStartY + (1 - ease(hudT)) * hudRise;
    scoreBarSprite.setPosition(windowWidth / 2 - scoreBarSprite.getGlobalBounds().width / 2, y);
    centreText(headlineText, y + 80 * s);
    centreText(counterText, y + 40 * s);
    if (done) hudSliding = false;
}

void Interface::animatePageTurn(float dt) {
    if (!pageTurnForward && !pageTurnBack) return;
    const bool done = advance(transitionT, dt);
    pageOffset = ease(transitionT) * pageWidth;
    const float letterboxY = (windowWidth * 1536 / 2048 - windowHeight) / 2;
    makingOfNextSprite.setPosition(pageOffset, -letterboxY);
    makingOfPageSprite.setPosition(pageOffset - pageWidth, -letterboxY);
    if (!done) return;
    // The shared progress starts again from 0, so the next turn slides as well.
    transitionT = 0;
    makingOfPage += pageTurnForward ? 1 : -1;
    makingOfPage = std::max(0, std::min(makingOfPage, 18));
    pageTurnForward = false;
    pageTurnBack = false;
    makingOfPageSprite.setTexture(makingOfTextures[makingOfPage]);
    makingOfPageSprite.setPosition(0, -letterboxY);
}

void Interface::stepOverlayTimer(float dt) {
    if (tutorialOverlay <= 0) return;
    overlayTimer += dt;
    if (overlayTimer > 2.0f) {
        overlayTimer = 0;
        tutorialOverlay = 0;
    }
}

void Interface::resetHud(bool explore) {
    counterVisible = false;
    hintVisible = false;
    if (explore) {
        headlineText.setString("0.0s");
        layoutFinalStageHud();
    } else {
        headlineText.setString("0");
    }
    counterText.setString("0");
}
