#include "app/FileList.h"

#include "platform/Files.h"

#include <QCollator>
#include <algorithm>

namespace files = platform::files;

FileList::FileList(const QString& folder, const QString& patternText)
    : folder_(folder), patternText_(patternText) {}

void FileList::setFolder(const QString& folder) {
    if (folder == folder_) return;
    folder_ = folder;
    stale_ = true;
}

void FileList::setPatternText(const QString& patternText) {
    if (patternText == patternText_) return;
    patternText_ = patternText;
    stale_ = true;
}

void FileList::read() {
    items_.clear();
    const QStringList patterns = patternText_.split(';', Qt::SkipEmptyParts);
    for (const QString& raw : patterns) {
        const QString pattern = raw.trimmed();
        const bool hasFolder = pattern.contains('\\') || pattern.contains('/');
        QString full = pattern;
        if (!hasFolder) {
            full = folder_;
            if (!full.endsWith('\\') && !full.endsWith('/')) full += '\\';
            full += pattern;
        }
        for (const files::FoundFile& found : files::find(full)) {
            if (found.attributes & (files::Directory | files::Hidden | files::SysFile)) continue;
            items_.append(found.name);
        }
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(items_.begin(), items_.end(),
                     [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    stale_ = false;
}

const QStringList& FileList::items() {
    if (stale_) read();
    return items_;
}

bool FileList::removeFirst(const QString& name) {
    const qsizetype at = items().indexOf(name);
    if (at < 0) return false;
    items_.removeAt(at);
    return true;
}
