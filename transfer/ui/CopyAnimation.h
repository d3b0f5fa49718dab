#pragma once

#include <QTimer>
#include <QWidget>

// A sheet of paper flying from one folder to another, frames 1 to 34 over and over while it plays;
// drawn here, not taken from the platform.
class CopyAnimation : public QWidget {
    Q_OBJECT

public:
    static constexpr int FirstFrame = 1;
    static constexpr int LastFrame = 34;

    explicit CopyAnimation(QWidget* parent = nullptr);
    void play();
    void stop();
    bool playing() const { return timer_.isActive(); }
    int frame() const { return frame_; }
    QSize sizeHint() const override { return {272, 60}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void advance();
    QTimer timer_;
    int frame_ = FirstFrame;
};
