#pragma once

#include <QList>
#include <QSize>
#include <QString>
#include <exception>
#include <memory>
#include <vector>

class TGraphic;
class TPicClip;
class TPictureHolder;

namespace filing {

// Cuts of a scan that the grid shows as its top-left cell.
constexpr int kClipCols = 3;
constexpr int kClipRows = 6;

// One inbox picture to be shown in a grid cell: its name, the cuts of the cell's cutter and the size of
// the cell's image box. Another page's cells give the picture's full path, and show scans whole.
struct CellPictureRequest {
    QString name;
    QString path;         // empty: the inbox picture `name`
    bool cutScans = true; // false: a scan goes whole into the box, like any other picture
    int clipCols = kClipCols;
    int clipRows = kClipRows;
    bool clipMasked = true;
    QSize shownSize;
};

// The request for showing `name` in the cell that has the cutter `clip` and a box of `shownSize`.
CellPictureRequest cellPictureRequest(const QString& name, const TPicClip& clip, const QSize& shownSize);

// An inbox picture read and decoded for its cell, not yet put into the cell: what loading it into the
// cell's cutter and box would leave there, and the error that stopped the loading.
struct PreparedCellPicture {
    bool ready = false;                    // false: not prepared at all
    std::unique_ptr<TGraphic> clipPicture; // the scan for the cutter; null for a photograph or unread scan
    std::unique_ptr<TGraphic> boxPicture;  // null when the picture could not be read
    std::exception_ptr error;              // null when the picture is ready to be shown
};

// Reads the file and decodes the picture as its cell shows it, drawing it once at the box's size.
// Touches no window and no shared state: safe on any thread, for distinct requests at the same time.
// Failures are kept in the result, never thrown.
PreparedCellPicture prepareCellPicture(const CellPictureRequest& request);

// Prepares the pictures of a page on all cores and gives them back in the order asked. Once a picture
// fails, the pictures after it are no longer started: those not started are left not ready.
std::vector<PreparedCellPicture> prepareCellPictures(const QList<CellPictureRequest>& requests);

// Puts a prepared picture into its cell's cutter and box, as far as its loading went, then throws its
// error if it has one. Runs on the window's thread.
void applyCellPicture(PreparedCellPicture prepared, TPicClip& clip, TPictureHolder& box);

// Loads the inbox picture `name` the way a grid cell shows it in a box of `shownSize`: a scan (".GIF")
// into the cell cutter, of which a copy of cell 0 goes into `box`; any other picture whole into `box`.
// The picture is drawn once at that size, so that one whose pixels cannot be decoded fails here rather
// than leave the box blank when it paints; the box's painting then reuses what was decoded. Fails with
// the decoder's or the file system's message.
void loadCellPicture(const QString& name, TPicClip& clip, TPictureHolder& box, const QSize& shownSize);

} // namespace filing
