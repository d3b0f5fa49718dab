#include "transfer/ZipFile.h"

#include "app/FileList.h"
#include "app/WorkingFolders.h"
#include "archive/Zip.h"
#include "platform/Files.h"
#include "transfer/TransferJournal.h"
#include "transfer/Upload.h"

namespace transfer {

QStringList zipFile(archive::TZip& zip, const TransferJournal& journal, ArchiveObserver& observer) {
    FileList scans(folders::TransferFolder, QStringLiteral("c:\\picture\\transfer\\*.gif"));
    scans.read();
    const QStringList names = scans.items();
    QStringList waiting;
    const auto shownProgress = zip.OnProgress;
    zip.OnProgress = [&shownProgress](archive::TZip& sender, quint8 byFile, quint8 byArchive) {
        if (shownProgress) shownProgress(sender, byFile, byArchive);
        testPause();
    };
    for (const QString& name : names) {
        const QString archivePath = folders::archivePath(name);
        const std::optional<TransferJournal::FileRecord> record =
            journal.file(platform::files::nameOf(archivePath));
        if (record && record->state == TransferJournal::FileState::InFlight &&
            platform::files::fileExists(archivePath)) {
            waiting.append(name);
            continue;
        }
        zip.setArchiveFile(archivePath);
        zip.FileSpec = QStringList{QStringLiteral("c:\\Picture\\Transfer\\") + name};
        observer.beforeJob(name, archivePath);
        zip.Compress();
        observer.afterJob();
    }
    zip.OnProgress = shownProgress;
    return waiting;
}

} // namespace transfer
