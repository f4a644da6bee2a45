#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace orb::fuzz {

/// Hands out the fuzzer's bytes front to back; once they run out every read gives 0 or nothing.
class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : bytes_(data, size) {}

    /// Returns the next byte, or 0 when none is left.
    std::uint8_t byte() { return empty() ? 0 : bytes_[next_++]; }
    /// Returns up to count next bytes.
    std::vector<std::uint8_t> bytes(std::size_t count) {
        const std::size_t taken = count < remaining() ? count : remaining();
        std::vector<std::uint8_t> result(bytes_.begin() + next_, bytes_.begin() + next_ + taken);
        next_ += taken;
        return result;
    }
    /// Returns every byte not yet handed out.
    std::span<const std::uint8_t> rest() {
        const auto result = bytes_.subspan(next_);
        next_ = bytes_.size();
        return result;
    }
    /// Tells whether every byte has been handed out.
    bool empty() const { return next_ >= bytes_.size(); }
    std::size_t remaining() const { return bytes_.size() - next_; }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t next_ = 0;
};

} // namespace orb::fuzz
