#include "viewer/ReportPage.h"

#include "codecs/Canvas.h"
#include "codecs/Graphic.h"
#include "platform/Error.h"

#include <QImage>
#include <QPainter>
#include <cmath>

namespace viewer {

int pictureHeightPixels(const QString& name) {
    return name.right(3).toUpper() == QLatin1String("GIF") ? kDocumentHeightPixels : kPhotographHeightPixels;
}

ReportLayout reportLayout(int heightPixels, double screenDpi) {
    ReportLayout layout;
    layout.band = QRectF(kMarginMm, kMarginMm, kBandWidthMm, kBandHeightMm);
    const double heightMm = heightPixels * 25.4 / screenDpi;
    layout.picture = QRectF(layout.band.left() + kPictureInsetMm, layout.band.top() + kPictureInsetMm,
                            kPictureWidthMm, heightMm);
    return layout;
}

QSize rasterSize(const QRectF& pictureMm, double rasterDpi) {
    return QSize(int(std::lround(pictureMm.width() * rasterDpi / 25.4)),
                 int(std::lround(pictureMm.height() * rasterDpi / 25.4)));
}

void paintReportPage(QPainter& painter, double deviceDpi, TGraphic* picture, int heightPixels,
                     double screenDpi, double rasterDpi) {
    const ReportLayout layout = reportLayout(heightPixels, screenDpi);
    const double toDevice = deviceDpi / 25.4;
    const auto onDevice = [&](const QRectF& mm) {
        return QRectF(mm.left() * toDevice, mm.top() * toDevice, mm.width() * toDevice,
                      mm.height() * toDevice);
    };
    painter.save();
    painter.fillRect(onDevice(layout.band), Qt::white);
    if (picture && !picture->empty()) {
        // Stretched once into pixels of the wanted resolution, then put on the page one to one where the
        // resolutions agree; the device never smooths it.
        const QSize size = rasterSize(layout.picture, rasterDpi);
        QImage pixels(size, QImage::Format_RGB32);
        if (pixels.isNull())
            throw platform::Error(QStringLiteral("The picture is too large (%1 by %2 pixels)")
                                      .arg(size.width())
                                      .arg(size.height()));
        pixels.fill(Qt::white);
        TCanvas canvas(pixels);
        canvas.stretchDraw(pixels.rect(), picture);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        // PDF output (and printing through it) keeps the pixels as they are, not JPEG-compressed again.
        painter.setRenderHint(QPainter::LosslessImageRendering, true);
        painter.drawImage(onDevice(layout.picture), pixels);
    }
    painter.restore();
}

} // namespace viewer
