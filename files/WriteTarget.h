#pragma once

#include <string>
#include <system_error>

namespace orb {

/// A path that cannot take new content, found before anything is written. reason() says why in Czech,
/// in a sentence that follows the save's own message.
class UnwritableTarget : public std::system_error {
  public:
    /// Carries the cause as an error code and the Czech sentence that explains it to the user.
    UnwritableTarget(std::errc code, const std::string& reason)
        : std::system_error(std::make_error_code(code), reason), reason_(reason) {}
    /// Returns the Czech sentence.
    const std::string& reason() const { return reason_; }

  private:
    std::string reason_;
};

/// Where a save puts its bytes and how.
struct WriteTarget {
    enum class Kind {
        NewFile,     ///< nothing there yet: created beside its folder's other files
        RegularFile, ///< replaced whole once the new content is on disk
        Stream,      ///< a character device or a FIFO: written into as it is
    };
    std::string path; ///< the file itself, after following symbolic links
    Kind kind;
};

/// Follows the path's symbolic links, also a link to a file that does not exist yet, and checks that
/// what it names can take new content: a writable file, device or FIFO, or a new name in a writable
/// folder. Writes nothing; throws UnwritableTarget naming the cause.
WriteTarget FindWriteTarget(const std::string& path);

/// Follows the folder path's own symbolic links as FindWriteTarget follows a file's, and checks that it
/// names an existing folder the user may create files in. Returns the folder the links lead to; throws
/// UnwritableTarget naming the cause.
std::string FindWriteFolder(const std::string& path);

/// Checks that a save to the path can succeed before the work that produces its content starts, with
/// the same refusal the save would give. Throws UnwritableTarget.
inline void CheckFileWritable(const std::string& path) {
    FindWriteTarget(path);
}

} // namespace orb
