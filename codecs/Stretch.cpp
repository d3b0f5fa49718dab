#include "codecs/Stretch.h"

#include "platform/Error.h"

#include <QPainter>
#include <cstring>
#include <vector>

namespace codecs {
namespace {

// A source in one of the forms the inner loops read.
struct Prepared {
    enum Kind { Lookup8, Rgb24, Rgb32, PremultipliedArgb } kind = Rgb32;
    QImage image;
    QRgb lut[256] = {};
    bool seeThrough = false; // some pixels are transparent or blended
    bool keyed = false;
    QRgb key = 0;
};

Prepared prepare(const DrawSource& source) {
    Prepared p;
    p.keyed = source.keyed;
    p.key = source.keyColor & 0xFFFFFF;
    p.image = source.image;
    const auto lookupEntry = [&p](QRgb colour) {
        if (p.keyed && (colour & 0xFFFFFF) == p.key) {
            p.seeThrough = true;
            return QRgb(0);
        }
        if (qAlpha(colour) != 255) p.seeThrough = true;
        return qPremultiply(colour);
    };
    switch (p.image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        p.image = p.image.convertToFormat(QImage::Format_Indexed8);
        [[fallthrough]];
    case QImage::Format_Indexed8: {
        p.kind = Prepared::Lookup8;
        const QList<QRgb> table = p.image.colorTable();
        for (int i = 0; i < 256; ++i)
            p.lut[i] = lookupEntry(i < table.size() ? table[i] : qRgb(0, 0, 0));
        break;
    }
    case QImage::Format_Grayscale8:
        p.kind = Prepared::Lookup8;
        for (int i = 0; i < 256; ++i)
            p.lut[i] = lookupEntry(qRgb(i, i, i));
        break;
    case QImage::Format_RGB888:
        p.kind = Prepared::Rgb24;
        p.seeThrough = p.keyed;
        break;
    case QImage::Format_RGB32:
        p.kind = Prepared::Rgb32;
        p.seeThrough = p.keyed;
        break;
    case QImage::Format_ARGB32_Premultiplied:
        p.kind = Prepared::PremultipliedArgb;
        p.seeThrough = true;
        break;
    default:
        if (p.image.hasAlphaChannel()) {
            p.image = p.image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
            p.kind = Prepared::PremultipliedArgb;
            p.seeThrough = true;
        } else {
            p.image = p.image.convertToFormat(QImage::Format_RGB32);
            p.kind = Prepared::Rgb32;
            p.seeThrough = p.keyed;
        }
    }
    return p;
}

// The source index under the centre of each destination step: (2i + 1) * source / (2 * destination).
inline int sampleAt(qint64 i, qint64 sourceLength, qint64 destLength) {
    return int((2 * i + 1) * sourceLength / (2 * destLength));
}

inline quint32 blendPremultiplied(quint32 src, quint32 dst) {
    const quint32 inverse = 255 - qAlpha(src);
    quint32 rb = (dst & 0x00FF00FF) * inverse;
    quint32 ag = ((dst >> 8) & 0x00FF00FF) * inverse;
    rb = ((rb + ((rb >> 8) & 0x00FF00FF) + 0x00800080) >> 8) & 0x00FF00FF;
    ag = (ag + ((ag >> 8) & 0x00FF00FF) + 0x00800080) & 0xFF00FF00;
    return src + (rb | ag);
}

template <Prepared::Kind kind> inline quint32 fetch(const Prepared& p, const uchar* row, int x) {
    if constexpr (kind == Prepared::Lookup8) {
        return p.lut[row[x]];
    } else if constexpr (kind == Prepared::Rgb24) {
        const uchar* px = row + 3 * x;
        const quint32 rgb = (quint32(px[0]) << 16) | (quint32(px[1]) << 8) | px[2];
        return p.keyed && rgb == p.key ? 0 : rgb | 0xFF000000;
    } else if constexpr (kind == Prepared::Rgb32) {
        const quint32 rgb = reinterpret_cast<const quint32*>(row)[x] & 0xFFFFFF;
        return p.keyed && rgb == p.key ? 0 : rgb | 0xFF000000;
    } else {
        const quint32 px = reinterpret_cast<const quint32*>(row)[x];
        if (p.keyed && qAlpha(px) != 0 && (qUnpremultiply(px) & 0xFFFFFF) == p.key) return 0;
        return px;
    }
}

// Writes the part clip of the stretch of p over rect into a 32-bit premultiplied image out, whose
// top-left pixel stands for origin.
template <Prepared::Kind kind>
void stretchRows(const Prepared& p, const QRect& rect, const QRect& clip, QImage& out, const QPoint& origin,
                 bool opaqueOut) {
    const int sourceWidth = p.image.width();
    const int sourceHeight = p.image.height();
    std::vector<int> columns(size_t(clip.width()));
    for (int x = clip.left(); x <= clip.right(); ++x)
        columns[size_t(x - clip.left())] = sampleAt(x - rect.left(), sourceWidth, rect.width());
    const quint32 opaque = opaqueOut ? 0xFF000000 : 0;
    int previousRow = -1;
    quint32* previousLine = nullptr;
    const size_t lineBytes = size_t(clip.width()) * sizeof(quint32);
    for (int y = clip.top(); y <= clip.bottom(); ++y) {
        const int sy = sampleAt(y - rect.top(), sourceHeight, rect.height());
        quint32* line = reinterpret_cast<quint32*>(out.scanLine(y - origin.y())) + (clip.left() - origin.x());
        if (!p.seeThrough && sy == previousRow) {
            std::memcpy(line, previousLine, lineBytes);
            continue;
        }
        const uchar* row = p.image.constScanLine(sy);
        if (!p.seeThrough) {
            for (size_t i = 0; i < columns.size(); ++i)
                line[i] = fetch<kind>(p, row, columns[i]);
        } else {
            for (size_t i = 0; i < columns.size(); ++i) {
                const quint32 px = fetch<kind>(p, row, columns[i]);
                const int alpha = qAlpha(px);
                if (alpha == 255)
                    line[i] = px;
                else if (alpha != 0)
                    line[i] = blendPremultiplied(px, line[i]) | opaque;
            }
        }
        previousRow = sy;
        previousLine = line;
    }
}

void stretchPrepared(const Prepared& p, const QRect& rect, const QRect& clip, QImage& out,
                     const QPoint& origin) {
    if (clip.isEmpty() || p.image.isNull()) return;
    const bool opaqueOut = out.format() == QImage::Format_RGB32;
    switch (p.kind) {
    case Prepared::Lookup8:
        stretchRows<Prepared::Lookup8>(p, rect, clip, out, origin, opaqueOut);
        break;
    case Prepared::Rgb24:
        stretchRows<Prepared::Rgb24>(p, rect, clip, out, origin, opaqueOut);
        break;
    case Prepared::Rgb32:
        stretchRows<Prepared::Rgb32>(p, rect, clip, out, origin, opaqueOut);
        break;
    case Prepared::PremultipliedArgb:
        stretchRows<Prepared::PremultipliedArgb>(p, rect, clip, out, origin, opaqueOut);
        break;
    }
}

QImage allocate(const QSize& size, QImage::Format format) {
    QImage image(size, format);
    if (image.isNull())
        throw platform::Error(QStringLiteral("Not enough memory to draw a picture of %1 by %2 pixels")
                                  .arg(size.width())
                                  .arg(size.height()));
    return image;
}

} // namespace

void stretchInto(QImage& dest, const QRect& rect, const DrawSource& source) {
    if (rect.width() <= 0 || rect.height() <= 0 || source.image.isNull() || dest.isNull()) return;
    const QRect clip = rect & dest.rect();
    if (clip.isEmpty()) return;
    const Prepared p = prepare(source);
    const QImage::Format format = dest.format();
    if (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied) {
        stretchPrepared(p, rect, clip, dest, QPoint(0, 0));
        return;
    }
    // Other surfaces get the stretched part drawn on them one to one.
    QImage part = allocate(clip.size(), QImage::Format_ARGB32_Premultiplied);
    part.fill(Qt::transparent);
    stretchPrepared(p, rect, clip, part, clip.topLeft());
    QPainter painter(&dest);
    painter.drawImage(clip.topLeft(), part);
}

QImage stretched(const DrawSource& source, const QSize& size) {
    if (size.isEmpty() || source.image.isNull()) return QImage();
    const Prepared p = prepare(source);
    QImage out = allocate(size, p.seeThrough ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (p.seeThrough) out.fill(Qt::transparent);
    const QRect whole(QPoint(0, 0), size);
    stretchPrepared(p, whole, whole, out, QPoint(0, 0));
    return out;
}

const QImage& StretchCache::get(const DrawSource& source, const QSize& size) {
    if (image_.isNull() || image_.size() != size) image_ = stretched(source, size);
    return image_;
}

void StretchCache::clear() {
    image_ = QImage();
}

} // namespace codecs
