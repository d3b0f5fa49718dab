#include "register/ParadoxFile.h"

#include "platform/Codepage874.h"
#include "platform/Error.h"

#include <QDate>
#include <QFile>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

extern "C" {
#include <paradox.h>
}

namespace reg::paradox {
namespace {

constexpr qint64 kFirstDay = 1721426; // Julian day of 1 January of year 1, day 1 of Paradox dates

// pxlib reports through a callback; the last message is kept and raised by the caller.
struct Messages {
    QString last;
};

void onError(pxdoc_t*, int, const char* message, void* data) {
    static_cast<Messages*>(data)->last = QString::fromLocal8Bit(message).trimmed();
}

struct Doc {
    Messages messages;
    pxdoc_t* doc = nullptr;
    bool opened = false;
    Doc() {
        doc = PX_new3(onError, nullptr, nullptr, nullptr, &messages);
        if (!doc) throw platform::Error(QStringLiteral("Cannot start the Paradox table library"));
    }
    ~Doc() {
        if (opened) PX_close(doc);
        PX_delete(doc);
    }
    Doc(const Doc&) = delete;
    Doc& operator=(const Doc&) = delete;
    [[noreturn]] void fail(const QString& what, const QString& path) const {
        QString text = what + QLatin1String(": ") + path;
        if (!messages.last.isEmpty()) text += QLatin1String(" (") + messages.last + ')';
        throw platform::Error(text);
    }
};

void boot() {
    static const bool booted = [] {
        PX_boot();
        return true;
    }();
    (void)booted;
}

// pxlib keeps the field list it is given; it is allocated its own way so PX_delete can free it.
pxfield_t* makeFields(const QList<Field>& fields) {
    auto* list = static_cast<pxfield_t*>(std::calloc(fields.size(), sizeof(pxfield_t)));
    for (qsizetype i = 0; i < fields.size(); ++i) {
        list[i].px_fname = ::strdup(fields[i].name.toLatin1().constData());
        list[i].px_ftype = char(fields[i].type);
        list[i].px_flen = fields[i].size;
        list[i].px_fdc = 0;
    }
    return list;
}

qint64 dayNumber(const QDate& day) {
    return day.toJulianDay() - kFirstDay + 1;
}
QDate dayOf(long number) {
    return QDate::fromJulianDay(number + kFirstDay - 1);
}

QByteArray keyBytes(const QVariant& value, Type type) {
    if (value.isNull()) return QByteArray();
    switch (type) {
    case Type::Alpha:
        return platform::cp874::encode(value.toString());
    case Type::Short: {
        const quint16 v = quint16(qint16(value.toInt())) ^ 0x8000;
        QByteArray bytes;
        bytes.append(char(v >> 8)).append(char(v & 0xFF));
        return bytes;
    }
    case Type::Date: {
        const quint32 v = quint32(qint32(dayNumber(value.toDate()))) ^ 0x80000000u;
        QByteArray bytes;
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.append(char((v >> shift) & 0xFF));
        return bytes;
    }
    case Type::Logical:
        return QByteArray(1, value.toBool() ? '\x81' : '\x80');
    }
    return QByteArray();
}

// Blank sorts first, then by the bytes the key fields hold on disk.
bool keyLess(const QVariantList& a, const QVariantList& b, const QList<Field>& fields, int keyFields) {
    for (int i = 0; i < keyFields; ++i) {
        const QByteArray ka = keyBytes(a.value(i), fields[i].type);
        const QByteArray kb = keyBytes(b.value(i), fields[i].type);
        if (ka != kb) return ka < kb;
    }
    return false;
}

} // namespace

const QList<Field>& registerFields() {
    static const QList<Field> fields = {
        {"Claimno", Type::Alpha, 8},   {"Seq", Type::Short, 2},       {"Garage", Type::Alpha, 30},
        {"Brand", Type::Alpha, 20},    {"Regno", Type::Alpha, 10},    {"Status", Type::Alpha, 30},
        {"VorlexDate", Type::Date, 4}, {"GarageDate", Type::Date, 4}, {"ReportDate", Type::Date, 4},
        {"Send", Type::Logical, 1},
    };
    return fields;
}

const QList<Field>& statusFields() {
    static const QList<Field> fields = {{"Code", Type::Alpha, 1}, {"Status", Type::Alpha, 50}};
    return fields;
}

void write(const QString& dbHostPath, const QString& pxHostPath, const QString& tableName,
           const QList<Field>& fields, int keyFields, QList<QVariantList> rows) {
    boot();
    std::stable_sort(rows.begin(), rows.end(), [&](const QVariantList& a, const QVariantList& b) {
        return keyLess(a, b, fields, keyFields);
    });
    for (qsizetype i = 1; keyFields > 0 && i < rows.size(); ++i) {
        if (!keyLess(rows[i - 1], rows[i], fields, keyFields))
            throw platform::Error(
                QStringLiteral("Key violation: two rows of %1 share the key %2 %3")
                    .arg(tableName, rows[i].value(0).toString(), rows[i].value(1).toString()));
    }

    Doc db;
    if (PX_create_file(db.doc, makeFields(fields), int(fields.size()),
                       QFile::encodeName(dbHostPath).constData(),
                       keyFields > 0 ? pxfFileTypIndexDB : pxfFileTypNonIndexDB) < 0)
        db.fail(QStringLiteral("Cannot create table"), dbHostPath);
    db.opened = true;
    PX_set_parameter(db.doc, "tablename", tableName.toLatin1().constData());
    PX_set_value(db.doc, "codepage", 874);
    PX_set_value(db.doc, "numprimkeys", float(keyFields));

    std::vector<QByteArray> texts(fields.size());
    std::vector<pxval_t> values(fields.size());
    std::vector<pxval_t*> pointers(fields.size());
    for (const QVariantList& row : rows) {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            pxval_t& v = values[i];
            std::memset(&v, 0, sizeof v);
            v.type = int(fields[i].type);
            const QVariant value = row.value(i);
            v.isnull = value.isNull() ? 1 : 0;
            if (!value.isNull()) {
                switch (fields[i].type) {
                case Type::Alpha:
                    texts[i] = platform::cp874::encode(value.toString()).left(fields[i].size);
                    v.value.str.val = texts[i].data();
                    v.value.str.len = int(texts[i].size());
                    if (texts[i].isEmpty()) v.isnull = 1;
                    break;
                case Type::Short:
                    v.value.lval = value.toInt();
                    break;
                case Type::Date:
                    v.value.lval = long(dayNumber(value.toDate()));
                    break;
                case Type::Logical:
                    v.value.lval = value.toBool() ? 1 : 0;
                    break;
                }
            }
            pointers[i] = &v;
        }
        if (PX_insert_record(db.doc, pointers.data()) < 0)
            db.fail(QStringLiteral("Cannot write a row of"), dbHostPath);
    }

    if (keyFields == 0) return;
    Doc px;
    QList<Field> keys = fields.mid(0, keyFields);
    if (PX_create_file(px.doc, makeFields(keys), keyFields, QFile::encodeName(pxHostPath).constData(),
                       pxfFileTypPrimIndex) < 0)
        px.fail(QStringLiteral("Cannot create index"), pxHostPath);
    px.opened = true;
    QString indexName = tableName;
    indexName.replace(QLatin1String(".DB"), QLatin1String(".PX"), Qt::CaseInsensitive);
    PX_set_parameter(px.doc, "tablename", indexName.toLatin1().constData());
    if (PX_write_primary_index(db.doc, px.doc) < 0) px.fail(QStringLiteral("Cannot write index"), pxHostPath);
}

Table read(const QString& dbHostPath) {
    boot();
    Doc db;
    if (PX_open_file(db.doc, QFile::encodeName(dbHostPath).constData()) < 0)
        db.fail(QStringLiteral("Cannot read table"), dbHostPath);
    db.opened = true;
    Table table;
    const int count = PX_get_num_fields(db.doc);
    pxfield_t* f = PX_get_fields(db.doc);
    for (int i = 0; i < count; ++i)
        table.fields.append({QString::fromLatin1(f[i].px_fname), Type(f[i].px_ftype), f[i].px_flen});
    table.codePage = db.doc->px_head->px_doscodepage;
    table.keyFields = db.doc->px_head->px_primarykeyfields;
    const int records = PX_get_num_records(db.doc);
    for (int r = 0; r < records; ++r) {
        pxval_t** values = PX_retrieve_record(db.doc, r);
        if (!values) db.fail(QStringLiteral("Cannot read a row of"), dbHostPath);
        QVariantList row;
        for (int i = 0; i < count; ++i) {
            pxval_t* v = values[i];
            QVariant value;
            if (!v->isnull) {
                switch (Type(f[i].px_ftype)) {
                case Type::Alpha:
                    value = platform::cp874::decode(
                        QByteArray(v->value.str.val, qstrnlen(v->value.str.val, v->value.str.len)));
                    break;
                case Type::Short:
                    value = int(v->value.lval);
                    break;
                case Type::Date:
                    value = dayOf(v->value.lval);
                    break;
                case Type::Logical:
                    value = v->value.lval != 0;
                    break;
                default:
                    value = QVariant(); // other field types are not part of these tables
                }
            }
            row.append(value);
            if (Type(f[i].px_ftype) == Type::Alpha && v->value.str.val)
                db.doc->free(db.doc, v->value.str.val);
            db.doc->free(db.doc, v);
        }
        db.doc->free(db.doc, values);
        table.rows.append(row);
    }
    return table;
}

bool looksLikeParadox(const QString& hostPath) {
    QFile file(hostPath);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = file.read(0x60);
    if (head.size() < 0x60 || head.startsWith("SQLite format 3")) return false;
    const auto word = [&](int at) { return int(quint8(head[at])) | int(quint8(head[at + 1])) << 8; };
    const int recordSize = word(0);
    const int headerSize = word(2);
    const int fileType = quint8(head[4]);
    const int blockKb = quint8(head[5]);
    return recordSize > 0 && headerSize >= 0x58 && headerSize % 0x800 == 0 &&
           (fileType == 0 || fileType == 2) && blockKb >= 1 && blockKb <= 32;
}

} // namespace reg::paradox
