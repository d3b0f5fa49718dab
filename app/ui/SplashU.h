#pragma once

#include <QWidget>

class QFrame;
class QLabel;

// Text drawn transparently with a 3-D extrusion: copies of the text stepped down and to the right,
// fading from a dark shade of the text's colour next to it to the button-face colour at the back.
class ExtrudedLabel : public QWidget {
    Q_OBJECT

public:
    ExtrudedLabel(const QString& text, const QFont& font, const QColor& colour, int depth, QWidget* parent);
    QString text() const { return text_; }
    QColor colour() const { return colour_; }
    int depth() const { return depth_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    QColor colour_;
    int depth_;
};

// The splash window: no border and no caption, centred on the desktop, the car picture under the
// company's and the product's names.
class TSplash : public QWidget {
    Q_OBJECT

public:
    explicit TSplash(QWidget* parent = nullptr);

    // Shows the window and paints it once, waiting at most `waitMs` for the window system to map it.
    void showAndPaint(int waitMs = 2000);

    QFrame* Panel1;
    QLabel* Image1;
    ExtrudedLabel* Label1; // "บริษัท Qorvane จำกัด"
    ExtrudedLabel* Label2; // "VORLEX"
    QFrame* Bevel1;
};
