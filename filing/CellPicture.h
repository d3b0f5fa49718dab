#pragma once

#include <QString>

class TPicClip;
class TPictureHolder;

namespace filing {

// Cuts of a scan that the grid shows as its top-left cell.
constexpr int kClipCols = 3;
constexpr int kClipRows = 6;

// Loads the inbox picture `name` the way a grid cell shows it: a scan (".GIF") into the cell cutter,
// of which a copy of cell 0 goes into `box`; any other picture whole into `box`. Fails with the
// decoder's or the file system's message, `box` keeping what it held.
void loadCellPicture(const QString& name, TPicClip& clip, TPictureHolder& box);

} // namespace filing
