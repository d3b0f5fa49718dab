#pragma once

#include "register/Schema.h"

#include <QStringList>

// Makes what a garage needs on a bare machine: the drive folder, the alias's folder C:\claim\db, an
// empty register, an empty export table with its index and the list of repair statuses. A table that
// exists is never touched.
namespace reg::install {

struct Report {
    QStringList made;     // one line for each folder or file made
    QStringList kept;     // one line for each that was there already
    QStringList imported; // one line for each table of the earlier system imported
};

// The repair statuses a new Status.DB holds, in the order the status list shows them.
const QList<schema::StatusRow>& defaultStatuses();
// True when any table file of the alias is missing.
bool tablesMissing();
Report run();

} // namespace reg::install
