#pragma once

#include "app/ui/PictureU.h"
#include "filing/Category.h"
#include "filing/ui/NewPicturesPage.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/support/TempDrive.h"

#include <QByteArray>
#include <QImage>
#include <memory>

class TImage;

// Pictures made for the tests.
namespace pictures {

// A JPEG of the given size: smooth colour bands, or every pixel random (large files) when noisy.
QByteArray jpeg(int width, int height, bool noisy = false, quint32 seed = 1);
// The JPEG with comment segments put after its start marker until it holds exactly `size` bytes.
QByteArray paddedJpeg(const QByteArray& jpeg, qint64 size);
// The JPEG with its first Huffman table made impossible: the header reads well, decoding fails.
QByteArray damagedAfterHeader(QByteArray jpeg);
// The image written as a GIF by ImageMagick.
QByteArray gif(const QImage& image);
// A GIF of random pixels that holds more than `atLeast` bytes.
QByteArray noisyGif(qint64 atLeast);
// Makes the file at hostPath a 1600 by 1200 photograph of noise (over 200 Kb) as a camera writes it: exiftool
// puts in a capture record (Make, Model, DateTimeOriginal, Orientation 6, GPS position, pixel dimensions, a
// thumbnail), in Motorola byte order ("MM") or Intel ("II").
void cameraPhoto(const QString& hostPath, const QString& byteOrder = QStringLiteral("MM"));
// Width, height, format, quality and interlace of a picture file as ImageMagick's identify reads them.
QString identify(const QString& hostPath);

} // namespace pictures

// A drive of the test's own with a scripted message service, and the main window on it: the page runs
// with the start-up steps it asks the window for.
class PageTest {
public:
    PageTest();
    ~PageTest();

    TPicture& window() { return *window_; }
    NewPicturesPage& page() { return *window_->newPicturesPage; }
    // Makes the main window anew (its start-up steps fill the grid from the inbox); its new-pictures page.
    NewPicturesPage& open();
    void inbox(const QString& name, const QByteArray& bytes) const;
    TImage* cellImage(int cell);
    TPanel* cellNameBar(int cell);
    // The names shown in cells 1 to 9, "-" for a hidden cell.
    QStringList shownNames();
    // Drags cell `cell` onto a category target, as the drop handler gets it.
    void drop(int cell, TImage* target);
    TImage* before() { return page().beforeRepairTarget; }
    TImage* during() { return page().duringRepairTarget; }
    TImage* after() { return page().afterRepairTarget; }
    TImage* documents() { return page().documentTarget; }
    TImage* target(filing::PictureCategory category);

    TempDrive drive;
    ScriptedMessages boxes;

private:
    std::unique_ptr<TPicture> window_;
};
