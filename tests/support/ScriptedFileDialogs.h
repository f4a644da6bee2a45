#pragma once

#include "files/SettingsFile.h"

#include <deque>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace orb::test {

/// File dialogs that answer from a script, as if the user had chosen each name in turn (nothing for a
/// cancelled dialog); a dialog that comes when none is scripted, or a scripted one that never came, fails
/// the test.
class ScriptedFileDialogs : public FileDialogs {
  public:
    ~ScriptedFileDialogs() override {
        if (!answers.empty()) ADD_FAILURE() << answers.size() << " file dialog(s) never shown";
    }

    std::deque<std::optional<std::string>> answers;

    std::optional<std::string> chooseSaveFile() override { return next(); }
    std::optional<std::string> chooseOpenFile() override { return next(); }

  private:
    std::optional<std::string> next() {
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected file dialog";
            return std::nullopt;
        }
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace orb::test
