#include "ui/Info.h"

#include "ui/PaintedIcons.h"
#include "ui/ScreenCentre.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>

namespace orb {
namespace {

constexpr int ClientWidth = 5190;
constexpr int ClientHeight = 1110;
constexpr int BarTop = 1080;
constexpr int BarHeight = 240;
constexpr int BarRoom = 330; ///< the window grows by this much while the bar shows

/// A window that only its own button or the program can close.
class InfoWindow : public QWidget {
  public:
    explicit InfoWindow(QWidget* owner)
        : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
        // The window never asks for the keyboard. Asked for on every showing, the request could reach the
        // window system after a short operation had hidden the window again: the keyboard then stayed with
        // the hidden window, while the main window looked active and took clicks but no keys.
        setAttribute(Qt::WA_ShowWithoutActivating);
    }

  protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

} // namespace

Info::Info(QWidget* owner, StopToken& stop) : owner_(owner), stop_(stop) {}

void Info::create() {
    window_ = new InfoWindow(owner_);
    window_->setObjectName("Info");
    window_->setWindowIcon(paintedIcon(Picture::Unit));
    window_->setFixedSize(twips(ClientWidth), twips(ClientHeight));

    napis_ = new QLabel("???", window_);
    napis_->setObjectName("Napis");
    napis_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    napis_->setWordWrap(true);
    placeTwips(napis_, 120, 120, 4935, 735);

    storno_ = new QPushButton("Storno", window_);
    storno_->setObjectName("Storno");
    placeTwips(storno_, 1950, 600, 1335, 375);
    QObject::connect(storno_, &QPushButton::clicked, window_, [this] { storno(); });
    // Esc presses Storno from whichever window of the program has the keyboard, while Storno shows and no
    // modal box is open.
    auto* escape = new QShortcut(QKeySequence::Cancel, storno_, nullptr, nullptr, Qt::ApplicationShortcut);
    QObject::connect(escape, &QShortcut::activated, storno_, &QPushButton::click);

    bar_ = new QProgressBar(window_);
    bar_->setObjectName("Prubeh");
    bar_->setFormat("%v / %m");
    placeTwips(bar_, 120, BarTop, 4935, BarHeight);
    bar_->hide();
}

void Info::showProgress(const std::string& message, bool withStorno) {
    if (!window_) create();
    const bool newShowing = !window_->isVisible();
    window_->setWindowTitle("ORB");
    storno_->setVisible(withStorno);
    napis_->setText(QString::fromStdString(message));
    if (newShowing) {
        setBarVisible(false);
        window_->show();
        centreOnScreen(window_);
    }
    QApplication::processEvents();
}

void Info::hideProgress() {
    hide();
    QApplication::processEvents();
}

void Info::storno() {
    // The question's box holds the operation where it waits; a stop signal meanwhile has cancelled it.
    if (stopConfirmed_ && !stopConfirmed_()) return;
    cancel();
}

void Info::cancel() {
    stop_.request(StopReason::Storno);
    hide();
}

void Info::hide() {
    if (!window_) return;
    // The window has the keyboard only when the user clicked into it; the main window gets it back first,
    // so that the keyboard never stays with a hidden window.
    if (window_->isActiveWindow()) owner_->activateWindow();
    window_->hide();
}

void Info::stopForGood() {
    stop_.requestForGood(StopReason::Signal);
    hide();
}

void Info::setProgressValue(int done, int total) {
    if (!window_ || !window_->isVisible()) return;
    bar_->setRange(0, total);
    bar_->setValue(done);
    setBarVisible(true);
}

void Info::setBarVisible(bool visible) {
    if (bar_->isHidden() != visible) return;
    bar_->setVisible(visible);
    window_->setFixedSize(twips(ClientWidth), twips(ClientHeight + (visible ? BarRoom : 0)));
}

} // namespace orb
