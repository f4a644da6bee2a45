#include "cli/args/HelpText.h"

#include "cli/args/CommandRules.h"
#include "settings/ImageSize.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace orb {

namespace {

/// How --verify reads the unit, the same for every command that reads it.
constexpr std::string_view VerifyHelp =
    "  --verify             načte paměť ještě jednou a porovná obě čtení; blok,\n"
    "                       který se liší, čte znovu, dokud se dvě čtení\n"
    "                       neshodnou. Chyby, které spojení nepozná, tak neprojdou:\n"
    "                       pro archiv, převod mezi PC a zařízením a před\n"
    "                       obnovením zálohy (trvá dvakrát déle)\n";

/// What --timeout means to a command that activates one unit; a series explains its own --timeout,
/// which ends a port that waits too long for the next unit.
constexpr std::string_view ActivationTimeoutHelp =
    "  --timeout SEKUNDY    aktivace čeká na odpověď zařízení nejvýše tolik sekund;\n"
    "                       když nepřijde, návratová hodnota je 3 (bez volby se čeká\n"
    "                       bez omezení)\n";

/// How the commands that talk to the unit stand in for the window's boxes and its Storno button.
constexpr std::string_view UnitNotes =
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

/// What the help says of one command beside its synopsis: its own text, then the explanations and notes
/// it shares with other commands, in order. A series explains --timeout in its own text: there it ends a
/// port, not an activation.
struct CommandHelp {
    Command command;
    std::string_view summary;
    std::string_view text;
    std::array<std::string_view, 3> notes{};
};

// The texts keep within 80 columns and name their operands as the manual does.
constexpr CommandHelp Helps[] = {
    {.command = Command::Show,
     .summary = "vypíše nastavení ze souboru jako tiskový protokol",
     .text = "Vypíše nastavení ze souboru na standardní výstup stejnými řádky jako tiskový\n"
             "protokol.\n"},
    {.command = Command::Export,
     .summary = "uloží nastavení ze souboru jako JSON",
     .text = "Uloží nastavení ze souboru jako JSON (bez -o na standardní výstup). Každé\n"
             "nastavení má klíč podle svého jména v programu, řádky T0..T7, I0..I7 a O0..O7\n"
             "jsou pole osmi hodnot, texty jsou řetězce UTF-8, zaškrtávací pole true/false,\n"
             "volby jejich texty. Klíče reserved27to31 a reserved63 nesou rezervované bajty\n"
             "obrazu, aby se ze souboru nic neztratilo.\n"},
    {.command = Command::Import,
     .summary = "vytvoří soubor nastavení z JSON",
     .text = "Vytvoří soubor nastavení z JSON. Každá hodnota projde stejnými pravidly jako\n"
             "v okně programu; hodnoty se opraví stejně jako v okně a každá oprava se vypíše\n"
             "na standardní chybový výstup (nastavení, zadaná a uložená hodnota). Chybějící\n"
             "klíče mají výchozí hodnoty, neznámé klíče jsou chyba. Každé odmítnutí se vypíše\n"
             "s hlášením okna a jménem nastavení a soubor se nezapíše; jinak se soubor -o\n"
             "vytvoří nebo nahradí.\n"
             "  --memory BAJTY       ověří, že se nastavení vejde do paměti EEPROM této\n"
             "                       velikosti (128..65536)\n"
             "  --strict             hodnotu, kterou by pravidla opravila, odmítne\n"
             "                       (návratová hodnota 1)\n"},
    {.command = Command::Diff,
     .summary = "vypíše nastavení, ve kterých se liší soubory nebo soubor a zařízení",
     .text = "Vypíše nastavení, ve kterých se soubory liší, jedno na řádek: jméno, hodnota\n"
             "v A, hodnota v B. S --port PORT místo B načte zařízení na portu PORT (aktivuje\n"
             "ho, načte jeho EEPROM a deaktivuje). Návratová hodnota je 0, když jsou\n"
             "nastavení stejná, a 1, když se liší.\n"
             "  --settings-only      načte ze zařízení jen bloky, které zabírá nastavení\n"
             "                       (viz read)\n",
     .notes = {VerifyHelp, ActivationTimeoutHelp, UnitNotes}},
    {.command = Command::Read,
     .summary = "načte nastavení ze zařízení",
     .text = "Aktivuje programovací režim zařízení na portu PORT, načte jeho EEPROM\n"
             "a deaktivuje ho. S -o uloží nastavení do souboru, jinak je vypíše jako příkaz\n"
             "show.\n"
             "  --settings-only      načte jen hlavičku a bloky, které zabírá nastavení, ne\n"
             "                       celou paměť: u velké paměti sekundy místo minut;\n"
             "                       výsledek je stejný\n",
     .notes = {VerifyHelp, ActivationTimeoutHelp, UnitNotes}},
    {.command = Command::Write,
     .summary = "uloží nastavení ze souboru do zařízení",
     .text = "Aktivuje programovací režim zařízení na portu PORT, uloží do jeho EEPROM\n"
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
     .notes = {ActivationTimeoutHelp, UnitNotes}},
    {.command = Command::Schema,
     .summary = "vypíše JSON Schema souborů z export a pro import",
     .text = "Vypíše JSON Schema (draft 2020-12) souborů, které píše export a čte import:\n"
             "každý klíč, jeho typ, nejvýše kolik znaků má text, rozsah čísla, texty voleb\n"
             "a pole osmi hodnot řádků. S -o ho uloží do souboru. Import hodnoty mimo rozsah\n"
             "opraví jako okno, schéma je odmítne.\n"},
    {.command = Command::Ports,
     .summary = "vypíše sériové porty počítače",
     .text = "Vypíše sériové porty, které počítač má, jeden na řádek: zařízení, port COM N,\n"
             "přes který je dosažitelné, popis, výrobce, sériové číslo a USB identifikátory\n"
             "výrobce a výrobku (VID:PID). Uvede také zařízení přidělená proměnnými\n"
             "ORB_COM<N>, která existují (např. pseudoterminál simulovaného zařízení). Kde\n"
             "údaj chybí, stojí \"-\".\n"
             "  --json               vypíše porty jako pole JSON pro skripty; chybějící údaj\n"
             "                       je null\n"},
    {.command = Command::Series,
     .summary = "naprogramuje sérii zařízení, jedno po druhém nebo několik najednou",
     .text = "Naprogramuje řadu zařízení stejným nastavením ze šablony ŠABLONA (soubor *.eep\n"
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
     .notes = {UnitNotes}},
};

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

const CommandHelp& helpOf(Command command) {
    return *std::ranges::find(Helps, command, &CommandHelp::command);
}

} // namespace

std::string VersionText() {
    return "orbctl " ORB_VERSION "\n";
}

std::string HelpText(std::optional<Command> command) {
    if (command) {
        const CommandHelp& help = helpOf(*command);
        std::string text = wrappedSynopsis("Použití: orbctl ", RulesOf(*command).synopsis) + "\n";
        text += help.text;
        for (const std::string_view note : help.notes)
            text += note;
        return text;
    }
    std::string text = "Použití: orbctl PŘÍKAZ [VOLBY]\n\nPříkazy:\n";
    for (const CommandRules& rules : AllCommandRules())
        text += wrappedSynopsis("  orbctl ", rules.synopsis) + "      " +
                std::string(helpOf(rules.command).summary) + "\n";
    return text + "\n" + std::string(ProgramHelp);
}

} // namespace orb
