#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orb {

/// Replaces the file's content with the bytes, or creates it: the bytes go to a temporary file in the
/// same folder, reach the disk, and only then take the file's place, so a failure at any point leaves an
/// existing file as it was. A symbolic link stays a link to the new content. Throws std::system_error.
void ReplaceFileContent(const std::string& path, const std::vector<std::uint8_t>& bytes);

/// Reads the whole file; throws std::system_error when it cannot be read or holds more than maxSize bytes.
std::vector<std::uint8_t> ReadFileContent(const std::string& path, std::size_t maxSize);

} // namespace orb
