#pragma once

#include <SFML/Graphics.hpp>

// Everything the frame loop needs from the machine: the window and its events, the
// keyboard and mouse, and the frame clock. The shipped game uses SfmlPlatform; tests
// drive the real loop through a scripted platform with no real time passing.
class Platform {
public:
    virtual ~Platform() = default;

    // Opens the one full-screen window at the desktop's video mode.
    virtual void openWindow(const char* title) = 0;
    virtual bool isOpen() const = 0;
    virtual sf::Vector2u windowSize() const = 0;
    virtual sf::RenderTarget& target() = 0;
    virtual void display() = 0;
    virtual bool pollEvent(sf::Event& event) = 0;
    virtual void setMouseCursorVisible(bool visible) = 0;

    // Keys held now and the mouse position relative to the window.
    virtual bool isKeyPressed(sf::Keyboard::Key key) const = 0;
    virtual sf::Vector2i mousePosition() const = 0;

    // The frame clock: seconds since it was started.
    virtual void startClock() = 0;
    virtual float clockSeconds() const = 0;
};

// The real window, keyboard, mouse and clock.
class SfmlPlatform : public Platform {
public:
    void openWindow(const char* title) override;
    bool isOpen() const override { return window.isOpen(); }
    sf::Vector2u windowSize() const override { return window.getSize(); }
    sf::RenderTarget& target() override { return window; }
    void display() override { window.display(); }
    bool pollEvent(sf::Event& event) override { return window.pollEvent(event); }
    void setMouseCursorVisible(bool visible) override { window.setMouseCursorVisible(visible); }
    bool isKeyPressed(sf::Keyboard::Key key) const override;
    sf::Vector2i mousePosition() const override { return sf::Mouse::getPosition(window); }
    void startClock() override { clock.restart(); }
    float clockSeconds() const override { return clock.getElapsedTime().asSeconds(); }

    sf::RenderWindow window;
    sf::Clock clock;
};
