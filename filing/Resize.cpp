#include "filing/Resize.h"

#include "app/WorkingFolders.h"
#include "codecs/Bitmap.h"
#include "codecs/Canvas.h"
#include "codecs/Exif.h"
#include "codecs/JpegImage.h"
#include "platform/Error.h"
#include "platform/Files.h"

#include <QRect>

namespace filing {

QString temporaryName(const QString& workingName) {
    const QString extension = folders::extensionOf(workingName);
    QString name = QStringLiteral("TEMP") + extension;
    for (int n = 1; platform::files::exists(folders::PictureRoot + '\\' + name); ++n)
        name = QStringLiteral("TEMP%1").arg(n) + extension;
    return name;
}

ResizeOutcome writeResized(const QString& source, const QString& target, const std::function<void()>& beep) {
    TJPEGImage jpeg;
    jpeg.loadFromFile(source);
    const QByteArray original = jpeg.data();
    ResizeOutcome outcome;
    try {
        // Decoded at full size first: drawing a large picture into a smaller box would otherwise decode
        // it scaled down, which averages pixels instead of sampling them.
        jpeg.dibNeeded();
        TBitmap bitmap;
        bitmap.setSize(kResizedWidth, kResizedHeight);
        bitmap.canvas().stretchDraw(QRect(0, 0, kResizedWidth, kResizedHeight), &jpeg);
        jpeg.assign(bitmap);
        outcome.stretched = true;
    } catch (const platform::Error& e) {
        outcome.stretchFailure = e.message();
        if (beep) beep();
    }
    if (outcome.stretched) {
        const QByteArray record = codecs::exif::findRecord(original);
        if (!record.isEmpty()) {
            const QByteArray rebuilt = codecs::exif::rebuiltForSize(record, kResizedWidth, kResizedHeight);
            outcome.exif = rebuilt.isEmpty() ? ExifCarried::LeftOut : ExifCarried::Kept;
            if (!rebuilt.isEmpty()) jpeg.loadFromBytes(codecs::exif::withRecord(jpeg.saveToBytes(), rebuilt));
        }
    }
    jpeg.saveToFile(target);
    return outcome;
}

} // namespace filing
