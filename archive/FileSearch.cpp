#include "archive/FileSearch.h"

#include "archive/ZipHeaders.h"
#include "platform/Error.h"
#include "platform/Files.h"

namespace archive {
namespace {

namespace files = platform::files;

qsizetype lastSeparator(const QString& path) {
    return std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
}

QString storedNameFor(const QString& fullPath, const QString& root, TStoredDirNames mode) {
    if (mode == sdNone) return fullPath.mid(lastSeparator(fullPath) + 1);
    QString name = fullPath.startsWith(root, Qt::CaseInsensitive) ? fullPath.mid(root.size()) : fullPath;
    return name.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

void searchFolder(const QString& folder, const QString& mask, const QString& root, QChar separator,
                  const SearchSettings& settings, QList<SourceFile>& found) {
    QList<files::FoundFile> matches;
    try {
        matches = files::find(folder + mask);
    } catch (const platform::Error&) {
        return; // a path this machine cannot reach matches nothing
    }
    for (const files::FoundFile& match : matches) {
        if (match.name.startsWith(QLatin1Char('.'))) continue;
        if (!passesAttributeFilter(settings.attributes, settings.attributesEx, match.attributes)) continue;
        if (match.attributes & files::Directory) continue;
        SourceFile source;
        source.fullPath = folder + match.name;
        source.storedName = storedNameFor(source.fullPath, root, settings.storedDirNames);
        source.size = match.size;
        source.dosTime = dosDateTime(match.lastWrite);
        source.attributes = match.attributes;
        found.append(source);
    }
    if (!settings.recurseDirs) return;
    QList<files::FoundFile> entries;
    try {
        entries = files::find(folder + QLatin1Char('*'));
    } catch (const platform::Error&) {
        return;
    }
    for (const files::FoundFile& entry : entries) {
        const bool hidden = entry.name.startsWith(QLatin1Char('.')) || (entry.attributes & files::Hidden);
        if ((entry.attributes & files::Directory) && !hidden)
            searchFolder(folder + entry.name + separator, mask, root, separator, settings, found);
    }
}

} // namespace

bool attributeSetHolds(TqmbFileAttributes set, quint32 f, bool admitting) {
    return (admitting && (f & files::NotContentIndexed)) ||
           (set.testFlag(fsEncrypted) && (f & files::Encrypted)) ||
           (set.testFlag(fsArchive) && (f & files::Archive)) ||
           (set.testFlag(fsZeroAttr) && (f == 0 || f == files::Normal)) ||
           (set.testFlag(fsDirectory) && (f & files::Directory)) ||
           (set.testFlag(fsReadOnly) && (f & files::ReadOnly)) ||
           (set.testFlag(fsHidden) && (f & files::Hidden)) ||
           (set.testFlag(fsSysFile) && (f & files::SysFile)) ||
           (set.testFlag(fsCompressed) && (f & files::Compressed));
}

bool passesAttributeFilter(TqmbFileAttributes admit, TqmbFileAttributes exclude, quint32 attributes) {
    return attributeSetHolds(admit, attributes, true) && !attributeSetHolds(exclude, attributes, false);
}

QList<SourceFile> findSourceFiles(const QStringList& fileSpec, const SearchSettings& settings) {
    QList<SourceFile> found;
    for (const QString& entry : fileSpec) {
        const qsizetype at = lastSeparator(entry);
        const QString root = entry.left(at + 1);
        const QChar separator = at >= 0 ? entry.at(at) : QLatin1Char('\\');
        searchFolder(root, entry.mid(at + 1), root, separator, settings, found);
    }
    return found;
}

} // namespace archive
