#include "cli/args/CommandLine.h"

#include "cli/args/CommandRules.h"
#include "cli/args/Options.h"
#include "cli/args/UsageError.h"
#include "settings/Tables.h"

#include <algorithm>
#include <charconv>

namespace orb {

namespace {

int parseNumber(const std::string& option, const std::string& text) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        RefuseUsage("volba " + option + " potřebuje celé číslo, ne '" + text + "'");
    return value;
}

/// Takes a number as "COM n" and anything else as a device; a name without a slash lies in /dev.
PortArgument parsePort(const std::string& text) {
    if (text.empty()) RefuseUsage("volba --port potřebuje číslo portu nebo zařízení");
    if (text.find_first_not_of("0123456789") == std::string::npos) {
        int port = parseNumber("--port", text);
        if (port < 1 || port > 4) RefuseUsage("port musí být 1 až 4 (COM 1 až COM 4), ne " + text);
        return {.comNumber = port};
    }
    if (text.find('/') == std::string::npos) return {.device = "/dev/" + text};
    // The serial port takes a name that starts with neither '/' nor "./" nor "../" as one under /dev.
    const bool plainPath = text.starts_with('/') || text.starts_with("./") || text.starts_with("../");
    return {.device = plainPath ? text : "./" + text};
}

int parseTimeout(const std::string& text) {
    const int seconds = parseNumber("--timeout", text);
    if (seconds < 1) RefuseUsage("--timeout musí být kladný počet sekund, ne " + text);
    return seconds;
}

int parseMemory(const std::string& text) {
    const int bytes = parseNumber("--memory", text);
    if (std::ranges::find(EepromSizeTable, bytes) != EepromSizeTable.end()) return bytes;
    RefuseUsage("--memory musí být velikost EEPROM 128, 256, 512, ... 65536, ne " + text);
}

int parseCount(const std::string& text) {
    const int count = parseNumber("--count", text);
    if (count < 1) RefuseUsage("--count musí být kladný počet zařízení");
    return count;
}

/// Puts one given option into the line, its value checked as far as it can be without the command.
void take(CommandLine& line, OptionId option, const std::string& value) {
    switch (option) {
    case Output:
        line.output = value;
        break;
    case Port:
        line.port = parsePort(value);
        line.ports.push_back(*line.port);
        break;
    case Units:
        line.units = value;
        break;
    case Log:
        line.log = value;
        break;
    case Count:
        line.count = parseCount(value);
        break;
    case BackupDir:
        line.backupDir = value;
        break;
    case Memory:
        line.memory = parseMemory(value);
        break;
    case Timeout:
        line.timeout = parseTimeout(value);
        break;
    case NoVerify:
        line.noVerify = true;
        break;
    case Verify:
        line.verify = true;
        break;
    case Backup:
        line.backup = value;
        break;
    case Force:
        line.force = true;
        break;
    case SettingsOnly:
        line.settingsOnly = true;
        break;
    case Strict:
        line.strict = true;
        break;
    case Json:
        line.json = true;
        break;
    case AcceptCorrections:
        line.acceptCorrections = true;
        break;
    case Again:
        line.again = true;
        break;
    case DryRun:
        line.dryRun = true;
        break;
    case Help:
        line.help = true;
        break;
    case Version:
        line.version = true;
        break;
    case OptionCount:
        break;
    }
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    GivenArguments given;
    try {
        given = ReadGnuOptions(OptionTable(), args);
    } catch (const OptionError& error) {
        RefuseUsage(CzechText(error));
    }
    CommandLine line;
    OptionSet options;
    for (const GivenOption& option : given.options) {
        take(line, static_cast<OptionId>(option.id), option.value);
        options.add(static_cast<OptionId>(option.id));
    }
    if (given.operands.empty()) {
        if (!line.help && !line.version) RefuseUsage("chybí příkaz");
        return line;
    }
    const CommandRules& rules = RulesNamed(given.operands.front());
    line.command = rules.command;
    line.files.assign(given.operands.begin() + 1, given.operands.end());
    CheckCommandLine(rules, line, options);
    return line;
}

} // namespace orb
