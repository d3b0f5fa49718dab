#include "app/cli/Commands.h"
#include "codecs/Bitmap.h"
#include "codecs/Canvas.h"
#include "codecs/Exif.h"
#include "codecs/GifImage.h"
#include "codecs/JpegImage.h"
#include "codecs/PictureHolder.h"
#include "filing/Resize.h"
#include "platform/DrivePaths.h"
#include "platform/Error.h"

#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QRegularExpression>

namespace {

// "c:\..." paths are the system's; any other path is this machine's, relative to the current folder.
QString pathArgument(const QString& argument) {
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    return drive.match(argument).hasMatch() ? argument : QFileInfo(argument).absoluteFilePath();
}

int usage(CliStreams io) {
    io.err << "usage: vorlex-cli picture info FILE\n"
              "       vorlex-cli picture draw FILE WIDTH HEIGHT OUT.png\n"
              "       vorlex-cli picture resize FILE OUT.jpg\n";
    return 2;
}

// The capture time and the camera from the picture's capture record, when it has them.
void printCaptureFields(const QByteArray& jpeg, CliStreams io) {
    const std::optional<codecs::exif::CaptureFields> fields =
        codecs::exif::captureFields(codecs::exif::findRecord(jpeg));
    if (!fields) return;
    if (!fields->dateTimeOriginal.isEmpty()) io.out << "Captured " << fields->dateTimeOriginal << '\n';
    const QString camera = QStringList({fields->make, fields->model}).join(' ').trimmed();
    if (!camera.isEmpty()) io.out << "Camera " << camera << '\n';
}

int info(const QString& path, CliStreams io) {
    TPictureHolder picture;
    picture.loadFromFile(path);
    TGraphic* graphic = picture.graphic();
    io.out << "Kind " << graphic->className() << '\n';
    io.out << "Width " << graphic->width() << '\n';
    io.out << "Height " << graphic->height() << '\n';
    if (auto* jpeg = dynamic_cast<TJPEGImage*>(graphic)) {
        io.out << "Grayscale " << (jpeg->grayscaleStream() ? "yes" : "no") << '\n';
        io.out << "Progressive " << (jpeg->progressiveStream() ? "yes" : "no") << '\n';
        printCaptureFields(jpeg->data(), io);
    } else if (auto* gif = dynamic_cast<TGIFImage*>(graphic)) {
        io.out << "Version " << gif->version() << '\n';
        io.out << "Screen " << gif->screenWidth() << ' ' << gif->screenHeight() << '\n';
        io.out << "Frames " << gif->frameCount() << '\n';
        io.out << "Corrupted " << (gif->frame(0).corrupted() ? "yes" : "no") << '\n';
    }
    return 0;
}

void writePng(const QImage& image, const QString& path) {
    QFile file(platform::drive::toHost(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw platform::Error(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
    QImageWriter writer(&file, "png");
    if (!writer.write(image))
        throw platform::Error(QStringLiteral("Cannot write file \"%1\". %2").arg(path, writer.errorString()));
}

// The picture stretched into a box over silver, so that transparent pixels show.
int draw(const QStringList& args, CliStreams io) {
    bool widthOk = false;
    bool heightOk = false;
    const int width = args.at(2).toInt(&widthOk);
    const int height = args.at(3).toInt(&heightOk);
    if (!widthOk || !heightOk || width <= 0 || height <= 0) {
        io.err << "picture draw: WIDTH and HEIGHT must be positive whole numbers\n";
        return 2;
    }
    TPictureHolder picture;
    picture.loadFromFile(pathArgument(args.at(1)));
    TBitmap box;
    box.setSize(width, height);
    box.canvas().fillRect(QRect(0, 0, width, height), QColor(192, 192, 192));
    box.canvas().stretchDraw(QRect(0, 0, width, height), picture.graphic());
    writePng(box.image(), pathArgument(args.at(4)));
    return 0;
}

// The oversize resize of filing: stretched onto 800 by 600, encoded anew with the capture record
// carried; a picture that cannot be drawn is written unchanged.
int resize(const QString& source, const QString& target, CliStreams io) {
    const filing::ResizeOutcome outcome = filing::writeResized(source, target, {});
    if (!outcome.stretched)
        io.err << "picture resize: " << outcome.stretchFailure << "; the picture is written unchanged\n";
    TJPEGImage written;
    written.loadFromFile(target);
    io.out << "Width " << written.width() << '\n' << "Height " << written.height() << '\n';
    if (outcome.stretched) {
        const char* exif = outcome.exif == filing::ExifCarried::Kept      ? "kept"
                           : outcome.exif == filing::ExifCarried::LeftOut ? "left out (damaged or too large)"
                                                                          : "none";
        io.out << "Exif " << exif << '\n';
    }
    return 0;
}

} // namespace

int runPicture(const QStringList& args, CliStreams io) {
    const QString verb = args.value(0);
    if (verb == QLatin1String("info") && args.size() == 2) return info(pathArgument(args.at(1)), io);
    if (verb == QLatin1String("draw") && args.size() == 5) return draw(args, io);
    if (verb == QLatin1String("resize") && args.size() == 3)
        return resize(pathArgument(args.at(1)), pathArgument(args.at(2)), io);
    return usage(io);
}
