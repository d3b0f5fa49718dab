#pragma once

#include <QString>
#include <QTemporaryFile>
#include <memory>

// The temporary file a job builds the new archive in, and putting it in the old archive's place.
namespace archive {

inline constexpr char kTempFileTemplate[] = "qmbXXXXXX.tmp";

// Creates an empty file named "qmb....tmp" in `hostFolder`, open for reading and writing, kept when closed.
std::unique_ptr<QTemporaryFile> createTempFile(const QString& hostFolder);

// Whether a file can be created and deleted again in `hostFolder`.
bool folderIsWritable(const QString& hostFolder);

// Writes what is buffered and asks the system to put the file's bytes on the disk.
bool flushToDisk(QFile& file);

enum class ReplaceOutcome { Replaced, DiskFull, Failed };

// Puts the closed, flushed temporary file in the archive's place in one step: the archive holds either its
// old bytes or the new ones, whatever fails. A temporary file on another file system is first copied
// next to the archive. On failure the temporary file is kept.
ReplaceOutcome replaceArchive(const QString& tempHostPath, const QString& archiveHostPath);

} // namespace archive
