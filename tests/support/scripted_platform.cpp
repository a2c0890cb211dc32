#include "support/scripted_platform.h"

#include <SFML/OpenGL.hpp>
#include <cstdlib>
#include <filesystem>

#include "app/options.h"

ScriptedPlatform::ScriptedPlatform(unsigned width, unsigned height)
    : desktop(width, height), size(width, height) {}

void ScriptedPlatform::openWindow(const char* t, const WindowRequest& request) {
    title = t;
    windowRequest = request;
    open = true;
    ++windowsOpened;
    sf::Vector2u next = desktop;
    if (!request.fullscreen) {
        next = sf::Vector2u(request.width, request.height);
        fitWindowToDesktop(next.x, next.y, desktop.x, desktop.y);
    }
    // A window of another size draws into a new canvas of that size.
    if (next != size) canvas.reset();
    size = next;
}

sf::RenderTarget& ScriptedPlatform::target() {
    if (!canvas) {
        canvas = std::make_unique<sf::RenderTexture>();
        canvas->create(size.x, size.y);
    }
    return *canvas;
}

void ScriptedPlatform::display() {
    ++framesShown;
    if (!canvas) return;
    canvas->display();
    if (finishFrames && canvas->setActive(true)) glFinish();
}

bool ScriptedPlatform::pollEvent(sf::Event& event) {
    if (events.empty()) return false;
    event = events.front();
    events.pop_front();
    return true;
}

void ScriptedPlatform::pushKey(sf::Keyboard::Key key) {
    sf::Event e;
    e.type = sf::Event::KeyPressed;
    e.key.code = key;
    e.key.alt = e.key.control = e.key.shift = e.key.system = false;
    push(e);
    e.type = sf::Event::KeyReleased;
    push(e);
}

void ScriptedPlatform::pushClose() {
    sf::Event e;
    e.type = sf::Event::Closed;
    push(e);
}

void ScriptedPlatform::pushClick(int x, int y, sf::Mouse::Button button) {
    mouse = {x, y};
    sf::Event e;
    e.type = sf::Event::MouseButtonPressed;
    e.mouseButton.button = button;
    e.mouseButton.x = x;
    e.mouseButton.y = y;
    push(e);
    e.type = sf::Event::MouseButtonReleased;
    push(e);
}

sf::Image ScriptedPlatform::lastFrame() const {
    if (!canvas) return sf::Image();
    return canvas->getTexture().copyToImage();
}

bool ScriptedPlatform::isJoystickButtonPressed(unsigned id, unsigned button) const {
    auto pad = pads.find(id);
    return pad != pads.end() && pad->second.buttons.count(button) > 0;
}

float ScriptedPlatform::joystickAxisPosition(unsigned id, sf::Joystick::Axis axis) const {
    auto pad = pads.find(id);
    return pad != pads.end() ? pad->second.axes[axis] : 0.0f;
}

void ScriptedPlatform::plugPad(unsigned id, bool plugged) {
    sf::Event e;
    e.type = plugged ? sf::Event::JoystickConnected : sf::Event::JoystickDisconnected;
    e.joystickConnect.joystickId = id;
    if (plugged) {
        PadState& pad = pads[id];
        // Triggers rest at -100, as Linux reports them.
        pad.axes[sf::Joystick::Z] = -100.0f;
        pad.axes[sf::Joystick::R] = -100.0f;
    } else {
        pads.erase(id);
    }
    push(e);
}

void ScriptedPlatform::padButton(unsigned id, unsigned button, bool pressed) {
    if (pressed) {
        pads[id].buttons.insert(button);
    } else {
        pads[id].buttons.erase(button);
    }
    sf::Event e;
    e.type = pressed ? sf::Event::JoystickButtonPressed : sf::Event::JoystickButtonReleased;
    e.joystickButton.joystickId = id;
    e.joystickButton.button = button;
    push(e);
}

void ScriptedPlatform::padAxis(unsigned id, sf::Joystick::Axis axis, float position) {
    pads[id].axes[axis] = position;
    sf::Event e;
    e.type = sf::Event::JoystickMoved;
    e.joystickMove.joystickId = id;
    e.joystickMove.axis = axis;
    e.joystickMove.position = position;
    push(e);
}

bool keepScreenshot(const ScriptedPlatform& platform, const std::string& name) {
    namespace fs = std::filesystem;
    const char* env = std::getenv("MIREVO_ARTEFACTS");
    fs::path folder = fs::path(env && *env ? env : MIREVO_BINARY_DIR "/artefacts") / "flow";
    std::error_code error;
    fs::create_directories(folder, error);
    return platform.lastFrame().saveToFile((folder / name).string());
}
