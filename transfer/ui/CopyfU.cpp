#include "transfer/ui/CopyfU.h"

#include "platform/gui/WindowPlacement.h"
#include "transfer/ui/CopyAnimation.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
TCopyf* theCopyf = nullptr;
constexpr int kBarUnitsPerStep = 1000;
} // namespace

TCopyf* Copyf() {
    return theCopyf;
}

TCopyf::TCopyf(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      animation(new CopyAnimation(this)), fileLabel(new QLabel(this)), destinationLabel(new QLabel(this)),
      progressBar(new QProgressBar(this)), cancelButton(new QPushButton(QStringLiteral("Cancel"), this)) {
    setObjectName(QStringLiteral("Copyf"));
    setWindowTitle(QStringLiteral("Copying..."));
    fileLabel->setObjectName(QStringLiteral("Label1"));
    destinationLabel->setObjectName(QStringLiteral("Label2"));
    progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar->setTextVisible(false);
    cancelButton->setObjectName(QStringLiteral("Button1"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(animation, 0, Qt::AlignHCenter);
    layout->addWidget(fileLabel);
    layout->addWidget(destinationLabel);
    layout->addWidget(progressBar);
    layout->addWidget(cancelButton, 0, Qt::AlignRight);
    resize(360, 200);
    setMaximum(100);
    connect(cancelButton, &QPushButton::clicked, this, &TCopyf::Button1Click);
    platform::gui::centreOnDesktop(this);
    if (!theCopyf) theCopyf = this;
}

TCopyf::~TCopyf() {
    if (theCopyf == this) theCopyf = nullptr;
}

void TCopyf::setMaximum(int maximum) {
    maximum_ = std::max(maximum, 1);
    position_ = std::min(position_, maximum_);
    progressBar->setRange(0, maximum_ * kBarUnitsPerStep);
    showBar(0);
}

void TCopyf::stepIt() {
    position_ = std::min(position_ + 1, maximum_);
    showBar(0);
}

void TCopyf::setFileFraction(qint64 sent, qint64 size) {
    showBar(size > 0 ? double(sent) / double(size) : 1.0);
}

void TCopyf::showBar(double fraction) {
    const int units =
        position_ * kBarUnitsPerStep + int(std::clamp(fraction, 0.0, 1.0) * (kBarUnitsPerStep - 1));
    progressBar->setValue(std::min(units, progressBar->maximum()));
}

void TCopyf::showForUpload() {
    cancelRequested_ = false;
    cancelButton->setEnabled(true);
    position_ = 0;
    animation->play();
    show();
    raise();
    repaint();
}

void TCopyf::closeAfterUpload() {
    animation->stop();
    close();
}

void TCopyf::Button1Click() {
    cancelRequested_ = true;
    cancelButton->setEnabled(false);
}
