#include "codecs/Graphic.h"

#include "platform/DrivePaths.h"
#include "platform/Error.h"

#include <QFile>
#include <QIODevice>

namespace {

// Larger files are refused before they are read into memory.
constexpr qint64 kMaxFileBytes = qint64(512) * 1024 * 1024;

qint64 g_pixelLimit = codecs::kDefaultPixelLimit;

QString cannotOpen(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot open file \"%1\". %2").arg(path, reason);
}

QByteArray readStream(QIODevice& stream, const QString& nameForErrors) {
    const qint64 available = stream.isSequential() ? -1 : stream.size() - stream.pos();
    if (available > kMaxFileBytes)
        throw platform::Error(
            cannotOpen(nameForErrors, QStringLiteral("The file is too large to be a picture")));
    QByteArray bytes;
    if (available > 0) bytes.reserve(available);
    char buffer[65536];
    for (;;) {
        const qint64 got = stream.read(buffer, sizeof buffer);
        if (got < 0) throw platform::Error(cannotOpen(nameForErrors, stream.errorString()));
        if (got == 0) break;
        if (bytes.size() + got > kMaxFileBytes)
            throw platform::Error(
                cannotOpen(nameForErrors, QStringLiteral("The file is too large to be a picture")));
        bytes.append(buffer, got);
    }
    return bytes;
}

void writeAll(QIODevice& stream, const QByteArray& bytes, const QString& path) {
    if (stream.write(bytes) != bytes.size())
        throw platform::Error(QStringLiteral("Cannot write file \"%1\". %2").arg(path, stream.errorString()));
}

} // namespace

void TGraphic::assign(const TGraphic& source) {
    throw platform::Error(QStringLiteral("Cannot assign a %1 to a %2").arg(source.className(), className()));
}

bool TGraphic::empty() const {
    return width() == 0 || height() == 0;
}

void TGraphic::setTransparent(bool on) {
    if (transparent_ == on) return;
    transparent_ = on;
    changed();
}

void TGraphic::changed() {
    if (onChange) onChange();
}

void TGraphic::loadFromFile(const QString& path) {
    QFile file(platform::drive::toHost(path));
    if (!file.open(QIODevice::ReadOnly)) throw platform::Error(cannotOpen(path, file.errorString()));
    const QByteArray bytes = readStream(file, path);
    file.close();
    loadFromBytes(bytes);
}

void TGraphic::saveToFile(const QString& path) {
    const QByteArray bytes = saveToBytes();
    QFile file(platform::drive::toHost(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw platform::Error(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
    writeAll(file, bytes, path);
    if (!file.flush())
        throw platform::Error(QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()));
}

void TGraphic::loadFromStream(QIODevice& stream) {
    loadFromBytes(readStream(stream, QStringLiteral("stream")));
}

void TGraphic::saveToStream(QIODevice& stream) {
    writeAll(stream, saveToBytes(), QStringLiteral("stream"));
}

namespace codecs {

qint64 pixelLimit() {
    return g_pixelLimit;
}

void setPixelLimit(qint64 pixels) {
    g_pixelLimit = pixels > 0 ? pixels : kDefaultPixelLimit;
}

void checkPictureSize(qint64 width, qint64 height) {
    if (width < 0 || height < 0 || (width > 0 && height > g_pixelLimit / width))
        throw platform::Error(
            QStringLiteral("The picture is too large (%1 by %2 pixels)").arg(width).arg(height));
}

} // namespace codecs
