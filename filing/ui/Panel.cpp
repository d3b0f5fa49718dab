#include "filing/ui/Panel.h"

#include "platform/MessageService.h"

#include <QMouseEvent>

TPanel::TPanel(QWidget* parent) : QLabel(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(true);
}

void TPanel::setColours(const QColor& background, const QColor& text) {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background);
    colours.setColor(QPalette::WindowText, text);
    setPalette(colours);
}

void TPanel::setTextPixels(int pixels) {
    QFont type = font();
    type.setPixelSize(pixels);
    setFont(type);
}

void TPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && onDblClick) platform::handleErrors(onDblClick);
    QLabel::mouseDoubleClickEvent(event);
}
