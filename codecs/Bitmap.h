#pragma once

#include "codecs/Graphic.h"
#include "codecs/Stretch.h"

#include <QColor>
#include <QImage>
#include <memory>

enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

// A device-independent bitmap held in a QImage: the one kind that can be drawn on and resized. New
// bitmaps are 32 bits per pixel (the display's own format) and white. Files are Windows bitmaps (.bmp).
class TBitmap : public TGraphic {
public:
    TBitmap();
    explicit TBitmap(const QImage& image);
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);
    ~TBitmap() override;

    QString className() const override { return QStringLiteral("TBitmap"); }
    std::unique_ptr<TGraphic> clone() const override;
    // From a bitmap, a JPEG (its decoded pixels) or a GIF (its current frame).
    void assign(const TGraphic& source) override;
    void draw(TCanvas& canvas, const QRect& rect) override;

    int width() const override { return image_.width(); }
    int height() const override { return image_.height(); }
    // Resizing keeps the pixels that still fit at the top left; new area is white.
    void setWidth(int width) override;
    void setHeight(int height) override;
    void setSize(int width, int height);

    void loadFromBytes(const QByteArray& bytes) override;
    QByteArray saveToBytes() override;

    TCanvas& canvas();
    const QImage& image() const { return image_; }
    void setImage(const QImage& image);

    TPixelFormat pixelFormat() const;
    // Converts the pixels; pfDevice and pf32bit are RGB32, pf24bit RGB888, pf8bit 256 colours, pf1bit
    // black and white.
    void setPixelFormat(TPixelFormat format);
    bool monochrome() const { return pixelFormat() == TPixelFormat::pf1bit; }

    // When transparent, pixels of the transparent colour leave the destination unchanged. Unless set, the
    // transparent colour is that of the bottom-left pixel.
    QColor transparentColor() const;
    void setTransparentColor(const QColor& color);

protected:
    void changed() override;

private:
    QImage image_;
    QColor transparentColor_; // invalid: the bottom-left pixel's
    std::unique_ptr<TCanvas> canvas_;
    codecs::StretchCache cache_;
};
