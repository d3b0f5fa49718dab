#include "filing/Resize.h"

#include "app/WorkingFolders.h"
#include "codecs/Bitmap.h"
#include "codecs/Canvas.h"
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

void writeResized(const QString& source, const QString& target, const std::function<void()>& beep) {
    TJPEGImage jpeg;
    jpeg.loadFromFile(source);
    try {
        // Decoded at full size first: drawing a large picture into a smaller box would otherwise decode
        // it scaled down, which averages pixels instead of sampling them.
        jpeg.dibNeeded();
        TBitmap bitmap;
        bitmap.setSize(kResizedWidth, kResizedHeight);
        bitmap.canvas().stretchDraw(QRect(0, 0, kResizedWidth, kResizedHeight), &jpeg);
        jpeg.assign(bitmap);
    } catch (const platform::Error&) {
        if (beep) beep();
    }
    jpeg.saveToFile(target);
}

} // namespace filing
