// The new-pictures page's own work, timed: filling a grid page (each picture loaded from its file and
// drawn into its cell's box, nothing cached) and filing an oversize photograph with its resize.
//   bench_filing page DRIVE_C [ROUNDS]      DRIVE_C\picture holds the photographs
//   bench_filing file DRIVE_C NAME [ROUNDS] files DRIVE_C\NAME into claim BENCH001 with a resize
#include "app/FileList.h"
#include "codecs/PictureHolder.h"
#include "filing/CellPicture.h"
#include "filing/Filing.h"
#include "filing/InboxGrid.h"
#include "filing/PicClip.h"
#include "platform/DrivePaths.h"
#include "platform/Error.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <array>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

// The grid's cells without windows: each shown picture is loaded and painted into a box of the cell's
// size, as the page does when it shows it. With `together`, the page's pictures are prepared on all
// cores first, as the page does; without, each is loaded when its cell asks for it.
class PaintedCells : public filing::GridCells {
public:
    explicit PaintedCells(bool together) : together_(together) {
        for (auto& clip : clips_) {
            clip = std::make_unique<TPicClip>();
            clip->Cols = filing::kClipCols;
            clip->Rows = filing::kClipRows;
        }
    }
    void hideAll() override { shown_.fill(false); }
    void prepare(const QList<filing::PageEntry>& page) override {
        if (!together_) return;
        QList<filing::CellPictureRequest> requests;
        for (const filing::PageEntry& entry : page)
            requests.append(
                filing::cellPictureRequest(entry.name, *clips_.at(entry.cell - 1), sizeOf(entry.cell)));
        prepared_ = filing::prepareCellPictures(requests);
    }
    void load(int cell, const QString& name) override {
        TPictureHolder box;
        TPicClip& clip = *clips_.at(cell - 1);
        if (together_)
            filing::applyCellPicture(std::move(prepared_.at(size_t(cell - 1))), clip, box);
        else
            filing::loadCellPicture(name, clip, box, sizeOf(cell));
        shown_.at(cell - 1) = true;
    }
    bool isShown(int cell) const override { return shown_.at(cell - 1); }
    void setNextEnabled(bool) override {}

private:
    static QSize sizeOf(int cell) { return QSize(cell % 3 == 2 ? 149 : 148, 125); }

    bool together_;
    std::array<std::unique_ptr<TPicClip>, filing::kGridCells> clips_;
    std::vector<filing::PreparedCellPicture> prepared_;
    std::array<bool, filing::kGridCells> shown_{};
};

class AnswerYes : public filing::FilingPrompts {
public:
    bool confirmResize() override { return true; }
};

void report(const char* what, const QList<double>& seconds) {
    double best = seconds.first();
    double sum = 0;
    for (double s : seconds) {
        best = std::min(best, s);
        sum += s;
    }
    std::printf("%s: best %.3f s, mean %.3f s over %lld rounds\n", what, best, sum / seconds.size(),
                static_cast<long long>(seconds.size()));
}

int page(int rounds) {
    for (const bool together : {false, true}) {
        QList<double> seconds;
        for (int round = 0; round < rounds; ++round) {
            FileList inbox(QString(), filing::inboxPatternText());
            PaintedCells cells(together);
            int pageOffset = 0;
            QElapsedTimer timer;
            timer.start();
            filing::firstFill(inbox, pageOffset, cells);
            seconds << timer.nsecsElapsed() / 1e9;
            if (!cells.isShown(filing::kGridCells)) {
                std::fprintf(stderr, "the inbox holds fewer than nine pictures\n");
                return 1;
            }
        }
        report(together ? "ours: grid page of nine, all cores" : "ours: grid page of nine, one core",
               seconds);
    }
    return 0;
}

int file(const QString& source, int rounds) {
    const QString claim = QStringLiteral("BENCH001");
    const QString name = QFileInfo(source).fileName();
    const QString inbox = platform::drive::toHost(QStringLiteral("c:\\picture\\")) + '/' + name;
    QList<double> seconds;
    QString filed;
    for (int round = 0; round < rounds; ++round) {
        QFile::remove(inbox);
        if (!QFile::copy(source, inbox)) return 1;
        QDir(platform::drive::toHost(QStringLiteral("c:\\picture\\") + claim)).removeRecursively();
        QFile::remove(platform::drive::toHost(QStringLiteral("c:\\picture\\transfer\\") + claim + "001.jpg"));
        FileList claimFolderList;
        QStringList numberList;
        AnswerYes prompts;
        QElapsedTimer timer;
        timer.start();
        const filing::FilingResult result = filing::fileInto(
            {claim, filing::PictureCategory::BeforeRepair, name}, claimFolderList, numberList, prompts);
        seconds << timer.nsecsElapsed() / 1e9;
        filed = result.filedName;
    }
    std::printf(
        "filed as %s (%lld bytes)\n", qPrintable(filed),
        static_cast<long long>(QFileInfo(platform::drive::toHost("c:\\picture\\transfer\\" + filed)).size()));
    report("ours: filing with resize", seconds);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: bench_filing page DRIVE_C [ROUNDS] | file DRIVE_C PHOTO [ROUNDS]\n");
        return 2;
    }
    platform::drive::setDriveFolder(args.at(1));
    try {
        if (args.at(0) == QLatin1String("page")) return page(args.size() > 2 ? args.at(2).toInt() : 5);
        if (args.at(0) == QLatin1String("file") && args.size() > 2)
            return file(args.at(2), args.size() > 3 ? args.at(3).toInt() : 5);
    } catch (const platform::Error& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 2;
}
