#include "support/scripted_platform.h"

#include <SFML/OpenGL.hpp>
#include <cstdlib>
#include <filesystem>

#include "app/options.h"
#include "support/window_events.h"

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
    push(keyPressed(key));
    push(keyReleased(key));
}

void ScriptedPlatform::pushClose() {
    push(windowClosed());
}

void ScriptedPlatform::pushClick(int x, int y, sf::Mouse::Button button) {
    mouse = {x, y};
    push(mousePressed(x, y, button));
    push(mouseReleased(x, y, button));
}

sf::Image ScriptedPlatform::lastFrame() const {
    if (!canvas) return sf::Image();
    return canvas->getTexture().copyToImage();
}

bool ScriptedPlatform::pollPadEvent(PadEvent& event) {
    if (padEvents.empty()) return sdlPads && sdlPads->poll(event);
    event = padEvents.front();
    padEvents.pop_front();
    return true;
}

void ScriptedPlatform::plugPad(int id, bool plugged) {
    PadEvent e;
    e.type = plugged ? PadEvent::Plugged : PadEvent::Unplugged;
    e.pad = id;
    padEvents.push_back(e);
}

void ScriptedPlatform::padButton(int id, PadButton button, bool pressed) {
    PadEvent e;
    e.type = PadEvent::Button;
    e.pad = id;
    e.button = button;
    e.pressed = pressed;
    padEvents.push_back(e);
}

void ScriptedPlatform::padAxis(int id, PadAxis axis, float position) {
    PadEvent e;
    e.type = PadEvent::Axis;
    e.pad = id;
    e.axis = axis;
    e.position = position;
    padEvents.push_back(e);
}

bool keepScreenshot(const ScriptedPlatform& platform, const std::string& name) {
    namespace fs = std::filesystem;
    const char* env = std::getenv("MIREVO_ARTEFACTS");
    fs::path folder = fs::path(env && *env ? env : MIREVO_BINARY_DIR "/artefacts") / "flow";
    std::error_code error;
    fs::create_directories(folder, error);
    return platform.lastFrame().saveToFile((folder / name).string());
}
