#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// Debian's exiftool, the independent reader and writer of capture records (EXIF) in our tests.
namespace exiftool {

// Runs exiftool with `args` and gives back what it wrote to standard output; the test fails when it
// does not succeed or writes anything to standard error.
QByteArray run(const QStringList& args);
// Writes tag assignments ("-Make=Canon", "-ThumbnailImage<=thumb.jpg", ...) into the file in place.
void write(const QString& hostPath, const QStringList& assignments);
// Every tag exiftool reads from the file, as "Group:Tag" (family 1 groups: IFD0, ExifIFD, GPS, IFD1,
// ...) to its value, numbers as numbers.
QJsonObject tags(const QString& hostPath);
// Only the tags of the EXIF record and its maker note.
QJsonObject exifTags(const QString& hostPath);

} // namespace exiftool
