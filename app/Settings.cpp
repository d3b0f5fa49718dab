#include "app/Settings.h"

#include "platform/DrivePaths.h"
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

void applyDriveSetting() {
#ifndef Q_OS_WIN
    const QString folder = readFromExistingKey(DriveCValue);
    if (!folder.isEmpty()) platform::drive::setDriveFolder(folder);
#endif
}

} // namespace settings
