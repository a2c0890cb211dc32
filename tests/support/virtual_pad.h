#pragma once

#include <string>

// A real maker's game controller as Linux reports it: its own button and axis numbers,
// and where SDL's mapping for it comes from.
struct PadLayout {
    const char* name;
    unsigned short vendor, product;
    int buttons, axes;     // counts; every layout has one hat, the direction pad
    int shoulder[2];       // left, right: button numbers
    int trigger[2];        // left, right: axis numbers (resting at the axis's low end)
    int triggerButton[2];  // left, right: the button a trigger also presses, or -1
    int a, b, start;       // bottom face, right face and Start buttons
    // The GUID of the device on USB whose mapping SDL's database holds, given to the virtual
    // device (whose GUID SDL makes its own); nullptr when SDL maps the virtual device itself.
    const char* mappedAs;
};

// Microsoft Xbox 360 pad (045e:028e, xpad driver): Start is button 7.
extern const PadLayout xbox360Layout;
// Sony DualShock 4 (054c:09cc, hid-playstation driver): button 7 is the right trigger's
// click (R2), Start ("Options") is button 9.
extern const PadLayout playStation4Layout;

// One of SDL's virtual joysticks, made in a layout. SDL's controller part must be started
// first (SdlPads::start); the device is attached on attach and detached on destruction.
class VirtualPad {
public:
    ~VirtualPad();
    // Triggers rest at this share of their axes (0 the low end). False, with the reason in
    // error, when SDL cannot make the device.
    bool attach(const PadLayout& layout, float triggerRest = 0.0f);
    void detach();

    void button(int number, bool down);
    // The axis at a share of its travel, from its low end (0) to its high end (1).
    void axis(int number, float share);
    void hat(unsigned char value);  // SDL_HAT_*
    // The trigger (0 left, 1 right) pulled in full, or back at rest, with its button.
    void pull(int side, bool down);

    const PadLayout* layout = nullptr;
    float triggerRest = 0.0f;
    int deviceIndex = -1;
    void* joystick = nullptr;  // SDL_Joystick
    std::string error;
};
