#pragma once

#include "common/Prompter.h"

class QWidget;

namespace orb {

/// Shows the program's messages as modal message boxes over the window that is active at the time.
class MessageBoxPrompter : public Prompter {
  public:
    /// Uses owner when no window of the program is active.
    explicit MessageBoxPrompter(QWidget* owner) : owner_(owner) {}

    Answer ask(const Message& message) override;

  private:
    QWidget* owner_;
};

} // namespace orb
