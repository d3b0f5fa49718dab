#include "transfer/ui/ZipfU.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {
TZipf* theZipf = nullptr;
}

TZipf* Zipf() {
    return theZipf;
}

TZipf::TZipf(QWidget* parent)
    : QWidget(parent, Qt::Window), fileLabel(new QLabel(this)), progressBar(new QProgressBar(this)) {
    setObjectName(QStringLiteral("Zipf"));
    setWindowTitle(QStringLiteral("Process Zip..."));
    fileLabel->setObjectName(QStringLiteral("Label1"));
    progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar->setRange(0, 100);
    progressBar->setValue(0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fileLabel);
    layout->addWidget(progressBar);
    resize(360, 90);
    archive::applyTransferSettings(Zip1);
    Zip1.OnBegin = [this](archive::TZip&, const QString& fileName, int, bool&) { Zip1Begin(fileName); };
    Zip1.OnProgress = [this](archive::TZip&, quint8, quint8 byArchive) { Zip1Progress(byArchive); };
    if (!theZipf) theZipf = this;
}

TZipf::~TZipf() {
    if (theZipf == this) theZipf = nullptr;
}

void TZipf::Zip1Begin(const QString& fileName) {
    fileLabel->setText(fileName);
    fileLabel->repaint();
}

void TZipf::Zip1Progress(int byArchive) {
    progressBar->setValue(byArchive);
    progressBar->repaint();
}
