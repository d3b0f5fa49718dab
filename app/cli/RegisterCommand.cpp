#include "app/cli/Commands.h"
#include "platform/Error.h"
#include "register/DateText.h"
#include "register/EntryFlow.h"
#include "register/GridColumns.h"
#include "register/RegisterTables.h"
#include "register/TablesAccess.h"

#include <QMap>

namespace {

int usage(CliStreams io) {
    io.err
        << "usage: vorlex-cli register add --claim N --garage-date dd/mm/yyyy --brand B --regno R --garage G "
           "--status S\n"
           "       vorlex-cli register search unfinished | date dd/mm/yyyy | claim N\n"
           "add runs Save's checks and stores the report (printed, one field a line); search prints the\n"
           "rows the outstanding-cars grid would show, one a line, its columns separated by tabs.\n";
    return 2;
}

QString dateOrBlank(const QDate& date) {
    return date.isValid() ? reg::dateText(date) : QString();
}

int add(const QStringList& args, CliStreams io) {
    static const QStringList options = {"--claim", "--garage-date", "--brand",
                                        "--regno", "--garage",      "--status"};
    QMap<QString, QString> given;
    for (qsizetype i = 0; i < args.size(); i += 2) {
        if (!options.contains(args.at(i)) || i + 1 >= args.size()) return usage(io);
        given.insert(args.at(i), args.at(i + 1));
    }
    reg::RegisterTables tables;
    tables.VorlexT.open();
    reg::TablesAccess access(tables);
    // The status as the page's list would show it once chosen: a name of the list, cut to the field.
    const QString status = given.contains("--status")
                               ? reg::chosenStatusText(access.statusNames(), given.value("--status"))
                               : QString();
    const reg::EntryInput input{given.value("--claim"),  reg::parseDateText(given.value("--garage-date")),
                                given.value("--brand"),  given.value("--regno"),
                                given.value("--garage"), status};
    const reg::SaveOutcome outcome = reg::saveEntry(access, input, QDate(), QDate::currentDate());
    if (outcome.failure) {
        io.err << outcome.failure->message << '\n';
        return 1;
    }
    const reg::RegisterRow& row = outcome.stored;
    const QStringList values = {row.claimno,
                                QString::number(row.seq),
                                row.garage,
                                row.brand,
                                row.regno,
                                row.status,
                                dateOrBlank(row.vorlexDate),
                                dateOrBlank(row.garageDate),
                                dateOrBlank(row.reportDate),
                                row.send ? QStringLiteral("true") : QStringLiteral("false")};
    for (qsizetype i = 0; i < values.size(); ++i)
        io.out << reg::registerFieldNames().at(i) << '\t' << values.at(i) << '\n';
    return 0;
}

int search(const QStringList& args, CliStreams io) {
    reg::SearchMode mode;
    QDate day;
    QString claim;
    if (args == QStringList{"unfinished"}) {
        mode = reg::SearchMode::Unfinished;
    } else if (args.size() == 2 && args.at(0) == QLatin1String("date")) {
        mode = reg::SearchMode::Day;
        day = reg::parseDateText(args.at(1));
    } else if (args.size() == 2 && args.at(0) == QLatin1String("claim")) {
        mode = reg::SearchMode::Claim;
        claim = args.at(1);
    } else {
        return usage(io);
    }
    reg::RegisterTables tables;
    reg::TablesAccess access(tables);
    reg::runSearch(access, mode, day, claim);
    for (const reg::RegisterRow& row : access.searchRows())
        io.out << reg::gridCells(row).join(QLatin1Char('\t')) << '\n';
    return 0;
}

} // namespace

int runRegister(const QStringList& args, CliStreams io) {
    if (args.isEmpty()) return usage(io);
    if (args.first() == QLatin1String("add")) return add(args.mid(1), io);
    if (args.first() == QLatin1String("search")) return search(args.mid(1), io);
    return usage(io);
}
