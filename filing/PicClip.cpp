#include "filing/PicClip.h"

#include "codecs/Canvas.h"
#include "platform/Error.h"

namespace {

const QColor kOlive(128, 128, 0);
const QColor kSilver(192, 192, 192);

} // namespace

TPicClip::TPicClip() : MaskColor(kOlive) {
    picture_.onChange = [this] { pictureChanged(); };
}

void TPicClip::pictureChanged() {
    const TBitmap* bitmap = picture_.bitmap();
    MaskColor = bitmap ? bitmap->transparentColor() : kOlive;
}

TBitmap& TPicClip::GraphicCell(int index) {
    if (index < 0 || index >= Cols * Rows)
        throw platform::Error(
            platform::formatMessage(QStringLiteral("List index out of bounds (%d)"), QString::number(index)));
    TGraphic* graphic = picture_.graphic();
    const int cellWidth = picture_.width() / Cols;
    const int cellHeight = picture_.height() / Rows;
    const int left = (index % Cols) * cellWidth;
    const int top = (index / Cols) * cellHeight;
    cell_.setTransparent(false);
    cell_.setSize(cellWidth, cellHeight);
    const QRect cellRect(0, 0, cellWidth, cellHeight);
    if (const TBitmap* bitmap = picture_.bitmap()) {
        cell_.canvas().copyRect(cellRect, bitmap->image(), QRect(left, top, cellWidth, cellHeight));
    } else {
        cell_.canvas().fillRect(cellRect, kSilver);
        cell_.canvas().draw(-left, -top, graphic);
    }
    cell_.setTransparentColor(MaskColor);
    cell_.setTransparent(Masked && MaskColor.isValid());
    return cell_;
}
