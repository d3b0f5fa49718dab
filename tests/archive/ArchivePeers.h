#pragma once

#include "tests/support/TempDrive.h"

#include <QByteArray>
#include <QList>
#include <QString>

// What independent ZIP readers make of an archive: Python's zipfile, unzip, zipinfo and 7-Zip.
struct PeerMember {
    QByteArray rawName;
    int method = -1;
    int flags = -1;
    quint32 crc = 0;
    qint64 compressedSize = -1;
    qint64 size = -1;
    int createSystem = -1;
    int createVersion = -1;
    int extractVersion = -1;
    int internalAttr = -1;
    quint32 externalAttr = 0;
    QList<int> dateTime;
    qint64 headerOffset = -1;
    QByteArray content;
};

// Members as /usr/bin/python3's zipfile reads them (every member read back, so its CRC is checked).
// Fails the current test and gives nothing when zipfile cannot read the archive.
QList<PeerMember> pythonMembers(const QString& hostZip);
// "unzip -t" and "7z t" both test every member good.
void expectReadersAccept(const QString& hostZip);
QString zipinfoVerbose(const QString& hostZip);

// Deterministic bytes for test files.
QByteArray textLikeBytes(int count);
