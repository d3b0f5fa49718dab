#include "app/ui/SplashU.h"

#include "platform/gui/WindowPlacement.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QWindow>

namespace {

const QColor Silver(0xC0, 0xC0, 0xC0);
const QColor ButtonFace(0xF0, 0xF0, 0xF0);
const QColor Red(0xFF, 0x00, 0x00);

QFont pixelFont(int pixels, bool bold, bool italic) {
    QFont font = QApplication::font();
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

} // namespace

// The picture lives in a static library: its resources are registered by hand (outside any namespace).
static void initialiseResources() {
    Q_INIT_RESOURCE(splash);
}

ExtrudedLabel::ExtrudedLabel(const QString& text, const QFont& font, const QColor& colour, int depth,
                             QWidget* parent)
    : QWidget(parent), text_(text), colour_(colour), depth_(depth) {
    setFont(font);
    setAttribute(Qt::WA_TranslucentBackground);
}

void ExtrudedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font());
    const QRect face(0, 0, width() - depth_, height() - depth_);
    const QColor nearShade = colour_.darker(180);
    for (int step = depth_; step >= 1; --step) {
        const double back = depth_ > 1 ? double(step - 1) / (depth_ - 1) : 0.0;
        const QColor shade =
            QColor::fromRgbF(nearShade.redF() + (ButtonFace.redF() - nearShade.redF()) * back,
                             nearShade.greenF() + (ButtonFace.greenF() - nearShade.greenF()) * back,
                             nearShade.blueF() + (ButtonFace.blueF() - nearShade.blueF()) * back);
        painter.setPen(shade);
        painter.drawText(face.translated(step, step), Qt::AlignLeft | Qt::AlignTop, text_);
    }
    painter.setPen(colour_);
    painter.drawText(face, Qt::AlignLeft | Qt::AlignTop, text_);
}

TSplash::TSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), Panel1(new QFrame(this)),
      Image1(new QLabel(Panel1)), Label1(new ExtrudedLabel(QStringLiteral("บริษัท Qorvane จำกัด"),
                                                           pixelFont(24, false, false), Red, 12, Panel1)),
      Label2(new ExtrudedLabel(QStringLiteral("VORLEX"), pixelFont(16, true, true), Red, 8, Panel1)),
      Bevel1(new QFrame(Panel1)) {
    initialiseResources();
    setObjectName(QStringLiteral("Splash"));
    setFixedSize(632, 453);
    platform::gui::centreOnDesktop(this);

    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 0, 632, 453);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(1);
    Panel1->setAutoFillBackground(true);
    QPalette silver = Panel1->palette();
    silver.setColor(QPalette::Window, Silver);
    Panel1->setPalette(silver);

    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(2, 2, 628, 449);
    Image1->setScaledContents(true);
    Image1->setPixmap(QPixmap(QStringLiteral(":/splash/splash-car.jpg")));

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(164, 373, 304, 41);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(273, 413, 86, 30);

    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setGeometry(238, 445, 156, 2);
    Bevel1->setFrameStyle(QFrame::HLine | QFrame::Raised);
    Bevel1->setLineWidth(1);
}

void TSplash::showAndPaint(int waitMs) {
    show();
    QElapsedTimer waited;
    waited.start();
    while (!(windowHandle() && windowHandle()->isExposed()) && waited.elapsed() < waitMs)
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents, 50);
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QApplication::sync();
}
