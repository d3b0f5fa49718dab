#include "filing/InboxGrid.h"

#include "app/WorkingFolders.h"

namespace filing {

QString inboxPatternText() {
    return folders::PictureRoot + QStringLiteral("\\*.jpg;") + folders::PictureRoot +
           QStringLiteral("\\*.gif");
}

namespace {

// The inbox entries that fall on the cells of the page starting at entry `pageOffset`, cell by cell.
QList<PageEntry> pageAt(FileList& inbox, int pageOffset) {
    QList<PageEntry> page;
    for (int cellIndex = 0; cellIndex < kGridCells; ++cellIndex) {
        const qint64 i = qint64(pageOffset) + cellIndex;
        if (i >= 0 && i < inbox.count()) page.append({cellIndex + 1, inbox.at(qsizetype(i))});
    }
    return page;
}

// Loads the page's cells in order; the first picture that fails ends the loading with its error.
void show(const QList<PageEntry>& page, GridCells& cells) {
    cells.prepare(page);
    for (const PageEntry& entry : page)
        cells.load(entry.cell, entry.name);
}

} // namespace

void firstFill(FileList& inbox, int& pageOffset, GridCells& cells) {
    cells.hideAll();
    show(pageAt(inbox, 0), cells);
    pageOffset = 0;
    cells.setNextEnabled(true);
}

void nextPage(FileList& inbox, int& pageOffset, GridCells& cells) {
    cells.hideAll();
    pageOffset += kGridCells;
    show(pageAt(inbox, pageOffset), cells);
    if (!cells.isShown(kGridCells)) cells.setNextEnabled(false);
}

void takeFromInbox(FileList& inbox, int& pageOffset, const QString& name) {
    inbox.removeFirst(name);
    --pageOffset;
}

} // namespace filing
