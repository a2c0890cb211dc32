#pragma once

#include <SFML/Window.hpp>
#include <vector>

#include "app/sdl_pads.h"

// A game controller stands for keys of the keyboard, by the position of its controls
// (the names SDL's mapping gives them):
//   left shoulder the key of route 0 (top left, E unless bound to another), right shoulder
//   that of route 1 (top right, P), right trigger route 2's (bottom right, L), left trigger
//   route 3's (bottom left, D),
//   direction pad and left stick the arrow keys, bottom face button (A) Return,
//   right face button (B) Escape, Start Space.
struct PadKey {
    bool isAxis;
    PadButton button;  // when a button
    PadAxis axis;      // when an axis,
    float end;         // pushed towards this end of it (-1 or 1; triggers 1)
    sf::Keyboard::Key key;
};
constexpr int padKeyCount = 15;
// The first four controls are the routes' (their key is the default route key).
constexpr int padRouteControls = 4;
extern const PadKey padKeys[padKeyCount];

// An axis is read as the share of its travel from where it rested at plug-in towards the
// end that presses: past padPressedAbove it presses, below padReleasedBelow it lets go.
// The gap between the two keeps an axis that shakes around one of them from chattering. An
// axis resting within padLeastTravel of its end cannot press.
constexpr float padPressedAbove = 0.5f;
constexpr float padReleasedBelow = 0.3f;
constexpr float padLeastTravel = 0.25f;

bool isJoystickEvent(const sf::Event& event);

// Turns the controllers' events into the key presses and releases they stand for, and
// knows which keys they hold. A key is held while any control of any controller that
// stands for it is held. Presses count only while the window has the focus; losing it
// releases everything, as does unplugging a controller for what it held.
class PadKeys {
public:
    void translate(const PadEvent& event, std::vector<sf::Event>& keys);
    void setFocus(bool focused, std::vector<sf::Event>& keys);
    bool holds(sf::Keyboard::Key key) const;
    // The route controls stand for these keys from now on. The route controls held let go
    // first (as releases of their old keys): they press again with their next push.
    void bindRoutes(const sf::Keyboard::Key keys[4], std::vector<sf::Event>& events);

    struct Pad {
        int id = 0;
        float rest[padAxisCount] = {};
        bool held[padKeyCount] = {};
    };
    std::vector<Pad> pads;
    bool focused = true;
    sf::Keyboard::Key routeKeys[4] = {sf::Keyboard::E, sf::Keyboard::P, sf::Keyboard::L,
                                      sf::Keyboard::D};

private:
    sf::Keyboard::Key keyOf(int control) const;
    void hold(Pad& pad, int control, bool held, std::vector<sf::Event>& keys);
    void releaseAll(Pad& pad, std::vector<sf::Event>& keys);
};
