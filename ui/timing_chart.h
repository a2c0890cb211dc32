#pragma once

#include <SFML/Graphics.hpp>
#include <array>
#include <string>

#include "board/route.h"

// The play's timing on its results panel, read at a glance: for each route, in a column above
// the route's creature at the foot of the panel, a bar in the route's colours split into its
// early (light), good (full colour) and late (dark) catches, left to right as they come in
// time, and beside it a cross with the number of creatures the route missed. Under the Back
// button, the figures: per route (by its colour) and for all routes, the mean and the spread
// (standard deviation) in ms of the catches against their ideal moment (positive: late), for
// the routes with catches; and, across the top of the panel, a hint to calibrate when the
// catches came on average more than 25 ms early or late.
class TimingChart : public sf::Drawable {
public:
    // Lays the chart out for the four routes' tallies and timings on a window of the given
    // size, with the results panel's top edge at panelTop (it follows the panel as it slides).
    TimingChart(const std::array<CatchTally, 4>& tallies, const std::array<CatchTiming, 4>& timings,
                const sf::Font& font, float windowWidth, float windowHeight, float panelTop);

    // The hint for catches this late on average (ms): "on average 40 ms late: try the
    // calibration" (or early) beyond hintBeyondMs, else nothing.
    static const double hintBeyondMs;
    static std::string hintFor(double meanMs);
    // A mean and a spread as the figures show them: "+12 ± 30" (ms, rounded).
    static sf::String figureText(double meanMs, double spreadMs);

    void draw(sf::RenderTarget& target, sf::RenderStates states) const override;

    std::array<CatchTally, 4> tallies;
    // Per route: the bar's frame, its early, good and late parts (empty parts have no
    // width), the miss cross and the miss count.
    std::array<sf::RectangleShape, 4> frames;
    std::array<std::array<sf::RectangleShape, 3>, 4> parts;
    std::array<std::array<sf::RectangleShape, 2>, 4> crosses;
    std::array<sf::Text, 4> missTexts;
    // The figures: shown when any route caught something. Per route its colour and its mean
    // and spread (empty for a route without catches), then those of all routes together.
    std::array<CatchTiming, 4> timings;
    CatchTiming overall;
    bool figuresShown = false;
    sf::Text figuresTitle;
    sf::Text figuresNote;
    std::array<sf::RectangleShape, 4> swatches;
    std::array<sf::Text, 4> routeFigures;
    sf::Text overallFigure;  // "all  " and its figure
    // The hint line, empty when the mean is within hintBeyondMs.
    sf::Text hintText;
    // Everything the chart draws lies inside this rectangle (window pixels).
    sf::FloatRect area;
};
