#pragma once

#include "tests/support/ScriptedMessages.h"
#include "tests/support/TempDrive.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

// Pictures and peers for the viewer's tests.
namespace viewertest {

// A JPEG (quality 95) of the image, by our encoder.
QByteArray jpeg(const QImage& image);
// A JPEG of the given size in smooth colour bands.
QByteArray jpeg(int width, int height, quint32 seed = 1);
// The image written as a GIF by ImageMagick.
QByteArray gif(const QImage& image);
// An image of solid blocks, each of its own colour, `blocks` across and down: a wrong cut, a mirror or
// a shift shows at once.
QImage blocks(int width, int height, int across, int down);
// Runs a peer program; its standard output, or a test failure when it fails.
QByteArray peer(const QString& program, const QStringList& args);

} // namespace viewertest
