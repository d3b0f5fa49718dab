#include "app/cli/Commands.h"
#include "archive/Zip.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

// "c:\..." and "\..." are the system's paths; anything else is a path of this machine, taken from the
// current folder.
QString pathArgument(const QString& argument) {
    static const QRegularExpression systemPath(QStringLiteral("^([A-Za-z]:|\\\\)"));
    if (systemPath.match(argument).hasMatch()) return argument;
    return QFileInfo(argument).absoluteFilePath();
}

} // namespace

int runZip(const QStringList& args, CliStreams io) {
    if (args.size() != 3 || args.first() != QLatin1String("add")) {
        io.err << "usage: vorlex-cli zip add ARCHIVE FILE\n";
        return 2;
    }
    archive::TZip zip;
    archive::applyTransferSettings(zip);
    int reports = 0;
    zip.OnError = [&](archive::TZip&, const QString& fileName, const QString& detail,
                      const QString& archiveFile, int code) {
        ++reports;
        io.err << "error " << code << ' ' << archive::errorMessage(code) << ": "
               << (fileName.isEmpty() ? archiveFile : fileName);
        if (!detail.isEmpty()) io.err << " (" << detail << ')';
        io.err << '\n';
    };
    zip.setArchiveFile(pathArgument(args.at(1)));
    zip.FileSpec = QStringList{pathArgument(args.at(2))};
    const int added = zip.Compress();
    io.err.flush();
    io.out << "files added: " << added << '\n';
    return reports == 0 ? 0 : 1;
}
