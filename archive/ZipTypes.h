#pragma once

#include <QFlags>
#include <QString>

// The settings' value types of the archive component and the codes of its error reports.
namespace archive {

enum TqmbFileAttribute {
    fsZeroAttr = 0x001,
    fsReadOnly = 0x002,
    fsHidden = 0x004,
    fsSysFile = 0x008,
    fsVolumeID = 0x010,
    fsDirectory = 0x020,
    fsArchive = 0x040,
    fsCompressed = 0x080,
    fsEncrypted = 0x100,
};
Q_DECLARE_FLAGS(TqmbFileAttributes, TqmbFileAttribute)
Q_DECLARE_OPERATORS_FOR_FLAGS(TqmbFileAttributes)

enum TArcType { atZip };
enum TCompressMethod { cmStore, cmDeflate };
enum TDeflateType { dtDeflateS, dtDeflateF, dtDeflateN, dtDeflateX };
enum TSwitch { swAdd, swMove };
enum TDeleteOption { doFinal, doAllowUndo };
enum TStoredDirNames { sdNone, sdRelative };
enum TEntryAction { eaCompress = 0, eaCopy = 1, eaDrop = 2 };

// Codes given to OnError.
enum ZipError : int {
    ErrWriting = 25136,           // "Error writing to file"
    ErrInvalidDirectory = 25158,  // "Invalid directory"
    ErrDiskFull = 25160,          // "Disk full"
    ErrNotAccessible = 25170,     // "is not accessible"
    ErrWriteProtected = 25171,    // "disk is write protected"
    ErrOpeningFile = 25235,       // "Error opening file"
    ErrNothingToDo = 25268,       // "Nothing to do"
    ErrEventNotAssigned = 25270,  // "Required event not assigned"
    ErrUserCanceled = 25443,      // "User canceled"
    ErrDamagedArchive = 25990,    // "Not a readable ZIP archive"
    ErrArchiveNotReplaced = 25991 // "New archive kept in a temporary file"
};

QString errorMessage(int code);

} // namespace archive
