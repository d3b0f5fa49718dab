#include "codecs/Bitmap.h"
#include "codecs/Canvas.h"
#include "codecs/JpegCodec.h"
#include "filing/CellPicture.h"
#include "filing/PicClip.h"
#include "platform/Error.h"
#include "tests/filing/FilingFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const QSize kBox(148, 125);

// One picture of a test page: a photograph or a scan of its own size, whose top-left sixth by third
// (the region a scan's cell shows) has one colour and the rest another.
struct PagePicture {
    QString name;
    QSize size;
    QRgb corner;
    QRgb rest;

    bool scan() const { return name.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive); }
    QSize cornerSize() const { return QSize(size.width() / 3, size.height() / 6); }
    // What the cell's box holds: the whole photograph, or the scan's top-left cell.
    QSize boxSize() const { return scan() ? cornerSize() : size; }
};

QImage filled(const QSize& size, QRgb colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QImage imageOf(const PagePicture& picture) {
    QImage image = filled(picture.size, picture.rest);
    for (int y = 0; y < picture.cornerSize().height(); ++y)
        for (int x = 0; x < picture.cornerSize().width(); ++x)
            image.setPixel(x, y, picture.corner);
    return image;
}

// Nine pictures, photographs and scans mixed, each of its own size and colours. The photographs are
// large enough to be decoded at an eighth of their size for the box.
QList<PagePicture> mixedPage() {
    QList<PagePicture> page;
    for (int i = 0; i < 9; ++i) {
        const bool scan = i % 3 == 1;
        const QString name = QStringLiteral("p%1.%2").arg(i).arg(scan ? "GIF" : "jpg");
        const QSize size = scan ? QSize(300 + 30 * i, 600 + 60 * i) : QSize(1200 + 40 * i, 1000 + 24 * i);
        page.append({name, size, qRgb(20 * i, 255 - 20 * i, 40), qRgb(250, 10 * i, 200)});
    }
    return page;
}

void writeToInbox(const TempDrive& drive, const PagePicture& picture) {
    const QImage image = imageOf(picture);
    drive.writeFile("c:\\picture\\" + picture.name,
                    picture.scan() ? pictures::gif(image) : codecs::jpeg::encode(image, {}));
}

QList<filing::CellPictureRequest> requestsFor(const QStringList& names) {
    QList<filing::CellPictureRequest> requests;
    for (const QString& name : names) {
        filing::CellPictureRequest request;
        request.name = name;
        request.shownSize = kBox;
        requests.append(request);
    }
    return requests;
}

QStringList namesOf(const QList<PagePicture>& page) {
    QStringList names;
    for (const PagePicture& picture : page)
        names << picture.name;
    return names;
}

QString messageOf(const std::exception_ptr& error) {
    if (!error) return QString();
    try {
        std::rethrow_exception(error);
    } catch (const platform::Error& e) {
        return e.message();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
}

bool near(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 8 && std::abs(qGreen(a) - qGreen(b)) <= 8 &&
           std::abs(qBlue(a) - qBlue(b)) <= 8;
}

// What is wrong with a prepared picture for `picture`, empty when it is what its cell must show: the
// scan in the cutter, the right picture in the box, drawn into the box in the corner's colour alone.
QString faultsOf(filing::PreparedCellPicture& prepared, const PagePicture& picture) {
    QStringList faults;
    if (!prepared.ready) return QStringLiteral("not prepared");
    if (prepared.error) faults << messageOf(prepared.error);
    if (picture.scan() != bool(prepared.clipPicture)) faults << QStringLiteral("cutter");
    if (prepared.clipPicture &&
        QSize(prepared.clipPicture->width(), prepared.clipPicture->height()) != picture.size)
        faults << QStringLiteral("scan of %1x%2")
                      .arg(prepared.clipPicture->width())
                      .arg(prepared.clipPicture->height());
    TGraphic* box = prepared.boxPicture.get();
    if (!box) {
        faults << QStringLiteral("no box picture");
        return faults.join(", ");
    }
    if (box->className() != (picture.scan() ? QLatin1String("TBitmap") : QLatin1String("TJPEGImage")))
        faults << box->className();
    if (QSize(box->width(), box->height()) != picture.boxSize())
        faults << QStringLiteral("box picture %1x%2").arg(box->width()).arg(box->height());
    // Only the corner's colour shows in the photograph's top-left sixth by third, and everywhere for a scan.
    QImage shown(kBox, QImage::Format_RGB32);
    TCanvas canvas(shown);
    canvas.stretchDraw(shown.rect(), box);
    const QSize corner = picture.scan() ? kBox : QSize(kBox.width() / 3 - 2, kBox.height() / 6 - 2);
    int wrong = 0;
    for (int y = 0; y < corner.height(); ++y)
        for (int x = 0; x < corner.width(); ++x)
            if (!near(shown.pixel(x, y), picture.corner)) ++wrong;
    if (!picture.scan() && !near(shown.pixel(kBox.width() - 1, kBox.height() - 1), picture.rest)) ++wrong;
    if (wrong) faults << QStringLiteral("%1 pixels of the wrong colour").arg(wrong);
    return faults.join(", ");
}

} // namespace

TEST(CellPictures, APageOfPhotographsAndScansComesBackInOrder) {
    TempDrive drive;
    const QList<PagePicture> page = mixedPage();
    for (const PagePicture& picture : page)
        writeToInbox(drive, picture);
    // Several rounds: the threads finish in a different order each time.
    for (int round = 0; round < 5; ++round) {
        std::vector<filing::PreparedCellPicture> prepared =
            filing::prepareCellPictures(requestsFor(namesOf(page)));
        ASSERT_EQ(prepared.size(), size_t(page.size()));
        for (int i = 0; i < page.size(); ++i)
            EXPECT_EQ(faultsOf(prepared[size_t(i)], page.at(i)), QString())
                << "round " << round << " " << page.at(i).name.toStdString();
    }
    EXPECT_TRUE(filing::prepareCellPictures({}).empty());
}

TEST(CellPictures, TheFirstPictureThatFailsIsTheOneReported) {
    const struct {
        const char* what;
        QList<int> broken; // positions on the page of pictures that cannot be shown
        QByteArray bytes;  // their file, none for a missing file
        QString message;   // the first one's error, or the start of it
    } cases[] = {
        {"a text file", {3}, "this is not a JPEG", "JPEG error #53"},
        {"pixels that cannot be decoded", {5}, {}, "JPEG error #8"},
        {"a scan of another kind", {4}, "GIF87b and then some", "Unknown GIF version"},
        {"a missing file", {2}, {}, "Cannot open file \"c:\\picture\\p2.jpg\"."},
        {"a scan and a photograph", {1, 6}, "GIF89a\x10", "Stream read error"},
        {"the first cell", {0}, "x", "JPEG error #53"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDrive drive;
        const QList<PagePicture> page = mixedPage();
        for (int i = 0; i < page.size(); ++i) {
            const PagePicture& picture = page.at(i);
            if (!c.broken.contains(i)) {
                writeToInbox(drive, picture);
            } else if (c.message.startsWith("Cannot open")) {
                continue;
            } else if (c.message == "JPEG error #8") {
                drive.writeFile("c:\\picture\\" + picture.name,
                                pictures::damagedAfterHeader(codecs::jpeg::encode(imageOf(picture), {})));
            } else {
                drive.writeFile("c:\\picture\\" + picture.name, c.bytes);
            }
        }
        const int first = c.broken.first();
        std::vector<filing::PreparedCellPicture> prepared =
            filing::prepareCellPictures(requestsFor(namesOf(page)));
        ASSERT_EQ(prepared.size(), size_t(page.size()));
        for (int i = 0; i < first; ++i)
            EXPECT_EQ(faultsOf(prepared[size_t(i)], page.at(i)), QString()) << i;
        ASSERT_TRUE(prepared[size_t(first)].ready);
        EXPECT_TRUE(messageOf(prepared[size_t(first)].error).startsWith(c.message))
            << messageOf(prepared[size_t(first)].error).toStdString();
        // A photograph whose header reads well stays in the box though its pixels cannot be shown.
        EXPECT_EQ(bool(prepared[size_t(first)].boxPicture), c.message == "JPEG error #8");
        EXPECT_FALSE(prepared[size_t(first)].clipPicture);
        // Pictures after it are not needed; any that was prepared all the same is its own.
        for (int i = first + 1; i < page.size(); ++i) {
            if (prepared[size_t(i)].ready && !c.broken.contains(i)) {
                EXPECT_EQ(faultsOf(prepared[size_t(i)], page.at(i)), QString()) << i;
            }
        }
    }
}

TEST(CellPictures, ACellKeepsWhatTheLoadingReachedBeforeItFailed) {
    TempDrive drive;
    const QImage scan = imageOf({"s.gif", QSize(90, 120), qRgb(0, 0, 255), qRgb(255, 0, 0)});
    drive.writeFile("c:\\picture\\scan.gif", pictures::gif(scan));
    drive.writeFile("c:\\picture\\photo.jpg", codecs::jpeg::encode(scan, {}));
    drive.writeFile("c:\\picture\\text.jpg", "not a picture");
    drive.writeFile("c:\\picture\\text.gif", "not a picture");
    drive.writeFile("c:\\picture\\damaged.jpg", pictures::damagedAfterHeader(codecs::jpeg::encode(scan, {})));
    const struct {
        const char* name;
        bool fails;
        QString boxClass; // what the box holds afterwards: the old bitmap when it kept it
        int clipWidth;    // the cutter's picture afterwards: 7 when it kept the old one
    } cases[] = {
        {"photo.jpg", false, "TJPEGImage", 7}, {"scan.gif", false, "TBitmap", 90},
        {"text.jpg", true, "TBitmap", 7},      {"text.gif", true, "TBitmap", 7},
        {"gone.jpg", true, "TBitmap", 7},      {"damaged.jpg", true, "TJPEGImage", 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TPicClip clip;
        clip.Cols = filing::kClipCols;
        clip.Rows = filing::kClipRows;
        clip.Picture().setGraphic(std::make_unique<TBitmap>(filled(QSize(7, 7), qRgb(1, 2, 3))));
        TPictureHolder box;
        box.setGraphic(std::make_unique<TBitmap>(filled(QSize(5, 5), qRgb(4, 5, 6))));
        int boxChanges = 0;
        box.onChange = [&] { ++boxChanges; };
        filing::PreparedCellPicture prepared =
            filing::prepareCellPicture(filing::cellPictureRequest(c.name, clip, kBox));
        EXPECT_EQ(bool(prepared.error), c.fails);
        if (c.fails) {
            EXPECT_THROW(filing::applyCellPicture(std::move(prepared), clip, box), platform::Error);
        } else {
            EXPECT_NO_THROW(filing::applyCellPicture(std::move(prepared), clip, box));
        }
        EXPECT_EQ(box.graphic()->className(), c.boxClass);
        EXPECT_EQ(boxChanges, box.width() == 5 ? 0 : 1);
        EXPECT_EQ(clip.Picture().width(), c.clipWidth);
        // A scan in the cutter brings the olive mask back, as loading it there does; the old bitmap keeps
        // its own colour.
        EXPECT_EQ(clip.MaskColor, c.clipWidth == 90 ? QColor(128, 128, 0) : QColor(1, 2, 3));
    }
}
