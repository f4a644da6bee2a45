#pragma once

#include "common/Progress.h"

#include <string>

namespace orb {

/// Keeps the progress window up for as long as it lives and hides it on every way out: a return, an
/// exception, or hide() before a box that must not appear under it.
class ShownProgress {
  public:
    ShownProgress(Progress& progress, const std::string& message, bool withStorno) : progress_(progress) {
        progress_.showProgress(message, withStorno);
    }
    ~ShownProgress() { progress_.hideProgress(); }
    ShownProgress(const ShownProgress&) = delete;
    ShownProgress& operator=(const ShownProgress&) = delete;

    void hide() { progress_.hideProgress(); }

  private:
    Progress& progress_;
};

} // namespace orb
