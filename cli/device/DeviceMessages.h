#pragma once

#include "link/qt/StopSignals.h"

#include <string>

namespace orb {

// orbctl's own words where the window has none: a stop by a signal and the time limit of the activation.

inline std::string stoppedBy(int signal) {
    return "Program byl přerušen signálem " + SignalName(signal) + ".";
}

inline std::string noAnswerWithin(int seconds) {
    return "Zařízení neodpovědělo během " + std::to_string(seconds) + " s.";
}

} // namespace orb
