#include "support/virtual_pad.h"

#include <SDL.h>

#include <cmath>
#include <cstring>

const PadLayout xbox360Layout = {
    "Xbox 360 Controller", 0x045e, 0x028e, 11, 6, {4, 5}, {2, 5}, {-1, -1}, 0, 1, 7, nullptr,
};

const PadLayout playStation4Layout = {
    "PS4 Controller", 0x054c, 0x09cc, 13, 6, {4, 5},
    {2, 5},           {6, 7}, 0,      1,  9, "030000004c050000cc09000011810000",
};

namespace {
Sint16 rawAxis(float share) {
    return static_cast<Sint16>(std::lround(-32768.0 + share * 65535.0));
}
SDL_Joystick* stick(void* joystick) {
    return static_cast<SDL_Joystick*>(joystick);
}
}  // namespace

VirtualPad::~VirtualPad() {
    detach();
}

bool VirtualPad::attach(const PadLayout& l, float rest) {
    detach();
    layout = &l;
    triggerRest = rest;
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = static_cast<Uint16>(l.axes);
    desc.nbuttons = static_cast<Uint16>(l.buttons);
    desc.nhats = 1;
    desc.vendor_id = l.vendor;
    desc.product_id = l.product;
    desc.name = l.name;
    deviceIndex = SDL_JoystickAttachVirtualEx(&desc);
    if (deviceIndex < 0) {
        error = std::string("SDL_JoystickAttachVirtualEx: ") + SDL_GetError();
        return false;
    }
    joystick = SDL_JoystickOpen(deviceIndex);
    if (!joystick) {
        error = std::string("SDL_JoystickOpen: ") + SDL_GetError();
        return false;
    }
    if (l.mappedAs) {
        // SDL's own mapping of the real device, under the virtual device's GUID.
        char* mapping = SDL_GameControllerMappingForGUID(SDL_JoystickGetGUIDFromString(l.mappedAs));
        if (!mapping) {
            error = std::string("no mapping in SDL's database for ") + l.mappedAs;
            return false;
        }
        char guid[33];
        SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(deviceIndex), guid, sizeof guid);
        const std::string ours = std::string(guid) + std::strchr(mapping, ',');
        SDL_free(mapping);
        if (SDL_GameControllerAddMapping(ours.c_str()) < 0) {
            error = std::string("SDL_GameControllerAddMapping: ") + SDL_GetError();
            return false;
        }
    }
    // At rest: sticks centred, triggers where asked.
    for (int a = 0; a < l.axes; ++a) SDL_JoystickSetVirtualAxis(stick(joystick), a, 0);
    for (int side = 0; side < 2; ++side) axis(l.trigger[side], rest);
    return true;
}

void VirtualPad::detach() {
    if (!joystick) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(stick(joystick));
    SDL_JoystickClose(stick(joystick));
    joystick = nullptr;
    // The device's index may have moved as other devices came and went.
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }
    deviceIndex = -1;
}

void VirtualPad::button(int number, bool down) {
    SDL_JoystickSetVirtualButton(stick(joystick), number, down ? SDL_PRESSED : SDL_RELEASED);
}

void VirtualPad::axis(int number, float share) {
    SDL_JoystickSetVirtualAxis(stick(joystick), number, rawAxis(share));
}

void VirtualPad::hat(unsigned char value) {
    SDL_JoystickSetVirtualHat(stick(joystick), 0, value);
}

void VirtualPad::pull(int side, bool down) {
    axis(layout->trigger[side], down ? 1.0f : triggerRest);
    if (layout->triggerButton[side] >= 0) button(layout->triggerButton[side], down);
}
