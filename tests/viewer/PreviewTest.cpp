// The print preview as the user gets it: a double-click on a filed picture, the preview window with its
// controls, printing, saving and loading, and the report windows each request makes and destroys.
#include "app/ui/PictureU.h"
#include "filing/ui/ImageBox.h"
#include "filing/ui/NewPicturesPage.h"
#include "filing/ui/Panel.h"
#include "register/Install.h"
#include "tests/viewer/ViewerFixture.h"
#include "viewer/ui/OldPicturesPage.h"
#include "viewer/ui/PreviewU.h"
#include "viewer/ui/PreviewWindow.h"

#include "platform/Error.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPdfWriter>
#include <QPointer>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

using namespace viewertest;

namespace {

QList<TPreview*> reportWindows() {
    QList<TPreview*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* report = qobject_cast<TPreview*>(w)) found.append(report);
    return found;
}

QList<PreviewWindow*> shownPreviews() {
    QList<PreviewWindow*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* preview = qobject_cast<PreviewWindow*>(w); preview && preview->isVisible())
            found.append(preview);
    return found;
}

// Runs `then` with the next preview window that shows, from inside the preview's wait; a preview that
// does not show within ten seconds fails the test.
void whenNextPreviewShows(std::function<void(PreviewWindow*)> then) {
    auto seen = std::make_shared<QSet<PreviewWindow*>>();
    for (PreviewWindow* w : shownPreviews())
        seen->insert(w);
    auto* timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, seen, waited, then] {
        for (PreviewWindow* w : shownPreviews()) {
            if (seen->contains(w) || w->pagesGenerated() == 0) continue;
            timer->stop();
            timer->deleteLater();
            then(w);
            return;
        }
        if (++*waited > 500) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no preview window showed";
            for (PreviewWindow* w : shownPreviews())
                w->close();
        }
    });
    timer->start(20);
}

class PreviewTest {
public:
    PreviewTest() {
        drive.makeFolder("c:\\picture\\AB123456");
        drive.writeFile("c:\\picture\\AB123456\\AB123456001.JPG", jpeg(blocks(400, 300, 4, 3)));
        drive.writeFile("c:\\picture\\AB123456\\AB123456002.JPG", jpeg(64, 48));
        drive.writeFile("c:\\picture\\AB123456\\AB123456800.gif", gif(blocks(90, 120, 3, 3)));
        page.show();
        page.claimList->setCurrentRow(0);
    }
    // What the page shows: the cells' names and the two buttons.
    QStringList state() {
        QStringList s;
        for (int i = 0; i < 9; ++i)
            s.append(page.cellImages.at(i)->isHidden() ? QStringLiteral("-")
                                                       : page.cellNameBars.at(i)->text());
        s.append(page.previousButton->isEnabled() ? "prev on" : "prev off");
        s.append(page.nextButton->isEnabled() ? "next on" : "next off");
        return s;
    }
    void doubleClick(int cell) { QTest::mouseDClick(page.cellImages.at(cell - 1), Qt::LeftButton); }
    // Print goes into this file instead of a printer.
    void printToFile(PreviewWindow* w, const QString& name) {
        w->printer().setOutputFormat(QPrinter::PdfFormat);
        w->printer().setOutputFileName(dir.filePath(name));
    }

    TempDrive drive;
    ScriptedMessages boxes;
    OldPicturesPage page;
    QTemporaryDir dir;
};

QString pdfInfo(const QString& pdf) {
    return QString::fromUtf8(peer("pdfinfo", {pdf}));
}

} // namespace

TEST(Preview, OpensMaximisedAndClosingItPrintsNothingAndChangesNothing) {
    PreviewTest t;
    const QStringList before = t.state();
    ASSERT_EQ(before.at(0), QStringLiteral("AB123456001.JPG"));
    bool looked = false;
    whenNextPreviewShows([&](PreviewWindow* w) {
        looked = true;
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Print Preview"));
        EXPECT_TRUE(w->windowState() & Qt::WindowMaximized);
        EXPECT_EQ(w->previewWidget->pageCount(), 1);
        EXPECT_EQ(w->pageLabel->text(), QStringLiteral("Page 1 of 1"));
        EXPECT_EQ(w->progressLabel->text(), QStringLiteral("100 %"));
        EXPECT_EQ(w->previewWidget->zoomMode(), QPrintPreviewWidget::FitToWidth);
        EXPECT_TRUE(w->printAction->isEnabled());
        EXPECT_TRUE(w->printerSetupAction->isEnabled());
        EXPECT_EQ(w->printer().pageLayout().pageSize().id(), QPageSize::A4);
        EXPECT_EQ(w->printer().pageLayout().orientation(), QPageLayout::Portrait);
        EXPECT_EQ(w->printer().copyCount(), 1);
        EXPECT_EQ(reportWindows().size(), 1);
        t.printToFile(w, "printed.pdf");
        // The zoom controls keep the one page.
        w->zoom100Action->trigger();
        EXPECT_EQ(w->previewWidget->zoomMode(), QPrintPreviewWidget::CustomZoom);
        EXPECT_DOUBLE_EQ(w->previewWidget->zoomFactor(), 1.0);
        w->zoomFitAction->trigger();
        EXPECT_EQ(w->previewWidget->zoomMode(), QPrintPreviewWidget::FitInView);
        w->lastPageAction->trigger();
        EXPECT_EQ(w->previewWidget->currentPage(), 1);
        w->activateWindow();
        QTest::keyClick(w->previewWidget, Qt::Key_Escape);
        if (w->isVisible()) {
            ADD_FAILURE() << "Escape did not close the preview";
            w->close();
        }
    });
    t.doubleClick(1);
    EXPECT_TRUE(looked);
    EXPECT_TRUE(shownPreviews().isEmpty());
    EXPECT_TRUE(reportWindows().isEmpty());
    EXPECT_FALSE(QFile::exists(t.dir.filePath("printed.pdf")));
    EXPECT_EQ(t.state(), before);
    EXPECT_EQ(t.boxes.count(), 0);
}

TEST(Preview, PrintSendsThePageToThePrinterChosen) {
    PreviewTest t;
    whenNextPreviewShows([&](PreviewWindow* w) {
        t.printToFile(w, "once.pdf");
        w->printAction->trigger();
        // Two copies on a printer that cannot make copies itself: the page twice.
        t.printToFile(w, "twice.pdf");
        w->printer().setCopyCount(2);
        w->printAction->trigger();
        w->closeAction->trigger();
    });
    t.doubleClick(1);
    EXPECT_EQ(t.boxes.count(), 0) << t.boxes.texts().join('\n').toStdString();
    const QString once = t.dir.filePath("once.pdf");
    ASSERT_TRUE(QFile::exists(once));
    EXPECT_TRUE(pdfInfo(once).contains(QRegularExpression("Pages:\\s+1\\n")));
    EXPECT_TRUE(pdfInfo(once).contains("(A4)"));
    // For the printer the picture is drawn again, finer: 184.41 by 142.88 mm at 300 per inch.
    const QString images = QString::fromUtf8(peer("pdfimages", {"-list", once}));
    EXPECT_TRUE(images.contains(QRegularExpression("image\\s+2178\\s+1688\\s.*\\s300\\s+300\\s")))
        << images.toStdString();
    const QString twice = t.dir.filePath("twice.pdf");
    ASSERT_TRUE(QFile::exists(twice));
    EXPECT_TRUE(pdfInfo(twice).contains(QRegularExpression("Pages:\\s+2\\n")))
        << pdfInfo(twice).toStdString();
    EXPECT_TRUE(reportWindows().isEmpty());
}

TEST(Preview, ASecondPreviewDestroysOnlyItsOwnReportWindow) {
    PreviewTest t;
    QPointer<TPreview> first;
    QPointer<TPreview> second;
    QPointer<PreviewWindow> firstWindow;
    bool secondLooked = false;
    whenNextPreviewShows([&](PreviewWindow* w) {
        firstWindow = w;
        ASSERT_EQ(reportWindows().size(), 1);
        first = reportWindows().first();
        // The main window takes input meanwhile: a second picture is previewed from the same page.
        whenNextPreviewShows([&](PreviewWindow* w2) {
            secondLooked = true;
            EXPECT_NE(w2, firstWindow.data());
            EXPECT_EQ(reportWindows().size(), 2);
            for (TPreview* r : reportWindows())
                if (r != first) second = r;
            EXPECT_EQ(second->imageHeight(), 1024); // the scan
            w2->close();
        });
        t.doubleClick(3);
        EXPECT_TRUE(secondLooked);
        EXPECT_TRUE(second.isNull());
        EXPECT_FALSE(first.isNull());
        EXPECT_TRUE(firstWindow && firstWindow->isVisible());
        EXPECT_EQ(first->imageHeight(), 540);
        w->close();
    });
    t.doubleClick(1);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(reportWindows().isEmpty());
    EXPECT_EQ(t.boxes.count(), 0);
}

TEST(Preview, APictureThatCannotBeLoadedGivesItsMessageAndNoPreview) {
    const struct {
        const char* name;
        const char* message;
    } cases[] = {
        {"AB123456003.JPG", "JPEG error #53."},  // a GIF under a JPEG name
        {"AB123456004.JPG", "JPEG error #"},     // good header, damaged data
        {"AB123456005.JPG", "Cannot open file"}, // removed after the page showed it
        {"AB123456006.txt", "Unknown picture file extension (.txt)"},
    };
    PreviewTest t;
    t.drive.writeFile("c:\\picture\\AB123456\\AB123456003.JPG", gif(blocks(30, 20, 2, 2)));
    QByteArray damaged = jpeg(blocks(64, 48, 2, 2));
    const qsizetype dht = damaged.indexOf("\xFF\xC4");
    ASSERT_GT(dht, 0);
    for (qsizetype i = dht + 4; i < dht + 21; ++i)
        damaged[i] = char(0xFF); // Huffman counts no table can have
    t.drive.writeFile("c:\\picture\\AB123456\\AB123456004.JPG", damaged);
    int shown = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        t.boxes.clear();
        t.page.cellNameBars.at(8)->setText(QString::fromLatin1(c.name));
        whenNextPreviewShows([&](PreviewWindow* w) {
            ++shown;
            w->close();
        });
        t.page.Zoom2(t.page.cellNameBars.at(8));
        ASSERT_EQ(t.boxes.count(), 1);
        EXPECT_TRUE(t.boxes.last().text.startsWith(QString::fromLatin1(c.message)))
            << t.boxes.last().text.toStdString();
        EXPECT_EQ(t.boxes.last().kind, platform::BoxKind::Error);
        EXPECT_TRUE(reportWindows().isEmpty());
        QTest::qWait(50);
    }
    EXPECT_EQ(shown, 0);
}

TEST(Preview, SavesThePageAsPdfAndLoadsPdfFilesBack) {
    PreviewTest t;
    // A two-page PDF of another program.
    const QString twoPages = t.dir.filePath("two.pdf");
    {
        QPdfWriter writer(twoPages);
        writer.setPageSize(QPageSize(QPageSize::A5));
        QPainter painter(&writer);
        painter.fillRect(QRect(0, 0, 500, 500), Qt::red);
        writer.newPage();
        painter.fillRect(QRect(0, 0, 500, 500), Qt::blue);
    }
    t.drive.writeFile("c:\\notes.pdf", "not a PDF at all");
    whenNextPreviewShows([&](PreviewWindow* w) {
        const QString saved = t.dir.filePath("saved.pdf");
        w->saveTo(saved);
        const QString images = QString::fromUtf8(peer("pdfimages", {"-list", saved}));
        EXPECT_TRUE(images.contains(QRegularExpression("image\\s+697\\s+540\\s.*\\s96\\s+96\\s")))
            << images.toStdString();

        try {
            w->loadFrom("c:\\notes.pdf");
            ADD_FAILURE() << "a file that is no PDF loaded";
        } catch (const platform::Error& e) {
            EXPECT_TRUE(e.message().startsWith("Cannot load the PDF file \"c:\\notes.pdf\".")) << e.what();
        }
        EXPECT_EQ(w->previewWidget->pageCount(), 1);

        w->loadFrom(twoPages);
        EXPECT_EQ(w->previewWidget->pageCount(), 2);
        EXPECT_EQ(w->pageLabel->text(), QStringLiteral("Page 1 of 2"));
        w->nextPageAction->trigger();
        EXPECT_EQ(w->previewWidget->currentPage(), 2);
        EXPECT_EQ(w->pageLabel->text(), QStringLiteral("Page 2 of 2"));
        EXPECT_FALSE(w->nextPageAction->isEnabled());
        w->firstPageAction->trigger();
        EXPECT_EQ(w->previewWidget->currentPage(), 1);
        w->pageNumberBox->setValue(2);
        EXPECT_EQ(w->previewWidget->currentPage(), 2);
        // Saved back as it was loaded; printed page by page on its own paper.
        const QString again = t.dir.filePath("again.pdf");
        w->saveTo(again);
        QFile a(twoPages), b(again);
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        EXPECT_EQ(a.readAll(), b.readAll());
        t.printToFile(w, "loaded-printed.pdf");
        w->printAction->trigger();
        const QString info = pdfInfo(t.dir.filePath("loaded-printed.pdf"));
        EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+2\\n"))) << info.toStdString();
        EXPECT_TRUE(info.contains("(A5)")) << info.toStdString();
        w->close();
    });
    t.doubleClick(1);
    EXPECT_EQ(t.boxes.count(), 0) << t.boxes.texts().join('\n').toStdString();
    EXPECT_TRUE(reportWindows().isEmpty());
}

TEST(Preview, InboxNameBarPreviewsItsPictureAndBothPagesStayAsTheyWere) {
    TempDrive drive;
    reg::install::run(); // the main window opens the register's tables at start
    ScriptedMessages boxes;
    drive.makeFolder("c:\\picture\\AB123456");
    drive.writeFile("c:\\picture\\AB123456\\AB123456001.JPG", jpeg(64, 48));
    drive.writeFile("c:\\picture\\IMG_0001.JPG", jpeg(blocks(300, 200, 3, 2)));
    drive.writeFile("c:\\picture\\scan.gif", gif(blocks(90, 120, 3, 3)));
    TPicture window;
    window.show();
    NewPicturesPage& inbox = *window.newPicturesPage;
    OldPicturesPage& browser = *window.oldPicturesPage;
    ASSERT_EQ(window.pageControl->indexOf(&browser), 1);
    ASSERT_EQ(browser.objectName(), QStringLiteral("TabSheet2"));
    window.pageControl->setCurrentIndex(1);
    browser.claimList->setCurrentRow(0);
    window.pageControl->setCurrentIndex(0);
    const auto state = [&] {
        QStringList s;
        for (int i = 0; i < 9; ++i) {
            s.append(inbox.cellImages.at(i)->isHidden() ? "-" : inbox.cellNameBars.at(i)->text());
            s.append(browser.cellImages.at(i)->isHidden() ? "-" : browser.cellNameBars.at(i)->text());
        }
        s << (inbox.nextButton->isEnabled() ? "next on" : "next off")
          << (browser.nextButton->isEnabled() ? "next on" : "next off")
          << (browser.previousButton->isEnabled() ? "prev on" : "prev off")
          << QString::number(inbox.PageOffset);
        return s;
    };
    const QStringList before = state();
    ASSERT_EQ(before.at(0), QStringLiteral("IMG_0001.JPG"));
    ASSERT_EQ(before.at(2), QStringLiteral("scan.gif"));

    const struct {
        int cell;
        int height;
        QSize picture;
    } cases[] = {{1, 540, {300, 200}}, {2, 1024, {90, 120}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cell);
        bool looked = false;
        whenNextPreviewShows([&](PreviewWindow* w) {
            looked = true;
            ASSERT_EQ(reportWindows().size(), 1);
            TPreview* report = reportWindows().first();
            EXPECT_EQ(report->imageHeight(), c.height);
            // The report holds the whole picture, a scan not cut to its corner as in the grid.
            EXPECT_EQ(QSize(report->QRImage1.width(), report->QRImage1.height()), c.picture);
            EXPECT_FALSE(report->isVisible());
            w->close();
        });
        QTest::mouseDClick(inbox.cellNameBars.at(c.cell - 1), Qt::LeftButton);
        EXPECT_TRUE(looked);
        EXPECT_TRUE(reportWindows().isEmpty());
        EXPECT_EQ(state(), before);
    }
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join('\n').toStdString();
}
