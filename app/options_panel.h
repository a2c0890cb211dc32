#pragma once

#include <SFML/Window/Keyboard.hpp>
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

// The route keys' row: four slots (routes 0..3: top left, top right, bottom right, bottom
// left), then the reset button, which binds the default keys again.
const int resetSlot = 4;
extern const sf::Keyboard::Key defaultRouteKeys[4];

// Whether a key may become a route's key, and if not why: another route has it, or the game
// needs it elsewhere (Escape, Space, Return, the arrows, the number keys of the menus, the
// developer keys of a play M, O and B) or cannot name it.
enum KeyRefusal : int { KeyAccepted = 0, KeyTaken = 1, KeyReserved = 2 };
KeyRefusal keyRefusal(sf::Keyboard::Key key, int route, const sf::Keyboard::Key bound[4]);
// The word the panel shows for a refusal: "taken" or "reserved" ("" for an accepted key).
const char* refusalLabel(KeyRefusal refusal);

// A key's name as the game shows it and the settings file writes it: the letter, digit or
// sign it carries ("E", "7", ";"), or a short name ("F1", "LShift", "PgUp", "Space"). Empty for
// a key without a name (sf::Keyboard::Unknown).
std::string keyName(sf::Keyboard::Key key);
// The key of a name written by keyName (letters in either case); Unknown for any other text.
sf::Keyboard::Key keyNamed(const std::string& name);

// The route keys as the settings file writes them: their four names separated by spaces;
// routeKeysValue is that text as a TOML value (quoted, the backslash key's name escaped).
std::string routeKeysSetting(const sf::Keyboard::Key keys[4]);
std::string routeKeysValue(const sf::Keyboard::Key keys[4]);
// Reads that text (any spaces between the names): false unless it names four keys, all
// different and none refused.
bool parseRouteKeys(const std::string& text, sf::Keyboard::Key keys[4]);
