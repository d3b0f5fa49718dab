// Runs one register operation in a process of its own so that the crash tests can kill it part-way:
//   register_crash_tool DRIVE_FOLDER export      exports the unsent rows
//   register_crash_tool DRIVE_FOLDER empty       empties the export table
//   register_crash_tool DRIVE_FOLDER check       opens and closes the export table
//   register_crash_tool DRIVE_FOLDER open        opens the register and the statuses (importing)
#include "platform/DrivePaths.h"
#include "platform/Error.h"
#include "register/Export.h"
#include "register/RegisterTables.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) return 2;
    platform::drive::setDriveFolder(QString::fromLocal8Bit(argv[1]));
    const QByteArray what = argv[2];
    try {
        reg::RegisterTables tables;
        if (what == "export") {
            std::printf("%lld\n", static_cast<long long>(reg::exportUnsentRows(tables).size()));
        } else if (what == "empty") {
            tables.Vorlex2T.emptyTable();
        } else if (what == "check") {
            tables.Vorlex2T.open();
            tables.Vorlex2T.close();
        } else if (what == "open") {
            tables.VorlexT.open();
            tables.StatusT.open();
            for (const QString& line : tables.takeImportReport())
                std::printf("%s\n", line.toUtf8().constData());
        } else {
            return 2;
        }
    } catch (const platform::Error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
