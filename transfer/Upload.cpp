#include "transfer/Upload.h"

#include "app/FileList.h"
#include "app/WorkingFolders.h"
#include "ftp/FtpClient.h"
#include "ftp/FtpErrors.h"
#include "platform/Files.h"
#include "transfer/TransferJournal.h"

#include <QThread>

namespace transfer {
namespace {

using ftp::RemoteSize;

constexpr unsigned long kSettleMs = 300;

QString errorText(const platform::Error& error) {
    QString text = error.message().trimmed();
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    if (const auto* reply = dynamic_cast<const ftp::ReplyError*>(&error))
        return QString::number(reply->code()) + ' ' + text;
    return text;
}

class UploadFailure : public platform::Error {
public:
    using platform::Error::Error;
};

[[noreturn]] void notOurs(const QString& name) {
    throw UploadFailure(
        QStringLiteral("The server already holds a file named \"%1\" that is not a part sent by "
                       "this program; \"%1\" was not sent and stays in the transfer folder.")
            .arg(name));
}

class FolderUpload {
public:
    FolderUpload(ftp::FtpClient& client, TransferJournal& journal, UploadObserver& observer)
        : client_(client), journal_(journal), observer_(observer) {}

    SentFile send(const QString& name) {
        const QString path = folders::TransferFolder + '\\' + name;
        SentFile sent{name, stampOf(path), SentFile::How::Sent, 0};
        const std::optional<TransferJournal::FileRecord> record = journal_.file(name);
        if (record && record->state == TransferJournal::FileState::Sent && record->stamp == sent.stamp) {
            sent.how = SentFile::How::AlreadySent;
        } else if (record && record->state == TransferJournal::FileState::InFlight) {
            resume(path, *record, &sent);
        } else {
            const RemoteSize remote = client_.size(name);
            if (remote.state == RemoteSize::State::Known) notOurs(name);
            journal_.recordInFlight(name, sent.stamp);
            put(path, name, true, 0);
        }
        if (sent.how != SentFile::How::AlreadySent) journal_.recordSent(name, sent.stamp);
        platform::files::deleteFile(path); // a file left here is only deleted by the next run
        return sent;
    }

private:
    // Our own part of this file may be on the server: it ends with exactly the local bytes.
    void resume(const QString& path, const TransferJournal::FileRecord& record, SentFile* sent) {
        const RemoteSize remote = settledSize(sent->name, record.stamp.size);
        if (remote.state == RemoteSize::State::Known && remote.bytes > record.stamp.size) notOurs(sent->name);
        if (record.stamp != sent->stamp) journal_.recordInFlight(sent->name, sent->stamp);
        if (remote.state == RemoteSize::State::Absent) {
            put(path, sent->name, true, 0);
        } else if (remote.state == RemoteSize::State::Known && record.stamp == sent->stamp) {
            sent->how = SentFile::How::Resumed;
            sent->from = remote.bytes;
            if (remote.bytes < sent->stamp.size) put(path, sent->name, true, remote.bytes);
        } else {
            // The server cannot say how much of our part it holds, or the file has changed since: our
            // part is replaced as a whole.
            sent->how = SentFile::How::Replaced;
            put(path, sent->name, false, 0);
        }
    }

    // The server may still be writing what reached it over the connection of the run that broke off
    // (its data was on the way when that run ended): the size counts once it stops growing.
    RemoteSize settledSize(const QString& name, qint64 whole) {
        RemoteSize last = client_.size(name);
        for (int tries = 0; tries < 40 && last.state == RemoteSize::State::Known && last.bytes < whole;
             ++tries) {
            QThread::msleep(kSettleMs);
            const RemoteSize now = client_.size(name);
            if (now.state == last.state && now.bytes == last.bytes) break;
            last = now;
        }
        return last;
    }

    void put(const QString& path, const QString& name, bool append, qint64 offset) {
        ftp::PutOptions options;
        options.offset = offset;
        options.progress = [this](qint64 done, qint64 size) {
            observer_.fileProgress(done, size);
            testPause();
        };
        options.cancelled = [this] { return observer_.cancelRequested(); };
        try {
            client_.put(path, name, append, options);
        } catch (const ftp::TransferCancelled&) {
            throw UploadFailure(
                QStringLiteral("The transfer was cancelled while \"%1\" was sent; the next run "
                               "sends the rest of it.")
                    .arg(name));
        }
    }

    ftp::FtpClient& client_;
    TransferJournal& journal_;
    UploadObserver& observer_;
};

} // namespace

QString destinationText(const QString& garageName) {
    return QStringLiteral("From 'Transfer' to '") + garageName + '\'';
}

void testPause() {
    static const int pauseMs = qEnvironmentVariableIntValue("VORLEX_TEST_TRANSFER_PAUSE_MS");
    if (pauseMs > 0) QThread::msleep(ulong(pauseMs));
}

UploadResult uploadTransferFolder(const UploadSettings& settings, TransferJournal& journal,
                                  UploadObserver& observer) {
    UploadResult result;
    UploadSucceeded = true;
    bool shown = false;
    ftp::FtpClient client;
    try {
        if (settings.host.isEmpty())
            throw UploadFailure(QStringLiteral("No FTP server is set for the transfer: set \"FTP Host\" (and "
                                               "\"FTP Port\", 21 when absent) under \\SOFTWARE\\Tramuvel."));
        client.setHost(settings.host);
        client.setPort(settings.port);
        client.setUser(settings.user);
        client.setPassword(settings.password);
        client.setTimeout(settings.timeoutMs);
        try {
            client.connect();
        } catch (const platform::Error& e) {
            throw UploadFailure(QStringLiteral("Connecting to %1 port %2 failed: %3")
                                    .arg(settings.host)
                                    .arg(settings.port)
                                    .arg(errorText(e)));
        }
        observer.connected();
        const QString folder = QStringLiteral("Claim\\") + settings.garageName;
        try {
            client.changeDirectory(folder);
        } catch (const platform::Error& e) {
            throw UploadFailure(
                QStringLiteral("The server refused the folder \"%1\": %2").arg(folder, errorText(e)));
        }
        FileList list(folders::TransferFolder, UploadMask);
        list.read();
        const QStringList names = list.items();
        observer.started(int(names.size()));
        shown = true;
        FolderUpload upload(client, journal, observer);
        for (const QString& name : names) {
            observer.fileStarted(name, destinationText(settings.garageName));
            try {
                result.files.append(upload.send(name));
            } catch (const UploadFailure&) {
                throw;
            } catch (const platform::Error& e) {
                throw UploadFailure(QStringLiteral("Sending \"%1\" failed: %2").arg(name, errorText(e)));
            }
            observer.fileDone(result.files.last());
        }
        shown = false;
        observer.finished();
        client.disconnect();
        result.succeeded = true;
    } catch (const platform::Error& e) {
        if (shown) observer.finished();
        UploadSucceeded = false;
        result.error = dynamic_cast<const UploadFailure*>(&e) ? e.message() : errorText(e);
    }
    return result;
}

} // namespace transfer
