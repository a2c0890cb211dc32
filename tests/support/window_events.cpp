#include "support/window_events.h"

namespace {
sf::Event key(sf::Event::EventType type, sf::Keyboard::Key code) {
    sf::Event e;
    e.type = type;
    e.key.code = code;
    e.key.alt = e.key.control = e.key.shift = e.key.system = false;
    return e;
}

sf::Event button(sf::Event::EventType type, int x, int y, sf::Mouse::Button b) {
    sf::Event e;
    e.type = type;
    e.mouseButton.button = b;
    e.mouseButton.x = x;
    e.mouseButton.y = y;
    return e;
}
}  // namespace

sf::Event keyPressed(sf::Keyboard::Key code) {
    return key(sf::Event::KeyPressed, code);
}

sf::Event keyReleased(sf::Keyboard::Key code) {
    return key(sf::Event::KeyReleased, code);
}

sf::Event mousePressed(int x, int y, sf::Mouse::Button b) {
    return button(sf::Event::MouseButtonPressed, x, y, b);
}

sf::Event mouseReleased(int x, int y, sf::Mouse::Button b) {
    return button(sf::Event::MouseButtonReleased, x, y, b);
}

sf::Event mouseMoved(int x, int y) {
    sf::Event e;
    e.type = sf::Event::MouseMoved;
    e.mouseMove.x = x;
    e.mouseMove.y = y;
    return e;
}

sf::Event windowClosed() {
    sf::Event e;
    e.type = sf::Event::Closed;
    return e;
}
