#include "ui/timing_chart.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {
// The routes' colours, as their creatures wear them: light, body, dark.
const sf::Color routeShades[4][3] = {
    {{255, 219, 158}, {245, 140, 51}, {122, 51, 13}},
    {{189, 230, 255}, {56, 158, 237}, {15, 61, 115}},
    {{230, 199, 255}, {171, 97, 219}, {77, 31, 107}},
    {{209, 245, 173}, {102, 194, 77}, {31, 87, 20}},
};
const sf::Color ink(59, 41, 74);

// Layout on the panel picture's canvas (2048 wide; y from the panel's top, 1536 to the
// window's height): the band at the foot of the light field, under the result, one column
// per route centred over its creature.
const float columnCentre0 = 720.0f;
const float columnStep = 200.0f;
const float barLeft = -88.0f;  // from the column centre
const float barWidth = 104.0f;
const float barTop = 744.0f;
const float barHeight = 40.0f;
const float crossCentre = 36.0f;  // from the column centre
const float crossSize = 22.0f;
const float countLeft = 52.0f;  // from the column centre
const unsigned countSize = 42;
// The figures, in the panel's free corner under the Back button: a title, a line saying what
// the figures are, then one row per route and one for all routes (middles of the lines).
const float figuresLeft = 200.0f;
const float figuresTextLeft = 250.0f;
const float figuresTitleY = 600.0f;
const float figuresNoteY = 645.0f;
const float figuresRowY = 700.0f;
const float figuresRowStep = 52.0f;
const float swatchSize = 30.0f;
const float figuresTitleSize = 40.0f;
const float figuresNoteSize = 28.0f;
const float figuresSize = 36.0f;
// The hint, across the top of the panel above its title.
const float hintY = 95.0f;
const float hintSize = 42.0f;
const sf::Color hintInk(140, 31, 31);

sf::RectangleShape box(float x, float y, float w, float h, sf::Color fill) {
    sf::RectangleShape shape({std::max(w, 0.0f), h});
    shape.setPosition(x, y);
    shape.setFillColor(fill);
    return shape;
}
}  // namespace

const double TimingChart::hintBeyondMs = 25.0;

std::string TimingChart::hintFor(double meanMs) {
    if (!(std::fabs(meanMs) > hintBeyondMs)) return "";
    return "on average " + std::to_string(std::lround(std::fabs(meanMs))) + " ms " +
           (meanMs > 0 ? "late" : "early") + ": try the calibration";
}

sf::String TimingChart::figureText(double meanMs, double spreadMs) {
    const long mean = std::lround(meanMs);
    // A minus sign, not a hyphen, for the early ones.
    const std::string sign = mean > 0 ? "+" : mean < 0 ? "\xe2\x88\x92" : "";
    const std::string text = sign + std::to_string(std::labs(mean)) + " \xc2\xb1 " +
                             std::to_string(std::lround(spreadMs));
    return sf::String::fromUtf8(text.begin(), text.end());
}

TimingChart::TimingChart(const std::array<CatchTally, 4>& tallies,
                         const std::array<CatchTiming, 4>& timings, const sf::Font& font,
                         float windowWidth, float windowHeight, float panelTop)
    : tallies(tallies), timings(timings) {
    const float sx = windowWidth / 2048.0f;
    const float sy = windowHeight / 1536.0f;
    const float top = std::round(panelTop + barTop * sy);
    const float height = std::round(barHeight * sy);
    const float outline = std::max(1.0f, std::round(3.0f * sy));
    sf::FloatRect all;
    bool first = true;
    auto grow = [&](const sf::FloatRect& r) {
        if (r.width <= 0 || r.height <= 0) return;
        if (first) {
            all = r;
            first = false;
            return;
        }
        const float right = std::max(all.left + all.width, r.left + r.width);
        const float bottom = std::max(all.top + all.height, r.top + r.height);
        all.left = std::min(all.left, r.left);
        all.top = std::min(all.top, r.top);
        all.width = right - all.left;
        all.height = bottom - all.top;
    };
    for (int r = 0; r < 4; ++r) {
        const CatchTally& t = tallies[r];
        const float centre = (columnCentre0 + columnStep * r) * sx;
        const float left = std::round(centre + barLeft * sx);
        const float width = std::round(barWidth * sx);
        frames[r] = box(left, top, width, height, sf::Color::White);
        frames[r].setOutlineThickness(outline);
        frames[r].setOutlineColor(ink);
        grow(frames[r].getGlobalBounds());
        // Early, good, late: each part as wide as its share of the caught creatures, on
        // whole pixels so that the parts tile the bar.
        const int counts[3] = {t.early, t.good, t.late};
        const int caught = t.early + t.good + t.late;
        int sum = 0;
        float x = left;
        for (int k = 0; k < 3; ++k) {
            sum += counts[k];
            const float end = caught > 0 ? std::round(left + width * sum / caught) : left;
            parts[r][k] = box(x, top, end - x, height, routeShades[r][k]);
            x = end;
        }
        // The misses: a cross in the route's dark colour and their number.
        const float cx = centre + crossCentre * sx;
        const float cy = top + height / 2;
        const float arm = crossSize * sy;
        const float thick = std::max(2.0f, std::round(5.0f * sy));
        for (int k = 0; k < 2; ++k) {
            sf::RectangleShape& bar = crosses[r][k];
            bar = box(0, 0, arm * 1.41421356f, thick, routeShades[r][2]);
            bar.setOrigin(bar.getSize() / 2.0f);
            bar.setPosition(cx, cy);
            bar.setRotation(k == 0 ? 45.0f : -45.0f);
            grow(bar.getGlobalBounds());
        }
        sf::Text& count = missTexts[r];
        count.setFont(font);
        count.setCharacterSize(countSize);
        count.setString(std::to_string(t.missed));
        count.setFillColor(ink);
        // A long count shrinks to stay within its column.
        const sf::FloatRect local = count.getLocalBounds();
        const float room = (columnStep + barLeft - countLeft - 10.0f) * sx;
        const float scale = local.width * sy > room ? room / local.width : sy;
        count.setScale(scale, scale);
        count.setPosition(std::round(centre + countLeft * sx - local.left * scale),
                          std::round(cy - (local.top + local.height / 2) * scale));
        grow(count.getGlobalBounds());
    }

    // The figures and the hint, when anything was caught. Text sizes follow the height.
    for (const CatchTiming& t : timings) {
        overall.count += t.count;
        overall.sumMs += t.sumMs;
        overall.sumSquaresMs += t.sumSquaresMs;
    }
    figuresShown = overall.count > 0;
    // A text of a size (canvas units) with its left edge at x, or centred on it, and its
    // middle at y (both in window pixels).
    auto write = [&](sf::Text& text, const sf::String& string, float size, sf::Color colour,
                     float x, float y, bool centred) {
        text.setFont(font);
        text.setString(string);
        text.setCharacterSize(static_cast<unsigned>(std::max(8.0f, std::round(size * sy))));
        text.setFillColor(colour);
        const sf::FloatRect local = text.getLocalBounds();
        const float left = centred ? x - local.width / 2 : x;
        text.setPosition(std::round(left - local.left),
                         std::round(y - local.top - local.height / 2));
        grow(text.getGlobalBounds());
    };
    if (figuresShown) {
        const float rowsTop = panelTop + figuresRowY * sy;
        const float step = figuresRowStep * sy;
        write(figuresTitle, "Timing", figuresTitleSize, ink, figuresLeft * sx,
              panelTop + figuresTitleY * sy, false);
        const std::string note = "ms: mean \xc2\xb1 spread";
        write(figuresNote, sf::String::fromUtf8(note.begin(), note.end()), figuresNoteSize, ink,
              figuresLeft * sx, panelTop + figuresNoteY * sy, false);
        for (int r = 0; r < 4; ++r) {
            if (timings[r].count == 0) continue;
            const float y = rowsTop + step * r;
            const float side = std::round(swatchSize * sy);
            swatches[r] = box(std::round(figuresLeft * sx), std::round(y - side / 2), side, side,
                              routeShades[r][1]);
            swatches[r].setOutlineThickness(outline);
            swatches[r].setOutlineColor(routeShades[r][2]);
            grow(swatches[r].getGlobalBounds());
            write(routeFigures[r], figureText(timings[r].meanMs(), timings[r].spreadMs()),
                  figuresSize, ink, figuresTextLeft * sx, y, false);
        }
        sf::String allRoutes = "all  ";
        allRoutes += figureText(overall.meanMs(), overall.spreadMs());
        write(overallFigure, allRoutes, figuresSize, ink, figuresLeft * sx, rowsTop + step * 4,
              false);
        const std::string hint = hintFor(overall.meanMs());
        if (!hint.empty()) {
            write(hintText, hint, hintSize, hintInk, windowWidth / 2, panelTop + hintY * sy, true);
        }
    }
    area = all;
}

void TimingChart::draw(sf::RenderTarget& target, sf::RenderStates states) const {
    for (int r = 0; r < 4; ++r) {
        target.draw(frames[r], states);
        for (const sf::RectangleShape& part : parts[r]) {
            if (part.getSize().x > 0) target.draw(part, states);
        }
        for (const sf::RectangleShape& bar : crosses[r]) target.draw(bar, states);
        target.draw(missTexts[r], states);
    }
    if (!figuresShown) return;
    target.draw(figuresTitle, states);
    target.draw(figuresNote, states);
    for (int r = 0; r < 4; ++r) {
        if (timings[r].count == 0) continue;
        target.draw(swatches[r], states);
        target.draw(routeFigures[r], states);
    }
    target.draw(overallFigure, states);
    if (!hintText.getString().isEmpty()) target.draw(hintText, states);
}
