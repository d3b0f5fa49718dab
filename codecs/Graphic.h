#pragma once

#include <QByteArray>
#include <QRect>
#include <QString>
#include <functional>
#include <memory>

class QIODevice;
class TCanvas;

// A picture of one of the kinds the system knows (bitmap, JPEG, GIF). Paths given to loadFromFile and
// saveToFile are system paths ("c:\picture\a.jpg"). Failures raise platform::Error.
class TGraphic {
public:
    TGraphic() = default;
    virtual ~TGraphic() = default;
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;

    // The class name the file formats list registers ("TJPEGImage", ...).
    virtual QString className() const = 0;
    virtual std::unique_ptr<TGraphic> clone() const = 0;
    // Takes over another picture's content; kinds that cannot do so fail with "Cannot assign a %s to a %s".
    virtual void assign(const TGraphic& source);

    // Draws the picture stretched to fill rect exactly, width and height scaled independently.
    virtual void draw(TCanvas& canvas, const QRect& rect) = 0;

    virtual bool empty() const;
    virtual int width() const = 0;
    virtual int height() const = 0;
    virtual void setWidth(int width) = 0;
    virtual void setHeight(int height) = 0;
    virtual bool transparent() const { return transparent_; }
    virtual void setTransparent(bool on);
    bool paletteModified() const { return paletteModified_; }
    void setPaletteModified(bool on) { paletteModified_ = on; }

    // Reads the whole file (other readers allowed) and loads it: "Cannot open file "%s". %s" when it cannot
    // be read. The picture is unchanged when loading fails.
    virtual void loadFromFile(const QString& path);
    // Creates or truncates the file and writes the picture: "Cannot create file "%s". %s".
    virtual void saveToFile(const QString& path);
    virtual void loadFromStream(QIODevice& stream);
    virtual void saveToStream(QIODevice& stream);
    // The file's bytes in, the file's bytes out.
    virtual void loadFromBytes(const QByteArray& bytes) = 0;
    virtual QByteArray saveToBytes() = 0;

    // Called after every change of the picture (the holder shows it again).
    std::function<void()> onChange;

protected:
    virtual void changed();

private:
    bool transparent_ = false;
    bool paletteModified_ = false;
};

namespace codecs {

// Pictures larger than this many pixels are refused before anything is allocated for them.
constexpr qint64 kDefaultPixelLimit = 100'000'000;
qint64 pixelLimit();
void setPixelLimit(qint64 pixels); // the fuzz targets lower it to keep each run short
// Fails with "The picture is too large (%1 by %2 pixels)" when width by height exceeds the limit.
void checkPictureSize(qint64 width, qint64 height);

} // namespace codecs
