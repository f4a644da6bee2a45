#pragma once

#include "image/EepromImage.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orb {

// A path of "-" means the standard input when read and the standard output when written. An existing
// device or FIFO is written into as it is; other files are replaced only once the new content is whole.

/// Reads a settings file into the image from address 0 and returns its length; bytes beyond its end keep
/// their value. Throws CliError(Failure) naming the file and the cause.
std::int32_t LoadImageBytes(const std::string& path, EepromImage& image);

/// Writes image bytes 0..length-1 to the file. Throws CliError(Failure) naming the file and the cause.
void SaveImageBytes(const std::string& path, const EepromImage& image, std::int32_t length);

/// Saves the bytes as a file that must stay a regular file (a backup): as SaveImageBytes does, but a device
/// or FIFO at the path is refused and "-" is a file's name. Throws CliError(Failure).
void SaveFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

/// Checks, before the work that produces an output starts, that the output can be written; refuses with
/// the message the save itself would give. Throws CliError(Failure).
void CheckOutputWritable(const std::string& path);

/// The largest text file read: a JSON export is a few kilobytes, anything near this size is not one.
inline constexpr std::size_t MaxTextFileSize = 16 * 1024 * 1024;

/// Reads a whole text file (the JSON settings); throws CliError(Failure) naming the file and the cause.
std::string LoadTextFile(const std::string& path);

/// Replaces a text file as SaveImageBytes does; throws CliError(Failure) naming the file and the cause.
void SaveTextFile(const std::string& path, const std::string& text);

} // namespace orb
