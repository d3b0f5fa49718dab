#pragma once

#include "codecs/Bitmap.h"
#include "codecs/Graphic.h"

#include <QByteArray>
#include <memory>

enum class TJPEGPerformance { jpBestQuality, jpBestSpeed };
enum class TJPEGPixelFormat { jf24Bit, jf8Bit };
enum class TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };

// The settings every new TJPEGImage starts with.
struct TJPEGDefaults {
    int compressionQuality = 90; // 1 to 100
    bool grayscale = false;
    TJPEGPerformance performance = TJPEGPerformance::jpBestQuality;
    TJPEGPixelFormat pixelFormat = TJPEGPixelFormat::jf24Bit;
    bool progressiveDisplay = false;
    bool progressiveEncoding = false;
    TJPEGScale scale = TJPEGScale::jsFullSize;
    bool smoothing = true;
};
TJPEGDefaults& jpegDefaults();

// A JPEG picture: the compressed stream as read from the file (shared between copies), its size from the
// stream's header, and the decoded bitmap made on first draw and kept. A picture assigned from a bitmap
// holds that bitmap and is encoded (baseline, quality 90 by default) when it is saved. Fatal libjpeg
// errors fail with "JPEG error #%d" and libjpeg's message code; warnings are ignored.
class TJPEGImage : public TGraphic {
public:
    TJPEGImage();
    ~TJPEGImage() override;

    QString className() const override { return QStringLiteral("TJPEGImage"); }
    std::unique_ptr<TGraphic> clone() const override;
    void assign(const TGraphic& source) override;
    // Shares the other picture's stream and copies its decoded bitmap if it has one.
    void assign(const TJPEGImage& source);
    // Drops the stream and keeps a copy of the bitmap, to be encoded when next saved.
    void assign(const TBitmap& source);
    void draw(TCanvas& canvas, const QRect& rect) override;

    bool empty() const override;
    int width() const override;
    int height() const override;
    // Always fail with "Cannot change the size of a JPEG image".
    void setWidth(int width) override;
    void setHeight(int height) override;

    // Keeps the bytes and reads the header (size, grayscale, progressive); no pixels are decoded. The
    // encoding settings stay as they are: a progressive file loaded and then resized is written baseline.
    void loadFromBytes(const QByteArray& bytes) override;
    // The stream as loaded when unchanged, else the bitmap newly encoded.
    QByteArray saveToBytes() override;

    // The decoded picture at the scale setting (decoded now if need be).
    const TBitmap& bitmap();
    void dibNeeded() { bitmap(); }
    // Encodes the bitmap now if the picture has no stream.
    void jpegNeeded();
    QByteArray data() const { return stream_; }
    bool hasBitmap() const { return bitmap_ != nullptr; }
    // What the stream's header says: one channel, more than one scan.
    bool grayscaleStream() const { return streamGrayscale_; }
    bool progressiveStream() const { return streamProgressive_; }

    int compressionQuality() const { return quality_; }
    void setCompressionQuality(int quality);
    bool grayscale() const { return grayscale_; }
    void setGrayscale(bool on);
    TJPEGPerformance performance() const { return performance_; }
    void setPerformance(TJPEGPerformance performance);
    TJPEGPixelFormat pixelFormat() const { return pixelFormat_; }
    void setPixelFormat(TJPEGPixelFormat format);
    bool progressiveDisplay() const { return progressiveDisplay_; }
    void setProgressiveDisplay(bool on) { progressiveDisplay_ = on; }
    bool progressiveEncoding() const { return progressiveEncoding_; }
    void setProgressiveEncoding(bool on) { progressiveEncoding_ = on; }
    TJPEGScale scale() const { return scale_; }
    void setScale(TJPEGScale scale);
    bool smoothing() const { return smoothing_; }
    void setSmoothing(bool on);

private:
    void dropBitmap();
    void decode(int denominator);
    int scaleDenominator() const;

    QByteArray stream_;
    int streamWidth_ = 0;
    int streamHeight_ = 0;
    bool streamGrayscale_ = false;
    bool streamProgressive_ = false;
    std::unique_ptr<TBitmap> bitmap_;
    int bitmapDenominator_ = 1;    // 1, 2, 4 or 8: the bitmap was decoded at 1/n of the stream's size
    bool bitmapIsContent_ = false; // assigned from a bitmap: the bitmap is the picture

    int quality_;
    bool grayscale_;
    TJPEGPerformance performance_;
    TJPEGPixelFormat pixelFormat_;
    bool progressiveDisplay_;
    bool progressiveEncoding_;
    TJPEGScale scale_;
    bool smoothing_;
};
