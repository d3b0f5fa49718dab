#include "codecs/Canvas.h"

#include "codecs/Graphic.h"

#include <QPaintEngine>
#include <QPainter>
#include <QTransform>

namespace {

// Stretching to device pixels first is worth it only while the box is of a size one can allocate; the
// stretched pixels are kept for the next paint only for boxes of a widget's size.
constexpr qint64 kMaxPrestretchPixels = 64'000'000;
constexpr qint64 kMaxCachedPixels = 8'000'000;

bool rasterTarget(const QPainter& painter) {
    const QPaintEngine* engine = painter.paintEngine();
    return engine && engine->type() == QPaintEngine::Raster &&
           painter.combinedTransform().type() <= QTransform::TxScale;
}

QRect deviceRect(const QPainter& painter, const QRect& rect) {
    const QRectF mapped = painter.combinedTransform().mapRect(QRectF(rect));
    const QPoint topLeft(qRound(mapped.left()), qRound(mapped.top()));
    const QPoint end(qRound(mapped.right()), qRound(mapped.bottom()));
    return QRect(topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y()));
}

} // namespace

TCanvas::TCanvas(QImage& image) : image_(&image) {}
TCanvas::TCanvas(QImage* image) : image_(image) {}
TCanvas::TCanvas(QPainter& painter) : painter_(&painter) {}
TCanvas::TCanvas(QPainter* painter) : painter_(painter) {}

void TCanvas::stretchDraw(const QRect& rect, TGraphic* graphic) {
    if (!graphic) return;
    graphic->draw(*this, rect);
}

void TCanvas::draw(int x, int y, TGraphic* graphic) {
    if (!graphic) return;
    graphic->draw(*this, QRect(x, y, graphic->width(), graphic->height()));
}

void TCanvas::fillRect(const QRect& rect, const QColor& color) {
    if (image_) {
        if (image_->isNull()) return;
        if (rect.contains(image_->rect()) && image_->format() != QImage::Format_Indexed8) {
            image_->fill(color);
        } else {
            QPainter painter(image_);
            painter.fillRect(rect, color);
        }
    } else if (painter_) {
        painter_->fillRect(rect, color);
    }
    notify();
}

void TCanvas::copyRect(const QRect& rect, const QImage& source, const QRect& sourceRect) {
    const QRect from = sourceRect & source.rect();
    if (from.isEmpty()) return;
    codecs::DrawSource part;
    part.image = from == source.rect() ? source : source.copy(from);
    stretchImage(rect, part);
}

QSize TCanvas::deviceSize(const QRect& rect) const {
    if (painter_ && painter_->isActive() && painter_->combinedTransform().type() <= QTransform::TxScale)
        return deviceRect(*painter_, rect).size();
    return rect.size();
}

void TCanvas::stretchImage(const QRect& rect, const codecs::DrawSource& source, codecs::StretchCache* cache) {
    if (rect.width() <= 0 || rect.height() <= 0 || source.image.isNull()) return;
    if (image_) {
        codecs::stretchInto(*image_, rect, source);
        notify();
        return;
    }
    if (!painter_ || !painter_->isActive()) return;
    QPainter& painter = *painter_;
    if (rasterTarget(painter)) {
        // Stretched to device pixels here and drawn one to one: only the part of the box on the device.
        const QRect device = deviceRect(painter, rect);
        const QRect surface(0, 0, painter.device()->width(), painter.device()->height());
        const QRect visible = device & surface;
        if (visible.isEmpty()) return;
        const qint64 area = qint64(visible.width()) * visible.height();
        if (area <= kMaxPrestretchPixels) {
            QImage part;
            const bool whole = visible == device;
            if (!whole) {
                part = QImage(visible.size(), QImage::Format_ARGB32_Premultiplied);
                if (part.isNull()) return;
                part.fill(Qt::transparent);
                codecs::stretchInto(part, device.translated(-visible.topLeft()), source);
            }
            const QImage& pixels = !whole ? part
                                   : cache && area <= kMaxCachedPixels
                                       ? cache->get(source, device.size())
                                       : (part = codecs::stretched(source, device.size()));
            painter.save();
            painter.resetTransform();
            painter.drawImage(visible.topLeft(), pixels);
            painter.restore();
            notify();
            return;
        }
    }
    // Printers, recorded pictures and very large boxes scale the picture themselves, without smoothing.
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QImage pixels = source.keyed ? codecs::stretched(source, source.image.size()) : source.image;
    painter.drawImage(QRectF(rect), pixels);
    painter.restore();
    notify();
}

void TCanvas::notify() {
    if (onChange) onChange();
}
