#pragma once

#include "common/Progress.h"

#include <chrono>
#include <string>

namespace orb {

using Seconds = std::chrono::duration<double>;

/// Formats what a read or write of the unit moved, as orbctl prints it at the end: "2048 B, 256 bloků,
/// 0 opakování, 3,6 s, 97 % linky". The share is the time its frames take on the 19,200 bit/s line
/// against the time the transfer took; retries and slow replies lower it.
std::string TransferSummary(const TransferCounts& counts, Seconds elapsed);

/// Formats the time a transfer still needs at its pace so far ("zbývá 1:05"); empty before the first block.
std::string TimeLeft(Seconds elapsed, int done, int total);

} // namespace orb
