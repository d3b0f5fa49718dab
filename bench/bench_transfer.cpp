// Makes a garage ready for the transfer benchmark: its tables with ROWS unsent rows, its registered
// name and its working folders, under the drive folder given.
//   bench_transfer prepare DRIVE GARAGE ROWS
#include "app/Settings.h"
#include "app/WorkingFolders.h"
#include "platform/DrivePaths.h"
#include "platform/Registry.h"
#include "register/Install.h"
#include "register/RegisterTables.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Vorlex"));
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 4 || args[0] != QLatin1String("prepare")) {
        std::fputs("usage: bench_transfer prepare DRIVE GARAGE ROWS\n", stderr);
        return 2;
    }
    QDir().mkpath(args[1]);
    platform::drive::setDriveFolder(args[1]);
    reg::install::run();
    platform::Registry registry;
    registry.openKey(settings::Key, true);
    registry.writeString(settings::GarageNameValue, args[2]);
    folders::createWorkingFolders();
    QList<reg::RegisterRow> rows;
    for (int i = 0; i < args[3].toInt(); ++i) {
        reg::RegisterRow row;
        row.claimno = QStringLiteral("BM%1").arg(i / 10, 6, 10, QLatin1Char('0'));
        row.seq = i % 10 + 1;
        row.garage = args[2];
        row.brand = QString::fromUtf8("โตโยต้า");
        row.regno = QStringLiteral("กข %1").arg(i);
        row.status = QString::fromUtf8("กำลังซ่อม");
        row.garageDate = QDate(2026, 12, 1);
        row.reportDate = QDate(2026, 12, 11);
        rows.append(row);
    }
    reg::RegisterTables tables;
    tables.VorlexT.open();
    tables.VorlexT.store(rows);
    return 0;
}
