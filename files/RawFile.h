#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orb {

/// What a FIFO or device does when nobody is at its other end yet, or it has nothing to give now.
enum class StreamWait {
    UntilReady, ///< waits, as a command in a shell pipeline is expected to
    Never       ///< fails at once, so that a window never freezes on a pipe nobody serves
};

/// Replaces the file's content with the bytes, or creates it. For a regular file or a new name the bytes
/// go to a temporary file in the same folder, reach the disk, and only then take the file's place, so a
/// failure at any point leaves an existing file as it was. An existing character device or FIFO is
/// written into directly and stays what it is. A symbolic link stays a link, to the new content; a link
/// to a file that does not exist yet creates that file. Throws UnwritableTarget when the target cannot
/// take the content (see FindWriteTarget), std::system_error when writing fails.
void ReplaceFileContent(const std::string& path, const std::vector<std::uint8_t>& bytes,
                        StreamWait wait = StreamWait::UntilReady);

/// Replaces a regular file's content or creates it, as ReplaceFileContent does, where a file is what the
/// save must leave (a backup): a device or FIFO at the path is refused, so the save never waits for a
/// reader nor hands the bytes to one. Throws UnwritableTarget or std::system_error.
void ReplaceRegularFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

/// Opens a regular file for reading and appending in place (a log), creating it when it does not exist,
/// after the checks every save makes (FindWriteTarget: a link planted in a shared folder is not followed);
/// a device, FIFO or folder is refused, and the opening never waits. Returns the descriptor, closed on
/// exec. Throws UnwritableTarget when the target is refused, std::system_error when opening fails.
int OpenForAppending(const std::string& path);

/// Reads what an open descriptor delivers up to its end, such as standard input; throws
/// std::system_error when it cannot be read or delivers more than maxSize bytes. A non-blocking
/// descriptor is waited for; with StreamWait::Never at most a second for each piece and five seconds for
/// the whole content, so a writer that trickles cannot hold the caller.
std::vector<std::uint8_t> ReadDescriptorContent(int descriptor, std::size_t maxSize,
                                                StreamWait wait = StreamWait::UntilReady);

/// Writes all the bytes to an open descriptor, such as standard output; throws std::system_error.
void WriteDescriptorContent(int descriptor, const std::vector<std::uint8_t>& bytes);

/// Reads the whole file; throws std::system_error when it cannot be read or holds more than maxSize bytes.
/// With StreamWait::Never a FIFO nobody writes into reads as empty, and one whose writer stays silent for
/// a second, or has not finished within five seconds, fails.
std::vector<std::uint8_t> ReadFileContent(const std::string& path, std::size_t maxSize,
                                          StreamWait wait = StreamWait::UntilReady);

} // namespace orb
