#include "tools/orbsim/Session.h"

#include "tools/orbsim/EepromFile.h"
#include "tools/orbsim/Faults.h"
#include "tools/orbsim/Request.h"
#include "tools/orbsim/Wire.h"

#include <algorithm>
#include <cerrno>
#include <iostream>
#include <poll.h>
#include <system_error>
#include <unistd.h>

namespace orb::sim {

namespace {
// Far beyond any request; bytes that never end a frame are dropped rather than kept for ever.
constexpr std::size_t MaxPendingBytes = 4096;
} // namespace

Session::Session(const Options& options, Pty& pty, Bytes eeprom)
    : options_(options), pty_(pty), unit_(options.unit, std::move(eeprom), options.badBlock),
      log_(options.logPath) {}

void Session::SaveEeprom() const {
    if (options_.eepromFile.empty()) return;
    const std::string suffix = options_.nextUnitMs ? "." + std::to_string(unitNumber_) : "";
    orb::sim::SaveEeprom(options_.eepromFile + suffix, unit_.Eeprom());
}

void Session::presentNextUnit() {
    unit_ = Unit(options_.unit, {}, options_.badBlock);
    ++unitNumber_;
    unitAnswersFromNs_ = NowNs() + std::int64_t{*options_.nextUnitMs} * 1'000'000;
}

SessionEnd Session::Run(const volatile std::sig_atomic_t& stop, const sigset_t& waitMask) {
    std::uint8_t chunk[512];
    for (;;) {
        if (stop) return SessionEnd::Stopped;
        pollfd pfd{pty_.Master(), POLLIN, 0};
        if (ppoll(&pfd, 1, nullptr, &waitMask) < 0) {
            if (errno == EINTR) continue;
            throw std::system_error(errno, std::generic_category(), "poll");
        }
        const ssize_t n = read(pty_.Master(), chunk, sizeof chunk);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) return SessionEnd::InputEnded;

        const std::int64_t arrivedNs = NowNs();
        for (ssize_t i = 0; i < n; ++i) {
            // Each byte takes its wire time after the line is free, so a request is complete at its first
            // byte's arrival plus its length in wire time, however it was split.
            wireFreeNs_ = std::max(arrivedNs, wireFreeNs_) + WireTimeNs(1);
            pending_.push_back(chunk[i]);
            if (chunk[i] == FrameEnd) {
                Bytes frame;
                frame.swap(pending_);
                SessionEnd end{};
                if (handleFrame(frame, wireFreeNs_, end)) return end;
            } else if (pending_.size() > MaxPendingBytes) {
                std::cerr << "orbsim: dropped " << pending_.size() << " bytes without a frame end\n";
                pending_.clear();
            }
        }
    }
}

bool Session::handleFrame(const Bytes& frame, std::int64_t completeNs, SessionEnd& end) {
    ++frames_;
    if (options_.pace) SleepUntilNs(completeNs);
    checkLineSettings();

    const auto payload = OpenFrame(frame);
    const auto request = payload ? ParseRequest(*payload) : std::nullopt;
    const Bytes logged(frame.begin(), frame.end() - std::min<std::size_t>(frame.size(), 2));
    std::string what = !payload ? "bad checksum" : !request ? "unknown" : DescribeRequest(*request);

    if (frames_ == options_.hangupAfter) {
        log_.Write(frames_, logged, what + "  [hang-up]");
        end = SessionEnd::HungUp;
        return true;
    }
    if (!request) {
        log_.Write(frames_, logged, what + "  [no reply]");
        return false;
    }
    if (options_.faults.lostRequest.hits(frames_)) {
        log_.Write(frames_, logged, what + "  [request lost]");
        return false;
    }
    const bool isHello = request->kind == RequestKind::Hello;
    if (isHello && NowNs() < unitAnswersFromNs_) {
        log_.Write(frames_, logged, what + "  [no unit yet]");
        return false;
    }
    if (options_.faults.silent || (isHello && ++hellos_ <= options_.faults.silentHellos)) {
        log_.Write(frames_, logged, what + "  [ignored]");
        return false;
    }

    const Bytes reply = unit_.Answer(*request);
    const ReplyPlan plan = PlanForReply(options_.faults, ++replies_);
    const std::string faults = plan.describe();
    log_.Write(frames_, logged, faults.empty() ? what : what + "  [" + faults + "]");
    // Saved before the reply, so whoever sees the reply finds the file up to date.
    if (request->kind == RequestKind::Deactivate) SaveEeprom();
    // Requests that come meanwhile wait in the port, as they would in a busy unit's buffer.
    const unsigned waitMs = options_.delayMs + plan.lateMs;
    if (waitMs) SleepUntilNs(NowNs() + std::int64_t{waitMs} * 1'000'000);
    Bytes bytes = ReplyBytes(reply, plan.fault);
    if (!bytes.empty()) {
        if (plan.noise) {
            const Bytes noise = NoiseBytes();
            bytes.insert(bytes.begin(), noise.begin(), noise.end());
        }
        sendReply(bytes, plan.splitMs);
        if (plan.twice) sendReply(bytes, plan.splitMs);
        if (plan.repeatMs) {
            SleepUntilNs(NowNs() + std::int64_t{plan.repeatMs} * 1'000'000);
            sendReply(bytes, plan.splitMs);
        }
    }

    if (request->kind == RequestKind::Deactivate && options_.nextUnitMs) presentNextUnit();
    if (request->kind == RequestKind::Deactivate && options_.exitAfterDeactivate) {
        end = SessionEnd::Deactivated;
        return true;
    }
    return false;
}

void Session::checkLineSettings() {
    std::string problem = pty_.LineSettingsProblem();
    if (!problem.empty() && problem != lastLineProblem_)
        std::cerr << "orbsim: warning: the port is not set to 19200 8N1:" << problem << "\n";
    lastLineProblem_ = std::move(problem);
}

void Session::sendReply(const Bytes& bytes, unsigned splitMs) {
    // Three bursts with a pause between them, or one.
    const std::size_t parts = splitMs ? std::min<std::size_t>(3, bytes.size()) : 1;
    std::size_t done = 0;
    for (std::size_t part = 1; part <= parts; ++part) {
        const std::size_t end = bytes.size() * part / parts;
        const Bytes burst(bytes.begin() + static_cast<std::ptrdiff_t>(done),
                          bytes.begin() + static_cast<std::ptrdiff_t>(end));
        if (part > 1) SleepUntilNs(NowNs() + std::int64_t{splitMs} * 1'000'000);
        if (options_.pace)
            WritePaced(pty_.Master(), burst, NowNs());
        else
            WriteAll(pty_.Master(), burst);
        done = end;
    }
}

} // namespace orb::sim
