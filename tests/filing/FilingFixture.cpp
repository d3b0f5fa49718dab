#include "tests/filing/FilingFixture.h"

#include "codecs/JpegCodec.h"
#include "filing/ui/ImageBox.h"
#include "filing/ui/Panel.h"
#include "register/Install.h"
#include "tests/support/ExifTool.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <stdexcept>

namespace pictures {

QByteArray jpeg(int width, int height, bool noisy, quint32 seed) {
    QImage image(width, height, QImage::Format_RGB888);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            if (noisy) {
                const quint32 value = random.generate();
                row[3 * x] = uchar(value);
                row[3 * x + 1] = uchar(value >> 8);
                row[3 * x + 2] = uchar(value >> 16);
            } else {
                row[3 * x] = uchar(255 * x / std::max(1, width - 1));
                row[3 * x + 1] = uchar(255 * y / std::max(1, height - 1));
                row[3 * x + 2] = uchar(seed * 40);
            }
        }
    }
    codecs::jpeg::EncodeOptions options;
    options.quality = noisy ? 95 : 90;
    return codecs::jpeg::encode(image, options);
}

QByteArray paddedJpeg(const QByteArray& jpeg, qint64 size) {
    QByteArray padding;
    qint64 missing = size - jpeg.size();
    if (missing < 0 || (missing > 0 && missing < 4)) throw std::runtime_error("cannot pad to that size");
    while (missing > 0) {
        qint64 segment = std::min<qint64>(missing, 65535 + 2);
        if (missing - segment > 0 && missing - segment < 4) segment -= 4; // leave room for one more
        const qint64 length = segment - 2;
        padding += char(0xFF);
        padding += char(0xFE);
        padding += char(length >> 8);
        padding += char(length & 0xFF);
        padding += QByteArray(int(length - 2), 'c');
        missing -= segment;
    }
    return jpeg.left(2) + padding + jpeg.mid(2);
}

QByteArray damagedAfterHeader(QByteArray jpeg) {
    // Three codes of one bit cannot be.
    const qsizetype dht = jpeg.indexOf("\xFF\xC4");
    if (dht < 0) throw std::runtime_error("no Huffman table");
    const qsizetype counts = dht + 5; // marker, length, class and id
    for (qsizetype i = counts + 1; i < counts + 16; ++i) {
        if (uchar(jpeg.at(i)) >= 3) {
            jpeg[i] = char(uchar(jpeg.at(i)) - 3);
            jpeg[counts] = char(uchar(jpeg.at(counts)) + 3);
            return jpeg;
        }
    }
    throw std::runtime_error("no count to move");
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

QByteArray noisyGif(qint64 atLeast) {
    int side = 400;
    for (;;) {
        QImage image(side, side, QImage::Format_RGB32);
        QRandomGenerator random(7);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                image.setPixel(x, y, random.generate() | 0xFF000000u);
        const QByteArray bytes = gif(image);
        if (bytes.size() > atLeast) return bytes;
        side += 200;
    }
}

void cameraPhoto(const QString& hostPath, const QString& byteOrder) {
    QFile file(hostPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(jpeg(1600, 1200, true));
    file.close();
    const QString thumbnail = hostPath + QStringLiteral(".thumb");
    QFile thumb(thumbnail);
    ASSERT_TRUE(thumb.open(QIODevice::WriteOnly));
    thumb.write(jpeg(160, 120, false, 3));
    thumb.close();
    exiftool::write(hostPath,
                    {"-ExifByteOrder=" + byteOrder, "-Make=NIKON CORPORATION", "-Model=NIKON D750",
                     "-DateTimeOriginal=2024:05:01 10:22:33", "-Orientation#=6", "-GPSLatitude=13.7563",
                     "-GPSLatitudeRef=N", "-GPSLongitude=100.5018", "-GPSLongitudeRef=E", "-GPSAltitude=12.5",
                     "-ExifImageWidth=1600", "-ExifImageHeight=1200", "-ThumbnailImage<=" + thumbnail});
    QFile::remove(thumbnail);
}

QString identify(const QString& hostPath) {
    QByteArray out;
    runProgram(QStringLiteral("/usr/bin/identify"), {"-format", "%w %h %m %Q %[interlace]", hostPath}, &out);
    return QString::fromUtf8(out).trimmed();
}

} // namespace pictures

PageTest::PageTest() {
    drive.makeFolder("c:\\picture");
    reg::install::run(); // the main window opens the register's tables at start
}

PageTest::~PageTest() = default;

NewPicturesPage& PageTest::open() {
    window_.reset();
    window_ = std::make_unique<TPicture>();
    return page();
}

void PageTest::inbox(const QString& name, const QByteArray& bytes) const {
    drive.writeFile("c:\\picture\\" + name, bytes);
}

TImage* PageTest::cellImage(int cell) {
    return page().findChild<TImage*>(QStringLiteral("Image%1").arg(cell));
}

TPanel* PageTest::cellNameBar(int cell) {
    return page().findChild<TPanel*>(QStringLiteral("Panel%1").arg(cell));
}

QStringList PageTest::shownNames() {
    QStringList names;
    for (int cell = 1; cell <= 9; ++cell) {
        const bool shown = !cellImage(cell)->isHidden();
        EXPECT_EQ(shown, !cellNameBar(cell)->isHidden()) << "cell " << cell;
        names << (shown ? cellNameBar(cell)->text() : QStringLiteral("-"));
    }
    return names;
}

void PageTest::drop(int cell, TImage* target) {
    page().Image10DragDrop(target, cellImage(cell));
}

TImage* PageTest::target(filing::PictureCategory category) {
    switch (category) {
    case filing::PictureCategory::BeforeRepair:
        return before();
    case filing::PictureCategory::DuringRepair:
        return during();
    case filing::PictureCategory::AfterRepair:
        return after();
    case filing::PictureCategory::Document:
        break;
    }
    return documents();
}
