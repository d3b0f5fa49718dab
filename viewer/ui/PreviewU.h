#pragma once

#include "codecs/PictureHolder.h"
#include "viewer/ReportPage.h"

#include <QPointer>
#include <QWidget>

#include "viewer/ui/PreviewWindow.h"

// The report window of the print preview: the A4 page of one picture, its one band and the report image
// in it. It is never shown itself: each preview makes its own and destroys it afterwards; the one made
// at start-up stays unused.
class TPreview : public QWidget {
    Q_OBJECT

public:
    explicit TPreview(QWidget* parent = nullptr);
    ~TPreview() override;

    TPictureHolder QRImage1; // the report image
    // The report image's height in screen pixels: 1024 for a document scan, 540 for a photograph.
    int imageHeight() const { return imageHeight_; }
    void setImageHeight(int pixels) { imageHeight_ = pixels; }

    // Generates the page and shows it in a preview window; returns once that window is closed. The
    // program's other windows take input meanwhile. A picture whose pixels cannot be decoded fails here,
    // before any window shows.
    void Preview();
    // The preview window while Preview runs, else null.
    PreviewWindow* previewWindow() const { return window_; }

private:
    int imageHeight_ = viewer::kPhotographHeightPixels;
    QPointer<PreviewWindow> window_;
};
