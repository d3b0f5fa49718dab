#include "viewer/ui/PreviewU.h"

#include "codecs/Canvas.h"
#include "viewer/ReportPages.h"
#include "viewer/ui/PreviewWindow.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>

namespace {

double screenDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : viewer::kUsualScreenDpi;
}

} // namespace

TPreview::TPreview(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Preview"));
}

TPreview::~TPreview() = default;

void TPreview::Preview() {
    const double dpi = screenDpi();
    viewer::PictureReport report(QRImage1.graphic(), imageHeight_, dpi);
    // Decoded now, at the size the preview draws it, so that a damaged picture is reported instead of
    // shown blank; the preview's drawing then reuses the decoded pixels.
    const QSize size = viewer::rasterSize(viewer::reportLayout(imageHeight_, dpi).picture,
                                          PreviewWindow::previewRasterDpi(dpi));
    QImage probe(size, QImage::Format_RGB32);
    if (!probe.isNull()) {
        TCanvas canvas(probe);
        canvas.stretchDraw(probe.rect(), QRImage1.graphic());
    }
    probe = QImage();

    QEventLoop loop;
    PreviewWindow window(report, dpi);
    window_ = &window;
    connect(&window, &PreviewWindow::closed, &loop, &QEventLoop::quit);
    window.showMaximized();
    if (window.isVisible()) loop.exec();
    window_ = nullptr;
}
