#pragma once

#include <QColor>
#include <QLabel>
#include <functional>

// A panel with a lowered bevel carrying one line of centred text: the name bars under the grid's
// pictures and the labels beside the category targets.
class TPanel : public QLabel {
    Q_OBJECT

public:
    explicit TPanel(QWidget* parent = nullptr);

    void setColours(const QColor& background, const QColor& text);
    void setTextPixels(int pixels);

    std::function<void()> onDblClick;

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
