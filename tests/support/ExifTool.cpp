#include "tests/support/ExifTool.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <gtest/gtest.h>

namespace exiftool {

namespace {

QJsonObject firstObject(const QByteArray& json) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << json.toStdString();
    return document.array().at(0).toObject();
}

} // namespace

QByteArray run(const QStringList& args) {
    QProcess process;
    process.start(QStringLiteral("/usr/bin/exiftool"), args);
    if (!process.waitForStarted(10000) || !process.waitForFinished(120000)) {
        ADD_FAILURE() << "exiftool did not run: " << args.join(' ').toStdString();
        return {};
    }
    const QByteArray errors = process.readAllStandardError();
    EXPECT_EQ(process.exitCode(), 0) << "exiftool " << args.join(' ').toStdString() << ": "
                                     << errors.toStdString();
    EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();
    return process.readAllStandardOutput();
}

void write(const QString& hostPath, const QStringList& assignments) {
    run(QStringList({QStringLiteral("-q"), QStringLiteral("-overwrite_original")})
        << assignments << hostPath);
}

QJsonObject tags(const QString& hostPath) {
    return firstObject(run(
        {QStringLiteral("-j"), QStringLiteral("-a"), QStringLiteral("-G1"), QStringLiteral("-n"), hostPath}));
}

QJsonObject exifTags(const QString& hostPath) {
    QJsonObject all = firstObject(run(
        {QStringLiteral("-j"), QStringLiteral("-a"), QStringLiteral("-G1"), QStringLiteral("-n"),
         QStringLiteral("-u"), QStringLiteral("-EXIF:all"), QStringLiteral("-MakerNotes:all"), hostPath}));
    all.remove(QStringLiteral("SourceFile"));
    return all;
}

} // namespace exiftool
