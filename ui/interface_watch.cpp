// Watching a recorded play: the results panel's watch button, the song list's signs on the
// songs whose best play is kept, and the corner sign of a play being watched.
#include <string>

#include "ui/interface.h"

namespace {
// The watch button is made of the results panel's retry button (in the panel picture, whose
// pixels are canvas units): its top with the rounded corners and its foot, both plain, one
// under the other, under the retry button.
const sf::IntRect retryTop(1526, 167, 340, 133);
const sf::IntRect retryFoot(1526, 480, 340, 56);
const sf::Vector2f watchButtonAt(1526, 590);
// The words of the panels' buttons and lists.
const sf::Color ink(59, 41, 74);

// Puts a text's middle at (x, y).
void centreOn(sf::Text& text, float x, float y) {
    const sf::FloatRect local = text.getLocalBounds();
    const sf::Vector2f scale = text.getScale();
    text.setPosition(x - (local.left + local.width / 2) * scale.x,
                     y - (local.top + local.height / 2) * scale.y);
}

sf::String fromUtf8(const std::string& text) {
    return sf::String::fromUtf8(text.begin(), text.end());
}

sf::FloatRect grown(sf::FloatRect r, float by) {
    return sf::FloatRect(r.left - by, r.top - by, r.width + 2 * by, r.height + 2 * by);
}
}  // namespace

void Interface::setUpWatchParts() {
    watchButtonTop.setTexture(pauseTexture);
    watchButtonTop.setTextureRect(retryTop);
    watchButtonFoot.setTexture(pauseTexture);
    watchButtonFoot.setTextureRect(retryFoot);
    watchButtonLabel.setFont(font);
    watchButtonLabel.setCharacterSize(64);
    watchButtonLabel.setString("Watch");
    watchButtonLabel.setFillColor(ink);
    for (sf::Text& sign : keptPlaySigns) {
        sign.setFont(font);
        sign.setCharacterSize(36);
        sign.setString(fromUtf8(u8"\u25B6 Watch"));
        sign.setFillColor(ink);
    }
    replaySign.setFont(font);
    replaySign.setCharacterSize(44);
    replaySign.setFillColor(sf::Color(242, 242, 242));
    replaySign.setOutlineColor(ink);
    replaySign.setOutlineThickness(4);
    showReplaySign(replaySignShown, false);
}

void Interface::showKeptPlays(const std::array<bool, 4>& kept) {
    keptPlays = kept;
}

void Interface::showReplaySign(bool shown, bool paused) {
    replaySignShown = shown;
    replaySign.setString(fromUtf8(paused ? u8"REPLAY \u2013 paused" : "REPLAY"));
    placeReplaySign();
}

void Interface::placeWatchButton(float y) {
    const float sx = windowWidth / 2048;
    const float sy = windowHeight / 1536;
    const float top = watchButtonAt.y * sy + y;
    const float height = static_cast<float>(retryTop.height + retryFoot.height);
    watchButtonTop.setScale(sx, sy);
    watchButtonFoot.setScale(sx, sy);
    watchButtonTop.setPosition(watchButtonAt.x * sx, top);
    watchButtonFoot.setPosition(watchButtonAt.x * sx,
                                top + static_cast<float>(retryTop.height) * sy);
    watchButtonLabel.setScale(scaleY, scaleY);
    centreOn(watchButtonLabel, (watchButtonAt.x + static_cast<float>(retryTop.width) / 2) * sx,
             top + height / 2 * sy);
}

void Interface::placeReplaySign() {
    // The bottom left corner, under the corner route's hole and away from the final stage's
    // bar in the middle.
    const float s = scaleY;
    replaySign.setScale(s, s);
    const sf::FloatRect local = replaySign.getLocalBounds();
    replaySign.setPosition(36 * s - local.left * s,
                           windowHeight - 36 * s - (local.top + local.height) * s);
}

bool Interface::hitTestWatchButton(float x, float y) const {
    const sf::Vector2f m = toArea(sf::Vector2f(x, y));
    const sf::FloatRect top = watchButtonTop.getGlobalBounds();
    const sf::FloatRect foot = watchButtonFoot.getGlobalBounds();
    return sf::FloatRect(top.left, top.top, top.width, foot.top + foot.height - top.top)
        .contains(m);
}

int Interface::hitTestKeptPlaySign(float x, float y) const {
    const sf::Vector2f m = toArea(sf::Vector2f(x, y));
    for (int song = 0; song < 4; ++song) {
        if (keptPlays[song] &&
            grown(keptPlaySigns[song].getGlobalBounds(), 12 * scaleY).contains(m))
            return song;
    }
    return -1;
}
