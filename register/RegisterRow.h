#pragma once

#include <QDate>
#include <QList>
#include <QString>

namespace reg {

// One row of the register (Vorlex.DB) and of the export table (Vorlex2.DB). A null QDate is a blank
// date; a blank Seq reads as 0.
struct RegisterRow {
    QString claimno;
    int seq = 0;
    QString garage;
    QString brand;
    QString regno;
    QString status;
    QDate vorlexDate;
    QDate garageDate;
    QDate reportDate;
    bool send = false;

    bool operator==(const RegisterRow&) const = default;
};

// Claimno with Seq identifies a row.
struct RowKey {
    QString claimno;
    int seq = 0;

    bool operator==(const RowKey&) const = default;
};

// Field sizes of the Alpha fields, in bytes of the Thai code page.
namespace field {
constexpr int ClaimnoSize = 8;
constexpr int GarageSize = 30;
constexpr int BrandSize = 20;
constexpr int RegnoSize = 10;
constexpr int StatusSize = 30;
constexpr int StatusNameSize = 50; // Status.DB's Status
constexpr int CodeSize = 1;        // Status.DB's Code
} // namespace field

// The field names in table order.
const QStringList& registerFieldNames();

// The text as a field of `size` bytes holds it: in the Thai code page (a character it cannot hold
// becomes "?"), cut to `size` bytes.
QString cutToField(const QString& text, int size);
// The row with every Alpha value cut to its field.
RegisterRow cutToFields(RegisterRow row);

// The day a blank date becomes when a row is copied: day zero of the date scale.
inline QDate dayZero() {
    return QDate(1899, 12, 30);
}

} // namespace reg
