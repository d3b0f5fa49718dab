#pragma once

#include <QString>

namespace archive {
class TZip;
}

namespace transfer {

class TransferJournal;

// Told around each archive job; the archive progress window shows and closes here.
class ArchiveObserver {
public:
    virtual ~ArchiveObserver() = default;
    virtual void beforeJob(const QString& scan, const QString& archivePath) { (void)scan, (void)archivePath; }
    virtual void afterJob() {}
};

// The archiving step: every GIF scan of the transfer folder, in name order, moved by one job of `zip`
// into its claim's archive (the first eight characters of its name + ".Zip"). A scan whose archive is
// part-way to the server from a broken-off run waits in the folder, so that the rest of that archive
// can be sent as it was; the next run archives it. Gives back the names of the scans it left for that.
QStringList zipFile(archive::TZip& zip, const TransferJournal& journal, ArchiveObserver& observer);

} // namespace transfer
