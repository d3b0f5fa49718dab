#pragma once

#include "register/RegisterRow.h"

#include <QList>
#include <QString>

namespace reg {

class RegisterTables;

// The export files that travel to the insurer, as paths of this machine (C:\claim\db\Vorlex2.DB and
// C:\claim\db\Vorlex2.PX).
QString exportTableHostPath();
QString exportIndexHostPath();

// The export step of the transfer run: sets VorlexQ2 to the unsent rows and opens it; when it has
// rows, empties Vorlex2.DB (its index file stays), fills it with a copy of every unsent row (a blank date
// arrives as day zero, Send stays blank) and closes it so both files are complete. Returns the keys written;
// with no unsent rows nothing is touched and the list is empty. VorlexQ2 stays open on the unsent rows.
QList<RowKey> exportUnsentRows(RegisterTables& tables);

// Sets Send for exactly those of the given rows that are still unsent, in one transaction that is on
// disk when this returns; rows saved since the export keep Send false.
void markSent(RegisterTables& tables, const QList<RowKey>& keys);

} // namespace reg
