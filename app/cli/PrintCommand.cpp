#include "app/cli/Commands.h"
#include "codecs/PictureHolder.h"
#include "platform/Files.h"
#include "viewer/ReportPage.h"
#include "viewer/ReportPages.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

// "c:\..." paths are the system's; any other path is this machine's, relative to the current folder.
QString pathArgument(const QString& argument) {
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    return drive.match(argument).hasMatch() ? argument : QFileInfo(argument).absoluteFilePath();
}

int usage(CliStreams io) {
    io.err << "usage: vorlex-cli print FILE OUT.pdf [--dpi N]\n";
    return 2;
}

} // namespace

int runPrint(const QStringList& args, CliStreams io) {
    QStringList words = args;
    double dpi = viewer::kUsualScreenDpi;
    const qsizetype dpiAt = words.indexOf(QStringLiteral("--dpi"));
    if (dpiAt >= 0) {
        if (dpiAt + 1 >= words.size()) return usage(io);
        bool ok = false;
        dpi = words.at(dpiAt + 1).toDouble(&ok);
        if (!ok || dpi < 24 || dpi > 1200) {
            io.err << "vorlex-cli print: --dpi takes a resolution from 24 to 1200\n";
            return 2;
        }
        words.remove(dpiAt, 2);
    }
    if (words.size() != 2) return usage(io);
    const QString file = pathArgument(words.at(0));
    TPictureHolder picture;
    picture.loadFromFile(file);
    const viewer::PictureReport report(picture.graphic(), viewer::pictureHeightPixels(file), dpi);
    viewer::writePdf(pathArgument(words.at(1)), report, dpi);
    const viewer::ReportLayout layout = viewer::reportLayout(viewer::pictureHeightPixels(file), dpi);
    const QSize pixels = viewer::rasterSize(layout.picture, dpi);
    io.out << "Picture " << pixels.width() << ' ' << pixels.height() << " pixels at " << layout.picture.left()
           << ' ' << layout.picture.top() << " mm, " << layout.picture.width() << " by "
           << layout.picture.height() << " mm\n";
    return 0;
}
