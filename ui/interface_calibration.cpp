// The calibration pages: a card over the options panel, with the page's texts, the watch
// test's creature hopping on its spot and the results page's buttons.
#include <algorithm>
#include <string>

#include "assets/asset_files.h"
#include "ui/calibration_layout.h"
#include "ui/interface.h"
#include "ui/options_layout.h"

namespace {
namespace C = CalibrationLayout;

const sf::Color calibrationInk(59, 41, 74);

// A part of the parts sheet, in pixels of a sheet drawn at referenceWidth.
sf::IntRect partRect(float left, float top, float width, float height, float referenceWidth) {
    return sf::IntRect(OptionsLayout::sheetPixels(left, referenceWidth),
                       OptionsLayout::sheetPixels(top, referenceWidth),
                       OptionsLayout::sheetPixels(width, referenceWidth),
                       OptionsLayout::sheetPixels(height, referenceWidth));
}

// The text sizes by CalibrationText, in canvas units.
const float textSizes[CalibrationText::count] = {66, 40, 44, 50, 46, 36, 32};
}  // namespace

bool Interface::loadCalibrationPictures() {
    if (calibrationProfile == profileName) return true;
    if (!calibrationTexture.loadFromFile(calibrationCardPicture(profileName))) return false;
    if (!calibrationPartsTexture.loadFromFile(calibrationPartsPicture(profileName))) return false;
    calibrationTexture.setSmooth(true);
    calibrationPartsTexture.setSmooth(true);
    calibrationSprite.setTexture(calibrationTexture, true);
    for (sf::Sprite& button : calibrationButtonSprites) button.setTexture(calibrationPartsTexture);
    calibrationRingSprite.setTexture(calibrationPartsTexture);
    calibrationSpotSprite.setTexture(calibrationPartsTexture);
    calibrationProfile = profileName;
    for (sf::Text& text : calibrationTexts) {
        text.setFont(font);
        text.setFillColor(calibrationInk);
    }
    return true;
}

void Interface::showCalibration(const std::array<std::string, CalibrationText::count>& texts,
                                bool creature, bool buttons, int choice, bool applies) {
    for (size_t k = 0; k < texts.size(); ++k) calibrationTexts[k].setString(texts[k]);
    calibrationCreature = creature;
    calibrationButtons = buttons;
    calibrationChoice = std::clamp(choice, 0, C::buttonCount - 1);
    calibrationApplies = applies;
    placeCalibrationLayer();
}

void Interface::placeCalibrationLayer() {
    const float W = windowWidth;
    const float H = windowHeight;
    const float c = W / 2048;  // canvas units to pixels
    const float k = scaleX;    // picture pixels to pixels
    const float r = referenceWidth;
    const float left = (W - OptionsLayout::cardWidth * c) / 2;
    const float top = (H - OptionsLayout::cardHeight * c) / 2;
    calibrationSprite.setScale(k, k);
    calibrationSprite.setPosition(left, top);

    const float middles[CalibrationText::count] = {C::headingY,   C::instructionY, C::progressY,
                                                   C::resultY[0], C::resultY[1],   C::resultY[2],
                                                   C::helpY};
    for (int t = 0; t < CalibrationText::count; ++t) {
        const bool inStage = t >= CalibrationText::result && t < CalibrationText::help;
        placeOptionsText(calibrationTexts[static_cast<size_t>(t)], left + C::centreX * c,
                         top + middles[t] * c, (inStage ? C::resultWidth : C::textWidth) * c,
                         textSizes[t] * c);
    }

    for (int b = 0; b < C::buttonCount; ++b) {
        sf::Sprite& button = calibrationButtonSprites[static_cast<size_t>(b)];
        button.setTextureRect(
            partRect(C::sheetButtonLeft(b), 0, C::buttonWidth, C::buttonHeight, r));
        button.setScale(k, k);
        button.setPosition(left + C::buttonLeft(b) * c, top + C::buttonTop * c);
        // Apply cannot be pressed without offsets to apply.
        button.setColor(b == 0 && !calibrationApplies ? sf::Color(255, 255, 255, 80)
                                                      : sf::Color::White);
    }
    calibrationRingSprite.setTextureRect(partRect(C::ringLeft, 0, C::ringWidth, C::ringHeight, r));
    calibrationRingSprite.setScale(k, k);
    calibrationRingSprite.setPosition(
        left + (C::buttonLeft(calibrationChoice) - (C::ringWidth - C::buttonWidth) / 2) * c,
        top + (C::buttonTop - (C::ringHeight - C::buttonHeight) / 2) * c);

    calibrationSpotSprite.setTextureRect(
        partRect(C::spotLeft, C::spotTop, C::spotWidth, C::spotHeight, r));
    calibrationSpotSprite.setScale(k, k);
    calibrationSpotSprite.setPosition(left + (C::centreX - C::spotWidth / 2) * c,
                                      top + (C::spotY - C::spotHeight / 2) * c);
    placeCalibrationCreature(creatureHeight);
}

void Interface::placeCalibrationCreature(float height) {
    creatureHeight = std::clamp(height, 0.0f, 1.0f);
    const float W = windowWidth;
    const float H = windowHeight;
    const float c = W / 2048;
    const float left = (W - OptionsLayout::cardWidth * c) / 2;
    const float top = (H - OptionsLayout::cardHeight * c) / 2;
    // Squashed as it touches its spot, stretched in the air.
    const sf::IntRect& picture = creatureHeight < 0.12f ? creatureLanded : creatureFlying;
    calibrationCreatureSprite.setTextureRect(picture);
    // The creatures' pictures are drawn for the 2048-wide canvas, as the board shows them.
    const float scale = c * C::creatureScale;
    calibrationCreatureSprite.setScale(scale, scale);
    calibrationCreatureSprite.setOrigin(static_cast<float>(picture.width) / 2,
                                        static_cast<float>(picture.height));
    // Its feet on the middle of the spot when it touches it.
    calibrationCreatureSprite.setPosition(
        left + C::centreX * c, top + (C::spotY + 12 - creatureHeight * C::hopHeight) * c);
}

int Interface::hitTestCalibration(float x, float y) const {
    if (!drawnArea().contains(x, y)) return -1;
    const float c = windowWidth / 2048;
    const float cx = (x - areaLeft - (windowWidth - OptionsLayout::cardWidth * c) / 2) / c;
    const float cy = (y - areaTop - (windowHeight - OptionsLayout::cardHeight * c) / 2) / c;
    namespace L = OptionsLayout;
    if (cx >= L::backLeft && cx <= L::backLeft + L::backSize && cy >= L::backTop &&
        cy <= L::backTop + L::backSize)
        return calibrationBack;
    if (!calibrationButtons || cy < C::buttonTop || cy > C::buttonTop + C::buttonHeight) return -1;
    for (int b = 0; b < C::buttonCount; ++b) {
        if (cx >= C::buttonLeft(b) && cx <= C::buttonLeft(b) + C::buttonWidth) return b;
    }
    return -1;
}
