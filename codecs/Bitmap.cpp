#include "codecs/Bitmap.h"

#include "codecs/Canvas.h"
#include "codecs/GifImage.h"
#include "codecs/JpegImage.h"
#include "platform/Error.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

namespace {

bool paintable(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied ||
           format == QImage::Format_ARGB32 || format == QImage::Format_RGB888;
}

QImage allocate(int width, int height, QImage::Format format) {
    codecs::checkPictureSize(width, height);
    QImage image(width, height, format);
    if (image.isNull() && width > 0 && height > 0)
        throw platform::Error(
            QStringLiteral("Not enough memory for a bitmap of %1 by %2 pixels").arg(width).arg(height));
    return image;
}

QList<QRgb> sixteenColours() {
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(128, 128, 128),
            qRgb(192, 192, 192), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

} // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(const QImage& image) : image_(image) {}

TBitmap::TBitmap(const TBitmap& other)
    : TGraphic(), image_(other.image_), transparentColor_(other.transparentColor_) {
    if (other.transparent()) setTransparent(true);
    setPaletteModified(other.paletteModified());
}

TBitmap& TBitmap::operator=(const TBitmap& other) {
    if (this == &other) return *this;
    image_ = other.image_;
    transparentColor_ = other.transparentColor_;
    setPaletteModified(other.paletteModified());
    if (transparent() != other.transparent())
        setTransparent(other.transparent());
    else
        changed();
    return *this;
}

TBitmap::~TBitmap() = default;

std::unique_ptr<TGraphic> TBitmap::clone() const {
    return std::make_unique<TBitmap>(*this);
}

void TBitmap::assign(const TGraphic& source) {
    if (&source == this) return;
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(&source)) {
        *this = *bitmap;
        return;
    }
    if (const auto* jpeg = dynamic_cast<const TJPEGImage*>(&source)) {
        // Decoding fills the picture's cache; the picture itself does not change.
        image_ = const_cast<TJPEGImage*>(jpeg)->bitmap().image();
        changed();
        return;
    }
    if (const auto* gif = dynamic_cast<const TGIFImage*>(&source)) {
        auto* frames = const_cast<TGIFImage*>(gif);
        if (gif->empty()) {
            image_ = QImage();
        } else {
            TGIFFrame& frame = frames->frame(gif->currentFrame());
            image_ = frame.bitmap().image();
            if (frame.transparentColor()) {
                transparentColor_ = QColor::fromRgb(*frame.transparentColor());
                if (!transparent()) setTransparent(gif->transparent());
            }
        }
        changed();
        return;
    }
    TGraphic::assign(source);
}

void TBitmap::draw(TCanvas& canvas, const QRect& rect) {
    if (image_.isNull()) return;
    codecs::DrawSource source;
    source.image = image_;
    source.keyed = transparent();
    source.keyColor = transparentColor().rgb();
    canvas.stretchImage(rect, source, &cache_);
}

void TBitmap::setWidth(int width) {
    setSize(width, height());
}

void TBitmap::setHeight(int height) {
    setSize(width(), height);
}

void TBitmap::setSize(int width, int height) {
    width = qMax(0, width);
    height = qMax(0, height);
    if (width == image_.width() && height == image_.height()) return;
    const QImage::Format format = paintable(image_.format()) ? image_.format() : QImage::Format_RGB32;
    QImage resized = allocate(width, height, format);
    if (!resized.isNull()) {
        resized.fill(Qt::white);
        if (!image_.isNull()) {
            QPainter painter(&resized);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(0, 0, image_);
        }
    }
    image_ = resized;
    changed();
}

void TBitmap::loadFromBytes(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    const QSize size = reader.size();
    if (!size.isValid()) throw platform::Error(QStringLiteral("Bitmap image is not valid"));
    codecs::checkPictureSize(size.width(), size.height());
    reader.setAllocationLimit(int(codecs::pixelLimit() * 4 / (1024 * 1024)) + 1);
    QImage image = reader.read();
    if (image.isNull()) throw platform::Error(QStringLiteral("Bitmap image is not valid"));
    image_ = image;
    changed();
}

QByteArray TBitmap::saveToBytes() {
    if (image_.isNull()) return QByteArray();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    if (!writer.write(image_))
        throw platform::Error(QStringLiteral("Cannot write the bitmap: %1").arg(writer.errorString()));
    return buffer.data();
}

TCanvas& TBitmap::canvas() {
    // The painter draws only on true-colour pixels; palette and grey bitmaps become 32 bits per pixel.
    if (!image_.isNull() && !paintable(image_.format()))
        image_ = image_.convertToFormat(QImage::Format_RGB32);
    if (!canvas_) {
        canvas_ = std::make_unique<TCanvas>(image_);
        canvas_->onChange = [this] { changed(); };
    }
    return *canvas_;
}

void TBitmap::setImage(const QImage& image) {
    image_ = image;
    changed();
}

TPixelFormat TBitmap::pixelFormat() const {
    switch (image_.format()) {
    case QImage::Format_Invalid:
        return TPixelFormat::pfDevice;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return TPixelFormat::pf1bit;
    case QImage::Format_Indexed8:
        return image_.colorCount() <= 2    ? TPixelFormat::pf1bit
               : image_.colorCount() <= 16 ? TPixelFormat::pf4bit
                                           : TPixelFormat::pf8bit;
    case QImage::Format_Grayscale8:
        return TPixelFormat::pf8bit;
    case QImage::Format_RGB555:
        return TPixelFormat::pf15bit;
    case QImage::Format_RGB16:
        return TPixelFormat::pf16bit;
    case QImage::Format_RGB888:
        return TPixelFormat::pf24bit;
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return TPixelFormat::pf32bit;
    default:
        return TPixelFormat::pfCustom;
    }
}

void TBitmap::setPixelFormat(TPixelFormat format) {
    if (format == pixelFormat() || image_.isNull()) return;
    switch (format) {
    case TPixelFormat::pf1bit:
        image_ = image_.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
        break;
    case TPixelFormat::pf4bit:
        image_ = image_.convertToFormat(QImage::Format_Indexed8, sixteenColours(), Qt::ThresholdDither);
        break;
    case TPixelFormat::pf8bit:
        image_ = image_.convertToFormat(QImage::Format_Indexed8);
        break;
    case TPixelFormat::pf15bit:
        image_ = image_.convertToFormat(QImage::Format_RGB555);
        break;
    case TPixelFormat::pf16bit:
        image_ = image_.convertToFormat(QImage::Format_RGB16);
        break;
    case TPixelFormat::pf24bit:
        image_ = image_.convertToFormat(QImage::Format_RGB888);
        break;
    case TPixelFormat::pfDevice:
    case TPixelFormat::pf32bit:
        image_ = image_.convertToFormat(QImage::Format_RGB32);
        break;
    case TPixelFormat::pfCustom:
        return;
    }
    changed();
}

QColor TBitmap::transparentColor() const {
    if (transparentColor_.isValid()) return transparentColor_;
    if (image_.isNull()) return QColor(Qt::black);
    return QColor::fromRgb(image_.pixel(0, image_.height() - 1) | 0xFF000000);
}

void TBitmap::setTransparentColor(const QColor& color) {
    transparentColor_ = color;
    changed();
}

void TBitmap::changed() {
    cache_.clear();
    TGraphic::changed();
}
