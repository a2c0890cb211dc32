#include "app/sdl_pads.h"

#include <SDL.h>

#include <algorithm>
#include <iostream>

static_assert(static_cast<int>(PadButton::A) == SDL_CONTROLLER_BUTTON_A);
static_assert(static_cast<int>(PadButton::B) == SDL_CONTROLLER_BUTTON_B);
static_assert(static_cast<int>(PadButton::Start) == SDL_CONTROLLER_BUTTON_START);
static_assert(static_cast<int>(PadButton::LeftShoulder) == SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
static_assert(static_cast<int>(PadButton::RightShoulder) == SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
static_assert(static_cast<int>(PadButton::DpadUp) == SDL_CONTROLLER_BUTTON_DPAD_UP);
static_assert(static_cast<int>(PadButton::DpadRight) == SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
static_assert(static_cast<int>(PadAxis::LeftX) == SDL_CONTROLLER_AXIS_LEFTX);
static_assert(static_cast<int>(PadAxis::LeftY) == SDL_CONTROLLER_AXIS_LEFTY);
static_assert(static_cast<int>(PadAxis::LeftTrigger) == SDL_CONTROLLER_AXIS_TRIGGERLEFT);
static_assert(static_cast<int>(PadAxis::RightTrigger) == SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
static_assert(padAxisCount == SDL_CONTROLLER_AXIS_MAX);

namespace {
float axisPosition(Sint16 value) {
    return std::max(-1.0f, static_cast<float>(value) / 32767.0f);
}
}  // namespace

SdlPads::~SdlPads() {
    if (!started) return;
    for (int id : open) {
        if (SDL_GameController* pad = SDL_GameControllerFromInstanceID(id)) {
            SDL_GameControllerClose(pad);
        }
    }
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool SdlPads::start() {
    if (tried) return started;
    tried = true;
    // Ctrl+C and termination signals keep ending the game as before.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Without an SDL window SDL cannot know the focus: the game checks its own window's.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // A and B by position (bottom and right), also on pads that print them the other way.
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::cerr << "mirevo: no game controllers (" << SDL_GetError() << ")" << std::endl;
        return false;
    }
    started = true;
    return true;
}

bool SdlPads::poll(PadEvent& event) {
    if (!started) return false;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (e.type == SDL_CONTROLLERDEVICEADDED) {
            SDL_GameController* pad = SDL_GameControllerOpen(e.cdevice.which);
            if (!pad) continue;
            const int id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
            if (std::find(open.begin(), open.end(), id) != open.end()) {
                SDL_GameControllerClose(pad);  // told twice: keep one reference
                continue;
            }
            open.push_back(id);
            // The axes' present positions, read before anything moves them: where they rest.
            SDL_JoystickUpdate();
            event = PadEvent();
            event.type = PadEvent::Plugged;
            event.pad = id;
            for (int a = 0; a < padAxisCount; ++a) {
                event.rest[a] = axisPosition(
                    SDL_GameControllerGetAxis(pad, static_cast<SDL_GameControllerAxis>(a)));
            }
            return true;
        }
        if (e.type == SDL_CONTROLLERDEVICEREMOVED) {
            auto it = std::find(open.begin(), open.end(), e.cdevice.which);
            if (it == open.end()) continue;
            if (SDL_GameController* pad = SDL_GameControllerFromInstanceID(*it)) {
                SDL_GameControllerClose(pad);
            }
            open.erase(it);
            event = PadEvent();
            event.type = PadEvent::Unplugged;
            event.pad = e.cdevice.which;
            return true;
        }
        if (e.type == SDL_CONTROLLERBUTTONDOWN || e.type == SDL_CONTROLLERBUTTONUP) {
            if (e.cbutton.button > static_cast<int>(PadButton::DpadRight)) continue;
            event = PadEvent();
            event.type = PadEvent::Button;
            event.pad = e.cbutton.which;
            event.button = static_cast<PadButton>(e.cbutton.button);
            event.pressed = e.type == SDL_CONTROLLERBUTTONDOWN;
            return true;
        }
        if (e.type == SDL_CONTROLLERAXISMOTION) {
            if (e.caxis.axis >= padAxisCount) continue;
            event = PadEvent();
            event.type = PadEvent::Axis;
            event.pad = e.caxis.which;
            event.axis = static_cast<PadAxis>(e.caxis.axis);
            event.position = axisPosition(e.caxis.value);
            return true;
        }
    }
    return false;
}
