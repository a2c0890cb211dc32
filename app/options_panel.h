#pragma once

#include <string>
#include <vector>

// The options panel's choices, free of windows and sounds: what each row can be set to, and
// how a key or the mouse changes it. The app applies the result and keeps it in the settings.

// The rows, top to bottom.
namespace OptionsRow {
const int volume = 0;
const int display = 1;
const int pacing = 2;
const int routeKeys = 3;
const int audioOffset = 4;
const int inputOffset = 5;
const int calibration = 6;
const int count = 7;
}  // namespace OptionsRow

// How the frames are paced: following the display's refresh (vertical sync), capped by the
// game at the display's refresh rate, or as many as the machine can draw.
enum FramePacing : int { PacingVsync = 0, PacingCapped = 1, PacingOff = 2 };
const int pacingCount = 3;
// The settings file's words for them ("vsync", "capped", "off") and the panel's.
extern const char* const pacingSettingNames[pacingCount];
extern const char* const pacingLabels[pacingCount];

// The window sizes the display row offers when they fit the desktop.
struct WindowSize {
    unsigned width;
    unsigned height;
};
extern const WindowSize offeredWindowSizes[4];

// One choice of the display row: full screen, or a window of a size.
struct DisplayChoice {
    bool fullscreen = true;
    unsigned width = 0;
    unsigned height = 0;
};

// Full screen, then the offered window sizes smaller than the desktop (on each side no
// larger, and not the desktop's own size), and the player's own window size among them, in
// order of width, when it is not one of them.
std::vector<DisplayChoice> displayChoices(unsigned desktopWidth, unsigned desktopHeight,
                                          unsigned ownWidth, unsigned ownHeight);
// Where the window as it is stands among the choices: full screen at 0; a window at the
// choice of its size, or the first window choice when its size is not offered.
int displayChoiceOf(const std::vector<DisplayChoice>& choices, bool fullscreen, unsigned width,
                    unsigned height);
// "Full screen" or "Window 1280 x 720".
std::string displayLabel(const DisplayChoice& choice);

// The volume one key step from volume: to the next multiple of 5 in that direction (+1 or
// -1), within 0..100.
int steppedVolume(int volume, int direction);
// The volume at a point of the slider's track, 0 at its left end to 1 at its right end
// (outside: the nearer end), as a whole number 0..100.
int volumeAt(float fraction);
// An offset one key step from ms: to the next multiple of 5 milliseconds in that direction
// (+1 or -1), within -max..max.
int steppedOffset(int ms, int direction, int max);
// "+40 ms", "0 ms" or "-20 ms".
std::string offsetLabel(int ms);
// A choice one step along a list of count choices, wrapping around at either end.
int steppedChoice(int choice, int direction, int count);
