// Draws the 256 x 256 desktop icon: the four routes' creatures, one per corner, as they
// look in the first frame of their first hop, on a round dark badge.
#include <SFML/Graphics/Image.hpp>
#include <algorithm>
#include <cmath>
#include <iostream>
#include <string>

#include "board/anim_tables.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: make_icon <graphs folder> <icon.png>" << std::endl;
        return 2;
    }
    const std::string graphs = argv[1];
    const unsigned size = 256;
    sf::Image icon;
    icon.create(size, size, sf::Color::Transparent);
    for (unsigned y = 0; y < size; ++y) {
        for (unsigned x = 0; x < size; ++x) {
            float dx = x + 0.5f - size / 2.0f, dy = y + 0.5f - size / 2.0f;
            float d = std::sqrt(dx * dx + dy * dy);
            float a = std::clamp(size / 2.0f - 2.0f - d, 0.0f, 1.0f);
            icon.setPixel(x, y, sf::Color(34, 30, 52, static_cast<sf::Uint8>(255 * a)));
        }
    }
    const unsigned cornerX[4] = {24, 132, 132, 24};
    const unsigned cornerY[4] = {24, 24, 132, 132};
    for (int route = 0; route < 4; ++route) {
        sf::Image sheet;
        if (!sheet.loadFromFile(graphs + "/Atlas/" + std::to_string(route) + "_0.png")) return 1;
        sf::IntRect r = animFrameRect(route, 0, 0, false);
        if (r.width <= 0 || r.height <= 0) continue;
        float scale = std::min(100.0f / r.width, 100.0f / r.height);
        unsigned w = static_cast<unsigned>(r.width * scale),
                 h = static_cast<unsigned>(r.height * scale);
        for (unsigned y = 0; y < h; ++y) {
            for (unsigned x = 0; x < w; ++x) {
                unsigned sx = r.left + static_cast<unsigned>(x / scale);
                unsigned sy = r.top + static_cast<unsigned>(y / scale);
                if (sx >= sheet.getSize().x || sy >= sheet.getSize().y) continue;
                sf::Color c = sheet.getPixel(sx, sy);
                if (c.a == 0) continue;
                unsigned px = cornerX[route] + (100 - w) / 2 + x,
                         py = cornerY[route] + (100 - h) / 2 + y;
                sf::Color under = icon.getPixel(px, py);
                float a = c.a / 255.0f;
                icon.setPixel(px, py,
                              sf::Color(static_cast<sf::Uint8>(c.r * a + under.r * (1 - a)),
                                        static_cast<sf::Uint8>(c.g * a + under.g * (1 - a)),
                                        static_cast<sf::Uint8>(c.b * a + under.b * (1 - a)),
                                        std::max(c.a, under.a)));
            }
        }
    }
    return icon.saveToFile(argv[2]) ? 0 : 1;
}
