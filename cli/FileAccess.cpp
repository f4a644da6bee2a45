#include "cli/FileAccess.h"

#include "cli/CliError.h"
#include "files/FileMessages.h"
#include "files/RawFile.h"

#include <system_error>
#include <vector>

namespace orb {

namespace {

/// A JSON export is a few kilobytes; anything near this size is not one.
constexpr std::size_t MaxTextFileSize = 16 * 1024 * 1024;

std::vector<std::uint8_t> load(const std::string& path, std::size_t maxSize) {
    try {
        return ReadFileContent(path, maxSize);
    } catch (const std::system_error& error) {
        throw CliError(ExitStatus::Failure,
                       file_messages::loadFailed(path) + " (" + error.code().message() + ")");
    }
}

void save(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    try {
        ReplaceFileContent(path, bytes);
    } catch (const std::system_error& error) {
        throw CliError(ExitStatus::Failure,
                       file_messages::saveFailed(path) + " (" + error.code().message() + ")");
    }
}

} // namespace

void LoadImageBytes(const std::string& path, EepromImage& image) {
    const std::vector<std::uint8_t> bytes = load(path, EepromImage::Size);
    for (std::size_t address = 0; address < bytes.size(); ++address)
        image.putByte(static_cast<std::int32_t>(address), bytes[address]);
}

void SaveImageBytes(const std::string& path, const EepromImage& image, std::int32_t length) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    for (std::int32_t address = 0; address < length; ++address)
        bytes[address] = image.getByte(address);
    save(path, bytes);
}

std::string LoadTextFile(const std::string& path) {
    const std::vector<std::uint8_t> bytes = load(path, MaxTextFileSize);
    return std::string(bytes.begin(), bytes.end());
}

void SaveTextFile(const std::string& path, const std::string& text) {
    save(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

} // namespace orb
