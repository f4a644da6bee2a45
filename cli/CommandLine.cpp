#include "cli/CommandLine.h"

#include "cli/CliError.h"
#include "common/GnuOptions.h"
#include "settings/ImageSize.h"
#include "settings/Tables.h"

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
    std::string_view help;
    int files = 0;
    bool output = false;
    bool outputRequired = false;
    bool port = false;
    bool memory = false;
    bool noVerify = false;
    bool unitForLastFile = false; ///< with --port, the unit stands in for the last file operand
    bool backup = false;          ///< takes --backup and --force (write: also without --backup)
    bool settingsOnly = false;    ///< takes --settings-only
    bool verify = false;          ///< takes --verify
    bool strict = false;          ///< takes --strict
    bool series = false;          ///< takes --port more than once, --units, --log, --count, --backup-dir
    bool json = false;            ///< takes --json
};

// The texts keep within 80 columns and name their operands as the manual does.
constexpr CommandEntry Commands[] = {
    {.command = Command::Show,
     .name = "show",
     .synopsis = "show SOUBOR.eep",
     .summary = "vypíše nastavení ze souboru jako tiskový protokol",
     .help = "Vypíše nastavení ze souboru na standardní výstup stejnými řádky jako tiskový\n"
             "protokol.\n",
     .files = 1},
    {.command = Command::Export,
     .name = "export",
     .synopsis = "export SOUBOR.eep [-o SOUBOR.json]",
     .summary = "uloží nastavení ze souboru jako JSON",
     .help = "Uloží nastavení ze souboru jako JSON (bez -o na standardní výstup). Každé\n"
             "nastavení má klíč podle svého jména v programu, řádky T0..T7, I0..I7 a O0..O7\n"
             "jsou pole osmi hodnot, texty jsou řetězce UTF-8, zaškrtávací pole true/false,\n"
             "volby jejich texty. Klíče reserved27to31 a reserved63 nesou rezervované bajty\n"
             "obrazu, aby se ze souboru nic neztratilo.\n",
     .files = 1,
     .output = true},
    {.command = Command::Import,
     .name = "import",
     .synopsis = "import SOUBOR.json -o SOUBOR.eep [--memory BAJTY] [--strict]",
     .summary = "vytvoří soubor nastavení z JSON",
     .help = "Vytvoří soubor nastavení z JSON. Každá hodnota projde stejnými pravidly jako\n"
             "v okně programu; hodnoty se opraví stejně jako v okně a každá oprava se vypíše\n"
             "na standardní chybový výstup (nastavení, zadaná a uložená hodnota). Chybějící\n"
             "klíče mají výchozí hodnoty, neznámé klíče jsou chyba. Každé odmítnutí se vypíše\n"
             "s hlášením okna a jménem nastavení a soubor se nezapíše; jinak se soubor -o\n"
             "vytvoří nebo nahradí.\n"
             "  --memory BAJTY       ověří, že se nastavení vejde do paměti EEPROM této\n"
             "                       velikosti (128..65536)\n"
             "  --strict             hodnotu, kterou by pravidla opravila, odmítne\n"
             "                       (návratová hodnota 1)\n",
     .files = 1,
     .output = true,
     .outputRequired = true,
     .memory = true,
     .strict = true},
    {.command = Command::Diff,
     .name = "diff",
     .synopsis = "diff A.eep B.eep | diff A.eep --port PORT [--settings-only] [--verify] "
                 "[--timeout SEKUNDY]",
     .summary = "vypíše nastavení, ve kterých se liší soubory nebo soubor a zařízení",
     .help = "Vypíše nastavení, ve kterých se soubory liší, jedno na řádek: jméno, hodnota\n"
             "v A, hodnota v B. S --port PORT místo B načte zařízení na portu PORT (aktivuje\n"
             "ho, načte jeho EEPROM a deaktivuje). Návratová hodnota je 0, když jsou\n"
             "nastavení stejná, a 1, když se liší.\n"
             "  --settings-only      načte ze zařízení jen bloky, které zabírá nastavení\n"
             "                       (viz read)\n"
             "  --verify             načte paměť ještě jednou a porovná obě čtení; blok,\n"
             "                       který se liší, čte znovu, dokud se dvě čtení\n"
             "                       neshodnou. Chyby, které spojení nepozná, tak neprojdou:\n"
             "                       pro archiv, převod mezi PC a zařízením a před\n"
             "                       obnovením zálohy (trvá dvakrát déle)\n",
     .files = 2,
     .port = true,
     .unitForLastFile = true,
     .settingsOnly = true,
     .verify = true},
    {.command = Command::Read,
     .name = "read",
     .synopsis = "read --port PORT [-o SOUBOR.eep] [--settings-only] [--verify] [--timeout SEKUNDY]",
     .summary = "načte nastavení ze zařízení",
     .help = "Aktivuje programovací režim zařízení na portu PORT, načte jeho EEPROM\n"
             "a deaktivuje ho. S -o uloží nastavení do souboru, jinak je vypíše jako příkaz\n"
             "show.\n"
             "  --settings-only      načte jen hlavičku a bloky, které zabírá nastavení, ne\n"
             "                       celou paměť: u velké paměti sekundy místo minut;\n"
             "                       výsledek je stejný\n"
             "  --verify             načte paměť ještě jednou a porovná obě čtení; blok,\n"
             "                       který se liší, čte znovu, dokud se dvě čtení\n"
             "                       neshodnou. Chyby, které spojení nepozná, tak neprojdou:\n"
             "                       pro archiv, převod mezi PC a zařízením a před\n"
             "                       obnovením zálohy (trvá dvakrát déle)\n",
     .output = true,
     .port = true,
     .settingsOnly = true,
     .verify = true},
    {.command = Command::Write,
     .name = "write",
     .synopsis = "write SOUBOR.eep --port PORT [--no-verify] [--settings-only] [--backup ZÁLOHA.eep] "
                 "[--force] [--timeout SEKUNDY]",
     .summary = "uloží nastavení ze souboru do zařízení",
     .help = "Aktivuje programovací režim zařízení na portu PORT, uloží do jeho EEPROM\n"
             "nastavení ze souboru a deaktivuje ho. Každý zapsaný blok se čte zpět ke\n"
             "kontrole, pokud není dáno --no-verify.\n"
             "  --backup ZÁLOHA.eep  před zápisem načte zařízení a uloží celý obsah jeho\n"
             "                       EEPROM do souboru; složka souboru se ověří dřív, než\n"
             "                       začne čtení. Záloha se čte dvakrát a porovná (jako\n"
             "                       read --verify); zápis začne, až je uložena. Když\n"
             "                       zápis selže nebo je přerušen,\n"
             "                       vypíše se příkaz, který zálohu vrátí do zařízení.\n"
             "  --force              zapíše i soubor s hodnotou, kterou pravidla polí\n"
             "                       nepovolují; s --backup i do zařízení, které nemá\n"
             "                       platné nastavení (není naprogramováno); bez ní se\n"
             "                       takový soubor ani takové zařízení nezapíše\n"
             "  --settings-only      zapíše (a zkontroluje) jen bloky, které zabírá\n"
             "                       nastavení, ve stejném pořadí jako celý zápis; zbytek\n"
             "                       paměti zůstane, jak ho zařízení má. Záloha --backup\n"
             "                       je vždy celá paměť.\n",
     .files = 1,
     .port = true,
     .noVerify = true,
     .backup = true,
     .settingsOnly = true},
    {.command = Command::Schema,
     .name = "schema",
     .synopsis = "schema [-o SOUBOR.json]",
     .summary = "vypíše JSON Schema souborů z export a pro import",
     .help = "Vypíše JSON Schema (draft 2020-12) souborů, které píše export a čte import:\n"
             "každý klíč, jeho typ, nejvýše kolik znaků má text, rozsah čísla, texty voleb\n"
             "a pole osmi hodnot řádků. S -o ho uloží do souboru. Import hodnoty mimo rozsah\n"
             "opraví jako okno, schéma je odmítne.\n",
     .output = true},
    {.command = Command::Ports,
     .name = "ports",
     .synopsis = "ports [--json]",
     .summary = "vypíše sériové porty počítače",
     .help = "Vypíše sériové porty, které počítač má, jeden na řádek: zařízení, port COM N,\n"
             "přes který je dosažitelné, popis, výrobce, sériové číslo a USB identifikátory\n"
             "výrobce a výrobku (VID:PID). Uvede také zařízení přidělená proměnnými\n"
             "ORB_COM<N>, která existují (např. pseudoterminál simulovaného zařízení). Kde\n"
             "údaj chybí, stojí \"-\".\n"
             "  --json               vypíše porty jako pole JSON pro skripty; chybějící údaj\n"
             "                       je null\n",
     .json = true},
    {.command = Command::Series,
     .name = "series",
     .synopsis =
         "series ŠABLONA --port PORT [--port PORT ...] [--units JEDNOTKY.csv] "
         "[--log PROTOKOL.csv [--again]] [--count N] [--backup-dir SLOŽKA] [--accept-corrections] "
         "[--strict] [--no-verify] [--settings-only] [--memory BAJTY] [--timeout SEKUNDY] [--dry-run]",
     .summary = "naprogramuje sérii zařízení, jedno po druhém nebo několik najednou",
     .help = "Naprogramuje řadu zařízení stejným nastavením ze šablony ŠABLONA (soubor *.eep\n"
             "nebo JSON z příkazu export), každé s hodnotami ze svého řádku JEDNOTKY.csv.\n"
             "Na každém portu zdraví zařízení, dokud neodpoví, aktivuje a zkontroluje ho,\n"
             "zapíše do něj další řádek a deaktivuje ho; pak čeká na další zařízení.\n"
             "Zařízení, které už tato série naprogramovala, pozná a znovu nezapíše; se\n"
             "stejným --log pozná i zařízení z dřívějších spuštění a řádky, které protokol\n"
             "uvádí jako naprogramované, znovu nepřidělí. Zařízení s jiným platným\n"
             "nastavením se před zápisem celé uloží (bez --backup-dir do složky\n"
             "PROTOKOL-zalohy vedle protokolu); bez --log a --backup-dir se nezapíše.\n"
             "Všechny řádky se zkontrolují dřív, než se pozdraví první zařízení; chybný\n"
             "řádek sérii odmítne s číslem řádku a písmenem sloupce.\n"
             "  --port PORT          port se zařízeními; s více porty (nejvýše 16) se\n"
             "                       programuje na všech najednou\n"
             "  --units JEDNOTKY.csv CSV v UTF-8 nebo Windows-1250, oddělené čárkou,\n"
             "                       středníkem nebo tabulátorem: záhlaví se jmény nastavení\n"
             "                       jako v export (řádky jako tabTC[2]), pak jeden řádek na\n"
             "                       zařízení. Prázdná buňka ponechá hodnotu šablony,\n"
             "                       prázdný řádek se přeskočí. Zaškrtávací pole true/false,\n"
             "                       ano/ne, pravda/nepravda nebo 1/0, volby jejich texty;\n"
             "                       mezery, pomlčky, tečky a závorky v telefonních číslech\n"
             "                       se vynechají\n"
             "  --log PROTOKOL.csv   ke každému zařízení připíše řádek protokolu (CSV pro\n"
             "                       tabulkový procesor: UTF-8, středníky) a uloží ho na disk\n"
             "  --again              naprogramuje znovu i řádky, které protokol uvádí jako\n"
             "                       hotové\n"
             "  --count N            bez --units naprogramuje N zařízení šablonou (jinak až\n"
             "                       do Ctrl+C)\n"
             "  --backup-dir SLOŽKA  před zápisem uloží celou paměť každého zařízení do\n"
             "                       souboru ve složce SLOŽKA\n"
             "  --accept-corrections hodnotu, kterou by pravidla pole změnila (např. číslo\n"
             "                       bez předvolby), přijme změněnou; bez volby ji odmítne\n"
             "  --strict             opravy odmítne (tak se série chová i bez volby)\n"
             "  --no-verify          zapsané bloky nečte zpět ke kontrole\n"
             "  --settings-only      zapíše jen bloky, které zabírá nastavení (viz write)\n"
             "  --memory BAJTY       ověří předem, že se každý řádek vejde do paměti této\n"
             "                       velikosti\n"
             "  --timeout SEKUNDY    port skončí, když další zařízení neodpoví do tolika\n"
             "                       sekund\n"
             "  --dry-run            jen zkontroluje řádky a vypíše, co by každý zapsal do\n"
             "                       zařízení (velikost, SHA-256, nastavení jiná než\n"
             "                       v šabloně); port neotevře, protokol nečte ani nepíše\n"
             "Na konci vypíše souhrn: naprogramovaná a nepodařená zařízení, zařízení bez\n"
             "platného nastavení a zatím nenaprogramované řádky. Návratová hodnota je 0, jen\n"
             "když jsou naprogramovány všechny řádky a žádné zařízení nezůstalo bez platného\n"
             "nastavení.\n",
     .files = 1,
     .port = true,
     .memory = true,
     .noVerify = true,
     .settingsOnly = true,
     .strict = true,
     .series = true},
};

/// What --timeout means to the commands that talk to one unit; a series gives it a meaning of its own.
constexpr std::string_view TimeoutNote =
    "  --timeout SEKUNDY    aktivace čeká na odpověď zařízení nejvýše tolik sekund;\n"
    "                       když nepřijde, návratová hodnota je 3 (bez volby se čeká\n"
    "                       bez omezení)\n";

/// How the commands that talk to the unit stand in for the window's boxes and its Storno button.
constexpr std::string_view DeviceNotes =
    "\n"
    "Hlášení okna programu se vypisují na standardní chybový výstup, jeho otázky se\n"
    "zodpoví Ne. Signál SIGINT (Ctrl+C), SIGTERM nebo SIGHUP působí jako tlačítko\n"
    "Storno: rozpracovaný blok se dokončí, zařízení se deaktivuje a návratová\n"
    "hodnota je 3. Druhý signál program ukončí hned.\n";

constexpr std::string_view ProgramHelp =
    "Nastavení komunikátoru ORB a ORBTONE z příkazové řádky.\n"
    "\n"
    "Návratové hodnoty: 0 úspěch, 1 odmítnutí (hodnota, pravidlo, zařízení) nebo\n"
    "rozdíl, 2 chybné použití, 3 chyba čtení nebo zápisu souboru, portu nebo\n"
    "zařízení.\n"
    "PORT je číslo N portu COM N (1 až 4; zařízení z proměnné prostředí ORB_COM<N>,\n"
    "jinak /dev/ttyS<N-1>), nebo cesta k zařízení, např. /dev/ttyUSB0 (jméno bez\n"
    "lomítka je v /dev). Sériové porty počítače vypíše orbctl ports; port potřebuje\n"
    "členství ve skupině dialout.\n"
    "Volby se píší jako v programech GNU: hodnota zvlášť nebo připojená (-o x.json,\n"
    "-ox.json, --port=1), -- ukončí volby.\n"
    "Podrobnosti příkazu: orbctl PŘÍKAZ --help; verze programu: orbctl --version\n";

enum OptionId {
    Output,
    Port,
    Units,
    Log,
    Count,
    BackupDir,
    Memory,
    Timeout,
    NoVerify,
    Verify,
    Backup,
    Force,
    SettingsOnly,
    Strict,
    Json,
    AcceptCorrections,
    Again,
    DryRun,
    Help,
    Version
};

constexpr OptionDefinition Options[] = {
    {Output, "output", 'o', true},
    {Port, "port", 0, true},
    {Units, "units", 0, true},
    {Log, "log", 0, true},
    {Count, "count", 0, true},
    {BackupDir, "backup-dir", 0, true},
    {Memory, "memory", 0, true},
    {Timeout, "timeout", 0, true},
    {NoVerify, "no-verify"},
    {Verify, "verify"},
    {Backup, "backup", 0, true},
    {Force, "force"},
    {SettingsOnly, "settings-only"},
    {Strict, "strict"},
    {Json, "json"},
    {AcceptCorrections, "accept-corrections"},
    {Again, "again"},
    {DryRun, "dry-run"},
    {Help, "help", 'h'},
    {Version, "version", 'V'},
};

[[noreturn]] void usageError(const std::string& message) {
    throw CliError(ExitStatus::Usage, message + " (orbctl --help)");
}

const CommandEntry& entryOf(Command command) {
    return *std::find_if(std::begin(Commands), std::end(Commands),
                         [command](const CommandEntry& entry) { return entry.command == command; });
}

const CommandEntry& commandNamed(const std::string& name) {
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
    if (text.find('/') == std::string::npos) return {.device = "/dev/" + text};
    // The serial port takes a name that starts with neither '/' nor "./" nor "../" as one under /dev.
    const bool plainPath = text.starts_with('/') || text.starts_with("./") || text.starts_with("../");
    return {.device = plainPath ? text : "./" + text};
}

int parseTimeout(const std::string& text) {
    const int seconds = parseNumber("--timeout", text);
    if (seconds < 1) usageError("--timeout musí být kladný počet sekund, ne " + text);
    return seconds;
}

int parseMemory(const std::string& text) {
    const int bytes = parseNumber("--memory", text);
    if (std::ranges::find(EepromSizeTable, bytes) != EepromSizeTable.end()) return bytes;
    usageError("--memory musí být velikost EEPROM 128, 256, 512, ... 65536, ne " + text);
}

void checkAgainst(const CommandEntry& entry, const CommandLine& line) {
    auto refuse = [&entry](const std::string& option) {
        usageError("volba " + option + " nepatří k příkazu " + std::string(entry.name));
    };
    if (line.output && !entry.output) refuse("-o");
    if (line.port && !entry.port) refuse("--port");
    if (line.memory && !entry.memory) refuse("--memory");
    if (line.ports.size() > MaxSeriesPorts)
        usageError("série obslouží nejvýše " + std::to_string(MaxSeriesPorts) + " portů najednou, ne " +
                   std::to_string(line.ports.size()));
    if (!entry.series) {
        if (line.ports.size() > 1) usageError("volba --port je zadána víckrát");
        if (line.units) refuse("--units");
        if (line.log) refuse("--log");
        if (line.count) refuse("--count");
        if (line.backupDir) refuse("--backup-dir");
        if (line.acceptCorrections) refuse("--accept-corrections");
        if (line.again) refuse("--again");
        if (line.dryRun) refuse("--dry-run");
    }
    if (line.again && !line.log) usageError("volba --again patří k volbě --log");
    if (line.strict && line.acceptCorrections)
        usageError("volby --strict a --accept-corrections se vylučují");
    if (line.count && line.units) usageError("volba --count patří k sérii bez --units");
    if (line.timeout && !entry.port) refuse("--timeout"); // it limits the wait for the unit
    if (line.noVerify && !entry.noVerify) refuse("--no-verify");
    if (line.backup && !entry.backup) refuse("--backup");
    if (line.force && !entry.backup) refuse("--force");
    if (line.settingsOnly && !entry.settingsOnly) refuse("--settings-only");
    if (line.settingsOnly && !line.port) usageError("volba --settings-only patří k volbě --port");
    if (line.verify && !entry.verify) refuse("--verify");
    if (line.verify && !line.port) usageError("volba --verify patří k volbě --port");
    if (line.strict && !entry.strict) refuse("--strict");
    if (line.json && !entry.json) refuse("--json");
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
    if (entry.port && !entry.unitForLastFile && !line.port && !line.dryRun)
        usageError("příkaz " + std::string(entry.name) + " potřebuje --port PORT");
}

/// Lays a synopsis out after its lead within the help's 80 columns, breaking only between its words and
/// bracketed groups, each further line indented under the command's first operand.
std::string wrappedSynopsis(std::string_view lead, std::string_view synopsis) {
    constexpr std::size_t Width = 80;
    std::vector<std::string_view> pieces;
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= synopsis.size(); ++i) {
        if (i == synopsis.size() || (synopsis[i] == ' ' && depth == 0)) {
            pieces.push_back(synopsis.substr(start, i - start));
            start = i + 1;
        } else if (synopsis[i] == '[') {
            ++depth;
        } else if (synopsis[i] == ']') {
            --depth;
        }
    }
    const std::string indent(CharacterCount(lead) + pieces.front().size() + 1, ' ');
    std::string text(lead);
    text += pieces.front();
    std::size_t column = CharacterCount(text);
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        if (column + 1 + CharacterCount(pieces[i]) >= Width) {
            text += "\n" + indent;
            column = indent.size();
        } else {
            text += ' ';
            ++column;
        }
        text += pieces[i];
        column += CharacterCount(pieces[i]);
    }
    return text + "\n";
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    GivenArguments given;
    try {
        given = ReadGnuOptions(Options, args);
    } catch (const OptionError& error) {
        usageError(CzechText(error));
    }
    CommandLine line;
    for (const GivenOption& option : given.options) {
        const std::string& value = option.value;
        switch (option.id) {
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
            line.count = parseNumber("--count", value);
            if (*line.count < 1) usageError("--count musí být kladný počet zařízení");
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
        }
    }
    if (given.operands.empty()) {
        if (!line.help && !line.version) usageError("chybí příkaz");
        return line;
    }
    line.command = commandNamed(given.operands.front()).command;
    line.files.assign(given.operands.begin() + 1, given.operands.end());
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
        return wrappedSynopsis("Použití: orbctl ", entry.synopsis) + "\n" + std::string(entry.help) +
               (entry.port && !entry.series ? std::string(TimeoutNote) : "") +
               (entry.port ? std::string(DeviceNotes) : "");
    }
    std::string text = "Použití: orbctl PŘÍKAZ [VOLBY]\n\nPříkazy:\n";
    for (const CommandEntry& entry : Commands)
        text += wrappedSynopsis("  orbctl ", entry.synopsis) + "      " + std::string(entry.summary) + "\n";
    return text + "\n" + std::string(ProgramHelp);
}

} // namespace orb
