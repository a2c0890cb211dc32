// Text from the player's files and command line, made safe to print in a message: fmt's
// debug format escapes line ends, tabs, control and other unprintable characters, bytes
// that are not UTF-8, quotes and backslashes, and keeps the rest of the text as it is.
#include <fmt/format.h>

#include "app/options.h"

std::string quotedText(std::string_view text) {
    return fmt::format("{:?}", text);
}

std::string escapedText(std::string_view text) {
    const std::string quoted = quotedText(text);
    return quoted.substr(1, quoted.size() - 2);
}
