#pragma once

#include "codecs/Graphic.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>

// One picture kind: a lower-case extension without the dot, a description and how to make one.
struct TFileFormat {
    QString extension;
    QString description;
    QString className;
    std::function<std::unique_ptr<TGraphic>()> create;
};

// The registry of picture kinds, filled in this order: wmf, emf, ico, bmp, jpeg, jpg, gif and last the
// platform kind with an empty extension. Metafiles, icons and the platform kind are registered but fail
// to load.
class TFileFormatsList {
public:
    TFileFormatsList();
    void add(const QString& extension, const QString& description, const QString& className,
             std::function<std::unique_ptr<TGraphic>()> create);
    // Searched from the last registered entry to the first, without regard to case; null when absent.
    const TFileFormat* find(const QString& extension) const;
    const QList<TFileFormat>& entries() const { return entries_; }

private:
    QList<TFileFormat> entries_;
};

// The program's registry.
TFileFormatsList& fileFormats();

// The text after the last dot of a path's file name, lower-cased; empty when it has no dot.
QString pictureExtension(const QString& path);
