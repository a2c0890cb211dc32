#pragma once

#include <SFML/Window.hpp>
#include <vector>

#include "app/platform.h"

// A game controller stands for keys of the keyboard. With the usual layout as Linux
// reports it (A 0, B 1, X 2, Y 3, LB 4, RB 5, Back 6, Start 7; triggers on axes Z and R;
// the direction pad on axes PovX and PovY):
//   left shoulder E (route 0, top left), right shoulder P (top right),
//   right trigger L (bottom right), left trigger D (bottom left),
//   direction pad the arrow keys, A Return, B Escape, Start Space.

struct PadButtonKey {
    unsigned button;
    sf::Keyboard::Key key;
};
extern const PadButtonKey padButtonKeys[5];

// An axis held past a threshold in one direction: position × sign > threshold. A trigger
// rests at -100 and counts as pressed past half way (above 0); the direction pad's axes
// read -100, 0 or 100.
struct PadAxisKey {
    sf::Joystick::Axis axis;
    float sign;
    float threshold;
    sf::Keyboard::Key key;
};
extern const PadAxisKey padAxisKeys[6];

bool isJoystickEvent(const sf::Event& event);

// True when a connected controller holds a control that stands for the key.
bool padHoldsKey(const Platform& platform, sf::Keyboard::Key key);

// Turns the controllers' events into the key presses and releases they stand for. An axis
// makes a press when it crosses its threshold and a release when it comes back; a
// controller unplugged releases whatever it held.
class PadKeys {
public:
    void translate(const sf::Event& event, std::vector<sf::Event>& keys);

    bool axisHeld[sf::Joystick::Count][6] = {};
};
