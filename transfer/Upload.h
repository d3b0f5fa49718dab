#pragma once

#include "transfer/Receipts.h"

#include <QString>
#include <atomic>

namespace transfer {

class TransferJournal;

inline const QString DefaultUser = QStringLiteral("online");
inline const QString DefaultPassword = QStringLiteral("zqvbrtkmw");
// The files that go to the insurer: photographs, claim archives and the two export files.
inline const QString UploadMask = QStringLiteral("c:\\picture\\transfer\\*.Jpg;c:\\picture\\transfer\\*.Zip;"
                                                 "c:\\picture\\transfer\\*.db;c:\\picture\\transfer\\*.px");

struct UploadSettings {
    QString host; // empty: no server set, the upload fails saying so
    quint16 port = 21;
    QString user = DefaultUser;
    QString password = DefaultPassword;
    QString garageName;
    int timeoutMs = 0; // below 1: the FTP client's default
};

// What the upload tells its progress window. The calls come from the thread that runs the upload.
class UploadObserver {
public:
    virtual ~UploadObserver() = default;
    virtual void connected() {}
    // The window shows, the bar's maximum is files + 1 and it stands at 1.
    virtual void started(int files) { (void)files; }
    virtual void fileStarted(const QString& name, const QString& destination) {
        (void)name, (void)destination;
    }
    // After each block of the file: bytes of it on the server so far.
    virtual void fileProgress(qint64 sent, qint64 size) { (void)sent, (void)size; }
    virtual void fileDone(const SentFile& file) { (void)file; }
    virtual void finished() {} // the window closes, also after a failure
    // Asked after each block; true stops the upload after that block (the file is resumed later).
    virtual bool cancelRequested() { return false; }
};

struct UploadResult {
    bool succeeded = false;
    QString error; // the first error's text
    QList<SentFile> files;
};

// Set at the start of each upload, cleared by any failure in it.
inline std::atomic<bool> UploadSucceeded{false};

// The upload of the transfer folder: connects and logs in, changes into "Claim\" + the garage's name,
// then sends every listed file in name order under its own name and deletes it once the server has
// confirmed it. The journal makes a file broken off by an earlier run end whole on the server, never
// doubled; a file of that name on the server that is not our own part is never extended. Stops at the
// first failure; the file that failed and those after it stay.
UploadResult uploadTransferFolder(const UploadSettings& settings, TransferJournal& journal,
                                  UploadObserver& observer);

// "From 'Transfer' to '" + garage + "'"
QString destinationText(const QString& garageName);

// A pause after each block sent and each archive report, for tests that kill a run part-way
// (VORLEX_TEST_TRANSFER_PAUSE_MS); nothing when unset.
void testPause();

} // namespace transfer
