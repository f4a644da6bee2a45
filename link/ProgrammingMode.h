#pragma once

#include "common/Progress.h"
#include "common/ShownProgress.h"
#include "link/LinkOutcome.h"
#include "link/PortChoice.h"
#include "link/RequestCodes.h"
#include "link/session/StopToken.h"
#include "link/Transport.h"
#include "settings/SettingsForm.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orb {

/// Switches the unit into its programming mode and out again, identifies it and shows on the form
/// what it reported and whether it may be programmed.
class ProgrammingMode {
  public:
    ProgrammingMode(SettingsForm& form, Progress& progress, StopToken& stop, Transport& transport);

    /// Opens the chosen port, greets the unit until it answers or the stop token says stop, identifies it
    /// and enters Active (Done), Refused (wrong product or firmware) or, on any failure, Inactive; a unit
    /// that answered the hello is sent the deactivation before a failure is told. A box
    /// asking the user to get the unit ready that is closed without OK closes the port again, and nothing
    /// else (Cancelled).
    LinkOutcome activate();
    /// Takes the unit out of programming mode and closes the port; without a valid reply the user decides,
    /// and one who keeps the connection leaves it NotReached.
    LinkOutcome deactivate();
    /// Replaces the ports behind the entries of tabPort; at first they are "COM 1".."COM 4".
    void setPorts(std::vector<PortChoice> ports) { ports_ = std::move(ports); }
    const std::vector<PortChoice>& ports() const { return ports_; }
    /// Returns the port the user chose in tabPort.
    const PortChoice& chosenPort() const { return ports_.at(form_.options().tabPort); }
    /// Returns how messages name the port opened last (the user may pick another entry of tabPort while
    /// the unit is being greeted).
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

    bool openPort();
    Greeting greet();
    /// Sends the deactivation once; true when the unit confirmed it left programming mode.
    bool sendDeactivation();
    /// Asks until two valid replies in a row agree and returns the agreed one: nothing when a reply is
    /// missing or invalid (fewer than count bytes, or not hex digits after the code), or when the asks ran
    /// out first.
    std::optional<TransferBlock> askUntilTwoAgree(RequestCode code, int count);
    /// Asks for identity and version and shows them; nothing without a valid reply, else what they allow.
    std::optional<UnitVerdict> identify();
    static UnitVerdict verdictOn(const std::optional<std::string>& product, int major, int minor);
    void tellVerdict(UnitVerdict verdict);
    bool readMemoryAndModem();
    /// Ends a failed activation: Inactive, the progress window hidden, a greeted unit sent the
    /// deactivation, the failure told, the port closed.
    LinkOutcome fail(ShownProgress& shown, LinkOutcome outcome, bool greeted);

    SettingsForm& form_;
    Progress& progress_;
    StopToken& stop_;
    Transport& transport_;
    std::vector<PortChoice> ports_ = PortChoices({});
    std::string openedPortName_;
};

} // namespace orb
