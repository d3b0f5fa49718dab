#pragma once

#include <QWidget>

// The upload progress window: above all other windows, no title-bar buttons, centred on the desktop.
class TCopyf : public QWidget {
    Q_OBJECT

public:
    explicit TCopyf(QWidget* parent = nullptr);
};
