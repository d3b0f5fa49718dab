#pragma once

#include <QString>

// The fixed folders of the system and the names of filed pictures.
namespace folders {

inline const QString PictureRoot = QStringLiteral("c:\\picture");
inline const QString TransferFolder = QStringLiteral("c:\\picture\\transfer");
inline const QString TableFolder = QStringLiteral("C:\\claim\\db");

QString claimFolder(const QString& claimNumber);
// PictureRoot and then TransferFolder, each only when missing; no parent is created along the way.
void createWorkingFolders();

// ClaimNumber, three-digit sequence, the last four characters of the source name in their own case.
QString filedName(const QString& claimNumber, const QString& sequence, const QString& sourceName);
QString extensionOf(const QString& name); // the last four characters
// "c:\Picture\Transfer\" + the first eight characters of a document's name + ".Zip".
QString archivePath(const QString& documentName);

} // namespace folders
