// The making-of picture book and the panels that slide in from the main menu.
#include <iostream>
#include <string>

#include "assets/asset_files.h"
#include "ui/interface.h"

namespace {
const int makingOfPageCount = 19;
}

bool Interface::loadMakingOfPage(int n) {
    if (n < 0 || n >= makingOfPageCount) return false;
    if (makingOfLoaded[n]) return true;
    if (!makingOfTextures[n].loadFromFile(makingOfPicture(n))) return false;
    makingOfTextures[n].setSmooth(true);
    makingOfLoaded[n] = true;
    if (n == 0) {
        const bool volumeLoaded = volumeTexture.loadFromFile(volumeIconPicture());
        volumeTexture.setSmooth(true);
        volumeSprite.setScale(scaleY, scaleY);
        showVolumeFrame(muteStage);
        return volumeLoaded;
    }
    return true;
}

void Interface::turnMakingOfPage(bool forward) {
    if (makingOfPage < 0 || makingOfPage >= makingOfPageCount) return;
    int target = 0;
    if (forward) {
        if (makingOfPage > makingOfPageCount - 2) return;
        pageWidth = windowWidth;
        target = makingOfPage + 1;
    } else {
        if (makingOfPage <= 0) return;
        pageWidth = -windowWidth;
        target = makingOfPage - 1;
    }
    if (!loadMakingOfPage(target)) std::cout << "Error loading MoF!" << std::endl;
    const float letterboxY = (windowWidth * 1536 / 2048 - windowHeight) / 2;
    makingOfNextSprite.setTexture(makingOfTextures[target]);
    pageOffset = pageWidth;
    makingOfPageSprite.setPosition(0, -letterboxY);
    makingOfNextSprite.setPosition(pageOffset, -letterboxY);
    if (forward) {
        pageTurnForward = true;
    } else {
        pageTurnBack = true;
    }
}

void Interface::showPanelPicture() {
    if (MenuChoice == ChoiceUp) {
        // The options panel has a sprite of its own, drawn instead of the side pictures.
        if (!loadOptionsPictures()) std::cout << "error loading options" << std::endl;
        return;
    }
    if (MenuChoice == ChoiceDown) {
        panelSprite.setScale(windowWidth / 2048, windowWidth / 2048);
        if (!loadMakingOfPage(makingOfPage)) std::cout << "error loading mof" << std::endl;
        if (makingOfPage >= 0 && makingOfPage < makingOfPageCount) {
            panelSprite.setTexture(makingOfTextures[makingOfPage]);
        }
        return;
    }
    panelSprite.setScale(windowWidth / 2048, windowHeight / 1536);
    // ChoiceNone has no side picture; the panel then keeps its last one.
    if (MenuChoice >= 0 && MenuChoice < static_cast<int>(sideTextures.size())) {
        panelSprite.setTexture(sideTextures[MenuChoice]);
    }
}

void Interface::openPanel() {
    showPanelPicture();
    float startX = 0;
    float startY = 0;
    if (MenuChoice == ChoiceUp) {
        startY = -windowHeight;
    } else if (MenuChoice == ChoiceRight) {
        startX = windowWidth;
    } else if (MenuChoice == ChoiceDown) {
        startY = windowHeight;
        if (!loadMakingOfPage(0)) std::cout << "error loading mof !" << std::endl;
        makingOfPageSprite.setTexture(makingOfTextures[0]);
    } else if (MenuChoice == ChoiceLeft) {
        startX = -windowWidth;
    }
    transitionT = 0;
    refreshRecordTexts();
    updateCompletionDots();
    slideTargetX = startX;
    slideTargetY = startY;
    slideX = startX;
    slideY = startY;
    panelSprite.setPosition(slideX, slideY);
    if (MenuChoice == ChoiceUp) placeOptionsLayer(slideX, slideY);
    panelOpening = true;
}
