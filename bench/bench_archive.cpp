// Times the archive job against Info-ZIP's zip -6 on the same files in the same run: a new 5 MB scan
// into a new archive, and a sixth scan into an archive of five. Each add moves the scan, as the
// transfer run does (ours into the trash, zip with -m). Prints the median of each and the ratio.
#include "archive/Zip.h"
#include "platform/DrivePaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>

namespace {

constexpr int kScanSize = 5 * 1024 * 1024;
constexpr int kRounds = 7;

// A document scan as a GIF holds it: mostly dense coded bytes, with runs of plain page.
QByteArray scanBytes(unsigned seed) {
    std::mt19937 generator(seed);
    QByteArray bytes;
    bytes.reserve(kScanSize);
    while (bytes.size() < kScanSize) {
        const int run = 512 + int(generator() % 4096);
        if (generator() % 4 == 0) {
            bytes.append(QByteArray(run, char(0xFF)));
        } else {
            for (int i = 0; i < run; ++i)
                bytes.append(char(generator() % 96));
        }
    }
    bytes.truncate(kScanSize);
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

int ourAdd(const QString& archivePath, const QString& scanPath) {
    archive::TZip zip;
    archive::applyTransferSettings(zip);
    zip.setArchiveFile(archivePath);
    zip.FileSpec = QStringList{scanPath};
    return zip.Compress();
}

bool zipAdd(const QString& archivePath, const QString& scanPath) {
    QProcess zip;
    zip.start(QStringLiteral("zip"), {"-6", "-q", "-m", "-j", archivePath, scanPath});
    return zip.waitForFinished(-1) && zip.exitCode() == 0;
}

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// Runs `prepare` untimed and `add` timed, for ours and zip in turn, kRounds times.
void measure(const char* what, const QString& archivePath, const std::function<void(bool ours)>& prepare,
             const std::function<bool(bool ours)>& add) {
    QList<double> ours, theirs;
    qint64 ourSize = 0, theirSize = 0;
    for (int round = 0; round < kRounds; ++round) {
        for (const bool isOurs : {true, false}) {
            prepare(isOurs);
            QElapsedTimer timer;
            timer.start();
            if (!add(isOurs)) {
                std::fprintf(stderr, "%s: %s failed\n", what, isOurs ? "ours" : "zip");
                std::exit(1);
            }
            (isOurs ? ours : theirs).append(double(timer.nsecsElapsed()) / 1e6);
            (isOurs ? ourSize : theirSize) = QFileInfo(archivePath).size();
        }
    }
    std::printf("%-34s ours %8.1f ms   zip -6 %8.1f ms   ratio ours/zip %.2f   archive bytes %lld / %lld\n",
                what, median(ours), median(theirs), median(ours) / median(theirs), ourSize, theirSize);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir work;
    const QString root = work.path();
    QDir(root).mkpath("drive_c/transfer");
    QDir(root).mkpath("xdg-data");
    qputenv("XDG_DATA_HOME", QFile::encodeName(root + "/xdg-data"));
    platform::drive::setDriveFolder(root + "/drive_c");
    const QString folder = root + "/drive_c/transfer";

    QList<QByteArray> scans;
    for (unsigned i = 0; i < 6; ++i)
        scans.append(scanBytes(i + 1));
    const auto scanPath = [&](int i) { return folder + QStringLiteral("/AB12345680%1.gif").arg(i); };

    // An archive of five scans, made by our job; both tools extend a copy of it.
    const QString five = root + "/five.zip";
    for (int i = 0; i < 5; ++i) {
        writeFile(scanPath(i), scans[i]);
        if (ourAdd(five, scanPath(i)) != 1) return 1;
    }
    const QString archivePath = folder + "/AB123456.Zip";

    measure(
        "new 5 MB scan into a new archive", archivePath,
        [&](bool) {
            QFile::remove(archivePath);
            writeFile(scanPath(0), scans[0]);
        },
        [&](bool ours) {
            return ours ? ourAdd(archivePath, scanPath(0)) == 1 : zipAdd(archivePath, scanPath(0));
        });
    measure(
        "sixth 5 MB scan into five", archivePath,
        [&](bool) {
            QFile::remove(archivePath);
            QFile::copy(five, archivePath);
            writeFile(scanPath(5), scans[5]);
        },
        [&](bool ours) {
            return ours ? ourAdd(archivePath, scanPath(5)) == 1 : zipAdd(archivePath, scanPath(5));
        });
    return 0;
}
