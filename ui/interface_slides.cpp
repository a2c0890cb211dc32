// The eased slides: side panels, pause panel, final-stage HUD and making-of pages.
#include <algorithm>

#include "ui/interface.h"

namespace {
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

    placePanelLayer(slideX, slideY);

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
    placePauseLayer(slideX, slideY);
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
    hudLaidOut = true;
    placeHud(H);
    hudSliding = true;
}

void Interface::animateHud(float dt) {
    if (!hudSliding) return;
    const bool done = advance(hudT, dt);
    placeHud(hudStartY + (1 - ease(hudT)) * hudRise);
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
        centreText(headlineText, headlineText.getPosition().y);
    }
    counterText.setString("0");
}
