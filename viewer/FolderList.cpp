#include "viewer/FolderList.h"

#include "platform/Error.h"
#include "platform/Files.h"

#include <QCollator>
#include <algorithm>

namespace files = platform::files;

namespace viewer {
namespace {

QStringList subfoldersOf(const QString& folder) {
    QStringList names;
    for (const files::FoundFile& found : files::find(folder + (folder.endsWith('\\') ? "*" : "\\*"))) {
        if (!(found.attributes & files::Directory)) continue;
        if (found.attributes & (files::Hidden | files::SysFile)) continue;
        names.append(found.name);
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(),
                     [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    return names;
}

} // namespace

QString folderForm(const QString& folder) {
    QString form = folder;
    form.replace('/', '\\');
    while (form.endsWith('\\') && !(form.size() == 3 && form.at(1) == ':'))
        form.chop(1);
    if (form.size() == 2 && form.at(1) == ':') form += '\\';
    return form;
}

FolderList::FolderList(FileList& files) : files_(files) {}

void FolderList::setDirectory(const QString& folder) {
    const QString form = folderForm(folder);
    if (!directory_.isEmpty() && form.compare(directory_, Qt::CaseInsensitive) == 0) return;
    if (!files::folderExists(form))
        throw platform::Error(QStringLiteral("The system cannot find the path specified"));
    QStringList items;
    const QStringList parts = form.split('\\', Qt::SkipEmptyParts);
    if (!parts.isEmpty()) items.append(parts.first().toLower() + '\\');
    for (qsizetype i = 1; i < parts.size(); ++i)
        items.append(parts.at(i));
    items += subfoldersOf(form);
    directory_ = form;
    items_ = items;
    files_.setFolder(form);
}

} // namespace viewer
