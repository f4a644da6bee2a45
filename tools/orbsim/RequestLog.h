#pragma once

#include "tools/orbsim/Frame.h"

#include <cstdio>
#include <string>

namespace orb::sim {

/// One line per received request frame: counter, payload bytes in hex, and what it asked for.
class RequestLog {
  public:
    /// Opens (truncates) the log file; an empty path logs nothing. Throws std::system_error.
    explicit RequestLog(const std::string& path);
    ~RequestLog();
    RequestLog(const RequestLog&) = delete;
    RequestLog& operator=(const RequestLog&) = delete;

    /// Writes and flushes one line, so a reader counting lines sees every request at once.
    void Write(unsigned counter, const Bytes& payload, const std::string& what);

  private:
    std::FILE* file_ = nullptr;
};

} // namespace orb::sim
