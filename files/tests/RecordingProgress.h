#pragma once

#include "common/Progress.h"

#include <string>
#include <vector>

namespace orb::test {

/// A progress window that remembers the messages it showed and whether it is still up.
class RecordingProgress : public Progress {
  public:
    void showProgress(const std::string& message, bool withStorno) override {
        shown.push_back(message);
        visible = true;
        storno = storno || withStorno;
    }
    void hideProgress() override { visible = false; }
    void setProgressValue(int, int) override {}
    bool dialogCancelled() const override { return false; }

    std::vector<std::string> shown;
    bool visible = false;
    bool storno = false; ///< a Storno button was offered at some point
};

} // namespace orb::test
