#include "ui/Info.h"

#include "ui/PaintedIcons.h"
#include "ui/ScreenCentre.h"
#include "ui/Twips.h"

#include <functional>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <utility>

namespace orb {
namespace {

constexpr int ClientWidth = 5190;
constexpr int ClientHeight = 1110;
constexpr int BarTop = 1080;
constexpr int BarHeight = 240;
constexpr int BarRoom = 330; ///< the window grows by this much while the bar shows

/// A window that only its own button or the program can close; Esc presses Storno while it shows.
class InfoWindow : public QWidget {
  public:
    InfoWindow(QWidget* owner, std::function<void()> escape)
        : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
          escape_(std::move(escape)) {}

  protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
    void keyPressEvent(QKeyEvent* event) override {
        if (!event->matches(QKeySequence::Cancel)) return QWidget::keyPressEvent(event);
        escape_();
    }

  private:
    std::function<void()> escape_;
};

} // namespace

Info::Info(QWidget* owner) : owner_(owner) {}

void Info::create() {
    window_ = new InfoWindow(owner_, [this] {
        if (storno_->isVisible()) storno_->click();
    });
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

    bar_ = new QProgressBar(window_);
    bar_->setObjectName("Prubeh");
    bar_->setFormat("%v / %m");
    placeTwips(bar_, 120, BarTop, 4935, BarHeight);
    bar_->hide();
}

void Info::showProgress(const std::string& message, bool withStorno) {
    cancelled_ = stopped_;
    if (!window_) create();
    const bool newShowing = !window_->isVisible();
    window_->setWindowTitle("ORB");
    storno_->setVisible(withStorno);
    napis_->setText(QString::fromStdString(message));
    if (newShowing) {
        setBarVisible(false);
        window_->show();
        centreOnScreen(window_);
        // Esc and Space reach Storno only while the window has the keyboard.
        window_->activateWindow();
    }
    QApplication::processEvents();
}

void Info::hideProgress() {
    if (window_) window_->hide();
    owner_->activateWindow();
    QApplication::processEvents();
}

void Info::storno() {
    cancelled_ = true;
    if (window_) window_->hide();
}

void Info::stopForGood() {
    stopped_ = true;
    storno();
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
