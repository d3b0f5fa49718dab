#pragma once

#include <QWidget>

// The report window of the print preview. It is never shown itself: each preview makes its own and
// destroys it afterwards; the one made at start-up stays unused.
class TPreview : public QWidget {
    Q_OBJECT

public:
    explicit TPreview(QWidget* parent = nullptr);
};
