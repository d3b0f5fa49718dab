#include "tests/archive/ArchivePeers.h"

#include "tests/support/TempDrive.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <random>

QList<PeerMember> pythonMembers(const QString& hostZip) {
    QByteArray out;
    const int rc =
        runProgram(QStringLiteral("/usr/bin/python3"),
                   {QStringLiteral(VORLEX_SOURCE_DIR "/tests/archive/zipmembers.py"), hostZip}, &out);
    EXPECT_EQ(rc, 0) << out.toStdString();
    QList<PeerMember> members;
    if (rc != 0) return members;
    for (const QJsonValue& value : QJsonDocument::fromJson(out).array()) {
        const QJsonObject o = value.toObject();
        PeerMember m;
        m.rawName = QByteArray::fromBase64(o["rawName"].toString().toLatin1());
        m.method = o["method"].toInt();
        m.flags = o["flags"].toInt();
        m.crc = quint32(o["crc"].toDouble());
        m.compressedSize = qint64(o["compressedSize"].toDouble());
        m.size = qint64(o["size"].toDouble());
        m.createSystem = o["createSystem"].toInt();
        m.createVersion = o["createVersion"].toInt();
        m.extractVersion = o["extractVersion"].toInt();
        m.internalAttr = o["internalAttr"].toInt();
        m.externalAttr = quint32(o["externalAttr"].toDouble());
        for (const QJsonValue& part : o["dateTime"].toArray())
            m.dateTime.append(part.toInt());
        m.headerOffset = qint64(o["headerOffset"].toDouble());
        m.content = QByteArray::fromBase64(o["content"].toString().toLatin1());
        members.append(m);
    }
    return members;
}

void expectReadersAccept(const QString& hostZip) {
    QByteArray out;
    EXPECT_EQ(runProgram(QStringLiteral("unzip"), {QStringLiteral("-t"), hostZip}, &out), 0)
        << out.toStdString();
    EXPECT_TRUE(out.contains("No errors detected")) << out.toStdString();
    EXPECT_EQ(runProgram(QStringLiteral("7z"), {QStringLiteral("t"), hostZip}, &out), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("Everything is Ok")) << out.toStdString();
}

QString zipinfoVerbose(const QString& hostZip) {
    QByteArray out;
    EXPECT_EQ(runProgram(QStringLiteral("zipinfo"), {QStringLiteral("-v"), hostZip}, &out), 0)
        << out.toStdString();
    return QString::fromLatin1(out);
}

QByteArray textLikeBytes(int count) {
    static const QByteArray words[] = {"claim ", "garage ", "bumper ", "door ", "repair ", "scan ", "\n"};
    QByteArray bytes;
    std::mt19937 generator(11);
    while (bytes.size() < count)
        bytes += words[generator() % 7];
    bytes.truncate(count);
    return bytes;
}
