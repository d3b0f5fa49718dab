#pragma once

#include "viewer/ReportPages.h"

#include <QMainWindow>
#include <QPrinter>
#include <memory>

class QAction;
class QLabel;
class QPrintPreviewWidget;
class QSpinBox;
class QToolBar;

// The print preview window: the prepared pages on screen with zoom, page and print controls, save as
// PDF and load of a PDF. Closing it (also by Escape) emits closed().
class PreviewWindow : public QMainWindow {
    Q_OBJECT

public:
    // `report` stays the caller's and must outlive the window. `screenDpi` is the display's resolution.
    PreviewWindow(const viewer::PageSource& report, double screenDpi, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    // The resolution the preview draws pictures at: finer than the screen, for zooming in.
    static double previewRasterDpi(double screenDpi);
    // The resolution pictures are drawn at for a printer of `printerDpi`.
    static double printRasterDpi(double printerDpi);

    QPrintPreviewWidget* previewWidget;
    QToolBar* toolBar;
    QAction *zoomFitAction, *zoom100Action, *zoomWidthAction;
    QAction *firstPageAction, *previousPageAction, *nextPageAction, *lastPageAction;
    QSpinBox* pageNumberBox; // go to page
    QAction *printerSetupAction, *printAction, *saveAction, *loadAction, *closeAction;
    QLabel* progressLabel; // the generation's progress in per cent
    QLabel* pageLabel;     // "Page 1 of 1"

    // The printer that Print uses: the system's default printer, one copy, A4 portrait, until the
    // printer setup changes it.
    QPrinter& printer() { return printer_; }
    const viewer::PageSource& pages() const;
    int pagesGenerated() const { return generated_; }

    // Print: every page asked for in the printer setup onto its printer, with a progress window.
    void printPages();
    // Printer setup: the print dialog for printer, copies, page range and orientation.
    void printerSetup();
    // Save: the pages as a PDF file; a loaded PDF is written back as it was loaded.
    void saveTo(const QString& path);
    // Load: shows the pages of a PDF file instead; fails with the reason when Qt PDF cannot open it.
    void loadFrom(const QString& path);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void generate(QPrinter* previewPrinter);
    void showPageState();
    void goToPage(int page);
    void askSave();
    void askLoad();

    const viewer::PageSource& report_;
    std::unique_ptr<viewer::PdfPages> loaded_;
    double screenDpi_;
    QPrinter printer_;
    bool ready_ = false;
    bool zoomedOnce_ = false;
    int generated_ = 0;
};
