#include "tests/register/RegisterFixture.h"

#include <QProcess>

reg::RegisterRow RegisterTest::row(const QString& claim, int seq, const QString& status,
                                   const QDate& reportDate) {
    reg::RegisterRow r;
    r.claimno = claim;
    r.seq = seq;
    r.garage = QStringLiteral("อู่ช่างเอก");
    r.brand = QStringLiteral("TOYOTA");
    r.regno = QStringLiteral("กข 1234");
    r.status = status;
    r.garageDate = QDate(2026, 12, 1);
    r.reportDate = reportDate;
    r.send = false;
    return r;
}

void RegisterTest::store(const reg::RegisterRow& r) {
    if (!tables().VorlexT.isOpen()) tables().VorlexT.open();
    tables().VorlexT.store(r);
}

void RegisterTest::store(const QList<reg::RegisterRow>& rows) {
    if (!tables().VorlexT.isOpen()) tables().VorlexT.open();
    tables().VorlexT.store(rows);
}

QStringList RegisterTest::keysOf(reg::Query& query) {
    QStringList keys;
    for (int i = 0; i < query.rowCount(); ++i)
        keys << query.value(i, "claimno").toString() + "/" + query.value(i, "seq").toString();
    return keys;
}

QStringList RegisterTest::select(const QStringList& lines, const QVariant& parameter) {
    reg::Query& q = tables().VorlexQ2;
    q.setLines(lines);
    if (parameter.isValid()) q.setParameter(parameter);
    q.open();
    return keysOf(q);
}

QString sqlite3(const QString& file, const QString& statement) {
    QProcess p;
    p.start(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), file, statement});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput()) + QString::fromUtf8(p.readAllStandardError());
}
