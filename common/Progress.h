#pragma once

#include <string>

namespace orb {

/// The modeless progress window with its optional Storno button and the cancel flag it sets.
class Progress {
public:
    virtual ~Progress() = default;
    /// Shows the window with a message; clears the cancel flag.
    virtual void showProgress(const std::string& message, bool withStorno) = 0;
    /// Hides the window; hiding a hidden window does nothing else.
    virtual void hideProgress() = 0;
    /// Reports how far a long transfer has come (blocks done of all); windows may show it as a bar.
    virtual void setProgressValue(int done, int total) = 0;
    /// True once the user pressed Storno since the last showProgress (the program's DialogCancelled).
    virtual bool dialogCancelled() const = 0;
};

} // namespace orb
