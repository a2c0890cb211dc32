// The Interface object: construction, display profile, picture loading and layout.
#include <iostream>
#include <string>

#include "assets/asset_files.h"
#include "ui/display_profile.h"
#include "ui/interface.h"
#include "ui/picture_decoder.h"

const sf::Vector2f menuTextLayout[17] = {
    {635, 72},   {1476, 666}, {800, 1226}, {76, 666},  {179, 171},  {179, 156},
    {1840, 580}, {0, 620},    {347, 202},  {856, 184}, {1476, 192}, {347, 202},
    {658, 190},  {1476, 192}, {675, 394},  {785, 189}, {666, 407},
};

Interface::Interface(float windowWidth, float windowHeight, std::ofstream& logStream)
    : sideTextures(4),
      menuTextTextures(17),
      makingOfTextures(19),
      makingOfLoaded(19, false),
      menuTextSprites(MenuText::count),
      dotSprites(4),
      aspectRatio(windowWidth / windowHeight),
      screenWidth(windowWidth),
      screenHeight(windowHeight),
      logStream(logStream),
      bestCompletion(4, 0.0f),
      bestScore(4, 0.0f),
      bestExploreTime(4, 0.0f) {
    const DrawnArea area =
        ::drawnArea(static_cast<unsigned>(windowWidth), static_cast<unsigned>(windowHeight));
    this->windowWidth = area.width;
    this->windowHeight = area.height;
    areaLeft = area.left;
    areaTop = area.top;
    hovered = -1;
    exploreLocked = true;
    loadProfile();
    atlasVisible = false;
    volumeFactor = 1.0f;
    rectScale = 1.0f;
    muteStage = 0;
}

Interface::~Interface() = default;

void Interface::chooseDisplayProfile() {
    DisplayProfile p = ::chooseDisplayProfile(windowWidth, windowHeight, aspectRatio);
    profileName = p.profileName;
    referenceWidth = p.referenceWidth;
    scaleX = p.scaleX;
    scaleY = p.scaleY;
    menuTopOffset = p.menuTopOffset;
    pauseHiddenOffset = p.pauseHiddenOffset;
    atlasSprite.setScale(scaleY * 0.6f, scaleY * 0.6f);
    std::cerr << displayProfileLine(p, aspectRatio) << std::endl;
}

namespace {
void setUpText(sf::Text& text, const sf::Font& font, unsigned size, const char* string,
               sf::Color colour) {
    text.setFont(font);
    text.setCharacterSize(size);
    text.setString(string);
    text.setFillColor(colour);
}
}  // namespace

std::vector<std::string> Interface::playPictureFiles(int mode) const {
    return ::playPictureFiles(mode, profileName);
}

bool Interface::loadImages(PictureDecoder* pictures) {
    const std::vector<std::string> files = menuPictureFiles();
    size_t f = 0;
    if (!loadPicture(pictures, centreTexture, files[f++])) return false;
    if (!loadPicture(pictures, pauseTexture, files[f++])) return false;
    if (!loadPicture(pictures, scoreBarTexture, files[f++])) return false;
    for (int i = 1; i < 4; i += 2) {
        if (!loadPicture(pictures, sideTextures[i], files[f++])) return false;
    }
    for (int i = 0; i < 17; ++i) {
        if (!loadPicture(pictures, menuTextTextures[i], files[f++])) return false;
    }
    if (!loadPicture(pictures, dotTexture, files[f++])) return false;
    if (!loadPicture(pictures, hintTexture, files[f++])) return false;
    if (!font.loadFromFile(fontFile())) return false;
    writeSongListKeys(MenuText::songListHeader);
    writeSongListKeys(MenuText::exploreListHeader);

    hintTexture.setSmooth(true);
    hintSprite.setTexture(hintTexture);

    std::cout << "done loading images" << std::endl;

    setUpText(headlineText, font, 80, "Congrats!", sf::Color(242, 242, 242, 255));
    setUpText(resultText, font, 80, "0", sf::Color(0, 0, 0, 255));
    setUpText(counterText, font, 40, "0", sf::Color(153, 153, 153, 255));
    for (int i = 0; i < 4; ++i) {
        setUpText(exploreTimeTexts[i], font, 70, "Locked", sf::Color::Black);
        setUpText(scoreTexts[i], font, 70, "0 %", sf::Color::Black);
    }
    for (sf::Sprite& dot : dotSprites) dot.setTexture(dotTexture);
    setUpWatchParts();

    scoreBarSprite.setTexture(scoreBarTexture);
    for (int k = 0; k < 17; ++k) menuTextSprites[k].setTexture(menuTextTextures[k]);
    centreSprite.setTexture(centreTexture);
    pauseSprite.setTexture(pauseTexture);
    if (exploreLocked)
        menuTextSprites[MenuText::exploreItem].setColor(sf::Color(255, 255, 255, 50));

    placeAll();
    return true;
}

bool Interface::loadPlayImages(int mode, sf::Texture& buttonTexture,
                               std::vector<sf::Texture>& slimeTextures, PictureDecoder* pictures) {
    const std::vector<std::string> files = playPictureFiles(mode);
    if (!loadPicture(pictures, boardTexture, files[0])) return false;
    boardMode = mode;
    writeBoardKeys();
    if (scaleX != 1.0f) boardTexture.setSmooth(true);
    if (!loadPicture(pictures, buttonTexture, files[1])) return false;
    for (int i = 0; i < 4 && i < static_cast<int>(slimeTextures.size()); ++i) {
        if (!loadPicture(pictures, slimeTextures[i], files[2 + i])) return false;
    }
    return true;
}

void Interface::showMenuBackground() {
    centreSprite.setScale(windowWidth / 2048, windowHeight / 1536);
    centreSprite.setTexture(centreTexture);
}

void Interface::showBoard() {
    centreSprite.setPosition(0, 0);
    centreSprite.setScale(scaleX, scaleX);
    centreSprite.setTexture(boardTexture);
}

void Interface::placeMenuText(int k, float dx, float dy) {
    if (k < 0 || k >= static_cast<int>(menuTextSprites.size()) || k >= 17) return;
    sf::Sprite& sprite = menuTextSprites[k];
    const float textureWidth = static_cast<float>(menuTextTextures[k].getSize().x);
    const float x = (textureWidth / 2 + menuTextLayout[k].x) * windowWidth / 2048 -
                    sprite.getGlobalBounds().width / 2 + dx;
    sprite.setPosition(x, menuTextLayout[k].y * windowHeight / 1536 + dy);
}

void Interface::centreText(sf::Text& text, float y) {
    text.setPosition(windowWidth / 2 - text.getGlobalBounds().width / 2, y);
}
