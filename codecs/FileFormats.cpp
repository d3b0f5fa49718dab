#include "codecs/FileFormats.h"

#include "codecs/Bitmap.h"
#include "codecs/GifImage.h"
#include "codecs/JpegImage.h"
#include "platform/Error.h"

namespace {

// Metafiles, icons and the platform's own picture kind are known by extension only; none of them is
// ever loaded.
class TUnloadableGraphic : public TGraphic {
public:
    TUnloadableGraphic(QString className, QString description)
        : className_(std::move(className)), description_(std::move(description)) {}

    QString className() const override { return className_; }
    std::unique_ptr<TGraphic> clone() const override {
        return std::make_unique<TUnloadableGraphic>(className_, description_);
    }
    void draw(TCanvas&, const QRect&) override {}
    int width() const override { return 0; }
    int height() const override { return 0; }
    void setWidth(int) override {}
    void setHeight(int) override {}
    void loadFromBytes(const QByteArray&) override {
        throw platform::Error(QStringLiteral("%1 cannot be loaded").arg(description_));
    }
    QByteArray saveToBytes() override { return QByteArray(); }

private:
    QString className_;
    QString description_;
};

std::function<std::unique_ptr<TGraphic>()> unloadable(const QString& className, const QString& description) {
    return [className, description] { return std::make_unique<TUnloadableGraphic>(className, description); };
}

} // namespace

TFileFormatsList::TFileFormatsList() {
    add(QStringLiteral("wmf"), QStringLiteral("Metafiles"), QStringLiteral("TMetafile"),
        unloadable(QStringLiteral("TMetafile"), QStringLiteral("Metafiles")));
    add(QStringLiteral("emf"), QStringLiteral("Enhanced Metafiles"), QStringLiteral("TMetafile"),
        unloadable(QStringLiteral("TMetafile"), QStringLiteral("Enhanced Metafiles")));
    add(QStringLiteral("ico"), QStringLiteral("Icons"), QStringLiteral("TIcon"),
        unloadable(QStringLiteral("TIcon"), QStringLiteral("Icons")));
    add(QStringLiteral("bmp"), QStringLiteral("Bitmaps"), QStringLiteral("TBitmap"),
        [] { return std::make_unique<TBitmap>(); });
    add(QStringLiteral("jpeg"), QStringLiteral("JPEG Image File"), QStringLiteral("TJPEGImage"),
        [] { return std::make_unique<TJPEGImage>(); });
    add(QStringLiteral("jpg"), QStringLiteral("JPEG Image File"), QStringLiteral("TJPEGImage"),
        [] { return std::make_unique<TJPEGImage>(); });
    add(QStringLiteral("gif"), QStringLiteral("CompuServe GIF Image"), QStringLiteral("TGIFImage"),
        [] { return std::make_unique<TGIFImage>(); });
    add(QString(), QStringLiteral("Platform pictures"), QStringLiteral("TPlatformPicture"),
        unloadable(QStringLiteral("TPlatformPicture"), QStringLiteral("Platform pictures")));
}

void TFileFormatsList::add(const QString& extension, const QString& description, const QString& className,
                           std::function<std::unique_ptr<TGraphic>()> create) {
    entries_.append(TFileFormat{extension.toLower(), description, className, std::move(create)});
}

const TFileFormat* TFileFormatsList::find(const QString& extension) const {
    const QString wanted = extension.toLower();
    for (qsizetype i = entries_.size() - 1; i >= 0; --i)
        if (entries_[i].extension == wanted) return &entries_[i];
    return nullptr;
}

TFileFormatsList& fileFormats() {
    static TFileFormatsList list;
    return list;
}

QString pictureExtension(const QString& path) {
    const qsizetype slash = qMax(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot <= slash) return QString();
    return path.mid(dot + 1).toLower();
}
