#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace orb::testing_support {

/// Turns "40 00 1A 27" into its bytes.
std::vector<std::uint8_t> HexBytes(const std::string& hex);

/// The 149-byte image of the start-up settings, byte for byte as the image layout's worked example.
std::vector<std::uint8_t> DefaultImage();
/// The 166-byte worked example: input name 0 "A1", station "CHATA", T0 "+12345".
std::vector<std::uint8_t> ExampleImage();

/// A folder of its own under the system's temporary folder, removed with everything in it at the end.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    /// Returns the path of a file in the folder.
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    /// Writes bytes to a file in the folder and returns its path.
    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
    /// Returns a file's bytes.
    static std::vector<std::uint8_t> read(const std::string& path);

  private:
    std::filesystem::path path_;
};

} // namespace orb::testing_support
