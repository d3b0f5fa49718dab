#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "tests/support/QtPrinters.h"

// A drive C: folder and a settings location of the test's own; the user's are never touched.
class TempDrive {
public:
    TempDrive();
    ~TempDrive();
    TempDrive(const TempDrive&) = delete;
    TempDrive& operator=(const TempDrive&) = delete;

    QString root() const;                          // the host folder that stands for C:
    QString host(const QString& systemPath) const; // host path of a system path ("c:\picture\a.jpg")
    void makeFolder(const QString& systemPath) const;
    void writeFile(const QString& systemPath, const QByteArray& bytes) const;
    QByteArray readFile(const QString& systemPath) const;
    QString settingsFolder() const;

private:
    QTemporaryDir dir_;
};

// Runs a program to the end and gives back its exit code; output goes into *out when asked.
int runProgram(const QString& program, const QStringList& args, QByteArray* out = nullptr,
               int timeoutMs = 120000);
// The same pseudo-random bytes for the same seed on every run.
QByteArray randomBytes(qsizetype size, unsigned seed = 7);
// ImageMagick's convert from Debian's package, never a stand-in first on PATH.
QString imageMagickConvert();
