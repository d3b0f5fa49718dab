#include "filing/Category.h"

#include "filing/Messages.h"

namespace filing {

SequenceRange rangeOf(PictureCategory category) {
    switch (category) {
    case PictureCategory::BeforeRepair:
        return {1, 299};
    case PictureCategory::DuringRepair:
        return {300, 499};
    case PictureCategory::AfterRepair:
        return {500, 799};
    case PictureCategory::Document:
        break;
    }
    return {800, 999};
}

QString labelOf(PictureCategory category) {
    switch (category) {
    case PictureCategory::BeforeRepair:
        return QStringLiteral("ก่อนซ่อม");
    case PictureCategory::DuringRepair:
        return QStringLiteral("ระหว่างซ่อม");
    case PictureCategory::AfterRepair:
        return QStringLiteral("หลังซ่อม");
    case PictureCategory::Document:
        break;
    }
    return QStringLiteral("เอกสาร");
}

QString kindRefusal(PictureCategory category, const QString& pictureName) {
    const QString extension = pictureName.right(4).toUpper();
    if (category == PictureCategory::Document)
        return extension == QLatin1String(".JPG") ? messages::DocumentsOnly : QString();
    return extension == QLatin1String(".GIF") ? messages::PhotographsOnly : QString();
}

bool categoryFromWord(const QString& word, PictureCategory* category) {
    static const struct {
        const char* word;
        PictureCategory category;
    } words[] = {{"before", PictureCategory::BeforeRepair},
                 {"during", PictureCategory::DuringRepair},
                 {"after", PictureCategory::AfterRepair},
                 {"document", PictureCategory::Document}};
    for (const auto& entry : words) {
        if (word == QLatin1String(entry.word)) {
            *category = entry.category;
            return true;
        }
    }
    return false;
}

} // namespace filing
