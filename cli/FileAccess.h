#pragma once

#include "image/EepromImage.h"

#include <cstdint>
#include <string>

namespace orb {

/// Reads a settings file into the image from address 0; bytes beyond its end keep their value.
/// Throws CliError(Failure) naming the file and the cause.
void LoadImageBytes(const std::string& path, EepromImage& image);

/// Writes image bytes 0..length-1 to the file; an existing file is replaced only once the new content is
/// complete on disk. Throws CliError(Failure) naming the file and the cause.
void SaveImageBytes(const std::string& path, const EepromImage& image, std::int32_t length);

/// Reads a whole text file (the JSON settings); throws CliError(Failure) naming the file and the cause.
std::string LoadTextFile(const std::string& path);

/// Replaces a text file as SaveImageBytes does; throws CliError(Failure) naming the file and the cause.
void SaveTextFile(const std::string& path, const std::string& text);

} // namespace orb
