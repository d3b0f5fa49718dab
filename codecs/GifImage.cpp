#include "codecs/GifImage.h"

#include "codecs/Canvas.h"
#include "codecs/GifLzw.h"
#include "platform/Codepage874.h"
#include "platform/Error.h"

#include <cstring>
#include <vector>

namespace {

constexpr int kGraphicControlLabel = 0xF9;
constexpr int kCommentLabel = 0xFE;
// Only the first frame is ever shown; a file with more image blocks than this is read no further.
constexpr int kMaxFrames = 10000;

[[noreturn]] void streamReadError() {
    throw platform::Error(QStringLiteral("Stream read error"));
}

// Reads the file's bytes; running out is reported to the caller, never read past.
class GifReader {
public:
    explicit GifReader(const QByteArray& bytes)
        : data_(reinterpret_cast<const uchar*>(bytes.constData())), size_(bytes.size()) {}

    bool atEnd() const { return pos_ >= size_; }
    bool has(qsizetype n) const { return size_ - pos_ >= n; }
    int byte() { return data_[pos_++]; }
    int word() {
        const int value = data_[pos_] | (data_[pos_ + 1] << 8);
        pos_ += 2;
        return value;
    }
    // Reads a colour map of n entries; false when the data ends first.
    bool colorMap(int n, QVector<QRgb>& map) {
        if (!has(qsizetype(3) * n)) return false;
        map.resize(n);
        for (int i = 0; i < n; ++i, pos_ += 3)
            map[i] = qRgb(data_[pos_], data_[pos_ + 1], data_[pos_ + 2]);
        return true;
    }
    // Appends data sub-blocks up to the zero-length terminator, or up to the end of the data.
    void subBlocks(QByteArray& into) {
        while (pos_ < size_) {
            const int n = data_[pos_++];
            if (n == 0) return;
            const qsizetype take = qMin<qsizetype>(n, size_ - pos_);
            into.append(reinterpret_cast<const char*>(data_ + pos_), take);
            pos_ += take;
        }
    }

private:
    const uchar* data_;
    qsizetype size_;
    qsizetype pos_ = 0;
};

// Used when neither the frame nor the file has a colour map: black, white, then grey levels.
const QVector<QRgb>& defaultColorMap() {
    static const QVector<QRgb> map = [] {
        QVector<QRgb> m(256);
        for (int i = 0; i < 256; ++i)
            m[i] = qRgb(i, i, i);
        m[1] = qRgb(255, 255, 255);
        return m;
    }();
    return map;
}

void applyGraphicControl(const QByteArray& block, int& transparentIndex, int& delay, TGIFDisposal& disposal) {
    if (block.size() < 4) return;
    const auto* b = reinterpret_cast<const uchar*>(block.constData());
    const int method = (b[0] >> 2) & 7;
    disposal = method <= 3 ? TGIFDisposal(method) : TGIFDisposal::dmUndefined;
    delay = b[1] | (b[2] << 8);
    transparentIndex = (b[0] & 1) ? b[3] : -1;
}

void appendCommentLines(QStringList& comments, const QByteArray& text) {
    // Lines end in CR LF, CR or LF. No shared pattern object: pictures are decoded on several threads.
    QString lines = platform::cp874::decode(text);
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    comments += lines.split(QLatin1Char('\n'));
}

} // namespace

int TGIFFrame::bitsPerPixel() const {
    const qsizetype colours = colorMap_.size();
    return colours <= 2 ? 1 : colours <= 16 ? 4 : 8;
}

const TBitmap& TGIFFrame::bitmap() {
    if (!bitmap_) decode();
    return *bitmap_;
}

void TGIFFrame::decode() {
    codecs::checkPictureSize(width_, height_);
    const int bpp = bitsPerPixel();
    QVector<QRgb> table = colorMap_;
    table.resize(1 << bpp, qRgb(0, 0, 0));
    QImage image(width_, height_, QImage::Format_Indexed8);
    if (image.isNull() && width_ > 0 && height_ > 0)
        throw platform::Error(
            QStringLiteral("Not enough memory for a picture of %1 by %2 pixels").arg(width_).arg(height_));
    image.setColorTable(QList<QRgb>(table.begin(), table.end()));
    if (!image.isNull()) {
        const qsizetype count = qsizetype(width_) * height_;
        const auto* data = reinterpret_cast<const uchar*>(compressed_.constData());
        const uchar mask = uchar((1 << bpp) - 1);
        const bool direct = !interlaced_ && image.bytesPerLine() == width_;
        std::vector<uchar> linear;
        uchar* out = image.bits();
        if (!direct) {
            linear.assign(size_t(count), 0);
            out = linear.data();
        } else {
            std::memset(out, 0, size_t(count));
        }
        if (!codecs::gif::expandLzw(data, compressed_.size(), minCodeSize_, mask, out, count))
            corrupted_ = true;
        if (!direct) {
            // Interlaced rows arrive in four passes: every 8th from 0, every 8th from 4, every 4th from 2,
            // every 2nd from 1.
            static const int passStart[4] = {0, 4, 2, 1};
            static const int passStep[4] = {8, 8, 4, 2};
            int source = 0;
            const auto copyRow = [&](int row) {
                std::memcpy(image.scanLine(row), linear.data() + qsizetype(source++) * width_,
                            size_t(width_));
            };
            if (interlaced_) {
                for (int pass = 0; pass < 4; ++pass)
                    for (int row = passStart[pass]; row < height_; row += passStep[pass])
                        copyRow(row);
            } else {
                for (int row = 0; row < height_; ++row)
                    copyRow(row);
            }
        }
    }
    auto bitmap = std::make_shared<TBitmap>(image);
    if (transparentColor_) bitmap->setTransparentColor(QColor::fromRgb(*transparentColor_));
    bitmap_ = bitmap;
}

TGIFImage::TGIFImage() {
    setTransparent(true);
}

TGIFImage::~TGIFImage() = default;

std::unique_ptr<TGraphic> TGIFImage::clone() const {
    auto copy = std::make_unique<TGIFImage>();
    copy->assign(*this);
    return copy;
}

void TGIFImage::assign(const TGraphic& source) {
    const auto* gif = dynamic_cast<const TGIFImage*>(&source);
    if (!gif) return TGraphic::assign(source);
    if (gif == this) return;
    file_ = gif->file_;
    version_ = gif->version_;
    screenWidth_ = gif->screenWidth_;
    screenHeight_ = gif->screenHeight_;
    backgroundIndex_ = gif->backgroundIndex_;
    background_ = gif->background_;
    globalColorMap_ = gif->globalColorMap_;
    comments_ = gif->comments_;
    frames_ = gif->frames_;
    current_ = gif->current_;
    if (transparent() != gif->transparent()) setTransparent(gif->transparent());
    changed();
}

void TGIFImage::draw(TCanvas& canvas, const QRect& rect) {
    if (current_ < 0) return;
    TGIFFrame& shown = frames_[current_];
    codecs::DrawSource source;
    source.image = shown.bitmap().image();
    if (transparent() && shown.transparentColor()) {
        source.keyed = true;
        source.keyColor = *shown.transparentColor();
    }
    canvas.stretchImage(rect, source, &cache_);
}

int TGIFImage::width() const {
    if (current_ < 0) return 0;
    const TGIFFrame& shown = frames_[current_];
    return shown.bitmap_ ? shown.bitmap_->width() : shown.width();
}

int TGIFImage::height() const {
    if (current_ < 0) return 0;
    const TGIFFrame& shown = frames_[current_];
    return shown.bitmap_ ? shown.bitmap_->height() : shown.height();
}

void TGIFImage::setWidth(int) {
    throw platform::Error(QStringLiteral("Cannot change the size of a GIF image"));
}

void TGIFImage::setHeight(int) {
    throw platform::Error(QStringLiteral("Cannot change the size of a GIF image"));
}

void TGIFImage::loadFromBytes(const QByteArray& bytes) {
    GifReader in(bytes);
    if (!in.has(6) || QByteArray(bytes.constData(), 3).toUpper() != "GIF")
        throw platform::Error(QStringLiteral("Unknown GIF version"));
    in.byte(), in.byte(), in.byte();
    const QByteArray version(bytes.constData() + 3, 3);
    if (version != "87a" && version != "89a") throw platform::Error(QStringLiteral("Unknown GIF version"));
    in.byte(), in.byte(), in.byte();

    if (!in.has(7)) streamReadError();
    const int screenWidth = in.word();
    const int screenHeight = in.word();
    const int packed = in.byte();
    const int backgroundIndex = in.byte();
    in.byte(); // aspect ratio
    QVector<QRgb> globalMap;
    if ((packed & 0x80) && !in.colorMap(1 << ((packed & 7) + 1), globalMap)) streamReadError();

    QStringList comments;
    QList<TGIFFrame> frames;
    QList<TGIFExtension> pending;
    while (!in.atEnd() && frames.size() < kMaxFrames) {
        const int introducer = in.byte();
        if (introducer == ';') break;
        if (introducer == '!') {
            if (in.atEnd()) break;
            TGIFExtension extension;
            extension.label = in.byte();
            in.subBlocks(extension.data);
            if (extension.label == kCommentLabel) appendCommentLines(comments, extension.data);
            pending.append(extension);
            continue;
        }
        if (introducer != ',') break; // not a block: the rest is not GIF data
        if (!in.has(9)) break;
        TGIFFrame frame;
        frame.left_ = in.word();
        frame.top_ = in.word();
        frame.width_ = in.word();
        frame.height_ = in.word();
        const int imagePacked = in.byte();
        if (frame.width_ == 0) frame.width_ = screenWidth;
        if (frame.height_ == 0) frame.height_ = screenHeight;
        frame.interlaced_ = (imagePacked & 0x40) != 0;
        frame.localColorMap_ = (imagePacked & 0x80) != 0;
        if (frame.localColorMap_) {
            if (!in.colorMap(1 << ((imagePacked & 7) + 1), frame.colorMap_)) break;
        } else {
            frame.colorMap_ = globalMap.isEmpty() ? defaultColorMap() : globalMap;
        }
        if (in.atEnd()) break;
        int minCodeSize = in.byte();
        if (minCodeSize < 2 || minCodeSize > 9) {
            minCodeSize = qBound(2, minCodeSize, 9);
            frame.corrupted_ = true;
        }
        frame.minCodeSize_ = minCodeSize;
        in.subBlocks(frame.compressed_);

        for (const TGIFExtension& extension : pending) {
            if (extension.label != kGraphicControlLabel) continue;
            applyGraphicControl(extension.data, frame.transparentIndex_, frame.delay_, frame.disposal_);
        }
        if (frame.transparentIndex_ >= 0 && frame.transparentIndex_ < frame.colorMap_.size())
            frame.transparentColor_ = frame.colorMap_[frame.transparentIndex_];
        frame.extensions_ = pending;
        pending.clear();
        frames.append(frame);
    }
    if (frames.isEmpty()) throw platform::Error(QStringLiteral("The GIF file holds no image"));

    // Frame 0 is decoded now: a picture that cannot show its first frame is not loaded.
    frames[0].decode();

    file_ = bytes;
    version_ = QString::fromLatin1(version);
    screenWidth_ = screenWidth;
    screenHeight_ = screenHeight;
    backgroundIndex_ = backgroundIndex;
    globalColorMap_ = globalMap;
    background_.reset();
    if (backgroundIndex < globalMap.size()) background_ = globalMap[backgroundIndex];
    comments_ = comments;
    frames_ = frames;
    current_ = 0;
    changed();
}

QByteArray TGIFImage::saveToBytes() {
    if (file_.isEmpty() && !frames_.isEmpty())
        throw platform::Error(QStringLiteral("A GIF image that was changed cannot be saved"));
    return file_;
}

int TGIFImage::addFrame(const TGraphic& source) {
    TGIFFrame frame;
    if (const auto* gif = dynamic_cast<const TGIFImage*>(&source)) {
        if (gif->empty()) return current_;
        frame = gif->frames_[gif->current_];
        frame.bitmap();
    } else {
        auto bitmap = std::make_shared<TBitmap>();
        bitmap->assign(source);
        frame.width_ = bitmap->width();
        frame.height_ = bitmap->height();
        frame.colorMap_ = bitmap->image().colorTable();
        frame.bitmap_ = bitmap;
    }
    frames_.append(frame);
    current_ = int(frames_.size()) - 1;
    changedContent();
    return current_;
}

TGIFFrame& TGIFImage::frame(int index) {
    if (index < 0 || index >= frames_.size())
        throw platform::Error(
            platform::formatMessage(QStringLiteral("List index out of bounds (%d)"), QString::number(index)));
    return frames_[index];
}

void TGIFImage::changedContent() {
    file_.clear();
    changed();
}

void TGIFImage::changed() {
    cache_.clear();
    TGraphic::changed();
}
