#include "cli/series/SeriesWorkers.h"

#include "cli/CliError.h"
#include "cli/device/ChosenPort.h"
#include "cli/series/SeriesPipe.h"
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
#include <QStringList>
#include <string_view>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>
#include <variant>

namespace orb {

namespace {

inline constexpr std::string_view WorkerEnded = "Proces, který obsluhoval port, skončil neočekávaně.";
std::string workerNotUnderstood(const std::string& portName, const std::string& reason) {
    return portName + ": Proces, který obsluhoval port, poslal nesrozumitelnou zprávu (" + reason +
           "); port končí práci v sérii.";
}

/// How long a worker is given to finish its block and deactivate its unit: far beyond a block's retries.
constexpr int WorkerStopsWithin = 60000;

QString portText(const PortArgument& port) {
    return port.comNumber != 0 ? QString::number(port.comNumber) : QString::fromStdString(port.device);
}

/// The arguments of the orbctl that serves one port: what it serves, and the operand its command line
/// wants. It never opens the template: what it writes comes from the parent's plan.
QStringList workerArguments(const PortArgument& port, const std::string& templatePath) {
    return {"series", "--port", portText(port), "--", QString::fromStdString(templatePath)};
}

/// One orbctl per port and the messages between them and the ledger.
class WorkerPool {
  public:
    WorkerPool(const std::vector<PortArgument>& ports, const std::string& templatePath,
               const SeriesOptions& options, SeriesLedger& ledger)
        : ledger_(ledger), running_(static_cast<int>(ports.size())) {
        for (const PortArgument& port : ports) {
            auto& worker = workers_.emplace_back(std::make_unique<Worker>());
            worker->portName = ChosenPortName(port);
            if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, worker->ends) != 0)
                throw CliError(ExitStatus::Failure,
                               "Procesy pro porty nelze připravit: " +
                                   DescribeSystemError({errno, std::generic_category()}));
        }
        for (std::size_t port = 0; port < ports.size(); ++port)
            start(port, workerArguments(ports[port], templatePath), options);
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
        std::string portName;
        std::optional<OfferRequest> waitingOffer; ///< one no row was free for yet
        bool failed = false;                      ///< it sent a line that is no message
    };

    void start(std::size_t port, const QStringList& arguments, const SeriesOptions& options) {
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
        process.write(QByteArray::fromStdString(EncodeMessage(OptionsMessage{options})));
        ::close(std::exchange(worker.ends[1], -1)); // the worker has its own copy now
    }

    void readFrom(std::size_t port) {
        QProcess& process = workers_[port]->process;
        while (process.canReadLine()) {
            const auto message = ParseWorkerMessage(process.readLine().toStdString());
            if (const auto* malformed = std::get_if<MalformedLine>(&message))
                fail(port, *malformed);
            else
                std::visit([this, port](const auto& m) { handle(port, m); },
                           std::get<WorkerMessage>(message));
        }
    }

    void handle(std::size_t port, const StatusMessage& message) {
        ledger_.console().status(port, message.status);
    }
    void handle(std::size_t, const SayMessage& message) { ledger_.console().line(message.text); }
    void handle(std::size_t port, const OfferRequest& request) {
        // A worker that failed has no input left to be answered on: it sees the series as done.
        if (workers_[port]->failed) return;
        workers_[port]->waitingOffer = request;
        answerWaitingOffers();
    }
    void handle(std::size_t port, const RecordMessage& message) {
        try {
            ledger_.record(port, message.record);
        } catch (const CliError& error) {
            // The log cannot be written: this port's work ends; its worker stops as at a signal.
            ledger_.console().line(error.what());
            ::kill(static_cast<pid_t>(workers_[port]->process.processId()), SIGTERM);
        }
        answerWaitingOffers();
    }

    /// Ends the work of a worker that sent what is no message: it gets no further row, finishes the unit
    /// it serves and records it, and the series does not end as planned. Later lines of it that are
    /// messages are still taken, so that its unit's record reaches the log.
    void fail(std::size_t port, const MalformedLine& malformed) {
        Worker& worker = *workers_[port];
        if (worker.failed) return;
        worker.failed = true;
        asPlanned_ = false;
        ledger_.console().line(workerNotUnderstood(worker.portName, malformed.reason));
        worker.waitingOffer.reset();
        worker.process.closeWriteChannel();
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
            const SeriesOffer offer =
                stopping_ ? SeriesOffer{} : ledger_.offer(port, worker.waitingOffer->held.sha256);
            if (offer.kind == SeriesOffer::Kind::Wait) continue;
            worker.waitingOffer.reset();
            worker.process.write(QByteArray::fromStdString(EncodeMessage(OfferAnswer{offer})));
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

bool RunSeriesWorkers(const std::vector<PortArgument>& ports, const std::string& templatePath,
                      const SeriesOptions& options, SeriesLedger& ledger, StopSignals& stops) {
    WorkerPool pool(ports, templatePath, options, ledger);
    // A signal that came while the workers started is handed on as the event loop begins.
    stops.setOnStop([&pool] { pool.stop(StopSignals::stopSignal()); });
    if (pool.running()) QCoreApplication::exec();
    stops.setOnStop({});
    return pool.asPlanned();
}

} // namespace orb
