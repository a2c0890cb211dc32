// The tutorial's pages: the explanation pages shown one under the other, and the two hints.
#include <string>

#include "assets/asset_files.h"
#include "ui/interface.h"

namespace {
const int tutorialPictureCount = 7;
}  // namespace

bool Interface::loadTutorial() {
    tutorialTextures.resize(tutorialPictureCount);
    for (int i = 0; i < tutorialPictureCount; ++i) {
        if (!tutorialTextures[i].loadFromFile(tutorialPicture(i))) return false;
        tutorialTextures[i].setSmooth(true);
    }
    writeTutorialKeys();
    tutorialSprites.resize(tutorialPictureCount);
    for (int i = 0; i < tutorialPictureCount; ++i)
        tutorialSprites[i].setTexture(tutorialTextures[i]);
    placeTutorialPages();
    return true;
}
