// The command line, read with CLI11. Its parse errors arrive as exceptions, which stop here.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <exception>

#include "app/options.h"
#include "mirevo_version.h"

namespace {
const char* const usageHint =
    "Usage: mirevo [--windowed [WIDTHxHEIGHT] | --fullscreen] [--vsync on|off] "
    "[--volume 0..100] [--help] [--version]";

void fail(CommandLine& result, const std::string& problem) {
    result = CommandLine();
    result.exitStatus = 2;
    result.error = "mirevo: " + problem + "\n" + usageHint + "\n";
}
}  // namespace

const unsigned minWindowSide = 160;
const unsigned maxWindowSide = 16384;
const unsigned maxSeed = 4294967295u;
const int maxAudioOffsetMs = 300;
const int maxInputOffsetMs = 150;

bool parseDecimal(std::string_view text, unsigned min, unsigned max, unsigned& value) {
    if (text.empty()) return false;
    // Wide enough that one digit past max cannot wrap around.
    unsigned long long number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        number = number * 10 + static_cast<unsigned>(c - '0');
        if (number > max) return false;
    }
    if (number < min) return false;
    value = static_cast<unsigned>(number);
    return true;
}

bool parseOffset(std::string_view text, int max, int& value) {
    const bool negative = !text.empty() && text[0] == '-';
    unsigned magnitude = 0;
    if (max < 0 ||
        !parseDecimal(negative ? text.substr(1) : text, 0, static_cast<unsigned>(max), magnitude))
        return false;
    value = negative ? -static_cast<int>(magnitude) : static_cast<int>(magnitude);
    return true;
}

bool parseWindowSize(const std::string& text, unsigned& width, unsigned& height) {
    const size_t cut = text.find('x');
    if (cut == std::string::npos) return false;
    const std::string_view all(text);
    unsigned w = 0;
    unsigned h = 0;
    if (!parseDecimal(all.substr(0, cut), minWindowSide, maxWindowSide, w) ||
        !parseDecimal(all.substr(cut + 1), minWindowSide, maxWindowSide, h)) {
        return false;
    }
    width = w;
    height = h;
    return true;
}

void fitWindowToDesktop(unsigned& width, unsigned& height, unsigned desktopWidth,
                        unsigned desktopHeight) {
    if (width <= desktopWidth && height <= desktopHeight) return;
    if (desktopWidth == 0 || desktopHeight == 0) return;
    double scale = std::min(static_cast<double>(desktopWidth) / width,
                            static_cast<double>(desktopHeight) / height);
    // The game accepts no smaller window, whatever its shape.
    width = std::max(minWindowSide, static_cast<unsigned>(width * scale));
    height = std::max(minWindowSide, static_cast<unsigned>(height * scale));
}

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine result;
    CLI::App cli("Mirevo, a music game: catch the creatures of four routes on the beat.", "mirevo");
    cli.set_version_flag("--version", std::string("mirevo ") + MIREVO_VERSION,
                         "Print the version and exit");
    std::vector<std::string> windowed;
    CLI::Option* windowedOption =
        cli.add_option("--windowed", windowed,
                       "Play in a centred window of WIDTHxHEIGHT pixels (1280x720 when no "
                       "size is given); a window larger than the desktop is shrunk to fit")
            ->expected(0, 1)
            ->type_name("[WIDTHxHEIGHT]");
    CLI::Option* fullscreenOption =
        cli.add_flag("--fullscreen", "Play full screen at the desktop's resolution");
    windowedOption->excludes(fullscreenOption);
    std::string vsync;
    CLI::Option* vsyncOption =
        cli.add_option("--vsync", vsync,
                       "on: frames follow the display's refresh; off: as fast as possible")
            ->check(CLI::IsMember({"on", "off"}))
            ->type_name("on|off");
    // Numbers are read here, in decimal only: CLI11 would take "050" as octal 40.
    std::string volumeText;
    CLI::Option* volumeOption =
        cli.add_option("--volume", volumeText, "Master volume from 0 (silent) to 100")
            ->type_name("0..100");
    std::string audioOffsetText;
    CLI::Option* audioOffsetOption =
        cli.add_option("--audio-offset", audioOffsetText,
                       "Milliseconds the music is heard ahead of the board, for a sound device "
                       "that plays late (behind it when negative)")
            ->type_name("-300..300");
    std::string inputOffsetText;
    CLI::Option* inputOffsetOption =
        cli.add_option("--input-offset", inputOffsetText,
                       "Milliseconds by which a press counts as made earlier, for a player "
                       "who taps late (later when negative)")
            ->type_name("-150..150");
    std::string dataFolder;
    CLI::Option* dataOption =
        cli.add_option("--data", dataFolder,
                       "Read the game's pictures and sounds (graphs/ and qo_audio/) from DIR "
                       "instead of the working folder, which keeps the records, the log and "
                       "the settings")
            ->type_name("DIR")
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    std::string seedText;
    CLI::Option* seedOption =
        cli.add_option("--seed", seedText,
                       "Start the run's random draws from this number instead of the time, "
                       "so that the same play can be played again")
            ->type_name("0..4294967295");
    std::string replayFile;
    CLI::Option* replayOption =
        cli.add_option("--replay", replayFile,
                       "Play the recorded play in FILE again, then exit with status 0 when it "
                       "went the same way to the same results, 3 when it did not")
            ->type_name("FILE");
    cli.footer(
        "Options given here hold for this run only; lasting choices go in settings.toml "
        "in the game's folder.");

    try {
        cli.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        result.exitStatus = 0;
        result.output = cli.help();
        return result;
    } catch (const CLI::CallForVersion& e) {
        result.exitStatus = 0;
        result.output = std::string(e.what()) + "\n";
        return result;
    } catch (const CLI::ParseError& e) {
        fail(result, escapedText(e.what()));
        return result;
    } catch (const std::exception& e) {
        fail(result, escapedText(e.what()));
        return result;
    }

    if (windowedOption->count() > 0) {
        unsigned w = Options().windowWidth;
        unsigned h = Options().windowHeight;
        if (!windowed.empty() && !windowed[0].empty() && !parseWindowSize(windowed[0], w, h)) {
            fail(result, "--windowed: " + quotedText(windowed[0]) +
                             " is not a window size such as 1280x720 (each side " +
                             std::to_string(minWindowSide) + " to " +
                             std::to_string(maxWindowSide) + " pixels)");
            return result;
        }
        result.fullscreen = false;
        result.windowWidth = w;
        result.windowHeight = h;
    }
    if (fullscreenOption->count() > 0) result.fullscreen = true;
    if (vsyncOption->count() > 0) result.vsync = vsync == "on";
    if (volumeOption->count() > 0) {
        unsigned volume = 0;
        if (!parseDecimal(volumeText, 0, 100, volume)) {
            fail(result, "--volume: Value " + escapedText(volumeText) + " not in range 0 to 100");
            return result;
        }
        result.volume = static_cast<int>(volume);
    }
    const struct {
        CLI::Option* option;
        const std::string& text;
        int max;
        std::optional<int>& value;
    } offsets[2] = {{audioOffsetOption, audioOffsetText, maxAudioOffsetMs, result.audioOffsetMs},
                    {inputOffsetOption, inputOffsetText, maxInputOffsetMs, result.inputOffsetMs}};
    for (const auto& offset : offsets) {
        if (offset.option->count() == 0) continue;
        int ms = 0;
        if (!parseOffset(offset.text, offset.max, ms)) {
            fail(result, offset.option->get_name() + ": Value " + escapedText(offset.text) +
                             " not in range -" + std::to_string(offset.max) + " to " +
                             std::to_string(offset.max));
            return result;
        }
        offset.value = ms;
    }
    if (dataOption->count() > 0) result.dataFolder = dataFolder;
    if (seedOption->count() > 0) {
        unsigned seed = 0;
        if (!parseDecimal(seedText, 0, maxSeed, seed)) {
            fail(result, "--seed: Value " + escapedText(seedText) + " not in range 0 to " +
                             std::to_string(maxSeed));
            return result;
        }
        result.seed = seed;
    }
    if (replayOption->count() > 0) result.replayFile = replayFile;
    return result;
}

Options mergeOptions(Options settings, const CommandLine& commandLine) {
    if (commandLine.fullscreen) settings.fullscreen = *commandLine.fullscreen;
    if (commandLine.windowWidth) settings.windowWidth = *commandLine.windowWidth;
    if (commandLine.windowHeight) settings.windowHeight = *commandLine.windowHeight;
    if (commandLine.vsync) {
        settings.vsync = *commandLine.vsync;
        settings.frameCap = false;
    }
    if (commandLine.volume) settings.volume = *commandLine.volume;
    if (commandLine.audioOffsetMs) settings.audioOffsetMs = *commandLine.audioOffsetMs;
    if (commandLine.inputOffsetMs) settings.inputOffsetMs = *commandLine.inputOffsetMs;
    if (commandLine.dataFolder) settings.dataFolder = *commandLine.dataFolder;
    if (commandLine.seed) settings.seed = commandLine.seed;
    if (commandLine.replayFile) settings.replayFile = *commandLine.replayFile;
    return settings;
}
