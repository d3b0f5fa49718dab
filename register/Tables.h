#pragma once

#include "register/RegisterRow.h"

#include <QList>
#include <QStringList>

namespace reg {

class RegisterTables;

// VorlexT: the register for entry. Rows are stored through it, each in a transaction of its own that
// is on disk before store returns.
class RegisterTable {
public:
    explicit RegisterTable(RegisterTables& tables) : tables_(tables) {}
    void open(); // a missing or unreadable Vorlex.DB raises the engine's message naming the file
    void close() { open_ = false; }
    bool isOpen() const { return open_; }
    // Stores the row as given, Alpha values cut to their fields. A second row with the Claimno and Seq
    // of a stored row is refused with the engine's message.
    void store(const RegisterRow& row);
    // Stores several rows in one transaction: all of them or, on failure, none.
    void store(const QList<RegisterRow>& rows);

private:
    RegisterTables& tables_;
    bool open_ = false;
};

// StatusT: the list of repair statuses (Status.DB).
class StatusTable {
public:
    explicit StatusTable(RegisterTables& tables) : tables_(tables) {}
    void open(); // reads the list; a missing Status.DB raises the engine's message naming the file
    void close();
    bool isOpen() const { return open_; }
    QStringList names() const { return names_; } // in table order

private:
    RegisterTables& tables_;
    bool open_ = false;
    QStringList names_;
};

// Vorlex2T: the export table, a Paradox table with its primary index (Vorlex2.DB, Vorlex2.PX). While
// it is open its rows are held here; closing writes both files, replacing the old pair in a way that a
// crash leaves either the old pair or the new one.
class ExportTable {
public:
    explicit ExportTable(RegisterTables& tables) : tables_(tables) {}
    void open();  // a missing Vorlex2.DB or Vorlex2.PX raises a message naming the file
    void close(); // writes the files when rows were inserted
    bool isOpen() const { return open_; }
    // Removes every row, keeping the structure and the index file; only while the table is closed.
    void emptyTable();
    // Removes every row while the table is open; the files change when it is closed.
    void removeAllRows();
    void insert(const RegisterRow& row); // Send stays blank
    QList<RegisterRow> rows() const { return rows_; }

private:
    void checkFiles() const;
    void writeFiles(const QList<RegisterRow>& rows);

    RegisterTables& tables_;
    bool open_ = false;
    bool changed_ = false;
    QList<RegisterRow> rows_;
};

} // namespace reg
