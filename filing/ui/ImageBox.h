#pragma once

#include "codecs/PictureHolder.h"

#include <QPoint>
#include <QWidget>
#include <functional>

class QMimeData;

// An image box: shows its picture stretched to fill the box, the aspect ratio not kept. A box marked as
// a drag source starts a drag with the left mouse button; a box given a drag-over test takes drops.
class TImage : public QWidget {
    Q_OBJECT

public:
    explicit TImage(QWidget* parent = nullptr);

    TPictureHolder Picture;

    void setDragSource(bool on) { dragSource_ = on; }
    bool dragSource() const { return dragSource_; }

    // Whether a drop of the dragged object would be taken; the box takes drops once this is set.
    void setOnDragOver(std::function<bool(QObject* source)> test);
    // Called with the dragged object once a drop that the drag-over test accepted has ended the drag.
    std::function<void(QObject* source)> onDragDrop;
    std::function<void()> onDblClick;

    // The drag's data names the box it came from; the box is looked up in the window of `within`. Data
    // from another process names none.
    static QMimeData* dragData(const TImage* source);
    static QObject* draggedObject(const QMimeData* data, const QWidget* within);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The dragged box when the drag-over test takes it, else null.
    QObject* acceptedSource(const QMimeData* data) const;

    bool dragSource_ = false;
    QPoint pressedAt_;
    bool pressed_ = false;
    std::function<bool(QObject*)> dragOver_;
};
