#pragma once

#include <QImage>
#include <QRect>

// Nearest-neighbour stretching: every destination pixel takes the source pixel under its centre, whole
// rows and columns are dropped or repeated, nothing is averaged.
namespace codecs {

// The pixels a picture is drawn from. When keyed, source pixels whose colour (alpha ignored) equals
// keyColor leave the destination unchanged.
struct DrawSource {
    QImage image;
    bool keyed = false;
    QRgb keyColor = 0;
};

// Stretches the whole source into rect of dest, clipped to dest. Any destination format.
void stretchInto(QImage& dest, const QRect& rect, const DrawSource& source);

// The source stretched to size: premultiplied ARGB (transparent where keyed or see-through) when the
// source can leave pixels unchanged, else RGB32. Fails with platform::Error when it cannot be allocated.
QImage stretched(const DrawSource& source, const QSize& size);

// The stretched image for the last size asked for, kept until the picture changes; a widget that paints
// the same picture into the same box again and again stretches it once.
class StretchCache {
public:
    const QImage& get(const DrawSource& source, const QSize& size);
    void clear();

private:
    QImage image_;
};

} // namespace codecs
