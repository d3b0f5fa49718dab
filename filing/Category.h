#pragma once

#include <QString>

namespace filing {

enum class PictureCategory { BeforeRepair, DuringRepair, AfterRepair, Document };

struct SequenceRange {
    int low;
    int high;
};

SequenceRange rangeOf(PictureCategory category);
// The label of the category's drop target ("ก่อนซ่อม", ...).
QString labelOf(PictureCategory category);
// The message refusing a picture of the wrong kind for the category (a scan on a photograph
// category, a photograph on Document), or an empty text when the picture fits.
QString kindRefusal(PictureCategory category, const QString& pictureName);

// "before", "during", "after" or "document", as vorlex-cli names the categories.
bool categoryFromWord(const QString& word, PictureCategory* category);

} // namespace filing
