#include "filing/InboxGrid.h"

#include "app/WorkingFolders.h"

namespace filing {

QString inboxPatternText() {
    return folders::PictureRoot + QStringLiteral("\\*.jpg;") + folders::PictureRoot +
           QStringLiteral("\\*.gif");
}

void firstFill(FileList& inbox, int& pageOffset, GridCells& cells) {
    cells.hideAll();
    for (int i = 0; i < kGridCells; ++i) {
        if (i >= inbox.count()) break;
        cells.load(i + 1, inbox.at(i));
    }
    pageOffset = 0;
    cells.setNextEnabled(true);
}

void nextPage(FileList& inbox, int& pageOffset, GridCells& cells) {
    cells.hideAll();
    pageOffset += kGridCells;
    const qsizetype count = inbox.count();
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype cellIndex = i - pageOffset;
        if (cellIndex >= 0 && cellIndex < kGridCells) cells.load(int(cellIndex) + 1, inbox.at(i));
    }
    if (!cells.isShown(kGridCells)) cells.setNextEnabled(false);
}

void takeFromInbox(FileList& inbox, int& pageOffset, const QString& name) {
    inbox.removeFirst(name);
    --pageOffset;
}

} // namespace filing
