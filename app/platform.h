#pragma once

#include <SFML/Graphics.hpp>
#include <memory>

#include "app/sdl_pads.h"

// How the one window opens.
struct WindowRequest {
    bool fullscreen = true;  // at the desktop's video mode; otherwise a centred window
    unsigned width = 1280;   // of this size, shrunk to fit the desktop when larger
    unsigned height = 720;
    bool vsync = true;  // frames follow the display's refresh
};

// Everything the frame loop needs from the machine: the window and its events, the
// keyboard, mouse and game controllers, and the frame clock. The shipped game uses SfmlPlatform;
// tests drive the real loop through a scripted platform with no real time passing.
class Platform {
public:
    virtual ~Platform() = default;

    // False when there is no display to open a window on.
    virtual bool displayAvailable() const = 0;
    // Opens the one window, full screen at the desktop's video mode or windowed. Opening it
    // again replaces the window (keeping the textures made so far and the cursor's
    // visibility).
    virtual void openWindow(const char* title, const WindowRequest& request) = 0;
    virtual bool isOpen() const = 0;
    virtual sf::Vector2u windowSize() const = 0;
    // The desktop's size, which a full-screen window takes and any window fits in.
    virtual sf::Vector2u desktopSize() const = 0;
    virtual sf::RenderTarget& target() = 0;
    virtual void display() = 0;
    virtual bool pollEvent(sf::Event& event) = 0;
    virtual void setMouseCursorVisible(bool visible) = 0;

    // Keys held now and the mouse position relative to the window.
    virtual bool isKeyPressed(sf::Keyboard::Key key) const = 0;
    virtual sf::Vector2i mousePosition() const = 0;

    // True while the window has the keyboard focus.
    virtual bool hasFocus() const = 0;
    // The game controllers' next event, when there is one: pads plugged in or out, their
    // buttons and axes.
    virtual bool pollPadEvent(PadEvent& event) = 0;

    // The frame clock: seconds since it was started.
    virtual void startClock() = 0;
    virtual float clockSeconds() const = 0;

    // The display's refresh rate (frames per second), 0 when it cannot be read.
    virtual unsigned refreshRate() const = 0;
    // Shows at most this many frames per second from now on, in this window and any opened
    // after it (0: no cap).
    virtual void capFrames(unsigned perSecond) = 0;
    // Between two frames: rests until the next frame is due under the cap (at once without
    // one). The frame loop rests here, outside its frames, so the decoding threads run then.
    virtual void waitForNextFrame() = 0;
    // True when the window's drawing runs on the processor (a software renderer), where it
    // takes every core while a frame is drawn.
    virtual bool drawsOnProcessor() const = 0;
};

// True when the active drawing context's renderer draws on the processor (Mesa's software
// renderers).
bool rendererIsSoftware();

// The real window, keyboard, mouse and clock (SFML), and game controllers (SDL). The
// window is made when it opens: the multimedia library needs a display for it.
class SfmlPlatform : public Platform {
public:
    ~SfmlPlatform() override;
    bool displayAvailable() const override;
    void openWindow(const char* title, const WindowRequest& request) override;
    bool isOpen() const override { return window && window->isOpen(); }
    sf::Vector2u windowSize() const override { return window->getSize(); }
    sf::Vector2u desktopSize() const override {
        const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
        return sf::Vector2u(desktop.width, desktop.height);
    }
    sf::RenderTarget& target() override { return *window; }
    void display() override { window->display(); }
    bool pollEvent(sf::Event& event) override { return window->pollEvent(event); }
    void setMouseCursorVisible(bool visible) override {
        cursorVisible = visible;
        window->setMouseCursorVisible(visible);
    }
    bool isKeyPressed(sf::Keyboard::Key key) const override;
    sf::Vector2i mousePosition() const override { return sf::Mouse::getPosition(*window); }
    bool hasFocus() const override { return window && window->hasFocus(); }
    bool pollPadEvent(PadEvent& event) override { return pads.poll(event); }
    void startClock() override { clock.restart(); }
    float clockSeconds() const override { return clock.getElapsedTime().asSeconds(); }
    unsigned refreshRate() const override;
    void capFrames(unsigned perSecond) override { frameCap = perSecond; }
    void waitForNextFrame() override;
    bool drawsOnProcessor() const override { return softwareRenderer; }

    unsigned frameCap = 0;
    sf::Clock sinceLastFrame;
    bool softwareRenderer = false;  // read from the drawing context when the window opens
    std::unique_ptr<sf::RenderWindow> window;
    bool cursorVisible = true;  // kept for a window opened again
    sf::Clock clock;
    // The game controllers, started with the window.
    SdlPads pads;
    // The connection that found the display, kept open for the whole run: an X server whose
    // last client leaves resets itself and refuses the next connection for a moment.
    mutable void* probeDisplay = nullptr;
};
