#include "app/ui/Program.h"
#include "platform/gui/WidgetMessages.h"

// vorlex: the garage client. It takes no arguments; everything it needs lives in fixed places.
int main(int argc, char** argv) {
    platform::gui::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vorlex"));
    platform::gui::installWidgetMessages();
    Program program;
    if (!program.start()) return 1;
    return program.exec();
}
