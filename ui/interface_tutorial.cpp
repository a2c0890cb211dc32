// The tutorial: its pages, and the sequence that asks each route in turn for easy particles.
#include <iostream>
#include <string>

#include "assets/asset_files.h"
#include "board/route.h"
#include "ui/interface.h"

namespace {
const int tutorialPictureCount = 7;
// The routes' launch phase while the tutorial drives them.
const int tutorialPhase = 9;

bool caughtWell(const std::vector<Route>& routes, int i) {
    return i < static_cast<int>(routes.size()) && routes[i].tutorialResult == 1;
}

void askLaunch(std::vector<Route>& routes, int i) {
    if (i < static_cast<int>(routes.size())) routes[i].tutorialLaunch = true;
}
}  // namespace

bool Interface::loadTutorial() {
    tutorialTextures.resize(tutorialPictureCount);
    for (int i = 0; i < tutorialPictureCount; ++i) {
        if (!tutorialTextures[i].loadFromFile(tutorialPicture(i))) return false;
        tutorialTextures[i].setSmooth(true);
    }
    tutorialSprites.resize(tutorialPictureCount);
    for (int i = 0; i < tutorialPictureCount; ++i) {
        sf::Sprite& page = tutorialSprites[i];
        page.setTexture(tutorialTextures[i]);
        page.setScale(scaleY, scaleY);
        const float y = (i == 5 || i == 6) ? 108 * scaleY : 0;
        page.setPosition(windowWidth / 2 - page.getGlobalBounds().width / 2, y);
    }
    return true;
}

void Interface::startTutorial(std::vector<Route>& routes) {
    tutorialStep = 0;
    for (Route& route : routes) route.phase = tutorialPhase;
}

bool Interface::advanceTutorialOnKey(std::vector<Route>& routes) {
    if (tutorialStep == 0) {
        tutorialStep = 1;
        askLaunch(routes, 3);
    }
    if (tutorialStep != 4) return false;
    std::cout << "start !" << std::endl;
    Screen = Playing;
    return true;
}

void Interface::tutorialFrame(std::vector<Route>& routes) {
    tutorialAdvanceSteps(routes);
    tutorialRelaunch(routes);
}

void Interface::tutorialAdvanceSteps(std::vector<Route>& routes) {
    if (tutorialStep == 1 && caughtWell(routes, 3)) {
        tutorialStep = 2;
        for (Route& route : routes) route.grabStarted = true;
        askLaunch(routes, 0);
    } else if (tutorialStep == 2 && caughtWell(routes, 0)) {
        tutorialStep = 3;
        askLaunch(routes, 1);
        askLaunch(routes, 2);
    } else if (tutorialStep == 3 && caughtWell(routes, 1) && caughtWell(routes, 2)) {
        tutorialStep = 4;
    }
}

void Interface::tutorialRelaunch(std::vector<Route>& routes) {
    for (Route& route : routes) {
        if (route.tutorialResult >= 0) continue;
        if (route.tutorialResult != -1) tutorialOverlay = -route.tutorialResult - 1;
        route.tutorialLaunch = true;
        route.tutorialResult = 0;
    }
}
