#pragma once

#include <QList>
#include <QString>

namespace transfer {

// A register row as the export names it.
struct RowKey {
    QString claimno;
    int seq = 0;
    bool operator==(const RowKey&) const = default;
};

// The register as the transfer run needs it: the export of the unsent rows into the export table and
// the marking of rows as sent. Every failure of the table engine is an Error with its message.
class RowStore {
public:
    virtual ~RowStore() = default;
    // Writes every unsent row into the export table (emptied first) and closes it so that its two files
    // are complete; the keys written. With no unsent rows nothing is touched and the list is empty.
    virtual QList<RowKey> exportUnsentRows() = 0;
    // Sets Send for exactly those rows that are still unsent, in one transaction that is on disk when
    // the call returns.
    virtual void markSent(const QList<RowKey>& keys) = 0;
    // System paths of the export table's two files (C:\claim\db\Vorlex2.DB and Vorlex2.PX).
    virtual QString exportTableFile() const = 0;
    virtual QString exportIndexFile() const = 0;
};

} // namespace transfer
