#include "app/Settings.h"

#include "platform/DrivePaths.h"
#include "platform/Error.h"
#include "platform/Registry.h"

namespace settings {
namespace {

QString readFromExistingKey(const QString& value) {
    platform::Registry registry;
    registry.openKey(Key, false);
    return registry.readString(value);
}

} // namespace

QString readGarageName() {
    return readFromExistingKey(GarageNameValue);
}

FtpServerSetting readFtpServer() {
    FtpServerSetting server;
    const QByteArray hostOverride = qgetenv("VORLEX_FTP_HOST");
    const QByteArray portOverride = qgetenv("VORLEX_FTP_PORT");
    server.host = hostOverride.isEmpty() ? readFromExistingKey(FtpHostValue).trimmed()
                                         : QString::fromLocal8Bit(hostOverride).trimmed();
    const QString port = portOverride.isEmpty() ? readFromExistingKey(FtpPortValue).trimmed()
                                                : QString::fromLocal8Bit(portOverride).trimmed();
    if (!port.isEmpty()) {
        bool ok = false;
        const uint number = port.toUInt(&ok);
        if (!ok || number < 1 || number > 65535)
            throw platform::Error(
                QStringLiteral("The setting \"%1\" is not a port number: \"%2\"").arg(FtpPortValue, port));
        server.port = quint16(number);
    }
    return server;
}

void applyDriveSetting() {
#ifndef Q_OS_WIN
    const QString folder = readFromExistingKey(DriveCValue);
    if (!folder.isEmpty()) platform::drive::setDriveFolder(folder);
#endif
}

} // namespace settings
