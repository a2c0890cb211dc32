#include "ui/interface.h"

void Interface::draw(sf::RenderTarget&, sf::RenderStates) const {}
