#include "app/WorkingFolders.h"

#include "platform/Files.h"

namespace folders {

QString claimFolder(const QString& claimNumber) {
    return PictureRoot + '\\' + claimNumber;
}

void createWorkingFolders() {
    namespace files = platform::files;
    if (!files::folderExists(PictureRoot)) files::createFolder(PictureRoot);
    if (!files::folderExists(TransferFolder)) files::createFolder(TransferFolder);
}

QString extensionOf(const QString& name) {
    return name.right(4);
}

QString filedName(const QString& claimNumber, const QString& sequence, const QString& sourceName) {
    return claimNumber + sequence + extensionOf(sourceName);
}

QString archivePath(const QString& documentName) {
    return QStringLiteral("c:\\Picture\\Transfer\\") + documentName.left(8) + QStringLiteral(".Zip");
}

} // namespace folders
