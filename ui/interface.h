#pragma once

#include <SFML/Graphics.hpp>

// Every picture, text and font of the menus and of the play overlay.
class Interface : public sf::Drawable {
public:
    ~Interface() override = default;

protected:
    void draw(sf::RenderTarget& target, sf::RenderStates states) const override;
};
