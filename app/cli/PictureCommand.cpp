#include "app/cli/Commands.h"
#include "codecs/Bitmap.h"
#include "codecs/Canvas.h"
#include "codecs/GifImage.h"
#include "codecs/JpegImage.h"
#include "codecs/PictureHolder.h"
#include "platform/DrivePaths.h"
#include "platform/Error.h"

#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QRegularExpression>

namespace {

constexpr int kResizedWidth = 800;
constexpr int kResizedHeight = 600;

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

// Stretches the JPEG onto an 800 by 600 bitmap and encodes that; a picture that cannot be drawn is
// written unchanged.
int resize(const QString& source, const QString& target, CliStreams io) {
    TJPEGImage jpeg;
    jpeg.loadFromFile(source);
    try {
        TBitmap bitmap;
        bitmap.setSize(kResizedWidth, kResizedHeight);
        bitmap.canvas().stretchDraw(QRect(0, 0, kResizedWidth, kResizedHeight), &jpeg);
        jpeg.assign(bitmap);
    } catch (const platform::Error& e) {
        io.err << "picture resize: " << e.message() << "; the picture is written unchanged\n";
    }
    jpeg.saveToFile(target);
    io.out << "Width " << jpeg.width() << '\n' << "Height " << jpeg.height() << '\n';
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
