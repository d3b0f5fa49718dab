#include "filing/CellPicture.h"

#include "app/WorkingFolders.h"
#include "codecs/Canvas.h"
#include "filing/PicClip.h"

#include <QImage>

namespace filing {

void loadCellPicture(const QString& name, TPicClip& clip, TPictureHolder& box, const QSize& shownSize) {
    const QString path = folders::PictureRoot + '\\' + name;
    if (name.right(4).toUpper() != QLatin1String(".GIF")) {
        box.loadFromFile(path);
    } else {
        clip.Picture().loadFromFile(path);
        box.assign(&clip.GraphicCell(0));
    }
    QImage surface(shownSize, QImage::Format_RGB32);
    TCanvas canvas(surface);
    canvas.stretchDraw(surface.rect(), box.graphic());
}

} // namespace filing
