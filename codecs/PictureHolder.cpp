#include "codecs/PictureHolder.h"

#include "codecs/Bitmap.h"
#include "codecs/FileFormats.h"
#include "platform/Error.h"

TPictureHolder::TPictureHolder() = default;

TPictureHolder::~TPictureHolder() = default;

void TPictureHolder::loadFromFile(const QString& path) {
    const QString extension = pictureExtension(path);
    const TFileFormat* format = fileFormats().find(extension);
    if (!format)
        throw platform::Error(
            platform::formatMessage(QStringLiteral("Unknown picture file extension (.%s)"), extension));
    std::unique_ptr<TGraphic> loaded = format->create();
    loaded->loadFromFile(path);
    install(std::move(loaded));
}

void TPictureHolder::saveToFile(const QString& path) const {
    if (graphic_) graphic_->saveToFile(path);
}

TBitmap* TPictureHolder::bitmap() const {
    return dynamic_cast<TBitmap*>(graphic_.get());
}

void TPictureHolder::assign(const TGraphic* graphic) {
    install(graphic ? graphic->clone() : nullptr);
}

void TPictureHolder::setGraphic(std::unique_ptr<TGraphic> graphic) {
    install(std::move(graphic));
}

std::unique_ptr<TGraphic> TPictureHolder::release() {
    std::unique_ptr<TGraphic> released = std::move(graphic_);
    if (released) released->onChange = nullptr;
    if (onChange) onChange();
    return released;
}

int TPictureHolder::width() const {
    return graphic_ ? graphic_->width() : 0;
}

int TPictureHolder::height() const {
    return graphic_ ? graphic_->height() : 0;
}

void TPictureHolder::install(std::unique_ptr<TGraphic> graphic) {
    graphic_ = std::move(graphic);
    if (graphic_)
        graphic_->onChange = [this] {
            if (onChange) onChange();
        };
    if (onChange) onChange();
}
