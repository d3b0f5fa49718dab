#pragma once

#include <QByteArray>
#include <QString>

// Small files that must survive a power cut whole: journals and logs. Paths are system paths (see
// DrivePaths.h). Every failure is an Error naming the file.
namespace platform::durable {

// Appends the bytes at the end of the file (made when missing) and returns once they are on disk, the
// folder's entry too for a new file. A cut during the call leaves at most a part of these bytes.
void appendSynced(const QString& path, const QByteArray& bytes);
// Puts the bytes in the file's place as a whole: a temporary file beside it, flushed to disk, renamed
// over it, the folder flushed. After a cut the file holds either the old or the new bytes.
void replaceSynced(const QString& path, const QByteArray& bytes);
// The file's bytes; empty when there is no such file.
QByteArray readWhole(const QString& path);

} // namespace platform::durable
