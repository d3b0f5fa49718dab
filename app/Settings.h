#pragma once

#include <QString>

// The system's settings: string values under one key of the current user's settings root.
namespace settings {

inline const QString Key = QStringLiteral("\\SOFTWARE\\Tramuvel");
inline const QString GarageNameValue = QStringLiteral("Garage Name");
// Off Windows, the folder that stands for drive C: (empty: the default in the application data folder).
inline const QString DriveCValue = QStringLiteral("Drive C");

// Opens the key without creating it and reads `Garage Name`; empty when the key or value is missing.
QString readGarageName();
// Applies `Drive C` when it is set and not empty; the key is not created. Nothing to do on Windows.
void applyDriveSetting();

} // namespace settings
