#pragma once

#include <SFML/Window/Event.hpp>

// The window events a player makes, as the window hands them to the game.
sf::Event keyPressed(sf::Keyboard::Key key);
sf::Event keyReleased(sf::Keyboard::Key key);
sf::Event mousePressed(int x, int y, sf::Mouse::Button button = sf::Mouse::Left);
sf::Event mouseReleased(int x, int y, sf::Mouse::Button button = sf::Mouse::Left);
sf::Event mouseMoved(int x, int y);
sf::Event windowClosed();
