#pragma once

#include <QString>

// The system names fixed Windows paths ("c:\picture", "C:\claim\db"). On Windows they are used as they
// stand; elsewhere drive C: is a folder, and every spelling of a path reaches the same file there.
namespace platform::drive {

// The folder that stands for drive C:. Tests and the "Drive C" setting choose it (a relative folder is
// taken from the current folder; an empty one brings the default back); the default lies in the user's
// application data folder.
void setDriveFolder(const QString& hostFolder);
QString driveFolder();
QString defaultDriveFolder();

// Makes sure the drive folder exists before anything is read or written there. The default folder is
// made when it is missing, as drive C: always exists on Windows. A folder that was chosen and is missing
// (or is no folder) fails with an Error naming it: nothing is put on a new empty drive in its place.
void prepareDriveFolder();

// Maps a system path to a path on this machine. Each component is matched against the entries that
// exist without regard to case; a component that does not exist keeps the case given. A path that
// would leave the drive ("..", another drive letter) is refused with an Error. A path that begins
// with "/" is already a path of this machine and is returned unchanged.
QString toHost(const QString& systemPath);

} // namespace platform::drive
