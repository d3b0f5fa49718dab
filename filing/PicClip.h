#pragma once

#include "codecs/Bitmap.h"
#include "codecs/PictureHolder.h"

#include <QColor>

// The cell cutter: cuts its picture into Cols by Rows cells and hands out one cell at a time as a
// bitmap. The grid shows a scan through it as cell 0, the scan's top-left region.
class TPicClip {
public:
    TPicClip();
    TPicClip(const TPicClip&) = delete;
    TPicClip& operator=(const TPicClip&) = delete;

    TPictureHolder& Picture() { return picture_; }
    int Cols = 1;
    int Rows = 1;
    bool Masked = true;
    // The picture's own transparent colour when it is a bitmap, else olive; follows every change of the
    // picture.
    QColor MaskColor;

    // The cell `index`, counted row by row from 0: a bitmap of the picture's width div Cols by its height
    // div Rows. A bitmap picture is copied; any other is drawn at its own size over silver, so that its
    // transparent pixels leave silver. Pixels of the mask colour are marked transparent. The same bitmap
    // is reused for every cell handed out. Fails with "List index out of bounds (<index>)".
    TBitmap& GraphicCell(int index);

private:
    void pictureChanged();

    TPictureHolder picture_;
    TBitmap cell_;
};
