#include "register/SearchStatement.h"

#include <QLocale>

namespace reg {

QString quotedLiteral(const QString& text) {
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QString notInList(const QStringList& claims) {
    QStringList literals;
    literals.reserve(claims.size());
    for (const QString& claim : claims)
        literals << quotedLiteral(claim);
    return QLatin1Char('(') + literals.join(QLatin1Char(',')) + QLatin1Char(')');
}

QStringList unfinishedStatement(const QStringList& finishedClaims) {
    QStringList lines{QStringLiteral("select * from vorlex")};
    if (!finishedClaims.isEmpty())
        lines << QStringLiteral("where claimno not in ") + notInList(finishedClaims);
    return lines;
}

QStringList dayStatement() {
    return {QStringLiteral("select * from vorlex"), QStringLiteral("where reportdate=:prm")};
}

QStringList claimStatement() {
    return {QStringLiteral("select * from vorlex"), QStringLiteral("where Claimno=:prm")};
}

QString titleLine(const QDate& today, const QLocale& locale) {
    return QStringLiteral("รายงานรถยนต์คงค้างประจำวันที่ ") +
           locale.toString(today, QStringLiteral("dd MMMM yyyy"));
}

} // namespace reg
