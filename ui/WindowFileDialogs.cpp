#include "ui/WindowFileDialogs.h"

#include <QFile>

namespace orb {

WindowFileDialogs::WindowFileDialogs(QWidget* owner, std::function<void()> fileChanged)
    : qt_(owner, history_, [this] { return file_; }), fileChanged_(std::move(fileChanged)) {}

void WindowFileDialogs::settingsFileUsed(const std::string& name) {
    file_ = QFile::decodeName(name.c_str());
    history_.noteFile(file_);
    inUse().settingsFileUsed(name);
    fileChanged_();
}

void WindowFileDialogs::settingsReadFromUnit() {
    file_.clear();
    fileChanged_();
}

} // namespace orb
