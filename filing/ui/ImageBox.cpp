#include "filing/ui/ImageBox.h"

#include "codecs/Canvas.h"
#include "platform/MessageService.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace {

const QString kMimeType = QStringLiteral("application/x-vorlex-image-box");

// The drag names its box together with the process it comes from: a box of the same name in another
// running copy of the program shows some other picture.
QString dragText(const QString& boxName, qint64 process) {
    return QString::number(process) + ' ' + boxName;
}

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
    data->setData(kMimeType, dragText(source->objectName(), QCoreApplication::applicationPid()).toUtf8());
    return data;
}

QObject* TImage::draggedObject(const QMimeData* data, const QWidget* within) {
    if (!data || !data->hasFormat(kMimeType) || !within) return nullptr;
    const QString text = QString::fromUtf8(data->data(kMimeType));
    const QString ownPrefix = dragText(QString(), QCoreApplication::applicationPid());
    if (!text.startsWith(ownPrefix) || text.size() == ownPrefix.size()) return nullptr;
    return within->window()->findChild<TImage*>(text.mid(ownPrefix.size()));
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

QObject* TImage::acceptedSource(const QMimeData* data) const {
    QObject* source = draggedObject(data, this);
    return dragOver_ && dragOver_(source) ? source : nullptr;
}

void TImage::dragEnterEvent(QDragEnterEvent* event) {
    if (acceptedSource(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TImage::dragMoveEvent(QDragMoveEvent* event) {
    if (acceptedSource(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TImage::dropEvent(QDropEvent* event) {
    QObject* source = acceptedSource(event->mimeData());
    if (!source) {
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
