#pragma once

#include "codecs/Graphic.h"

#include <QString>
#include <functional>
#include <memory>

class TBitmap;

// Owns at most one picture and tells its owner when it changes. Every image box, report image and cell
// cutter has one.
class TPictureHolder {
public:
    TPictureHolder();
    ~TPictureHolder();
    TPictureHolder(const TPictureHolder&) = delete;
    TPictureHolder& operator=(const TPictureHolder&) = delete;

    // Picks the kind by the file's extension ("Unknown picture file extension (.%s)" when none), loads
    // the file into a new picture and only then replaces the old one; on failure the old one stays.
    void loadFromFile(const QString& path);
    void saveToFile(const QString& path) const;

    TGraphic* graphic() const { return graphic_.get(); }
    // Null when the picture is not a bitmap.
    TBitmap* bitmap() const;
    // Installs a copy of graphic (none for null).
    void assign(const TGraphic* graphic);
    void setGraphic(std::unique_ptr<TGraphic> graphic);
    void clear() { setGraphic(nullptr); }
    // Gives the picture up to the caller, who owns it from then on; the holder is left empty and tells
    // its owner so.
    std::unique_ptr<TGraphic> release();
    int width() const;
    int height() const;

    std::function<void()> onChange;

private:
    void install(std::unique_ptr<TGraphic> graphic);

    std::unique_ptr<TGraphic> graphic_;
};
