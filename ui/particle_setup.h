#pragma once

#include <SFML/Graphics/Texture.hpp>
#include <vector>

// Points every particle at the atlas loaded at start-up and sets the board scale of this
// screen; the atlas is smoothed when the board is not drawn at its native size.
void setupParticleResources(std::vector<std::vector<sf::Texture>>& atlas, float width,
                            float offsetY, float rectScale);
