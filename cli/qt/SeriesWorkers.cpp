#include "cli/qt/SeriesWorkers.h"

#include "cli/CliError.h"
#include "cli/SeriesPipe.h"
#include "files/SystemErrorText.h"
#include "link/qt/StopSignals.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <string_view>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace orb {

namespace {

inline constexpr std::string_view WorkerEnded = "Proces, který obsluhoval port, skončil neočekávaně.";
/// How long a worker is given to finish its block and deactivate its unit: far beyond a block's retries.
constexpr int WorkerStopsWithin = 60000;

QString portText(const PortArgument& port) {
    return port.comNumber != 0 ? QString::number(port.comNumber) : QString::fromStdString(port.device);
}

/// One orbctl per port and the messages between them and the ledger.
class WorkerPool {
  public:
    WorkerPool(const std::vector<QStringList>& workers, SeriesLedger& ledger)
        : ledger_(ledger), running_(static_cast<int>(workers.size())) {
        for (std::size_t port = 0; port < workers.size(); ++port) {
            auto& worker = workers_.emplace_back(std::make_unique<Worker>());
            if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, worker->ends) != 0)
                throw CliError(ExitStatus::Failure,
                               "Procesy pro porty nelze připravit: " +
                                   DescribeSystemError({errno, std::generic_category()}));
        }
        for (std::size_t port = 0; port < workers.size(); ++port)
            start(port, workers[port]);
    }

    ~WorkerPool() {
        // Workers still run here only when the series ends by an error: their sockets' hang-up makes them
        // stop their units as at Storno, which they are given time for. A QProcess would otherwise kill
        // its worker at once, with its unit in the middle of a write.
        for (auto& worker : workers_)
            worker->closeSocket();
        for (auto& worker : workers_)
            if (worker->process.state() != QProcess::NotRunning)
                worker->process.waitForFinished(WorkerStopsWithin);
    }
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    /// Passes the stop signal on to every worker still running and lets no unit take another row.
    void stop(int signal) {
        stopping_ = true;
        for (auto& worker : workers_) {
            if (worker->process.state() != QProcess::NotRunning)
                ::kill(static_cast<pid_t>(worker->process.processId()), signal);
        }
        answerWaitingOffers();
    }

    bool running() const { return running_ > 0; }
    bool asPlanned() const { return asPlanned_; }

  private:
    struct Worker {
        ~Worker() { closeSocket(); }
        void closeSocket() {
            for (int& end : ends)
                if (end >= 0) ::close(std::exchange(end, -1));
        }
        QProcess process;
        /// The socket between the two: the parent's end, which the worker sees hang up when the parent is
        /// gone, and the worker's, which the parent closes once the worker has it.
        int ends[2] = {-1, -1};
        std::optional<std::optional<std::string>> waitingOffer; ///< an offer no row was free for yet
    };

    void start(std::size_t port, const QStringList& arguments) {
        Worker& worker = *workers_[port];
        QProcess& process = worker.process;
        const int workersEnd = worker.ends[1];
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(SeriesWorkerVariable, QString::number(workersEnd));
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // A group of its own: Ctrl+C reaches the parent alone, which passes it on exactly once (a second
        // signal would end a worker at once, with its unit in programming mode). The stop signals stay
        // blocked, as the parent blocks them: one passed on before the worker catches them waits for it.
        // Of the sockets, only the worker's own end outlives the exec.
        process.setChildProcessModifier([workersEnd] {
            ::setpgid(0, 0);
            ::fcntl(workersEnd, F_SETFD, 0);
        });
        QObject::connect(&process, &QProcess::readyReadStandardOutput, [this, port] { readFrom(port); });
        QObject::connect(&process, &QProcess::finished, [this, port] { ended(port); });
        QObject::connect(&process, &QProcess::errorOccurred, [this, port](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart) ended(port);
        });
        process.start(QCoreApplication::applicationFilePath(), arguments);
        ::close(std::exchange(worker.ends[1], -1)); // the worker has its own copy now
    }

    void readFrom(std::size_t port) {
        QProcess& process = workers_[port]->process;
        while (process.canReadLine()) {
            const std::string line = process.readLine().toStdString();
            if (const auto message = ParsePipeMessage(line)) handle(port, *message);
        }
    }

    void handle(std::size_t port, const std::vector<std::string>& message) {
        const std::string& name = message.front();
        const std::string text = message.size() > 1 ? message[1] : "";
        if (name == "status") {
            if (const auto status = StatusOf({message.begin() + 1, message.end()}))
                ledger_.console().status(port, *status);
        } else if (name == "say") {
            ledger_.console().line(text);
        } else if (name == "offer") {
            workers_[port]->waitingOffer = text.empty() ? std::nullopt : std::optional<std::string>(text);
            answerWaitingOffers();
        } else if (name == "record") {
            try {
                ledger_.record(port, RecordFromFields({message.begin() + 1, message.end()}));
            } catch (const CliError& error) {
                // The log cannot be written: this port's work ends; its worker stops as at a signal.
                ledger_.console().line(error.what());
                ::kill(static_cast<pid_t>(workers_[port]->process.processId()), SIGTERM);
            }
            answerWaitingOffers();
        }
    }

    /// Tells every worker that the series is done once it is: the end of its input (its socket stays).
    void endWhenDone() {
        if (!ledger_.plan().done()) return;
        for (auto& worker : workers_)
            worker->process.closeWriteChannel();
    }

    /// Answers each offer waiting for a row: with a row as soon as one is free, with none once the
    /// series has no row left for it or is stopping.
    void answerWaitingOffers() {
        for (std::size_t port = 0; port < workers_.size(); ++port) {
            Worker& worker = *workers_[port];
            if (!worker.waitingOffer) continue;
            const SeriesOffer offer = stopping_ ? SeriesOffer{} : ledger_.offer(port, *worker.waitingOffer);
            if (offer.kind == SeriesOffer::Kind::Wait) continue;
            worker.waitingOffer.reset();
            worker.process.write(QByteArray::fromStdString(OfferMessage(offer)));
        }
        endWhenDone();
    }

    void ended(std::size_t port) {
        Worker& worker = *workers_[port];
        readFrom(port);
        worker.waitingOffer.reset();
        const bool crashed =
            worker.process.exitStatus() != QProcess::NormalExit || worker.process.exitCode() != 0;
        if (worker.process.exitStatus() != QProcess::NormalExit)
            ledger_.console().line(std::string(WorkerEnded));
        asPlanned_ = asPlanned_ && !crashed;
        ledger_.portEnded(port);
        answerWaitingOffers();
        if (--running_ == 0) QCoreApplication::quit();
    }

    SeriesLedger& ledger_;
    std::vector<std::unique_ptr<Worker>> workers_;
    bool stopping_ = false;
    bool asPlanned_ = true;
    int running_ = 0;
};

} // namespace

std::optional<int> SeriesParentSocket() {
    const char* named = std::getenv(SeriesWorkerVariable);
    if (named == nullptr) return std::nullopt;
    const std::string_view text(named);
    int socket = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), socket);
    if (error != std::errc() || end != text.data() + text.size() || socket <= STDERR_FILENO)
        return std::nullopt;
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.pid != ::getppid())
        return std::nullopt;
    ::fcntl(socket, F_SETFD, FD_CLOEXEC);
    return socket;
}

QStringList WorkerArguments(const CommandLine& line, const PortArgument& port) {
    QStringList args{"series", "--port", portText(port)};
    if (line.noVerify) args << "--no-verify";
    if (line.settingsOnly) args << "--settings-only";
    if (line.timeout) args << "--timeout" << QString::number(*line.timeout);
    // The worker never opens the template: what it writes comes from the parent's plan.
    return args << "--" << QString::fromStdString(line.files[0]);
}

bool RunSeriesWorkers(const std::vector<QStringList>& workers, SeriesLedger& ledger, StopSignals& stops) {
    WorkerPool pool(workers, ledger);
    // A signal that came while the workers started is handed on as the event loop begins.
    stops.setOnStop([&pool] { pool.stop(StopSignals::stopSignal()); });
    if (pool.running()) QCoreApplication::exec();
    stops.setOnStop({});
    return pool.asPlanned();
}

} // namespace orb
