#include "cli/CommandLine.h"

#include "cli/CliError.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace orb {

namespace {

/// What one command takes: its file operands and which options belong to it.
struct CommandEntry {
    Command command;
    std::string_view name;
    std::string_view synopsis;
    std::string_view summary;
    int files;
    bool output;
    bool outputRequired;
    bool port;
    bool memory;
    bool noVerify;
    std::string_view help;
    bool unitForLastFile = false; ///< with --port, the unit stands in for the last file operand
    bool backup = false;          ///< takes --backup and --force (write: also without --backup)
    bool settingsOnly = false;    ///< takes --settings-only
    bool strict = false;          ///< takes --strict
    bool series = false;          ///< takes --port more than once, --units, --log, --count, --backup-dir
};

constexpr CommandEntry Commands[] = {
    {Command::Show, "show", "show FILE.eep", "vypíše nastavení ze souboru jako tiskový protokol", 1, false,
     false, false, false, false,
     "Vypíše nastavení ze souboru na standardní výstup stejnými řádky jako tiskový protokol.\n"},
    {Command::Export, "export", "export FILE.eep [-o FILE.json]", "uloží nastavení ze souboru jako JSON", 1,
     true, false, false, false, false,
     "Uloží nastavení ze souboru jako JSON (bez -o na standardní výstup). Každé nastavení má klíč\n"
     "podle svého jména v programu, řádky T0..T7, I0..I7 a O0..O7 jsou pole osmi hodnot, texty jsou\n"
     "řetězce UTF-8, zaškrtávací pole true/false, volby jejich texty. Klíče reserved27to31 a\n"
     "reserved63 nesou rezervované bajty obrazu, aby se ze souboru nic neztratilo.\n"},
    {Command::Import, "import", "import FILE.json -o FILE.eep [--memory BYTES] [--strict]",
     "vytvoří soubor nastavení z JSON", 1, true, true, false, true, false,
     "Vytvoří soubor nastavení z JSON. Každá hodnota projde stejnými pravidly jako v okně programu;\n"
     "hodnoty se opraví stejně jako v okně a každá oprava se vypíše na standardní chybový výstup\n"
     "(nastavení, zadaná a uložená hodnota). Chybějící klíče mají výchozí hodnoty, neznámé klíče\n"
     "jsou chyba. Každé odmítnutí se vypíše s hlášením okna a jménem nastavení a soubor se nezapíše;\n"
     "jinak se soubor -o vytvoří nebo nahradí.\n"
     "  --memory BYTES   ověří, že se nastavení vejde do paměti EEPROM této velikosti (128..65536)\n"
     "  --strict         hodnotu, kterou by pravidla opravila, odmítne (návratová hodnota 1)\n",
     false, false, false, true},
    {Command::Diff, "diff", "diff A.eep B.eep | diff A.eep --port PORT [--settings-only] [--timeout SECONDS]",
     "vypíše nastavení, ve kterých se liší soubory nebo soubor a zařízení", 2, false, false, true, false,
     false,
     "Vypíše nastavení, ve kterých se soubory liší, jedno na řádek: jméno, hodnota v A, hodnota v B.\n"
     "S --port PORT místo B načte zařízení na portu PORT (aktivuje ho, načte jeho EEPROM a deaktivuje).\n"
     "Návratová hodnota je 0, když jsou nastavení stejná, a 1, když se liší.\n"
     "  --settings-only      načte ze zařízení jen bloky, které zabírá nastavení (viz read)\n",
     true, false, true},
    {Command::Read, "read", "read --port PORT [-o FILE.eep] [--settings-only] [--timeout SECONDS]",
     "načte nastavení ze zařízení", 0, true, false, true, false, false,
     "Aktivuje programovací režim zařízení na portu PORT, načte jeho EEPROM a deaktivuje ho.\n"
     "S -o uloží nastavení do souboru, jinak je vypíše jako příkaz show.\n"
     "  --settings-only      načte jen hlavičku a bloky, které zabírá nastavení, ne celou paměť:\n"
     "                       u velké paměti sekundy místo minut; výsledek je stejný\n",
     false, false, true},
    {Command::Write, "write",
     "write FILE.eep --port PORT [--no-verify] [--settings-only] [--backup BACKUP.eep] [--force] "
     "[--timeout SECONDS]",
     "uloží nastavení ze souboru do zařízení", 1, false, false, true, false, true,
     "Aktivuje programovací režim zařízení na portu PORT, uloží do jeho EEPROM nastavení ze souboru\n"
     "a deaktivuje ho. Každý zapsaný blok se čte zpět ke kontrole, pokud není dáno --no-verify.\n"
     "  --backup BACKUP.eep  před zápisem načte zařízení a uloží celý obsah jeho EEPROM do souboru;\n"
     "                       složka souboru se ověří dřív, než začne čtení. Když zápis selže nebo je\n"
     "                       přerušen, vypíše se příkaz, který zálohu vrátí do zařízení.\n"
     "  --force              zapíše i soubor s hodnotou, kterou pravidla polí nepovolují; s --backup\n"
     "                       i do zařízení, které nemá platné nastavení (není naprogramováno); bez\n"
     "                       ní se takový soubor ani takové zařízení nezapíše\n"
     "  --settings-only      zapíše (a zkontroluje) jen bloky, které zabírá nastavení, ve stejném\n"
     "                       pořadí jako celý zápis; zbytek paměti zůstane, jak ho zařízení má.\n"
     "                       Záloha --backup je vždy celá paměť.\n",
     false, true, true},
    {Command::Schema, "schema", "schema [-o FILE.json]", "vypíše JSON Schema souborů z export a pro import",
     0, true, false, false, false, false,
     "Vypíše JSON Schema (draft 2020-12) souborů, které píše export a čte import: každý klíč, jeho\n"
     "typ, nejvýše kolik znaků má text, rozsah čísla, texty voleb a pole osmi hodnot řádků. S -o ho\n"
     "uloží do souboru. Import hodnoty mimo rozsah opraví jako okno, schéma je odmítne.\n"},
    {Command::Ports, "ports", "ports", "vypíše sériové porty počítače", 0, false, false, false, false, false,
     "Vypíše sériové porty, které počítač má, jeden na řádek: zařízení, port COM N, přes který je\n"
     "dosažitelné, popis, výrobce, sériové číslo a USB identifikátory výrobce a výrobku (VID:PID).\n"
     "Uvede také zařízení přidělená proměnnými ORB_COM<N>, která existují (např. pseudoterminál\n"
     "simulovaného zařízení). Kde údaj chybí, stojí \"-\".\n"},
    {Command::Series, "series",
     "series TEMPLATE --port PORT [--port PORT ...] [--units UNITS.csv] [--log LOG.csv] [--count N] "
     "[--backup-dir DIR] [--no-verify] [--settings-only] [--memory BYTES] [--timeout SECONDS]",
     "naprogramuje sérii zařízení, jedno po druhém nebo několik najednou", 1, false, false, true, true, true,
     "Naprogramuje řadu zařízení stejným nastavením ze šablony TEMPLATE (soubor *.eep nebo JSON\n"
     "z příkazu export), každé s hodnotami ze svého řádku UNITS.csv. Na každém portu zdraví zařízení,\n"
     "dokud neodpoví, aktivuje a zkontroluje ho, zapíše do něj další řádek a deaktivuje ho; pak čeká\n"
     "na další zařízení. Zařízení, které už v této sérii naprogramovalo, pozná a znovu nezapíše.\n"
     "Všechny řádky se zkontrolují dřív, než se pozdraví první zařízení; chybný řádek sérii odmítne.\n"
     "  --port PORT          port se zařízeními; s více porty se programuje na všech najednou\n"
     "  --units UNITS.csv    CSV (RFC 4180, UTF-8): záhlaví se jmény nastavení jako v export\n"
     "                       (řádky jako tabTC[2]), pak jeden řádek na zařízení; zaškrtávací pole\n"
     "                       true/false, volby jejich texty\n"
     "  --log LOG.csv        ke každému zařízení připíše řádek protokolu (CSV) a uloží ho na disk\n"
     "  --count N            bez --units naprogramuje N zařízení šablonou (jinak až do Ctrl+C)\n"
     "  --backup-dir DIR     před zápisem uloží celou paměť každého zařízení do souboru ve složce DIR\n"
     "  --settings-only      zapíše jen bloky, které zabírá nastavení (viz write)\n"
     "  --memory BYTES       ověří předem, že se každý řádek vejde do paměti této velikosti\n"
     "  --timeout SECONDS    port skončí, když další zařízení neodpoví do tolika sekund\n"
     "Na konci vypíše souhrn: naprogramované, nepodařené a zatím nenaprogramované řádky. Návratová\n"
     "hodnota je 0, jen když jsou naprogramovány všechny řádky.\n",
     false, false, true, false, true},
};

/// How the commands that talk to the unit stand in for the window's boxes and its Storno button.
constexpr std::string_view DeviceNotes =
    "  --timeout SECONDS    aktivace čeká na odpověď zařízení nejvýše tolik sekund; když nepřijde,\n"
    "                       návratová hodnota je 3 (bez volby se čeká bez omezení)\n"
    "\n"
    "Hlášení okna programu se vypisují na standardní chybový výstup, jeho otázky se zodpoví Ne.\n"
    "Signál SIGINT (Ctrl+C), SIGTERM nebo SIGHUP působí jako tlačítko Storno: rozpracovaný blok se\n"
    "dokončí, zařízení se deaktivuje a návratová hodnota je 3. Druhý signál program ukončí hned.\n";

constexpr std::string_view ProgramHelp =
    "Nastavení komunikátoru ORB a ORBTONE z příkazové řádky.\n"
    "\n"
    "Návratové hodnoty: 0 úspěch, 1 odmítnutí (hodnota, pravidlo, zařízení) nebo rozdíl,\n"
    "2 chybné použití, 3 chyba čtení nebo zápisu souboru, portu nebo zařízení.\n"
    "PORT je číslo N portu COM N (1 až 4; zařízení z proměnné prostředí ORB_COM<N>, jinak\n"
    "/dev/ttyS<N-1>), nebo cesta k zařízení, např. /dev/ttyUSB0 (jméno bez lomítka je v /dev).\n"
    "Sériové porty počítače vypíše orbctl ports; port potřebuje členství ve skupině dialout.\n"
    "Podrobnosti příkazu: orbctl PŘÍKAZ --help; verze programu: orbctl --version\n";

[[noreturn]] void usageError(const std::string& message) {
    throw CliError(ExitStatus::Usage, message + " (orbctl --help)");
}

const CommandEntry& entryOf(Command command) {
    return *std::find_if(std::begin(Commands), std::end(Commands),
                         [command](const CommandEntry& entry) { return entry.command == command; });
}

const CommandEntry& specNamed(const std::string& name) {
    auto it = std::find_if(std::begin(Commands), std::end(Commands),
                           [&name](const CommandEntry& entry) { return entry.name == name; });
    if (it == std::end(Commands)) usageError("neznámý příkaz '" + name + "'");
    return *it;
}

int parseNumber(const std::string& option, const std::string& text) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        usageError("volba " + option + " potřebuje celé číslo, ne '" + text + "'");
    return value;
}

/// Takes a number as "COM n" and anything else as a device; a name without a slash lies in /dev.
PortArgument parsePort(const std::string& text) {
    if (text.empty()) usageError("volba --port potřebuje číslo portu nebo zařízení");
    if (text.find_first_not_of("0123456789") == std::string::npos) {
        int port = parseNumber("--port", text);
        if (port < 1 || port > 4) usageError("port musí být 1 až 4 (COM 1 až COM 4), ne " + text);
        return {.comNumber = port};
    }
    return {.device = text.find('/') == std::string::npos ? "/dev/" + text : text};
}

int parseTimeout(const std::string& text) {
    const int seconds = parseNumber("--timeout", text);
    if (seconds < 1) usageError("--timeout musí být kladný počet sekund, ne " + text);
    return seconds;
}

int parseMemory(const std::string& text) {
    int bytes = parseNumber("--memory", text);
    for (int size = 128; size <= 65536; size *= 2)
        if (bytes == size) return bytes;
    usageError("--memory musí být velikost EEPROM 128, 256, 512, ... 65536, ne " + text);
}

/// Splits "--name=value" into its two parts; other arguments come back whole.
std::pair<std::string, std::optional<std::string>> splitOption(const std::string& arg) {
    auto equals = arg.find('=');
    if (arg.rfind("--", 0) != 0 || equals == std::string::npos) return {arg, std::nullopt};
    return {arg.substr(0, equals), arg.substr(equals + 1)};
}

void checkAgainst(const CommandEntry& entry, const CommandLine& line) {
    auto refuse = [&entry](const std::string& option) {
        usageError("volba " + option + " nepatří k příkazu " + std::string(entry.name));
    };
    if (line.output && !entry.output) refuse("-o");
    if (line.port && !entry.port) refuse("--port");
    if (line.memory && !entry.memory) refuse("--memory");
    if (!entry.series) {
        if (line.ports.size() > 1) usageError("volba --port je zadána víckrát");
        if (line.units) refuse("--units");
        if (line.log) refuse("--log");
        if (line.count) refuse("--count");
        if (line.backupDir) refuse("--backup-dir");
    }
    if (line.count && line.units) usageError("volba --count patří k sérii bez --units");
    if (line.timeout && !entry.port) refuse("--timeout"); // it limits the wait for the unit
    if (line.noVerify && !entry.noVerify) refuse("--no-verify");
    if (line.backup && !entry.backup) refuse("--backup");
    if (line.force && !entry.backup) refuse("--force");
    if (line.settingsOnly && !entry.settingsOnly) refuse("--settings-only");
    if (line.settingsOnly && !line.port) usageError("volba --settings-only patří k volbě --port");
    if (line.strict && !entry.strict) refuse("--strict");
    // The printed command that puts a backup back into the unit needs a file to name.
    if (line.backup && (line.backup->empty() || *line.backup == "-"))
        usageError("volba --backup potřebuje jméno souboru");
    if (line.help || line.version) return;
    const int files = entry.files - (entry.unitForLastFile && line.port ? 1 : 0);
    if (static_cast<int>(line.files.size()) != files)
        usageError("příkaz " + std::string(entry.name) + " se zadává takto: orbctl " +
                   std::string(entry.synopsis));
    // Standard input can be read only once.
    if (std::count(line.files.begin(), line.files.end(), "-") > 1)
        usageError("standardní vstup (-) lze zadat jen jednou");
    if (entry.outputRequired && !line.output)
        usageError("příkaz " + std::string(entry.name) + " potřebuje -o");
    if (entry.port && !entry.unitForLastFile && !line.port)
        usageError("příkaz " + std::string(entry.name) + " potřebuje --port PORT");
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        auto [name, inlineValue] = splitOption(args[i]);
        auto value = [&, name = name, inlineValue = inlineValue]() -> std::string {
            if (inlineValue) return *inlineValue;
            if (i + 1 == args.size()) usageError("volba " + name + " potřebuje hodnotu");
            return args[++i];
        };
        if (optionsEnded || name == "-" || name.empty() || name[0] != '-') {
            if (!line.command && !optionsEnded)
                line.command = specNamed(name).command;
            else
                line.files.push_back(args[i]);
        } else if (name == "--") {
            optionsEnded = true;
        } else if (name == "-h" || name == "--help") {
            line.help = true;
        } else if ((name == "-V" || name == "--version") && !inlineValue) {
            line.version = true;
        } else if (name == "-o" || name == "--output") {
            line.output = value();
        } else if (name == "--port") {
            line.port = parsePort(value());
            line.ports.push_back(*line.port);
        } else if (name == "--units") {
            line.units = value();
        } else if (name == "--log") {
            line.log = value();
        } else if (name == "--count") {
            line.count = parseNumber("--count", value());
            if (*line.count < 1) usageError("--count musí být kladný počet zařízení");
        } else if (name == "--backup-dir") {
            line.backupDir = value();
        } else if (name == "--memory") {
            line.memory = parseMemory(value());
        } else if (name == "--timeout") {
            line.timeout = parseTimeout(value());
        } else if (name == "--no-verify" && !inlineValue) {
            line.noVerify = true;
        } else if (name == "--backup") {
            line.backup = value();
        } else if (name == "--force" && !inlineValue) {
            line.force = true;
        } else if (name == "--settings-only" && !inlineValue) {
            line.settingsOnly = true;
        } else if (name == "--strict" && !inlineValue) {
            line.strict = true;
        } else {
            usageError("neznámá volba '" + args[i] + "'");
        }
    }
    if (!line.command) {
        if (!line.help && !line.version) usageError("chybí příkaz");
        return line;
    }
    checkAgainst(entryOf(*line.command), line);
    return line;
}

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

std::string VersionText() {
    return "orbctl " ORB_VERSION "\n";
}

std::string HelpText(std::optional<Command> command) {
    if (command) {
        const CommandEntry& entry = entryOf(*command);
        return "Použití: orbctl " + std::string(entry.synopsis) + "\n\n" + std::string(entry.help) +
               (entry.port ? std::string(DeviceNotes) : "");
    }
    std::string text = "Použití: orbctl PŘÍKAZ [VOLBY]\n\nPříkazy:\n";
    for (const CommandEntry& entry : Commands)
        text += "  orbctl " + std::string(entry.synopsis) + "\n      " + std::string(entry.summary) + "\n";
    return text + "\n" + std::string(ProgramHelp);
}

} // namespace orb
