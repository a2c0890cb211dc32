#include "app/controller.h"

#include <algorithm>

namespace {
constexpr PadKey button(PadButton b, sf::Keyboard::Key key) {
    return {false, b, PadAxis::LeftX, 0.0f, key};
}
constexpr PadKey axis(PadAxis a, float end, sf::Keyboard::Key key) {
    return {true, PadButton::A, a, end, key};
}
}  // namespace

const PadKey padKeys[padKeyCount] = {
    button(PadButton::LeftShoulder, sf::Keyboard::E),
    button(PadButton::RightShoulder, sf::Keyboard::P),
    axis(PadAxis::RightTrigger, 1.0f, sf::Keyboard::L),
    axis(PadAxis::LeftTrigger, 1.0f, sf::Keyboard::D),
    button(PadButton::DpadLeft, sf::Keyboard::Left),
    button(PadButton::DpadRight, sf::Keyboard::Right),
    button(PadButton::DpadUp, sf::Keyboard::Up),
    button(PadButton::DpadDown, sf::Keyboard::Down),
    axis(PadAxis::LeftX, -1.0f, sf::Keyboard::Left),
    axis(PadAxis::LeftX, 1.0f, sf::Keyboard::Right),
    axis(PadAxis::LeftY, -1.0f, sf::Keyboard::Up),
    axis(PadAxis::LeftY, 1.0f, sf::Keyboard::Down),
    button(PadButton::A, sf::Keyboard::Return),
    button(PadButton::B, sf::Keyboard::Escape),
    button(PadButton::Start, sf::Keyboard::Space),
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

sf::Keyboard::Key PadKeys::keyOf(int control) const {
    return control < padRouteControls ? routeKeys[control] : padKeys[control].key;
}

bool PadKeys::holds(sf::Keyboard::Key key) const {
    for (const Pad& pad : pads) {
        for (int i = 0; i < padKeyCount; ++i) {
            if (pad.held[i] && keyOf(i) == key) return true;
        }
    }
    return false;
}

void PadKeys::bindRoutes(const sf::Keyboard::Key keys[4], std::vector<sf::Event>& events) {
    for (Pad& pad : pads) {
        for (int i = 0; i < padRouteControls; ++i) hold(pad, i, false, events);
    }
    std::copy(keys, keys + padRouteControls, routeKeys);
}

void PadKeys::hold(Pad& pad, int control, bool held, std::vector<sf::Event>& keys) {
    if (pad.held[control] == held) return;
    const sf::Keyboard::Key key = keyOf(control);
    const bool before = holds(key);
    pad.held[control] = held;
    if (holds(key) != before) keys.push_back(keyEvent(key, !before));
}

void PadKeys::releaseAll(Pad& pad, std::vector<sf::Event>& keys) {
    for (int i = 0; i < padKeyCount; ++i) hold(pad, i, false, keys);
}

void PadKeys::setFocus(bool focus, std::vector<sf::Event>& keys) {
    if (focus == focused) return;
    focused = focus;
    if (!focused) {
        for (Pad& pad : pads) releaseAll(pad, keys);
    }
}

void PadKeys::translate(const PadEvent& event, std::vector<sf::Event>& keys) {
    auto it =
        std::find_if(pads.begin(), pads.end(), [&](const Pad& pad) { return pad.id == event.pad; });
    if (event.type == PadEvent::Plugged) {
        if (it == pads.end()) it = pads.insert(pads.end(), Pad());
        releaseAll(*it, keys);
        it->id = event.pad;
        std::copy(event.rest, event.rest + padAxisCount, it->rest);
        return;
    }
    if (it == pads.end()) return;  // a controller never plugged in
    Pad& pad = *it;
    if (event.type == PadEvent::Unplugged) {
        releaseAll(pad, keys);
        pads.erase(it);
        return;
    }
    if (!focused) return;
    for (int i = 0; i < padKeyCount; ++i) {
        const PadKey& control = padKeys[i];
        if (event.type == PadEvent::Button && !control.isAxis && control.button == event.button) {
            hold(pad, i, event.pressed, keys);
        } else if (event.type == PadEvent::Axis && control.isAxis && control.axis == event.axis) {
            const float rest = pad.rest[static_cast<int>(event.axis)];
            const float travel = control.end - rest;
            if (travel * control.end < padLeastTravel) continue;
            const float share = (event.position - rest) / travel;
            hold(pad, i, pad.held[i] ? share >= padReleasedBelow : share > padPressedAbove, keys);
        }
    }
}
