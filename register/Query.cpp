#include "register/Query.h"

#include "register/RegisterTables.h"
#include "register/Statement.h"

#include "platform/Error.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <climits>
#include <cstring>
#include <sqlite3.h>

namespace reg {

Query::Query(RegisterTables& tables, const QString& name, const QStringList& lines)
    : tables_(tables), name_(name), lines_(lines) {}

void Query::clearLines() {
    close();
    lines_.clear();
}

void Query::addLine(const QString& line) {
    close();
    lines_.append(line);
}

void Query::setLines(const QStringList& lines) {
    close();
    lines_ = lines;
}

void Query::setParameter(const QVariant& value) {
    parameter_ = statement::parameter(value);
    hasParameter_ = true;
}

void Query::open() {
    if (open_) return;
    run(true);
}

void Query::execute() {
    close();
    run(false);
}

void Query::close() {
    if (!open_) return;
    emit aboutToChange();
    open_ = false;
    rowCount_ = 0;
    for (Chunk& chunk : chunks_)
        spare_.push_back(std::move(chunk));
    chunks_.clear();
    columns_.clear();
    dateColumns_.clear();
    sendColumn_ = -1;
    emit changed();
}

void Query::run(bool isSelect) {
    tables_.attachRegister();
    if (isSelect) {
        select();
        return;
    }
    QSqlQuery query(tables_.connection());
    const QString text = statement::translate(lines_);
    if (!query.prepare(text)) throw platform::Error(RegisterTables::engineMessage(query.lastError()));
    if (hasParameter_ && text.contains(':')) query.bindValue(0, parameter_);
    if (!query.exec()) throw platform::Error(RegisterTables::engineMessage(query.lastError()));
}

namespace {

// The engine's handle of the connection, for reading results without a QVariant per value.
sqlite3* handleOf(const QSqlDatabase& db) {
    const QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        throw platform::Error(QStringLiteral("The table engine is not SQLite"));
    return *static_cast<sqlite3* const*>(v.constData());
}

struct Statement {
    sqlite3_stmt* stmt = nullptr;
    ~Statement() { sqlite3_finalize(stmt); }
};

[[noreturn]] void failWith(sqlite3* db) {
    throw platform::Error(QString::fromUtf8(sqlite3_errmsg(db)));
}

} // namespace

void Query::select() {
    sqlite3* db = handleOf(tables_.connection());
    const QByteArray text = statement::translate(lines_).toUtf8();
    Statement st;
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &st.stmt, nullptr) != SQLITE_OK)
        failWith(db);
    if (!st.stmt) throw platform::Error(QStringLiteral("The statement is empty"));
    if (hasParameter_ && sqlite3_bind_parameter_count(st.stmt) > 0) {
        int rc = SQLITE_OK;
        switch (parameter_.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
            rc = sqlite3_bind_int64(st.stmt, 1, parameter_.toLongLong());
            break;
        case QMetaType::Double:
            rc = sqlite3_bind_double(st.stmt, 1, parameter_.toDouble());
            break;
        default:
            if (parameter_.isNull()) {
                rc = sqlite3_bind_null(st.stmt, 1);
            } else {
                const QByteArray value = parameter_.toString().toUtf8();
                rc = sqlite3_bind_text(st.stmt, 1, value.constData(), int(value.size()), SQLITE_TRANSIENT);
            }
        }
        if (rc != SQLITE_OK) failWith(db);
    }

    const int count = sqlite3_column_count(st.stmt);
    QStringList columns;
    for (int i = 0; i < count; ++i)
        columns.append(QString::fromUtf8(sqlite3_column_name(st.stmt, i)));
    std::vector<Chunk> chunks;
    int rows = 0;
    Chunk* chunk = nullptr;
    for (;;) {
        const int rc = sqlite3_step(st.stmt);
        if (rc == SQLITE_DONE) break;
        if (rc != SQLITE_ROW) {
            for (Chunk& c : chunks)
                spare_.push_back(std::move(c));
            failWith(db);
        }
        if (rows % kChunkRows == 0) chunk = &newChunk(chunks, count);
        ++rows;
        for (int i = 0; i < count; ++i) {
            Cell cell;
            switch (sqlite3_column_type(st.stmt, i)) {
            case SQLITE_NULL:
                break;
            case SQLITE_INTEGER: {
                const sqlite3_int64 v = sqlite3_column_int64(st.stmt, i);
                if (v >= INT_MIN && v <= INT_MAX) {
                    cell.a = quint32(qint32(v));
                    cell.b = quint32(Cell::Integer) << 30;
                } else {
                    cell.a = quint32(chunk->text.size());
                    cell.b = quint32(Cell::Wide) << 30;
                    chunk->text.append(reinterpret_cast<const char*>(&v), sizeof v);
                }
                break;
            }
            default: { // text, and a real or a blob as the engine gives it as text
                const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(st.stmt, i));
                const int length = sqlite3_column_bytes(st.stmt, i);
                cell.a = quint32(chunk->text.size());
                cell.b = quint32(Cell::Text) << 30 | quint32(length);
                chunk->text.append(bytes, size_t(length));
            }
            }
            chunk->cells.push_back(cell);
        }
    }

    for (Chunk& c : chunks_)
        spare_.push_back(std::move(c));
    emit aboutToChange();
    rowCount_ = rows;
    chunks_ = std::move(chunks);
    columns_ = columns;
    dateColumns_.clear();
    sendColumn_ = -1;
    for (int i = 0; i < count; ++i) {
        const QString& c = columns_[i];
        if (c.compare(QLatin1String("VorlexDate"), Qt::CaseInsensitive) == 0 ||
            c.compare(QLatin1String("GarageDate"), Qt::CaseInsensitive) == 0 ||
            c.compare(QLatin1String("ReportDate"), Qt::CaseInsensitive) == 0)
            dateColumns_.append(i);
        if (c.compare(QLatin1String("Send"), Qt::CaseInsensitive) == 0) sendColumn_ = i;
    }
    open_ = true;
    emit changed();
}

Query::Chunk& Query::newChunk(std::vector<Chunk>& chunks, int columns) {
    if (spare_.empty()) {
        chunks.emplace_back();
        chunks.back().cells.reserve(size_t(kChunkRows) * size_t(columns));
        chunks.back().text.reserve(size_t(kChunkRows) * 64);
    } else {
        chunks.push_back(std::move(spare_.back()));
        spare_.pop_back();
        chunks.back().cells.clear();
        chunks.back().text.clear();
    }
    return chunks.back();
}

QVariant Query::stored(int row, int column) const {
    const Chunk& chunk = chunks_[size_t(row / kChunkRows)];
    const Cell& cell = chunk.cells[size_t(row % kChunkRows) * size_t(columns_.size()) + size_t(column)];
    switch (cell.kind()) {
    case Cell::Null:
        return QVariant();
    case Cell::Integer:
        return int(qint32(cell.a));
    case Cell::Wide: {
        qint64 v;
        std::memcpy(&v, chunk.text.data() + cell.a, sizeof v);
        return v;
    }
    case Cell::Text:
        return QString::fromUtf8(chunk.text.data() + cell.a, qsizetype(cell.length()));
    }
    return QVariant();
}

int Query::columnIndex(const QString& name) const {
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QVariant Query::value(int row, const QString& column) const {
    return value(row, columnIndex(column));
}

QVariant Query::value(int row, int column) const {
    if (row < 0 || row >= rowCount_ || column < 0 || column >= columns_.size()) return QVariant();
    const QVariant stored = this->stored(row, column);
    if (stored.isNull()) return QVariant();
    if (dateColumns_.contains(column)) {
        const QDate day = statement::dayOf(stored);
        return day.isValid() ? QVariant(day) : QVariant();
    }
    if (column == sendColumn_) return stored.toInt() != 0;
    return stored;
}

qint16 Query::shortValue(int row, const QString& column) const {
    const QVariant v = value(row, column);
    return v.isNull() ? qint16(0) : qint16(v.toInt());
}

RegisterRow Query::registerRow(int row) const {
    RegisterRow r;
    r.claimno = value(row, QStringLiteral("Claimno")).toString();
    r.seq = shortValue(row, QStringLiteral("Seq"));
    r.garage = value(row, QStringLiteral("Garage")).toString();
    r.brand = value(row, QStringLiteral("Brand")).toString();
    r.regno = value(row, QStringLiteral("Regno")).toString();
    r.status = value(row, QStringLiteral("Status")).toString();
    r.vorlexDate = value(row, QStringLiteral("VorlexDate")).toDate();
    r.garageDate = value(row, QStringLiteral("GarageDate")).toDate();
    r.reportDate = value(row, QStringLiteral("ReportDate")).toDate();
    r.send = value(row, QStringLiteral("Send")).toBool();
    return r;
}

} // namespace reg
