#include "filing/ui/ImageBox.h"

#include "codecs/Canvas.h"
#include "platform/MessageService.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace {

const QString kMimeType = QStringLiteral("application/x-vorlex-image-box");

} // namespace

TImage::TImage(QWidget* parent) : QWidget(parent) {
    Picture.onChange = [this] { update(); };
}

void TImage::setOnDragOver(std::function<bool(QObject*)> test) {
    dragOver_ = std::move(test);
    setAcceptDrops(bool(dragOver_));
}

QMimeData* TImage::dragData(const TImage* source) {
    auto* data = new QMimeData;
    data->setData(kMimeType, source->objectName().toUtf8());
    return data;
}

QObject* TImage::draggedObject(const QMimeData* data, const QWidget* within) {
    if (!data || !data->hasFormat(kMimeType) || !within) return nullptr;
    const QString name = QString::fromUtf8(data->data(kMimeType));
    if (name.isEmpty()) return nullptr;
    return within->window()->findChild<TImage*>(name);
}

void TImage::paintEvent(QPaintEvent*) {
    TGraphic* graphic = Picture.graphic();
    if (!graphic || graphic->empty()) return;
    QPainter painter(this);
    TCanvas canvas(painter);
    // A picture that cannot be drawn leaves the box empty; loading already reported what was wrong.
    try {
        canvas.stretchDraw(rect(), graphic);
    } catch (const std::exception&) {
    }
}

void TImage::mousePressEvent(QMouseEvent* event) {
    pressed_ = dragSource_ && event->button() == Qt::LeftButton;
    pressedAt_ = event->position().toPoint();
    QWidget::mousePressEvent(event);
}

void TImage::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_ || !(event->buttons() & Qt::LeftButton)) return;
    if ((event->position().toPoint() - pressedAt_).manhattanLength() < QApplication::startDragDistance())
        return;
    pressed_ = false;
    auto* drag = new QDrag(this);
    drag->setMimeData(dragData(this));
    drag->exec(Qt::MoveAction);
}

void TImage::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && onDblClick) platform::handleErrors(onDblClick);
}

bool TImage::accepts(const QMimeData* data) const {
    if (!dragOver_) return false;
    return dragOver_(draggedObject(data, this));
}

void TImage::dragEnterEvent(QDragEnterEvent* event) {
    if (accepts(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TImage::dragMoveEvent(QDragMoveEvent* event) {
    if (accepts(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TImage::dropEvent(QDropEvent* event) {
    QObject* source = draggedObject(event->mimeData(), this);
    if (!accepts(event->mimeData())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Filing asks questions in modal boxes: it runs once the drag has ended, not inside it.
    QMetaObject::invokeMethod(
        this,
        [this, dragged = QPointer<QObject>(source)] {
            if (onDragDrop && dragged) onDragDrop(dragged);
        },
        Qt::QueuedConnection);
}
