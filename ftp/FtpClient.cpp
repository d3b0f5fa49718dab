#include "ftp/FtpClient.h"

#include "ftp/CommandLine.h"
#include "ftp/FtpErrors.h"
#include "ftp/LineConnection.h"
#include "ftp/PassiveAddress.h"
#include "platform/DrivePaths.h"
#include "platform/Error.h"

#include <QFile>
#include <vector>

namespace ftp {
namespace {

[[noreturn]] void notConnected() {
    throw platform::Error(QStringLiteral("Not Connected"));
}

QString fileMessage(const char* pattern, const QString& path, const QString& reason) {
    return QString::fromLatin1(pattern).arg(path, reason);
}

// The lines of one reply, which must come whole within the time-out.
class ReplyLines : public LineSource {
public:
    ReplyLines(LineConnection& connection, int timeoutMs)
        : connection_(connection),
          deadline_(LineConnection::Clock::now() + std::chrono::milliseconds(timeoutMs)) {}
    QByteArray readLine() override { return connection_.readLine(deadline_); }

private:
    LineConnection& connection_;
    LineConnection::Clock::time_point deadline_;
};

} // namespace

FtpClient::FtpClient() = default;

FtpClient::~FtpClient() {
    disconnect();
}

void FtpClient::setTimeout(int milliseconds) {
    timeoutMs_ = milliseconds >= 1 ? milliseconds : kDefaultTimeoutMs;
}

bool FtpClient::connected() const {
    return control_ && control_->connected();
}

LineConnection& FtpClient::control() {
    if (!control_) notConnected();
    return *control_;
}

void FtpClient::connect(bool autoLogin, int connectTimeoutMs) {
    if (connected()) throw platform::Error(QStringLiteral("Already connected."));
    control_ = std::make_unique<LineConnection>();
    control_->setTimeout(timeoutMs_);
    control_->setMaxLineLength(maxLineLength_);
    try {
        control_->connect(host_, port_, connectTimeoutMs < 0 ? timeoutMs_ : connectTimeoutMs);
        getReply({220});
        greeting_ = lastReply_;
        if (autoLogin) {
            login();
            sendCommand(transferType_ == TransferType::Binary ? QStringLiteral("TYPE I")
                                                              : QStringLiteral("TYPE A"),
                        {200});
            const int code = sendCommand(QStringLiteral("SYST"), {200, 215, 500});
            systemDescription_ = code == 500 ? QStringLiteral("Unknown") : lastReply_.text.value(0);
        }
    } catch (...) {
        disconnect();
        throw;
    }
}

void FtpClient::login() {
    if (sendCommand(QStringLiteral("USER ") + user_, {230, 331}) == 331)
        sendCommand(QStringLiteral("PASS ") + password_, {230});
    loginReply_ = lastReply_;
}

void FtpClient::changeDirectory(const QString& path) {
    sendCommand(QStringLiteral("CWD ") + path, {200, 250});
}

void FtpClient::disconnect() {
    if (control_) control_->disconnect();
    control_.reset();
}

void FtpClient::writeLine(const QString& text) {
    const QByteArray line = encodeCommandLine(text);
    LineConnection& connection = control();
    if (trace_.command)
        trace_.command(text.startsWith(QLatin1String("PASS "), Qt::CaseInsensitive)
                           ? QStringLiteral("PASS ****")
                           : text);
    connection.write(line);
}

int FtpClient::getReply(const QList<int>& accepted) {
    ReplyLines lines(control(), timeoutMs_);
    lastReply_ = readReply(lines);
    if (trace_.reply) trace_.reply(lastReply_);
    checkReply(lastReply_, accepted);
    return lastReply_.code;
}

int FtpClient::sendCommand(const QString& text, const QList<int>& accepted) {
    writeLine(text);
    return getReply(accepted);
}

RemoteSize FtpClient::size(const QString& remoteName) {
    const int code = sendCommand(QStringLiteral("SIZE ") + remoteName, {213, 550, 500, 502, 504});
    if (code == 550) return {RemoteSize::State::Absent, 0};
    if (code != 213) return {RemoteSize::State::NotSupported, 0};
    bool ok = false;
    const qint64 bytes = lastReply_.text.value(0).trimmed().toLongLong(&ok);
    if (!ok || bytes < 0)
        throw platform::Error(
            QStringLiteral("'%1' is not a valid file size").arg(lastReply_.text.value(0).trimmed()));
    return {RemoteSize::State::Known, bytes};
}

void FtpClient::put(const QString& localFile, const QString& remoteName, bool append) {
    put(localFile, remoteName, append, PutOptions{});
}

void FtpClient::put(const QString& localFile, const QString& remoteName, bool append,
                    const PutOptions& options) {
    QFile file(platform::drive::toHost(localFile));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw platform::Error(fileMessage("Cannot open file \"%1\". %2", localFile, file.errorString()));
    if (options.offset < 0 || options.offset > file.size() || !file.seek(options.offset))
        throw platform::Error(
            fileMessage("Cannot read file \"%1\" from byte %2", localFile, QString::number(options.offset)));
    const QString command = remoteName.isEmpty() ? QStringLiteral("STOU ")
                            : append             ? QStringLiteral("APPE ") + remoteName
                                                 : QStringLiteral("STOR ") + remoteName;
    encodeCommandLine(command); // a name that cannot be sent is refused before PASV goes out
    LineConnection& connection = control();

    sendCommand(QStringLiteral("PASV"), {227});
    const PassiveAddress offered = parsePassiveReply(lastReply_.text.value(0));
    const platform::Ipv4Address address = dataConnectionAddress(connection.peerAddress(), offered.address);

    writeLine(command);
    LineConnection data;
    data.setTimeout(timeoutMs_);
    try {
        data.connect(platform::formatAddress(address), offered.port, timeoutMs_);
        getReply({110, 125, 150});
        sendFile(file, localFile, data, options);
        // The socket's buffers may hold megabytes the server has not taken yet: a cancel still stops
        // the file while they drain.
        data.disconnectWhenDelivered([&](qint64) {
            if (options.cancelled && options.cancelled()) throw TransferCancelled();
        });
    } catch (...) {
        data.abort();
        throw;
    }
    finishTransfer();
}

void FtpClient::sendFile(QFile& file, const QString& localFile, LineConnection& data,
                         const PutOptions& options) {
    const qint64 size = file.size();
    qint64 left = size - options.offset;
    std::vector<char> block(LineConnection::kBlockSize);
    while (left > 0) {
        if (options.cancelled && options.cancelled()) throw TransferCancelled();
        const qint64 got = file.read(block.data(), std::min<qint64>(left, qint64(block.size())));
        if (got < 0)
            throw platform::Error(fileMessage("Cannot read file \"%1\". %2", localFile, file.errorString()));
        if (got == 0) throw platform::Error(QStringLiteral("No data to read."));
        data.write(block.data(), got);
        left -= got;
        if (options.progress) options.progress(size - left, size);
    }
}

// The final reply. 426 and 450 say the transfer broke off even when a 226 follows them, so the put
// fails and the caller keeps its file.
void FtpClient::finishTransfer() {
    const int code = getReply({225, 226, 250, 426, 450});
    if (code != 426 && code != 450) return;
    const ServerReply brokenOff = lastReply_;
    try {
        getReply({225, 226});
    } catch (const platform::Error&) {
        // the transfer has failed already; the 426 or 450 is what the caller needs to know
    }
    throw ReplyError(brokenOff.code, brokenOff.text);
}

} // namespace ftp
