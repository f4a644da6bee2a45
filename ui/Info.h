#pragma once

#include "common/Progress.h"
#include "link/session/StopToken.h"

#include <functional>
#include <QPointer>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace orb {

/// The progress window "Info": shown without blocking over the main window while a long operation runs,
/// with its message, an optional Storno button and, for block transfers, a bar of the blocks done.
/// It has no close button: only Storno or the running operation hides it. It never asks for the keyboard:
/// Esc presses its Storno from whichever window of the program has it.
class Info : public Progress {
  public:
    /// The window is created at its first showing, owned by owner. Its Storno asks the running exchange
    /// to stop through stop; the entry dialogs keep a cancel flag of their own.
    Info(QWidget* owner, StopToken& stop);

    void showProgress(const std::string& message, bool withStorno) override;
    void hideProgress() override;
    void setProgressValue(int done, int total) override;

    /// Presses Storno as the user would (its button, Esc): asks first while a question is set, then stops
    /// the running operation at its next check point.
    void storno();
    /// Makes Storno ask stopConfirmed first and stop only when it returns true; an empty function stops
    /// at once again. A write sets it: stopped half-way, it leaves the unit without valid settings.
    void askBeforeStorno(std::function<bool()> stopConfirmed) { stopConfirmed_ = std::move(stopConfirmed); }
    /// Presses Storno for the rest of the run (a stop signal): no exchange that begins after it greets or
    /// transfers anything.
    void stopForGood();

    /// The window, or nothing before its first showing.
    QWidget* window() const { return window_; }

  private:
    void create();
    void cancel();
    void hide();
    void setBarVisible(bool visible);

    QWidget* owner_;
    StopToken& stop_;
    std::function<bool()> stopConfirmed_;
    QPointer<QWidget> window_;
    QLabel* napis_ = nullptr;
    QPushButton* storno_ = nullptr;
    QProgressBar* bar_ = nullptr;
};

} // namespace orb
