#include "cli/series/SeriesPort.h"

#include "cli/CliError.h"
#include "cli/device/ChosenPort.h"
#include "cli/device/DeviceMessages.h"
#include "cli/series/SeriesBackup.h"
#include "cli/series/Sha256.h"
#include "cli/terminal/ConsoleView.h"
#include "cli/terminal/TransferSummary.h"
#include "image/DecodeImage.h"
#include "link/LinkMessages.h"
#include "link/PortChoice.h"
#include "link/qt/QtSerialPort.h"
#include "link/qt/QtWaiter.h"
#include "link/qt/StopSignals.h"
#include "link/session/UnitSession.h"
#include "link/UnitTransfer.h"
#include "settings/UnitDisplay.h"

#include <algorithm>
#include <chrono>

namespace orb {

namespace lm = link_messages;

namespace {

using Clock = std::chrono::steady_clock;

std::string alreadyProgrammed(const std::string& rowName) {
    return "Toto zařízení už bylo v této sérii naprogramováno (" + rowName + ").";
}
inline constexpr std::string_view KeptSettings =
    "Zařízení má jiné platné nastavení a nezapíše se: není kam je předem uložit (zadejte --backup-dir "
    "nebo --log).";
inline constexpr std::string_view NoRowLeft =
    "Série už pro toto zařízení nemá žádný řádek; zařízení se nezapíše.";
inline constexpr std::string_view DeactivationUnconfirmed = "deaktivace nepotvrzena";
inline constexpr std::string_view PortEnds = "Port končí práci v sérii.";
inline constexpr std::string_view WaitingForUnit = "čekám na další zařízení";
inline constexpr std::string_view ParentGone = "Proces, který sérii řídil, skončil.";

bool stopped() {
    return StopSignals::stopSignal() != 0;
}

/// The progress window of one port: its messages and blocks become the port's status.
class SeriesProgress : public Progress {
  public:
    explicit SeriesProgress(SeriesBroker& broker) : broker_(broker) {}

    void showProgress(const std::string& message, bool) override { show(message); }
    void hideProgress() override {}
    void setProgressValue(int done, int total) override {
        const int percent = total > 0 ? static_cast<int>(100LL * done / total) : 0;
        if (percent == shownPercent_) return;
        shownPercent_ = percent;
        status_.done = done;
        status_.total = total;
        status_.timeLeft = TimeLeft(Clock::now() - shownAt_, done, total);
        broker_.status(status_);
    }
    /// Shows what the port does now, with no transfer under way.
    void show(const std::string& step) {
        status_ = {status_.unit, step};
        shownPercent_ = -1;
        shownAt_ = Clock::now();
        broker_.status(status_);
    }
    /// Names the row of the unit being written ("řádek 3 CHATA-3 (3 z 10)"); empty once it is done.
    void setUnit(const std::string& unit) { status_.unit = unit; }

  private:
    SeriesBroker& broker_;
    SeriesStatus status_;
    Clock::time_point shownAt_ = Clock::now();
    int shownPercent_ = -1;
};

/// A message with paragraphs on one line, as a log field and a terminal line hold it.
std::string oneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    text.erase(std::unique(text.begin(), text.end(), [](char a, char b) { return a == ' ' && b == ' '; }),
               text.end());
    return text;
}

/// The loop of units on one port, with a unit session, a settings form and an image buffer of its own.
class PortLoop {
  public:
    PortLoop(const PortArgument& port, const SeriesOptions& options, SeriesBroker& broker)
        : options_(options), broker_(broker), form_(view_), progress_(broker), port_(ChosenPort(port)),
          session_(view_, *image_, progress_, stop_, serialPort_, waiter_) {
        name_ = ChosenPortName(port);
    }

    bool run() {
        try {
            while (serveUnit()) {
            }
        } catch (const CliError& error) {
            // The log or a backup could not be written: the unit gets nothing and is let go.
            say(error.what());
            session_.leaveProgrammingMode();
        }
        if (stopped()) say(stoppedBy(StopSignals::stopSignal()));
        if (broker_.abandoned()) say(std::string(ParentGone));
        say(std::string(PortEnds));
        progress_.show(std::string(PortEnds));
        return stopped() || broker_.seriesDone();
    }

  private:
    /// Serves the next unit that answers; false when the port's work ends.
    bool serveUnit() {
        if (stopped() || broker_.abandoned() || broker_.seriesDone()) return false;
        progress_.show(std::string(WaitingForUnit));
        switch (activate()) {
        case Activation::Ended:
            return false;
        case Activation::Failed:
            return true;
        case Activation::Done:
            break;
        }

        record_ = {};
        record_.port = name_;
        record_.verify = options_.verify;
        const UnitWords unit = DescribeUnit(session_.unit());
        record_.product = unit.product;
        record_.firmware = unit.firmware;
        record_.memory = unit.memory;
        record_.modem = unit.modem;
        started_ = Clock::now();

        if (session_.unit().link != LinkState::Active) return finish(activation_.message);
        const std::optional<HeldImage> held = recognise();
        if (!held) return finish(readFailure_);
        if (stopped()) return finish(stoppedBy(StopSignals::stopSignal()));
        if (broker_.abandoned()) return finish(std::string(ParentGone));

        const SeriesOffer offer = broker_.offer(held->sha256);
        switch (offer.kind) {
        case SeriesOffer::Kind::AlreadyWritten:
            record_.row = offer.row;
            record_.label = offer.label;
            return finish(alreadyProgrammed(offer.rowName));
        case SeriesOffer::Kind::KeepSettings:
            return finish(std::string(KeptSettings));
        case SeriesOffer::Kind::Write:
            return write(offer);
        case SeriesOffer::Kind::Wait:
        case SeriesOffer::Kind::Nothing:
            break;
        }
        session_.leaveProgrammingMode();
        say(std::string(NoRowLeft));
        return false;
    }

    /// How greeting the next unit ended.
    enum class Activation {
        Done,   ///< a unit is active, or refused as the wrong product or firmware
        Failed, ///< a unit answered but was not activated: it is recorded, and the port greets again
        Ended,  ///< the port's work ends: it was said why
    };

    /// Greets until a unit answers and activates it. A unit that answered the greeting but failed to be
    /// identified has been sent the deactivation by the link; it is recorded once, and the port goes on
    /// with the next unit that answers (the same one, greeted again, gets a row as any other).
    Activation activate() {
        if (options_.timeout) stop_.setDeadline(Clock::now() + std::chrono::seconds(*options_.timeout));
        greeting_ = true;
        activation_ = session_.activate(port_);
        greeting_ = false;
        const LinkOutcome outcome = activation_.outcome;
        const bool timedOut = activation_.stoppedBy == StopReason::Deadline;
        stop_.setDeadline(std::nullopt);
        if (outcome == LinkOutcome::Done || outcome == LinkOutcome::Refused) return Activation::Done;
        view_.takeBoxes();
        if (stopped() || broker_.seriesDone()) return Activation::Ended;
        if (timedOut) {
            say(noAnswerWithin(*options_.timeout));
            return Activation::Ended;
        }
        if (outcome == LinkOutcome::NotReached || outcome == LinkOutcome::Cancelled) {
            record_ = {.time = IsoTime(std::chrono::system_clock::now()),
                       .port = name_,
                       .verify = options_.verify,
                       .outcome = oneLine(activation_.message)};
            broker_.record(record_);
            return Activation::Failed;
        }
        say(oneLine(activation_.message));
        if (outcome == LinkOutcome::NotOpened) say(serialPort_.openError());
        return Activation::Ended;
    }

    /// Reads as much of the unit as its header describes (a unit without valid settings: the header's
    /// blocks alone). Returns what the unit holds; nothing when the read failed.
    std::optional<HeldImage> recognise() {
        if (!read(TransferScope::SettingsOnly)) return std::nullopt;
        if (!CheckImageSignature(*image_)) return HeldImage{};
        const std::optional<std::int32_t> end = ImageEnd(*image_, *session_.unit().memoryBytes);
        if (!end) return HeldImage{};
        std::vector<std::uint8_t> held(static_cast<std::size_t>(*end));
        for (std::int32_t address = 0; address < *end; ++address)
            held[static_cast<std::size_t>(address)] = image_->getByte(address);
        return HeldImage{Sha256Hex(held)};
    }

    /// Reads the unit; a unit without valid settings is read all the same. False, with the reason kept,
    /// when the read failed.
    bool read(TransferScope scope, ReadCheck check = ReadCheck::Once) {
        const SessionResult result = LoadFromUnit(form_, *image_, progress_, session_, scope, check);
        const LinkOutcome outcome = result.outcome;
        record_.counts += result.counts;
        if (outcome == LinkOutcome::Done || outcome == LinkOutcome::NotProgrammed ||
            outcome == LinkOutcome::DecodeFailed)
            return true;
        readFailure_ = result.message;
        return false;
    }

    bool write(const SeriesOffer& offer) {
        record_.row = offer.row;
        record_.label = offer.label;
        // Set before anything can fail: a record with a row and no image is a unit recognised, not written.
        record_.imageSha256 = Sha256Hex(offer.image);
        progress_.setUnit(offer.rowName + (offer.label.empty() ? "" : " " + offer.label) +
                          (offer.position.empty() ? "" : " (" + offer.position + ")"));
        if (!offer.backupFolder.empty()) {
            // The recognition read the settings alone; a backup holds the whole memory, read twice: it is
            // what puts the unit back when all else failed.
            if (!read(TransferScope::WholeMemory, ReadCheck::Twice)) return finish(readFailure_);
            record_.backup = saveBackup(offer.backupFolder, offer.row);
        }
        // The row's image goes out exactly as the plan made it.
        *image_ = EepromImage{};
        for (std::size_t address = 0; address < offer.image.size(); ++address)
            image_->putByte(static_cast<std::int32_t>(address), offer.image[address]);
        const SessionResult written = SaveImageToUnit(view_, session_, static_cast<int>(offer.image.size()),
                                                      options_.scope, options_.verify);
        record_.counts += written.counts;
        record_.programmed = written.outcome == LinkOutcome::Done;
        // A write that got under way invalidated the unit's header first; only its end restores it.
        record_.leftWithoutSettings = written.unitLeftWithoutSettings;
        return finish(written.message);
    }

    /// Saves what the unit's memory holds, just read whole, into the folder; returns the file's path.
    std::string saveBackup(const std::string& folder, int row) {
        std::vector<std::uint8_t> memory(static_cast<std::size_t>(*session_.unit().memoryBytes));
        for (std::size_t address = 0; address < memory.size(); ++address)
            memory[address] = image_->getByte(static_cast<std::int32_t>(address));
        return SaveSeriesBackup(folder, port_.device(), row, memory);
    }

    /// Deactivates the unit and records its attempt with the outcome; false when the port's work ends.
    bool finish(const std::string& outcome) {
        // An activated unit leaves the connection active or refused; only a port that failed ends it.
        const bool portFailed = !connected();
        session_.leaveProgrammingMode();
        view_.takeBoxes();
        // A unit that did not confirm its deactivation is named, and the port goes on: one still in
        // programming mode answers the next hello and is recognised by what it holds.
        record_.deactivationUnconfirmed = connected();
        if (record_.deactivationUnconfirmed) session_.letGo();
        record_.outcome =
            oneLine(outcome) +
            (record_.deactivationUnconfirmed ? " (" + std::string(DeactivationUnconfirmed) + ")" : "");
        record_.seconds = std::chrono::duration<double>(Clock::now() - started_).count();
        record_.time = IsoTime(std::chrono::system_clock::now());
        progress_.setUnit("");
        broker_.record(record_);
        return !portFailed && !stopped();
    }

    /// A stop signal and the end of whoever keeps the series' account end every exchange; while a unit is
    /// greeted, so does the end of the series (another port wrote the last row).
    std::optional<StopReason> stopReason() const {
        if (stopped()) return StopReason::Signal;
        if (broker_.abandoned()) return StopReason::Abandoned;
        if (greeting_ && broker_.seriesDone()) return StopReason::SeriesDone;
        return std::nullopt;
    }
    bool connected() const { return session_.unit().connected(); }
    void say(const std::string& text) { broker_.say(name_ + ": " + text); }

    const SeriesOptions& options_;
    SeriesBroker& broker_;
    ConsoleView view_;
    SettingsForm form_;
    std::unique_ptr<EepromImage> image_ = std::make_unique<EepromImage>();
    SeriesProgress progress_;
    bool greeting_ = false; ///< a unit is being greeted: the end of the series stops that too
    StopToken stop_{[this] { return stopReason(); }};
    PortChoice port_;
    QtSerialPort serialPort_;
    QtWaiter waiter_;
    UnitSession session_;
    SessionResult activation_; ///< how the last activation ended
    std::string name_;
    SeriesRecord record_;
    std::string readFailure_;
    Clock::time_point started_;
};

} // namespace

bool ServeSeriesPort(const PortArgument& port, const SeriesOptions& options, SeriesBroker& broker) {
    return PortLoop(port, options, broker).run();
}

} // namespace orb
