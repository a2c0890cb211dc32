#include "app/options_panel.h"

#include <algorithm>
#include <cmath>

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
