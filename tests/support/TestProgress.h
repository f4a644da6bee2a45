#pragma once

#include "common/Progress.h"
#include "link/session/StopToken.h"

#include <string>
#include <vector>

namespace orb::test {

/// A progress window that records how it was shown and hidden; the test presses its Storno by cancel(),
/// which asks the link to stop through stop.
class TestProgress : public Progress {
  public:
    void showProgress(const std::string& message, bool withStorno) override {
        shown = true;
        stornoOffered = stornoOffered || withStorno;
        messages.push_back(message);
        events.push_back("show " + message + (withStorno ? " [Storno]" : ""));
    }
    void hideProgress() override {
        if (shown) events.push_back("hide");
        shown = false;
    }
    void setProgressValue(int done, int total) override {
        lastDone = done;
        lastTotal = total;
        if (done == stornoAtBlock) cancel();
    }
    void transferEnded(const TransferCounts& counts) override { transfers.push_back(counts); }

    /// Presses Storno: asks the running exchange to stop and hides the window.
    void cancel() {
        stop.request(StopReason::Storno);
        hideProgress();
    }

    StopToken stop;                        ///< what the link looks at between hellos and blocks
    std::vector<std::string> events;       ///< "show <message> [Storno]" and "hide", in order
    std::vector<std::string> messages;     ///< the message of each show, in order
    std::vector<TransferCounts> transfers; ///< what each whole-memory transfer reported at its end
    int stornoAtBlock = 0;                 ///< presses Storno when this many blocks are done (0: never)
    bool shown = false;                    ///< the window is up
    bool stornoOffered = false;            ///< a Storno button was offered at some point
    int lastDone = 0;
    int lastTotal = 0;
};

} // namespace orb::test
