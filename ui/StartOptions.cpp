#include "ui/StartOptions.h"

#include "common/GnuOptions.h"

#include <algorithm>
#include <cstdlib>

namespace orb {

StartOptions ParseStartOptions(const std::vector<std::string>& args) {
    enum { Help, Version };
    static constexpr OptionDefinition Definitions[] = {{Help, "help", 'h'}, {Version, "version", 'V'}};
    StartOptions options;
    try {
        const GivenArguments given = ReadGnuOptions(Definitions, args);
        for (const GivenOption& option : given.options)
            (option.id == Help ? options.help : options.version) = true;
        if (given.operands.size() > 1)
            options.error = "program otevře jen jeden soubor nastavení (orb --help)";
        else if (!given.operands.empty())
            options.file = given.operands.front();
    } catch (const OptionError& error) {
        options.error = CzechText(error) + " (orb --help)";
    }
    return options;
}

std::string StartHelpText() {
    return "Použití: orb [SOUBOR.eep]\n"
           "\n"
           "Inicializační program pro zařízení ORB/ORBTONE. Se souborem nastavení ho po spuštění načte\n"
           "stejně jako tlačítko \"Načíst nastavení ze souboru\".\n"
           "\n"
           "  -h, --help     vypíše tuto nápovědu\n"
           "  -V, --version  vypíše verzi programu\n"
           "\n"
           "Port COM N je zařízení z proměnné prostředí ORB_COM<N>, jinak /dev/ttyS<N-1>; seznam portů\n"
           "nabízí za COM 1 až COM 4 i další sériové porty počítače (vypíše je orbctl ports).\n"
           "Sériový port potřebuje členství ve skupině dialout.\n"
           "Program potřebuje grafické sezení; bez displeje ho spustí xvfb-run orb.\n";
}

std::string StartVersionText() {
    return "orb " ORB_VERSION "\n";
}

bool HasDisplay(const std::vector<std::string>& args) {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (const char* value = std::getenv(variable); value && *value) return true;
    return std::find(args.begin(), args.end(), "-platform") != args.end();
}

std::string NoDisplayText() {
    return "orb: program potřebuje grafické sezení, ale nenašel žádný displej (DISPLAY ani WAYLAND_DISPLAY\n"
           "nejsou nastaveny). Spusťte ho v grafickém sezení, nebo na virtuálním displeji: xvfb-run orb\n";
}

} // namespace orb
