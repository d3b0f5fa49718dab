#pragma once

#include "archive/Zip.h"

#include <QWidget>

class QLabel;
class QProgressBar;

// The archive progress window, shown around each archive job of the transfer run. It owns the run's
// archive component: a label names the file the component begins, the bar shows the whole job's
// percentage at each report.
class TZipf : public QWidget {
    Q_OBJECT

public:
    explicit TZipf(QWidget* parent = nullptr);
    ~TZipf() override;

    archive::TZip Zip1;
    QLabel* fileLabel;         // Label1
    QProgressBar* progressBar; // ProgressBar1

    void Zip1Begin(const QString& fileName);
    void Zip1Progress(int byArchive);
};

// The window made at start-up; null before and after.
TZipf* Zipf();
