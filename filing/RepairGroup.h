#pragma once

#include "app/FileList.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace filing {

// Characters 9 to 11 of each name (fewer, or none, for a shorter name), in list order: the sequence
// fields of a claim folder's filed pictures.
QStringList sequenceFields(const QStringList& claimFolderNames);

// A text holding a decimal integer (optional sign, digits only); anything else fails with
// "'<text>' is not a valid integer value".
int decimalValue(const QString& text);

// The next sequence number of the range low..high: one more than the highest number of the range among
// the fields, or low when the range has none, as three digits with leading zeros. Free numbers below
// the highest are never reused. Gives nothing when the range's last number is taken. Fails like
// decimalValue on the first field that is not a decimal number.
std::optional<QString> repairGroup(const QStringList& numberFields, int low, int high);

// The same over a claim folder list as it stands: the number list is filled with its sequence fields.
std::optional<QString> repairGroup(FileList& claimFolderList, QStringList& numberList, int low, int high);

} // namespace filing
