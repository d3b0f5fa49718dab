#pragma once

#include <QString>

// The system's settings: string values under one key of the current user's settings root.
namespace settings {

inline const QString Key = QStringLiteral("\\SOFTWARE\\Tramuvel");
inline const QString GarageNameValue = QStringLiteral("Garage Name");
// Off Windows, the folder that stands for drive C: (empty: the default in the application data folder).
inline const QString DriveCValue = QStringLiteral("Drive C");

// The insurer's FTP server. The environment variables VORLEX_FTP_HOST and VORLEX_FTP_PORT, when set,
// stand in for these two for one start of the program (scripts/run points a first start at a
// stand-in server that way) without changing the settings.
inline const QString FtpHostValue = QStringLiteral("FTP Host");
inline const QString FtpPortValue = QStringLiteral("FTP Port");
inline constexpr quint16 DefaultFtpPort = 21;

struct FtpServerSetting {
    QString host; // empty: no server set
    quint16 port = DefaultFtpPort;
};
// `FTP Host` and `FTP Port` (21 when absent or empty); a port that is no number from 1 to 65535 is an
// Error naming the setting.
FtpServerSetting readFtpServer();

// Opens the key without creating it and reads `Garage Name`; empty when the key or value is missing.
QString readGarageName();
// Applies `Drive C` when it is set and not empty; the key is not created. Nothing to do on Windows.
void applyDriveSetting();

} // namespace settings
