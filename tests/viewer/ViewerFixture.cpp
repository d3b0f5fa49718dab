#include "tests/viewer/ViewerFixture.h"

#include "codecs/JpegCodec.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

namespace viewertest {

QByteArray jpeg(const QImage& image) {
    codecs::jpeg::EncodeOptions options;
    options.quality = 95;
    return codecs::jpeg::encode(image.convertToFormat(QImage::Format_RGB888), options);
}

QByteArray jpeg(int width, int height, quint32 seed) {
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           qRgb(255 * x / std::max(1, width - 1), 255 * y / std::max(1, height - 1),
                                int(seed * 40 % 256)));
    return jpeg(image);
}

QByteArray gif(const QImage& image) {
    QTemporaryDir dir;
    const QString png = dir.filePath("in.png");
    const QString out = dir.filePath("out.gif");
    if (!image.save(png)) throw std::runtime_error("cannot write png");
    if (runProgram(imageMagickConvert(), {png, out}) != 0) throw std::runtime_error("convert failed");
    QFile file(out);
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("no gif");
    return file.readAll();
}

QImage blocks(int width, int height, int across, int down) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int bx = x * across / width;
            const int by = y * down / height;
            // Colours far apart from block to block, and no white: the page around the picture is white.
            image.setPixel(x, y,
                           qRgb(40 + (bx * 67) % 200, 30 + (by * 89) % 200, 20 + ((bx + by) * 53) % 200));
        }
    return image;
}

QByteArray peer(const QString& program, const QStringList& args) {
    QByteArray out;
    const int code = runProgram(program, args, &out);
    EXPECT_EQ(code, 0) << program.toStdString() << ' ' << args.join(' ').toStdString() << '\n'
                       << out.toStdString();
    return out;
}

} // namespace viewertest
