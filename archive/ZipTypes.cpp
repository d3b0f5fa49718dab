#include "archive/ZipTypes.h"

namespace archive {

QString errorMessage(int code) {
    switch (code) {
    case ErrWriting:
        return QStringLiteral("Error writing to file");
    case ErrInvalidDirectory:
        return QStringLiteral("Invalid directory");
    case ErrDiskFull:
        return QStringLiteral("Disk full");
    case ErrNotAccessible:
        return QStringLiteral("is not accessible");
    case ErrWriteProtected:
        return QStringLiteral("disk is write protected");
    case ErrOpeningFile:
        return QStringLiteral("Error opening file");
    case ErrNothingToDo:
        return QStringLiteral("Nothing to do");
    case ErrEventNotAssigned:
        return QStringLiteral("Required event not assigned");
    case ErrUserCanceled:
        return QStringLiteral("User canceled");
    case ErrDamagedArchive:
        return QStringLiteral("Not a readable ZIP archive");
    case ErrArchiveNotReplaced:
        return QStringLiteral("New archive kept in a temporary file");
    default:
        return QStringLiteral("Error %1").arg(code);
    }
}

} // namespace archive
