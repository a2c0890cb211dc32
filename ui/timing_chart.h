#pragma once

#include <SFML/Graphics.hpp>
#include <array>

#include "board/route.h"

// The play's timing on its results panel, read at a glance: for each route, in a column above
// the route's creature at the foot of the panel, a bar in the route's colours split into its
// early (light), good (full colour) and late (dark) catches, left to right as they come in
// time, and beside it a cross with the number of creatures the route missed.
class TimingChart : public sf::Drawable {
public:
    // Lays the chart out for the four routes' tallies on a window of the given size, with
    // the results panel's top edge at panelTop (it follows the panel as it slides).
    TimingChart(const std::array<CatchTally, 4>& tallies, const sf::Font& font, float windowWidth,
                float windowHeight, float panelTop);

    void draw(sf::RenderTarget& target, sf::RenderStates states) const override;

    std::array<CatchTally, 4> tallies;
    // Per route: the bar's frame, its early, good and late parts (empty parts have no
    // width), the miss cross and the miss count.
    std::array<sf::RectangleShape, 4> frames;
    std::array<std::array<sf::RectangleShape, 3>, 4> parts;
    std::array<std::array<sf::RectangleShape, 2>, 4> crosses;
    std::array<sf::Text, 4> missTexts;
    // Everything the chart draws lies inside this rectangle (window pixels).
    sf::FloatRect area;
};
