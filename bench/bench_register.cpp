// Times the register's searches and Save against the sqlite3 program on a copy of the same file, in
// the same run. The register holds 100,000 rows over 20,000 claims, 5,000 of them finished. Each search
// is the statement the register page builds for its mode (the unfinished cars with "not in" over the
// finished claims, the reports of a day, the reports of a claim); sqlite3 runs the same statement text
// in a session of its own, with its output thrown away (a session's start is timed and taken off). Save is
// one entry through the checks, Seq from "MAX OF Seq" and the synced store, against sqlite3 inserting one row
// in its own transaction with the same sync setting.
//   bench_register FOLDER [ROUNDS]
#include "platform/DrivePaths.h"
#include "register/Install.h"
#include "register/RegisterTables.h"
#include "register/Statement.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

const QString kFinished = QStringLiteral("ซ่อมเสร็จ");
const QDate kDay(2026, 11, 20);

double median(QList<double> v) {
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[v.size() / 2];
}

void fill(reg::RegisterTables& tables) {
    QList<reg::RegisterRow> rows;
    rows.reserve(100000);
    for (int claim = 0; claim < 20000; ++claim) {
        for (int report = 1; report <= 5; ++report) {
            reg::RegisterRow r;
            r.claimno = QStringLiteral("C%1").arg(claim, 7, 10, QChar('0'));
            r.seq = report;
            r.garage = QStringLiteral("อู่ช่างเอกการช่าง สาขา %1").arg(claim % 40);
            r.brand = QStringLiteral("TOYOTA");
            r.regno = QStringLiteral("กข %1").arg(claim);
            r.status = claim % 4 == 0 && report == 5 ? kFinished : QStringLiteral("กำลังซ่อม");
            r.garageDate = QDate(2026, 1, 1).addDays(claim % 300);
            r.reportDate = QDate(2026, 1, 1).addDays((claim + report * 17) % 340);
            r.send = report < 4;
            rows.append(r);
        }
    }
    tables.VorlexT.open();
    tables.VorlexT.store(rows);
}

// The statement of the unfinished-cars mode, built from the finished claims as the page builds it.
QStringList unfinishedStatement(reg::RegisterTables& tables) {
    tables.VorlexQ4.close();
    tables.VorlexQ4.open();
    if (tables.VorlexQ4.rowCount() == 0) return {QStringLiteral("select * from vorlex")};
    QString list = QStringLiteral("(");
    for (int i = 0; i < tables.VorlexQ4.rowCount(); ++i) {
        if (i > 0) list += ',';
        list +=
            '\'' + tables.VorlexQ4.value(i, QStringLiteral("claimno")).toString().replace('\'', "''") + '\'';
    }
    list += ')';
    return {QStringLiteral("select * from vorlex"), QStringLiteral("where claimno not in ") + list};
}

struct Search {
    const char* name;
    int reps; // runs per timing, so that a timing lasts long enough to measure
    std::function<QStringList(reg::RegisterTables&)> lines;
    QVariant parameter;
    QString sqlite3Parameter; // as .parameter set gives it
};

// Runs a script in one sqlite3 session and gives back its output.
QString runSqlite3(const QString& file, const QString& input) {
    QProcess p;
    p.start(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), file});
    p.waitForStarted();
    p.write(input.toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(600000);
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

// sqlite3's time for one run of a script: a session running it `reps` times less a session running
// only the setup, divided by reps, output thrown away; the median of `rounds` such pairs, in seconds.
double sqlite3Time(const QString& file, const QString& setup, const QString& script, int reps, int rounds) {
    QString input = setup + QStringLiteral(".output /dev/null\n");
    QString repeated = input;
    for (int i = 0; i < reps; ++i)
        repeated += script;
    QList<double> times;
    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer clock;
        clock.start();
        runSqlite3(file, input);
        const qint64 empty = clock.nsecsElapsed();
        clock.restart();
        const QString out = runSqlite3(file, repeated);
        const qint64 full = clock.nsecsElapsed();
        if (!out.trimmed().isEmpty() && !out.trimmed().startsWith(QLatin1String("delete"))) {
            std::fprintf(stderr, "sqlite3 said: %s\n", qPrintable(out.left(400)));
            std::exit(1);
        }
        times.append(double(full - empty) / reps / 1e9);
    }
    return median(times);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_register FOLDER [ROUNDS]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 7;
    platform::drive::setDriveFolder(folder + QStringLiteral("/drive_c"));
    QDir().mkpath(folder + QStringLiteral("/drive_c"));
    reg::install::run();
    reg::RegisterTables tables;
    QElapsedTimer clock;
    clock.start();
    fill(tables);
    std::printf("register: 100000 rows over 20000 claims, 5000 finished, stored in %.1f s\n",
                clock.elapsed() / 1000.0);

    const QString copy = folder + QStringLiteral("/copy-of-Vorlex.DB");
    QFile::remove(copy);
    QFile::copy(reg::files::hostPath(reg::files::Register), copy);

    const Search searches[] = {
        {"unfinished cars", 3, unfinishedStatement, {}, {}},
        {"reports of a day", 300,
         [](reg::RegisterTables&) {
             return QStringList{"select * from vorlex", "where reportdate=:prm"};
         },
         QDateTime(kDay, QTime(0, 0)), QStringLiteral("\"'") + kDay.toString(Qt::ISODate) + "'\""},
        {"reports of a claim", 3000,
         [](reg::RegisterTables&) {
             return QStringList{"select * from vorlex", "where Claimno=:prm"};
         },
         QStringLiteral("C0012345"), QStringLiteral("\"'C0012345'\"")},
    };
    for (const Search& s : searches) {
        QList<double> ours;
        int rows = 0;
        for (int i = 0; i < rounds; ++i) {
            clock.restart();
            for (int k = 0; k < s.reps; ++k) {
                const QStringList lines = s.lines(tables); // the unfinished mode runs VorlexQ4 each time
                tables.VorlexQ2.setLines(lines);
                if (s.parameter.isValid()) tables.VorlexQ2.setParameter(s.parameter);
                tables.VorlexQ2.open();
            }
            ours.append(clock.nsecsElapsed() / 1e9 / s.reps);
            rows = tables.VorlexQ2.rowCount();
        }
        // sqlite3 runs the same text; for the unfinished mode VorlexQ4's statement first, as ours does.
        const bool unfinished = QByteArray(s.name) == "unfinished cars";
        const QString setup = s.sqlite3Parameter.isEmpty()
                                  ? QString()
                                  : QStringLiteral(".parameter set :prm %1\n").arg(s.sqlite3Parameter);
        const QString statement = reg::statement::translate(s.lines(tables)) + QStringLiteral(";\n");
        const QString script = unfinished ? reg::statement::translate(tables.VorlexQ4.lines()) +
                                                QStringLiteral(";\n") + statement
                                          : statement;
        const double peer = sqlite3Time(copy, setup, script, s.reps, rounds);
        const int peerRows = int(runSqlite3(copy, setup + statement).count('\n'));
        if (peerRows != rows) std::printf("  (sqlite3 gives %d rows, ours %d)\n", peerRows, rows);
        const double ourMedian = median(ours);
        std::printf("%-20s ours %7.2f ms (%d rows), sqlite3 %7.2f ms, ratio %.2f\n", s.name, ourMedian * 1e3,
                    rows, peer * 1e3, ourMedian / peer);
    }

    // Save: the checks, Seq from "MAX OF Seq", ReportDate and Send, the synced store.
    QList<double> ours;
    for (int i = 0; i < rounds * 20; ++i) {
        reg::RegisterRow entry;
        entry.claimno = QStringLiteral("C0012345");
        entry.garageDate = QDate(2026, 11, 1);
        entry.brand = QStringLiteral("HONDA");
        entry.regno = QStringLiteral("1กก 999");
        entry.garage = QStringLiteral("อู่ช่างเอก");
        entry.status = QStringLiteral("กำลังซ่อม");
        clock.restart();
        const QString year = entry.garageDate.toString(QStringLiteral("yyyy"));
        const bool checks = !entry.claimno.isEmpty() && year.mid(2, 2).toInt() <= 40 &&
                            entry.garageDate <= QDate::currentDate() && !entry.brand.isEmpty() &&
                            !entry.regno.isEmpty() && !entry.garage.isEmpty() && !entry.status.isEmpty();
        if (!checks) return 1;
        tables.VorlexQ.close();
        tables.VorlexQ.setParameter(entry.claimno);
        tables.VorlexQ.open();
        entry.seq = tables.VorlexQ.shortValue(0, QStringLiteral("MAX OF Seq")) + 1;
        entry.reportDate = QDate::currentDate();
        entry.send = false;
        tables.VorlexT.store(entry);
        ours.append(clock.nsecsElapsed() / 1e9);
    }
    // One row in its own transaction with the same sync; the transaction's cost is in its COMMIT.
    const QString insert = QStringLiteral("BEGIN;\nINSERT INTO vorlex VALUES (upper(hex(randomblob(4))), 1, "
                                          "'g', 'b', 'r', 's', NULL, '2026-11-01', "
                                          "'2026-12-11', 0);\nCOMMIT;\n");
    const double peer = sqlite3Time(
        copy, QStringLiteral("PRAGMA synchronous=FULL;\nPRAGMA journal_mode=DELETE;\n"), insert, 20, rounds);
    std::printf("%-20s ours %7.2f ms, sqlite3 one synced insert %7.2f ms, ratio %.2f\n", "save one entry",
                median(ours) * 1e3, peer * 1e3, median(ours) / peer);
    return 0;
}
