#include "platform/gui/WidgetMessages.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Tests run headless: an offscreen application lets the widget tests make real windows. It is the
// program's own application object, so errors that reach the event loop are caught as in the program.
int main(int argc, char** argv) {
    // A home of the process's own before Qt looks for one: no test reaches the user's settings, drive
    // folder or trash, also one that makes no TempDrive.
    QTemporaryDir home;
    if (!home.isValid()) return 1;
    qputenv("HOME", QFile::encodeName(home.path()));
    for (const char* xdg : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        qunsetenv(xdg);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::gui::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vorlex"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
