// The options panel: its card slides down from the top of the main menu, with the chosen
// row's band, the volume slider and the rows' values over it.
#include <algorithm>
#include <string>

#include "assets/asset_files.h"
#include "ui/interface.h"
#include "ui/options_layout.h"

namespace {
namespace L = OptionsLayout;

const sf::Color optionsInk(59, 41, 74);
const sf::Color optionsGrey(115, 102, 128);
const sf::Color optionsRed(176, 42, 48);
const char* const optionsKeysHint =
    "Up / Down: a row    Left / Right: change    Return: choose    Escape: back";

// A part of the parts sheet, in pixels of a sheet drawn at referenceWidth.
sf::IntRect sheetRect(float left, float top, float width, float height, float referenceWidth) {
    return sf::IntRect(L::sheetPixels(left, referenceWidth), L::sheetPixels(top, referenceWidth),
                       L::sheetPixels(width, referenceWidth),
                       L::sheetPixels(height, referenceWidth));
}
}  // namespace

bool Interface::loadOptionsPictures() {
    if (optionsProfile == profileName) return true;
    if (!optionsTexture.loadFromFile(optionsPanelPicture(profileName))) return false;
    if (!optionsPartsTexture.loadFromFile(optionsPartsPicture(profileName))) return false;
    optionsTexture.setSmooth(true);
    optionsPartsTexture.setSmooth(true);
    optionsSprite.setTexture(optionsTexture, true);
    optionsBandSprite.setTexture(optionsPartsTexture);
    optionsFillSprite.setTexture(optionsPartsTexture);
    optionsKnobSprite.setTexture(optionsPartsTexture);
    optionsProfile = profileName;
    for (sf::Text& text : optionsTexts) {
        text.setFont(font);
        text.setFillColor(optionsInk);
    }
    for (sf::Text& text : optionsKeyTexts) {
        text.setFont(font);
        text.setFillColor(optionsInk);
    }
    optionsHint.setFont(font);
    if (optionsHint.getString().isEmpty()) showOptionsNotice("");
    return true;
}

void Interface::showOptions(int row, int volume, const std::array<std::string, 7>& values,
                            const std::array<std::string, 4>& keys) {
    optionsRow = std::clamp(row, 0, L::rowCount - 1);
    optionsVolume = std::clamp(volume, 0, 100);
    optionsTexts[0].setString(std::to_string(optionsVolume));
    for (int row = 1; row < L::rowCount; ++row) {
        optionsTexts[static_cast<size_t>(row)].setString(values[static_cast<size_t>(row)]);
    }
    for (size_t slot = 0; slot < keys.size(); ++slot) optionsKeyTexts[slot].setString(keys[slot]);
    if (MenuChoice == ChoiceUp) placeOptionsLayer(slideX, slideY);
}

void Interface::showOptionsNotice(const std::string& notice) {
    optionsNoticeShown = !notice.empty();
    optionsHint.setString(optionsNoticeShown ? notice : std::string(optionsKeysHint));
    optionsHint.setFillColor(optionsNoticeShown ? optionsRed : optionsGrey);
    if (MenuChoice == ChoiceUp) placeOptionsLayer(slideX, slideY);
}

void Interface::placeOptionsLayer(float x, float y) {
    const float W = windowWidth;
    const float H = windowHeight;
    const float c = W / 2048;  // canvas units to pixels
    const float k = scaleX;    // picture pixels to pixels
    const float r = referenceWidth;
    optionsSprite.setScale(k, k);
    const float pictureHeight = static_cast<float>(optionsTexture.getSize().y) * k;
    optionsSprite.setPosition(x, y + (H - pictureHeight) / 2);
    const float left = x + (W - L::cardWidth * c) / 2;
    const float top = y + (H - L::cardHeight * c) / 2;

    optionsBandSprite.setTextureRect(sheetRect(0, L::bandTop, L::rowWidth, L::rowHeight, r));
    optionsBandSprite.setScale(k, k);
    optionsBandSprite.setPosition(left + L::rowsLeft * c, top + L::rowTop(optionsRow) * c);

    const float fraction = static_cast<float>(optionsVolume) / 100.0f;
    const int fillPixels = L::sheetPixels(L::trackWidth * fraction, r);
    sf::IntRect fill = sheetRect(0, L::fillTop, L::trackWidth, L::trackHeight, r);
    fill.width = fillPixels;
    optionsFillSprite.setTextureRect(fill);
    optionsFillSprite.setScale(k, k);
    const float middle = top + (L::rowTop(0) + L::rowHeight / 2) * c;
    optionsFillSprite.setPosition(left + L::trackLeft * c, middle - L::trackHeight * c / 2);
    optionsKnobSprite.setTextureRect(
        sheetRect(L::knobLeft, L::fillTop, L::knobWidth, L::knobHeight, r));
    optionsKnobSprite.setScale(k, k);
    optionsKnobSprite.setPosition(
        left + (L::trackLeft + L::trackWidth * fraction) * c - L::knobWidth * c / 2,
        middle - L::knobHeight * c / 2);

    // The values: the volume right of its slider, the choices between their arrows, the
    // keys in their slots and the buttons' words on them.
    const float keysRowMiddle = top + (L::rowTop(3) + L::rowHeight / 2) * c;
    for (int row = 0; row < L::rowCount; ++row) {
        float centre = L::valueCentre;
        float room = L::valueRight - L::valueLeft - 180;
        if (row == 0) centre = L::volumeTextCentre;
        if (row == 3) {
            centre = L::resetLeft + L::resetWidth / 2;
            room = L::resetWidth - 30;
        }
        if (row == 6) {
            centre = L::buttonLeft + L::buttonWidth / 2;
            room = L::buttonWidth - 40;
        }
        const float rowMiddle = top + (L::rowTop(row) + L::rowHeight / 2) * c;
        placeOptionsText(optionsTexts[static_cast<size_t>(row)], left + centre * c, rowMiddle,
                         room * c, 48 * c);
    }
    placeOptionsText(optionsHint, left + L::cardWidth / 2 * c, top + L::hintMiddle * c,
                     L::hintWidth * c, (optionsNoticeShown ? 36 : 32) * c);
    for (int slot = 0; slot < 4; ++slot) {
        placeOptionsText(optionsKeyTexts[static_cast<size_t>(slot)],
                         left + (L::keySlotX(slot) + L::keySlotWidth / 2) * c,
                         keysRowMiddle - 4 * c, (L::keySlotWidth - 20) * c, 48 * c);
    }
    placeOptionsKeyFrame(left, top, c);
}

void Interface::placeOptionsText(sf::Text& text, float centreX, float middleY, float room,
                                 float size) {
    // A long value is written smaller, to stay in its room.
    unsigned pixels = static_cast<unsigned>(size + 0.5f);
    text.setCharacterSize(pixels);
    while (pixels > 8 && text.getLocalBounds().width > room) {
        pixels -= 1;
        text.setCharacterSize(pixels);
    }
    const sf::FloatRect bounds = text.getLocalBounds();
    text.setPosition(centreX - bounds.left - bounds.width / 2,
                     middleY - bounds.top - bounds.height / 2);
}

namespace {
// The routes' colours (as their creatures wear them) and the red of a refused key.
const sf::Color slotColours[4] = {{245, 140, 51}, {56, 158, 237}, {171, 97, 219}, {102, 194, 77}};
const sf::Color refusedRed(196, 40, 40);

// A slot of the route keys' row on the card: 0..3 the keys, 4 the reset button.
sf::FloatRect keySlotRect(int slot) {
    const float middle = L::rowTop(3) + L::rowHeight / 2;
    const float left = slot < 4 ? L::keySlotX(slot) : L::resetLeft;
    const float width = slot < 4 ? L::keySlotWidth : L::resetWidth;
    return sf::FloatRect(left, middle - L::keySlotHeight / 2, width, L::keySlotHeight);
}
}  // namespace

void Interface::showOptionsKeySlot(int slot, bool waiting, bool refused) {
    optionsKeySlot = slot;
    optionsKeyWaiting = waiting;
    optionsKeyRefused = refused;
    for (size_t s = 0; s < optionsKeyTexts.size(); ++s) {
        const bool red = refused && static_cast<int>(s) == slot;
        optionsKeyTexts[s].setFillColor(red ? sf::Color::White : optionsInk);
    }
    if (MenuChoice == ChoiceUp) placeOptionsLayer(slideX, slideY);
}

void Interface::placeOptionsKeyFrame(float left, float top, float c) {
    if (optionsKeySlot < 0) return;
    const sf::FloatRect slot = keySlotRect(optionsKeySlot);
    const float inset = 4 * c;
    optionsKeyFrame.setPosition(left + slot.left * c + inset, top + slot.top * c + inset);
    optionsKeyFrame.setSize({slot.width * c - 2 * inset, slot.height * c - 2 * inset});
    optionsKeyFrame.setOutlineThickness(6 * c);
    sf::Color edge = optionsInk;
    if (optionsKeyWaiting && optionsKeySlot < 4) edge = slotColours[optionsKeySlot];
    if (optionsKeyRefused) edge = refusedRed;
    optionsKeyFrame.setOutlineColor(edge);
    optionsKeyFrame.setFillColor(optionsKeyRefused ? refusedRed : sf::Color::Transparent);
}

int Interface::hitTestOptionsKeySlot(float x, float y) const {
    if (!drawnArea().contains(x, y)) return -1;
    const float c = windowWidth / 2048;
    const float cx = (x - areaLeft - (windowWidth - L::cardWidth * c) / 2) / c;
    const float cy = (y - areaTop - (windowHeight - L::cardHeight * c) / 2) / c;
    for (int slot = 0; slot < 5; ++slot) {
        if (keySlotRect(slot).contains(cx, cy)) return slot;
    }
    return -1;
}

int Interface::hitTestOptions(float x, float y) const {
    if (!drawnArea().contains(x, y)) return -1;
    const float c = windowWidth / 2048;
    const float cx = (x - areaLeft - (windowWidth - L::cardWidth * c) / 2) / c;
    const float cy = (y - areaTop - (windowHeight - L::cardHeight * c) / 2) / c;
    if (cx >= L::backLeft && cx <= L::backLeft + L::backSize && cy >= L::backTop &&
        cy <= L::backTop + L::backSize)
        return optionsBack;
    if (cx < L::rowsLeft || cx > L::rowsLeft + L::rowWidth) return -1;
    for (int row = 0; row < L::rowCount; ++row) {
        if (cy >= L::rowTop(row) && cy <= L::rowTop(row) + L::rowHeight) return row;
    }
    return -1;
}

float Interface::optionsTrackFraction(float x) const {
    const float c = windowWidth / 2048;
    const float cx = (x - areaLeft - (windowWidth - L::cardWidth * c) / 2) / c;
    return (cx - L::trackLeft) / L::trackWidth;
}

bool Interface::hitTestMenuTop(float x, float y) const {
    return menuTopAt(x, y, drawnArea());
}
