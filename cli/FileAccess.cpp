#include "cli/FileAccess.h"

#include "cli/CliError.h"
#include "files/FileMessages.h"
#include "files/RawFile.h"
#include "files/SystemErrorText.h"
#include "files/WriteTarget.h"

#include <iostream>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace orb {

namespace {

/// "-" names the standard input or output; /dev/stdout is taken the same way, so that output redirected
/// to a file (even for appending) is written through the descriptor, never by replacing that file.
bool isStandardOutput(const std::string& path) {
    return path == "-" || path == "/dev/stdout";
}

std::vector<std::uint8_t> load(const std::string& path, std::size_t maxSize) {
    try {
        if (path == "-") return ReadDescriptorContent(STDIN_FILENO, maxSize);
        return ReadFileContent(path, maxSize);
    } catch (const std::system_error& error) {
        throw CliError(ExitStatus::Failure,
                       file_messages::loadFailed(path) + " " + DescribeSystemError(error.code()));
    }
}

/// Runs a step of a save to the path, turning its errors into the save's message.
template <typename Step> void saving(const std::string& path, Step step) {
    try {
        step();
    } catch (const UnwritableTarget& refusal) {
        throw CliError(ExitStatus::Failure, file_messages::saveRefused(path, refusal.reason()));
    } catch (const std::system_error& error) {
        throw CliError(ExitStatus::Failure,
                       file_messages::saveFailed(path) + " " + DescribeSystemError(error.code()));
    }
}

void save(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    saving(path, [&] {
        if (isStandardOutput(path)) {
            std::cout.flush();
            WriteDescriptorContent(STDOUT_FILENO, bytes);
        } else {
            ReplaceFileContent(path, bytes);
        }
    });
}

} // namespace

std::int32_t LoadImageBytes(const std::string& path, EepromImage& image) {
    const std::vector<std::uint8_t> bytes = load(path, EepromImage::Size);
    for (std::size_t address = 0; address < bytes.size(); ++address)
        image.putByte(static_cast<std::int32_t>(address), bytes[address]);
    return static_cast<std::int32_t>(bytes.size());
}

void SaveImageBytes(const std::string& path, const EepromImage& image, std::int32_t length) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    for (std::int32_t address = 0; address < length; ++address)
        bytes[address] = image.getByte(address);
    save(path, bytes);
}

void SaveFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    saving(path, [&] { ReplaceRegularFile(path, bytes); });
}

void CheckOutputWritable(const std::string& path) {
    if (!isStandardOutput(path)) saving(path, [&] { CheckFileWritable(path); });
}

std::string LoadTextFile(const std::string& path) {
    const std::vector<std::uint8_t> bytes = load(path, MaxTextFileSize);
    return std::string(bytes.begin(), bytes.end());
}

void SaveTextFile(const std::string& path, const std::string& text) {
    save(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

} // namespace orb
