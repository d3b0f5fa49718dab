#pragma once

#include <QWidget>
#include <atomic>

class CopyAnimation;
class QLabel;
class QProgressBar;
class QPushButton;

// The upload progress window: above all other windows, no title-bar buttons, centred on the desktop.
// The bar counts files (maximum files + 1, one step per file) and also moves within the file being
// sent. Cancel asks the upload to stop after the block it is sending.
class TCopyf : public QWidget {
    Q_OBJECT

public:
    explicit TCopyf(QWidget* parent = nullptr);
    ~TCopyf() override;

    CopyAnimation* animation;  // Animate1
    QLabel* fileLabel;         // Label1: the file being sent
    QLabel* destinationLabel;  // Label2
    QProgressBar* progressBar; // ProgressBar1
    QPushButton* cancelButton; // Button1 "Cancel"

    // The bar in file steps.
    void setMaximum(int maximum);
    int maximum() const { return maximum_; }
    void stepIt();
    int position() const { return position_; }
    // How much of the file after `position` steps has gone.
    void setFileFraction(qint64 sent, qint64 size);

    // Shows the window for an upload: Cancel not pressed, the animation playing.
    void showForUpload();
    void closeAfterUpload();
    bool cancelRequested() const { return cancelRequested_; }
    void Button1Click();

private:
    void showBar(double fraction);

    int maximum_ = 100;
    int position_ = 0;
    std::atomic<bool> cancelRequested_{false};
};

// The window made at start-up; null before and after.
TCopyf* Copyf();
