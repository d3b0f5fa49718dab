#include "tests/codecs/CodecsTestSupport.h"

#include "tests/support/TempDrive.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace codecs_test {

namespace {

QString scratchFile(const QString& name) {
    static QTemporaryDir dir;
    return dir.filePath(name);
}

int bitLength(int value) {
    int n = 0;
    while (value > 0)
        ++n, value >>= 1;
    return n;
}

void appendWord(QByteArray& out, int value) {
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

// Writes a colour map padded to a power of two; returns the size field of the packed byte.
int appendMap(QByteArray& out, QVector<QRgb> map) {
    int field = 0;
    while ((2 << field) < map.size())
        ++field;
    map.resize(2 << field, qRgb(0, 0, 0));
    for (QRgb c : map) {
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    return field;
}

void appendSubBlocks(QByteArray& out, const QByteArray& data, bool terminate) {
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray part = data.mid(at, 255);
        out.append(char(part.size()));
        out.append(part);
    }
    if (terminate) out.append('\0');
}

// The width a decoder reads the next code with, given its next free table entry.
int widthFor(int nextEntry) {
    return qMin(12, bitLength(nextEntry));
}

} // namespace

void convert(const QStringList& args) {
    QByteArray output;
    const int code = runProgram(imageMagickConvert(), args, &output);
    ASSERT_EQ(code, 0) << "convert " << args.join(' ').toStdString() << ": " << output.toStdString();
}

QImage imageMagickPixels(const QString& hostPath, int frame) {
    const QString out = scratchFile(QStringLiteral("im-%1.png").arg(frame));
    QFile::remove(out);
    convert({QStringLiteral("%1[%2]").arg(hostPath).arg(frame), QStringLiteral("-depth"), QStringLiteral("8"),
             QStringLiteral("PNG32:") + out});
    QImage image(out, "PNG");
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage djpegPixels(const QString& hostPath, const QStringList& options) {
    const QString out = scratchFile(QStringLiteral("djpeg.pnm"));
    QFile::remove(out);
    QByteArray output;
    const int code = runProgram(QStringLiteral("/usr/bin/djpeg"),
                                QStringList(options) << QStringLiteral("-pnm") << QStringLiteral("-outfile")
                                                     << out << hostPath,
                                &output);
    EXPECT_EQ(code, 0) << output.toStdString();
    QImage image(out);
    if (image.format() == QImage::Format_Grayscale8 || image.isGrayscale())
        return image.convertToFormat(QImage::Format_Grayscale8);
    return image.convertToFormat(QImage::Format_RGB888);
}

QString identify(const QString& hostPath, const QString& format) {
    QByteArray output;
    const int code = runProgram(QStringLiteral("/usr/bin/identify"),
                                {QStringLiteral("-format"), format, hostPath}, &output);
    EXPECT_EQ(code, 0) << output.toStdString();
    return QString::fromUtf8(output).trimmed();
}

int maxChannelDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return 256;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int worst = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            worst = qMax(worst, qAbs(qRed(p[col]) - qRed(q[col])));
            worst = qMax(worst, qAbs(qGreen(p[col]) - qGreen(q[col])));
            worst = qMax(worst, qAbs(qBlue(p[col]) - qBlue(q[col])));
            worst = qMax(worst, qAbs(qAlpha(p[col]) - qAlpha(q[col])));
        }
    }
    return worst;
}

QString firstDifference(const QImage& expected, const QImage& actual, int tolerance) {
    if (expected.size() != actual.size())
        return QStringLiteral("size %1x%2, expected %3x%4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height());
    const QImage x = expected.convertToFormat(QImage::Format_ARGB32);
    const QImage y = actual.convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            const bool bothClear = qAlpha(p) == 0 && qAlpha(q) == 0;
            if (bothClear) continue;
            if (qAbs(qRed(p) - qRed(q)) > tolerance || qAbs(qGreen(p) - qGreen(q)) > tolerance ||
                qAbs(qBlue(p) - qBlue(q)) > tolerance || qAbs(qAlpha(p) - qAlpha(q)) > tolerance)
                return QStringLiteral("pixel %1,%2 is %3, expected %4")
                    .arg(col)
                    .arg(row)
                    .arg(q, 8, 16, QLatin1Char('0'))
                    .arg(p, 8, 16, QLatin1Char('0'));
        }
    return QString();
}

QByteArray gifBytes(const GifLayout& layout) {
    QByteArray out = layout.signature;
    appendWord(out, layout.screenWidth);
    appendWord(out, layout.screenHeight);
    QByteArray globalMap;
    int packed = 0x70;
    if (!layout.globalMap.isEmpty()) packed |= 0x80 | appendMap(globalMap, layout.globalMap);
    out.append(char(packed));
    out.append(char(layout.background));
    out.append('\0');
    out.append(globalMap);
    for (const QString& comment : layout.comments) {
        out.append("\x21\xFE", 2);
        appendSubBlocks(out, comment.toLatin1(), true);
    }
    for (const GifFrameLayout& frame : layout.frames) {
        if (frame.transparentIndex >= 0 || frame.delay > 0) {
            out.append("\x21\xF9\x04", 3);
            out.append(char(frame.transparentIndex >= 0 ? 1 : 0));
            appendWord(out, frame.delay);
            out.append(char(qMax(0, frame.transparentIndex)));
            out.append('\0');
        }
        out.append(',');
        appendWord(out, frame.left);
        appendWord(out, frame.top);
        appendWord(out, frame.width);
        appendWord(out, frame.height);
        QByteArray localMap;
        int imagePacked = frame.interlaced ? 0x40 : 0;
        if (!frame.localMap.isEmpty()) imagePacked |= 0x80 | appendMap(localMap, frame.localMap);
        out.append(char(imagePacked));
        out.append(localMap);
        out.append(char(frame.minCodeSize));
        appendSubBlocks(out, frame.lzw, frame.terminateData);
    }
    if (layout.trailer) out.append(';');
    return out;
}

QByteArray packCodes(const QList<QPair<int, int>>& codes) {
    QByteArray out;
    quint32 bits = 0;
    int count = 0;
    for (const auto& [code, width] : codes) {
        bits |= quint32(code) << count;
        count += width;
        while (count >= 8) {
            out.append(char(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    }
    if (count > 0) out.append(char(bits & 0xFF));
    return out;
}

QByteArray lzwUncompressed(const QByteArray& values, int minCodeSize) {
    const int clear = 1 << minCodeSize;
    const int run = clear - 2;
    QList<QPair<int, int>> codes;
    for (qsizetype at = 0; at < values.size(); ++at) {
        if (at % run == 0) codes.append({clear, minCodeSize + 1});
        codes.append({uchar(values[at]), minCodeSize + 1});
    }
    codes.append({clear + 1, minCodeSize + 1});
    return packCodes(codes);
}

QByteArray lzwWithoutClears(const QByteArray& values, int minCodeSize) {
    const int clear = 1 << minCodeSize;
    QHash<quint32, int> table; // (prefix code << 8 | value) -> code
    QList<QPair<int, int>> codes{{clear, minCodeSize + 1}};
    int nextEncoder = clear + 2;
    int nextDecoder = clear + 2;
    bool first = true;
    const auto put = [&](int code) {
        codes.append({code, widthFor(nextDecoder)});
        if (!first && nextDecoder < 4096) ++nextDecoder;
        first = false;
    };
    if (values.isEmpty()) {
        codes.append({clear + 1, minCodeSize + 1});
        return packCodes(codes);
    }
    int current = uchar(values[0]);
    for (qsizetype at = 1; at < values.size(); ++at) {
        const uchar value = uchar(values[at]);
        const quint32 key = (quint32(current) << 8) | value;
        const auto found = table.constFind(key);
        if (found != table.constEnd()) {
            current = *found;
            continue;
        }
        put(current);
        if (nextEncoder < 4096) table.insert(key, nextEncoder++);
        current = value;
    }
    put(current);
    codes.append({clear + 1, widthFor(nextDecoder)});
    return packCodes(codes);
}

} // namespace codecs_test
