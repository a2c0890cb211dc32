#include "app/controller.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/sdl_pads.h"
#include "support/virtual_pad.h"

namespace {

using K = sf::Keyboard;
using KeyList = std::vector<std::pair<K::Key, bool>>;  // key, pressed

std::string describe(const std::vector<sf::Event>& keys) {
    std::string text;
    for (const sf::Event& e : keys) {
        text += (e.type == sf::Event::KeyPressed ? "+" : "-") + std::to_string(e.key.code) + " ";
    }
    return text.empty() ? "none" : text;
}

void expectKeys(const std::vector<sf::Event>& keys, const KeyList& expected,
                const std::string& where) {
    ASSERT_EQ(keys.size(), expected.size()) << where << ": got " << describe(keys);
    for (size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i].key.code, expected[i].first) << where << ": got " << describe(keys);
        EXPECT_EQ(keys[i].type == sf::Event::KeyPressed, expected[i].second)
            << where << ": got " << describe(keys);
    }
}

PadEvent plug(int id, PadAxis axis = PadAxis::LeftX, float rest = 0.0f) {
    PadEvent e;
    e.type = PadEvent::Plugged;
    e.pad = id;
    e.rest[static_cast<int>(axis)] = rest;
    return e;
}
PadEvent unplug(int id) {
    PadEvent e;
    e.type = PadEvent::Unplugged;
    e.pad = id;
    return e;
}
PadEvent button(int id, PadButton b, bool pressed) {
    PadEvent e;
    e.type = PadEvent::Button;
    e.pad = id;
    e.button = b;
    e.pressed = pressed;
    return e;
}
PadEvent axis(int id, PadAxis a, float position) {
    PadEvent e;
    e.type = PadEvent::Axis;
    e.pad = id;
    e.axis = a;
    e.position = position;
    return e;
}

// Every controller event SDL has for now, through the keys they stand for.
std::vector<sf::Event> drain(SdlPads& pads, PadKeys& padKeys) {
    std::vector<sf::Event> keys;
    PadEvent e;
    for (int n = 0; n < 10000 && pads.poll(e); ++n) padKeys.translate(e, keys);
    return keys;
}

}  // namespace

// Each control stands for its key by its position; axes press past half of their travel
// from where they rested at plug-in and let go below 30% of it; a key is held while any
// controller holds it; losing the focus releases everything and presses do not count
// until it comes back.
TEST(Controller, ControlsBecomeKeysByPosition) {
    using B = PadButton;
    using A = PadAxis;
    enum Focus { Same, Lose, Gain };
    struct Step {
        PadEvent event;
        KeyList keys;
        Focus focus = Same;
    };
    const Step steps[] = {
        {plug(0), {}},
        {button(0, B::LeftShoulder, true), {{K::E, true}}},
        {button(0, B::LeftShoulder, false), {{K::E, false}}},
        {button(0, B::RightShoulder, true), {{K::P, true}}},
        {button(0, B::RightShoulder, false), {{K::P, false}}},
        {button(0, B::A, true), {{K::Return, true}}},
        {button(0, B::A, false), {{K::Return, false}}},
        {button(0, B::B, true), {{K::Escape, true}}},
        {button(0, B::B, false), {{K::Escape, false}}},
        {button(0, B::Start, true), {{K::Space, true}}},
        {button(0, B::Start, false), {{K::Space, false}}},
        {button(0, B::X, true), {}},
        {button(0, B::Y, true), {}},
        {button(0, B::Back, true), {}},
        {button(0, B::Guide, true), {}},
        {button(0, B::LeftStick, true), {}},
        {button(0, B::RightStick, true), {}},
        {button(0, B::DpadLeft, true), {{K::Left, true}}},
        {button(0, B::DpadLeft, false), {{K::Left, false}}},
        {button(0, B::DpadRight, true), {{K::Right, true}}},
        {button(0, B::DpadRight, false), {{K::Right, false}}},
        {button(0, B::DpadUp, true), {{K::Up, true}}},
        {button(0, B::DpadUp, false), {{K::Up, false}}},
        {button(0, B::DpadDown, true), {{K::Down, true}}},
        {button(0, B::DpadDown, false), {{K::Down, false}}},
        // Triggers: pressed above half, released below 30%.
        {axis(0, A::LeftTrigger, 0.5f), {}},
        {axis(0, A::LeftTrigger, 0.55f), {{K::D, true}}},
        {axis(0, A::LeftTrigger, 0.31f), {}},
        {axis(0, A::LeftTrigger, 0.29f), {{K::D, false}}},
        {axis(0, A::LeftTrigger, 0.45f), {}},
        {axis(0, A::RightTrigger, 1.0f), {{K::L, true}}},
        {axis(0, A::RightX, 1.0f), {}},
        {axis(0, A::RightY, -1.0f), {}},
        // The left stick moves like the direction pad.
        {axis(0, A::LeftX, -0.6f), {{K::Left, true}}},
        {axis(0, A::LeftX, 0.6f), {{K::Left, false}, {K::Right, true}}},
        {axis(0, A::LeftX, 0.0f), {{K::Right, false}}},
        {axis(0, A::LeftY, -0.6f), {{K::Up, true}}},
        {axis(0, A::LeftY, 0.6f), {{K::Up, false}, {K::Down, true}}},
        {axis(0, A::LeftY, 0.1f), {{K::Down, false}}},
        {button(0, B::DpadDown, true), {{K::Down, true}}},
        {axis(0, A::LeftY, 0.9f), {}},
        {button(0, B::DpadDown, false), {}},
        {axis(0, A::LeftY, 0.0f), {{K::Down, false}}},
        // Two controllers on one key: it goes when both have let go.
        {plug(1), {}},
        {axis(1, A::RightTrigger, 1.0f), {}},
        {axis(0, A::RightTrigger, 0.0f), {}},
        {axis(1, A::RightTrigger, 0.0f), {{K::L, false}}},
        // A trigger resting at 60% is let go there; its travel counts from there.
        {plug(2, A::RightTrigger, 0.6f), {}},
        {axis(2, A::RightTrigger, 0.6f), {}},
        {axis(2, A::RightTrigger, 0.75f), {}},
        {axis(2, A::RightTrigger, 0.85f), {{K::L, true}}},
        {axis(2, A::RightTrigger, 0.6f), {{K::L, false}}},
        // One resting half way shakes around it without a press.
        {plug(3, A::LeftTrigger, 0.5f), {}},
        {axis(3, A::LeftTrigger, 0.42f), {}},
        {axis(3, A::LeftTrigger, 0.58f), {}},
        {axis(3, A::LeftTrigger, 0.44f), {}},
        {axis(3, A::LeftTrigger, 0.62f), {}},
        {axis(3, A::LeftTrigger, 1.0f), {{K::D, true}}},
        {axis(3, A::LeftTrigger, 0.7f), {}},
        {axis(3, A::LeftTrigger, 0.5f), {{K::D, false}}},
        // One resting at its end cannot press.
        {plug(4, A::LeftTrigger, 0.9f), {}},
        {axis(4, A::LeftTrigger, 1.0f), {}},
        // Unplugging releases what the controller held.
        {button(0, B::Start, true), {{K::Space, true}}},
        {button(1, B::LeftShoulder, true), {{K::E, true}}},
        {unplug(0), {{K::Space, false}}},
        {unplug(1), {{K::E, false}}},
        {button(0, B::Start, true), {}},
        // Losing the focus releases everything; presses without it do not count.
        {button(2, B::A, true), {{K::Return, true}}},
        {axis(2, A::RightTrigger, 1.0f), {{K::L, true}}},
        {PadEvent(), {{K::L, false}, {K::Return, false}}, Lose},
        {button(2, B::Start, true), {}},
        {button(2, B::A, false), {}},
        {PadEvent(), {}, Gain},
        {button(2, B::Start, false), {}},
        {button(2, B::Start, true), {{K::Space, true}}},
        // A controller never plugged in.
        {button(9, B::A, true), {}},
    };
    PadKeys pad;
    int n = 0;
    for (const Step& step : steps) {
        std::vector<sf::Event> keys;
        if (step.focus == Same) {
            pad.translate(step.event, keys);
        } else {
            pad.setFocus(step.focus == Gain, keys);
        }
        expectKeys(keys, step.keys, "step " + std::to_string(n));
        ++n;
    }
    EXPECT_TRUE(pad.holds(K::Space));
    EXPECT_FALSE(pad.holds(K::L));
}

// SDL's virtual controllers made as an Xbox 360 pad and a DualShock 4 report themselves on
// Linux, each with SDL's mapping of its numbers: the controls arrive as the same keys. On
// the DualShock button 7 is the right trigger's click, which must not stand for Start.
TEST(Controller, XboxAndPlayStationPadsThroughSdl) {
    SdlPads pads;
    ASSERT_TRUE(pads.start()) << "SDL's game-controller part did not start";
    struct Case {
        const PadLayout& layout;
        SDL_GameControllerType type;
        std::vector<int> unmapped;  // buttons that stand for no key
    };
    const Case cases[] = {
        {xbox360Layout, SDL_CONTROLLER_TYPE_XBOX360, {2, 3, 6, 8, 9, 10}},
        {playStation4Layout, SDL_CONTROLLER_TYPE_PS4, {2, 3, 6, 7, 8, 10, 11, 12}},
    };
    struct Step {
        const char* what;
        void (*act)(VirtualPad&);
        KeyList keys;
    };
    const Step steps[] = {
        {"left shoulder",
         [](VirtualPad& p) { p.button(p.layout->shoulder[0], true); },
         {{K::E, true}}},
        {"left shoulder up",
         [](VirtualPad& p) { p.button(p.layout->shoulder[0], false); },
         {{K::E, false}}},
        {"right shoulder",
         [](VirtualPad& p) { p.button(p.layout->shoulder[1], true); },
         {{K::P, true}}},
        {"right shoulder up",
         [](VirtualPad& p) { p.button(p.layout->shoulder[1], false); },
         {{K::P, false}}},
        {"right trigger", [](VirtualPad& p) { p.pull(1, true); }, {{K::L, true}}},
        {"right trigger back", [](VirtualPad& p) { p.pull(1, false); }, {{K::L, false}}},
        {"left trigger", [](VirtualPad& p) { p.pull(0, true); }, {{K::D, true}}},
        {"left trigger back", [](VirtualPad& p) { p.pull(0, false); }, {{K::D, false}}},
        {"bottom face", [](VirtualPad& p) { p.button(p.layout->a, true); }, {{K::Return, true}}},
        {"bottom face up",
         [](VirtualPad& p) { p.button(p.layout->a, false); },
         {{K::Return, false}}},
        {"right face", [](VirtualPad& p) { p.button(p.layout->b, true); }, {{K::Escape, true}}},
        {"right face up",
         [](VirtualPad& p) { p.button(p.layout->b, false); },
         {{K::Escape, false}}},
        {"start", [](VirtualPad& p) { p.button(p.layout->start, true); }, {{K::Space, true}}},
        {"start up", [](VirtualPad& p) { p.button(p.layout->start, false); }, {{K::Space, false}}},
        {"d-pad up", [](VirtualPad& p) { p.hat(SDL_HAT_UP); }, {{K::Up, true}}},
        {"d-pad centred", [](VirtualPad& p) { p.hat(SDL_HAT_CENTERED); }, {{K::Up, false}}},
        {"d-pad right", [](VirtualPad& p) { p.hat(SDL_HAT_RIGHT); }, {{K::Right, true}}},
        {"d-pad centred", [](VirtualPad& p) { p.hat(SDL_HAT_CENTERED); }, {{K::Right, false}}},
        {"d-pad down", [](VirtualPad& p) { p.hat(SDL_HAT_DOWN); }, {{K::Down, true}}},
        {"d-pad centred", [](VirtualPad& p) { p.hat(SDL_HAT_CENTERED); }, {{K::Down, false}}},
        {"d-pad left", [](VirtualPad& p) { p.hat(SDL_HAT_LEFT); }, {{K::Left, true}}},
        {"d-pad centred", [](VirtualPad& p) { p.hat(SDL_HAT_CENTERED); }, {{K::Left, false}}},
        {"left stick right", [](VirtualPad& p) { p.axis(0, 0.9f); }, {{K::Right, true}}},
        {"left stick centred", [](VirtualPad& p) { p.axis(0, 0.5f); }, {{K::Right, false}}},
    };
    for (const Case& c : cases) {
        const std::string name = c.layout.name;
        PadKeys padKeys;
        VirtualPad pad;
        ASSERT_TRUE(pad.attach(c.layout)) << name << ": " << pad.error;
        EXPECT_EQ(SDL_GameControllerTypeForIndex(pad.deviceIndex), c.type) << name;
        expectKeys(drain(pads, padKeys), {}, name + " plugged in");
        ASSERT_EQ(padKeys.pads.size(), 1u) << name << ": SDL did not open it as a controller";
        for (const Step& step : steps) {
            step.act(pad);
            expectKeys(drain(pads, padKeys), step.keys, name + " " + step.what);
        }
        for (int b : c.unmapped) {
            pad.button(b, true);
            expectKeys(drain(pads, padKeys), {}, name + " button " + std::to_string(b));
            pad.button(b, false);
            drain(pads, padKeys);
        }
        pad.pull(1, true);
        drain(pads, padKeys);
        pad.detach();
        expectKeys(drain(pads, padKeys), {{K::L, false}}, name + " unplugged holding a trigger");
        EXPECT_TRUE(padKeys.pads.empty()) << name;
    }
}

// Triggers whose axes rest above their low end, read through SDL: one resting at 60% holds
// nothing at rest and presses when pulled; one resting half way that shakes around its rest
// never presses, and still presses when pulled.
TEST(Controller, TriggersRestingAboveTheirLowEndThroughSdl) {
    SdlPads pads;
    ASSERT_TRUE(pads.start()) << "SDL's game-controller part did not start";
    struct Case {
        float rest;
        std::vector<float> shakes;  // positions of the left trigger's axis, 0..1
    };
    const Case cases[] = {
        {0.6f, {0.6f, 0.62f, 0.58f, 0.6f}},
        {0.5f, {0.45f, 0.56f, 0.43f, 0.58f, 0.47f, 0.55f, 0.5f, 0.44f, 0.57f}},
    };
    for (const Case& c : cases) {
        const std::string name = "rest " + std::to_string(c.rest);
        PadKeys padKeys;
        VirtualPad pad;
        ASSERT_TRUE(pad.attach(xbox360Layout, c.rest)) << pad.error;
        expectKeys(drain(pads, padKeys), {}, name + " plugged in");
        ASSERT_EQ(padKeys.pads.size(), 1u) << name;
        EXPECT_FALSE(padKeys.holds(K::D)) << name;
        EXPECT_FALSE(padKeys.holds(K::L)) << name;
        for (float position : c.shakes) {
            pad.axis(pad.layout->trigger[0], position);
            expectKeys(drain(pads, padKeys), {}, name + " at " + std::to_string(position));
        }
        pad.pull(0, true);
        expectKeys(drain(pads, padKeys), {{K::D, true}}, name + " pulled");
        pad.pull(0, false);
        expectKeys(drain(pads, padKeys), {{K::D, false}}, name + " back at rest");
    }
}
