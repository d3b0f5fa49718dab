#pragma once

#include "archive/ZipTypes.h"

#include <QList>
#include <QString>
#include <QStringList>

// Which files a job takes: the FileSpec patterns searched on disk, filtered by their attribute words.
namespace archive {

// Whether `set` admits (or, as the excluding filter, excludes) a file with attribute word `attributes`.
bool attributeSetHolds(TqmbFileAttributes set, quint32 attributes, bool admitting);
bool passesAttributeFilter(TqmbFileAttributes admit, TqmbFileAttributes exclude, quint32 attributes);

struct SourceFile {
    QString fullPath;   // the FileSpec entry's folder followed by the name as the file system spells it
    QString storedName; // with "\" between folders
    qint64 size = 0;
    quint32 dosTime = 0;
    quint32 attributes = 0;
};

struct SearchSettings {
    bool recurseDirs = false;
    TqmbFileAttributes attributes;
    TqmbFileAttributes attributesEx;
    TStoredDirNames storedDirNames = sdRelative;
};

// Every file the FileSpec entries match, in entry order and, within an entry, in name order.
QList<SourceFile> findSourceFiles(const QStringList& fileSpec, const SearchSettings& settings);

} // namespace archive
