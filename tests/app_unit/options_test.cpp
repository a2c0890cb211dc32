#include "app/options.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <regex>
#include <sstream>

#include "support/child_run.h"
#include "support/game_folder.h"

namespace {

Options makeOptions(bool fullscreen, unsigned w, unsigned h, bool vsync, int volume) {
    Options o;
    o.fullscreen = fullscreen;
    o.windowWidth = w;
    o.windowHeight = h;
    o.vsync = vsync;
    o.volume = volume;
    return o;
}

Options withData(Options o, const char* folder) {
    o.dataFolder = folder;
    return o;
}

Options withSeed(Options o, unsigned seed) {
    o.seed = seed;
    return o;
}

Options withReplay(Options o, const char* file) {
    o.replayFile = file;
    return o;
}

Options withOffsets(Options o, int audioMs, int inputMs) {
    o.audioOffsetMs = audioMs;
    o.inputOffsetMs = inputMs;
    return o;
}

std::string describe(const Options& o) {
    std::ostringstream s;
    s << (o.fullscreen ? "fullscreen " : "windowed ") << o.windowWidth << "x" << o.windowHeight
      << (o.vsync ? " vsync " : " no-vsync ") << o.volume << " audio " << o.audioOffsetMs
      << " ms input " << o.inputOffsetMs << " ms data [" << o.dataFolder << "]"
      << " seed " << (o.seed ? std::to_string(*o.seed) : "time") << " replay [" << o.replayFile
      << "]";
    return s.str();
}

CommandLine parse(std::vector<const char*> args) {
    args.insert(args.begin(), "mirevo");
    return parseCommandLine(static_cast<int>(args.size()), args.data());
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

}  // namespace

// The settings file's choices, then the flags laid over them for the run.
TEST(Options, CommandLineOverSettings) {
    const Options defaults;
    struct Case {
        const char* settings;  // text of settings.toml
        std::vector<const char*> args;
        Options expected;
    };
    const Case cases[] = {
        {"", {}, defaults},
        {"", {"--windowed"}, makeOptions(false, 1280, 720, true, 100)},
        {"", {"--windowed", "800x600"}, makeOptions(false, 800, 600, true, 100)},
        {"", {"--windowed=1024x768", "--vsync", "off"}, makeOptions(false, 1024, 768, false, 100)},
        {"", {"--windowed", "--volume", "0"}, makeOptions(false, 1280, 720, true, 0)},
        {"", {"--volume=100", "--vsync=on"}, defaults},
        // Numbers are decimal, leading zeros and all.
        {"", {"--volume", "050"}, makeOptions(true, 1280, 720, true, 50)},
        {"", {"--volume", "007", "--windowed", "0800x0600"}, makeOptions(false, 800, 600, true, 7)},
        {"fullscreen = false\nwindow_size = \"1600x900\"\nvsync = false\nvolume = 35\n",
         {},
         makeOptions(false, 1600, 900, false, 35)},
        {"fullscreen = false\nwindow_size = \"1600x900\"\n",
         {"--fullscreen"},
         makeOptions(true, 1600, 900, true, 100)},
        {"fullscreen = false\nwindow_size = \"1600x900\"\n",
         {"--windowed"},
         makeOptions(false, 1280, 720, true, 100)},
        {"vsync = false\nvolume = 10\n",
         {"--vsync", "on", "--volume", "90"},
         makeOptions(true, 1280, 720, true, 90)},
        // The data folder: the command line's only; the launcher gives its own first, so a
        // player's later --data wins.
        {"", {"--data", "/usr/share/games/mirevo"}, withData(defaults, "/usr/share/games/mirevo")},
        {"",
         {"--data=my data/", "--windowed"},
         withData(makeOptions(false, 1280, 720, true, 100), "my data/")},
        {"",
         {"--data", "/a", "--volume", "5", "--data", "/b"},
         withData(makeOptions(true, 1280, 720, true, 5), "/b")},
        // The run's seed, the whole range of the generator's.
        {"", {"--seed", "0"}, withSeed(defaults, 0)},
        {"", {"--seed", "4294967295"}, withSeed(defaults, 4294967295u)},
        {"",
         {"--seed=00042", "--volume", "3"},
         withSeed(makeOptions(true, 1280, 720, true, 3), 42)},
        // A recording to play again.
        {"", {"--replay", "replays/best 1.mrp"}, withReplay(defaults, "replays/best 1.mrp")},
        // The offsets, to the ends of their ranges, either way of 0; the flag wins for the run.
        {"audio_offset = -300\ninput_offset = 150\n", {}, withOffsets(defaults, -300, 150)},
        {"audio_offset = 300\ninput_offset = -150\n", {}, withOffsets(defaults, 300, -150)},
        {"audio_offset = 40\ninput_offset = 20\n",
         {"--audio-offset", "-20", "--input-offset=-005"},
         withOffsets(defaults, -20, -5)},
        {"input_offset = 20\n", {"--audio-offset=0300"}, withOffsets(defaults, 300, 20)},
        {"", {"--input-offset", "150", "--audio-offset", "-0"}, withOffsets(defaults, 0, 150)},
        {"",
         {"--audio-offset", "-300", "--input-offset", "-150"},
         withOffsets(defaults, -300, -150)},
    };
    for (const Case& c : cases) {
        std::string what = std::string("settings {") + c.settings + "} flags";
        for (const char* a : c.args) what += std::string(" ") + a;
        std::vector<std::string> problems;
        Options settings = parseSettings(c.settings, "settings.toml", problems);
        EXPECT_TRUE(problems.empty()) << what;
        CommandLine line = parse(c.args);
        EXPECT_EQ(line.exitStatus, -1) << what << "\n" << line.error;
        EXPECT_EQ(line.output + line.error, "") << what;
        EXPECT_EQ(describe(mergeOptions(settings, line)), describe(c.expected)) << what;
    }
}

TEST(Options, BadCommandLineGivesOneLineAndTheUsageExitTwo) {
    const std::vector<std::vector<const char*>> cases = {
        {"--bogus"},
        {"play"},
        {"--volume", "101"},
        {"--volume", "-1"},
        {"--volume", "ten"},
        {"--volume"},
        {"--vsync", "yes"},
        {"--vsync"},
        {"--windowed", "1280"},
        {"--windowed", "0x0"},
        {"--windowed", "1280x"},
        {"--windowed", "x720"},
        {"--windowed", "-1280x720"},
        {"--windowed", "99999x720"},
        {"--windowed", "1280x720x2"},
        {"--windowed", "--fullscreen"},
        {"--fullscreen", "--windowed", "800x600"},
        // Decimal only: no base prefix, sign, exponent or space.
        {"--volume", "0x32"},
        {"--volume", "0b11"},
        {"--volume", "0o7"},
        {"--volume", "+50"},
        {"--volume", "5e1"},
        {"--volume", " 50"},
        {"--windowed", "0x500x600"},
        {"--windowed", "+800x600"},
        // The player's text is quoted escaped: the problem stays one line and cannot drive
        // the terminal.
        {"--vsync", "\x1b[2J\x1b[31mred"},
        {"--volume", "5\n0"},
        {"--windowed", "12\n80x720"},
        {"--bo\ngus"},
        {"--windowed", "800x600\r\x1b]0;title\x07"},
        {"--data"},
        {"--data="},
        {"--data", "/a", "b"},
        {"--seed"},
        {"--seed", "4294967296"},
        {"--seed", "10000000000"},
        {"--seed", "-1"},
        {"--seed", "0x10"},
        {"--seed", "1.5"},
        {"--replay"},
        {"--replay", "a", "b"},
        {"--audio-offset", "301"},
        {"--audio-offset", "-301"},
        {"--audio-offset", "+20"},
        {"--audio-offset", "20ms"},
        {"--audio-offset", "-"},
        {"--audio-offset", "--20"},
        {"--audio-offset", "0x10"},
        {"--audio-offset", "1.5"},
        {"--audio-offset"},
        {"--input-offset", "151"},
        {"--input-offset", "-151"},
        {"--input-offset", " 20"},
        {"--input-offset", "-2\n0"},
    };
    const std::regex shape("mirevo: [^\n]+\nUsage: mirevo [^\n]*--windowed[^\n]*\n");
    for (const auto& args : cases) {
        std::string what;
        for (const char* a : args) what += std::string(" ") + a;
        CommandLine line = parse(args);
        EXPECT_EQ(line.exitStatus, 2) << what;
        EXPECT_TRUE(std::regex_match(line.error, shape)) << what << "\n" << line.error;
        EXPECT_EQ(std::count_if(line.error.begin(), line.error.end(),
                                [](char c) { return std::iscntrl(static_cast<unsigned char>(c)); }),
                  2)
            << what << "\n"
            << line.error;
        EXPECT_EQ(line.output, "") << what;
        EXPECT_FALSE(line.fullscreen || line.vsync || line.volume || line.windowWidth ||
                     line.dataFolder || line.seed || line.replayFile || line.audioOffsetMs ||
                     line.inputOffsetMs)
            << what;
    }
}

TEST(Options, HelpAndVersionAnswerOnStandardOutput) {
    CommandLine help = parse({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.error, "");
    for (const char* flag : {"--windowed", "--fullscreen", "--vsync", "--volume", "--data",
                             "--seed", "--replay", "--audio-offset", "--input-offset", "--version"})
        EXPECT_NE(help.output.find(flag), std::string::npos) << flag;
    CommandLine version = parse({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_TRUE(
        std::regex_match(version.output, std::regex("mirevo [0-9]+\\.[0-9]+(\\.[0-9]+)*\n")))
        << version.output;
}

// What the settings file holds that cannot be used keeps its default, with one line naming
// the file, the line and the problem; the rest of the file still counts.
TEST(Options, SettingsFileProblems) {
    struct Case {
        const char* text;
        Options expected;
        std::vector<const char*> problems;  // start of each line, in order
    };
    const Options defaults;
    const Case cases[] = {
        {"fullscreen = [tru", defaults, {"settings.toml line 1: "}},
        {"volume = 40\n\n\nvolume = 50\n", defaults, {"settings.toml line 4: "}},
        {"\x01\x02\xff\xfe", defaults, {"settings.toml line 1: "}},
        {"[window]\nsize = 3\n", defaults, {"settings.toml line 1: unknown setting \"window\""}},
        {"volume = 40\ncolour = \"blue\"\nvsync = \"no\"\n",
         makeOptions(true, 1280, 720, true, 40),
         {"settings.toml line 2: unknown setting \"colour\"",
          "settings.toml line 3: vsync must be true or false; using true"}},
        {"fullscreen = false\nvolume = 101\nwindow_size = \"1280x\"\n",
         makeOptions(false, 1280, 720, true, 100),
         {"settings.toml line 2: volume must be a whole number from 0 to 100; using 100",
          "settings.toml line 3: window_size must be"}},
        {"volume = 50.5\nfullscreen = 1\nwindow_size = [800, 600]\n",
         defaults,
         {"settings.toml line 1: volume", "settings.toml line 2: fullscreen",
          "settings.toml line 3: window_size"}},
        {"volume = -1\nwindow_size = \"100x100\"\n",
         defaults,
         {"settings.toml line 1: volume", "settings.toml line 2: window_size"}},
        // Decimal only, as on the command line.
        {"volume = 0x32\n", defaults, {"settings.toml line 1: volume must be"}},
        {"volume = 0o62\n", defaults, {"settings.toml line 1: volume must be"}},
        {"volume = 0b110010\n", defaults, {"settings.toml line 1: volume must be"}},
        {"volume = +50\nwindow_size = \"0800x0600\"\n", makeOptions(true, 800, 600, true, 50), {}},
        // The offsets: whole milliseconds within their ranges, in decimal.
        {"audio_offset = 301\ninput_offset = -151\n",
         defaults,
         {"settings.toml line 1: audio_offset must be a whole number from -300 to 300; using 0",
          "settings.toml line 2: input_offset must be a whole number from -150 to 150; using 0"}},
        {"audio_offset = -301\ninput_offset = 151\nvolume = 7\n",
         makeOptions(true, 1280, 720, true, 7),
         {"settings.toml line 1: audio_offset must be",
          "settings.toml line 2: input_offset must be"}},
        {"audio_offset = 12.5\ninput_offset = \"20\"\n",
         defaults,
         {"settings.toml line 1: audio_offset must be",
          "settings.toml line 2: input_offset must be"}},
        {"audio_offset = 0x10\ninput_offset = true\n",
         defaults,
         {"settings.toml line 1: audio_offset must be",
          "settings.toml line 2: input_offset must be"}},
        {"input_offset = -150\naudio_offset = +300\n", withOffsets(defaults, 300, -150), {}},
        // A name is written escaped, on one line.
        {"\"bad\\nname\\u001b[2J\\t\\\"q\\\"\" = 1\n",
         defaults,
         {"settings.toml line 1: unknown setting \"bad\\nname\\x1b[2J\\t\\\"q\\\"\", ignored"}},
        {"\"\\u009b31m\\u202e\" = 1\n",
         defaults,
         {"settings.toml line 1: unknown setting \"\\x9b31m\\u202e\", ignored"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> problems;
        Options o = parseSettings(c.text, "settings.toml", problems);
        EXPECT_EQ(describe(o), describe(c.expected)) << c.text;
        ASSERT_EQ(problems.size(), c.problems.size()) << c.text;
        for (size_t i = 0; i < problems.size(); ++i) {
            EXPECT_EQ(problems[i].rfind(c.problems[i], 0), 0u) << problems[i];
            EXPECT_TRUE(std::none_of(problems[i].begin(), problems[i].end(), [](char c) {
                return std::iscntrl(static_cast<unsigned char>(c));
            })) << problems[i];
        }
    }
}

// First start writes the defaults; afterwards the file is only ever read, whatever it
// holds, and its problems go to standard error.
TEST(Options, SettingsFileIsWrittenOnceAndNeverRewritten) {
    GameFolder folder(false);
    const std::string path = folder.file("settings.toml");
    std::ostringstream err;
    EXPECT_EQ(describe(loadSettingsFile(path, err)), describe(Options()));
    EXPECT_EQ(err.str(), "");
    const std::string written = folder.read("settings.toml");
    EXPECT_EQ(written, defaultSettingsText());
    // Every option at its default, each after its one-line comment.
    std::vector<std::string> problems;
    EXPECT_EQ(describe(parseSettings(written, path, problems)), describe(Options()));
    EXPECT_TRUE(problems.empty());
    std::istringstream lines(written);
    std::string line, before;
    int settings = 0;
    while (std::getline(lines, line)) {
        if (!line.empty() && line[0] != '#') {
            ++settings;
            EXPECT_EQ(before.rfind("# ", 0), 0u) << line;
        }
        before = line;
    }
    EXPECT_EQ(settings, 7);

    const std::string edited = "fullscreen = false  # my window\nvolume = 30\n";
    const std::string garbled = "fullscreen = fals\nvolume = 30\n";
    for (const std::string& text : {edited, garbled}) {
        writeFile(path, text);
        err.str("");
        Options o = loadSettingsFile(path, err);
        EXPECT_EQ(folder.read("settings.toml"), text);
        if (text == edited) {
            EXPECT_EQ(describe(o), describe(makeOptions(false, 1280, 720, true, 30)));
            EXPECT_EQ(err.str(), "");
        } else {
            EXPECT_EQ(describe(o), describe(Options()));
            EXPECT_TRUE(std::regex_match(err.str(), std::regex(path + " line 1: [^\n]+\n")))
                << err.str();
        }
    }

    // A settings.toml that cannot be read (here a folder) stays, and defaults are used.
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    err.str("");
    EXPECT_EQ(describe(loadSettingsFile(path, err)), describe(Options()));
    EXPECT_EQ(err.str(), path + ": cannot be read; playing with the default settings\n");
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

// No side goes below the smallest the game accepts (160): a long, thin window is shrunk
// along its long side only, and keeps its short side.
// Only a regular file, or a link to one, is read: a FIFO named settings.toml would block
// the start until something writes into it. Anything else keeps the defaults, with the
// line that the file cannot be read, and stays as it is.
TEST(Options, SettingsFileIsReadOnlyWhenItIsARegularFile) {
    struct Case {
        const char* what;
        std::function<void()> make;  // in the game folder
        const char* err;             // after the file's name
        Options expected;
    };
    const std::string cannotRead = ": cannot be read; playing with the default settings\n";
    const Case cases[] = {
        {"a FIFO", [] { mkfifo("settings.toml", 0644); }, cannotRead.c_str(), Options()},
        {"a link to a FIFO",
         [] {
             mkfifo("elsewhere.fifo", 0644);
             std::filesystem::create_symlink("elsewhere.fifo", "settings.toml");
         },
         cannotRead.c_str(), Options()},
        {"a link to a regular file",
         [] {
             writeFile("elsewhere.toml", "volume = 30\n");
             std::filesystem::create_symlink("elsewhere.toml", "settings.toml");
         },
         "", makeOptions(true, 1280, 720, true, 30)},
    };
    for (const Case& c : cases) {
        GameFolder folder(false);
        c.make();
        const std::filesystem::file_type before =
            std::filesystem::symlink_status("settings.toml").type();
        const ChildRun run = runInChild(
            [] {
                std::ostringstream err;
                const Options o = loadSettingsFile("settings.toml", err);
                std::cout << err.str() << describe(o) << std::endl;
                return 0;
            },
            5);
        ASSERT_TRUE(run.ended) << c.what << ": the load of settings.toml did not return within 5 s";
        EXPECT_EQ(run.output, (*c.err ? "settings.toml" + std::string(c.err) : std::string()) +
                                  describe(c.expected) + "\n")
            << c.what;
        EXPECT_EQ(std::filesystem::symlink_status("settings.toml").type(), before) << c.what;
    }
}

TEST(Options, WindowLargerThanTheDesktopShrinksKeepingItsShapeButNoSideBelow160) {
    struct Case {
        unsigned w, h, desktopW, desktopH, fitW, fitH;
    };
    const Case cases[] = {
        {1280, 720, 1920, 1080, 1280, 720},     {1920, 1080, 1920, 1080, 1920, 1080},
        {1920, 1080, 1024, 768, 1024, 576},     {1920, 1200, 1920, 1080, 1728, 1080},
        {800, 2000, 1920, 1080, 432, 1080},     {2560, 1440, 1280, 1024, 1280, 720},
        {4000, 400, 1920, 1080, 1920, 192},     {16384, 160, 1920, 1080, 1920, 160},
        {160, 16384, 1920, 1080, 160, 1080},    {16384, 200, 1920, 1080, 1920, 160},
        {16384, 16384, 1920, 1080, 1080, 1080},
    };
    for (const Case& c : cases) {
        unsigned w = c.w, h = c.h;
        fitWindowToDesktop(w, h, c.desktopW, c.desktopH);
        EXPECT_EQ(w, c.fitW) << c.w << "x" << c.h << " on " << c.desktopW << "x" << c.desktopH;
        EXPECT_EQ(h, c.fitH) << c.w << "x" << c.h << " on " << c.desktopW << "x" << c.desktopH;
    }
}

// The options panel changes one setting at a time: its value is replaced where it stands and
// every other character of the player's file stays; a setting the file lacks is added with
// its comment, at the top level; a text that is not TOML is left alone.
TEST(Options, OneSettingChangesInPlaceKeepingTheRestOfTheFile) {
    struct Case {
        std::string text, name, value;
        bool ok;
        std::string expected;
    };
    const std::string pacingComment =
        "# \"vsync\": frames follow the display's refresh; \"capped\": at most the display's "
        "refresh rate; \"off\": as many frames as possible\n";
    // The comment the default text gives the setting.
    const std::string defaults = defaultSettingsText();
    const size_t inputAt = defaults.find("\ninput_offset = ");
    const std::string inputComment = defaults.substr(defaults.rfind("\n#", inputAt) + 1,
                                                     inputAt - defaults.rfind("\n#", inputAt));
    ASSERT_EQ(inputComment.rfind("# ", 0), 0u);
    const Case cases[] = {
        {"volume = 80  # quiet\n", "volume", "40", true, "volume = 40  # quiet\n"},
        {"window_size = \"12#0x720\" # \"x\"\n", "window_size", "\"1024x768\"", true,
         "window_size = \"1024x768\" # \"x\"\n"},
        {"window_size = 'a # b'\n", "window_size", "\"1024x768\"", true,
         "window_size = \"1024x768\"\n"},
        {"  volume=5\r\nvsync = true\r\n", "volume", "40", true, "  volume=40\r\nvsync = true\r\n"},
        {"# \xc3\xa9t\xc3\xa9\n\"cl\xc3\xa9\" = 1   \nvolume = 5\n", "volume", "100", true,
         "# \xc3\xa9t\xc3\xa9\n\"cl\xc3\xa9\" = 1   \nvolume = 100\n"},
        {"volume = 5\n[extra]\nx = 1\n", "frame_pacing", "\"off\"", true,
         "volume = 5\n" + pacingComment + "frame_pacing = \"off\"\n[extra]\nx = 1\n"},
        {"volume = 5", "frame_pacing", "\"capped\"", true,
         "volume = 5\n" + pacingComment + "frame_pacing = \"capped\"\n"},
        {"volume = = 5\n", "volume", "40", false, ""},
        {"volume = 5\n", "input_offset", "-20", true,
         "volume = 5\n" + inputComment + "input_offset = -20\n"},
        {"audio_offset = 40 # tv\n", "audio_offset", "-300", true, "audio_offset = -300 # tv\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::string changed;
        EXPECT_EQ(withSetting(c.text, c.name, c.value, changed), c.ok);
        if (c.ok) {
            EXPECT_EQ(changed, c.expected);
        }
    }

    // Through the file: a link stays a link to the changed file, no scratch file is left, and
    // a file its owner may not write, or a folder, is left as it is with one line.
    GameFolder folder(false);
    writeFile(folder.file("mine.toml"), "volume = 80  # quiet\n");
    std::filesystem::create_symlink("mine.toml", folder.file("settings.toml"));
    std::ostringstream err;
    EXPECT_TRUE(saveSetting(folder.file("settings.toml"), "volume", "45", err));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.file("settings.toml")));
    EXPECT_EQ(folder.read("mine.toml"), "volume = 45  # quiet\n");
    EXPECT_FALSE(std::filesystem::exists(folder.file("mine.toml.tmp")));
    EXPECT_EQ(err.str(), "");
    std::filesystem::permissions(folder.file("mine.toml"), std::filesystem::perms::owner_read);
    EXPECT_FALSE(saveSetting(folder.file("settings.toml"), "volume", "50", err));
    EXPECT_EQ(folder.read("mine.toml"), "volume = 45  # quiet\n");
    std::filesystem::create_directory(folder.file("other.toml"));
    EXPECT_FALSE(saveSetting(folder.file("other.toml"), "volume", "50", err));
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("other.toml")));
    EXPECT_EQ(err.str(), folder.file("settings.toml") +
                             ": volume cannot be kept; the change holds for this run only\n" +
                             folder.file("other.toml") +
                             ": volume cannot be kept; the change holds for this run only\n");
}
