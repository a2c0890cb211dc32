#pragma once

#include <functional>
#include <string>

#include "app/app.h"
#include "board/particle.h"
#include "support/scripted_platform.h"
#include "support/virtual_pad.h"

// Drives the real frame loop with a scripted clock and a player who watches the board:
// when a route's creature is in the middle of its good catch window, the player taps the
// route's key for one frame.
class ScriptedPlayer {
public:
    ScriptedPlayer(App& app, ScriptedPlatform& platform) : app(app), platform(platform) {}

    // One frame: decide the presses from what the board shows, advance the clock, run it.
    // False when the loop has ended.
    bool frame();
    // Frames until the condition holds or the game time runs out; true when it held.
    template <class Condition>
    bool runUntil(Condition done, float maxSeconds) {
        for (float t = 0.0f; t < maxSeconds; t += dt) {
            if (done()) return true;
            if (!frame()) return done();
        }
        return done();
    }
    // Holds or lets go of the control of a route (keyboard or controller).
    void press(int route, bool down);
    // Idle frames (no catching) for the given game time.
    void wait(float seconds);
    // A key press event (pressed and released within the frame), then one frame.
    void tap(sf::Keyboard::Key key);
    // A mouse click at a window position, then one frame.
    void clickAt(float x, float y, sf::Mouse::Button button = sf::Mouse::Left);
    // Main menu -> song list (scored or explore), waiting for the panel to settle.
    bool openSongList(bool explore);
    // From the song list: starts the mode at list position k (number key k + 1).
    bool startListPosition(int k);

    App& app;
    ScriptedPlatform& platform;
    // A frame every 1/16 s: creatures move every 1/12 s, so the player sees each of
    // their frames.
    float dt = 1.0f / 16.0f;
    bool catching = true;
    // Catch with game controller 0 (shoulders and triggers) instead of the keyboard; with
    // the virtual controller when one is given.
    bool useController = false;
    VirtualPad* virtualPad = nullptr;
    // When the player presses for a creature: by default in the middle of the good window
    // (frames 1..6 of the landing animation).
    std::function<bool(const Particle&)> wantsPress = [](const Particle& p) {
        return p.stage == 3 && p.frame >= 2 && p.frame <= 4;
    };
    int presses = 0;
};

// A game started in a scripted platform with a scripted player to drive it.
struct Session {
    explicit Session(unsigned width = 1024, unsigned height = 576)
        : platform(width, height), app(platform), player(app, platform) {}
    // Start-up; what it wrote on standard output is kept in startOutput.
    int start();
    ScriptedPlatform platform;
    App app;
    ScriptedPlayer player;
    std::string startOutput;
};

// Reference position (2048 x 1536 canvas) to window pixels.
float canvasX(const App& app, float x);
float canvasY(const App& app, float y);
