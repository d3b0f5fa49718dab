#pragma once

#include <QRectF>
#include <QString>

class QPainter;
class TGraphic;

// The printed page of one picture. Lengths are in millimetres on A4 paper; the picture's height is
// given in screen pixels and becomes a length at the display's resolution.
namespace viewer {

constexpr double kPaperWidthMm = 210.0;
constexpr double kPaperHeightMm = 297.0;
constexpr double kMarginMm = 10.0;
constexpr double kBandWidthMm = 189.97;
constexpr double kBandHeightMm = 275.96;
constexpr double kPictureInsetMm = 2.117;
constexpr double kPictureWidthMm = 184.41;
constexpr int kPhotographHeightPixels = 540;
constexpr int kDocumentHeightPixels = 1024;
// The display resolution when none is known (and the command line's default).
constexpr double kUsualScreenDpi = 96.0;

// 1024 for a document scan (a name whose last three characters are "GIF" in any case), else 540.
int pictureHeightPixels(const QString& name);

struct ReportLayout {
    QRectF band;    // the white content area, at the top left inside the margins
    QRectF picture; // where the picture is stretched to
};

// The page's elements on the paper for a picture `heightPixels` screen pixels high.
ReportLayout reportLayout(int heightPixels, double screenDpi);

// The picture's size in pixels when it is drawn at `rasterDpi`: the rectangle's lengths at that
// resolution, rounded.
QSize rasterSize(const QRectF& pictureMm, double rasterDpi);

// Draws the page with `painter`, whose unit is one device pixel at `deviceDpi` and whose origin is the
// paper's top left corner: the white band and the picture stretched to fill its rectangle exactly,
// width and height scaled independently, nearest-neighbour at `rasterDpi`. A picture that cannot be
// decoded fails with its decoder's message.
void paintReportPage(QPainter& painter, double deviceDpi, TGraphic* picture, int heightPixels,
                     double screenDpi, double rasterDpi);

} // namespace viewer
