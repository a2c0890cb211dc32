#include "app/controller.h"

const PadButtonKey padButtonKeys[5] = {
    {4, sf::Keyboard::E},      {5, sf::Keyboard::P},     {0, sf::Keyboard::Return},
    {1, sf::Keyboard::Escape}, {7, sf::Keyboard::Space},
};

const PadAxisKey padAxisKeys[6] = {
    {sf::Joystick::R, 1.0f, 0.0f, sf::Keyboard::L},
    {sf::Joystick::Z, 1.0f, 0.0f, sf::Keyboard::D},
    {sf::Joystick::PovX, -1.0f, 50.0f, sf::Keyboard::Left},
    {sf::Joystick::PovX, 1.0f, 50.0f, sf::Keyboard::Right},
    {sf::Joystick::PovY, -1.0f, 50.0f, sf::Keyboard::Up},
    {sf::Joystick::PovY, 1.0f, 50.0f, sf::Keyboard::Down},
};

namespace {
sf::Event keyEvent(sf::Keyboard::Key key, bool pressed) {
    sf::Event e;
    e.type = pressed ? sf::Event::KeyPressed : sf::Event::KeyReleased;
    e.key.code = key;
    e.key.alt = e.key.control = e.key.shift = e.key.system = false;
    return e;
}
}  // namespace

bool isJoystickEvent(const sf::Event& event) {
    switch (event.type) {
        case sf::Event::JoystickButtonPressed:
        case sf::Event::JoystickButtonReleased:
        case sf::Event::JoystickMoved:
        case sf::Event::JoystickConnected:
        case sf::Event::JoystickDisconnected:
            return true;
        default:
            return false;
    }
}

bool padHoldsKey(const Platform& platform, sf::Keyboard::Key key) {
    for (unsigned id = 0; id < sf::Joystick::Count; ++id) {
        if (!platform.isJoystickConnected(id)) continue;
        for (const PadButtonKey& b : padButtonKeys) {
            if (b.key == key && platform.isJoystickButtonPressed(id, b.button)) return true;
        }
        for (const PadAxisKey& a : padAxisKeys) {
            if (a.key == key && platform.joystickAxisPosition(id, a.axis) * a.sign > a.threshold)
                return true;
        }
    }
    return false;
}

void PadKeys::translate(const sf::Event& event, std::vector<sf::Event>& keys) {
    if (event.type == sf::Event::JoystickButtonPressed ||
        event.type == sf::Event::JoystickButtonReleased) {
        const bool pressed = event.type == sf::Event::JoystickButtonPressed;
        for (const PadButtonKey& b : padButtonKeys) {
            if (b.button == event.joystickButton.button) keys.push_back(keyEvent(b.key, pressed));
        }
    } else if (event.type == sf::Event::JoystickMoved) {
        const unsigned id = event.joystickMove.joystickId;
        if (id >= sf::Joystick::Count) return;
        for (int i = 0; i < 6; ++i) {
            const PadAxisKey& a = padAxisKeys[i];
            if (a.axis != event.joystickMove.axis) continue;
            const bool held = event.joystickMove.position * a.sign > a.threshold;
            if (held != axisHeld[id][i]) keys.push_back(keyEvent(a.key, held));
            axisHeld[id][i] = held;
        }
    } else if (event.type == sf::Event::JoystickDisconnected) {
        const unsigned id = event.joystickConnect.joystickId;
        if (id >= sf::Joystick::Count) return;
        for (int i = 0; i < 6; ++i) {
            if (axisHeld[id][i]) keys.push_back(keyEvent(padAxisKeys[i].key, false));
            axisHeld[id][i] = false;
        }
    }
}
