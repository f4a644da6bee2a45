// Runs the built orbctl as a user would, checking its output and exit statuses; the device commands talk
// to the simulated unit on a pseudo-terminal.
#include "cli/tests/CliTestSupport.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSerialPort>
#include <QStringList>
#include <QThread>
#include <regex>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace orb {
namespace {

using testing_support::TempDir;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

/// Starts orbctl with COM 1 on the port, when one is given; as an ordinary user when unprivileged (root
/// passes every permission check, so as root it runs as nobody then).
void start(QProcess& process, const QStringList& args, const QString& port = {}, bool unprivileged = false) {
    if (!port.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("ORB_COM1", port);
        process.setProcessEnvironment(environment);
    }
    if (unprivileged && ::geteuid() == 0)
        process.start("setpriv",
                      QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", ORBCTL_PATH} + args);
    else
        process.start(ORBCTL_PATH, args);
}

Outcome finish(QProcess& process) {
    EXPECT_TRUE(process.waitForFinished(120000)) << process.arguments().join(' ').toStdString();
    Outcome run{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString()};
    return run;
}

Outcome orbctl(const QStringList& args, const QString& port = {}) {
    QProcess process;
    start(process, args, port);
    return finish(process);
}

/// Runs orbctl with the bytes on its standard input.
Outcome orbctlFed(const QStringList& args, const std::string& input) {
    QProcess process;
    start(process, args);
    process.write(input.data(), static_cast<qint64>(input.size()));
    process.closeWriteChannel();
    return finish(process);
}

/// Runs orbctl with its standard output on a full disk (/dev/full).
Outcome orbctlOnFullDisk(const QStringList& args, const QString& port = {}) {
    QProcess process;
    process.setStandardOutputFile(QStringLiteral("/dev/full"));
    start(process, args, port);
    return finish(process);
}

const std::string NoRoomForOutput = "orbctl: Zápis na standardní výstup se nezdařil. Na disku není místo.\n";

/// Runs orbctl as an ordinary user, with COM 1 on the port when one is given.
Outcome orbctlUnprivileged(const QStringList& args, const QString& port = {}) {
    QProcess process;
    start(process, args, port, true);
    return finish(process);
}

/// Reads what a FIFO holds now, without waiting for more.
std::string drain(int fifo) {
    std::string text;
    char chunk[4096];
    for (ssize_t n; (n = ::read(fifo, chunk, sizeof chunk)) > 0;)
        text.append(chunk, static_cast<std::size_t>(n));
    return text;
}

/// Runs orbctl once for each argument list, a few at a time, and returns the outcomes in order.
std::vector<Outcome> orbctlEach(const std::vector<QStringList>& runs) {
    constexpr std::size_t Batch = 8;
    std::vector<Outcome> outcomes;
    for (std::size_t first = 0; first < runs.size(); first += Batch) {
        std::vector<std::unique_ptr<QProcess>> batch;
        for (std::size_t i = first; i < std::min(first + Batch, runs.size()); ++i) {
            batch.push_back(std::make_unique<QProcess>());
            start(*batch.back(), runs[i]);
        }
        for (const auto& process : batch)
            outcomes.push_back(finish(*process));
    }
    return outcomes;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
        end = text.find('\n', start);
        result.push_back(text.substr(start, end - start));
    }
    return result;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

/// Tells whether the output has the line that ends a transfer, with what moved as given and any time.
bool hasTransferLine(const std::string& err, const std::string& moved) {
    return std::regex_search(err, std::regex("(^|\n)" + moved + ", \\d+,\\d s, \\d+ % linky\n"));
}

class OrbctlFiles : public testing::Test {
  protected:
    TempDir dir;
    QString defaults = QString::fromStdString(dir.write("default.eep", testing_support::DefaultImage()));
    QString example = QString::fromStdString(dir.write("example.eep", testing_support::ExampleImage()));
    QString file(const char* name) const { return QString::fromStdString(dir.file(name)); }
};

TEST_F(OrbctlFiles, UsageErrorsAndHelp) {
    EXPECT_EQ(orbctl({}).status, 2);
    EXPECT_EQ(orbctl({"show"}).status, 2);
    EXPECT_EQ(orbctl({"read", "--port", "9"}).status, 2);
    const Outcome bogus = orbctl({"show", "--bogus"});
    EXPECT_EQ(bogus.status, 2);
    EXPECT_EQ(bogus.err, "orbctl: neznámá volba '--bogus' (orbctl --help)\n");
    const Outcome help = orbctl({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(contains(help.out, "orbctl write SOUBOR.eep --port PORT [--no-verify]"));
    EXPECT_EQ(orbctl({"diff", "--help"}).status, 0);
    const Outcome version = orbctl({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "orbctl " ORB_VERSION "\n");
}

TEST_F(OrbctlFiles, OutputThatCannotBeWrittenFailsEveryCommand) {
    const QStringList commands[] = {
        {"--help"}, {"--version"}, {"show", example},           {"export", example},
        {"schema"}, {"ports"},     {"diff", defaults, example},
    };
    for (const QStringList& args : commands) {
        const Outcome run = orbctlOnFullDisk(args);
        EXPECT_EQ(run.status, 3) << args.join(' ').toStdString();
        EXPECT_TRUE(contains(run.err, NoRoomForOutput)) << args.join(' ').toStdString() << ": " << run.err;
    }
    QProcess closed;
    closed.start("sh", {"-c", "exec \"$0\" show \"$1\" >&-", ORBCTL_PATH, example});
    const Outcome run = finish(closed);
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err, "orbctl: Zápis na standardní výstup se nezdařil. Standardní výstup je zavřený.\n");
    // Nothing written, nothing lost: a closed standard output is no failure then.
    QProcess quiet;
    quiet.start("sh", {"-c", "exec \"$0\" import \"$1\" -o \"$2\" >&-", ORBCTL_PATH,
                       QString::fromStdString(dir.write("empty.json", {'{', '}'})), file("quiet.eep")});
    EXPECT_EQ(finish(quiet).status, 0);
}

TEST_F(OrbctlFiles, ShowPrintsTheReportLines) {
    const Outcome show = orbctl({"show", example});
    EXPECT_EQ(show.status, 0) << show.err;
    const std::vector<std::string> report = lines(show.out);
    ASSERT_EQ(report.size(), 46u);
    EXPECT_EQ(report[4], "Jméno stanice: CHATA");
    EXPECT_EQ(report[16], "T0; +12345; 0; 0; ");
    EXPECT_EQ(report[28], "I1; ; ; ; ; ; 0; 0; 0; 0; ");
}

TEST_F(OrbctlFiles, ExportThenImportGivesTheSameFile) {
    const Outcome exported = orbctl({"export", example, "-o", file("example.json")});
    ASSERT_EQ(exported.status, 0) << exported.err;
    // GNU conventions: an option before its command, a value attached or after "=", "--" before a file.
    const Outcome imported =
        orbctl({"--memory=256", "import", "-o" + file("copy.eep"), "--", file("example.json")});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(TempDir::read(file("copy.eep").toStdString()), testing_support::ExampleImage());
}

TEST_F(OrbctlFiles, ImportRefusalWritesNothing) {
    dir.write("bad.json", {'{', '"', 't', 'a', 'b', 'P', 'I', 'N', '"', ':', '"', 'x', '"', '}'});
    const Outcome run = orbctl({"import", file("bad.json"), "-o", file("out.eep")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "orbctl: " + dir.file("bad.json") + ": tabPIN: PIN je špatně zadán.\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.eep")));

    dir.write("broken.json", {'{', '"'});
    EXPECT_EQ(orbctl({"import", file("broken.json"), "-o", file("out.eep")}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.eep")));

    // A number beyond every numeric type is malformed JSON too, not a failure of the program.
    dir.write("huge.json", {'5', 'E', '6', '9', '5'});
    EXPECT_EQ(orbctl({"import", file("huge.json"), "-o", file("out.eep")}).status, 1);
}

TEST_F(OrbctlFiles, ImportSaysEveryCorrectionAndStrictRefusesThem) {
    const std::string json = R"({"tabWaitFree": 169, "tabKOMUNIKPocetBloku": "0"})";
    const std::string corrections =
        "tabWaitFree: 169 -> \"90\" (opraveno podle pravidla pole)\n"
        "orbctl: -: tabKOMUNIKPocetBloku: \"0\" -> \"1\" (opraveno podle pravidla pole)";
    const Outcome corrected = orbctlFed({"import", "-", "-o", file("corrected.eep")}, json);
    EXPECT_EQ(corrected.status, 0);
    EXPECT_EQ(corrected.err, "orbctl: -: " + corrections + "\n");
    EXPECT_TRUE(std::filesystem::exists(dir.file("corrected.eep")));

    const Outcome strict = orbctlFed({"import", "-", "-o", file("strict.eep"), "--strict"}, json);
    EXPECT_EQ(strict.status, 1);
    EXPECT_TRUE(contains(strict.err, "tabWaitFree: 169 -> \"90\" (opraveno podle pravidla pole); s volbou "
                                     "--strict se soubor nezapíše.\n"))
        << strict.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("strict.eep")));
    // What needs no correction passes --strict.
    const Outcome exported = orbctl({"export", example});
    EXPECT_EQ(orbctlFed({"import", "-", "-o", file("same.eep"), "--strict"}, exported.out).status, 0);
    EXPECT_EQ(TempDir::read(dir.file("same.eep")), testing_support::ExampleImage());
}

TEST_F(OrbctlFiles, DiffListsTheChangedSettings) {
    const Outcome same = orbctl({"diff", example, example});
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.out, "");

    const Outcome changed = orbctl({"diff", defaults, example});
    EXPECT_EQ(changed.status, 1);
    EXPECT_EQ(changed.out, "tabJmenoStanice: \"\" -> \"CHATA\"\n"
                           "tabTC[0]: \"\" -> \"+12345\"\n"
                           "tabINPNazev[0]: \"\" -> \"A1\"\n");
}

TEST_F(OrbctlFiles, SchemaGoesToStandardOutputOrTheFile) {
    const Outcome printed = orbctl({"schema"});
    EXPECT_EQ(printed.status, 0) << printed.err;
    EXPECT_TRUE(contains(printed.out, "\"$schema\": \"https://json-schema.org/draft/2020-12/schema\""));
    ASSERT_EQ(orbctl({"schema", "-o", file("schema.json")}).status, 0);
    const std::vector<std::uint8_t> saved = TempDir::read(dir.file("schema.json"));
    EXPECT_EQ(std::string(saved.begin(), saved.end()), printed.out);
}

TEST_F(OrbctlFiles, UnreadableOrForeignFilesFailNamingTheFile) {
    // The system's cause follows in Czech.
    const std::string loadFailed = "orbctl: Při načítání nastavení programu ze souboru '";
    std::filesystem::create_directory(dir.file("folder.eep"));
    for (const auto& [path, cause] : std::vector<std::pair<std::string, std::string>>{
             {dir.file("missing.eep"), "Soubor nebo složka neexistuje."},
             {dir.file("folder.eep"), "Je to složka, ne soubor."},
             {"/dev/zero", "Soubor je příliš velký."}}) {
        const Outcome failed = orbctl({"show", QString::fromStdString(path)});
        EXPECT_EQ(failed.status, 3);
        EXPECT_EQ(failed.err, loadFailed + path + "' nastala chyba. " + cause + "\n");
    }

    std::vector<std::uint8_t> foreign = testing_support::DefaultImage();
    foreign[24] = 0; // no signature
    const Outcome notImage = orbctl({"export", QString::fromStdString(dir.write("foreign.eep", foreign))});
    EXPECT_EQ(notImage.status, 3);
    EXPECT_EQ(notImage.err, "orbctl: Data v souboru '" + dir.file("foreign.eep") +
                                "' nejsou v pořádku - neodpovídají formátu EEPROM.\n");
}

TEST_F(OrbctlFiles, TruncatedCopiesAreRefusedBeforeAnythingHappens) {
    const std::vector<std::uint8_t> whole = testing_support::ExampleImage();
    std::vector<std::string> cuts;
    std::vector<QStringList> shows;
    for (std::size_t length = 27; length < whole.size(); ++length) {
        cuts.push_back(
            dir.write("cut" + std::to_string(length) + ".eep", {whole.begin(), whole.begin() + length}));
        shows.push_back({"show", QString::fromStdString(cuts.back())});
    }
    const auto refusal = [](const std::string& cut) {
        return "orbctl: Data v souboru '" + cut + "' nejsou v pořádku - neodpovídají formátu EEPROM.\n";
    };
    const std::vector<Outcome> outcomes = orbctlEach(shows);
    for (std::size_t i = 0; i < cuts.size(); ++i) {
        SCOPED_TRACE(cuts[i]);
        EXPECT_EQ(outcomes[i].status, 3);
        EXPECT_EQ(outcomes[i].err, refusal(cuts[i]));
        EXPECT_EQ(outcomes[i].out, "");
    }

    // The same load serves every command; a write refuses before it opens the port.
    for (const std::string& cut : {cuts.front(), cuts[64 - 27], cuts.back()}) {
        SCOPED_TRACE(cut);
        const QString name = QString::fromStdString(cut);
        const Outcome exported = orbctl({"export", name, "-o", file("out.json")});
        const Outcome diff = orbctl({"diff", example, name});
        const Outcome write = orbctl({"write", name, "--port", "1"}, file("no-such-port"));
        for (const Outcome* run : {&exported, &diff, &write}) {
            EXPECT_EQ(run->status, 3);
            EXPECT_EQ(run->err, refusal(cut));
        }
        EXPECT_FALSE(std::filesystem::exists(dir.file("out.json")));
    }
}

TEST_F(OrbctlFiles, DevicesFifosAndTheStandardStreamsKeepWhatTheyAre) {
    const Outcome plain = orbctl({"export", example});
    ASSERT_EQ(plain.status, 0) << plain.err;

    const Outcome toNull = orbctl({"export", example, "-o", "/dev/null"});
    EXPECT_EQ(toNull.status, 0) << toNull.err;
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));

    for (const char* output : {"-", "/dev/stdout"}) {
        QProcess process;
        process.setWorkingDirectory(QString::fromStdString(dir.file("")));
        start(process, {"export", example, "-o", output});
        const Outcome run = finish(process);
        EXPECT_EQ(run.status, 0) << output << ": " << run.err;
        EXPECT_EQ(run.out, plain.out) << output;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("-")));

    const std::string pipe = dir.file("pipe.json");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const Outcome toFifo = orbctl({"export", example, "-o", QString::fromStdString(pipe)});
    EXPECT_EQ(toFifo.status, 0) << toFifo.err;
    EXPECT_EQ(drain(reader), plain.out);
    ::close(reader);
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));

    const std::vector<std::uint8_t> image = testing_support::ExampleImage();
    const Outcome fed = orbctlFed({"import", "-", "-o", file("fed.eep")}, plain.out);
    EXPECT_EQ(fed.status, 0) << fed.err;
    EXPECT_EQ(TempDir::read(dir.file("fed.eep")), image);
    const Outcome through = orbctlFed({"import", "-", "-o", "-"}, plain.out);
    EXPECT_EQ(through.out, std::string(image.begin(), image.end()));
    EXPECT_EQ(orbctlFed({"show", "-"}, through.out).out, orbctl({"show", example}).out);
}

TEST_F(OrbctlFiles, ReadOnlyTargetsAreRefusedNamingThem) {
    std::filesystem::permissions(dir.file(""), std::filesystem::perms::all); // open to nobody as well
    const std::string locked = dir.write("locked.json", {'o', 'l', 'd'});
    std::filesystem::permissions(locked,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::others_read);
    std::filesystem::create_directory(dir.file("sealed"));
    std::filesystem::permissions(dir.file("sealed"), std::filesystem::perms::owner_all |
                                                         std::filesystem::perms::others_read |
                                                         std::filesystem::perms::others_exec);
    const std::string saveFailed = "orbctl: Při ukládání nastavení programu do souboru '";

    const Outcome file = orbctlUnprivileged({"export", example, "-o", QString::fromStdString(locked)});
    EXPECT_EQ(file.status, 3);
    EXPECT_EQ(file.err, saveFailed + locked + "' nastala chyba. Nemáte právo do souboru zapisovat.\n");
    EXPECT_EQ(TempDir::read(locked), (std::vector<std::uint8_t>{'o', 'l', 'd'}));

    const std::string inSealed = dir.file("sealed/new.json");
    const Outcome folder = orbctlUnprivileged({"export", example, "-o", QString::fromStdString(inSealed)});
    EXPECT_EQ(folder.status, 3);
    EXPECT_EQ(folder.err, saveFailed + inSealed + "' nastala chyba. Nemáte právo zapisovat do složky '" +
                              dir.file("sealed") + "'.\n");
    EXPECT_FALSE(std::filesystem::exists(inSealed));
}

TEST_F(OrbctlFiles, LinkToAMissingFileCreatesIt) {
    std::filesystem::create_symlink("made.json", dir.file("link.json"));
    const Outcome run = orbctl({"export", example, "-o", file("link.json")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.json")));
    const std::vector<std::uint8_t> made = TempDir::read(dir.file("made.json"));
    EXPECT_EQ(std::string(made.begin(), made.end()), orbctl({"export", example}).out);
}

/// The simulated unit on a pseudo-terminal for one test; orbctl reaches it as COM 1.
class SimulatedUnit {
  public:
    SimulatedUnit(const TempDir& dir, const QStringList& options)
        : log_(dir.file("unit" + std::to_string(++count_) + ".log")) {
        // Unpaced unless the options ask for the line's pace.
        process_.start(qEnvironmentVariable("ORB_TOOLS_DIR") + "/orbsim",
                       QStringList{"--no-pace"} << options << "--log" << QString::fromStdString(log_));
        if (!process_.waitForReadyRead(10000)) throw std::runtime_error("orbsim did not start");
        port_ = QString::fromUtf8(process_.readLine()).trimmed();
    }
    ~SimulatedUnit() {
        process_.terminate();
        process_.waitForFinished(5000);
    }

    const QString& port() const { return port_; }
    /// Counts the logged requests whose meaning starts with the word ("write", "read", "deactivate").
    int requests(const std::string& word) const {
        const std::vector<std::uint8_t> log = TempDir::read(log_);
        int count = 0;
        for (const std::string& line : lines(std::string(log.begin(), log.end())))
            count += contains(line, "  " + word);
        return count;
    }

  private:
    static inline int count_ = 0;
    std::string log_;
    QProcess process_;
    QString port_;
};

using OrbctlDevice = OrbctlFiles;

TEST_F(OrbctlDevice, WriteThenReadGivesTheSettingsBack) {
    SimulatedUnit unit(dir, {"--memory", "256"});
    const Outcome write = orbctl({"write", example, "--port", "1"}, unit.port());
    EXPECT_EQ(write.status, 0) << write.err;
    EXPECT_TRUE(
        contains(write.err, "ORB - Ukládání dat z PC do EEPROM: Data byla úspěšně uložena do EEPROM."));
    // Nothing to confirm on a terminal: orbctl greets the unit until it answers.
    EXPECT_TRUE(contains(write.err, "Program se mezitím stále pokouší navázat komunikaci, dokud zařízení "
                                    "neodpoví nebo dokud jej nepřerušíte klávesami Ctrl+C."))
        << write.err;
    EXPECT_FALSE(contains(write.err, "potvrďte")) << write.err;

    const Outcome read = orbctl({"read", "--port", "1", "-o", file("back.eep")}, unit.port());
    EXPECT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(TempDir::read(dir.file("back.eep")), testing_support::ExampleImage());

    const Outcome show = orbctl({"read", "--port", "1"}, unit.port());
    EXPECT_EQ(show.status, 0) << show.err;
    EXPECT_TRUE(contains(show.out, "\nJméno stanice: CHATA\n"));
    EXPECT_EQ(unit.requests("deactivate"), 3);
}

TEST_F(OrbctlDevice, ValuesNoRuleAllowsAreNamedAndWrittenOnlyWhenForced) {
    // The option block is not covered by the header's checksum: validity 0 - 166 days, no blocks.
    std::vector<std::uint8_t> bytes = testing_support::ExampleImage();
    bytes[33] = 0;
    bytes[39] = 0;
    const QString outside = QString::fromStdString(dir.write("outside.eep", bytes));
    const std::string named = "orbctl: " + outside.toStdString() +
                              ": tabDobaPlatnostiSMS: hodnota \"-166\" je mimo rozsah pole (1 až 30).\n"
                              "orbctl: " +
                              outside.toStdString() +
                              ": tabKOMUNIKPocetBloku: hodnota \"0\" je mimo rozsah pole (1 až 100).\n";
    for (const char* command : {"show", "export"}) {
        const Outcome run = orbctl({command, outside});
        EXPECT_EQ(run.status, 0) << command;
        EXPECT_EQ(run.err, named) << command;
    }

    SimulatedUnit unit(dir, {"--memory", "256"});
    const Outcome refused = orbctl({"write", outside, "--port", "1"}, unit.port());
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, named + "orbctl: " + outside.toStdString() +
                               ": soubor má hodnoty, které pravidla polí nepovolují; do zařízení se nezapíše "
                               "(zapíše ho volba --force).\n");
    EXPECT_EQ(unit.requests("write"), 0);

    const Outcome forced = orbctl({"write", outside, "--port", "1", "--force"}, unit.port());
    EXPECT_EQ(forced.status, 0) << forced.err;
    // The unit now holds them, and its read names them too.
    const Outcome read = orbctl({"read", "--port", "1", "-o", file("back.eep")}, unit.port());
    EXPECT_EQ(read.status, 0) << read.err;
    EXPECT_TRUE(contains(read.err, ": tabKOMUNIKPocetBloku: hodnota \"0\" je mimo rozsah pole (1 až 100).\n"))
        << read.err;
}

TEST_F(OrbctlDevice, EveryReadAndWriteEndsWithWhatMovedAndHowFast) {
    // Replies 1 to 5 answer the activation; reply 10 is the first write of block 8.
    SimulatedUnit unit(dir, {"--memory", "256", "--drop", "10"});
    const Outcome write = orbctl({"write", example, "--port", "1"}, unit.port());
    EXPECT_EQ(write.status, 0) << write.err;
    EXPECT_TRUE(hasTransferLine(write.err, "1056 B, 132 bloků, 1 opakování")) << write.err;

    // The unit's EEPROM comes from a file of its own: the simulator writes it back there.
    const QString eeprom = QString::fromStdString(dir.write("eeprom.bin", testing_support::ExampleImage()));
    SimulatedUnit paced(dir, {"--memory", "256", "--eeprom", eeprom, "--pace"});
    const Outcome read = orbctl({"read", "--port", "1"}, paced.port());
    EXPECT_EQ(read.status, 0) << read.err;
    EXPECT_TRUE(hasTransferLine(read.err, "256 B, 32 bloků, 0 opakování")) << read.err;

    // A unit that hangs up in the middle of the write: what moved until then.
    SimulatedUnit hangingUp(dir, {"--memory", "256", "--hangup-after", "11"});
    const Outcome cut = orbctl({"write", example, "--port", "1"}, hangingUp.port());
    EXPECT_EQ(cut.status, 3);
    EXPECT_TRUE(hasTransferLine(cut.err, "40 B, 5 bloků, 0 opakování")) << cut.err;
}

TEST_F(OrbctlDevice, DiffComparesAFileWithTheUnit) {
    SimulatedUnit unit(dir, {"--memory", "256"});
    ASSERT_EQ(orbctl({"write", example, "--port", "1"}, unit.port()).status, 0);

    const Outcome same = orbctl({"diff", example, "--port", "1"}, unit.port());
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, "");

    const Outcome changed = orbctl({"diff", "--port", "1", defaults}, unit.port());
    EXPECT_EQ(changed.status, 1) << changed.err;
    EXPECT_EQ(changed.out, "tabJmenoStanice: \"\" -> \"CHATA\"\n"
                           "tabTC[0]: \"\" -> \"+12345\"\n"
                           "tabINPNazev[0]: \"\" -> \"A1\"\n");
    EXPECT_EQ(unit.requests("deactivate"), 3);

    SimulatedUnit blank(dir, {});
    const Outcome unprogrammed = orbctl({"diff", example, "--port", "1"}, blank.port());
    EXPECT_EQ(unprogrammed.status, 3);
    EXPECT_EQ(unprogrammed.out, "");
    EXPECT_EQ(orbctl({"diff", example, defaults, "--port", "1"}).status, 2);
    EXPECT_EQ(orbctl({"diff", example}).status, 2);
}

TEST_F(OrbctlDevice, AReadWholeIsSavedThoughTheDeactivationGetsNoReply) {
    // Replies 1 to 5 answer the activation, 6 to 37 the read, 38 its closing identify; 39 deactivates.
    const QString eeprom = QString::fromStdString(dir.write("eeprom.bin", testing_support::ExampleImage()));
    SimulatedUnit unit(dir, {"--memory", "256", "--eeprom", eeprom, "--late", "39:300"});
    const Outcome read = orbctl({"read", "--port", "1", "-o", file("read.eep")}, unit.port());
    EXPECT_EQ(read.status, 3) << read.err;
    EXPECT_EQ(TempDir::read(dir.file("read.eep")), testing_support::ExampleImage());
    EXPECT_TRUE(contains(read.err, "Data byla úspěšně načtena z EEPROM.")) << read.err;
    EXPECT_TRUE(contains(read.err, "): Zařízení je zřejmě stále v programovacím módu.\n")) << read.err;
}

TEST_F(OrbctlDevice, SettingsOnlyMovesTheImagesBlocksAndLeavesTheRestOfTheMemory) {
    // A 64 KiB unit holding the example's settings, with a pattern in every byte beyond them.
    const std::vector<std::uint8_t> image = testing_support::ExampleImage();
    std::vector<std::uint8_t> memory(65536);
    for (std::size_t i = 0; i < memory.size(); ++i)
        memory[i] = i < image.size() ? image[i] : static_cast<std::uint8_t>(i * 7 + 3);
    const std::string eeprom = dir.write("eeprom.bin", memory);
    const int imageBlocks = static_cast<int>(image.size() + 7) / 8;
    {
        SimulatedUnit unit(dir, {"--memory", "65536", "--eeprom", QString::fromStdString(eeprom)});
        const Outcome part =
            orbctl({"read", "--port", "1", "--settings-only", "-o", file("part.eep")}, unit.port());
        EXPECT_EQ(part.status, 0) << part.err;
        EXPECT_EQ(unit.requests("read"), imageBlocks);
        EXPECT_TRUE(hasTransferLine(part.err, std::to_string(imageBlocks * 8) + " B, " +
                                                  std::to_string(imageBlocks) + " bloků, 0 opakování"))
            << part.err;
        const Outcome whole = orbctl({"read", "--port", "1", "-o", file("whole.eep")}, unit.port());
        EXPECT_EQ(whole.status, 0) << whole.err;
        EXPECT_EQ(TempDir::read(dir.file("part.eep")), image);
        EXPECT_EQ(TempDir::read(dir.file("whole.eep")), image);

        // The default settings are shorter: only their blocks change, in the protective order.
        const Outcome write = orbctl({"write", defaults, "--port", "1", "--settings-only"}, unit.port());
        EXPECT_EQ(write.status, 0) << write.err;
    }
    const std::vector<std::uint8_t> defaultImage = testing_support::DefaultImage();
    const std::size_t covered = (defaultImage.size() + 7) / 8 * 8;
    std::vector<std::uint8_t> expected = memory;
    std::copy(defaultImage.begin(), defaultImage.end(), expected.begin());
    // Within the last block the image covers, the bytes beyond its end come from the program's buffer.
    std::vector<std::uint8_t> held = TempDir::read(eeprom);
    ASSERT_EQ(held.size(), expected.size());
    EXPECT_TRUE(std::equal(defaultImage.begin(), defaultImage.end(), held.begin()));
    EXPECT_TRUE(std::equal(expected.begin() + static_cast<std::ptrdiff_t>(covered), expected.end(),
                           held.begin() + static_cast<std::ptrdiff_t>(covered)));

    // Interrupted in its first pass, a settings-only write leaves a unit that reads as not programmed,
    // and both reads say so alike.
    {
        SimulatedUnit unit(
            dir, {"--memory", "65536", "--eeprom", QString::fromStdString(eeprom), "--hangup-after", "12"});
        EXPECT_EQ(orbctl({"write", example, "--port", "1", "--settings-only"}, unit.port()).status, 3);
    }
    SimulatedUnit unit(dir, {"--memory", "65536", "--eeprom", QString::fromStdString(eeprom)});
    for (const bool settingsOnly : {true, false}) {
        QStringList args{"read", "--port", "1"};
        if (settingsOnly) args << "--settings-only";
        const Outcome read = orbctl(args, unit.port());
        EXPECT_EQ(read.status, 3) << read.err;
        EXPECT_TRUE(contains(read.err, "EEPROM zřejmě není naprogramována.")) << read.err;
    }
}

TEST_F(OrbctlDevice, AReportThatCannotBeWrittenFailsTheRead) {
    SimulatedUnit unit(dir, {"--memory", "256"});
    ASSERT_EQ(orbctl({"write", example, "--port", "1"}, unit.port()).status, 0);
    const Outcome read = orbctlOnFullDisk({"read", "--port", "1"}, unit.port());
    EXPECT_EQ(read.status, 3);
    EXPECT_TRUE(contains(read.err, NoRoomForOutput)) << read.err;
}

TEST_F(OrbctlDevice, WriteWithoutVerifyReadsBackOnlyTheHeader) {
    SimulatedUnit unit(dir, {"--memory", "256"});
    EXPECT_EQ(orbctl({"write", example, "--port", "1", "--no-verify"}, unit.port()).status, 0);
    EXPECT_EQ(unit.requests("read"), 1);
    EXPECT_EQ(unit.requests("write"), 2 * 32 + 2);
}

TEST_F(OrbctlDevice, ReadRefusesAnUnwritableOutputBeforeTheTransfer) {
    SimulatedUnit unit(dir, {"--memory", "256"});
    for (const char* target : {"nowhere/back.eep", "example.eep/back.eep", "."}) {
        SCOPED_TRACE(target);
        const Outcome read = orbctl({"read", "--port", "1", "-o", file(target)}, unit.port());
        EXPECT_EQ(read.status, 3);
        // The message is the one the save gives once it has the content.
        const Outcome save = orbctl({"export", example, "-o", file(target)});
        EXPECT_EQ(read.err, save.err);
        EXPECT_TRUE(contains(read.err, "nastala chyba. ")) << read.err;
    }
    EXPECT_EQ(unit.requests("hello"), 0);
}

TEST_F(OrbctlDevice, RefusalsExitOneAndLeaveTheUnitDeactivated) {
    SimulatedUnit tal(dir, {"--product", "TAL"});
    const Outcome refused = orbctl({"read", "--port", "1"}, tal.port());
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(contains(refused.err, "Touto verzí programu lze naprogramovat pouze zařízení ORB."))
        << refused.err;
    EXPECT_EQ(tal.requests("deactivate"), 1);

    SimulatedUnit small(dir, {"--memory", "128"});
    const Outcome tooLarge = orbctl({"write", defaults, "--port", "1"}, small.port());
    EXPECT_EQ(tooLarge.status, 1);
    EXPECT_TRUE(contains(tooLarge.err,
                         "Velikost dat v nastavení (150 byte) je větší než je možno vložit do EEPROM "
                         "(   128 byte)."))
        << tooLarge.err;
    EXPECT_EQ(small.requests("write"), 0);
    EXPECT_EQ(small.requests("deactivate"), 1);
}

TEST_F(OrbctlDevice, PortNamedByItsDevice) {
    SimulatedUnit unit(dir, {"--memory", "256"});
    const Outcome write = orbctl({"write", example, "--port", unit.port()});
    EXPECT_EQ(write.status, 0) << write.err;
    EXPECT_TRUE(
        contains(write.err, "orbctl: " + unit.port().toStdString() +
                                ": ORB - Ukládání dat z PC do EEPROM: Data byla úspěšně uložena do EEPROM."))
        << write.err;

    // A device that is also COM 1 is named as COM 1, as the window's port list shows it.
    const Outcome read = orbctl({"read", "--port", unit.port()}, unit.port());
    EXPECT_EQ(read.status, 0) << read.err;
    EXPECT_TRUE(contains(read.err, "orbctl: COM 1 (" + unit.port().toStdString() + "): ")) << read.err;

    const Outcome missing = orbctl({"read", "--port", file("no-such-port")});
    EXPECT_EQ(missing.status, 3);
    EXPECT_TRUE(
        contains(missing.err, "Otevírání portu: Nelze otevřít port " + dir.file("no-such-port") + ".\n"))
        << missing.err;
    EXPECT_TRUE(contains(missing.err, "Zařízení " + dir.file("no-such-port") + " neexistuje.\n"))
        << missing.err;
}

TEST_F(OrbctlDevice, PortsListTheUnitAsTheComPortItIsReachableAs) {
    SimulatedUnit unit(dir, {});
    const Outcome ports = orbctl({"ports"}, unit.port());
    EXPECT_EQ(ports.status, 0) << ports.err;
    const std::vector<std::string> table = lines(ports.out);
    ASSERT_FALSE(table.empty());
    EXPECT_TRUE(table[0].starts_with("ZAŘÍZENÍ ")) << ports.out;
    EXPECT_TRUE(std::any_of(table.begin(), table.end(), [&](const std::string& line) {
        return line.starts_with(unit.port().toStdString() + " ") && contains(line, " COM 1 ");
    })) << ports.out;
}

TEST_F(OrbctlDevice, DeviceFailuresExitThreeNamingThePort) {
    const Outcome noPort = orbctl({"read", "--port", "1"}, file("no-such-port"));
    EXPECT_EQ(noPort.status, 3);
    EXPECT_TRUE(contains(noPort.err, "orbctl: COM 1 (" + dir.file("no-such-port") +
                                         "): Otevírání portu: Nelze otevřít port COM 1.\n"))
        << noPort.err;

    SimulatedUnit blank(dir, {});
    const Outcome unprogrammed = orbctl({"read", "--port", "1"}, blank.port());
    EXPECT_EQ(unprogrammed.status, 3);
    EXPECT_TRUE(contains(unprogrammed.err, "EEPROM zřejmě není naprogramována.")) << unprogrammed.err;

    SimulatedUnit hangingUp(dir, {"--hangup-after", "42"});
    const Outcome hangUp = orbctl({"write", example, "--port", "1"}, hangingUp.port());
    EXPECT_EQ(hangUp.status, 3);
    EXPECT_TRUE(contains(hangUp.err, "Spojení se zařízením bylo přerušeno: port COM 1 přestal pracovat."))
        << hangUp.err;
    EXPECT_TRUE(contains(hangUp.err, "\norbctl: COM 1 (" + hangingUp.port().toStdString() +
                                         "): Zařízení nyní nemá platné nastavení; uložte je do něj znovu.\n"))
        << hangUp.err;
}

/// orbctl started in the background on the simulated unit, for what a test does to it while it runs.
class RunningOrbctl {
  public:
    RunningOrbctl(const QStringList& args, const QString& port) {
        process_.setReadChannel(QProcess::StandardError);
        start(process_, args, port);
    }
    /// Waits until standard error shows the text.
    bool waitForError(const std::string& text) {
        while (!contains(err_, text)) {
            if (!process_.waitForReadyRead(20000)) return false;
            err_ += process_.readAllStandardError().toStdString();
        }
        return true;
    }
    void signal(int number) { ::kill(static_cast<pid_t>(process_.processId()), number); }
    /// Waits for the end; the status is -1 when a signal ended the program.
    Outcome finish() {
        EXPECT_TRUE(process_.waitForFinished(60000));
        err_ += process_.readAllStandardError().toStdString();
        return {process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1,
                process_.readAllStandardOutput().toStdString(), err_};
    }

  private:
    QProcess process_;
    std::string err_;
};

TEST_F(OrbctlDevice, APortHeldByAnotherProgramOrClosedToTheUserIsExplainedInCzech) {
    SimulatedUnit unit(dir, {});
    QSerialPort holder(unit.port());
    ASSERT_TRUE(holder.open(QIODevice::ReadWrite));
    const Outcome busy = orbctl({"read", "--port", "1"}, unit.port());
    EXPECT_EQ(busy.status, 3);
    const std::string port = unit.port().toStdString();
    EXPECT_TRUE(contains(busy.err, "orbctl: COM 1 (" + port +
                                       "): Otevírání portu: Nelze otevřít port COM 1.\n"
                                       "orbctl: COM 1 (" +
                                       port + "): Port COM 1 (" + port + ") právě používá jiný program.\n"))
        << busy.err;
    holder.close();

    // As root every device opens, so the program runs as nobody there; the folder is closed to it too,
    // so no group can be named: the message asks for access to the device.
    const std::string closed = dir.write("closed-port", {});
    std::filesystem::permissions(closed, std::filesystem::perms::none);
    const Outcome refused = orbctlUnprivileged({"read", "--port", "1"}, QString::fromStdString(closed));
    EXPECT_EQ(refused.status, 3);
    EXPECT_TRUE(contains(refused.err, "Nemáte oprávnění otevřít port COM 1 (" + closed +
                                          "). Požádejte správce, aby vám k zařízení " + closed +
                                          " dal přístup.\n"))
        << refused.err;
    EXPECT_EQ(unit.requests("hello"), 0);
}

const std::string Writing = "Ukládám data z PC do EEPROM.";

TEST_F(OrbctlDevice, EachStopSignalEndsAWriteAfterItsBlockAndDeactivatesTheUnit) {
    const std::pair<int, std::string> stops[] = {
        {SIGINT, "SIGINT"}, {SIGTERM, "SIGTERM"}, {SIGHUP, "SIGHUP"}};
    for (const auto& [number, name] : stops) {
        SCOPED_TRACE(name);
        SimulatedUnit unit(dir, {"--memory", "256", "--pace"});
        RunningOrbctl write({"write", example, "--port", "1"}, unit.port());
        ASSERT_TRUE(write.waitForError(Writing));
        QThread::msleep(300);
        write.signal(number);
        const Outcome stopped = write.finish();
        EXPECT_EQ(stopped.status, 3) << stopped.err;
        const std::string prefix = "orbctl: COM 1 (" + unit.port().toStdString() + "): ";
        EXPECT_TRUE(contains(stopped.err,
                             prefix +
                                 "ORB - Ukládání dat z PC do EEPROM: Ukládání dat z PC do "
                                 "EEPROM bylo stornováno.\n" +
                                 prefix + "Zařízení nyní nemá platné nastavení; uložte je do něj znovu.\n"))
            << stopped.err;
        EXPECT_TRUE(contains(stopped.err, prefix + "Program byl přerušen signálem " + name +
                                              ". Zařízení bylo deaktivováno.\n"))
            << stopped.err;
        EXPECT_EQ(unit.requests("deactivate"), 1);
        EXPECT_LT(unit.requests("write"), 2 * 32 + 2);

        // The unit answers the next activation and takes a whole write.
        const Outcome again = orbctl({"write", example, "--port", "1"}, unit.port());
        EXPECT_EQ(again.status, 0) << again.err;
        EXPECT_EQ(unit.requests("deactivate"), 2);
    }
}

TEST_F(OrbctlDevice, ASecondSignalEndsTheProgramAtOnce) {
    // A slow unit: the block in flight and the deactivation take a tenth of a second or more.
    SimulatedUnit unit(dir, {"--memory", "2048", "--delay-ms", "50"});
    RunningOrbctl write({"write", example, "--port", "1"}, unit.port());
    ASSERT_TRUE(write.waitForError(Writing));
    write.signal(SIGTERM);
    QThread::msleep(30); // two signals sent at once may arrive as one
    write.signal(SIGTERM);
    EXPECT_EQ(write.finish().status, -1);
}

TEST_F(OrbctlDevice, TimeoutEndsTheActivationOfASilentUnitWithoutDeactivating) {
    SimulatedUnit silent(dir, {"--silent"});
    QElapsedTimer clock;
    clock.start();
    const Outcome run = orbctl({"read", "--port", "1", "--timeout", "1"}, silent.port());
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(contains(run.err, "orbctl: COM 1 (" + silent.port().toStdString() +
                                      "): Zařízení neodpovědělo během 1 s.\n"))
        << run.err;
    EXPECT_GE(silent.requests("hello"), 2);
    EXPECT_EQ(silent.requests("deactivate"), 0);
}

/// A 256-byte unit whose EEPROM holds the worked example, kept in a file the test can read (the simulated
/// unit writes its EEPROM back after every deactivation and on exit).
class BackupTest : public OrbctlFiles {
  protected:
    BackupTest() {
        unitMemory = testing_support::ExampleImage();
        unitMemory.resize(256, 0xFF); // what the simulated unit shows of bytes its file lacks
        eeprom = QString::fromStdString(dir.write("eeprom.bin", unitMemory));
    }
    std::vector<std::uint8_t> eepromNow() const { return TempDir::read(eeprom.toStdString()); }

    std::vector<std::uint8_t> unitMemory;
    QString eeprom;
};

/// Returns the command printed on the line after the text, without its indent.
std::string lineAfter(const std::string& err, const std::string& text) {
    const std::size_t at = err.find(text + "\n  ");
    if (at == std::string::npos) return {};
    const std::size_t start = at + text.size() + 3;
    return err.substr(start, err.find('\n', start) - start);
}

TEST_F(BackupTest, TheUnitsMemoryIsSavedByteForByteBeforeTheWrite) {
    SimulatedUnit unit(dir, {"--memory", "256", "--eeprom", eeprom});
    const Outcome write =
        orbctl({"write", defaults, "--port", "1", "--backup", file("old.eep")}, unit.port());
    EXPECT_EQ(write.status, 0) << write.err;
    EXPECT_EQ(TempDir::read(dir.file("old.eep")), unitMemory);
    EXPECT_TRUE(contains(write.err, "orbctl: COM 1 (" + unit.port().toStdString() +
                                        "): Obsah EEPROM zařízení (256 B) je uložen v souboru '" +
                                        dir.file("old.eep") + "'.\n"))
        << write.err;
    EXPECT_FALSE(contains(write.err, "vrátí příkaz")) << write.err;
    EXPECT_EQ(unit.requests("deactivate"), 1);
    // The unit holds the file's settings, as after a write without a backup.
    EXPECT_EQ(orbctl({"diff", defaults, "--port", "1"}, unit.port()).status, 0);
}

// Block 6's reply repeated 120 ms later while block 7's request is lost: block 7 reads as block 6 and the
// frame count still balances. Only a second read of the memory shows it.
TEST_F(BackupTest, ABackupAndAVerifiedReadHoldTheUnitsBytesWhereTheWireCannotTell) {
    const QStringList shape{"--repeat", "12:120", "--lose", "13"};
    {
        SimulatedUnit unit(dir, QStringList{"--memory", "256", "--eeprom", eeprom} + shape);
        const Outcome write =
            orbctl({"write", defaults, "--port", "1", "--backup", file("old.eep")}, unit.port());
        EXPECT_EQ(write.status, 0) << write.err;
        EXPECT_EQ(TempDir::read(dir.file("old.eep")), unitMemory);
    }
    dir.write("eeprom.bin", unitMemory);
    SimulatedUnit unit(dir, QStringList{"--memory", "256", "--eeprom", eeprom} + shape);
    const Outcome read = orbctl({"read", "--port", "1", "--verify", "-o", file("read.eep")}, unit.port());
    EXPECT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(unit.requests("read"), 2 * 32 + 2); // both reads, the lost request, block 7 once more
    EXPECT_EQ(orbctl({"diff", file("read.eep"), example}).status, 0);
}

TEST_F(BackupTest, AUnitWithoutSettingsIsWrittenOnlyWhenForced) {
    SimulatedUnit blank(dir, {"--memory", "256"});
    const Outcome refused =
        orbctl({"write", example, "--port", "1", "--backup", file("old.eep")}, blank.port());
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(contains(refused.err, "EEPROM zřejmě není naprogramována.")) << refused.err;
    EXPECT_TRUE(contains(refused.err, "Zařízení nemá platné nastavení, které by šlo zálohovat; do zařízení "
                                      "se nic nezapíše. Bez zálohy ho zapíše volba --force.\n"))
        << refused.err;
    EXPECT_EQ(blank.requests("write"), 0);
    EXPECT_EQ(blank.requests("deactivate"), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("old.eep")));

    const Outcome forced =
        orbctl({"write", example, "--port", "1", "--backup", file("old.eep"), "--force"}, blank.port());
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_TRUE(contains(forced.err, "zápis pokračuje bez zálohy (--force).\n")) << forced.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("old.eep")));
    EXPECT_EQ(orbctl({"diff", example, "--port", "1"}, blank.port()).status, 0);
}

TEST_F(BackupTest, ABackupThatCannotBeSavedIsRefusedBeforeTheUnitIsGreeted) {
    SimulatedUnit unit(dir, {"--memory", "256", "--eeprom", eeprom});
    const Outcome refused =
        orbctl({"write", defaults, "--port", "1", "--backup", file("missing/old.eep")}, unit.port());
    EXPECT_EQ(refused.status, 3);
    EXPECT_TRUE(contains(refused.err, dir.file("missing/old.eep"))) << refused.err;

    // Saved over the file being written, the backup would lose that file.
    const Outcome overItself = orbctl({"write", defaults, "--port", "1", "--backup", defaults}, unit.port());
    EXPECT_EQ(overItself.status, 2);
    EXPECT_EQ(TempDir::read(defaults.toStdString()), testing_support::DefaultImage());
    EXPECT_EQ(unit.requests("hello"), 0);
}

TEST_F(BackupTest, AWriteThatFailsOrIsStoppedPrintsTheCommandThatPutsTheBackupBack) {
    // A name the shell must be careful with: a space, a quote and letters beyond ASCII.
    const std::string backup = dir.file("záloha chaty's.eep");
    const std::string hint =
        "orbctl: Původní obsah zařízení je v souboru '" + backup + "'; do zařízení ho vrátí příkaz:";
    QProcessEnvironment shell = QProcessEnvironment::systemEnvironment();
    shell.insert("PATH", QFileInfo(ORBCTL_PATH).absolutePath() + ":" + shell.value("PATH"));

    for (const bool bySignal : {false, true}) {
        SCOPED_TRACE(bySignal ? "stopped by SIGTERM" : "the unit hangs up");
        std::filesystem::remove(backup);
        dir.write("eeprom.bin", unitMemory);
        Outcome failed;
        if (bySignal) {
            SimulatedUnit unit(dir, {"--memory", "256", "--eeprom", eeprom, "--pace"});
            RunningOrbctl write(
                {"write", defaults, "--port", "1", "--backup", QString::fromStdString(backup)}, unit.port());
            ASSERT_TRUE(write.waitForError(Writing));
            QThread::msleep(200);
            write.signal(SIGTERM);
            failed = write.finish();
        } else {
            // Activation and the backup's two reads, each closed by an identify, take 71 requests; the unit
            // hangs up at the write's sixth.
            SimulatedUnit unit(dir, {"--memory", "256", "--eeprom", eeprom, "--hangup-after", "77"});
            failed = orbctl({"write", defaults, "--port", "1", "--backup", QString::fromStdString(backup)},
                            unit.port());
        }
        EXPECT_EQ(failed.status, 3) << failed.err;
        EXPECT_EQ(TempDir::read(backup), unitMemory);
        EXPECT_NE(eepromNow(), unitMemory);
        const std::string command = lineAfter(failed.err, hint);
        EXPECT_EQ(command, "orbctl write '" + dir.file("záloha chaty'\\''s.eep") + "' --port 1")
            << failed.err;

        // The command as printed, run by a shell against the unit the failed write left behind.
        SimulatedUnit unit(dir, {"--memory", "256", "--eeprom", eeprom});
        QProcess restore;
        shell.insert("ORB_COM1", unit.port());
        restore.setProcessEnvironment(shell);
        restore.start("sh", {"-c", QString::fromStdString(command)});
        const Outcome restored = finish(restore);
        EXPECT_EQ(restored.status, 0) << restored.err;
        EXPECT_EQ(eepromNow(), unitMemory) << "the unit holds its old memory again, byte for byte";
    }
}

} // namespace
} // namespace orb
