#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// File operations on system paths (see DrivePaths.h). Off Windows a file's attribute word is derived
// to read as the Windows one does.
namespace platform::files {

enum Attribute : quint32 {
    ReadOnly = 0x01,
    Hidden = 0x02,
    SysFile = 0x04,
    VolumeId = 0x08,
    Directory = 0x10,
    Archive = 0x20,
    Normal = 0x80,
    Temporary = 0x100,
    Compressed = 0x800,
    NotContentIndexed = 0x2000,
    Encrypted = 0x4000,
};
constexpr quint32 kInvalidAttributes = 0xFFFFFFFF;

struct FoundFile {
    QString name; // as the file system spells it, without folder
    quint32 attributes = 0;
    qint64 size = 0;
    QDateTime lastWrite;
};

bool exists(const QString& path); // file or folder
bool fileExists(const QString& path);
bool folderExists(const QString& path);
// Creates one folder; its parent must exist. True when the folder exists afterwards.
bool createFolder(const QString& path);
// Size in bytes; a missing file fails with "File not found".
qint64 fileSize(const QString& path);
// Copies over an existing file of the same name through a temporary file in the target's folder, so a
// failed copy never leaves a partial target. False on any failure.
bool copyFile(const QString& from, const QString& to);
bool deleteFile(const QString& path);
bool moveToTrash(const QString& path);
// The attribute word, kInvalidAttributes when the path does not exist. Off Windows: ReadOnly when the
// owner may not write (from the mode bits, so also for root), Hidden for a name beginning with ".",
// Directory for a folder, Archive for a plain file, SysFile for anything else (device, pipe, socket).
quint32 attributes(const QString& path);
quint32 attributesOfHostPath(const QString& hostPath);
// Wildcard search of one pattern ("*" and "?" in its last component, without regard to case). Every
// matching entry, folders and hidden files included (callers filter by attributes); a link that leads
// nowhere is no entry.
QList<FoundFile> find(const QString& pattern);
bool wildcardMatch(const QString& name, const QString& pattern);

QString folderOf(const QString& path); // the part before the last "\" or "/", without it
QString nameOf(const QString& path);   // the part after the last "\" or "/"

} // namespace platform::files
