#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The dial-up status window. Made at start-up and never shown: nothing in the program dials.
class TConnect : public QWidget {
    Q_OBJECT

public:
    explicit TConnect(QWidget* parent = nullptr);

    QLabel* Label1;
    // "Cancel": hangs the line up; with no line ever open, that only closes the window.
    QPushButton* Button1;
};
