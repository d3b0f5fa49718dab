#pragma once

#include <QWidget>

// The archive progress window, shown around each archive job of the transfer run.
class TZipf : public QWidget {
    Q_OBJECT

public:
    explicit TZipf(QWidget* parent = nullptr);
};
