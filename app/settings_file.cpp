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
#include "app/options_panel.h"

const char* const settingsFileName = "settings.toml";

namespace {
const char* const audioOffsetComment =
    "# milliseconds the music plays ahead of the board, from -300 to 300: raise it when the "
    "sound comes late";
const char* const inputOffsetComment =
    "# milliseconds a press counts as made earlier, from -150 to 150: raise it when your taps "
    "come late";
}  // namespace

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
         << "volume = " << d.volume << "\n"
         << audioOffsetComment << "\n"
         << "audio_offset = " << d.audioOffsetMs << "\n"
         << inputOffsetComment << "\n"
         << "input_offset = " << d.inputOffsetMs << "\n"
         << "# the keys of the routes: top left, top right, bottom right, bottom left\n"
         << "route_keys = " << routeKeysValue(d.routeKeys) << "\n";
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
    // frame_pacing, when given and good, wins over vsync (read after the loop).
    int pacing = -1;
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
        } else if (name == "audio_offset" || name == "input_offset") {
            const bool audio = name == "audio_offset";
            const int max = audio ? maxAudioOffsetMs : maxInputOffsetMs;
            const toml::value<int64_t>* value = node.as_integer();
            const bool decimal = value && value->flags() == toml::value_flags::none;
            if (decimal && value->get() >= -max && value->get() <= max) {
                (audio ? options.audioOffsetMs : options.inputOffsetMs) =
                    static_cast<int>(value->get());
            } else {
                found.emplace_back(
                    line,
                    where + name + " must be a whole number from -" + std::to_string(max) + " to " +
                        std::to_string(max) + "; using " +
                        std::to_string(audio ? defaults.audioOffsetMs : defaults.inputOffsetMs));
            }
        } else if (name == "frame_pacing") {
            std::optional<std::string> value = node.value_exact<std::string>();
            for (int p = 0; p < pacingCount && value; ++p) {
                if (*value == pacingSettingNames[p]) pacing = p;
            }
            if (pacing < 0) {
                found.emplace_back(line, where +
                                             "frame_pacing must be \"vsync\", \"capped\" or "
                                             "\"off\"; using vsync");
            }
        } else if (name == "route_keys") {
            std::optional<std::string> value = node.value_exact<std::string>();
            if (!value || !parseRouteKeys(*value, options.routeKeys)) {
                found.emplace_back(line, where +
                                             "route_keys must name four different keys such as "
                                             "\"E P L D\" (not Escape, Space, Return, an arrow, a "
                                             "number key, M, O or B); using \"" +
                                             routeKeysSetting(defaults.routeKeys) + "\"");
            }
        } else {
            found.emplace_back(line, where + "unknown setting " + quotedText(name) + ", ignored");
        }
    }
    if (pacing >= 0) {
        options.vsync = pacing == PacingVsync;
        options.frameCap = pacing == PacingCapped;
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
        Options defaults;
        defaults.settingsLocked = true;
        return defaults;
    }
    std::vector<std::string> problems;
    Options options = parseSettings(text.str(), path, problems);
    for (const std::string& line : problems) err << line << std::endl;
    options.settingsLocked = !problems.empty();
    return options;
}

namespace {
// The byte offset of a line and column (both from 1; columns count characters) in text.
size_t offsetOf(const std::string& text, size_t line, size_t column) {
    size_t at = 0;
    for (size_t l = 1; l < line && at < text.size(); ++at) {
        if (text[at] == '\n') ++l;
    }
    for (size_t c = 1; c < column && at < text.size(); ++at) {
        // A character is one byte and its continuation bytes (10xxxxxx).
        while (at + 1 < text.size() && (static_cast<unsigned char>(text[at + 1]) & 0xC0) == 0x80)
            ++at;
        ++c;
    }
    return at;
}

// The length of the TOML value written at text[at]: a string with its quotes, else up to
// the next space, comment or line end.
size_t valueLength(const std::string& text, size_t at) {
    const std::string opening = text.substr(at, 3);
    if (opening == "\"\"\"" || opening == "'''") {
        const size_t end = text.find(opening, at + 3);
        return end == std::string::npos ? text.size() - at : end + 3 - at;
    }
    if (text[at] == '"' || text[at] == '\'') {
        for (size_t i = at + 1; i < text.size() && text[i] != '\n'; ++i) {
            if (text[at] == '"' && text[i] == '\\') {
                ++i;
            } else if (text[i] == text[at]) {
                return i + 1 - at;
            }
        }
    }
    size_t end = at;
    while (end < text.size() && text[end] != ' ' && text[end] != '\t' && text[end] != '#' &&
           text[end] != '\r' && text[end] != '\n')
        ++end;
    return end - at;
}

// The comment line written above a setting the player's file lacks.
std::string commentOf(const std::string& name) {
    if (name == "frame_pacing")
        return "# \"vsync\": frames follow the display's refresh; \"capped\": at most the "
               "display's refresh rate; \"off\": as many frames as possible";
    if (name == "fullscreen")
        return "# true: full screen at the desktop's resolution; false: a window of window_size";
    if (name == "window_size")
        return "# size of the window when fullscreen is false, \"WIDTHxHEIGHT\" in pixels";
    if (name == "vsync")
        return "# true: frames follow the display's refresh; false: as many frames as possible";
    if (name == "audio_offset") return audioOffsetComment;
    if (name == "input_offset") return inputOffsetComment;
    if (name == "route_keys")
        return "# the keys of the routes: top left, top right, bottom right, bottom left";
    return "# master volume, from 0 (silent) to 100";
}
}  // namespace

bool withSetting(const std::string& text, const std::string& name, const std::string& value,
                 std::string& changed) {
    toml::parse_result parsed = toml::parse(text, std::string(settingsFileName));
    if (!parsed) return false;
    changed = text;
    const toml::node* node = parsed.table().get(name);
    if (node) {
        const toml::source_position begin = node->source().begin;
        const size_t at = offsetOf(text, begin.line, begin.column);
        if (at >= text.size()) return false;
        changed.replace(at, valueLength(text, at), value);
    } else {
        // Before the first table, so that the setting stays at the top level.
        size_t at = text.size();
        for (size_t line = 0; line < text.size();) {
            const size_t first = text.find_first_not_of(" \t", line);
            if (first != std::string::npos && text[first] == '[') {
                at = line;
                break;
            }
            const size_t end = text.find('\n', line);
            if (end == std::string::npos) break;
            line = end + 1;
        }
        std::string added = commentOf(name) + "\n" + name + " = " + value + "\n";
        if (at > 0 && text[at - 1] != '\n') added = "\n" + added;
        changed.insert(at, added);
    }
    return static_cast<bool>(toml::parse(changed, std::string(settingsFileName)));
}

namespace {
namespace fs = std::filesystem;

// The text goes to a scratch file beside the file, renamed over it once whole.
bool replaceFile(const fs::path& file, const std::string& text) {
    const std::string scratch = file.string() + ".tmp";
    std::ofstream out(scratch, std::ios::binary | std::ios::trunc);
    if (!out.is_open()) return false;
    out << text;
    out.flush();
    bool written = out.good();
    out.close();
    written = written && !out.fail();
    std::error_code error;
    const fs::file_status old = fs::status(file, error);
    if (written && fs::exists(old)) fs::permissions(scratch, old.permissions(), error);
    if (!written || std::rename(scratch.c_str(), file.c_str()) != 0) {
        std::remove(scratch.c_str());
        return false;
    }
    return true;
}
}  // namespace

bool saveSetting(const std::string& path, const std::string& name, const std::string& value,
                 std::ostream& err) {
    std::error_code ec;
    fs::path file = path;
    if (fs::is_symlink(fs::symlink_status(file, ec))) file = fs::weakly_canonical(file, ec);
    const fs::file_status status = fs::status(file, ec);
    std::string text = defaultSettingsText();
    bool ok = !file.empty();
    if (ok && fs::exists(status)) {
        // Only a regular file that its owner may write is replaced.
        ok = fs::is_regular_file(status) &&
             (status.permissions() & fs::perms::owner_write) != fs::perms::none;
        std::ifstream in;
        if (ok) in.open(file, std::ios::binary);
        std::ostringstream read;
        if (in.is_open()) read << in.rdbuf();
        ok = ok && in.is_open() && !in.bad();
        text = read.str();
    }
    std::string changed;
    ok = ok && withSetting(text, name, value, changed) && replaceFile(file, changed);
    if (!ok) {
        err << escapedText(path) << ": " << name
            << " cannot be kept; the change holds for this run only" << std::endl;
    }
    return ok;
}
