#include "filing/RepairGroup.h"

#include "filing/Messages.h"
#include "platform/Error.h"

namespace filing {

QStringList sequenceFields(const QStringList& claimFolderNames) {
    QStringList fields;
    fields.reserve(claimFolderNames.size());
    for (const QString& name : claimFolderNames)
        fields.append(name.mid(8, 3));
    return fields;
}

int decimalValue(const QString& text) {
    qsizetype at = 0;
    if (at < text.size() && (text.at(at) == '+' || text.at(at) == '-')) ++at;
    bool digits = at < text.size();
    for (qsizetype i = at; i < text.size(); ++i)
        if (text.at(i) < '0' || text.at(i) > '9') digits = false;
    bool ok = false;
    const int value = digits ? text.toInt(&ok, 10) : 0;
    if (!ok) throw platform::Error(platform::formatMessage(messages::NotAnInteger, text));
    return value;
}

std::optional<QString> repairGroup(const QStringList& numberFields, int low, int high) {
    int highest = 0;
    for (const QString& field : numberFields) {
        const int value = decimalValue(field);
        if (value >= low && value <= high && value > highest) highest = value;
    }
    const int next = highest == 0 ? low : highest + 1;
    if (next > high) return std::nullopt;
    return QStringLiteral("%1").arg(next, 3, 10, QLatin1Char('0'));
}

std::optional<QString> repairGroup(FileList& claimFolderList, QStringList& numberList, int low, int high) {
    numberList = sequenceFields(claimFolderList.items());
    return repairGroup(numberList, low, high);
}

} // namespace filing
