#pragma once

#include "app/FileList.h"

#include <QList>
#include <QString>

// The paging of the inbox grid: which inbox entry each of the nine cells shows. The window supplies
// the cells; this decides what goes where and when the Next button is usable.
namespace filing {

constexpr int kGridCells = 9;

// "c:\picture\*.jpg;c:\picture\*.gif"
QString inboxPatternText();

// An inbox picture meant for a cell of the page: cell 1..9 and the picture's name.
struct PageEntry {
    int cell;
    QString name;
    bool operator==(const PageEntry&) const = default;
};

class GridCells {
public:
    virtual ~GridCells() = default;
    virtual void hideAll() = 0;
    // Told every cell that the page will load, in the order of the loads, before the first load: the
    // cells may read and decode all of them at once. The loads still decide what is shown.
    virtual void prepare(const QList<PageEntry>& page) { Q_UNUSED(page); }
    // Loads inbox picture `name` into cell 1..9 and shows the cell; fails when the picture cannot be
    // loaded, leaving the cell hidden.
    virtual void load(int cell, const QString& name) = 0;
    virtual bool isShown(int cell) const = 0;
    virtual void setNextEnabled(bool enabled) = 0;
};

// Hides the grid and shows inbox entries 0 to 8 in cells 1 to 9, then sets the page offset to 0 and
// enables Next. A picture that fails to load ends the fill there, offset and Next untouched.
void firstFill(FileList& inbox, int& pageOffset, GridCells& cells);

// Next: hides the grid, moves the offset on by 9 and shows the entries of that page; disables Next
// when cell 9 stays empty. A picture that fails to load ends the press there, Next still enabled.
void nextPage(FileList& inbox, int& pageOffset, GridCells& cells);

// A picture taken from the grid to be filed: its name leaves the list and the offset goes down by 1,
// so that the next page starts at the first picture not yet shown.
void takeFromInbox(FileList& inbox, int& pageOffset, const QString& name);

} // namespace filing
