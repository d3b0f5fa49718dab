#include "register/DateText.h"

#include <QStringList>

namespace reg {

QString dateText(const QDate& date) {
    return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : BlankDateText;
}

bool isBlankDateText(const QString& text) {
    for (QChar c : text)
        if (c != QLatin1Char('/') && !c.isSpace()) return false;
    return true;
}

namespace {

// A part of digits only, at least `least` and at most `most` of them; -1 otherwise.
int number(const QString& part, int least, int most) {
    const QString digits = part.trimmed();
    if (digits.size() < least || digits.size() > most) return -1;
    for (QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return -1;
    return digits.toInt();
}

} // namespace

QDate parseDateText(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() != 3) return {};
    const int day = number(parts[0], 1, 2);
    const int month = number(parts[1], 1, 2);
    const int year = number(parts[2], 4, 4);
    if (day < 0 || month < 0 || year < 0) return {};
    return QDate(year, month, day); // null when there is no such day
}

} // namespace reg
