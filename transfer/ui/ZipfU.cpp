#include "transfer/ui/ZipfU.h"

TZipf::TZipf(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Zipf"));
    setWindowTitle(QStringLiteral("Process Zip..."));
}
