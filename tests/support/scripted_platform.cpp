#include "support/scripted_platform.h"

#include <cstdlib>
#include <filesystem>

ScriptedPlatform::ScriptedPlatform(unsigned width, unsigned height) : size(width, height) {}

void ScriptedPlatform::openWindow(const char* t) {
    title = t;
    open = true;
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
    if (canvas) canvas->display();
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

bool keepScreenshot(const ScriptedPlatform& platform, const std::string& name) {
    namespace fs = std::filesystem;
    const char* env = std::getenv("MIREVO_ARTEFACTS");
    fs::path folder = fs::path(env && *env ? env : MIREVO_BINARY_DIR "/artefacts") / "flow";
    std::error_code error;
    fs::create_directories(folder, error);
    return platform.lastFrame().saveToFile((folder / name).string());
}
