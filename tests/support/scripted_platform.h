#pragma once

#include <SFML/Graphics.hpp>
#include <deque>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/platform.h"

// A platform for tests: the frame clock only moves when the test says so, events and
// held keys are scripted, and frames are drawn into an off-screen texture (which needs
// an X display, as any texture does).
class ScriptedPlatform : public Platform {
public:
    // The desktop's size: a full-screen window has it, another window fits inside it.
    explicit ScriptedPlatform(unsigned width = 1920, unsigned height = 1080);

    bool displayAvailable() const override { return true; }
    void openWindow(const char* title, const WindowRequest& request) override;
    bool isOpen() const override { return open; }
    sf::Vector2u windowSize() const override { return size; }
    sf::Vector2u desktopSize() const override { return desktop; }
    sf::RenderTarget& target() override;
    void display() override;
    bool pollEvent(sf::Event& event) override;
    void setMouseCursorVisible(bool visible) override { cursorVisible = visible; }
    bool isKeyPressed(sf::Keyboard::Key key) const override { return held.count(key) > 0; }
    sf::Vector2i mousePosition() const override { return mouse; }
    void startClock() override { clockStart = now; }
    float clockSeconds() const override { return now - clockStart; }
    unsigned refreshRate() const override { return refresh; }
    void capFrames(unsigned perSecond) override { frameCap = perSecond; }
    void waitForNextFrame() override {}
    bool drawsOnProcessor() const override { return softwareRenderer; }
    bool hasFocus() const override { return focused; }
    bool pollPadEvent(PadEvent& event) override;

    // Script.
    void advance(float seconds) { now += seconds; }
    void push(const sf::Event& event) { events.push_back(event); }
    void pushKey(sf::Keyboard::Key key);  // a press and its release, in one frame
    void pushClose();
    void pushClick(int x, int y, sf::Mouse::Button button = sf::Mouse::Left);
    void hold(sf::Keyboard::Key key) { held.insert(key); }
    void release(sf::Keyboard::Key key) { held.erase(key); }
    // Game controllers: each call queues the controller's event. A controller plugged in
    // here rests with its sticks centred and its triggers let go.
    void plugPad(int id, bool plugged);
    void padButton(int id, PadButton button, bool pressed);
    void padAxis(int id, PadAxis axis, float position);
    // The frame shown last, as a picture (only when frames are kept).
    sf::Image lastFrame() const;

    sf::Vector2u desktop;
    sf::Vector2u size;
    bool open = false;
    int windowsOpened = 0;
    bool cursorVisible = true;
    bool keepFrames = false;
    // Each frame is finished before display returns, as a window's buffer swap does
    // (without it the off-screen frames queue up behind one another).
    bool finishFrames = false;
    std::string title;
    WindowRequest windowRequest;
    int framesShown = 0;
    float now = 1000.0f;
    float clockStart = 0.0f;
    sf::Vector2i mouse{0, 0};
    std::deque<sf::Event> events;
    std::set<sf::Keyboard::Key> held;
    bool focused = true;
    // The display's refresh rate as the platform reads it (0: not known), and the frame cap
    // the game asked for (0: none). Scripted frames come when the test makes them: a cap
    // changes nothing of their times.
    unsigned refresh = 0;
    unsigned frameCap = 0;
    // Whether the game is told that its drawing runs on the processor (its decoding then gives
    // way to the frames). Off for tests: their frames come back to back, with no rest.
    bool softwareRenderer = false;
    std::deque<PadEvent> padEvents;
    // Real controllers (SDL's virtual ones in tests) after the scripted ones, when set.
    SdlPads* sdlPads = nullptr;
    std::unique_ptr<sf::RenderTexture> canvas;
};

// Keeps the frame shown last under the test artefacts (build/artefacts/flow/<name>), for
// people to look at. False when it could not be written.
bool keepScreenshot(const ScriptedPlatform& platform, const std::string& name);
