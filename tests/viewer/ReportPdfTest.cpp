// The printed page, measured in the PDF that vorlex-cli print writes through the printer's code path,
// by poppler's tools and ImageMagick.
#include "tests/viewer/ViewerFixture.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

using namespace viewertest;

namespace {

struct ImageRow {
    int width = 0;
    int height = 0;
    int xPpi = 0;
    int yPpi = 0;
};

// The image rows of `pdfimages -list`.
QList<ImageRow> listImages(const QString& pdf) {
    QList<ImageRow> rows;
    const QString text = QString::fromUtf8(peer("pdfimages", {"-list", pdf}));
    for (const QString& line : text.split('\n')) {
        const QStringList f = line.simplified().split(' ');
        if (f.size() < 14 || f.at(2) != QLatin1String("image")) continue;
        rows.append({f.at(3).toInt(), f.at(4).toInt(), f.at(12).toInt(), f.at(13).toInt()});
    }
    return rows;
}

// The non-white region of the page rendered at 254 per inch (one pixel is 0.1 mm): x, y, width, height.
QRect inkAt254(const QString& pdf, const QString& dir) {
    peer("pdftoppm", {"-r", "254", "-png", "-singlefile", pdf, dir + "/page254"});
    const QString info =
        QString::fromUtf8(peer(imageMagickConvert(), {dir + "/page254.png", "-fuzz", "3%", "-trim", "-format",
                                                      "%w %h %X %Y", "info:"}));
    const QStringList f = info.simplified().split(' ');
    if (f.size() != 4) return {};
    return QRect(f.at(2).toInt(), f.at(3).toInt(), f.at(0).toInt(), f.at(1).toInt());
}

// ImageMagick's mean absolute error between two pictures of one size, 0 to 1.
double meanError(const QString& a, const QString& b) {
    QByteArray out;
    runProgram(QStringLiteral("/usr/bin/compare"), {"-metric", "MAE", a, b, "null:"}, &out);
    const QRegularExpression normalised(QStringLiteral("\\(([0-9.e-]+)\\)"));
    const auto match = normalised.match(QString::fromUtf8(out));
    EXPECT_TRUE(match.hasMatch()) << out.toStdString();
    return match.hasMatch() ? match.captured(1).toDouble() : 1.0;
}

struct PageCase {
    const char* name;
    int sourceWidth;
    int sourceHeight;
    int dpi; // 0: the default
    int pixelsWide;
    int pixelsHigh;
    double heightMm;
};

void PrintTo(const PageCase& c, std::ostream* os) {
    *os << c.name << " at " << (c.dpi ? c.dpi : 96) << " per inch";
}

} // namespace

class PrintedPage : public ::testing::TestWithParam<PageCase> {};

TEST_P(PrintedPage, PictureFillsItsRectangleOnA4AtTheScreenResolution) {
    const PageCase c = GetParam();
    QTemporaryDir dir;
    const QString name = QString::fromLatin1(c.name);
    const QString source = dir.filePath(name);
    const QImage picture = blocks(c.sourceWidth, c.sourceHeight, 12, 8);
    const bool scan = name.endsWith(QLatin1String("gif"), Qt::CaseInsensitive);
    {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(scan ? gif(picture) : jpeg(picture));
    }
    const QString pdf = dir.filePath("page.pdf");
    QStringList args = {"print", source, pdf};
    const int dpi = c.dpi ? c.dpi : 96;
    if (c.dpi) args << "--dpi" << QString::number(c.dpi);
    peer(VORLEX_CLI, args);

    const QString info = QString::fromUtf8(peer("pdfinfo", {pdf}));
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\n"))) << info.toStdString();
    EXPECT_TRUE(
        info.contains(QRegularExpression("Page size:\\s+595(\\.\\d+)? x 84[12](\\.\\d+)? pts \\(A4\\)")))
        << info.toStdString();

    // One picture, its pixels those of the rectangle at the display's resolution.
    const QList<ImageRow> images = listImages(pdf);
    ASSERT_EQ(images.size(), 1);
    EXPECT_EQ(images.at(0).width, c.pixelsWide);
    EXPECT_EQ(images.at(0).height, c.pixelsHigh);
    EXPECT_EQ(images.at(0).xPpi, dpi);
    EXPECT_EQ(images.at(0).yPpi, dpi);

    // Placed 2.117 mm inside the band, which stands at the 10 mm margins: 12.117 mm from the paper's
    // corner, 184.41 mm wide. At 254 per inch a pixel is 0.1 mm; the edges may blend into one more.
    const QRect ink = inkAt254(pdf, dir.path());
    EXPECT_NEAR(ink.x(), 121.17, 1.0);
    EXPECT_NEAR(ink.y(), 121.17, 1.0);
    EXPECT_NEAR(ink.width(), 1844.1, 2.0);
    EXPECT_NEAR(ink.height(), c.heightMm * 10.0, 2.0);

    // The rendered rectangle against the whole source stretched by ImageMagick (nearest neighbour,
    // aspect ratio not kept). The rectangle starts 0.8 of a pixel off the rendering's grid at 96 per
    // inch, so block edges blend over one pixel (about 3 % of the pixels, some of a colour step each)
    // and JPEG decoders differ by a level or two: 3 % mean error holds that. A top-left cut of the
    // picture, as the inbox shows scans, is far off (checked below, so the bound cannot pass anything).
    const double start = 12.117 / 25.4 * dpi;
    const int left = int(std::ceil(start));
    const int offset = int(std::floor(left + 0.5 - start)); // the picture pixel under the region's first
    const int wide = c.pixelsWide - 2;
    const int high = c.pixelsHigh - 2;
    peer("pdftoppm", {"-r", QString::number(dpi), "-x", QString::number(left), "-y", QString::number(left),
                      "-W", QString::number(wide), "-H", QString::number(high), "-png", "-singlefile", pdf,
                      dir.filePath("region")});
    peer(imageMagickConvert(),
         {source + "[0]", "-sample", QStringLiteral("%1x%2!").arg(c.pixelsWide).arg(c.pixelsHigh), "-crop",
          QStringLiteral("%1x%2+%3+%3").arg(wide).arg(high).arg(offset), "+repage",
          dir.filePath("expected.png")});
    peer(imageMagickConvert(),
         {source + "[0]", "-crop", QStringLiteral("%1x%2+0+0").arg(c.sourceWidth / 3).arg(c.sourceHeight / 6),
          "+repage", "-sample", QStringLiteral("%1x%2!").arg(wide).arg(high), dir.filePath("corner.png")});
    EXPECT_LT(meanError(dir.filePath("region.png"), dir.filePath("expected.png")), 0.03);
    EXPECT_GT(meanError(dir.filePath("region.png"), dir.filePath("corner.png")), 0.10);
}

INSTANTIATE_TEST_SUITE_P(Pictures, PrintedPage,
                         ::testing::Values(PageCase{"wide.jpg", 1200, 700, 0, 697, 540, 142.875},
                                           PageCase{"TALL.JPG", 500, 900, 0, 697, 540, 142.875},
                                           PageCase{"photo.jpeg", 64, 48, 0, 697, 540, 142.875},
                                           PageCase{"scan.GIF", 900, 1200, 0, 697, 1024, 270.933},
                                           PageCase{"small-letters.gif", 600, 400, 0, 697, 1024, 270.933},
                                           PageCase{"fine.jpg", 1200, 700, 120, 871, 540, 114.3}),
                         [](const auto& info) {
                             QString n = QString::fromLatin1(info.param.name);
                             n.replace(QRegularExpression("[^A-Za-z0-9]"), "_");
                             return n.toStdString();
                         });

TEST(PrintCommand, RefusesWhatItCannotPrint) {
    QTemporaryDir dir;
    QByteArray out;
    const QString pdf = dir.filePath("out.pdf");
    {
        QFile f(dir.filePath("AB123456.Zip"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("PK");
    }
    EXPECT_EQ(runProgram(VORLEX_CLI, {"print", dir.filePath("AB123456.Zip"), pdf}, &out), 1);
    EXPECT_TRUE(out.contains("Unknown picture file extension (.zip)")) << out.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
    {
        QFile f(dir.filePath("fake.jpg"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(gif(blocks(30, 20, 2, 2)));
    }
    EXPECT_EQ(runProgram(VORLEX_CLI, {"print", dir.filePath("fake.jpg"), pdf}, &out), 1);
    EXPECT_TRUE(out.contains("JPEG error #53")) << out.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(runProgram(VORLEX_CLI, {"print", dir.filePath("fake.jpg")}, &out), 2);
    EXPECT_EQ(runProgram(VORLEX_CLI, {"print", dir.filePath("fake.jpg"), pdf, "--dpi", "0"}, &out), 2);
}
