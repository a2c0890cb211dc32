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
    return escapedText(fileName) + " line " + std::to_string(line) + ": ";
}

}  // namespace

Options parseSettings(const std::string& text, const std::string& fileName,
                      std::vector<std::string>& problems) {
    Options options;
    const Options defaults;
    toml::parse_result parsed = toml::parse(text, fileName);
    if (!parsed) {
        const toml::parse_error& error = parsed.error();
        // The parser's description may quote the file's own characters; the message stays
        // one line.
        problems.push_back(at(fileName, error.source().begin.line) +
                           escapedText(error.description()) + "; every setting keeps its default");
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
            // Decimal only, as on the command line: 0x32 or 0o62 is not taken as 50.
            const toml::value<int64_t>* value = node.as_integer();
            const bool decimal = value && value->flags() == toml::value_flags::none;
            if (decimal && value->get() >= 0 && value->get() <= 100) {
                options.volume = static_cast<int>(value->get());
            } else {
                found.emplace_back(line, where +
                                             "volume must be a whole number from 0 to 100; using " +
                                             std::to_string(defaults.volume));
            }
        } else {
            found.emplace_back(line, where + "unknown setting " + quotedText(name) + ", ignored");
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
            err << escapedText(path) << ": cannot be written; playing with the default settings"
                << std::endl;
            std::remove(path.c_str());
        }
        return Options();
    }
    // Only a regular file (or a link to one) is read: a FIFO would block the start, a
    // folder or a device holds no settings.
    std::ifstream in;
    if (std::filesystem::is_regular_file(std::filesystem::status(path, ec))) {
        in.open(path, std::ios::binary);
    }
    std::ostringstream text;
    if (in.is_open()) text << in.rdbuf();
    if (!in.is_open() || in.bad()) {
        err << escapedText(path) << ": cannot be read; playing with the default settings"
            << std::endl;
        return Options();
    }
    std::vector<std::string> problems;
    Options options = parseSettings(text.str(), path, problems);
    for (const std::string& line : problems) err << line << std::endl;
    return options;
}
