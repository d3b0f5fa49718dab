#include "viewer/ui/PreviewU.h"

TPreview::TPreview(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Preview"));
}
