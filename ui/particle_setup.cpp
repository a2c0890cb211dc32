#include "ui/particle_setup.h"

#include <iostream>

#include "board/particle.h"

void setupParticleResources(std::vector<std::vector<sf::Texture>>& atlas, float width,
                            float offsetY, float rectScale) {
    Particle::windowWidth = width;
    Particle::boardScale = width * 0.00048828125f;
    Particle::menuTopOffset = offsetY;
    Particle::frameRectScale = rectScale;
    Particle::atlasTextures = &atlas;
    if (Particle::boardScale != 1.0f) {
        std::cerr << "smoothing !" << std::endl;
        for (std::vector<sf::Texture>& list : atlas) {
            for (sf::Texture& texture : list) texture.setSmooth(true);
        }
    }
}
