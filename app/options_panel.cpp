#include "app/options_panel.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>

const char* const pacingSettingNames[pacingCount] = {"vsync", "capped", "off"};
const char* const pacingLabels[pacingCount] = {"Vertical sync", "Capped", "Off"};

const WindowSize offeredWindowSizes[4] = {{1024, 768}, {1280, 720}, {1600, 900}, {1920, 1080}};

namespace {
bool fits(unsigned width, unsigned height, unsigned desktopWidth, unsigned desktopHeight) {
    return width <= desktopWidth && height <= desktopHeight &&
           !(width == desktopWidth && height == desktopHeight);
}
}  // namespace

std::vector<DisplayChoice> displayChoices(unsigned desktopWidth, unsigned desktopHeight,
                                          unsigned ownWidth, unsigned ownHeight) {
    std::vector<DisplayChoice> choices(1);
    bool ownOffered = false;
    for (const WindowSize& size : offeredWindowSizes) {
        if (!fits(size.width, size.height, desktopWidth, desktopHeight)) continue;
        DisplayChoice window;
        window.fullscreen = false;
        window.width = size.width;
        window.height = size.height;
        choices.push_back(window);
        ownOffered = ownOffered || (size.width == ownWidth && size.height == ownHeight);
    }
    if (!ownOffered && ownWidth > 0 && ownHeight > 0 &&
        fits(ownWidth, ownHeight, desktopWidth, desktopHeight)) {
        DisplayChoice own;
        own.fullscreen = false;
        own.width = ownWidth;
        own.height = ownHeight;
        auto at = std::find_if(choices.begin() + 1, choices.end(), [&](const DisplayChoice& c) {
            return c.width > ownWidth || (c.width == ownWidth && c.height > ownHeight);
        });
        choices.insert(at, own);
    }
    return choices;
}

int displayChoiceOf(const std::vector<DisplayChoice>& choices, bool fullscreen, unsigned width,
                    unsigned height) {
    if (fullscreen || choices.size() < 2) return 0;
    for (size_t i = 1; i < choices.size(); ++i) {
        if (choices[i].width == width && choices[i].height == height) return static_cast<int>(i);
    }
    return 1;
}

std::string displayLabel(const DisplayChoice& choice) {
    if (choice.fullscreen) return "Full screen";
    return "Window " + std::to_string(choice.width) + " x " + std::to_string(choice.height);
}

int steppedVolume(int volume, int direction) {
    const int v = std::clamp(volume, 0, 100);
    const int next = direction > 0 ? (v / 5 + 1) * 5 : ((v + 4) / 5 - 1) * 5;
    return std::clamp(next, 0, 100);
}

int steppedOffset(int ms, int direction, int max) {
    const int m = std::clamp(ms, -max, max);
    // The multiple of 5 at or below, for negative values as well.
    const int below = m >= 0 ? m / 5 * 5 : -((-m + 4) / 5 * 5);
    const int next = direction > 0 ? below + 5 : (below == m ? m - 5 : below);
    return std::clamp(next, -max, max);
}

std::string offsetLabel(int ms) {
    return (ms > 0 ? "+" : "") + std::to_string(ms) + " ms";
}

int volumeAt(float fraction) {
    if (!(fraction > 0.0f)) return 0;  // NaN too
    if (fraction >= 1.0f) return 100;
    return static_cast<int>(std::lround(fraction * 100.0f));
}

int steppedChoice(int choice, int direction, int count) {
    if (count <= 0) return 0;
    const int step = direction > 0 ? 1 : -1;
    return ((choice + step) % count + count) % count;
}

const sf::Keyboard::Key defaultRouteKeys[4] = {sf::Keyboard::E, sf::Keyboard::P, sf::Keyboard::L,
                                               sf::Keyboard::D};

namespace {
// By key code, from A (0) to Pause.
const char* const keyNames[sf::Keyboard::KeyCount] = {
    "A",    "B",     "C",      "D",    "E",    "F",    "G",    "H",     "I",      "J",
    "K",    "L",     "M",      "N",    "O",    "P",    "Q",    "R",     "S",      "T",
    "U",    "V",     "W",      "X",    "Y",    "Z",    "0",    "1",     "2",      "3",
    "4",    "5",     "6",      "7",    "8",    "9",    "Esc",  "LCtrl", "LShift", "LAlt",
    "LSys", "RCtrl", "RShift", "RAlt", "RSys", "Menu", "[",    "]",     ";",      ",",
    ".",    "'",     "/",      "\\",   "`",    "=",    "-",    "Space", "Return", "Bksp",
    "Tab",  "PgUp",  "PgDn",   "End",  "Home", "Ins",  "Del",  "Num+",  "Num-",   "Num*",
    "Num/", "Left",  "Right",  "Up",   "Down", "Num0", "Num1", "Num2",  "Num3",   "Num4",
    "Num5", "Num6",  "Num7",   "Num8", "Num9", "F1",   "F2",   "F3",    "F4",     "F5",
    "F6",   "F7",    "F8",     "F9",   "F10",  "F11",  "F12",  "F13",   "F14",    "F15",
    "Pause"};

bool reserved(sf::Keyboard::Key key) {
    switch (key) {
        case sf::Keyboard::Escape:
        case sf::Keyboard::Space:
        case sf::Keyboard::Return:
        case sf::Keyboard::Left:
        case sf::Keyboard::Right:
        case sf::Keyboard::Up:
        case sf::Keyboard::Down:
        case sf::Keyboard::M:
        case sf::Keyboard::O:
        case sf::Keyboard::B:
            return true;
        default:
            return (key >= sf::Keyboard::Num0 && key <= sf::Keyboard::Num9) ||
                   (key >= sf::Keyboard::Numpad0 && key <= sf::Keyboard::Numpad9) || key < 0 ||
                   key >= sf::Keyboard::KeyCount;
    }
}

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}
}  // namespace

KeyRefusal keyRefusal(sf::Keyboard::Key key, int route, const sf::Keyboard::Key bound[4]) {
    if (reserved(key)) return KeyReserved;
    for (int r = 0; r < 4; ++r) {
        if (r != route && bound[r] == key) return KeyTaken;
    }
    return KeyAccepted;
}

const char* refusalLabel(KeyRefusal refusal) {
    if (refusal == KeyTaken) return "taken";
    if (refusal == KeyReserved) return "reserved";
    return "";
}

std::string keyName(sf::Keyboard::Key key) {
    if (key < 0 || key >= sf::Keyboard::KeyCount) return "";
    return keyNames[key];
}

sf::Keyboard::Key keyNamed(const std::string& name) {
    const std::string wanted = upper(name);
    for (int k = 0; k < sf::Keyboard::KeyCount; ++k) {
        if (upper(keyNames[k]) == wanted) return static_cast<sf::Keyboard::Key>(k);
    }
    return sf::Keyboard::Unknown;
}

std::string routeKeysSetting(const sf::Keyboard::Key keys[4]) {
    std::string text;
    for (int r = 0; r < 4; ++r) text += (r > 0 ? " " : "") + keyName(keys[r]);
    return text;
}

std::string routeKeysValue(const sf::Keyboard::Key keys[4]) {
    std::string value = "\"";
    for (char c : routeKeysSetting(keys))
        value += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return value + "\"";
}

bool parseRouteKeys(const std::string& text, sf::Keyboard::Key keys[4]) {
    std::istringstream words(text);
    sf::Keyboard::Key read[4] = {sf::Keyboard::Unknown, sf::Keyboard::Unknown,
                                 sf::Keyboard::Unknown, sf::Keyboard::Unknown};
    std::string word;
    int count = 0;
    while (words >> word) {
        if (count == 4) return false;
        read[count] = keyNamed(word);
        if (keyRefusal(read[count], count, read) != KeyAccepted) return false;
        ++count;
    }
    if (count != 4) return false;
    std::copy(read, read + 4, keys);
    return true;
}
