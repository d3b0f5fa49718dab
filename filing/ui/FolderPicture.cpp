#include "filing/ui/FolderPicture.h"

#include <QPainter>
#include <QPainterPath>

QImage folderPicture() {
    QImage image(110, 94, QImage::Format_RGB32);
    image.fill(QColor(192, 192, 192));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor outline(128, 96, 0);

    QPainterPath back;
    back.moveTo(6, 16);
    back.lineTo(40, 16);
    back.lineTo(48, 24);
    back.lineTo(102, 24);
    back.lineTo(102, 86);
    back.lineTo(6, 86);
    back.closeSubpath();
    painter.setPen(QPen(outline, 2));
    painter.setBrush(QColor(224, 176, 32));
    painter.drawPath(back);

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(14, 30, 78, 40);

    QPainterPath front;
    front.moveTo(4, 40);
    front.lineTo(106, 40);
    front.lineTo(100, 88);
    front.lineTo(10, 88);
    front.closeSubpath();
    painter.setPen(QPen(outline, 2));
    painter.setBrush(QColor(255, 216, 64));
    painter.drawPath(front);
    return image;
}
