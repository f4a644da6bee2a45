// Runs the built orb as a user would from a terminal: its help and version, and what it does without a
// display.
#include <gtest/gtest.h>
#include <QProcess>
#include <QProcessEnvironment>

namespace orb {
namespace {

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

/// Runs orb with the display variables taken away and the given ones set instead.
Outcome orb(const QStringList& args, const QStringList& variables = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    for (const QString& variable : variables)
        environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(ORB_PATH, args);
    EXPECT_TRUE(process.waitForFinished(30000)) << args.join(' ').toStdString();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(OrbProcess, HelpAndVersionNeedNoDisplay) {
    const Outcome help = orb({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith("Použití: orb [SOUBOR.eep]\n")) << help.out.toStdString();
    const Outcome version = orb({"-V"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "orb " ORB_VERSION "\n");
}

TEST(OrbProcess, WithoutADisplayItSaysSoAndEndsWithOne) {
    for (const QStringList& variables : {QStringList{}, QStringList{"DISPLAY=:987"}}) {
        const Outcome run = orb({"settings.eep"}, variables);
        EXPECT_EQ(run.status, 1) << variables.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("program potřebuje grafické sezení")) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("xvfb-run orb")) << run.err.toStdString();
    }
}

TEST(OrbProcess, UnknownOptionOrSecondFileIsAUsageErrorWithOrWithoutADisplay) {
    const std::pair<QStringList, QString> cases[] = {
        {{"--frobnicate"}, "orb: neznámá volba '--frobnicate' (orb --help)\n"},
        {{"-x", "a.eep"}, "orb: neznámá volba '-x' (orb --help)\n"},
        {{"--help=yes"}, "orb: volba --help nebere hodnotu (orb --help)\n"},
        {{"a.eep", "b.eep"}, "orb: program otevře jen jeden soubor nastavení (orb --help)\n"},
        {{"--", "-a.eep", "-b.eep"}, "orb: program otevře jen jeden soubor nastavení (orb --help)\n"},
    };
    for (const QStringList& variables : {QStringList{"QT_QPA_PLATFORM=offscreen"}, QStringList{}}) {
        for (const auto& [args, message] : cases) {
            const Outcome run = orb(args, variables);
            EXPECT_EQ(run.status, 2) << args.join(' ').toStdString();
            EXPECT_TRUE(run.err.endsWith(message)) << run.err.toStdString();
        }
    }
}

} // namespace
} // namespace orb
