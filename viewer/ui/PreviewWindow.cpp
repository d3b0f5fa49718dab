#include "viewer/ui/PreviewWindow.h"

#include "platform/DrivePaths.h"
#include "platform/Error.h"
#include "platform/MessageService.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QSaveFile>
#include <QShortcut>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

namespace {

// No filed picture holds more detail than 300 per inch over the page's 184 mm (2178 pixels); a finer
// printer gets the same pixels enlarged without smoothing.
constexpr double kMaxPrintRasterDpi = 300.0;

QAction* action(QToolBar* bar, const QString& name, const QString& text, QStyle::StandardPixmap icon) {
    QAction* a = bar->addAction(bar->style()->standardIcon(icon), text);
    a->setObjectName(name);
    a->setToolTip(text);
    return a;
}

} // namespace

double PreviewWindow::previewRasterDpi(double screenDpi) {
    return 2.0 * screenDpi;
}

double PreviewWindow::printRasterDpi(double printerDpi) {
    return std::min(printerDpi, kMaxPrintRasterDpi);
}

PreviewWindow::PreviewWindow(const viewer::PageSource& report, double screenDpi, QWidget* parent)
    : QMainWindow(parent), report_(report), screenDpi_(screenDpi), printer_(QPrinter::HighResolution) {
    setObjectName(QStringLiteral("PrintPreview"));
    setWindowTitle(QStringLiteral("Print Preview"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    printer_.setFullPage(true);
    printer_.setPageLayout(report_.pageLayout());
    printer_.setCopyCount(1);

    previewWidget = new QPrintPreviewWidget(&printer_, this);
    previewWidget->setObjectName(QStringLiteral("PreviewWidget"));
    previewWidget->setViewMode(QPrintPreviewWidget::SinglePageView);
    previewWidget->fitToWidth();
    setCentralWidget(previewWidget);
    connect(previewWidget, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* p) { generate(p); });
    connect(previewWidget, &QPrintPreviewWidget::previewChanged, this, [this] { showPageState(); });

    toolBar = addToolBar(QStringLiteral("Preview"));
    toolBar->setObjectName(QStringLiteral("PreviewToolBar"));
    toolBar->setMovable(false);
    zoomFitAction = action(toolBar, "zoomFitAction", "Zoom to fit", QStyle::SP_TitleBarMaxButton);
    zoom100Action = action(toolBar, "zoom100Action", "100 %", QStyle::SP_FileDialogContentsView);
    zoomWidthAction =
        action(toolBar, "zoomWidthAction", "Zoom to width", QStyle::SP_ToolBarHorizontalExtensionButton);
    toolBar->addSeparator();
    firstPageAction = action(toolBar, "firstPageAction", "First page", QStyle::SP_MediaSkipBackward);
    previousPageAction = action(toolBar, "previousPageAction", "Previous page", QStyle::SP_MediaSeekBackward);
    pageNumberBox = new QSpinBox(toolBar);
    pageNumberBox->setObjectName(QStringLiteral("pageNumberBox"));
    pageNumberBox->setToolTip(QStringLiteral("Go to page"));
    pageNumberBox->setRange(1, 1);
    pageNumberBox->setKeyboardTracking(false);
    toolBar->addWidget(pageNumberBox);
    nextPageAction = action(toolBar, "nextPageAction", "Next page", QStyle::SP_MediaSeekForward);
    lastPageAction = action(toolBar, "lastPageAction", "Last page", QStyle::SP_MediaSkipForward);
    toolBar->addSeparator();
    printerSetupAction =
        action(toolBar, "printerSetupAction", "Printer setup", QStyle::SP_FileDialogDetailedView);
    printAction = action(toolBar, "printAction", "Print", QStyle::SP_DialogApplyButton);
    toolBar->addSeparator();
    saveAction = action(toolBar, "saveAction", "Save", QStyle::SP_DialogSaveButton);
    loadAction = action(toolBar, "loadAction", "Load", QStyle::SP_DialogOpenButton);
    toolBar->addSeparator();
    closeAction = action(toolBar, "closeAction", "Close", QStyle::SP_DialogCloseButton);
    printerSetupAction->setEnabled(false);
    printAction->setEnabled(false);

    connect(zoomFitAction, &QAction::triggered, previewWidget, &QPrintPreviewWidget::fitInView);
    connect(zoom100Action, &QAction::triggered, this, [this] {
        previewWidget->setZoomMode(QPrintPreviewWidget::CustomZoom);
        previewWidget->setZoomFactor(1.0);
    });
    connect(zoomWidthAction, &QAction::triggered, previewWidget, &QPrintPreviewWidget::fitToWidth);
    connect(firstPageAction, &QAction::triggered, this, [this] { goToPage(1); });
    connect(previousPageAction, &QAction::triggered, this,
            [this] { goToPage(previewWidget->currentPage() - 1); });
    connect(nextPageAction, &QAction::triggered, this,
            [this] { goToPage(previewWidget->currentPage() + 1); });
    connect(lastPageAction, &QAction::triggered, this, [this] { goToPage(previewWidget->pageCount()); });
    connect(pageNumberBox, &QSpinBox::valueChanged, this, [this](int page) { goToPage(page); });
    connect(printerSetupAction, &QAction::triggered, this, [this] { printerSetup(); });
    connect(printAction, &QAction::triggered, this,
            [this] { platform::handleErrors([this] { printPages(); }); });
    connect(saveAction, &QAction::triggered, this, [this] { askSave(); });
    connect(loadAction, &QAction::triggered, this, [this] { askLoad(); });
    connect(closeAction, &QAction::triggered, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    progressLabel = new QLabel(this);
    progressLabel->setObjectName(QStringLiteral("progressLabel"));
    pageLabel = new QLabel(this);
    pageLabel->setObjectName(QStringLiteral("pageLabel"));
    statusBar()->addWidget(progressLabel);
    statusBar()->addWidget(pageLabel, 1);
    progressLabel->setText(QStringLiteral("0 %"));
}

PreviewWindow::~PreviewWindow() = default;

const viewer::PageSource& PreviewWindow::pages() const {
    return loaded_ ? static_cast<const viewer::PageSource&>(*loaded_) : report_;
}

void PreviewWindow::generate(QPrinter* previewPrinter) {
    ready_ = false;
    printerSetupAction->setEnabled(false);
    printAction->setEnabled(false);
    viewer::PrintOptions options;
    options.rasterDpi = previewRasterDpi(screenDpi_);
    platform::handleErrors([&] {
        viewer::printPages(*previewPrinter, pages(), options, [this](int done, int total) {
            progressLabel->setText(QStringLiteral("%1 %").arg(total ? done * 100 / total : 100));
            progressLabel->repaint();
        });
        ++generated_;
        ready_ = true;
    });
    printerSetupAction->setEnabled(ready_);
    printAction->setEnabled(ready_);
}

void PreviewWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (zoomedOnce_) return;
    zoomedOnce_ = true;
    // Once the page is generated and the window has its final size.
    QTimer::singleShot(0, this, [this] {
        previewWidget->fitToWidth();
        showPageState();
    });
}

void PreviewWindow::showPageState() {
    const int count = std::max(previewWidget->pageCount(), 0);
    const int current = std::clamp(previewWidget->currentPage(), count ? 1 : 0, count);
    pageLabel->setText(QStringLiteral("Page %1 of %2").arg(current).arg(count));
    const QSignalBlocker quiet(pageNumberBox);
    pageNumberBox->setRange(count ? 1 : 0, count);
    pageNumberBox->setValue(current);
    firstPageAction->setEnabled(current > 1);
    previousPageAction->setEnabled(current > 1);
    nextPageAction->setEnabled(current < count);
    lastPageAction->setEnabled(current < count);
}

void PreviewWindow::goToPage(int page) {
    const int count = previewWidget->pageCount();
    if (count < 1) return;
    previewWidget->setCurrentPage(std::clamp(page, 1, count));
    showPageState();
}

void PreviewWindow::printerSetup() {
    if (!ready_) return;
    QPrintDialog dialog(&printer_, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(1, std::max(1, pages().pageCount()));
    if (dialog.exec() != QDialog::Accepted) return;
    printer_.setFullPage(true);
    previewWidget->updatePreview(); // the orientation or paper may have changed
}

void PreviewWindow::printPages() {
    if (!ready_) return;
    if (printer_.outputFormat() == QPrinter::NativeFormat && printer_.printerName().isEmpty())
        throw platform::Error(QStringLiteral("No printer is installed"));
    if (printer_.outputFormat() == QPrinter::PdfFormat && printer_.outputFileName().isEmpty())
        throw platform::Error(QStringLiteral("No printer is installed"));
    viewer::PrintOptions options;
    options.copies = printer_.copyCount();
    options.deviceMakesCopies = printer_.supportsMultipleCopies();
    if (printer_.printRange() == QPrinter::PageRange) {
        options.fromPage = printer_.fromPage();
        options.toPage = printer_.toPage();
    } else if (printer_.printRange() == QPrinter::CurrentPage) {
        options.fromPage = options.toPage = previewWidget->currentPage();
    }
    options.rasterDpi = printRasterDpi(printer_.resolution());

    QProgressDialog progress(this);
    progress.setWindowTitle(QStringLiteral("Printing progress"));
    progress.setObjectName(QStringLiteral("PrintingProgress"));
    progress.setCancelButton(nullptr);
    progress.setMinimumDuration(0);
    progress.setWindowModality(Qt::WindowModal);
    progress.show();
    viewer::printPages(printer_, pages(), options, [&](int done, int total) {
        progress.setMaximum(total);
        progress.setValue(done);
        progress.setLabelText(
            QStringLiteral("Printing page %1 of %2").arg(std::min(done + 1, total)).arg(total));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
}

void PreviewWindow::saveTo(const QString& path) {
    if (!loaded_) {
        viewer::writePdf(path, pages(), screenDpi_);
        return;
    }
    QSaveFile file(platform::drive::toHost(path));
    if (!file.open(QIODevice::WriteOnly) || file.write(loaded_->bytes()) != loaded_->bytes().size() ||
        !file.commit())
        throw platform::Error(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
}

void PreviewWindow::loadFrom(const QString& path) {
    auto pdf = std::make_unique<viewer::PdfPages>(path);
    loaded_ = std::move(pdf);
    printer_.setPageLayout(loaded_->pageLayout());
    previewWidget->updatePreview();
    previewWidget->setCurrentPage(1);
    showPageState();
}

void PreviewWindow::askSave() {
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save"), QString(),
                                                QStringLiteral("PDF files (*.pdf)"));
    if (path.isEmpty()) return;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) path += QLatin1String(".pdf");
    platform::handleErrors([&] { saveTo(path); });
}

void PreviewWindow::askLoad() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Load"), QString(),
                                                      QStringLiteral("PDF files (*.pdf)"));
    if (path.isEmpty()) return;
    platform::handleErrors([&] { loadFrom(path); });
}

void PreviewWindow::keyPressEvent(QKeyEvent* event) {
    // Escape closes also when the window's shortcut is not live (another window of the program active).
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (event->isAccepted()) emit closed();
}
