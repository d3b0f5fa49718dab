#pragma once

#include "codecs/Bitmap.h"
#include "codecs/Canvas.h"
#include "codecs/Exif.h"
#include "codecs/GifImage.h"
#include "codecs/JpegImage.h"
#include "platform/Error.h"

#include <QByteArray>
#include <QImage>
#include <cstdlib>

// What the program does with a picture file, for the fuzz targets and their regression tests: every
// input must end in a picture or a platform::Error.
namespace picture_exercise {

// Draws into a thumbnail box, and at its own size at an offset as the cell cutter does.
inline void drawAround(TGraphic& graphic) {
    QImage box(37, 23, QImage::Format_RGB32);
    box.fill(Qt::white);
    TCanvas canvas(box);
    canvas.stretchDraw(box.rect(), &graphic);
    canvas.draw(-3, -2, &graphic);
}

inline void gif(const QByteArray& bytes) {
    TGIFImage picture;
    try {
        picture.loadFromBytes(bytes);
    } catch (const platform::Error&) {
        return;
    }
    drawAround(picture);
    for (int i = 1; i < picture.frameCount() && i < 8; ++i) {
        try {
            picture.frame(i).bitmap();
        } catch (const platform::Error&) {
        }
    }
}

// The capture record as the resize carries it over. A record that reads at all must rebuild into one
// that reads the same way, and laying that out again must change nothing.
inline void exif(const QByteArray& jpeg) {
    const QByteArray record = codecs::exif::findRecord(jpeg);
    const auto fields = codecs::exif::captureFields(record);
    const QByteArray rebuilt = codecs::exif::rebuiltForSize(record, 800, 600);
    if (!rebuilt.isEmpty()) {
        const auto again = codecs::exif::captureFields(rebuilt);
        if (!fields || !again || again->make != fields->make || again->model != fields->model ||
            again->dateTimeOriginal != fields->dateTimeOriginal)
            std::abort();
        if (codecs::exif::rebuiltForSize(rebuilt, 800, 600) != rebuilt) std::abort();
        const QByteArray carried = codecs::exif::withRecord(jpeg, rebuilt);
        if (codecs::exif::findRecord(carried) != rebuilt && jpeg.startsWith("\xFF\xD8")) std::abort();
    }
}

inline void jpeg(const QByteArray& bytes) {
    exif(bytes);
    TJPEGImage picture;
    // The last byte picks the decoder settings, so that each path sees varied data.
    const int choice = bytes.isEmpty() ? 0 : uchar(bytes.back());
    picture.setGrayscale(choice & 1);
    picture.setPixelFormat(choice & 2 ? TJPEGPixelFormat::jf8Bit : TJPEGPixelFormat::jf24Bit);
    picture.setPerformance(choice & 4 ? TJPEGPerformance::jpBestSpeed : TJPEGPerformance::jpBestQuality);
    try {
        picture.loadFromBytes(bytes);
        drawAround(picture);
        const TBitmap& decoded = picture.bitmap();
        if (decoded.width() * decoded.height() <= 256 * 256) {
            TJPEGImage encoded;
            encoded.assign(decoded);
            TJPEGImage again;
            again.loadFromBytes(encoded.saveToBytes());
            again.bitmap();
        }
    } catch (const platform::Error&) {
    }
}

} // namespace picture_exercise
