#include "common/GnuOptions.h"

#include <algorithm>
#include <getopt.h>

namespace orb {

namespace {

// Options without a letter are told apart by values above every character getopt returns.
constexpr int FirstLongOnly = 256;

int valueOf(const OptionDefinition& definition, std::size_t index) {
    return definition.letter != 0 ? static_cast<unsigned char>(definition.letter)
                                  : FirstLongOnly + static_cast<int>(index);
}

const OptionDefinition* definitionOf(std::span<const OptionDefinition> definitions, int value) {
    for (std::size_t i = 0; i < definitions.size(); ++i)
        if (valueOf(definitions[i], i) == value) return &definitions[i];
    return nullptr;
}

/// Tells an unknown long option from a prefix that several options share.
OptionError longOptionError(std::span<const OptionDefinition> definitions, const std::string& argument) {
    const std::string given = argument.substr(0, argument.find('='));
    const std::string_view prefix = std::string_view(given).substr(2);
    const auto sharing =
        std::count_if(definitions.begin(), definitions.end(), [prefix](const OptionDefinition& definition) {
            return definition.name.starts_with(prefix);
        });
    return OptionError(sharing > 1 ? OptionError::Kind::Ambiguous : OptionError::Kind::Unknown, given);
}

} // namespace

GivenArguments ReadGnuOptions(std::span<const OptionDefinition> definitions,
                              const std::vector<std::string>& args) {
    // getopt_long keeps pointers to the names and permutes argv, so both are copies it may own.
    std::vector<std::string> names;
    names.reserve(definitions.size());
    std::vector<option> longOptions;
    std::string letters = ":"; // a missing value comes back as ':', not '?'
    for (std::size_t i = 0; i < definitions.size(); ++i) {
        names.emplace_back(definitions[i].name);
        longOptions.push_back({names.back().c_str(),
                               definitions[i].takesValue ? required_argument : no_argument, nullptr,
                               valueOf(definitions[i], i)});
        if (definitions[i].letter != 0)
            letters += std::string(1, definitions[i].letter) + (definitions[i].takesValue ? ":" : "");
    }
    longOptions.push_back({nullptr, 0, nullptr, 0});

    std::vector<std::string> words{"orb"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const int argc = static_cast<int>(words.size());

    GivenArguments given;
    optind = 0; // starts getopt afresh, also after an earlier parse
    opterr = 0; // the caller says what is wrong, in its own words
    for (;;) {
        const int value = getopt_long(argc, argv.data(), letters.c_str(), longOptions.data(), nullptr);
        if (value == -1) break;
        const std::string last = argv[optind - 1]; // the argument getopt_long has just read
        if (value == '?') {
            if (optopt == 0) throw longOptionError(definitions, last);
            const OptionDefinition* definition = definitionOf(definitions, optopt);
            if (definition && !definition->takesValue) // only "--name=value" makes a known flag fail
                throw OptionError(OptionError::Kind::UnexpectedValue, "--" + std::string(definition->name));
            throw OptionError(OptionError::Kind::Unknown, "-" + std::string(1, static_cast<char>(optopt)));
        }
        const OptionDefinition* definition = definitionOf(definitions, value == ':' ? optopt : value);
        if (value == ':')
            throw OptionError(OptionError::Kind::MissingValue,
                              last.starts_with("--") || definition->letter == 0
                                  ? "--" + std::string(definition->name)
                                  : "-" + std::string(1, definition->letter));
        given.options.push_back({definition->id, optarg ? optarg : ""});
    }
    for (int i = optind; i < argc; ++i)
        given.operands.emplace_back(argv[i]);
    return given;
}

std::string CzechText(const OptionError& error) {
    switch (error.kind()) {
    case OptionError::Kind::Unknown:
        return "neznámá volba '" + error.option() + "'";
    case OptionError::Kind::Ambiguous:
        return "volba '" + error.option() + "' není jednoznačná";
    case OptionError::Kind::MissingValue:
        return "volba " + error.option() + " potřebuje hodnotu";
    case OptionError::Kind::UnexpectedValue:
        return "volba " + error.option() + " nebere hodnotu";
    }
    return error.option();
}

} // namespace orb
