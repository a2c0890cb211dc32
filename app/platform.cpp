#include "app/platform.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <SFML/OpenGL.hpp>
#include <string>

#include "app/options.h"

SfmlPlatform::~SfmlPlatform() {
    window.reset();
    if (probeDisplay) XCloseDisplay(static_cast<Display*>(probeDisplay));
}

bool SfmlPlatform::displayAvailable() const {
    // The multimedia library aborts when it finds no display; ask first.
    if (!probeDisplay) probeDisplay = XOpenDisplay(nullptr);
    return probeDisplay != nullptr;
}

bool rendererIsSoftware() {
    const GLubyte* name = glGetString(GL_RENDERER);
    if (!name) return false;
    const std::string renderer(reinterpret_cast<const char*>(name));
    for (const char* software : {"llvmpipe", "softpipe", "Software Rasterizer", "SWR"}) {
        if (renderer.find(software) != std::string::npos) return true;
    }
    return false;
}

void SfmlPlatform::openWindow(const char* title, const WindowRequest& request) {
    const sf::ContextSettings context(0, 0, 0, 2, 0);
    sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
    window = std::make_unique<sf::RenderWindow>();
    if (request.fullscreen) {
        window->create(desktop, title, sf::Style::Fullscreen, context);
    } else {
        unsigned width = request.width;
        unsigned height = request.height;
        fitWindowToDesktop(width, height, desktop.width, desktop.height);
        sf::VideoMode mode(width, height, desktop.bitsPerPixel);
        window->create(mode, title, sf::Style::Titlebar | sf::Style::Close, context);
        const int left = (static_cast<int>(desktop.width) - static_cast<int>(width)) / 2;
        const int top = (static_cast<int>(desktop.height) - static_cast<int>(height)) / 2;
        window->setPosition(sf::Vector2i(left, top));
    }
    window->setVerticalSyncEnabled(request.vsync);
    softwareRenderer = rendererIsSoftware();
    pads.start();
    window->setMouseCursorVisible(cursorVisible);
}

bool SfmlPlatform::isKeyPressed(sf::Keyboard::Key key) const {
    // Keys only count while the game has the focus, as a player expects.
    return window->hasFocus() && sf::Keyboard::isKeyPressed(key);
}

unsigned SfmlPlatform::refreshRate() const {
    if (!displayAvailable()) return 0;
    Display* display = static_cast<Display*>(probeDisplay);
    int eventBase = 0, errorBase = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase)) return 0;
    XRRScreenConfiguration* config = XRRGetScreenInfo(display, DefaultRootWindow(display));
    if (!config) return 0;
    const short rate = XRRConfigCurrentRate(config);
    XRRFreeScreenConfigInfo(config);
    return rate > 0 ? static_cast<unsigned>(rate) : 0;
}

void SfmlPlatform::waitForNextFrame() {
    // The cap is kept here rather than by the window's own limit, which rests inside the
    // frame's display.
    if (frameCap > 0) {
        const sf::Time period = sf::seconds(1.0f / static_cast<float>(frameCap));
        const sf::Time left = period - sinceLastFrame.getElapsedTime();
        if (left > sf::Time::Zero) sf::sleep(left);
    }
    sinceLastFrame.restart();
}
