#include "tools/orbsim/RequestLog.h"

#include <cerrno>
#include <system_error>

namespace orb::sim {

RequestLog::RequestLog(const std::string& path) {
    if (path.empty()) return;
    file_ = std::fopen(path.c_str(), "w");
    if (!file_) throw std::system_error(errno, std::generic_category(), "open " + path);
}

RequestLog::~RequestLog() {
    if (file_) std::fclose(file_);
}

void RequestLog::Write(unsigned counter, const Bytes& payload, const std::string& what) {
    if (!file_) return;
    std::fprintf(file_, "%u:", counter);
    for (std::uint8_t b : payload)
        std::fprintf(file_, " %02X", b);
    std::fprintf(file_, "  %s\n", what.c_str());
    std::fflush(file_);
}

} // namespace orb::sim
