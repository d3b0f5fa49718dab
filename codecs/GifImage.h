#pragma once

#include "codecs/Bitmap.h"
#include "codecs/Graphic.h"
#include "codecs/Stretch.h"

#include <QByteArray>
#include <QList>
#include <QRgb>
#include <QStringList>
#include <QVector>
#include <memory>
#include <optional>

// One extension block as found in the file, attached to the image block after it.
struct TGIFExtension {
    int label = 0;   // 0xF9 graphic control, 0xFE comment, 0xFF application, 0x01 plain text
    QByteArray data; // the sub-blocks joined, without their length bytes
};

enum class TGIFDisposal { dmNone, dmNoDisposal, dmBackground, dmPrevious, dmUndefined };

// One image block of a GIF file. Its bitmap is decoded from the compressed data on first use, at 1, 4
// or 8 bits per pixel after the size of its colour map.
class TGIFFrame {
public:
    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    bool interlaced() const { return interlaced_; }
    bool hasLocalColorMap() const { return localColorMap_; }
    // The frame's own colour map, else the file's global one, else black, white and grey levels.
    const QVector<QRgb>& colorMap() const { return colorMap_; }
    int bitsPerPixel() const;
    int minCodeSize() const { return minCodeSize_; }
    const QByteArray& compressedData() const { return compressed_; }
    const QList<TGIFExtension>& extensions() const { return extensions_; }

    // Set by a graphic control extension with its transparency flag on: the colour-map entry at its index.
    std::optional<QRgb> transparentColor() const { return transparentColor_; }
    int transparentIndex() const { return transparentIndex_; }
    int delay() const { return delay_; } // hundredths of a second
    TGIFDisposal disposal() const { return disposal_; }
    // Bad code size, a code past the table or a runaway code chain: decoded as far as it went.
    bool corrupted() const { return corrupted_; }

    // Decodes on first use; fails with "The picture is too large (...)" past the pixel limit.
    const TBitmap& bitmap();
    bool decoded() const { return bitmap_ != nullptr; }

private:
    friend class TGIFImage;
    void decode();

    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool interlaced_ = false;
    bool localColorMap_ = false;
    QVector<QRgb> colorMap_;
    int minCodeSize_ = 8;
    QByteArray compressed_;
    QList<TGIFExtension> extensions_;
    std::optional<QRgb> transparentColor_;
    int transparentIndex_ = -1;
    int delay_ = 0;
    TGIFDisposal disposal_ = TGIFDisposal::dmNone;
    bool corrupted_ = false;
    std::shared_ptr<TBitmap> bitmap_; // copies of a frame share the decoded pixels
};

// A GIF picture decoded by our own code (GIF87a and GIF89a). Frame 0 is decoded at load and is the one
// drawn; a frame's transparent colour leaves the destination unchanged while the transparent flag is on
// (it is on from creation).
class TGIFImage : public TGraphic {
public:
    TGIFImage();
    ~TGIFImage() override;

    QString className() const override { return QStringLiteral("TGIFImage"); }
    std::unique_ptr<TGraphic> clone() const override;
    void assign(const TGraphic& source) override;
    void draw(TCanvas& canvas, const QRect& rect) override;

    bool empty() const override { return current_ < 0; }
    int width() const override;
    int height() const override;
    // A GIF is not resized: fail with "Cannot change the size of a GIF image".
    void setWidth(int width) override;
    void setHeight(int height) override;

    // "Unknown GIF version" for a wrong signature or version, "Stream read error" when the file ends
    // inside its header, "The GIF file holds no image" when no image block begins.
    void loadFromBytes(const QByteArray& bytes) override;
    // The bytes it was loaded from; a changed GIF cannot be saved.
    QByteArray saveToBytes() override;

    // Appends a frame made from another picture and makes it current.
    int addFrame(const TGraphic& source);

    QString version() const { return version_; } // "87a" or "89a"
    int screenWidth() const { return screenWidth_; }
    int screenHeight() const { return screenHeight_; }
    std::optional<QRgb> backgroundColor() const { return background_; }
    int backgroundIndex() const { return backgroundIndex_; }
    const QVector<QRgb>& globalColorMap() const { return globalColorMap_; }
    const QStringList& comments() const { return comments_; }
    int frameCount() const { return int(frames_.size()); }
    TGIFFrame& frame(int index);
    int currentFrame() const { return current_; }

protected:
    void changed() override;

private:
    void changedContent();

    QByteArray file_; // as loaded; empty once changed
    QString version_;
    int screenWidth_ = 0;
    int screenHeight_ = 0;
    int backgroundIndex_ = 0;
    std::optional<QRgb> background_;
    QVector<QRgb> globalColorMap_;
    QStringList comments_;
    QList<TGIFFrame> frames_;
    int current_ = -1;
    codecs::StretchCache cache_;
};
