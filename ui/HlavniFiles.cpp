// The main window's settings files: the load and save commands, the title that names the window's file,
// the sign of a save and the recent files.
#include "files/SettingsFile.h"
#include "settings/SettingsForm.h"
#include "ui/Hlavni.h"
#include "ui/Twips.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

namespace orb {
namespace {

constexpr const char* ProgramTitle = "Inicializační program pro zařízení ORB/ORBTONE";
constexpr int SavedSignMs = 10'000;

/// A folder as the user knows it: the home folder as "~".
QString shownFolder(const QString& folder) {
    const QString home = QDir::homePath();
    if (folder == home || folder.startsWith(home + '/')) return '~' + folder.mid(home.size());
    return QDir::toNativeSeparators(folder);
}

} // namespace

void Hlavni::buildFileParts() {
    // The sign of a save stands in the free room of the tab strip, right of the tabs.
    savedSign_ = new QLabel(this);
    savedSign_->setObjectName("savedSign");
    savedSign_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const QTabBar* strip = tabs_->tabBar();
    const int left = tabs_->x() + strip->sizeHint().width() + twips(240);
    savedSign_->setGeometry(left, tabs_->y(), tabs_->geometry().right() - twips(60) - left,
                            strip->sizeHint().height());
    savedSign_->hide();
    savedSignTimer_ = new QTimer(this);
    savedSignTimer_->setSingleShot(true);
    savedSignTimer_->setInterval(SavedSignMs);
    connect(savedSignTimer_, &QTimer::timeout, savedSign_, &QWidget::hide);

    // The recent files: held down, or its context menu (the menu key) on the load button.
    recentFiles_ = new QMenu("Nedávné soubory", this);
    recentFiles_->setObjectName("recentFiles");
    recentFiles_->setToolTipsVisible(true);
    connect(recentFiles_, &QMenu::aboutToShow, this, [this] {
        recentFiles_->clear();
        int number = 0;
        for (const QString& path : fileDialogs_.history().recentFiles()) {
            const QFileInfo file(path);
            if (!file.exists()) continue;
            QAction* action = recentFiles_->addAction(
                QString("&%1 %2 (%3)").arg(++number).arg(file.fileName(), shownFolder(file.absolutePath())));
            action->setToolTip(QDir::toNativeSeparators(path));
            connect(action, &QAction::triggered, this,
                    [this, path] { loadFile(QFile::encodeName(path).toStdString()); });
        }
        if (number == 0) recentFiles_->addAction("Žádné nedávné soubory")->setEnabled(false);
    });
    btFileLoad_->setMenu(recentFiles_);
    btFileLoad_->setPopupMode(QToolButton::DelayedPopup);
    btFileLoad_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(btFileLoad_, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        if (btFileLoad_->isEnabled()) recentFiles_->popup(btFileLoad_->mapToGlobal(at));
    });
}

void Hlavni::loadFile() {
    LoadSettingsFile(*form_, image_, info_, fileDialogs_);
}

void Hlavni::loadFile(const std::string& name) {
    runCommand([this, &name] { LoadSettingsFile(*form_, image_, info_, fileDialogs_, name); });
}

void Hlavni::saveFile() {
    if (SaveSettingsFile(*form_, image_, info_, fileDialogs_)) showSavedSign();
}

std::string Hlavni::settingsFileName() const {
    return QFileInfo(fileDialogs_.file()).fileName().toStdString();
}

void Hlavni::showTitle() {
    const QString file = QFileInfo(fileDialogs_.file()).fileName();
    setWindowTitle(file.isEmpty() ? QString(ProgramTitle) + "[*]" : file + "[*] – " + ProgramTitle);
    setWindowModified(form_ && form_->settingsChanged());
    // The sign of a save says no more once the settings changed again.
    if (isWindowModified()) savedSign_->hide();
}

void Hlavni::showSavedSign() {
    const QString text = "Uloženo do souboru " + QFileInfo(fileDialogs_.file()).fileName();
    savedSign_->setText(savedSign_->fontMetrics().elidedText(text, Qt::ElideMiddle, savedSign_->width()));
    savedSign_->setToolTip(QDir::toNativeSeparators(fileDialogs_.file()));
    savedSign_->show();
    savedSignTimer_->start();
}

} // namespace orb
