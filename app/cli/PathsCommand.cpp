#include "app/WorkingFolders.h"
#include "app/cli/Commands.h"
#include "platform/DrivePaths.h"

#include <QDir>

int runPaths(const QStringList& args, CliStreams io) {
    if (!args.isEmpty()) {
        io.err << "usage: vorlex-cli paths\n";
        return 2;
    }
    const auto absolute = [](const QString& systemPath) {
        return QDir::cleanPath(QDir(platform::drive::toHost(systemPath)).absolutePath());
    };
    io.out << "DriveC " << absolute(QStringLiteral("c:\\")) << '\n';
    io.out << "PictureRoot " << absolute(folders::PictureRoot) << '\n';
    io.out << "TransferFolder " << absolute(folders::TransferFolder) << '\n';
    io.out << "TableFolder " << absolute(folders::TableFolder) << '\n';
    return 0;
}
