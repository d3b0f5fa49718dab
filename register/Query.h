#pragma once

#include "register/RegisterRow.h"

#include <QObject>
#include <QStringList>
#include <QVariant>

#include <string>
#include <vector>

namespace reg {

class RegisterTables;

// A statement over the register's tables, given as lines, with at most one parameter (position 0,
// named prm). Opening it runs a select and keeps its rows, read-only; an update is executed instead.
// It tells listeners (a grid) before and after its result changes, that is when it opens and closes.
class Query : public QObject {
    Q_OBJECT
public:
    Query(RegisterTables& tables, const QString& name, const QStringList& lines);

    // Changing the statement closes the query first.
    void clearLines();
    void addLine(const QString& line);
    // Close, clear the lines, add the given ones: how a statement is rewritten before each use.
    void setLines(const QStringList& lines);
    QStringList lines() const { return lines_; }
    void setParameter(const QVariant& value); // position 0; a date matches the rows of its day

    void open(); // runs the select; an engine failure raises its message and leaves it closed
    void close();
    bool isOpen() const { return open_; }
    void execute(); // runs an update (the query stays closed)

    int rowCount() const { return rowCount_; }
    QStringList columnNames() const { return columns_; }
    int columnIndex(const QString& name) const; // without regard to case; -1 when missing
    // A value as its field holds it: QString, int, QDate for a date field (null when blank), bool for
    // Send; a null QVariant when the value is blank or the column is missing.
    QVariant value(int row, const QString& column) const;
    QVariant value(int row, int column) const;
    // The value read as a 16-bit integer; blank reads as 0.
    qint16 shortValue(int row, const QString& column) const;
    // The row read as a register row (fields missing from the result stay blank).
    RegisterRow registerRow(int row) const;

signals:
    void aboutToChange();
    void changed();

private:
    void run(bool select);
    void select();
    QVariant stored(int row, int column) const;

    // The result, compactly: eight bytes a value, text kept as UTF-8 in its chunk's buffer and made a
    // QString only when read, so that a search of 100,000 rows costs little more than the engine's own
    // reading. An integer that needs more than 32 bits is kept in the buffer too; a real as its text.
    struct Cell {
        enum Kind : quint32 { Null = 0, Integer = 1, Wide = 2, Text = 3 };
        quint32 a = 0; // the integer, or the offset in the chunk's buffer
        quint32 b = 0; // the kind in the top two bits, a text's length below
        Kind kind() const { return Kind(b >> 30); }
        quint32 length() const { return b & 0x3FFFFFFFu; }
    };
    // Rows in chunks of a fixed count, so that a growing result is never copied as a whole; chunks of a
    // closed result are kept for the next one.
    static constexpr int kChunkRows = 512;
    struct Chunk {
        std::vector<Cell> cells;
        std::string text;
    };
    Chunk& newChunk(std::vector<Chunk>& chunks, int columns);

    RegisterTables& tables_;
    QString name_;
    QStringList lines_;
    QVariant parameter_;
    bool hasParameter_ = false;
    bool open_ = false;
    QStringList columns_;
    QList<int> dateColumns_;
    int sendColumn_ = -1;
    int rowCount_ = 0;
    std::vector<Chunk> chunks_;
    std::vector<Chunk> spare_;
};

} // namespace reg
