#include "app/cli/Commands.h"
#include "register/Install.h"
#include "register/RegisterTables.h"

int runInstall(const QStringList& args, CliStreams io) {
    if (!args.isEmpty()) {
        io.err << "usage: vorlex-cli install\n";
        return 2;
    }
    const reg::install::Report report = reg::install::run();
    for (const QString& line : report.made)
        io.out << "made " << line << '\n';
    for (const QString& line : report.kept)
        io.out << "kept " << line << '\n';
    for (const QString& line : report.imported)
        io.out << line << '\n';
    // Opening the tables imports those of the earlier system.
    reg::RegisterTables tables;
    tables.VorlexT.open();
    tables.StatusT.open();
    for (const QString& line : tables.takeImportReport())
        io.out << line << '\n';
    if (report.made.isEmpty() && report.imported.isEmpty())
        io.out << "nothing to make: every table is there\n";
    return 0;
}
