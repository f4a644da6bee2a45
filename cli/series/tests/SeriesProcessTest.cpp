// Runs orbctl series against simulated units that present a new unit after each deactivation, checking
// what each unit holds, the log, the summary and the exit status.
#include "cli/series/SeriesCsv.h"
#include "cli/series/SeriesRecord.h"
#include "cli/tests/CliTestSupport.h"
#include "tests/support/OrbsimProcess.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <QCryptographicHash>
#include <QProcess>
#include <QThread>
#include <set>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>

namespace orb {
namespace {

using testing_support::TempDir;

const std::string FiveUnits = "tabJmenoStanice,tabPIN,tabTC[0]\n"
                              "CHATA-1,1111,+420602000001\n"
                              "CHATA-2,2222,+420602000002\n"
                              "CHATA-3,3333,+420602000003\n"
                              "CHATA-4,4444,+420602000004\n"
                              "CHATA-5,5555,+420602000005\n";

/// orbsim without pacing on a 256-byte unit; unit N's EEPROM is saved as eeprom(N) after its deactivation.
class Units {
  public:
    Units(const TempDir& dir, const std::string& name, const QStringList& options)
        : eeprom_(dir.file(name)),
          process_(QStringList{"--no-pace", "--memory", "256", "--eeprom", QString::fromStdString(eeprom_)}
                   << options) {}
    const QString& port() const { return process_.port(); }
    std::string eeprom(int unit) const { return eeprom_ + "." + std::to_string(unit); }
    /// What each request received meant, a line each.
    std::string requests() const {
        std::string lines;
        for (const std::string& request : process_.requests())
            lines += request + "\n";
        return lines;
    }

  private:
    std::string eeprom_;
    test::OrbsimProcess process_;
};

struct SeriesRun {
    int status = -1;
    std::string err;
};

/// orbctl series in the background, for what a test does while it runs.
class Series {
  public:
    explicit Series(const QStringList& args,
                    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
        process_.setReadChannel(QProcess::StandardError);
        process_.setProcessEnvironment(environment);
        process_.start(ORBCTL_PATH, QStringList{"series"} << args);
    }
    /// Waits until standard error holds the text as many times as given.
    bool waitForError(const std::string& text, int times = 1) {
        while (count(text) < times) {
            if (!process_.waitForReadyRead(30000)) return false;
            err_ += process_.readAllStandardError().toStdString();
        }
        return true;
    }
    /// Gives the text to standard input and closes it.
    void input(const std::string& text) {
        process_.write(QByteArray::fromStdString(text));
        process_.closeWriteChannel();
    }
    int count(const std::string& text) const {
        int n = 0;
        for (std::size_t at = err_.find(text); at != std::string::npos; at = err_.find(text, at + 1))
            ++n;
        return n;
    }
    void signal(int number) { ::kill(static_cast<pid_t>(process_.processId()), number); }
    pid_t pid() const { return static_cast<pid_t>(process_.processId()); }
    SeriesRun finish() {
        EXPECT_TRUE(process_.waitForFinished(120000));
        err_ += process_.readAllStandardError().toStdString();
        return {process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1, err_};
    }

  private:
    QProcess process_;
    std::string err_;
};

SeriesRun series(const QStringList& args) {
    return Series(args).finish();
}

/// The state letter of a process in /proc ('Z' for one that ended and waits to be reaped); 0 when gone.
char processState(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line) || line.rfind(')') == std::string::npos) return 0;
    return line[line.rfind(')') + 2];
}

/// The processes the given one started (from its main thread, as QProcess starts them).
std::vector<pid_t> childrenOf(pid_t parent) {
    std::ifstream list("/proc/" + std::to_string(parent) + "/task/" + std::to_string(parent) + "/children");
    std::vector<pid_t> children;
    for (pid_t child; list >> child;)
        children.push_back(child);
    return children;
}

/// Waits until each of the processes has ended; false when one still runs after 30 s.
bool allEnd(const std::vector<pid_t>& processes) {
    for (int tenth = 0; tenth < 300; ++tenth) {
        if (std::all_of(processes.begin(), processes.end(), [](pid_t pid) {
                const char state = processState(pid);
                return state == 0 || state == 'Z';
            }))
            return true;
        QThread::msleep(100);
    }
    return false;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::vector<std::vector<std::string>> logLines(const std::string& path) {
    const auto bytes = TempDir::read(path);
    std::vector<std::vector<std::string>> lines;
    const std::string text(bytes.begin(), bytes.end());
    for (const CsvRecord& record : ParseCsv(text, CsvSeparatorOf(text)))
        lines.push_back(record.fields);
    return lines;
}

// Columns of the log
constexpr int Row = 2, Label = 3, Sha = 8, Verify = 9, Outcome = 10, Programmed = 11, Backup = 16,
              LeftWithoutSettings = 17, DeactivationUnconfirmed = 18;

std::string lastRequestBesidesHellos(const std::string& requests) {
    std::string last;
    for (std::size_t start = 0, end; start < requests.size(); start = end + 1) {
        end = requests.find('\n', start);
        const std::string line = requests.substr(start, end - start);
        if (!contains(line, "hello") && !line.empty()) last = line;
    }
    return last;
}

std::string sha256(const std::vector<std::uint8_t>& bytes, std::size_t length) {
    const QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(length));
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex().toStdString();
}

/// Tells whether a unit's EEPROM begins with the image.
bool holdsImage(const std::string& eeprom, const std::vector<std::uint8_t>& image) {
    const std::vector<std::uint8_t> bytes = TempDir::read(eeprom);
    return !image.empty() && bytes.size() >= image.size() &&
           std::equal(image.begin(), image.end(), bytes.begin());
}

class OrbctlSeries : public testing::Test {
  protected:
    OrbctlSeries() {
        const std::vector<std::uint8_t> json{'{', '}'};
        base = dir.write("sablona.json", json);
        units = dir.write("jednotky.csv", {FiveUnits.begin(), FiveUnits.end()});
        log = dir.file("protokol.csv");
    }

    /// The image orbctl import makes of a JSON text.
    std::vector<std::uint8_t> importedImage(const std::string& json) {
        const std::string path = dir.write("rada.json", {json.begin(), json.end()});
        QProcess import;
        import.start(ORBCTL_PATH, {"import", QString::fromStdString(path), "-o",
                                   QString::fromStdString(dir.file("rada.eep"))});
        EXPECT_TRUE(import.waitForFinished(10000));
        return TempDir::read(dir.file("rada.eep"));
    }

    /// The image of a row of FiveUnits.
    std::vector<std::uint8_t> rowImage(const std::string& name, const std::string& pin,
                                       const std::string& number) {
        return importedImage(R"({"tabJmenoStanice": ")" + name + R"(", "tabPIN": ")" + pin +
                             R"(", "tabTC": [")" + number + R"(", "", "", "", "", "", "", ""]})");
    }

    TempDir dir;
    std::string base, units, log;
};

TEST_F(OrbctlSeries, FiveRowsOverOnePortEachUnitHoldingItsRowAndTheLogItsLine) {
    Units sim(dir, "unit.eep", {"--next-unit", "0"});
    const SeriesRun run = series({QString::fromStdString(base), "--port", sim.port(), "--units",
                                  QString::fromStdString(units), "--log", QString::fromStdString(log)});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(contains(
        run.err, "orbctl: Naprogramováno: 5 zařízení (řádek 2 CHATA-1, řádek 3 CHATA-2, řádek 4 CHATA-3, "
                 "řádek 5 CHATA-4, řádek 6 CHATA-5)\n"))
        << run.err;
    const auto lines = logLines(log);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0][0], "čas");
    for (int unit = 1; unit <= 5; ++unit) {
        SCOPED_TRACE(unit);
        const auto& line = lines[unit];
        const std::string n = std::to_string(unit);
        EXPECT_EQ(line[Row], std::to_string(unit + 1));
        EXPECT_EQ(line[Label], "CHATA-" + n);
        EXPECT_EQ(line[Outcome], "Data byla úspěšně uložena do EEPROM.");
        EXPECT_EQ(line[Programmed], "ano");
        const std::vector<std::uint8_t> image = rowImage("CHATA-" + n, n + n + n + n, "+42060200000" + n);
        EXPECT_EQ(sha256(image, image.size()), line[Sha]);
        EXPECT_TRUE(holdsImage(sim.eeprom(unit), image));
    }

    // An existing log is appended to, under its one header.
    Units more(dir, "more.eep", {"--next-unit", "0"});
    EXPECT_EQ(series({QString::fromStdString(base), "--port", more.port(), "--count", "2", "--log",
                      QString::fromStdString(log)})
                  .status,
              0);
    EXPECT_EQ(logLines(log).size(), 8u);
}

TEST_F(OrbctlSeries, TwoPortsAtOnceWriteEveryRowExactlyOnce) {
    // Units that take a third of a second for a write, so that a port whose worker starts late on a busy
    // machine still finds rows left to take.
    Units a(dir, "a.eep", {"--next-unit", "0", "--delay-ms", "5"});
    Units b(dir, "b.eep", {"--next-unit", "0", "--delay-ms", "5"});
    const SeriesRun run =
        series({QString::fromStdString(base), "--port", a.port(), "--port", b.port(), "--units",
                QString::fromStdString(units), "--log", QString::fromStdString(log)});
    EXPECT_EQ(run.status, 0) << run.err;
    auto lines = logLines(log);
    ASSERT_EQ(lines.size(), 6u) << run.err;
    std::vector<std::string> rows;
    std::set<std::string> ports;
    for (auto line = lines.begin() + 1; line != lines.end(); ++line) {
        rows.push_back((*line)[Row]);
        ports.insert((*line)[1]);
        EXPECT_EQ((*line)[Programmed], "ano");
    }
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<std::string>{"2", "3", "4", "5", "6"}));
    EXPECT_EQ(ports.size(), 2u);
}

TEST_F(OrbctlSeries, EveryPortTakesTheOptionsTheTechnicianGave) {
    Units a(dir, "a.eep", {"--next-unit", "0"});
    Units b(dir, "b.eep", {"--next-unit", "0"});
    const SeriesRun run = series({QString::fromStdString(base), "--port", a.port(), "--port", b.port(),
                                  "--count", "4", "--log", QString::fromStdString(log), "--no-verify"});
    EXPECT_EQ(run.status, 0) << run.err;
    const auto lines = logLines(log);
    ASSERT_EQ(lines.size(), 5u) << run.err;
    for (auto line = lines.begin() + 1; line != lines.end(); ++line)
        EXPECT_EQ((*line)[Verify], "ne");

    Units silentA(dir, "silent-a.eep", {"--silent"});
    Units silentB(dir, "silent-b.eep", {"--silent"});
    const SeriesRun silent = series({QString::fromStdString(base), "--port", silentA.port(), "--port",
                                     silentB.port(), "--count", "1", "--timeout", "1"});
    EXPECT_EQ(silent.status, 3) << silent.err;
    // Each port gave up after its second, and said so.
    const std::string noAnswer = ": Zařízení neodpovědělo během 1 s.\n";
    int said = 0;
    for (auto at = silent.err.find(noAnswer); at != std::string::npos; at = silent.err.find(noAnswer, at + 1))
        ++said;
    EXPECT_EQ(said, 2) << silent.err;
}

/// The number of the first deactivation among the replies of a series of one unit without faults.
int FirstDeactivationReply(const TempDir& dir, const std::string& base) {
    Units probe(dir, "probe.eep", {"--next-unit", "0"});
    EXPECT_EQ(series({QString::fromStdString(base), "--port", probe.port(), "--count", "1"}).status, 0);
    const std::string requests = probe.requests();
    const std::size_t at = requests.find("deactivate");
    return at == std::string::npos
               ? 0
               : static_cast<int>(std::count(requests.begin(), requests.begin() + at, '\n')) + 1;
}

// Unit A's replies to all four identify requests are lost; unit B's reply to its deactivation is lost (B
// leaves programming mode all the same, as a unit does when only the reply is lost); unit C is the series'
// second unit.
TEST_F(OrbctlSeries, AFailedActivationOrAnUnconfirmedDeactivationIsLoggedOnceAndThePortGoesOn) {
    const int deactivation = FirstDeactivationReply(dir, base);
    ASSERT_GT(deactivation, 0);
    // A's hello, its four identify requests and its deactivation come before B's replies.
    Units sim(dir, "unit.eep",
              {"--next-unit", "0", "--drop", "2", "--drop", "3", "--drop", "4", "--drop", "5", "--drop",
               QString::number(deactivation + 6)});
    const SeriesRun run = series({QString::fromStdString(base), "--port", sim.port(), "--count", "2", "--log",
                                  QString::fromStdString(log)});
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string lostIdentify = "identify  [reply dropped]\n";
    EXPECT_TRUE(sim.requests().starts_with("hello\n" + lostIdentify + lostIdentify + lostIdentify +
                                           lostIdentify + "deactivate\nhello\n"))
        << sim.requests();

    const auto lines = logLines(log);
    ASSERT_EQ(lines.size(), 4u) << run.err;
    EXPECT_EQ(lines[1][Outcome], "Při pokusu aktivovat spojení nastala chyba.");
    EXPECT_EQ(lines[1][Programmed], "ne");
    EXPECT_EQ(lines[2][Outcome], "Data byla úspěšně uložena do EEPROM. (deaktivace nepotvrzena)");
    EXPECT_EQ(lines[2][Programmed], "ano");
    EXPECT_EQ(lines[2][DeactivationUnconfirmed], "ano");
    EXPECT_EQ(lines[3][Programmed], "ano");
    EXPECT_EQ(lines[3][DeactivationUnconfirmed], "ne");
    EXPECT_TRUE(contains(run.err, "orbctl: Naprogramováno: 2 zařízení")) << run.err;
    EXPECT_TRUE(contains(run.err, "orbctl: Nepodařilo se: 1 zařízení")) << run.err;
    EXPECT_TRUE(contains(run.err, "orbctl: Deaktivaci nepotvrdilo: 1 zařízení (")) << run.err;
}

TEST_F(OrbctlSeries, APortWhoseNextUnitDoesNotAnswerWithinTheTimeoutEndsSayingSo) {
    Units silent(dir, "silent.eep", {"--silent"});
    const SeriesRun run = series({QString::fromStdString(base), "--port", silent.port(), "--units",
                                  QString::fromStdString(units), "--timeout", "1"});
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_TRUE(contains(run.err, "Zařízení neodpovědělo během 1 s.")) << run.err;
    EXPECT_TRUE(contains(run.err, "Zatím nenaprogramováno: 5 řádků")) << run.err;
}

TEST_F(OrbctlSeries, ABadRowOrACorrectionRefusesTheSeriesBeforeAnyUnitIsGreeted) {
    Units sim(dir, "unit.eep", {"--next-unit", "0"});
    // A spreadsheet saves "+420602000007" as the number 420602000007: the rules would make it
    // "+420420602000007", which no unit is to get without the technician's consent.
    const std::string bad = FiveUnits + "CHATA-6,12a4,+420602000006\nCHATA-7,7777,420602000007\n";
    const std::string badUnits = dir.write("spatne.csv", {bad.begin(), bad.end()});
    const SeriesRun run = series({QString::fromStdString(base), "--port", sim.port(), "--units",
                                  QString::fromStdString(badUnits), "--log", QString::fromStdString(log)});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(
        contains(run.err, "orbctl: " + badUnits + ": řádek 7, sloupec B (tabPIN): PIN je špatně zadán.\n"))
        << run.err;
    EXPECT_TRUE(
        contains(run.err, "orbctl: " + badUnits +
                              ": řádek 8, sloupec C (tabTC[0]): \"420602000007\" -> \"+420420602000007\": "
                              "pravidlo pole by hodnotu změnilo; série ji přijme jen s volbou "
                              "--accept-corrections\n"))
        << run.err;
    EXPECT_FALSE(contains(sim.requests(), "hello"));
    EXPECT_FALSE(std::filesystem::exists(log));
}

TEST_F(OrbctlSeries, ACsvAsACzechSpreadsheetSavesItProgramsExactlyItsRowsWithTheTemplatesValueKept) {
    const std::string pin = R"({"tabPIN": "9999"})";
    const std::string withPin = dir.write("sablona-pin.json", {pin.begin(), pin.end()});
    // Windows-1250, ';', CRLF, PRAVDA/NEPRAVDA, grouped numbers, an empty PIN cell and the empty line a
    // spreadsheet leaves under the data.
    const std::string csv = "tabJmenoStanice;tabPIN;tabTC[0];tabOdpovidatT0\r\n"
                            "Sv\xECtlo-1;1111;+420 602 000 001;PRAVDA\r\n"
                            "\x8Akola-2;;+420 602 000 002;NEPRAVDA\r\n"
                            ";;;\r\n";
    const std::string excel = dir.write("excel.csv", {csv.begin(), csv.end()});
    Units sim(dir, "unit.eep", {"--next-unit", "0"});
    const SeriesRun run = series({QString::fromStdString(withPin), "--port", sim.port(), "--units",
                                  QString::fromStdString(excel), "--log", QString::fromStdString(log)});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(contains(run.err, "orbctl: Naprogramováno: 2 zařízení (řádek 2 Světlo-1, řádek 3 Škola-2)"))
        << run.err;
    EXPECT_EQ(logLines(log).size(), 3u);
    const auto expected = [&](const std::string& name, const std::string& pin, const std::string& number,
                              bool answer) {
        return importedImage(
            R"({"tabJmenoStanice": ")" + name + R"(", "tabPIN": ")" + pin + R"(", "tabTC": [")" + number +
            R"(", "", "", "", "", "", "", ""], "tabOdpovidatT0": )" + (answer ? "true" : "false") + "}");
    };
    EXPECT_TRUE(holdsImage(sim.eeprom(1), expected("Světlo-1", "1111", "+420602000001", true)));
    EXPECT_TRUE(holdsImage(sim.eeprom(2), expected("Škola-2", "9999", "+420602000002", false)));
    EXPECT_FALSE(std::filesystem::exists(sim.eeprom(3)));
}

TEST_F(OrbctlSeries, ADryRunShowsWhatEachRowWouldWriteAndARepeatedPortIsRefusedBeforeAnyUnit) {
    Units sim(dir, "unit.eep", {"--next-unit", "0"});
    QProcess dryRun;
    dryRun.start(ORBCTL_PATH,
                 {"series", QString::fromStdString(base), "--units", QString::fromStdString(units), "--log",
                  QString::fromStdString(log), "--dry-run"});
    ASSERT_TRUE(dryRun.waitForFinished(30000));
    EXPECT_EQ(dryRun.exitCode(), 0);
    const std::string out = dryRun.readAllStandardOutput().toStdString();
    const std::vector<std::uint8_t> first = rowImage("CHATA-1", "1111", "+420602000001");
    EXPECT_TRUE(out.starts_with("řádek 2 CHATA-1: " + std::to_string(first.size()) + " B, SHA-256 " +
                                sha256(first, first.size()) + "\n  tabJmenoStanice: \"\" -> \"CHATA-1\"\n"))
        << out;
    EXPECT_TRUE(contains(out, "řádek 6 CHATA-5: ")) << out;
    EXPECT_FALSE(std::filesystem::exists(log));

    const SeriesRun twice = series({QString::fromStdString(base), "--port", "1", "--port", sim.port(),
                                    "--units", QString::fromStdString(units)});
    EXPECT_EQ(twice.status, 2);
    EXPECT_TRUE(contains(twice.err, "je zadán víckrát")) << twice.err;
    EXPECT_FALSE(contains(sim.requests(), "hello"));
}

TEST_F(OrbctlSeries, AUnitAnsweringAgainIsRecognisedAndNotWrittenAgain) {
    // Without --next-unit the same unit answers every hello: as if its button were pressed again.
    Units sim(dir, "unit.eep", {});
    Series running({QString::fromStdString(base), "--port", sim.port(), "--units",
                    QString::fromStdString(units), "--log", QString::fromStdString(log)});
    ASSERT_TRUE(running.waitForError("Toto zařízení už bylo v této sérii naprogramováno (řádek 2)."));
    running.signal(SIGTERM);
    const SeriesRun run = running.finish();
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(contains(run.err, "orbctl: Zatím nenaprogramováno: 4 řádky (řádek 3 CHATA-2")) << run.err;
    const auto lines = logLines(log);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[1][Programmed], "ano");
    for (auto line = lines.begin() + 2; line != lines.end(); ++line) {
        // The signal may come while the unit is greeted again and not yet recognised: that last record
        // names no row.
        if (line + 1 == lines.end() && (*line)[Row].empty()) continue;
        EXPECT_EQ((*line)[Row], "2") << (*line)[Outcome];
        EXPECT_EQ((*line)[Programmed], "ne") << (*line)[Outcome];
    }
    // It still holds the first row's image: nothing was written into it again.
    EXPECT_TRUE(holdsImage(dir.file("unit.eep"), rowImage("CHATA-1", "1111", "+420602000001")));
}

TEST_F(OrbctlSeries, AStoppedSeriesRunAgainWithTheSameCommandProgramsEachRowExactlyOnce) {
    Units today(dir, "today.eep", {"--next-unit", "0", "--pace"});
    Series stopped({QString::fromStdString(base), "--port", today.port(), "--units",
                    QString::fromStdString(units), "--log", QString::fromStdString(log)});
    ASSERT_TRUE(stopped.waitForError("řádek 2 CHATA-1: Data byla úspěšně uložena"));
    stopped.signal(SIGTERM);
    EXPECT_EQ(stopped.finish().status, 3);

    // The next day the unit that got row 2 is plugged in first again, then new units.
    const std::vector<std::uint8_t> rowTwo = TempDir::read(today.eeprom(1));
    dir.write("tomorrow.eep", rowTwo);
    Units tomorrow(dir, "tomorrow.eep", {"--next-unit", "0"});
    const SeriesRun run = series({QString::fromStdString(base), "--port", tomorrow.port(), "--units",
                                  QString::fromStdString(units), "--log", QString::fromStdString(log)});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(
        contains(run.err, "orbctl: Podle protokolu už je naprogramováno 1 z 5 řádků (řádek 2 CHATA-1)"))
        << run.err;
    EXPECT_TRUE(contains(run.err, "Toto zařízení už bylo v této sérii naprogramováno (řádek 2).")) << run.err;
    EXPECT_EQ(TempDir::read(tomorrow.eeprom(1)), rowTwo);
    std::map<std::string, int> programmed;
    const auto lines = logLines(log);
    for (auto line = lines.begin() + 1; line != lines.end(); ++line) {
        // The stop may have come while the next unit was greeted, before it was given a row: that record
        // names no row and programmed nothing.
        if ((*line)[Row].empty()) {
            EXPECT_EQ((*line)[Programmed], "ne") << (*line)[Outcome];
            continue;
        }
        programmed[(*line)[Row]] += (*line)[Programmed] == "ano" ? 1 : 0;
    }
    EXPECT_EQ(programmed, (std::map<std::string, int>{{"2", 1}, {"3", 1}, {"4", 1}, {"5", 1}, {"6", 1}}));

    // --again programs them anew.
    Units again(dir, "again.eep", {"--next-unit", "0"});
    const SeriesRun anew =
        series({QString::fromStdString(base), "--port", again.port(), "--units",
                QString::fromStdString(units), "--log", QString::fromStdString(log), "--again"});
    EXPECT_EQ(anew.status, 0) << anew.err;
    EXPECT_TRUE(contains(anew.err, "orbctl: Naprogramováno: 5 zařízení")) << anew.err;
}

TEST_F(OrbctlSeries, AUnitHoldingOtherSettingsIsBackedUpBesideTheLogAndWithoutALogLeftAlone) {
    const std::string one = "tabJmenoStanice,tabPIN\nCHATA-1,1111\n";
    const std::string oneRow = dir.write("jeden.csv", {one.begin(), one.end()});
    const std::vector<std::uint8_t> foreign = testing_support::ExampleImage();
    {
        dir.write("cizi.eep", foreign);
        Units sim(dir, "cizi.eep", {"--next-unit", "0"});
        const SeriesRun run = series(
            {QString::fromStdString(base), "--port", sim.port(), "--units", QString::fromStdString(oneRow)});
        EXPECT_TRUE(contains(run.err, "orbctl: Bez --log se nikde nezaznamená, co je hotovo")) << run.err;
        EXPECT_TRUE(contains(run.err, "Zařízení má jiné platné nastavení a nezapíše se")) << run.err;
        const std::vector<std::uint8_t> kept = TempDir::read(sim.eeprom(1));
        EXPECT_TRUE(std::equal(foreign.begin(), foreign.end(), kept.begin()));
        EXPECT_EQ(TempDir::read(sim.eeprom(2)).size(), 256u); // the next unit got the row
    }
    dir.write("cizi.eep", foreign);
    Units sim(dir, "cizi.eep", {"--next-unit", "0"});
    const SeriesRun run = series({QString::fromStdString(base), "--port", sim.port(), "--units",
                                  QString::fromStdString(oneRow), "--log", QString::fromStdString(log)});
    EXPECT_EQ(run.status, 0) << run.err;
    const auto lines = logLines(log);
    ASSERT_EQ(lines.size(), 2u);
    const std::string backup = lines[1][Backup];
    EXPECT_TRUE(backup.starts_with(dir.file("protokol-zalohy") + "/")) << backup;
    const std::vector<std::uint8_t> saved = TempDir::read(backup);
    ASSERT_EQ(saved.size(), 256u);
    EXPECT_TRUE(std::equal(foreign.begin(), foreign.end(), saved.begin()));
    EXPECT_TRUE(holdsImage(sim.eeprom(1), rowImage("CHATA-1", "1111", "")));
}

TEST_F(OrbctlSeries, AUnitUnpluggedInItsWriteIsCountedAsFailedAndNamedAndItsRowGoesToTheNextUnit) {
    Units hanging(dir, "a.eep", {"--hangup-after", "42"});
    Units b(dir, "b.eep", {"--next-unit", "300"});
    const SeriesRun run =
        series({QString::fromStdString(base), "--port", hanging.port(), "--port", b.port(), "--units",
                QString::fromStdString(units), "--log", QString::fromStdString(log)});
    // Every row was programmed, but a unit holds no valid settings now: that is no success.
    EXPECT_EQ(run.status, 3) << run.err;
    const auto lines = logLines(log);
    ASSERT_EQ(lines.size(), 7u) << run.err;
    std::map<std::string, std::vector<std::string>> attempts;
    std::string unpluggedRow;
    for (auto line = lines.begin() + 1; line != lines.end(); ++line) {
        attempts[(*line)[Row]].push_back((*line)[Programmed]);
        if ((*line)[LeftWithoutSettings] == "ano") unpluggedRow = (*line)[Row];
    }
    int failed = 0;
    for (const auto& [row, outcomes] : attempts) {
        EXPECT_EQ(outcomes.back(), "ano") << row;
        failed += static_cast<int>(outcomes.size()) - 1;
    }
    EXPECT_EQ(failed, 1);
    const std::string unit = hanging.port().toStdString() + " v ";
    EXPECT_TRUE(contains(run.err, "orbctl: Naprogramováno: 5 zařízení")) << run.err;
    EXPECT_TRUE(contains(run.err, "orbctl: Nepodařilo se: 1 zařízení (" + unit)) << run.err;
    EXPECT_TRUE(contains(run.err, "řádek " + unpluggedRow + " CHATA-")) << run.err;
    EXPECT_TRUE(contains(run.err, ", který pak dostalo jiné zařízení)\n")) << run.err;
    EXPECT_TRUE(contains(run.err, "orbctl: Bez platného nastavení zůstalo: 1 zařízení (" + unit)) << run.err;
    EXPECT_TRUE(contains(run.err, "orbctl: Zatím nenaprogramováno: 0 řádků\n")) << run.err;
}

TEST_F(OrbctlSeries, ALogWithATornLastLineGetsWholeRecordsAfterItAndNoCellASpreadsheetWouldRun) {
    const std::string torn =
        "\xEF\xBB\xBF" + CsvLine(RecordColumns(), ';') + "2024-05-01T10:15:02+02:00;COM 1;2;\"CHA";
    dir.write("protokol.csv", {torn.begin(), torn.end()});
    const std::string formulas = "tabJmenoStanice,tabPIN\n=1+2,1111\n@SUM(1+1),2222\n-3,3333\n";
    const std::string csv = dir.write("vzorce.csv", {formulas.begin(), formulas.end()});
    Units sim(dir, "unit.eep", {"--next-unit", "0"});
    const SeriesRun run = series({QString::fromStdString(base), "--port", sim.port(), "--units",
                                  QString::fromStdString(csv), "--log", QString::fromStdString(log)});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(contains(run.err, "orbctl: Poslední řádek protokolu '" + log + "' byl neúplný")) << run.err;
    const std::vector<std::uint8_t> bytes = TempDir::read(log);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.substr(0, torn.size() + 3), torn + "\"\r\n");
    // As a spreadsheet reads the cells: none begins with what would make it a formula.
    const std::vector<CsvRecord> records = ParseCsv(text, ';');
    ASSERT_EQ(records.size(), 5u);
    for (const CsvRecord& record : records)
        for (const std::string& cell : record.fields)
            EXPECT_TRUE(cell.empty() || std::string_view("=+-@").find(cell.front()) == std::string_view::npos)
                << cell;
    for (std::size_t unit = 2; unit < records.size(); ++unit)
        EXPECT_EQ(records[unit].fields.size(), RecordColumns().size());
    EXPECT_EQ(records[2].fields[Label], "'=1+2");
    EXPECT_EQ(records[3].fields[Label], "'@SUM(1+1)");
    EXPECT_EQ(records[4].fields[Label], "'-3");
}

TEST_F(OrbctlSeries, SigtermInTheMiddleDeactivatesEveryPortAndEndsWithTheSummaryAndTheLog) {
    Units a(dir, "a.eep", {"--next-unit", "0", "--pace"});
    Units b(dir, "b.eep", {"--next-unit", "0", "--pace"});
    Series running({QString::fromStdString(base), "--port", a.port(), "--port", b.port(), "--units",
                    QString::fromStdString(units), "--log", QString::fromStdString(log)});
    ASSERT_TRUE(running.waitForError("řádek 2 CHATA-1: Data byla úspěšně uložena"));
    running.signal(SIGTERM);
    const SeriesRun run = running.finish();
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(contains(run.err, "Program byl přerušen signálem SIGTERM.")) << run.err;
    EXPECT_TRUE(contains(run.err, "orbctl: Naprogramováno: ")) << run.err;
    EXPECT_TRUE(contains(run.err, "orbctl: Zatím nenaprogramováno: ")) << run.err;
    // Every unit the series reached was deactivated: after each port's last greeting, its last request.
    for (const Units* units : {&a, &b})
        EXPECT_TRUE(contains(lastRequestBesidesHellos(units->requests()), "deactivate")) << units->requests();
    const auto lines = logLines(log);
    EXPECT_GE(lines.size(), 3u);
}

TEST_F(OrbctlSeries, AParentKilledInTheMiddleOfAWriteLeavesEveryUnitDeactivatedAndNoWorkerRunning) {
    Units a(dir, "a.eep", {"--next-unit", "0", "--pace"});
    Units b(dir, "b.eep", {"--next-unit", "0", "--pace"});
    Series running({QString::fromStdString(base), "--port", a.port(), "--port", b.port(), "--units",
                    QString::fromStdString(units), "--log", QString::fromStdString(log)});
    // Piped, the series says when each port's write begins.
    ASSERT_TRUE(running.waitForError(": zápis začíná", 2));
    const std::vector<pid_t> workers = childrenOf(running.pid());
    ASSERT_EQ(workers.size(), 2u);
    running.signal(SIGKILL);
    EXPECT_EQ(running.finish().status, -1);
    EXPECT_TRUE(allEnd(workers));
    for (const Units* sim : {&a, &b}) {
        const std::string requests = sim->requests();
        EXPECT_TRUE(contains(requests, "write")) << requests;
        EXPECT_TRUE(contains(lastRequestBesidesHellos(requests), "deactivate")) << requests;
    }
}

TEST_F(OrbctlSeries, AWorkerVariableCarriedFromElsewhereMakesNoWorker) {
    Units sim(dir, "unit.eep", {"--next-unit", "0"});
    QProcessEnvironment carried = QProcessEnvironment::systemEnvironment();
    carried.insert("ORBCTL_SERIES_WORKER", "1");
    const SeriesRun run = Series({QString::fromStdString(base), "--port", sim.port(), "--units",
                                  QString::fromStdString(units), "--log", QString::fromStdString(log)},
                                 carried)
                              .finish();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(contains(run.err, "orbctl: Naprogramováno: 5 zařízení")) << run.err;
    EXPECT_EQ(logLines(log).size(), 6u);
    EXPECT_TRUE(holdsImage(sim.eeprom(5), rowImage("CHATA-5", "5555", "+420602000005")));
}

/// The user another user is to the one running the tests; root can plant that user's links.
constexpr uid_t Nobody = 65534;

TEST_F(OrbctlSeries, TheLogAndTheBackupFolderAreCheckedAsEverySaveBeforeAnyUnitIsGreeted) {
    Units sim(dir, "unit.eep", {"--next-unit", "0"});
    const std::string fifo = dir.file("roura.csv");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::string name;
        QStringList options;
        std::string refusal;
    };
    std::vector<Case> cases{{"a FIFO as the log",
                             {"--log", QString::fromStdString(fifo)},
                             "Do protokolu '" + fifo + "' nelze zapisovat. Je to zařízení nebo roura"}};
    // Links another user planted in a shared folder, to a file and a folder of root's.
    const std::string roots = dir.write("roots.csv", {'r', 'o', 'o', 't'});
    const std::string rootsFolder = dir.file("roots");
    std::filesystem::create_directory(rootsFolder);
    const std::string shared = dir.file("shared");
    std::filesystem::create_directory(shared);
    std::filesystem::permissions(shared, std::filesystem::perms::all | std::filesystem::perms::sticky_bit);
    const std::string plantedLog = shared + "/protokol.csv", plantedFolder = shared + "/zalohy";
    std::filesystem::create_symlink(roots, plantedLog);
    std::filesystem::create_symlink(rootsFolder, plantedFolder);
    if (::geteuid() == 0) {
        ASSERT_EQ(::lchown(plantedLog.c_str(), Nobody, Nobody), 0);
        ASSERT_EQ(::lchown(plantedFolder.c_str(), Nobody, Nobody), 0);
        const std::string foreign = "Je to symbolický odkaz ve sdílené složce '" + shared + "'";
        cases.push_back({"a planted link as the log",
                         {"--log", QString::fromStdString(plantedLog)},
                         "Do protokolu '" + plantedLog + "' nelze zapisovat. " + foreign});
        cases.push_back({"a planted link as the backup folder",
                         {"--backup-dir", QString::fromStdString(plantedFolder)},
                         "Do složky záloh '" + plantedFolder + "' nelze ukládat. " + foreign});
    }
    for (const Case& refused : cases) {
        SCOPED_TRACE(refused.name);
        const SeriesRun run = series(QStringList{QString::fromStdString(base), "--port", sim.port(),
                                                 "--units", QString::fromStdString(units)}
                                     << refused.options);
        EXPECT_EQ(run.status, 3) << run.err;
        EXPECT_TRUE(contains(run.err, "orbctl: " + refused.refusal)) << run.err;
    }
    EXPECT_FALSE(contains(sim.requests(), "hello"));
    EXPECT_EQ(TempDir::read(roots), (std::vector<std::uint8_t>{'r', 'o', 'o', 't'}));
    EXPECT_TRUE(std::filesystem::is_empty(rootsFolder));
}

TEST_F(OrbctlSeries, ACsvThatChangesAfterThePlanChangesNoUnit) {
    // A FIFO hands its first reader the rows that are checked and planned, and anyone who opens it after
    // that other rows.
    const std::string fifo = dir.file("jednotky-roura.csv");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string evil = "tabJmenoStanice,tabPIN,tabTC[0]\nEVIL-1,6666,+420602666001\n"
                             "EVIL-2,6667,+420602666002\n";
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (bool first = true; !done;) {
            const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd < 0) { // nobody reads it now
                QThread::msleep(5);
                continue;
            }
            const std::string& text = first ? FiveUnits : evil;
            EXPECT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
            ::close(fd);
            first = false;
            QThread::msleep(300); // the reader takes the end of what it got before anyone opens it again
        }
    });
    Units a(dir, "a.eep", {"--next-unit", "0"});
    Units b(dir, "b.eep", {"--next-unit", "0"});
    const SeriesRun run =
        series({QString::fromStdString(base), "--port", a.port(), "--port", b.port(), "--units",
                QString::fromStdString(fifo), "--log", QString::fromStdString(log)});
    done = true;
    writer.join();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(contains(run.err, "orbctl: Naprogramováno: 5 zařízení (řádek 2 CHATA-1,")) << run.err;
    std::vector<std::vector<std::uint8_t>> planned;
    for (int row = 1; row <= 5; ++row) {
        const std::string n = std::to_string(row);
        planned.push_back(rowImage("CHATA-" + n, n + n + n + n, "+42060200000" + n));
    }
    // Every unit holds a planned row's image, or nothing: one a port greeted once the rows were done.
    int programmed = 0;
    for (const Units* sim : {&a, &b})
        for (int unit = 1; std::filesystem::exists(sim->eeprom(unit)); ++unit) {
            const std::vector<std::uint8_t> bytes = TempDir::read(sim->eeprom(unit));
            const bool erased =
                std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0xFF; });
            const bool isPlanned = std::any_of(planned.begin(), planned.end(), [&](const auto& image) {
                return holdsImage(sim->eeprom(unit), image);
            });
            EXPECT_TRUE(erased || isPlanned) << sim->eeprom(unit);
            programmed += isPlanned ? 1 : 0;
        }
    EXPECT_EQ(programmed, 5);
    const auto lines = logLines(log);
    ASSERT_EQ(lines.size(), 6u);
    for (auto line = lines.begin() + 1; line != lines.end(); ++line)
        EXPECT_TRUE((*line)[Label].starts_with("CHATA-")) << (*line)[Label];
}

TEST_F(OrbctlSeries, StandardInputIsReadOnceByTheParentWithTwoPorts) {
    Units a(dir, "a.eep", {"--next-unit", "0"});
    Units b(dir, "b.eep", {"--next-unit", "0"});
    Series running({QString::fromStdString(base), "--port", a.port(), "--port", b.port(), "--units",
                    "/dev/stdin", "--log", QString::fromStdString(log)});
    running.input(FiveUnits);
    const SeriesRun run = running.finish();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(contains(run.err, "orbctl: Naprogramováno: 5 zařízení")) << run.err;
    EXPECT_EQ(logLines(log).size(), 6u);

    Series twice({"-", "--port", a.port(), "--units", "/dev/stdin"});
    twice.input("{}");
    const SeriesRun refused = twice.finish();
    EXPECT_EQ(refused.status, 2);
    EXPECT_TRUE(contains(refused.err, "standardní vstup lze číst jen jednou")) << refused.err;
}

TEST_F(OrbctlSeries, AnEscapeSequenceFromTheFilesNeverReachesTheTerminalRaw) {
    Units a(dir, "a.eep", {"--next-unit", "0"});
    Units b(dir, "b.eep", {"--next-unit", "0"});
    const auto raw = [](const std::string& text) {
        return std::any_of(text.begin(), text.end(), [](char c) { return c == '\x1B' || c == '\x07'; });
    };
    // In a value of UNITS.csv it is refused, and named as the terminal shows it.
    const std::string bad = "tabJmenoStanice,tabPIN\n\"CHATA\x1B]0;x\x07\",1111\n";
    const std::string badUnits = dir.write("zlute.csv", {bad.begin(), bad.end()});
    const SeriesRun refused = series(
        {QString::fromStdString(base), "--port", a.port(), "--units", QString::fromStdString(badUnits)});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(contains(refused.err, "(tabJmenoStanice): hodnota obsahuje řídicí znak \\u001B;"))
        << refused.err;
    EXPECT_FALSE(raw(refused.err));

    // A station name of the template's, which the settings allow, is shown and logged escaped, the same
    // with one port as with two.
    const std::string json = "{\"tabJmenoStanice\": \"X\\u001b[2J\\u0007\"}";
    const std::string escTemplate = dir.write("sablona-esc.json", {json.begin(), json.end()});
    const std::string csv = "tabJmenoStanice,tabPIN\n,1111\n,2222\n";
    const std::string pins = dir.write("piny.csv", {csv.begin(), csv.end()});
    std::vector<std::vector<std::vector<std::string>>> logs;
    for (const QStringList& ports :
         {QStringList{"--port", a.port()}, QStringList{"--port", a.port(), "--port", b.port()}}) {
        const std::string portsLog = dir.file("protokol" + std::to_string(ports.size()) + ".csv");
        const SeriesRun run = series(QStringList{QString::fromStdString(escTemplate)}
                                     << ports << "--units" << QString::fromStdString(pins) << "--log"
                                     << QString::fromStdString(portsLog) << "--again");
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_FALSE(raw(run.err)) << run.err;
        EXPECT_TRUE(contains(run.err, "řádek 2 X\\u001B[2J\\u0007")) << run.err;
        const std::vector<std::uint8_t> bytes = TempDir::read(portsLog);
        EXPECT_FALSE(raw({bytes.begin(), bytes.end()}));
        logs.push_back(logLines(portsLog));
    }
    ASSERT_EQ(logs[0].size(), 3u);
    ASSERT_EQ(logs[1].size(), 3u);
    for (std::size_t line = 1; line < 3; ++line)
        EXPECT_EQ(logs[0][line][Label], "X\\u001B[2J\\u0007");
    std::set<std::string> twoPorts{logs[1][1][Label], logs[1][2][Label]};
    EXPECT_EQ(twoPorts, std::set<std::string>{"X\\u001B[2J\\u0007"});
}

TEST_F(OrbctlSeries, AStopSignalWhileTheWorkersStartEndsWithTheSummaryAndStatus3) {
    Units a(dir, "a.eep", {"--next-unit", "0", "--pace"});
    Units b(dir, "b.eep", {"--next-unit", "0", "--pace"});
    Series running({QString::fromStdString(base), "--port", a.port(), "--port", b.port(), "--units",
                    QString::fromStdString(units), "--log", QString::fromStdString(log)});
    // The moment the first worker exists.
    for (int turn = 0; turn < 300000 && childrenOf(running.pid()).empty(); ++turn)
        QThread::usleep(100);
    running.signal(SIGTERM);
    const SeriesRun run = running.finish();
    EXPECT_EQ(run.status, 3) << run.err;
    EXPECT_TRUE(contains(run.err, "Program byl přerušen signálem SIGTERM.")) << run.err;
    EXPECT_TRUE(contains(run.err, "orbctl: Zatím nenaprogramováno: 5 řádků")) << run.err;
    for (const Units* sim : {&a, &b}) {
        const std::string last = lastRequestBesidesHellos(sim->requests());
        EXPECT_TRUE(last.empty() || contains(last, "deactivate")) << sim->requests();
    }
}

} // namespace
} // namespace orb
