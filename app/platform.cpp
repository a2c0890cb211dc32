#include "app/platform.h"

void SfmlPlatform::openWindow(const char* title) {
    sf::VideoMode mode = sf::VideoMode::getDesktopMode();
    window.create(mode, title, sf::Style::Fullscreen, sf::ContextSettings(0, 0, 0, 2, 0));
}

bool SfmlPlatform::isKeyPressed(sf::Keyboard::Key key) const {
    // Keys only count while the game has the focus, as a player expects.
    return window.hasFocus() && sf::Keyboard::isKeyPressed(key);
}
