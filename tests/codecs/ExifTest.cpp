#include "codecs/Exif.h"
#include "codecs/JpegCodec.h"
#include "tests/support/ExifTool.h"
#include "tests/support/TempDrive.h"

#include <QFile>
#include <QImage>
#include <QJsonObject>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

// TIFF data written field by field, so that tests can give a record any shape, damaged ones included.
class Tiff {
public:
    struct Field {
        quint16 tag;
        quint16 type;
        quint32 count;
        QByteArray value; // in the record's byte order
    };

    explicit Tiff(bool big) : big_(big) {
        bytes = big ? QByteArray("MM\0*", 4) : QByteArray("II*\0", 4);
        bytes += u32(0);
    }

    QByteArray u16(quint32 v) const {
        QByteArray b(2, '\0');
        b[big_ ? 0 : 1] = char(v >> 8);
        b[big_ ? 1 : 0] = char(v);
        return b;
    }
    QByteArray u32(quint32 v) const {
        QByteArray b(4, '\0');
        for (int i = 0; i < 4; ++i)
            b[big_ ? 3 - i : i] = char(v >> (8 * i));
        return b;
    }
    Field ascii(quint16 tag, const QByteArray& text) const {
        return {tag, 2, quint32(text.size() + 1), text + '\0'};
    }
    Field shortValue(quint16 tag, quint32 v) const { return {tag, 3, 1, u16(v)}; }
    Field longValue(quint16 tag, quint32 v) const { return {tag, 4, 1, u32(v)}; }
    Field rationals(quint16 tag, std::initializer_list<std::pair<quint32, quint32>> values,
                    quint16 type = 5) const {
        QByteArray b;
        for (const auto& [n, d] : values)
            b += u32(n) + u32(d);
        return {tag, type, quint32(values.size()), b};
    }
    Field undefined(quint16 tag, const QByteArray& data) const {
        return {tag, 7, quint32(data.size()), data};
    }

    // Appends an IFD and then the values that do not fit in its entries; gives back its offset.
    qint64 ifd(const std::vector<Field>& fields, quint32 next = 0) {
        align();
        const qint64 at = bytes.size();
        bytes += u16(quint32(fields.size()));
        qint64 values = at + 2 + 12 * qint64(fields.size()) + 4;
        QByteArray out;
        for (const Field& f : fields) {
            bytes += u16(f.tag) + u16(f.type) + u32(f.count);
            if (f.value.size() <= 4) {
                bytes += f.value + QByteArray(4 - f.value.size(), '\0');
            } else {
                if (values % 2) out += '\0', ++values;
                bytes += u32(quint32(values));
                out += f.value;
                values += f.value.size();
            }
        }
        bytes += u32(next) + out;
        return at;
    }
    qint64 blob(const QByteArray& data) {
        align();
        const qint64 at = bytes.size();
        bytes += data;
        return at;
    }
    void setFirst(qint64 offset) { bytes.replace(4, 4, u32(quint32(offset))); }
    // Where entry `index` of the IFD at `ifdOffset` holds its value or the value's offset.
    static qint64 valueField(qint64 ifdOffset, int index) { return ifdOffset + 2 + 12 * index + 8; }
    void patch32(qint64 at, quint32 v) { bytes.replace(at, 4, u32(v)); }
    void patch16(qint64 at, quint32 v) { bytes.replace(at, 2, u16(v)); }

    QByteArray bytes;

private:
    void align() {
        if (bytes.size() % 2) bytes += '\0';
    }
    bool big_;
};

// A Canon-style maker note: an IFD whose one field, the camera's name, is found through an offset that
// counts from the start of the whole record, so it reads right only where the note was written.
QByteArray canonMakerNote(const Tiff& t, qint64 at) {
    const QByteArray name("Canon EOS 5D Mark IV\0", 21);
    return t.u16(1) + t.u16(0x0006) + t.u16(2) + t.u32(quint32(name.size())) + t.u32(quint32(at + 18)) +
           t.u32(0) + name;
}

// A camera's record: Exif IFD (with maker note, interoperability IFD), GPS IFD, a thumbnail in IFD1, and
// IFD0 written last, as some cameras do, so that every offset moves when the record is laid out anew.
struct Sample {
    Tiff tiff;
    qint64 exif = 0, interop = 0, gps = 0, ifd1 = 0, ifd0 = 0, makerNote = 0;
};

Sample sample(bool big) {
    Sample s{Tiff(big)};
    Tiff& t = s.tiff;
    s.interop = t.ifd({t.ascii(0x0001, "R98"), t.undefined(0x0002, "0100")});
    // The maker note's value follows the ExposureTime, DateTimeOriginal and ExposureCompensation values.
    const qint64 exifAt = t.bytes.size() + t.bytes.size() % 2;
    s.makerNote = exifAt + 2 + 12 * 8 + 4 + 8 + 20 + 8;
    std::vector<Tiff::Field> exif = {
        t.rationals(0x829A, {{1, 250}}),                            // ExposureTime
        t.ascii(0x9003, "2024:05:01 10:22:33"),                     // DateTimeOriginal
        t.rationals(0x9204, {{quint32(-2), 3}}, 10),                // ExposureCompensation, SRATIONAL
        t.undefined(0x927C, canonMakerNote(t, s.makerNote)),        // MakerNote
        t.shortValue(0xA002, 4000),                                 // PixelXDimension
        t.longValue(0xA003, 3000),                                  // PixelYDimension
        t.longValue(0xA005, quint32(s.interop)),                    // Interoperability IFD
        t.undefined(0xA40C, QByteArray::fromHex("00010203040506")), // SubjectDistanceRange? private bytes
    };
    s.exif = t.ifd(exif);
    s.gps = t.ifd({{0x0000, 1, 4, QByteArray::fromHex("02030000")},
                   t.ascii(0x0001, "N"),
                   t.rationals(0x0002, {{13, 1}, {45, 1}, {2268, 100}}),
                   t.ascii(0x0003, "E"),
                   t.rationals(0x0004, {{100, 1}, {30, 1}, {648, 100}})});
    const QByteArray thumbnail = codecs::jpeg::encode(QImage(160, 120, QImage::Format_RGB32), {});
    const qint64 thumb = t.blob(thumbnail);
    s.ifd1 = t.ifd({t.shortValue(0x0103, 6), t.longValue(0x0201, quint32(thumb)),
                    t.longValue(0x0202, quint32(thumbnail.size()))});
    s.ifd0 = t.ifd({t.longValue(0x0100, 4000), t.longValue(0x0101, 3000), t.ascii(0x010F, "Canon"),
                    t.ascii(0x0110, "Canon EOS 5D Mark IV"), t.shortValue(0x0112, 6),
                    t.rationals(0x011A, {{72, 1}}), t.longValue(0x8769, quint32(s.exif)),
                    t.longValue(0x8825, quint32(s.gps))},
                   quint32(s.ifd1));
    t.setFirst(s.ifd0);
    return s;
}

// A small JPEG carrying `record`, written where exiftool can read it.
QString jpegWith(TempDrive& drive, const QString& name, const QByteArray& record) {
    QImage pixels(16, 16, QImage::Format_RGB32);
    pixels.fill(Qt::darkCyan);
    const QByteArray jpeg = codecs::exif::withRecord(codecs::jpeg::encode(pixels, {}), record);
    drive.writeFile(QStringLiteral("c:\\") + name, jpeg);
    return drive.host(QStringLiteral("c:\\") + name);
}

QByteArray segment(quint8 marker, const QByteArray& payload) {
    const int length = int(payload.size()) + 2;
    return QByteArray(1, char(0xFF)) + char(marker) + char(length >> 8) + char(length & 0xFF) + payload;
}

TEST(ExifFind, TheFirstExifSegmentBeforeTheScan) {
    const QByteArray record = sample(false).tiff.bytes;
    const QByteArray soi = QByteArray::fromHex("FFD8");
    const QByteArray jfif = segment(0xE0, QByteArray("JFIF\0\1\1\0\0\1\0\1\0\0", 14));
    const QByteArray exif = segment(0xE1, QByteArray("Exif\0\0", 6) + record);
    const QByteArray xmp = segment(0xE1, QByteArray("http://ns.adobe.com/xap/1.0/\0<x/>", 33));
    const QByteArray scan = segment(0xDA, QByteArray(10, '\1'));
    const struct {
        const char* name;
        QByteArray jpeg;
        bool found;
    } cases[] = {
        {"right after the start", soi + exif + jfif + scan, true},
        {"after JFIF and XMP", soi + jfif + xmp + exif + scan, true},
        {"fill bytes before a marker", soi + QByteArray(3, char(0xFF)) + exif, true},
        {"only XMP", soi + jfif + xmp + scan, false},
        {"after the scan starts", soi + jfif + scan + exif, false},
        {"no start marker", jfif + exif, false},
        {"segment runs past the end", soi + exif.left(exif.size() - 1), false},
        {"a segment before it runs past it", soi + segment(0xE0, QByteArray(1000, 'x')).left(900) + exif,
         false},
        {"garbage between segments", soi + jfif + "x" + exif, false},
        {"empty", QByteArray(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(codecs::exif::findRecord(c.jpeg), c.found ? record : QByteArray());
    }
}

TEST(ExifFind, CaptureFieldsAsTheCameraWroteThem) {
    const std::optional<codecs::exif::CaptureFields> fields =
        codecs::exif::captureFields(sample(true).tiff.bytes);
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->dateTimeOriginal, QStringLiteral("2024:05:01 10:22:33"));
    EXPECT_EQ(fields->make, QStringLiteral("Canon"));
    EXPECT_EQ(fields->model, QStringLiteral("Canon EOS 5D Mark IV"));

    // Padded with spaces, holding a control character, or absent.
    Tiff t(false);
    t.setFirst(t.ifd({t.ascii(0x010F, "NIKON CORPORATION   "), t.ascii(0x0110, "D\x1b[2J750")}));
    const std::optional<codecs::exif::CaptureFields> odd = codecs::exif::captureFields(t.bytes);
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->make, QStringLiteral("NIKON CORPORATION"));
    EXPECT_EQ(odd->model, QStringLiteral("D?[2J750"));
    EXPECT_TRUE(odd->dateTimeOriginal.isEmpty());
}

class ExifRebuild : public ::testing::TestWithParam<bool> {};

// exiftool reads the rebuilt record as it reads the camera's, but for the new size and the thumbnail.
TEST_P(ExifRebuild, EveryFieldKeptButSizeAndThumbnail) {
    TempDrive drive;
    const Sample s = sample(GetParam());
    const QByteArray rebuilt = codecs::exif::rebuiltForSize(s.tiff.bytes, 800, 600);
    ASSERT_FALSE(rebuilt.isEmpty());
    EXPECT_EQ(rebuilt.left(2), s.tiff.bytes.left(2));

    QJsonObject expected = exiftool::exifTags(jpegWith(drive, "source.jpg", s.tiff.bytes));
    ASSERT_EQ(expected.value("IFD0:Model").toString(), QStringLiteral("Canon EOS 5D Mark IV"));
    ASSERT_TRUE(expected.contains("IFD1:ThumbnailImage"));
    for (const QString& key : expected.keys())
        if (key.startsWith("IFD1:")) expected.remove(key);
    expected["IFD0:ImageWidth"] = 800;
    expected["IFD0:ImageHeight"] = 600;
    expected["ExifIFD:ExifImageWidth"] = 800;
    expected["ExifIFD:ExifImageHeight"] = 600;
    const QString out = jpegWith(drive, "rebuilt.jpg", rebuilt);
    EXPECT_EQ(exiftool::exifTags(out), expected);
    EXPECT_FALSE(exiftool::tags(out).contains("ExifTool:Warning"))
        << exiftool::tags(out)["ExifTool:Warning"].toString().toStdString();

    // The maker note stays where it was, so offsets inside it still count from the record's start.
    EXPECT_EQ(expected.value("Canon:CanonImageType").toString(), QStringLiteral("Canon EOS 5D Mark IV"));
    const QByteArray makerNote = canonMakerNote(s.tiff, s.makerNote);
    EXPECT_EQ(rebuilt.mid(s.makerNote, makerNote.size()), makerNote);
    // Laying out a rebuilt record again changes nothing.
    EXPECT_EQ(codecs::exif::rebuiltForSize(rebuilt, 800, 600), rebuilt);
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, ExifRebuild, ::testing::Values(false, true),
                         [](const auto& info) { return std::string(info.param ? "Motorola" : "Intel"); });

TEST(ExifRebuild, DimensionsKeepAShortTypeAndAreAddedWhenMissing) {
    TempDrive drive;
    Tiff t(true);
    const qint64 exif = t.ifd({t.ascii(0x9003, "2023:01:02 03:04:05")});
    t.setFirst(
        t.ifd({t.shortValue(0x0100, 1600), t.ascii(0x0101, "1200"), t.longValue(0x8769, quint32(exif))}));
    const QByteArray rebuilt = codecs::exif::rebuiltForSize(t.bytes, 800, 600);
    const QString verbose =
        QString::fromUtf8(exiftool::run({QStringLiteral("-v3"), jpegWith(drive, "dims.jpg", rebuilt)}));
    // exiftool -v3 names each field's type: the SHORT stays one, the text one becomes a LONG.
    for (const char* line :
         {"ImageWidth = 800\n", "Tag 0x0100 (2 bytes, int16u[1])", "ImageHeight = 600\n",
          "Tag 0x0101 (4 bytes, int32u[1])", "ExifImageWidth = 800\n", "ExifImageHeight = 600\n"})
        EXPECT_TRUE(verbose.contains(QLatin1String(line))) << line << "\n" << verbose.toStdString();
    const QJsonObject tags = exiftool::exifTags(jpegWith(drive, "dims2.jpg", rebuilt));
    EXPECT_EQ(tags.value("ExifIFD:DateTimeOriginal").toString(), QStringLiteral("2023:01:02 03:04:05"));
}

TEST(ExifRebuild, FieldsThatCannotBeCarriedAreLeftOut) {
    TempDrive drive;
    Tiff t(false);
    const qint64 gps = t.ifd({t.ascii(0x0001, "S")});
    const qint64 exif = t.ifd({t.ascii(0x9003, "2023:01:02 03:04:05"),
                               t.longValue(0x8825, quint32(gps)), // a GPS pointer where none belongs
                               {0xA420, 99, 2, "ab"}});           // a type no reader knows
    t.setFirst(t.ifd({t.ascii(0x010F, "Fuji"), t.longValue(0x0111, 4000), t.longValue(0x0117, 100),
                      t.longValue(0x8769, quint32(exif))}));
    const QByteArray rebuilt = codecs::exif::rebuiltForSize(t.bytes, 800, 600);
    ASSERT_FALSE(rebuilt.isEmpty());
    const QJsonObject tags = exiftool::exifTags(jpegWith(drive, "left.jpg", rebuilt));
    EXPECT_EQ(tags.value("IFD0:Make").toString(), QStringLiteral("Fuji"));
    EXPECT_EQ(tags.value("ExifIFD:DateTimeOriginal").toString(), QStringLiteral("2023:01:02 03:04:05"));
    for (const char* gone : {"IFD0:StripOffsets", "IFD0:StripByteCounts", "GPS:GPSLatitudeRef"})
        EXPECT_FALSE(tags.contains(gone)) << gone;
    EXPECT_EQ(tags.size(), 4); // Make, DateTimeOriginal and the two new dimensions
}

TEST(ExifRebuild, ARecordThatNoLongerFitsItsSegmentIsLeftOut) {
    const qsizetype limit = codecs::exif::kMaxRecordSize;
    // IFD0 with the Exif pointer (2 + 12 + 4 bytes), the Exif IFD with one comment field and the
    // comment: sized so that the record fills its segment exactly.
    const auto record = [](qsizetype total, bool withDimensions) {
        Tiff t(false);
        std::vector<Tiff::Field> fields;
        if (withDimensions) fields = {t.longValue(0xA002, 4000), t.longValue(0xA003, 3000)};
        const qint64 tableEnd = 8 + 18 + 2 + 12 * qint64(fields.size() + 1) + 4;
        fields.push_back(t.undefined(0x9286, QByteArray(total - tableEnd, 'c')));
        const qint64 exif = t.ifd({t.longValue(0x8769, 26)});
        EXPECT_EQ(exif, 8);
        EXPECT_EQ(t.ifd(fields), 26);
        t.setFirst(8);
        EXPECT_EQ(t.bytes.size(), total);
        return t.bytes;
    };
    EXPECT_EQ(codecs::exif::rebuiltForSize(record(limit, true), 800, 600).size(), limit);
    // The dimensions the resize has to add no longer fit.
    EXPECT_TRUE(codecs::exif::rebuiltForSize(record(limit, false), 800, 600).isEmpty());
    EXPECT_EQ(codecs::exif::rebuiltForSize(record(limit - 24, false), 800, 600).size(), limit);
}

TEST(ExifRebuild, AMakerNoteThatCannotKeepItsPlaceMovesRatherThanLosingTheRecord) {
    TempDrive drive;
    // No thumbnail to give room, and the dimensions to add: kept at its old offset, the maker note would
    // push the record past its segment's limit; laid out with the rest it just fits.
    const qsizetype limit = codecs::exif::kMaxRecordSize;
    const QByteArray makerNote(300, 'm');
    Tiff t(false);
    EXPECT_EQ(t.ifd({t.longValue(0x8769, 26)}), 8);
    const qint64 tableEnd = 26 + 2 + 3 * 12 + 4;
    EXPECT_EQ(t.ifd({t.ascii(0x9003, "2022:02:02 02:02:02"), t.undefined(0x927C, makerNote),
                     t.undefined(0x9286, QByteArray(limit - 24 - tableEnd - 20 - 300, 'u'))}),
              26);
    t.setFirst(8);
    ASSERT_EQ(t.bytes.size(), limit - 24);
    ASSERT_EQ(t.bytes.mid(tableEnd + 20, 300), makerNote);
    const QByteArray rebuilt = codecs::exif::rebuiltForSize(t.bytes, 800, 600);
    ASSERT_EQ(rebuilt.size(), limit);
    EXPECT_EQ(rebuilt.mid(tableEnd + 24 + 20, 300), makerNote);
    const QJsonObject tags = exiftool::exifTags(jpegWith(drive, "moved.jpg", rebuilt));
    EXPECT_EQ(tags.value("ExifIFD:DateTimeOriginal").toString(), QStringLiteral("2022:02:02 02:02:02"));
    EXPECT_EQ(tags.value("ExifIFD:ExifImageWidth").toInt(), 800);
}

TEST(ExifDamaged, ADamagedRecordReadsAsAbsent) {
    const struct {
        const char* name;
        std::function<void(Sample&)> damage;
    } cases[] = {
        {"intact", [](Sample&) {}},
        {"truncated", [](Sample& s) { s.tiff.bytes.truncate(s.tiff.bytes.size() - 40); }},
        {"cut inside the header", [](Sample& s) { s.tiff.bytes.truncate(6); }},
        {"unknown byte order", [](Sample& s) { s.tiff.bytes.replace(0, 2, "IM"); }},
        {"not 42", [](Sample& s) { s.tiff.patch16(2, 43); }},
        {"IFD0 past the end", [](Sample& s) { s.tiff.setFirst(s.tiff.bytes.size() + 100); }},
        {"IFD0 inside the header", [](Sample& s) { s.tiff.setFirst(2); }},
        {"Exif IFD past the end", [](Sample& s) { s.tiff.patch32(Tiff::valueField(s.ifd0, 6), 0x7FFFFFF0); }},
        {"value past the end", [](Sample& s) { s.tiff.patch32(Tiff::valueField(s.ifd0, 2), 0xFFFFFFFE); }},
        {"value count overflowing",
         [](Sample& s) { s.tiff.patch32(Tiff::valueField(s.exif, 0) - 4, 0x20000000); }},
        {"value overlapping its IFD",
         [](Sample& s) { s.tiff.patch32(Tiff::valueField(s.exif, 1), quint32(s.exif)); }},
        {"values overlapping",
         [](Sample& s) { s.tiff.patch32(Tiff::valueField(s.exif, 1), quint32(s.makerNote + 4)); }},
        {"Exif IFD is IFD0", [](Sample& s) { s.tiff.patch32(Tiff::valueField(s.ifd0, 6), quint32(s.ifd0)); }},
        {"GPS IFD is the Exif IFD",
         [](Sample& s) { s.tiff.patch32(Tiff::valueField(s.ifd0, 7), quint32(s.exif)); }},
        {"interoperability IFD loops to the Exif IFD",
         [](Sample& s) { s.tiff.patch32(Tiff::valueField(s.exif, 6), quint32(s.exif)); }},
        {"IFDs overlapping",
         [](Sample& s) { s.tiff.patch32(Tiff::valueField(s.ifd0, 7), quint32(s.exif + 12)); }},
        {"too many entries", [](Sample& s) { s.tiff.patch16(s.gps, 0xFFFF); }},
        {"pointer of the wrong type", [](Sample& s) { s.tiff.patch16(Tiff::valueField(s.ifd0, 6) - 6, 2); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool big : {false, true}) {
            Sample s = sample(big);
            c.damage(s);
            const bool intact = std::string(c.name) == "intact";
            EXPECT_EQ(codecs::exif::captureFields(s.tiff.bytes).has_value(), intact);
            EXPECT_EQ(codecs::exif::rebuiltForSize(s.tiff.bytes, 800, 600).isEmpty(), !intact);
        }
    }
    // A damaged thumbnail does not matter: it is not carried.
    Sample s = sample(false);
    s.tiff.patch32(Tiff::valueField(s.ifd1, 1), 0xFFFFFF00);
    s.tiff.patch32(Tiff::valueField(s.ifd0, 8) - 8, quint32(s.ifd0)); // IFD1's place: back to IFD0
    EXPECT_FALSE(codecs::exif::rebuiltForSize(s.tiff.bytes, 800, 600).isEmpty());
}

TEST(ExifSegment, GoesRightAfterTheStartMarker) {
    const QByteArray jpeg = codecs::jpeg::encode(QImage(8, 8, QImage::Format_RGB32), {});
    const QByteArray record = sample(false).tiff.bytes;
    const QByteArray out = codecs::exif::withRecord(jpeg, record);
    EXPECT_EQ(out.left(4), QByteArray::fromHex("FFD8FFE1"));
    EXPECT_EQ((uchar(out[4]) << 8) | uchar(out[5]), record.size() + 8);
    EXPECT_EQ(out.mid(6, 6), QByteArray("Exif\0\0", 6));
    EXPECT_EQ(out.mid(12, record.size()), record);
    EXPECT_EQ(out.mid(12 + record.size()), jpeg.mid(2));
    EXPECT_EQ(codecs::exif::findRecord(out), record);

    EXPECT_EQ(codecs::exif::withRecord(jpeg, {}), jpeg);
    EXPECT_EQ(codecs::exif::withRecord(jpeg, QByteArray(codecs::exif::kMaxRecordSize + 1, 'x')), jpeg);
    EXPECT_EQ(codecs::exif::withRecord("GIF89a", record), QByteArray("GIF89a"));
}

} // namespace
