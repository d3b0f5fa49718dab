#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QVector>

// Peers our pictures are checked against: ImageMagick's convert (Debian's, never a stand-in on PATH)
// and libjpeg-turbo's djpeg. Both write files; Qt's own PNG and PNM readers read them back.
namespace codecs_test {

// Runs convert with args; the test fails when it does not succeed.
void convert(const QStringList& args);
// Frame `frame` of a picture as ImageMagick decodes it, as ARGB32.
QImage imageMagickPixels(const QString& hostPath, int frame = 0);
// A JPEG as djpeg decodes it (extra options such as "-scale", "1/8"): RGB888, or Grayscale8 for grey.
QImage djpegPixels(const QString& hostPath, const QStringList& options = {});
// ImageMagick's reading of a file's properties, as `identify -format` prints them.
QString identify(const QString& hostPath, const QString& format);

// The largest difference of one channel between two pictures of the same size (alpha included).
int maxChannelDifference(const QImage& a, const QImage& b);
// Where two pictures differ: "" when they agree, else the first pixel that differs.
QString firstDifference(const QImage& expected, const QImage& actual, int tolerance = 0);

// A GIF file made byte by byte, for the shapes no encoder writes.
struct GifFrameLayout {
    int left = 0, top = 0, width = 0, height = 0;
    bool interlaced = false;
    QVector<QRgb> localMap;    // empty: none
    int minCodeSize = 8;       // as written in the file
    QByteArray lzw;            // the compressed data, cut into sub-blocks when written
    int transparentIndex = -1; // >= 0 writes a graphic control extension
    int delay = 0;
    bool terminateData = true; // write the zero-length block after the data
};
struct GifLayout {
    QByteArray signature = "GIF89a";
    int screenWidth = 0, screenHeight = 0;
    QVector<QRgb> globalMap;
    int background = 0;
    QStringList comments;
    QList<GifFrameLayout> frames;
    bool trailer = true;
};
QByteArray gifBytes(const GifLayout& layout);

// LZW codes packed least significant bit first at the given widths (code, width pairs).
QByteArray packCodes(const QList<QPair<int, int>>& codes);
// Values coded without compression: a clear code before every run short enough to keep the code width.
QByteArray lzwUncompressed(const QByteArray& values, int minCodeSize);
// Values coded with a full LZW table and no clear codes after the first: once the table holds 4096
// entries it is used as it stands.
QByteArray lzwWithoutClears(const QByteArray& values, int minCodeSize);

} // namespace codecs_test
