// The route keys: which key the options panel lets a route take and why not, the names the
// game shows and the settings file writes, and the setting read back.
#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <string>
#include <vector>

#include "app/options.h"
#include "app/options_panel.h"
#include "support/game_folder.h"

namespace {
using Key = sf::Keyboard::Key;

std::string names(const Key keys[4]) {
    std::string text;
    for (int r = 0; r < 4; ++r) text += "[" + keyName(keys[r]) + "]";
    return text;
}
}  // namespace

// With the default keys bound, a key for a route: its own key again is fine, another route's
// is taken; the keys the menus and the play need, and a key without a name, are reserved. The
// name of every key reads back as that key, in either case.
TEST(RouteKeys, RefusalsAndNames) {
    struct Case {
        Key key;
        int route;
        KeyRefusal refusal;
        const char* name;
    };
    using K = sf::Keyboard;
    const Case cases[] = {
        {K::E, 0, KeyAccepted, "E"},
        {K::K, 0, KeyAccepted, "K"},
        {K::E, 3, KeyTaken, "E"},
        {K::D, 0, KeyTaken, "D"},
        {K::P, 2, KeyTaken, "P"},
        {K::L, 2, KeyAccepted, "L"},
        {K::Escape, 1, KeyReserved, "Esc"},
        {K::Space, 1, KeyReserved, "Space"},
        {K::Return, 2, KeyReserved, "Return"},
        {K::Left, 0, KeyReserved, "Left"},
        {K::Right, 0, KeyReserved, "Right"},
        {K::Up, 3, KeyReserved, "Up"},
        {K::Down, 3, KeyReserved, "Down"},
        {K::Num0, 0, KeyReserved, "0"},
        {K::Num4, 1, KeyReserved, "4"},
        {K::Num9, 2, KeyReserved, "9"},
        {K::Numpad0, 3, KeyReserved, "Num0"},
        {K::Numpad9, 0, KeyReserved, "Num9"},
        {K::M, 0, KeyReserved, "M"},
        {K::O, 1, KeyReserved, "O"},
        {K::B, 2, KeyReserved, "B"},
        {K::Unknown, 0, KeyReserved, ""},
        {K::KeyCount, 0, KeyReserved, ""},
        {K::LShift, 0, KeyAccepted, "LShift"},
        {K::RControl, 1, KeyAccepted, "RCtrl"},
        {K::F12, 2, KeyAccepted, "F12"},
        {K::Backslash, 3, KeyAccepted, "\\"},
        {K::Semicolon, 0, KeyAccepted, ";"},
        {K::Add, 1, KeyAccepted, "Num+"},
        {K::Tab, 2, KeyAccepted, "Tab"},
        {K::Pause, 3, KeyAccepted, "Pause"},
        {K::A, 3, KeyAccepted, "A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("key ") + std::to_string(c.key) + " for route " +
                     std::to_string(c.route));
        EXPECT_EQ(keyRefusal(c.key, c.route, defaultRouteKeys), c.refusal);
        EXPECT_EQ(keyName(c.key), c.name);
        EXPECT_EQ(refusalLabel(c.refusal), std::string(c.refusal == KeyTaken      ? "taken"
                                                       : c.refusal == KeyReserved ? "reserved"
                                                                                  : ""));
    }
    for (int k = 0; k < sf::Keyboard::KeyCount; ++k) {
        const Key key = static_cast<Key>(k);
        const std::string name = keyName(key);
        ASSERT_FALSE(name.empty()) << k;
        EXPECT_EQ(keyNamed(name), key) << name;
        std::string lower = name;
        for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        EXPECT_EQ(keyNamed(lower), key) << lower;
    }
    for (const char* unknown : {"", "Shift", "Ctrl", "EE", "Escape ", "F16"})
        EXPECT_EQ(keyNamed(unknown), sf::Keyboard::Unknown) << unknown;
}

// route_keys as the panel writes it (into the defaults' text, and into a file) reads back as
// the same keys; a text that is not four different keys the panel would take keeps the
// default keys, with one line naming the file and the line.
TEST(RouteKeys, SettingReadsBackAndBadOnesKeepTheDefaults) {
    using K = sf::Keyboard;
    const Key sets[][4] = {{K::E, K::P, K::L, K::D},
                           {K::K, K::P, K::L, K::D},
                           {K::Backslash, K::Quote, K::LShift, K::F1},
                           {K::Semicolon, K::Slash, K::Comma, K::Period},
                           {K::Add, K::Tilde, K::PageDown, K::RSystem}};
    for (const auto& keys : sets) {
        SCOPED_TRACE(names(keys));
        std::string text;
        ASSERT_TRUE(withSetting(defaultSettingsText(), "route_keys", routeKeysValue(keys), text));
        std::vector<std::string> problems;
        const Options read = parseSettings(text, "settings.toml", problems);
        EXPECT_TRUE(problems.empty()) << (problems.empty() ? "" : problems[0]);
        EXPECT_EQ(names(read.routeKeys), names(keys)) << text;
    }
    // Through the file, as the panel keeps a change: a new file gets the defaults' text.
    GameFolder folder(false);
    std::ostringstream err;
    ASSERT_TRUE(
        saveSetting(folder.file("settings.toml"), "route_keys", routeKeysValue(sets[2]), err));
    EXPECT_EQ(names(loadSettingsFile(folder.file("settings.toml"), err).routeKeys), names(sets[2]));
    EXPECT_EQ(err.str(), "");

    struct Bad {
        const char* text;
        const char* keys;  // what is read, by name
        bool problem;
    };
    const Bad bad[] = {
        {"route_keys = \"k  p\\tl d \"\n", "[K][P][L][D]", false},
        {"route_keys = \"E P L J\"\n", "[E][P][L][J]", false},
        {"route_keys = \"E E L D\"\n", "[E][P][L][D]", true},
        {"route_keys = \"E P L\"\n", "[E][P][L][D]", true},
        {"route_keys = \"E P L D K\"\n", "[E][P][L][D]", true},
        {"route_keys = \"Esc P L D\"\n", "[E][P][L][D]", true},
        {"route_keys = \"E P L 5\"\n", "[E][P][L][D]", true},
        {"route_keys = \"E P L Space\"\n", "[E][P][L][D]", true},
        {"route_keys = \"E P L Shift\"\n", "[E][P][L][D]", true},
        {"route_keys = \"\"\n", "[E][P][L][D]", true},
        {"route_keys = 42\n", "[E][P][L][D]", true},
        {"route_keys = [\"K\", \"P\", \"L\", \"D\"]\n", "[E][P][L][D]", true},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.text);
        std::vector<std::string> problems;
        const Options read = parseSettings(b.text, "settings.toml", problems);
        EXPECT_EQ(names(read.routeKeys), b.keys);
        ASSERT_EQ(problems.size(), b.problem ? 1u : 0u);
        if (b.problem) {
            EXPECT_EQ(problems[0].rfind("settings.toml line 1: route_keys must name four different "
                                        "keys such as \"E P L D\"",
                                        0),
                      0u)
                << problems[0];
            EXPECT_NE(problems[0].find("; using \"E P L D\""), std::string::npos) << problems[0];
        }
    }
}
