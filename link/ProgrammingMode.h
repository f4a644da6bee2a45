#pragma once

#include "common/Progress.h"
#include "common/Prompter.h"
#include "common/ShownProgress.h"
#include "link/PortChoice.h"
#include "link/RequestCodes.h"
#include "link/session/KnownUnit.h"
#include "link/session/SessionResult.h"
#include "link/session/StopToken.h"
#include "link/Transport.h"

#include <optional>
#include <string>

namespace orb {

/// Switches the unit into its programming mode and out again, identifies it and keeps in the known unit
/// what it reported and whether it may be programmed. Boxes go to the prompter; each call returns the text
/// of the one that told how it ended.
class ProgrammingMode {
  public:
    ProgrammingMode(Prompter& prompter, Progress& progress, StopToken& stop, Transport& transport,
                    KnownUnit& unit);

    /// Opens the port, greets the unit until it answers or the stop token says stop, identifies it and
    /// enters Active (Done), Refused (wrong product or firmware) or, on any failure, Inactive; a unit that
    /// answered the hello is sent the deactivation before a failure is told. A box asking the user to get
    /// the unit ready that is closed without OK closes the port again, and nothing else (Cancelled).
    SessionResult activate(const PortChoice& port);
    /// Takes the unit out of programming mode and closes the port; without a valid reply the user decides,
    /// and one who keeps the connection leaves it NotReached.
    SessionResult deactivate();
    /// Returns how messages name the port opened last.
    const std::string& openedPortName() const { return openedPortName_; }

  private:
    /// What the unit's identity and firmware allow; all but Accepted are told in a box.
    enum class UnitVerdict {
        Accepted,       ///< ORB or ORBTONE with firmware 1.2 or later
        UnknownProduct, ///< an identity of no known product: accepted, with a notice
        WrongProduct,   ///< a product this program does not set up: refused
        TooOld,         ///< firmware below 1.2: refused
    };

    /// How the hello loop ended.
    enum class Greeting {
        Answered,            ///< the unit answered: it is in programming mode
        Stopped,             ///< a stop before any answer
        AnsweredThenStopped, ///< a stop in the turn the answer came: the unit is in programming mode
    };

    /// Opens the port; the message that told why it would not open, if it did not.
    std::optional<std::string> openPort(const PortChoice& port);
    Greeting greet();
    /// Sends the deactivation once; true when the unit confirmed it left programming mode.
    bool sendDeactivation();
    /// Asks until two valid replies in a row agree and returns the agreed one; a missing or invalid reply
    /// (fewer than count bytes, or not hex digits after the code) is asked for again. Nothing when the asks
    /// ran out first.
    std::optional<TransferBlock> askUntilTwoAgree(RequestCode code, int count);
    /// Asks for identity and version and shows them; nothing without a valid reply, else what they allow.
    std::optional<UnitVerdict> identify();
    static UnitVerdict verdictOn(const std::optional<std::string>& product, int major, int minor);
    /// Tells a verdict other than Accepted in its box and returns the box's text.
    std::string tellVerdict(UnitVerdict verdict);
    bool readMemoryAndModem();
    /// Ends a failed activation: Inactive, the progress window hidden, a greeted unit sent the
    /// deactivation, the failure told, the port closed.
    SessionResult fail(ShownProgress& shown, LinkOutcome outcome, bool greeted);

    Prompter& prompter_;
    Progress& progress_;
    StopToken& stop_;
    Transport& transport_;
    KnownUnit& unit_;
    std::string openedPortName_;
};

} // namespace orb
