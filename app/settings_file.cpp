// The settings file, read with toml++ built without exceptions: a file that cannot be
// parsed comes back as an error value. Header-only, so that the choice holds here.
#define TOML_HEADER_ONLY 1
#define TOML_EXCEPTIONS 0
#include <toml++/toml.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/options.h"

const char* const settingsFileName = "settings.toml";

std::string defaultSettingsText() {
    Options d;
    std::ostringstream text;
    text << "# Mirevo settings. A command-line flag overrides a setting for one run only.\n"
         << "# true: full screen at the desktop's resolution; false: a window of window_size\n"
         << "fullscreen = " << (d.fullscreen ? "true" : "false") << "\n"
         << "# size of the window when fullscreen is false, \"WIDTHxHEIGHT\" in pixels\n"
         << "window_size = \"" << d.windowWidth << "x" << d.windowHeight << "\"\n"
         << "# true: frames follow the display's refresh; false: as many frames as possible\n"
         << "vsync = " << (d.vsync ? "true" : "false") << "\n"
         << "# master volume, from 0 (silent) to 100\n"
         << "volume = " << d.volume << "\n";
    return text.str();
}

namespace {
std::string at(const std::string& fileName, long line) {
    return fileName + " line " + std::to_string(line) + ": ";
}

// The parser's description of a problem may quote the file's own characters, line ends
// included; the message stays one line.
std::string oneLine(std::string_view text) {
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            line += "\\n";
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            line += '?';
        } else {
            line += c;
        }
    }
    return line;
}
}  // namespace

Options parseSettings(const std::string& text, const std::string& fileName,
                      std::vector<std::string>& problems) {
    Options options;
    const Options defaults;
    toml::parse_result parsed = toml::parse(text, fileName);
    if (!parsed) {
        const toml::parse_error& error = parsed.error();
        problems.push_back(at(fileName, error.source().begin.line) + oneLine(error.description()) +
                           "; every setting keeps its default");
        return options;
    }
    // The table keeps its keys sorted; the problems are told in the file's order.
    std::vector<std::pair<long, std::string>> found;
    for (auto&& [key, node] : parsed.table()) {
        const std::string name(key.str());
        const long line = static_cast<long>(key.source().begin.line);
        const std::string where = at(fileName, line);
        if (name == "fullscreen" || name == "vsync") {
            bool& field = name == "fullscreen" ? options.fullscreen : options.vsync;
            if (std::optional<bool> value = node.value_exact<bool>()) {
                field = *value;
            } else {
                const bool byDefault = name == "fullscreen" ? defaults.fullscreen : defaults.vsync;
                found.emplace_back(line, where + name + " must be true or false; using " +
                                             (byDefault ? "true" : "false"));
            }
        } else if (name == "window_size") {
            std::optional<std::string> value = node.value_exact<std::string>();
            unsigned w = 0;
            unsigned h = 0;
            if (value && parseWindowSize(*value, w, h)) {
                options.windowWidth = w;
                options.windowHeight = h;
            } else {
                found.emplace_back(line,
                                   where + "window_size must be a text such as \"1280x720\" " +
                                       "(each side " + std::to_string(minWindowSide) + " to " +
                                       std::to_string(maxWindowSide) + " pixels); using \"" +
                                       std::to_string(defaults.windowWidth) + "x" +
                                       std::to_string(defaults.windowHeight) + "\"");
            }
        } else if (name == "volume") {
            std::optional<int64_t> value = node.value_exact<int64_t>();
            if (value && *value >= 0 && *value <= 100) {
                options.volume = static_cast<int>(*value);
            } else {
                found.emplace_back(line, where +
                                             "volume must be a whole number from 0 to 100; using " +
                                             std::to_string(defaults.volume));
            }
        } else {
            found.emplace_back(line, where + "unknown setting \"" + name + "\", ignored");
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& problem : found) problems.push_back(std::move(problem.second));
    return options;
}

Options loadSettingsFile(const std::string& path, std::ostream& err) {
    std::error_code ec;
    const std::filesystem::file_type type = std::filesystem::symlink_status(path, ec).type();
    if (type == std::filesystem::file_type::not_found) {
        // First start: the file is written with every default, for the player to edit.
        std::ofstream out(path, std::ios::binary);
        out << defaultSettingsText();
        out.close();
        if (!out) {
            err << path << ": cannot be written; playing with the default settings" << std::endl;
            std::remove(path.c_str());
        }
        return Options();
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (in) text << in.rdbuf();
    if (!in || in.bad() || std::filesystem::is_directory(path, ec)) {
        err << path << ": cannot be read; playing with the default settings" << std::endl;
        return Options();
    }
    std::vector<std::string> problems;
    Options options = parseSettings(text.str(), path, problems);
    for (const std::string& line : problems) err << line << std::endl;
    return options;
}
