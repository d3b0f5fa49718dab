#include "transfer/ui/CopyfU.h"

#include "platform/gui/WindowPlacement.h"

TCopyf::TCopyf(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Copyf"));
    setWindowTitle(QStringLiteral("Copying..."));
    platform::gui::centreOnDesktop(this);
}
