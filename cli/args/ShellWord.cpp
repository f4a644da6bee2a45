#include "cli/args/ShellWord.h"

namespace orb {

std::string ShellWord(const std::string& text) {
    std::string word = "'";
    for (const char c : text)
        word += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return word + "'";
}

std::string WriteCommand(const std::string& file, const PortArgument& port) {
    const std::string portText =
        port.comNumber != 0 ? std::to_string(port.comNumber) : ShellWord(port.device);
    return "orbctl write " + ShellWord(file) + " --port " + portText;
}

} // namespace orb
