#pragma once

#include "app/FileList.h"

#include <QString>
#include <QStringList>

namespace viewer {

// A list positioned on one folder: the drive's root ("c:\"), one item per folder on the path below it
// with the folder itself last, then the folder's own subfolders (hidden and system ones left out),
// alphabetical without regard to case. The file list it is given always lists the folder it is on.
class FolderList {
public:
    explicit FolderList(FileList& files);

    // Positions the list on `folder` ("c:\picture\" and "c:\picture" are the same folder) and hands it to
    // the file list. Positioning it on the folder it is on, in any case, does nothing at all. A folder
    // that does not exist fails with the file system's message and changes nothing.
    void setDirectory(const QString& folder);
    // The folder the list is on, without a trailing backslash ("c:\picture"); empty until positioned.
    QString directory() const { return directory_; }
    const QStringList& items() const { return items_; }

private:
    FileList& files_;
    QString directory_;
    QStringList items_;
};

// "c:\picture\" -> "c:\picture"; a drive's root keeps its backslash ("c:\").
QString folderForm(const QString& folder);

} // namespace viewer
