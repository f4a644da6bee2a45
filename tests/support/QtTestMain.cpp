// Runs the GoogleTest cases that need a QApplication, on the offscreen platform unless told otherwise.
#include <cstdlib>
#include <gtest/gtest.h>
#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // What the program keeps between runs (the recent files, the folder last used) goes to a folder of
    // this run, never to the user's own.
    const QTemporaryDir config;
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
