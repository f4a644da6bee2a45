#pragma once

#include <cstdlib>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <stdexcept>
#include <string>
#include <vector>

namespace orb::test {

/// The simulated unit as a child process on a pseudo-terminal that COM 1 points at (ORB_COM1), with a
/// log of every request it received. The program comes from ORB_TOOLS_DIR, else from the build tree.
/// Where several run at once, each is reached by its port() and ORB_COM1 names the last one started.
class OrbsimProcess {
  public:
    explicit OrbsimProcess(const QStringList& options) {
        const QString tools = qEnvironmentVariable("ORB_TOOLS_DIR", QStringLiteral(ORB_BUILD_TOOLS_DIR));
        process_.setReadChannel(QProcess::StandardOutput);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QDir(tools).filePath("orbsim"), options + QStringList{"--log", logPath()});
        if (!process_.waitForStarted(5000)) throw std::runtime_error("orbsim does not start");
        while (!process_.canReadLine())
            if (!process_.waitForReadyRead(5000)) throw std::runtime_error("orbsim names no port");
        port_ = QString::fromUtf8(process_.readLine().trimmed());
        setenv("ORB_COM1", port_.toLocal8Bit().constData(), 1);
    }
    ~OrbsimProcess() {
        process_.terminate();
        if (!process_.waitForFinished(3000)) process_.kill();
        process_.waitForFinished(3000);
        unsetenv("ORB_COM1");
    }
    OrbsimProcess(const OrbsimProcess&) = delete;
    OrbsimProcess& operator=(const OrbsimProcess&) = delete;

    /// The pseudo-terminal the unit answers on.
    const QString& port() const { return port_; }

    /// The meaning of each request received so far ("hello", "read 0x0108", "write 0x0000 = 00 ..."), in
    /// order.
    std::vector<std::string> requests() const {
        QFile file(logPath());
        std::vector<std::string> lines;
        if (!file.open(QIODevice::ReadOnly)) return lines;
        while (!file.atEnd()) {
            const std::string line = file.readLine().trimmed().toStdString();
            const auto meaning = line.find("  ");
            if (meaning != std::string::npos) lines.push_back(line.substr(meaning + 2));
        }
        return lines;
    }
    /// Counts the requests whose meaning starts with the prefix.
    int count(const std::string& prefix) const {
        int n = 0;
        for (const std::string& r : requests())
            n += r.starts_with(prefix) ? 1 : 0;
        return n;
    }

  private:
    QString logPath() const { return dir_.filePath("requests.log"); }

    QTemporaryDir dir_;
    QProcess process_;
    QString port_;
};

} // namespace orb::test
