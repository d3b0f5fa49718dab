#include <QApplication>
#include <gtest/gtest.h>

// Tests run headless: an offscreen QApplication lets the widget tests make real windows.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vorlex"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
