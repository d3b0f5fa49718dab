#pragma once

#include "codecs/Stretch.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <functional>

class QPainter;
class TGraphic;

// A drawing surface: the pixels of a bitmap (a QImage) or a painter (a widget's paintEvent, a printer,
// the print preview). Pictures draw themselves on it stretched, nearest-neighbour.
class TCanvas {
public:
    explicit TCanvas(QImage& image);
    explicit TCanvas(QImage* image);
    explicit TCanvas(QPainter& painter);
    explicit TCanvas(QPainter* painter);
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // Draws graphic stretched to fill rect exactly; does nothing for a null graphic.
    void stretchDraw(const QRect& rect, TGraphic* graphic);
    // Draws graphic at its own size with its top-left corner at x, y (clipped to the surface).
    void draw(int x, int y, TGraphic* graphic);
    void fillRect(const QRect& rect, const QColor& color);
    // Copies sourceRect of source into rect, stretched when the sizes differ.
    void copyRect(const QRect& rect, const QImage& source, const QRect& sourceRect);

    QImage* image() const { return image_; }
    QPainter* painter() const { return painter_; }
    // The size rect covers on the device, in device pixels (a printer's are small).
    QSize deviceSize(const QRect& rect) const;
    // Stretches source into rect; cache, when given, keeps the stretched pixels for painter surfaces.
    void stretchImage(const QRect& rect, const codecs::DrawSource& source,
                      codecs::StretchCache* cache = nullptr);

    // Called after each change of the surface (a bitmap's canvas tells its bitmap).
    std::function<void()> onChange;

private:
    void notify();

    QImage* image_ = nullptr;
    QPainter* painter_ = nullptr;
};
