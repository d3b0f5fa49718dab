#include "register/Statement.h"

#include <QDate>
#include <QDateTime>
#include <QRegularExpression>

namespace reg::statement {

QString translate(const QStringList& lines) {
    QString text = lines.join('\n');
    static const QRegularExpression selectList(
        QStringLiteral("^\\s*select\\s+(?:distinct\\s+)?(.*?)\\s+from\\s"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch list = selectList.match(text);
    if (!list.hasMatch()) return text;
    static const QRegularExpression aggregate(
        QStringLiteral("\\b(max|min|sum|avg|count)\\s*\\(\\s*(\\w+)\\s*\\)(?!\\s*as\\b)"),
        QRegularExpression::CaseInsensitiveOption);
    QString columns = list.captured(1);
    QString named;
    qsizetype last = 0;
    for (auto it = aggregate.globalMatch(columns); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        named += columns.mid(last, m.capturedEnd() - last);
        named += QStringLiteral(" AS \"%1 OF %2\"").arg(m.captured(1).toUpper(), m.captured(2));
        last = m.capturedEnd();
    }
    named += columns.mid(last);
    return text.replace(list.capturedStart(1), list.capturedLength(1), named);
}

QVariant parameter(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QDate:
        return storedDay(value.toDate());
    case QMetaType::QDateTime:
        return storedDay(value.toDateTime().date());
    case QMetaType::Bool:
        return value.toBool() ? 1 : 0;
    default:
        return value;
    }
}

QDate dayOf(const QVariant& stored) {
    if (stored.isNull()) return QDate();
    return QDate::fromString(stored.toString(), Qt::ISODate);
}

QVariant storedDay(const QDate& day) {
    if (!day.isValid()) return QVariant(QMetaType(QMetaType::QString));
    return day.toString(Qt::ISODate);
}

} // namespace reg::statement
