#pragma once

#include "archive/ZipTypes.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace archive {

// The ZIP archive component. One job (Compress) adds the files that FileSpec selects to ArchiveFile,
// rewriting the archive through a temporary file; under swMove it then removes the source files that
// the archive holds. Failures never leave the job: they go to OnError and Compress returns 0.
class TZip {
public:
    TZip();
    TZip(const TZip&) = delete;
    TZip& operator=(const TZip&) = delete;

    // "/" becomes "\" (a path that begins with "/" is a path of this machine and is kept); a path without
    // extension gets DefaultExt. Records whether the archive exists now.
    void setArchiveFile(const QString& path);
    QString ArchiveFile() const { return archiveFile_; }
    // Whether no file or folder of that name existed when ArchiveFile was assigned.
    bool NewArchive() const { return archiveIsNew_; }
    // Lower-cased, with a leading ".", at most 4 characters; "" or "." restores ".ZIP".
    void setDefaultExt(const QString& extension);
    QString DefaultExt() const { return defaultExt_; }
    TArcType ArcType() const { return atZip; }

    QStringList FileSpec; // each entry a path whose last component may hold "*" and "?"
    TqmbFileAttributes Attributes = fsZeroAttr | fsReadOnly | fsArchive | fsCompressed | fsEncrypted;
    TqmbFileAttributes AttributesEx;
    bool RecurseDirs = true;
    TCompressMethod CompressMethod = cmDeflate;
    TDeflateType DeflateType = dtDeflateN;
    QStringList StoreFilesOfType;
    TSwitch Switch = swAdd;
    TDeleteOption DeleteOptions = doAllowUndo;
    // Folder of the temporary file. When it is empty or no folder, the archive's own folder: there the
    // finished file is renamed into place without a second copy.
    QString TempDir;
    TStoredDirNames StoredDirNames = sdRelative;
    // Stored names are in the OEM code page. The system's ANSI and OEM code pages are both 874, so the
    // name bytes are the same either way.
    bool TranslateOemChar = true;

    // Just before a new file is encoded, with its full path and its position in the entry list; an
    // Extract set to false leaves the file out.
    std::function<void(TZip& sender, const QString& fileName, int count, bool& extract)> OnBegin;
    // Percentages 0 to 100 of the current file and of the whole job.
    std::function<void(TZip& sender, quint8 byFile, quint8 byArchive)> OnProgress;
    // The file being worked on, a detail (a folder, the name of an unset event, a reason) and the archive.
    std::function<void(TZip& sender, const QString& fileName, const QString& detail,
                       const QString& archiveFile, int code)>
        OnError;
    // After each removed source file, with its 1-based position among the files to remove and their number.
    std::function<void(TZip& sender, const QString& fileName, int position, int count)> OnDeleteFile;
    // Asked when the archive is read-only, hidden or system; answering true clears read-only. Unset, the
    // job reports 25270 and leaves everything as it is.
    std::function<void(TZip& sender, const QString& archiveFile, bool& makeWritable)> OnNonWriteableArchive;
    // Asked when the archive holds a different member of a file's stored name; answering true replaces
    // the member. Unset, the job reports 25270 and the file stays where it is.
    std::function<void(TZip& sender, const QString& fileName, bool& replace)> OnReplaceFile;

    // Runs one job and gives back the number of files added.
    int Compress();
    // Asks the running job to stop; it then returns 0. Until the new archive is in place the archive
    // keeps its content and no file is removed.
    void Cancel() { cancelled_ = true; }
    bool Cancelled() const { return cancelled_; }

private:
    friend class ZipJob;
    QString archiveFile_;
    QString defaultExt_ = QStringLiteral(".ZIP");
    bool archiveIsNew_ = true;
    bool cancelled_ = false;
    bool running_ = false;
};

// The 24 extensions whose files are stored without compression.
QStringList defaultStoreFilesOfType();

} // namespace archive

namespace archive {

// The settings the transfer run gives its archive component: deflate, move into the trash, no descent
// into folders, ".zip" as default extension, the usual attribute filter and stored types.
void applyTransferSettings(TZip& zip);

} // namespace archive
