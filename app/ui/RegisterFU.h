#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// The registration window: asks for the garage's name on the first start. No title-bar buttons; its
// button is the only way on.
class TRegisterf : public QWidget {
    Q_OBJECT

public:
    explicit TRegisterf(QWidget* parent = nullptr);

    // Stores the name as typed, makes the picture folder, says so, then runs the main window modally
    // and closes itself when the main window closes.
    void Button1Click();

    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;
};
