#include "codecs/JpegImage.h"

#include "codecs/Canvas.h"
#include "codecs/JpegCodec.h"
#include "platform/Error.h"

TJPEGDefaults& jpegDefaults() {
    static TJPEGDefaults defaults;
    return defaults;
}

namespace {

int denominatorOf(TJPEGScale scale) {
    switch (scale) {
    case TJPEGScale::jsFullSize:
        return 1;
    case TJPEGScale::jsHalf:
        return 2;
    case TJPEGScale::jsQuarter:
        return 4;
    case TJPEGScale::jsEighth:
        return 8;
    }
    return 1;
}

// libjpeg's output size at 1/denominator: rounded up.
int scaled(int length, int denominator) {
    return (length + denominator - 1) / denominator;
}

} // namespace

TJPEGImage::TJPEGImage() {
    const TJPEGDefaults& d = jpegDefaults();
    quality_ = d.compressionQuality;
    grayscale_ = d.grayscale;
    performance_ = d.performance;
    pixelFormat_ = d.pixelFormat;
    progressiveDisplay_ = d.progressiveDisplay;
    progressiveEncoding_ = d.progressiveEncoding;
    scale_ = d.scale;
    smoothing_ = d.smoothing;
}

TJPEGImage::~TJPEGImage() = default;

std::unique_ptr<TGraphic> TJPEGImage::clone() const {
    auto copy = std::make_unique<TJPEGImage>();
    copy->quality_ = quality_;
    copy->grayscale_ = grayscale_;
    copy->performance_ = performance_;
    copy->pixelFormat_ = pixelFormat_;
    copy->progressiveDisplay_ = progressiveDisplay_;
    copy->scale_ = scale_;
    copy->smoothing_ = smoothing_;
    copy->assign(*this);
    return copy;
}

void TJPEGImage::assign(const TGraphic& source) {
    if (const auto* jpeg = dynamic_cast<const TJPEGImage*>(&source)) return assign(*jpeg);
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(&source)) return assign(*bitmap);
    TGraphic::assign(source);
}

void TJPEGImage::assign(const TJPEGImage& source) {
    if (&source == this) return;
    stream_ = source.stream_;
    streamWidth_ = source.streamWidth_;
    streamHeight_ = source.streamHeight_;
    streamGrayscale_ = source.streamGrayscale_;
    streamProgressive_ = source.streamProgressive_;
    bitmap_ = source.bitmap_ ? std::make_unique<TBitmap>(*source.bitmap_) : nullptr;
    bitmapDenominator_ = source.bitmapDenominator_;
    bitmapIsContent_ = source.bitmapIsContent_;
    changed();
}

void TJPEGImage::assign(const TBitmap& source) {
    stream_.clear();
    streamWidth_ = streamHeight_ = 0;
    streamGrayscale_ = streamProgressive_ = false;
    bitmap_ = std::make_unique<TBitmap>(source.image());
    bitmapDenominator_ = 1;
    bitmapIsContent_ = true;
    changed();
}

void TJPEGImage::draw(TCanvas& canvas, const QRect& rect) {
    if (empty() || rect.width() <= 0 || rect.height() <= 0) return;
    if (bitmapIsContent_) {
        bitmap_->draw(canvas, rect);
        return;
    }
    // A box much smaller than the picture is drawn from a picture decoded at 1/2, 1/4 or 1/8 of its size,
    // as long as that still has at least one pixel for every pixel of the box.
    const QSize device = canvas.deviceSize(rect);
    const int base = scaleDenominator();
    int wanted = base;
    for (int candidate = base * 2; candidate <= 8; candidate *= 2) {
        if (scaled(streamWidth_, candidate) < device.width() ||
            scaled(streamHeight_, candidate) < device.height())
            break;
        wanted = candidate;
    }
    if (!bitmap_ || bitmapDenominator_ > wanted) decode(wanted);
    bitmap_->draw(canvas, rect);
}

bool TJPEGImage::empty() const {
    if (bitmapIsContent_) return bitmap_->empty();
    return stream_.isEmpty();
}

int TJPEGImage::width() const {
    if (bitmapIsContent_) return bitmap_->width();
    return scaled(streamWidth_, scaleDenominator());
}

int TJPEGImage::height() const {
    if (bitmapIsContent_) return bitmap_->height();
    return scaled(streamHeight_, scaleDenominator());
}

void TJPEGImage::setWidth(int) {
    throw platform::Error(QStringLiteral("Cannot change the size of a JPEG image"));
}

void TJPEGImage::setHeight(int) {
    throw platform::Error(QStringLiteral("Cannot change the size of a JPEG image"));
}

void TJPEGImage::loadFromBytes(const QByteArray& bytes) {
    codecs::jpeg::Header header;
    if (!bytes.isEmpty()) header = codecs::jpeg::readHeader(bytes);
    stream_ = bytes;
    streamWidth_ = header.width;
    streamHeight_ = header.height;
    streamGrayscale_ = header.grayscale;
    streamProgressive_ = header.progressive;
    bitmap_.reset();
    bitmapIsContent_ = false;
    changed();
}

QByteArray TJPEGImage::saveToBytes() {
    jpegNeeded();
    return stream_;
}

const TBitmap& TJPEGImage::bitmap() {
    if (bitmapIsContent_) return *bitmap_;
    if (stream_.isEmpty()) {
        if (!bitmap_) bitmap_ = std::make_unique<TBitmap>();
        return *bitmap_;
    }
    if (!bitmap_ || bitmapDenominator_ != scaleDenominator()) decode(scaleDenominator());
    return *bitmap_;
}

void TJPEGImage::jpegNeeded() {
    // An empty bitmap has nothing to encode: the picture saves as an empty file.
    if (!bitmapIsContent_ || !stream_.isEmpty() || bitmap_->empty()) return;
    codecs::jpeg::EncodeOptions options;
    options.quality = quality_;
    options.grayscale = grayscale_;
    options.progressive = progressiveEncoding_;
    const QByteArray encoded = codecs::jpeg::encode(bitmap_->image(), options);
    const codecs::jpeg::Header header = codecs::jpeg::readHeader(encoded);
    stream_ = encoded;
    streamWidth_ = header.width;
    streamHeight_ = header.height;
    streamGrayscale_ = header.grayscale;
    streamProgressive_ = header.progressive;
    bitmapIsContent_ = false;
    bitmapDenominator_ = 1;
    // A grey encoding no longer matches the colour bitmap it came from.
    if (grayscale_ || scaleDenominator() != 1) bitmap_.reset();
}

void TJPEGImage::setCompressionQuality(int quality) {
    quality_ = qBound(1, quality, 100);
}

void TJPEGImage::setGrayscale(bool on) {
    if (grayscale_ == on) return;
    grayscale_ = on;
    dropBitmap();
}

void TJPEGImage::setPerformance(TJPEGPerformance performance) {
    if (performance_ == performance) return;
    performance_ = performance;
    dropBitmap();
}

void TJPEGImage::setPixelFormat(TJPEGPixelFormat format) {
    if (pixelFormat_ == format) return;
    pixelFormat_ = format;
    dropBitmap();
}

void TJPEGImage::setScale(TJPEGScale scale) {
    if (scale_ == scale) return;
    scale_ = scale;
    dropBitmap();
}

void TJPEGImage::setSmoothing(bool on) {
    if (smoothing_ == on) return;
    smoothing_ = on;
    dropBitmap();
}

void TJPEGImage::dropBitmap() {
    if (!bitmapIsContent_) bitmap_.reset();
    changed();
}

int TJPEGImage::scaleDenominator() const {
    return denominatorOf(scale_);
}

void TJPEGImage::decode(int denominator) {
    codecs::jpeg::DecodeOptions options;
    options.denominator = denominator;
    options.grayscale = grayscale_;
    options.quantize = pixelFormat_ == TJPEGPixelFormat::jf8Bit;
    options.fastest = performance_ == TJPEGPerformance::jpBestSpeed;
    options.smoothing = smoothing_;
    bitmap_ = std::make_unique<TBitmap>(codecs::jpeg::decode(stream_, options));
    bitmapDenominator_ = denominator;
}
