#pragma once

#include <QString>
#include <QStringList>

// The one way the system lists a folder: ";"-separated wildcard patterns (each may carry a full path),
// plain files only, names without folder, alphabetical without regard to case. Read on first use, on a
// change of folder or pattern text and on request; never watched.
class FileList {
public:
    explicit FileList(const QString& folder = {}, const QString& patternText = QStringLiteral("*.*"));

    void setFolder(const QString& folder);
    void setPatternText(const QString& patternText);
    QString folder() const { return folder_; }
    QString patternText() const { return patternText_; }

    void read();
    const QStringList& items();
    qsizetype count() { return items().size(); }
    QString at(qsizetype index) { return items().at(index); }
    // Removes the first entry equal to name, compared exactly; the folder is not touched.
    bool removeFirst(const QString& name);

private:
    QString folder_;
    QString patternText_;
    QStringList items_;
    bool stale_ = true;
};
