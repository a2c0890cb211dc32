#pragma once

#include <vector>

// Game controllers as SDL's game-controller mapping names their controls: SDL knows, for
// Xbox, PlayStation, Nintendo and many other pads, which of the device's own button and
// axis numbers is which control. The values are SDL's (SDL_GameControllerButton and
// SDL_GameControllerAxis); SDL is told to name the face buttons by their position, so A is
// the bottom face button and B the right one on every pad, whatever their labels.
enum class PadButton {
    A,  // bottom face button
    B,  // right face button
    X,  // left face button
    Y,  // top face button
    Back,
    Guide,
    Start,
    LeftStick,
    RightStick,
    LeftShoulder,
    RightShoulder,
    DpadUp,
    DpadDown,
    DpadLeft,
    DpadRight,
};

enum class PadAxis { LeftX, LeftY, RightX, RightY, LeftTrigger, RightTrigger };
constexpr int padAxisCount = 6;

// One change on a controller. Axis positions: sticks -1 (left, up) .. 1 (right, down),
// triggers 0 (let go) .. 1 (pulled in full).
struct PadEvent {
    enum Type { Plugged, Unplugged, Button, Axis };
    Type type = Plugged;
    int pad = 0;  // the controller's number, not reused while the game runs
    PadButton button = PadButton::A;
    bool pressed = false;
    PadAxis axis = PadAxis::LeftX;
    float position = 0.0f;
    // Plugged: every axis's position at that moment, where it rests.
    float rest[padAxisCount] = {};
};

// SDL's game controllers: every device SDL can map is opened when it is plugged in (those
// plugged before the start included) and closed when it goes. Only SDL's controller part is
// started, without its video; events are read whether or not SDL has a window.
class SdlPads {
public:
    ~SdlPads();
    // False, with one line on standard error, when SDL's controller part cannot start: the
    // game then goes on without controllers.
    bool start();
    // Reads SDL's events; the next controller event, when there is one.
    bool poll(PadEvent& event);

    bool started = false;
    bool tried = false;     // started once, or failed once and said so (not again)
    std::vector<int> open;  // SDL's instance ids of the controllers opened
};
