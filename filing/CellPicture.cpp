#include "filing/CellPicture.h"

#include "app/WorkingFolders.h"
#include "filing/PicClip.h"

namespace filing {

void loadCellPicture(const QString& name, TPicClip& clip, TPictureHolder& box) {
    const QString path = folders::PictureRoot + '\\' + name;
    if (name.right(4).toUpper() != QLatin1String(".GIF")) {
        box.loadFromFile(path);
        return;
    }
    clip.Picture().loadFromFile(path);
    box.assign(&clip.GraphicCell(0));
}

} // namespace filing
