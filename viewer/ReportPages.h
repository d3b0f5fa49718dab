#pragma once

#include <QPageLayout>
#include <QSizeF>
#include <QString>
#include <functional>
#include <memory>

class QPagedPaintDevice;
class QPainter;
class QPdfDocument;
class TGraphic;

// What the print preview shows, prints and saves: the prepared page of one picture, or the pages of a
// PDF loaded back. Screen, printer and PDF file all draw through printPages.
namespace viewer {

class PageSource {
public:
    virtual ~PageSource() = default;
    virtual int pageCount() const = 0;
    // The paper the pages are meant for (the first page's, for a PDF).
    virtual QPageLayout pageLayout() const = 0;
    // Draws page `index` (from 0) with `painter`, whose unit is one device pixel at `deviceDpi` and whose
    // origin is the top left corner of paper `paperMm` large; pictures are drawn at `rasterDpi`.
    virtual void paintPage(QPainter& painter, int index, double deviceDpi, const QSizeF& paperMm,
                           double rasterDpi) const = 0;
};

// A4 portrait with no margins of the device's own: the page keeps its own margins.
QPageLayout a4Layout();

// The report of one picture: one page.
class PictureReport : public PageSource {
public:
    // `picture` stays the caller's and must outlive the report.
    PictureReport(TGraphic* picture, int heightPixels, double screenDpi);
    int pageCount() const override { return 1; }
    QPageLayout pageLayout() const override { return a4Layout(); }
    void paintPage(QPainter& painter, int index, double deviceDpi, const QSizeF& paperMm,
                   double rasterDpi) const override;

private:
    TGraphic* picture_;
    int heightPixels_;
    double screenDpi_;
};

// The pages of a PDF file, each drawn whole on the paper, shrunk to fit it when it is larger.
class PdfPages : public PageSource {
public:
    // Fails with "Cannot load the PDF file "%s". %s" when Qt PDF cannot open the file.
    explicit PdfPages(const QString& path);
    ~PdfPages() override;
    int pageCount() const override;
    QPageLayout pageLayout() const override;
    void paintPage(QPainter& painter, int index, double deviceDpi, const QSizeF& paperMm,
                   double rasterDpi) const override;
    // The file's bytes as they were loaded, for saving them again unchanged.
    const QByteArray& bytes() const { return bytes_; }

private:
    QByteArray bytes_;
    std::unique_ptr<QPdfDocument> document_;
};

struct PrintOptions {
    int copies = 1;
    bool deviceMakesCopies = false; // a printer that prints copyCount itself gets each page once
    int fromPage = 0;               // 1-based range; 0 and 0 print every page
    int toPage = 0;
    double rasterDpi = 300.0;
};

// The pages `options` asks for, in order, each as often as the copies say.
QList<int> pagesToPrint(int pageCount, const PrintOptions& options);

// Draws the pages asked for onto a paged device (a printer, a PDF writer, the preview's printer), one
// device page each, on the paper the device is set to. `progress`, when given, hears (pages done, pages
// in all) before each page and after the last one. Returns the number of pages drawn.
int printPages(QPagedPaintDevice& device, const PageSource& pages, const PrintOptions& options,
               const std::function<void(int done, int total)>& progress = {});

// Writes the pages as a PDF file (system or host path) with pictures at `dpi`, on the pages' paper.
void writePdf(const QString& path, const PageSource& pages, double dpi);

} // namespace viewer
