#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// The player's choices for one run: how the window opens, frame pacing and the master
// volume. They come from the settings file, then from the command line, which wins for
// that run only.
struct Options {
    bool fullscreen = true;
    unsigned windowWidth = 1280;
    unsigned windowHeight = 720;
    bool vsync = true;
    // Without vertical sync: the game caps the frames at the display's refresh rate.
    bool frameCap = false;
    int volume = 100;  // 0..100
    int audioOffsetMs = 0;
    int inputOffsetMs = 0;
    // The folder holding graphs/ and qo_audio/ (command line only); empty: the working
    // folder. Records, log and settings stay in the working folder either way.
    std::string dataFolder;
    // The random generator's seed for the run (command line only); none: the current time.
    std::optional<unsigned> seed;
    // A recorded play to play again instead of the menus (command line only).
    std::string replayFile;
};

// What the command line asked for. Fields left unset keep the settings file's choice.
struct CommandLine {
    // -1: start the game; 0: --help or --version was answered; 2: a bad command line.
    int exitStatus = -1;
    std::string output;  // for standard output (help, version)
    std::string error;   // for standard error: the problem and the usage hint
    std::optional<bool> fullscreen;
    std::optional<unsigned> windowWidth;
    std::optional<unsigned> windowHeight;
    std::optional<bool> vsync;
    std::optional<int> volume;
    std::optional<std::string> dataFolder;
    std::optional<unsigned> seed;
    std::optional<std::string> replayFile;
};

CommandLine parseCommandLine(int argc, const char* const* argv);

// The settings with the command line's choices laid over them.
Options mergeOptions(Options settings, const CommandLine& commandLine);

// Text from a file or the command line for a message: one line that cannot drive the
// terminal, with line ends, tabs, control characters, bytes that are not UTF-8, quotes and
// backslashes escaped (\n, \t, \x1b, \", \\). quotedText adds the double quotes around it.
std::string escapedText(std::string_view text);
std::string quotedText(std::string_view text);

// A whole number written in decimal digits only (no sign, no base prefix such as 0x),
// from min to max; leading zeros are allowed ("050" is 50).
bool parseDecimal(std::string_view text, unsigned min, unsigned max, unsigned& value);

// "WIDTHxHEIGHT" with each side from minWindowSide to maxWindowSide pixels.
extern const unsigned minWindowSide;
extern const unsigned maxWindowSide;
// The largest --seed: the generator's seed is an unsigned 32-bit number.
extern const unsigned maxSeed;
bool parseWindowSize(const std::string& text, unsigned& width, unsigned& height);

// A window size that fits the desktop: a larger one is shrunk, keeping its proportions
// as far as no side goes below minWindowSide (a very long, thin window is shrunk along its
// long side only, down to the desktop, and its short side stays minWindowSide).
void fitWindowToDesktop(unsigned& width, unsigned& height, unsigned desktopWidth,
                        unsigned desktopHeight);

// The settings file "settings.toml" in the working folder.
extern const char* const settingsFileName;

// The file's text with every option at its default, one comment line each.
std::string defaultSettingsText();

// Reads settings from a file's text. What cannot be used keeps its default and adds one
// problem line naming the file, the line and the problem.
Options parseSettings(const std::string& text, const std::string& fileName,
                      std::vector<std::string>& problems);

// Reads the settings file at path, or writes it with the defaults when there is none.
// Problems go to err, one line each; loading never rewrites an existing file.
Options loadSettingsFile(const std::string& path, std::ostream& err);

// The settings text with one setting set to value (TOML, e.g. "true", "40" or "\"off\""):
// its value replaced where it stands, every other character kept (comments, order, spacing);
// a setting not in the text is added, with its comment line, before any table. False when
// the text cannot be parsed, or would not parse after the change.
bool withSetting(const std::string& text, const std::string& name, const std::string& value,
                 std::string& changed);

// Sets one setting in the settings file at path (made with the defaults when missing),
// crash-safely: the new text goes to a scratch file beside it (its name with ".tmp"
// added), which is renamed over it once whole; a link is written through and stays a
// link. Anything but a regular file is left alone. False, with one line on err, when the
// setting could not be kept.
bool saveSetting(const std::string& path, const std::string& name, const std::string& value,
                 std::ostream& err);
