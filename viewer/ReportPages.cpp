#include "viewer/ReportPages.h"

#include "platform/DrivePaths.h"
#include "platform/Error.h"
#include "viewer/ReportPage.h"

#include <QFile>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

namespace viewer {
namespace {

// How far a page of `contentMm` must shrink to fit paper of `paperMm`; never enlarged.
double fitScale(const QSizeF& contentMm, const QSizeF& paperMm) {
    if (contentMm.isEmpty() || paperMm.isEmpty()) return 1.0;
    return std::min({1.0, paperMm.width() / contentMm.width(), paperMm.height() / contentMm.height()});
}

QString pdfErrorText(QPdfDocument::Error error) {
    switch (error) {
    case QPdfDocument::Error::None:
        return {};
    case QPdfDocument::Error::FileNotFound:
        return QStringLiteral("File not found");
    case QPdfDocument::Error::InvalidFileFormat:
        return QStringLiteral("Not a PDF file");
    case QPdfDocument::Error::IncorrectPassword:
        return QStringLiteral("The file is protected by a password");
    case QPdfDocument::Error::UnsupportedSecurityScheme:
        return QStringLiteral("The file's security scheme is not supported");
    case QPdfDocument::Error::DataNotYetAvailable:
    case QPdfDocument::Error::Unknown:
        break;
    }
    return QStringLiteral("The file cannot be read");
}

} // namespace

QPageLayout a4Layout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

PictureReport::PictureReport(TGraphic* picture, int heightPixels, double screenDpi)
    : picture_(picture), heightPixels_(heightPixels), screenDpi_(screenDpi) {}

void PictureReport::paintPage(QPainter& painter, int, double deviceDpi, const QSizeF& paperMm,
                              double rasterDpi) const {
    const ReportLayout layout = reportLayout(heightPixels_, screenDpi_);
    // A page that the chosen paper cannot hold (landscape, a smaller size) is shrunk, never cut.
    const QSizeF content(layout.picture.right() + kMarginMm, layout.picture.bottom() + kMarginMm);
    const double scale = fitScale(content, paperMm);
    painter.save();
    painter.scale(scale, scale);
    paintReportPage(painter, deviceDpi, picture_, heightPixels_, screenDpi_, rasterDpi * scale);
    painter.restore();
}

PdfPages::PdfPages(const QString& path) : document_(std::make_unique<QPdfDocument>()) {
    const QString host = platform::drive::toHost(path);
    QFile file(host);
    if (!file.open(QIODevice::ReadOnly))
        throw platform::Error(
            QStringLiteral("Cannot load the PDF file \"%1\". %2").arg(path, file.errorString()));
    bytes_ = file.readAll();
    file.close();
    const QPdfDocument::Error error = document_->load(host);
    if (error != QPdfDocument::Error::None || document_->pageCount() < 1) {
        const QString reason = error == QPdfDocument::Error::None ? QStringLiteral("The file holds no page")
                                                                  : pdfErrorText(error);
        throw platform::Error(QStringLiteral("Cannot load the PDF file \"%1\". %2").arg(path, reason));
    }
}

PdfPages::~PdfPages() = default;

int PdfPages::pageCount() const {
    return document_->pageCount();
}

QPageLayout PdfPages::pageLayout() const {
    const QSizeF points = document_->pagePointSize(0);
    const QPageSize size(points, QPageSize::Point, QString(), QPageSize::FuzzyMatch);
    return QPageLayout(size,
                       points.width() > points.height() ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

void PdfPages::paintPage(QPainter& painter, int index, double deviceDpi, const QSizeF& paperMm,
                         double rasterDpi) const {
    const QSizeF pageMm = document_->pagePointSize(index) * (25.4 / 72.0);
    const double scale = fitScale(pageMm, paperMm);
    const QSizeF shownMm = pageMm * scale;
    const QSize pixels(std::max(1, int(std::lround(shownMm.width() * rasterDpi / 25.4))),
                       std::max(1, int(std::lround(shownMm.height() * rasterDpi / 25.4))));
    const QImage image = document_->render(index, pixels);
    if (image.isNull())
        throw platform::Error(QStringLiteral("Page %1 of the PDF file cannot be drawn").arg(index + 1));
    const double toDevice = deviceDpi / 25.4;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(QRectF(0, 0, shownMm.width() * toDevice, shownMm.height() * toDevice), image);
    painter.restore();
}

QList<int> pagesToPrint(int pageCount, const PrintOptions& options) {
    int from = 1;
    int to = pageCount;
    if (options.fromPage > 0 || options.toPage > 0) {
        from = std::max(1, options.fromPage);
        to = std::min(pageCount, options.toPage > 0 ? options.toPage : pageCount);
    }
    QList<int> pages;
    const int copies = options.deviceMakesCopies ? 1 : std::max(1, options.copies);
    for (int copy = 0; copy < copies; ++copy)
        for (int page = from; page <= to; ++page)
            pages.append(page - 1);
    return pages;
}

int printPages(QPagedPaintDevice& device, const PageSource& pages, const PrintOptions& options,
               const std::function<void(int, int)>& progress) {
    const QList<int> order = pagesToPrint(pages.pageCount(), options);
    if (order.isEmpty()) return 0;
    const int total = int(order.size());
    if (progress) progress(0, total);
    QPainter painter;
    if (!painter.begin(&device)) throw platform::Error(QStringLiteral("The printer cannot be opened"));
    const double deviceDpi = device.logicalDpiX();
    const QPageLayout layout = device.pageLayout();
    const QSizeF paperMm = layout.fullRect(QPageLayout::Millimeter).size();
    const int resolution = int(std::lround(deviceDpi));
    // The painter starts at the printable area; the page is laid out from the paper's corner.
    const QPoint paperOffset =
        layout.fullRectPixels(resolution).topLeft() - layout.paintRectPixels(resolution).topLeft();
    int done = 0;
    try {
        for (const int page : order) {
            if (done > 0 && !device.newPage()) throw platform::Error(QStringLiteral("The printer stopped"));
            painter.save();
            painter.translate(paperOffset);
            pages.paintPage(painter, page, deviceDpi, paperMm, options.rasterDpi);
            painter.restore();
            ++done;
            if (progress) progress(done, total);
        }
    } catch (...) {
        painter.end();
        throw;
    }
    if (!painter.end()) throw platform::Error(QStringLiteral("The printer stopped"));
    return done;
}

void writePdf(const QString& path, const PageSource& pages, double dpi) {
    const QString host = platform::drive::toHost(path);
    // Written beside the target and put in its place when whole: a failed save leaves no half file.
    QSaveFile file(host);
    if (!file.open(QIODevice::WriteOnly))
        throw platform::Error(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
    {
        QPdfWriter writer(&file);
        writer.setResolution(int(std::lround(dpi)));
        writer.setCreator(QStringLiteral("Vorlex"));
        writer.setPageLayout(pages.pageLayout());
        PrintOptions options;
        options.rasterDpi = dpi;
        printPages(writer, pages, options);
    }
    if (!file.commit())
        throw platform::Error(QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()));
}

} // namespace viewer
