#include "platform/gui/WidgetMessages.h"

#include <gtest/gtest.h>

// Tests run headless: an offscreen application lets the widget tests make real windows. It is the
// program's own application object, so errors that reach the event loop are caught as in the program.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::gui::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vorlex"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
