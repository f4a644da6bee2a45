#include "cli/CliError.h"
#include "cli/json/JsonImport.h"
#include "cli/series/SeriesConsole.h"
#include "cli/series/SeriesCsv.h"
#include "cli/series/SeriesLedger.h"
#include "cli/series/SeriesLog.h"
#include "cli/series/SeriesPipe.h"
#include "cli/series/SeriesPlan.h"
#include "cli/series/SeriesRows.h"
#include "cli/series/SeriesSummary.h"
#include "cli/tests/CliTestSupport.h"
#include "cli/Workspace.h"
#include "image/DecodeImage.h"
#include "settings/ImageSize.h"

#include <csignal>
#include <gtest/gtest.h>
#include <poll.h>
#include <regex>
#include <sstream>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace orb {
namespace {

using testing_support::TempDir;
using Kind = SeriesOffer::Kind;

std::vector<std::vector<std::string>> fieldsOf(const std::vector<CsvRecord>& records) {
    std::vector<std::vector<std::string>> fields;
    for (const CsvRecord& record : records)
        fields.push_back(record.fields);
    return fields;
}

TEST(SeriesCsv, ReadsQuotedValuesLineEndsAndTheLinesRecordsStartOn) {
    const auto records =
        ParseCsv("\xEF\xBB\xBFname,tabPIN\r\n\"A, \"\"B\"\"\",1234\r\n\r\n\"two\nlines\",\nlast,9");
    EXPECT_EQ(fieldsOf(records),
              (std::vector<std::vector<std::string>>{
                  {"name", "tabPIN"}, {"A, \"B\"", "1234"}, {"two\nlines", ""}, {"last", "9"}}));
    std::vector<int> lines;
    for (const CsvRecord& record : records)
        lines.push_back(record.line);
    EXPECT_EQ(lines, (std::vector<int>{1, 2, 4, 6}));
}

TEST(SeriesCsv, RefusesStrayQuotesNamingTheLineAndColumn) {
    struct Case {
        std::string text;
        int line;
        std::size_t column;
    };
    const Case broken[] = {{"a,b\nx\"y,1\n", 2, 0}, {"a\n\"open,1\n2\n", 2, 0}, {"a,b\n1,\"q\"x\n", 2, 1}};
    for (const Case& c : broken) {
        SCOPED_TRACE(c.text);
        try {
            ParseCsv(c.text);
            ADD_FAILURE() << "accepted";
        } catch (const CsvError& error) {
            EXPECT_EQ(error.line(), c.line);
            EXPECT_EQ(error.column(), c.column);
        }
    }
}

TEST(SeriesCsv, TheSeparatorComesFromTheFirstLineAndTheEncodingFromTheBytes) {
    EXPECT_EQ(CsvSeparatorOf("a;b;c\r\n1,5;2;3"), ';');
    EXPECT_EQ(CsvSeparatorOf("a,b\n1;2;3;4"), ',');
    EXPECT_EQ(CsvSeparatorOf("a\tb\n"), '\t');
    EXPECT_EQ(CsvSeparatorOf("\"a;b\",c\n"), ',');
    EXPECT_EQ(CsvSeparatorOf("tabPIN\n"), ',');

    // "Světlo" as Windows-1250 saves it, and as UTF-8 with and without the byte-order mark.
    const CsvText converted = DecodeCsvText("Sv\xECtlo;\x8A\n");
    EXPECT_EQ(converted.utf8, "Světlo;Š\n");
    EXPECT_TRUE(converted.fromWindows1250);
    EXPECT_EQ(DecodeCsvText("\xEF\xBB\xBFSvětlo").utf8, "Světlo");
    EXPECT_FALSE(DecodeCsvText("Světlo").fromWindows1250);
}

TEST(SeriesCsv, LinesQuoteOnlyWhatMustBeQuotedAndReadBackTheSame) {
    const std::vector<std::string> fields = {"plain", "a,b", "say \"hi\"", "two\nlines", "", "x;y"};
    const std::string line = CsvLine(fields);
    EXPECT_EQ(line, "plain,\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",,x;y\r\n");
    EXPECT_EQ(ParseCsv(line).front().fields, fields);
    const std::string semicolons = CsvLine(fields, ';');
    EXPECT_EQ(semicolons, "plain;a,b;\"say \"\"hi\"\"\";\"two\nlines\";;\"x;y\"\r\n");
    EXPECT_EQ(ParseCsv(semicolons, ';').front().fields, fields);
}

/// The start-up settings as export writes them: from their image.
Json startUpJson() {
    Workspace workspace;
    const std::vector<std::uint8_t> image = testing_support::DefaultImage();
    for (std::size_t address = 0; address < image.size(); ++address)
        workspace.image->putByte(static_cast<std::int32_t>(address), image[address]);
    DecodeImage(*workspace.image, workspace.form);
    return WorkspaceJson(workspace);
}

const SeriesSources Sources{"sablona.eep", "jednotky.csv"};

std::vector<std::uint8_t> importedImage(const Json& json) {
    Workspace workspace;
    const ImportOutcome outcome = ImportJson(json, std::nullopt, *workspace.image);
    EXPECT_TRUE(outcome.refusals.empty());
    std::vector<std::uint8_t> bytes;
    for (std::int32_t address = 0; address < outcome.length; ++address)
        bytes.push_back(workspace.image->getByte(address));
    return bytes;
}

const SeriesRowsOptions NoCorrections{};

TEST(SeriesRows, EachRowIsTheTemplateWithItsValuesAsImportTakesThem) {
    Json base = startUpJson();
    base["tabTCcentra"] = "+420603052000";
    base["tabPIN"] = "9999";
    // As a spreadsheet in a Czech locale saves it: ';', its booleans, grouped numbers, an empty cell that
    // keeps the template's PIN, unused columns at the end and an empty row under the data.
    const auto records = ParseCsv(" tabJmenoStanice;TABPIN;tabTC[2];tabtcprijem[2];;\r\n"
                                  "CHATA 1;1234;+420 602 111-222;PRAVDA;;\r\n"
                                  "\"Sklep; dole\";;(+420) 602.333.444;nepravda;;\r\n"
                                  ";;;;;\r\n",
                                  ';');
    const SeriesRowsOutcome outcome = BuildSeriesRows(base, records, {2048, false}, Sources);
    ASSERT_TRUE(outcome.refusals.empty()) << outcome.refusals.front();
    ASSERT_EQ(outcome.rows.size(), 2u);

    Json first = base;
    first["tabJmenoStanice"] = "CHATA 1";
    first["tabPIN"] = "1234";
    first["tabTC"][2] = "+420602111222";
    first["tabTCPrijem"][2] = true;
    Json second = base;
    second["tabJmenoStanice"] = "Sklep; dole";
    second["tabTC"][2] = "+420602333444";
    EXPECT_EQ(outcome.rows[0], (SeriesRow{2, "CHATA 1", importedImage(first)}));
    EXPECT_EQ(outcome.rows[1], (SeriesRow{3, "Sklep; dole", importedImage(second)}));
    EXPECT_TRUE(outcome.corrections.empty());
}

TEST(SeriesRows, TheTemplateAloneIsOneRow) {
    const SeriesRowsOutcome outcome = BuildSeriesRows(startUpJson(), {}, NoCorrections, Sources);
    ASSERT_EQ(outcome.rows.size(), 1u);
    EXPECT_EQ(outcome.rows[0], (SeriesRow{0, "", testing_support::DefaultImage()}));
}

TEST(SeriesRows, AValueTheRulesWouldChangeIsRefusedUnlessCorrectionsAreAccepted) {
    // A spreadsheet takes "+420777123456" for a number and saves it without its '+'.
    const auto records = ParseCsv("tabJmenoStanice,tabTC[0],tabDobaPlatnostiSMS\nA,420777123456,\nB,,45\n");
    EXPECT_EQ(BuildSeriesRows(startUpJson(), records, NoCorrections, Sources).refusals,
              (std::vector<std::string>{
                  "jednotky.csv: řádek 2, sloupec B (tabTC[0]): \"420777123456\" -> \"+420420777123456\": "
                  "pravidlo pole by hodnotu změnilo; série ji přijme jen s volbou --accept-corrections",
                  "jednotky.csv: řádek 3, sloupec C (tabDobaPlatnostiSMS): \"45\" -> \"30\": pravidlo pole "
                  "by hodnotu změnilo; série ji přijme jen s volbou --accept-corrections"}));
    const SeriesRowsOutcome accepted = BuildSeriesRows(startUpJson(), records, {std::nullopt, true}, Sources);
    EXPECT_TRUE(accepted.refusals.empty());
    EXPECT_EQ(accepted.rows.size(), 2u);
    EXPECT_EQ(accepted.corrections,
              (std::vector<std::string>{
                  "jednotky.csv: řádek 2, sloupec B (tabTC[0]): \"420777123456\" -> \"+420420777123456\"",
                  "jednotky.csv: řádek 3, sloupec C (tabDobaPlatnostiSMS): \"45\" -> \"30\""}));

    Json base = startUpJson();
    base["tabDobaPlatnostiSMS"] = "45";
    EXPECT_EQ(BuildSeriesRows(base, {}, NoCorrections, Sources).refusals,
              std::vector<std::string>{"sablona.eep: tabDobaPlatnostiSMS: \"45\" -> \"30\": pravidlo pole by "
                                       "hodnotu změnilo; série ji přijme jen s volbou --accept-corrections"});
}

TEST(SeriesRows, EveryBadRowAndColumnIsRefusedWithItsLineAndColumn) {
    struct Case {
        std::string csv;
        std::vector<std::string> refusals;
    };
    const Case cases[] = {
        {"tabJmenoStanice,tabNeni\nA,1\n",
         {"jednotky.csv: řádek 1, sloupec B: 'tabNeni' není jméno nastavení (jména vypíše orbctl schema)"}},
        {"tabJmenoStanic,tabPINN[0]\nA,1\n",
         {"jednotky.csv: řádek 1, sloupec A: 'tabJmenoStanic' není jméno nastavení; nemyslíte "
          "tabJmenoStanice? (jména vypíše orbctl schema)",
          "jednotky.csv: řádek 1, sloupec B: 'tabPINN[0]' není jméno nastavení; nemyslíte tabPIN? (jména "
          "vypíše orbctl schema)"}},
        {"tabTC\n+420602111222\n",
         {"jednotky.csv: řádek 1, sloupec A: tabTC: nastavení má řádky, zadejte jeden z nich jako tabTC[0]"}},
        {"tabTC[8]\n+420602111222\n",
         {"jednotky.csv: řádek 1, sloupec A: tabTC[8]: řádky jsou číslovány 0 až 7"}},
        {"tabPIN,tabpin\n1,2\n", {"jednotky.csv: řádek 1, sloupec B: tabPIN: sloupec je v záhlaví podruhé"}},
        {"tabPIN,,tabTC[0]\n1,,2\n",
         {"jednotky.csv: řádek 1, sloupec B: sloupec nemá v záhlaví jméno nastavení"}},
        {"tabJmenoStanice,tabPIN\nA,12a4\nB\nC,1\nD,1,2\n",
         {"jednotky.csv: řádek 2, sloupec B (tabPIN): PIN je špatně zadán.",
          "jednotky.csv: řádek 3: řádek má 1 hodnot, záhlaví 2",
          "jednotky.csv: řádek 5, sloupec C: hodnota ve sloupci, který nemá v záhlaví jméno nastavení"}},
        {"tabJmenoStanice,tabTCPrijem[0]\nA,snad\n",
         {"jednotky.csv: řádek 2, sloupec B (tabTCPrijem[0]): Hodnota musí být true nebo false (také ano/ne, "
          "pravda/nepravda, 1/0)."}},
        {"tabJmenoStanice,tabPIN\nA,1\nB,2\nA,1\n",
         {"jednotky.csv: řádek 4: nastavení je stejné jako na řádku 2; zařízení by nešlo od sebe rozeznat"}},
        {"tabJmenoStanice,tabPIN\n\"A\x1B]0;x\x07\",1\n\"B\nC\",2\n\"D\xC2\x9B"
         "2J\",3\n",
         {"jednotky.csv: řádek 2, sloupec A (tabJmenoStanice): hodnota obsahuje řídicí znak \\u001B; řídicí "
          "znaky (tabulátor, konec řádku, ESC, ...) série do zařízení nezapíše",
          "jednotky.csv: řádek 3, sloupec A (tabJmenoStanice): hodnota obsahuje řídicí znak \\u000A; řídicí "
          "znaky (tabulátor, konec řádku, ESC, ...) série do zařízení nezapíše",
          "jednotky.csv: řádek 5, sloupec A (tabJmenoStanice): hodnota obsahuje řídicí znak \\u009B; řídicí "
          "znaky (tabulátor, konec řádku, ESC, ...) série do zařízení nezapíše"}},
        {"tabJmenoStanice\n", {"jednotky.csv: řádek 1: soubor nemá žádný řádek zařízení"}},
        {"tabJmenoStanice,tabPIN\n,\n", {"jednotky.csv: řádek 1: soubor nemá žádný řádek zařízení"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.csv);
        EXPECT_EQ(BuildSeriesRows(startUpJson(), ParseCsv(c.csv), NoCorrections, Sources).refusals,
                  c.refusals);
    }
}

TEST(SeriesRows, AFileOfMoreRowsThanASeriesTakesIsRefusedBeforeAnyRowIsBuilt) {
    std::string csv = "tabJmenoStanice\n";
    for (std::size_t row = 0; row <= MaxSeriesRows; ++row)
        csv += "S" + std::to_string(row) + "\n";
    EXPECT_EQ(BuildSeriesRows(startUpJson(), ParseCsv(csv), NoCorrections, Sources).refusals,
              std::vector<std::string>{
                  "jednotky.csv: řádek 1: soubor má 10001 řádků zařízení, série jich vezme nejvýše 10000"});
    std::string wide = "tabPIN";
    for (int column = 0; column < 1000; ++column)
        wide += ",x";
    EXPECT_EQ(
        BuildSeriesRows(startUpJson(), ParseCsv(wide + "\n1\n"), NoCorrections, Sources).refusals.size(), 1u);
}

TEST(SeriesRows, ARowTooBigForTheMemoryGivenIsRefused) {
    const std::string name(40, 'x');
    std::string csv = "tabJmenoStanice";
    for (int row = 0; row < 8; ++row)
        csv += ",tabINPNazev[" + std::to_string(row) + "],tabINPZap[" + std::to_string(row) + "]";
    csv += "\nA";
    for (int row = 0; row < 16; ++row)
        csv += "," + std::string(15, static_cast<char>('a' + row));
    const auto refusals =
        BuildSeriesRows(startUpJson(), ParseCsv(csv + "\n"), {256, false}, Sources).refusals;
    ASSERT_EQ(refusals.size(), 1u);
    EXPECT_TRUE(refusals[0].starts_with("jednotky.csv: řádek 2: --memory: Velikost dat v nastavení"))
        << refusals[0];
}

std::vector<SeriesRow> threeRows() {
    return {{2, "A", {1}}, {3, "B", {2}}, {4, "C", {3}}};
}

/// The plan of threeRows, whose images hash to "a", "b" and "c".
SeriesPlan threeRowPlan() {
    return SeriesPlan(threeRows(), {"a", "b", "c"});
}

const std::optional<std::string> Blank;

TEST(SeriesPlan, RowsGoOutOnceWithTheirImagesAndAFailedRowIsOfferedAgain) {
    SeriesPlan plan = threeRowPlan();
    EXPECT_EQ(plan.offer(Blank), (SeriesOffer{Kind::Write, 2, "řádek 2", "A", "1 z 3", {1}}));
    EXPECT_EQ(plan.offer(Blank).row, 3);
    plan.finish(2, false);
    EXPECT_EQ(plan.offer(Blank).row, 2);
    EXPECT_EQ(plan.offer(Blank).row, 4);
    EXPECT_EQ(plan.offer(Blank).kind, Kind::Wait);
    plan.finish(2, true);
    plan.finish(3, true);
    EXPECT_EQ(plan.offer(Blank).kind, Kind::Wait);
    plan.finish(4, true);
    EXPECT_EQ(plan.offer(Blank).kind, Kind::Nothing);
    EXPECT_TRUE(plan.complete());
}

TEST(SeriesPlan, AUnitHoldingAnImageThisSeriesWroteIsRecognised) {
    SeriesPlan plan = threeRowPlan();
    const SeriesOffer first = plan.offer(Blank);
    // Before its row was programmed, the same image is no proof: the unit gets the next free row.
    EXPECT_EQ(plan.offer("a").row, 3);
    plan.finish(first.row, true);
    EXPECT_EQ(plan.offer("a"), (SeriesOffer{Kind::AlreadyWritten, 2, "řádek 2", "A"}));
}

TEST(SeriesPlan, TheTemplateAloneGoesToCountUnitsOrWithoutEnd) {
    const SeriesRow base{0, "", {1}};
    SeriesPlan counted(base, "t", 2);
    EXPECT_EQ(counted.offer(Blank), (SeriesOffer{Kind::Write, 1, "kus 1", "", "1 z 2", {1}}));
    counted.finish(1, true);
    EXPECT_EQ(counted.offer("t").kind, Kind::AlreadyWritten);
    EXPECT_EQ(counted.offer(Blank).row, 2);
    counted.finish(2, true);
    EXPECT_EQ(counted.offer(Blank).kind, Kind::Nothing);

    SeriesPlan endless(base, "t", std::nullopt);
    for (int unit = 1; unit <= 3; ++unit) {
        ASSERT_EQ(endless.offer(Blank).row, unit);
        endless.finish(unit, unit != 3);
    }
    EXPECT_FALSE(endless.complete());
    EXPECT_EQ(endless.offer(Blank).row, 3);
    endless.finish(3, true);
    EXPECT_TRUE(endless.complete());
    EXPECT_FALSE(endless.done());
    EXPECT_EQ(endless.offer(Blank).row, 4);
    EXPECT_EQ(endless.rowName(3), "kus 3");
}

TEST(SeriesPlan, ARunAgainTakesWhatTheLogRecordsAsProgrammed) {
    const auto logged = [](int row, const std::string& label, const std::string& sha, bool programmed) {
        SeriesRecord record;
        record.row = row;
        record.label = label;
        record.imageSha256 = sha;
        record.programmed = programmed;
        return record;
    };
    // Row 3 was programmed; row 2's unit failed; row 9 of an earlier UNITS.csv is in no row now.
    const std::vector<SeriesRecord> earlier = {logged(2, "A", "a", false), logged(3, "B", "b", true),
                                               logged(9, "STARÝ", "x", true), logged(3, "B", "", false)};
    SeriesPlan plan = threeRowPlan();
    plan.resume(earlier);
    EXPECT_EQ(plan.rowsDoneEarlier(), std::vector<int>{3});
    EXPECT_EQ(ResumeLine(plan), "Podle protokolu už je naprogramováno 1 z 3 řádků (řádek 3 B); zbývá 2.");
    EXPECT_EQ(plan.offer("b"), (SeriesOffer{Kind::AlreadyWritten, 3, "řádek 3", "B"}));
    EXPECT_EQ(plan.offer("x"), (SeriesOffer{Kind::AlreadyWritten, 9, "řádek 9", "STARÝ"}));
    EXPECT_EQ(plan.offer(Blank).row, 2);
    EXPECT_EQ(plan.offer(Blank).row, 4);
    plan.finish(2, true);
    plan.finish(4, true);
    EXPECT_TRUE(plan.done());
    EXPECT_EQ(SeriesSummary(plan, {})[1], "Naprogramováno dříve (podle protokolu): 1 řádek");
    EXPECT_FALSE(ResumeLine(threeRowPlan()));

    SeriesPlan counted(SeriesRow{0, "", {1}}, "t", 3);
    counted.resume({logged(1, "", "t", true), logged(2, "", "t", true), logged(3, "", "t", false)});
    EXPECT_EQ(counted.rowsLeft(), std::vector<int>{3});
}

SeriesRecord sampleRecord() {
    SeriesRecord record{"2024-05-01T10:15:02+02:00",
                        "COM 1 (/dev/ttyS0)",
                        3,
                        "Chata, \"dolní\"",
                        "ORB",
                        "1.2",
                        "2048 B",
                        "GSM",
                        std::string(64, 'a'),
                        true,
                        "Data byla úspěšně uložena do EEPROM.",
                        true};
    record.counts = {1028, 8224, 2, 0};
    record.seconds = 14.5;
    record.backup = "zalohy/x.eep";
    return record;
}

TEST(SeriesSummary, CountsUnitsNamingThoseThatFailedAndThoseLeftWithoutSettings) {
    SeriesPlan plan = threeRowPlan();
    const auto unit = [](std::string port, std::string time, int row, bool programmed) {
        SeriesRecord record = sampleRecord();
        record.port = std::move(port);
        record.time = "2024-05-01T" + time + "+02:00";
        record.row = row;
        record.programmed = programmed;
        return record;
    };
    plan.offer(Blank);
    plan.offer(Blank);
    plan.finish(2, false);
    plan.offer(Blank);
    plan.finish(2, true);
    plan.finish(3, false);
    SeriesRecord unplugged = unit("COM 1", "10:15:02", 2, false);
    unplugged.leftWithoutSettings = true;
    SeriesRecord recognised = unit("COM 2", "10:16:00", 2, false);
    recognised.imageSha256.clear();
    const std::vector<SeriesRecord> records = {unplugged, unit("COM 2", "10:15:30", 2, true),
                                               unit("COM 2", "10:15:40", 3, false), recognised,
                                               unit("COM 1", "10:17:00", 0, false)};
    EXPECT_EQ(SeriesSummary(plan, records),
              (std::vector<std::string>{
                  "Naprogramováno: 1 zařízení (řádek 2 A)",
                  "Nepodařilo se: 3 zařízení (COM 1 v 10:15:02, řádek 2 A, který pak dostalo jiné zařízení; "
                  "COM 2 v 10:15:40, řádek 3 B; COM 1 v 10:17:00)",
                  "Poznáno jako už naprogramované a nezapsáno znovu: 1 zařízení",
                  "Bez platného nastavení zůstalo: 1 zařízení (COM 1 v 10:15:02, řádek 2 A); uložte do něj "
                  "nastavení znovu",
                  "Zatím nenaprogramováno: 2 řádky (řádek 3 B, řádek 4 C)"}));
    EXPECT_TRUE(AnyUnitLeftWithoutSettings(records));

    std::vector<SeriesRow> many;
    for (int row = 2; row < 2 + 25; ++row)
        many.push_back({row, "", {static_cast<std::uint8_t>(row)}});
    const std::string waiting =
        SeriesSummary(SeriesPlan(many, std::vector<std::string>(many.size())), {}).back();
    EXPECT_TRUE(waiting.starts_with("Zatím nenaprogramováno: 25 řádků (řádek 2, řádek 3,")) << waiting;
    EXPECT_TRUE(waiting.ends_with(", řádek 21 a 5 dalších)")) << waiting;
}

TEST(SeriesLedger, PortsHoldTheirRowsUntilTheirRecordAndAPortThatEndsGivesItsRowBack) {
    SeriesPlan plan = threeRowPlan();
    std::ostringstream out;
    SeriesConsole console(out, false, {"COM 1", "COM 2"});
    SeriesLedger ledger(plan, {}, nullptr, console);
    EXPECT_EQ(ledger.offer(0, Blank).row, 2);
    EXPECT_EQ(ledger.offer(1, Blank).row, 3);
    SeriesRecord failed = sampleRecord();
    failed.row = 2;
    failed.programmed = false;
    ledger.record(0, failed);
    ledger.portEnded(1);
    EXPECT_EQ(ledger.offer(0, Blank).row, 2);
    EXPECT_EQ(ledger.offer(0, Blank).row, 3);
    EXPECT_EQ(out.str(),
              "orbctl: COM 1 (/dev/ttyS0): řádek 2 Chata, \"dolní\": Data byla úspěšně uložena do EEPROM. "
              "(8224 B, 1028 bloků, 2 opakování, 14,5 s)\n");
}

TEST(SeriesLedger, AUnitHoldingOtherSettingsIsWrittenOnlyOnceTheyCanBeSaved) {
    std::ostringstream out;
    SeriesConsole console(out, false, {"COM 1"});
    SeriesPlan plan = threeRowPlan();
    SeriesLedger nowhere(plan, {}, nullptr, console);
    EXPECT_EQ(nowhere.offer(0, "jine").kind, Kind::KeepSettings);
    EXPECT_EQ(nowhere.offer(0, Blank).row, 2); // the row stayed free

    SeriesPlan besideTheLog = threeRowPlan();
    SeriesLedger others(besideTheLog, {"protokol-zalohy", false}, nullptr, console);
    EXPECT_EQ(others.offer(0, "jine").backupFolder, "protokol-zalohy");
    EXPECT_EQ(others.offer(0, Blank).backupFolder, "");

    SeriesPlan everyUnit = threeRowPlan();
    SeriesLedger every(everyUnit, {"zalohy", true}, nullptr, console);
    EXPECT_EQ(every.offer(0, Blank).backupFolder, "zalohy");
}

std::string textOf(const std::string& path) {
    const std::vector<std::uint8_t> bytes = TempDir::read(path);
    return {bytes.begin(), bytes.end()};
}

TEST(SeriesLog, ASpreadsheetOpensItAsColumnsRunsNoCellAndEachLineReadsBackAsItsRecord) {
    TempDir dir;
    const std::string path = dir.file("protokol.csv");
    SeriesRecord record = sampleRecord();
    record.leftWithoutSettings = true;
    SeriesRecord formulas = record;
    formulas.label = "=1+2";
    formulas.outcome = "@SUM(1+1)";
    formulas.backup = "'x";
    formulas.modem = "+420602111222";
    SeriesLog(path).append(record);
    SeriesLog(path).append(formulas);
    const std::string text = textOf(path);
    EXPECT_TRUE(text.starts_with("\xEF\xBB\xBF"
                                 "čas;port;řádek;první sloupec;"))
        << text;
    EXPECT_NE(text.find(";14,500;zalohy/x.eep;ano;ne\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find(";'=1+2;ORB;1.2;2048 B;'+420602111222;"), std::string::npos) << text;
    EXPECT_NE(text.find(";'@SUM(1+1);"), std::string::npos) << text;
    EXPECT_NE(text.find(";''x;"), std::string::npos) << text;
    const SeriesLog reopened(path);
    EXPECT_EQ(reopened.earlierRecords(), (std::vector<SeriesRecord>{record, formulas}));
    EXPECT_TRUE(reopened.notices().empty());
}

TEST(SeriesLog, AControlCharacterIsWrittenAsTheTerminalShowsItAndEveryLineStaysOneRecord) {
    TempDir dir;
    const std::string path = dir.file("protokol.csv");
    SeriesRecord record = sampleRecord();
    record.label = "A\x1B[2J\x07";
    record.outcome = "první\ndruhý\r\ttřetí";
    SeriesLog(path).append(record);
    const std::string text = textOf(path);
    EXPECT_NE(text.find(";A\\u001B[2J\\u0007;"), std::string::npos) << text;
    EXPECT_NE(text.find(";první\\u000Adruhý\\u000D\\u0009třetí;"), std::string::npos) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
    EXPECT_EQ(
        std::count_if(text.begin(), text.end(),
                      [](char c) { return (c > 0 && c < 0x20 && c != '\r' && c != '\n') || c == 0x7F; }),
        0);
}

TEST(SeriesLog, ALogOfTheEarlierFormatIsReadAndContinuedInItsOwnFormat) {
    TempDir dir;
    std::vector<std::string> header = RecordColumns();
    header.pop_back();
    std::vector<std::string> fields = RecordFields(sampleRecord());
    fields.pop_back();
    fields[3] = "=A1";
    const std::string earlier = CsvLine(header) + CsvLine(fields);
    const std::string path = dir.write("protokol.csv", {earlier.begin(), earlier.end()});
    {
        SeriesLog log(path);
        SeriesRecord expected = sampleRecord();
        expected.label = "=A1";
        EXPECT_EQ(log.earlierRecords(), std::vector<SeriesRecord>{expected});
        log.append(sampleRecord());
    }
    EXPECT_EQ(textOf(path),
              earlier + CsvLine(fields).replace(CsvLine(fields).find("=A1"), 3, "\"Chata, \"\"dolní\"\"\""));
}

TEST(SeriesLog, ATornLastLineIsEndedAndTheNextRecordIsWhole) {
    TempDir dir;
    const std::string path = dir.file("protokol.csv");
    SeriesLog(path).append(sampleRecord());
    // A power cut in the middle of a quoted cell.
    const std::string torn = textOf(path) + "2024-05-01T10:16:00+02:00;COM 1;4;\"Chata, ";
    dir.write("protokol.csv", {torn.begin(), torn.end()});
    {
        SeriesLog log(path);
        EXPECT_EQ(log.earlierRecords(), std::vector<SeriesRecord>{sampleRecord()});
        ASSERT_EQ(log.notices().size(), 1u);
        EXPECT_TRUE(log.notices()[0].starts_with("Poslední řádek protokolu '" + path + "' byl neúplný"));
        log.append(sampleRecord());
    }
    const std::string text = textOf(path);
    EXPECT_EQ(text.substr(0, torn.size() + 3), torn + "\"\r\n");
    EXPECT_EQ(SeriesLog(path).earlierRecords(), (std::vector<SeriesRecord>{sampleRecord(), sampleRecord()}));
}

/// The file size limit of the process, lowered for a scope: the system's answer to a write beyond it is
/// the one a full disk gives, a write cut short and then a failure.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit lowered{bytes, saved_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

  private:
    rlimit saved_{};
    void (*previousHandler_)(int);
};

TEST(SeriesLog, ARecordThatDoesNotFitOnTheDiskLeavesTheLogAsItWas) {
    TempDir dir;
    const std::string path = dir.file("protokol.csv");
    SeriesLog log(path);
    log.append(sampleRecord());
    const std::string before = textOf(path);
    {
        FileSizeLimit full(before.size() + 40);
        try {
            log.append(sampleRecord());
            ADD_FAILURE() << "written";
        } catch (const CliError& error) {
            EXPECT_TRUE(std::string(error.what()).starts_with("Do protokolu '" + path + "' nelze zapisovat."))
                << error.what();
        }
    }
    EXPECT_EQ(textOf(path), before);
    log.append(sampleRecord());
    EXPECT_EQ(ParseCsv(textOf(path), ';').size(), 3u);
}

TEST(SeriesLog, AFileThatIsNoLogOrALogAnotherSeriesWritesIsRefusedUntouched) {
    TempDir dir;
    const std::string units = "tabJmenoStanice,tabPIN\nA,1\n";
    const std::string path = dir.write("jednotky.csv", {units.begin(), units.end()});
    EXPECT_THROW(SeriesLog{path}, CliError);
    EXPECT_EQ(textOf(path), units);

    const SeriesLog taken(dir.file("protokol.csv"));
    try {
        SeriesLog again(dir.file("protokol.csv"));
        ADD_FAILURE() << "opened twice";
    } catch (const CliError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Protokol '" + dir.file("protokol.csv") + "' právě zapisuje jiná série.");
    }
}

TEST(SeriesLog, AFolderThatCannotHoldTheLogIsNamed) {
    TempDir dir;
    try {
        SeriesLog(dir.file("chybi/protokol.csv"));
        ADD_FAILURE() << "opened";
    } catch (const CliError& error) {
        EXPECT_TRUE(
            std::string(error.what()).starts_with("Do protokolu '" + dir.file("chybi/protokol.csv") + "'"));
    }
}

TEST(SeriesLog, TimesAreIsoWithTheOffset) {
    EXPECT_TRUE(std::regex_match(IsoTime(std::chrono::system_clock::now()),
                                 std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d)")));
}

TEST(SeriesPipe, MessagesKeepTheirFieldsOnOneLineAndEveryFieldAsItWas) {
    const std::string message = EncodeMessage(RecordMessage{sampleRecord()});
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1);
    const auto record = ParseWorkerMessage(message);
    ASSERT_TRUE(std::holds_alternative<WorkerMessage>(record));
    EXPECT_EQ(std::get<RecordMessage>(std::get<WorkerMessage>(record)).record, sampleRecord());
    const std::string text = "a\n\\nb\r\\\x1B, \"c\"\\";
    const std::string said = EncodeMessage(SayMessage{text});
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
    const auto saying = ParseWorkerMessage(said);
    ASSERT_TRUE(std::holds_alternative<WorkerMessage>(saying));
    EXPECT_EQ(std::get<SayMessage>(std::get<WorkerMessage>(saying)).text, text);
}

/// A pipe whose ends close with the test.
struct Pipe {
    Pipe() { EXPECT_EQ(::pipe(ends), 0); }
    ~Pipe() {
        for (const int end : ends)
            if (end >= 0) ::close(end);
    }
    void closeEnd(int which) { ::close(std::exchange(ends[which], -1)); }
    /// What was written into the pipe so far.
    std::string written() const {
        std::string text;
        pollfd ready{ends[0], POLLIN, 0};
        for (char c; ::poll(&ready, 1, 0) == 1 && ::read(ends[0], &c, 1) == 1;)
            text += c;
        return text;
    }
    int ends[2] = {-1, -1};
};

TEST(SeriesPipe, TheWorkerTakesTheParentsAnswersWithTheImageAndTheEndOfThePipeAsTheSeriesDone) {
    Pipe answers, sent;
    const SeriesOffer write{Kind::Write,   4, "řádek 4", "Chata, \"dolní\"", "3 z 10", {0x00, 0x1A, 0xFF},
                            "zalohy, nové"};
    const SeriesOffer seen{Kind::AlreadyWritten, 2, "kus 2", ""};
    const SeriesOptions options{.verify = false, .scope = TransferScope::SettingsOnly, .timeout = 30};
    const std::string text = EncodeMessage(OptionsMessage{options}) + EncodeMessage(OfferAnswer{write}) +
                             EncodeMessage(OfferAnswer{seen}) +
                             EncodeMessage(OfferAnswer{{Kind::KeepSettings}}) + "write,5,řádek 5,x,,,0g\n";
    ASSERT_EQ(::write(answers.ends[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    std::ostringstream own;
    PipeBroker broker(answers.ends[0], sent.ends[1], -1, own);
    EXPECT_EQ(std::get<SeriesOptions>(broker.options()), options);
    EXPECT_EQ(broker.offer(Blank), write);
    EXPECT_EQ(broker.offer("ab12"), seen);
    EXPECT_EQ(broker.offer(Blank).kind, Kind::KeepSettings);
    EXPECT_EQ(broker.offer(Blank).kind, Kind::Nothing); // an image that is no hex is no answer
    EXPECT_FALSE(broker.seriesDone());
    answers.closeEnd(1);
    EXPECT_TRUE(broker.seriesDone());
    EXPECT_FALSE(broker.abandoned()); // the end of the series is no parent gone
    EXPECT_EQ(broker.offer(Blank).kind, Kind::Nothing);
    EXPECT_EQ(sent.written(), "offer,\noffer,ab12\noffer,\noffer,\noffer,\n");

    const SeriesStatus status{"řádek 3 A, B (3 z 10)", "Ukládám data z PC do EEPROM.", 34, 68, "zbývá 0:12"};
    broker.status(status);
    const auto statusLine = ParseWorkerMessage(sent.written());
    ASSERT_TRUE(std::holds_alternative<WorkerMessage>(statusLine));
    EXPECT_EQ(std::get<StatusMessage>(std::get<WorkerMessage>(statusLine)).status, status);
    EXPECT_EQ(own.str(), "");
}

TEST(SeriesPipe, AParentThatIsGoneThrowsNothingAndTheWorkersWordsGoToItsOwnStandardError) {
    const auto previous = std::signal(SIGPIPE, SIG_IGN); // as the worker has it
    int sockets[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, sockets), 0);
    Pipe answers, sent;
    std::ostringstream own;
    PipeBroker broker(answers.ends[0], sent.ends[1], sockets[1], own);
    EXPECT_FALSE(broker.abandoned());
    EXPECT_FALSE(broker.seriesDone());
    // The parent's end goes with the parent, however it ended.
    ::close(sockets[0]);
    EXPECT_TRUE(broker.abandoned());
    EXPECT_TRUE(broker.seriesDone());
    EXPECT_EQ(broker.offer(Blank).kind, Kind::Nothing);
    broker.say("COM 1: \x1B]0;x\a");
    broker.record(sampleRecord());
    EXPECT_EQ(sent.written(), "");
    EXPECT_EQ(own.str(),
              "orbctl: COM 1: \\u001B]0;x\\u0007\norbctl: " + RecordLine(sampleRecord(), "") + "\n");
    ::close(sockets[1]);

    // A pipe nobody reads any more: the write fails, and that is the parent gone too.
    Pipe unread;
    unread.closeEnd(0);
    std::ostringstream alone;
    PipeBroker writer(answers.ends[0], unread.ends[1], -1, alone);
    EXPECT_NO_THROW(writer.status({"", "čekám na další zařízení"}));
    EXPECT_TRUE(writer.abandoned());
    writer.say("COM 2: Port končí práci v sérii.");
    EXPECT_EQ(alone.str(), "orbctl: COM 2: Port končí práci v sérii.\n");
    std::signal(SIGPIPE, previous);
}

TEST(SeriesConsole, AStatusLineFitsTheTerminalWithItsBarAndALogGetsALineWhenAUnitStarts) {
    const SeriesStatus writing{"řádek 3 CHATA-3 (3 z 10)", "Ukládám data z PC do EEPROM.", 34, 68,
                               "zbývá 0:12"};
    const std::string wide = StatusLine("COM 1 (/dev/ttyS0)", writing, 160);
    EXPECT_TRUE(wide.starts_with("COM 1 (/dev/ttyS0): řádek 3 CHATA-3 (3 z 10) [")) << wide;
    EXPECT_NE(wide.find("34/68  zbývá 0:12"), std::string::npos) << wide;
    EXPECT_TRUE(wide.ends_with("  Ukládám data z PC do EEPROM.")) << wide;
    EXPECT_TRUE(StatusLine("COM 1 (/dev/ttyS0)", writing, 80)
                    .starts_with("COM 1 (/dev/ttyS0): řádek 3 CHATA-3 (3 z 10) ["));
    for (const int columns : {160, 80, 60, 30, 10, 1}) {
        SCOPED_TRACE(columns);
        EXPECT_LT(CharacterCount(StatusLine("COM 1 (/dev/ttyS0)", writing, columns)),
                  static_cast<std::size_t>(std::max(columns, 1)));
        EXPECT_LT(CharacterCount(StatusLine("COM 1 (/dev/ttyS0)", {"", "čekám na další zařízení"}, columns)),
                  static_cast<std::size_t>(std::max(columns, 1)));
    }
    EXPECT_NE(StatusLine("COM 1", writing, 60).find('#'), std::string::npos);

    std::ostringstream log;
    SeriesConsole console(log, false, {"COM 1"});
    console.status(0, {"", "čekám na další zařízení"});
    console.status(0, {writing.unit, "Ukládám data z PC do EEPROM."});
    console.status(0, writing);
    EXPECT_EQ(log.str(), "orbctl: COM 1: řádek 3 CHATA-3 (3 z 10): zápis začíná\n");
}

} // namespace
} // namespace orb
