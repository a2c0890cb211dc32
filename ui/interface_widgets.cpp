// Hit tests, record operations, the mute button and the level-selection sprite.
#include "board/anim_tables.h"
#include "core/songs.h"
#include "ui/interface.h"

namespace {
const float framePeriod = 1.0f / 12.0f;

// Anchor of the level-selection sprite per song 0..3 and the tutorial entry (index 4),
// canvas units: beside the song list (narrow) and beside the explore list (wide).
const sf::Vector2f atlasNarrowAnchor[5] = {
    {-85, 796}, {-85, 919}, {-85, 1037}, {-85, 1159}, {-85, 668}};
const sf::Vector2f atlasWideAnchor[5] = {
    {604, 770}, {604, 891}, {604, 1009}, {604, 1131}, {100, 767}};

}  // namespace

int Interface::hitTestMenuSector(float x, float y) const {
    return menuSectorAt(x, y, drawnArea());
}

int Interface::hitTestSidePanels(float x, float y) const {
    return sidePanelAt(x, y, drawnArea());
}

int Interface::hitTestExploreList(float x, float y) const {
    return exploreListAt(x, y, drawnArea(), bestCompletion);
}

int Interface::hitTestSongList(float x, float y) const {
    return songListAt(x, y, drawnArea());
}

void Interface::resetRecords() {
    for (int i = 0; i < 4; ++i) {
        bestCompletion[i] = 0.0f;
        bestScore[i] = 0.0f;
        bestExploreTime[i] = 0.0f;
    }
}

bool Interface::noSongCompleted() const {
    return noneCompleted(bestCompletion);
}

int Interface::nextCompletedSong(int i, bool forward) const {
    return nextCompletedIn(bestCompletion, i, forward);
}

void Interface::updateCompletionDots() {
    const sf::Vector2u size = dotTexture.getSize();
    for (int i = 0; i < 4; ++i) {
        const float width = (static_cast<float>(size.x) - 1) * bestCompletion[i] + 1;
        dotSprites[i].setTextureRect(sf::IntRect(0, 0, wholePart(width), static_cast<int>(size.y)));
    }
}

void Interface::showLevelSelect() {
    showMenuBackground();
    centreSprite.setPosition(-windowWidth, 0);
    pauseShown = false;
    hintVisible = false;
    hovered = -1;
}

void Interface::unloadMakingOf() {
    for (sf::Texture& page : makingOfTextures) page = sf::Texture();
    for (std::size_t i = 0; i < makingOfLoaded.size(); ++i) makingOfLoaded[i] = false;
}

void Interface::startMuteAnim() {
    if (muteStage == 0) {
        muteStage = 1;
        muted = true;
        animTimer = 0;
    } else if (muteStage == 8) {
        muteStage = 7;
        muted = false;
        animTimer = 0;
    }
}

void Interface::stepVolumeAnim(float dt) {
    if (muteStage < 1 || muteStage > 7) return;
    animTimer += dt;
    if (animTimer > framePeriod) {
        animTimer -= framePeriod;
        muteStage += muted ? 1 : -1;
        showVolumeFrame(muteStage);
    }
}

void Interface::showVolumeFrame(int stage) {
    const float W = windowWidth;
    const float s = scaleY;
    const sf::Vector2i offset = volumeFrameOffset(stage);
    const sf::IntRect rect = volumeFrameRect(stage);
    volumeSprite.setTexture(volumeTexture);
    volumeSprite.setTextureRect(
        sf::IntRect(wholePart(rect.left * rectScale), wholePart(rect.top * rectScale),
                    wholePart(rect.width * rectScale), wholePart(rect.height * rectScale)));
    const float x = W * 1267 / 2048 + s * static_cast<float>(offset.x);
    const float y =
        W * 945 / 2048 - (W * 1536 / 2048 - windowHeight) / 2 + s * static_cast<float>(offset.y);
    volumeSprite.setPosition(static_cast<float>(wholePart(x)), static_cast<float>(wholePart(y)));
}

void Interface::placeAtlas(int item, bool wide) {
    const float s = scaleY;
    atlasItem = item;
    atlasWide = wide;
    atlasY = wholePart(2 * windowHeight);
    int index = -1;
    if (item == ListHit::tutorial) {
        index = 4;
    } else {
        index = songOf(item);
    }
    highlighted = index < 0 ? -1 : index;
    if (index < 0) return;  // nothing to point at: the sprite stays off-screen
    if (wide) {
        const float textureWidth = static_cast<float>(menuTextTextures[5].getSize().x);
        atlasX = wholePart(slideX + windowWidth - (textureWidth + 179) * s +
                           atlasWideAnchor[index].x * s);
        atlasY = wholePart(windowHeight * 156 / 1536 + s * atlasWideAnchor[index].y);
    } else {
        atlasX = wholePart(s * atlasNarrowAnchor[index].x + 179 * s + slideX);
        atlasY = wholePart(s * atlasNarrowAnchor[index].y + 171 * s);
    }
}

void Interface::stepAtlasAnim(float dt) {
    animTimer += dt;
    if (!(animTimer > framePeriod)) return;
    animTimer -= framePeriod;
    atlasFrame += 1;
    if (atlasFrame >= atlasFrameCount) atlasFrame = 0;
    showAtlasFrame();
}

void Interface::showAtlasFrame() {
    const float s = scaleY;
    const sf::Vector2i offset = animFrameOffset(atlasAnimA, atlasAnimB, atlasFrame, false);
    const sf::IntRect rect = animFrameRect(atlasAnimA, atlasAnimB, atlasFrame, false);
    atlasSprite.setPosition(static_cast<float>(wholePart(s * offset.x + atlasX)),
                            static_cast<float>(wholePart(s * offset.y + atlasY)));
    atlasSprite.setTextureRect(
        sf::IntRect(wholePart(rect.left * rectScale), wholePart(rect.top * rectScale),
                    wholePart(rect.width * rectScale), wholePart(rect.height * rectScale)));
}

void Interface::startAtlasAnim(bool flag, const sf::Texture& texture) {
    atlasAnimA = flag ? 2 : 0;
    atlasAnimB = flag ? 25 : 24;
    atlasFrameCount = 19;
    atlasSprite.setTexture(texture);
    rectScale = 1.0f;
    animTimer = 0;
    atlasFrame = 1;
    atlasX = 385;
    atlasY = wholePart(2 * windowHeight);
    atlasItem = -1;
    stepAtlasAnim(0.084333330f);
}
