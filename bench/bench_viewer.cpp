// The old-pictures page and the print preview, timed through their real windows (offscreen).
//   bench_viewer page DRIVE_C CLAIM [ROUNDS]  opens DRIVE_C\picture\CLAIM and presses Next to its last
//                                             full page; prints the time per page shown
//   bench_viewer preview FILE [ROUNDS]        previews FILE; prints the time until the page is shown
#include "platform/DrivePaths.h"
#include "viewer/ui/OldPicturesPage.h"
#include "viewer/ui/PreviewWindow.h"
#include "viewer/ui/Zoom.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

int pageRounds(const QString& drive, const QString& claim, int rounds) {
    platform::drive::setDriveFolder(drive);
    double best = 1e9;
    int pages = 0;
    for (int round = 0; round < rounds; ++round) {
        OldPicturesPage page;
        page.show();
        const QList<QListWidgetItem*> found = page.claimList->findItems(claim, Qt::MatchExactly);
        if (found.size() != 1) {
            std::fprintf(stderr, "no claim %s\n", qPrintable(claim));
            return 1;
        }
        QElapsedTimer timer;
        timer.start();
        page.claimList->setCurrentItem(found.first());
        pages = 1;
        // Every full page: the last one of a multiple of nine is empty and is left out.
        while (page.nextButton->isEnabled() &&
               page.browser().viewerPage() + 1 < page.browser().viewerLastPage()) {
            page.nextButton->click();
            ++pages;
        }
        QApplication::processEvents();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e9 / pages);
    }
    std::printf("browser: %d pages of nine, best %.4f s per page over %d rounds\n", pages, best, rounds);
    return 0;
}

int previewRounds(const QString& file, int rounds) {
    double best = 1e9;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        double shownAt = -1;
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* preview = qobject_cast<PreviewWindow*>(w);
                if (!preview || !preview->isVisible() || preview->pagesGenerated() == 0) continue;
                QApplication::processEvents(); // the page painted once
                shownAt = double(timer.nsecsElapsed()) / 1e9;
                poll->stop();
                preview->close();
                return;
            }
        });
        poll->start(1);
        timer.start();
        previewPicture(file, file);
        delete poll;
        if (shownAt < 0) {
            std::fprintf(stderr, "no preview showed\n");
            return 1;
        }
        best = std::min(best, shownAt);
    }
    std::printf("preview: first page shown, best %.4f s over %d rounds\n", best, rounds);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() >= 3 && args.at(0) == QLatin1String("page"))
        return pageRounds(args.at(1), args.at(2), args.size() > 3 ? args.at(3).toInt() : 5);
    if (args.size() >= 2 && args.at(0) == QLatin1String("preview"))
        return previewRounds(args.at(1), args.size() > 2 ? args.at(2).toInt() : 5);
    std::fprintf(stderr, "usage: bench_viewer page DRIVE_C CLAIM [ROUNDS] | preview FILE [ROUNDS]\n");
    return 2;
}
