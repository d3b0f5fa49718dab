#pragma once

#include <QSize>
#include <QString>

class TPicClip;
class TPictureHolder;

namespace filing {

// Cuts of a scan that the grid shows as its top-left cell.
constexpr int kClipCols = 3;
constexpr int kClipRows = 6;

// Loads the inbox picture `name` the way a grid cell shows it in a box of `shownSize`: a scan (".GIF")
// into the cell cutter, of which a copy of cell 0 goes into `box`; any other picture whole into `box`.
// The picture is drawn once at that size, so that one whose pixels cannot be decoded fails here rather
// than leave the box blank when it paints; the box's painting then reuses what was decoded. Fails with
// the decoder's or the file system's message.
void loadCellPicture(const QString& name, TPicClip& clip, TPictureHolder& box, const QSize& shownSize);

} // namespace filing
