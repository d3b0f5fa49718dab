#pragma once

#include <QString>

// Garages coming from the earlier system hold Paradox tables under the same names. The first time such
// a table is opened its rows are imported into a table of the engine, which takes the name; the
// original is kept beside under another name and never deleted.
namespace reg::legacy {

enum class Kind { Register, Statuses };

// The name the original of hostPath is kept under ("Vorlex.DB.paradox", or with a number when that is
// taken).
QString keptName(const QString& hostPath);
// Imports the table at hostPath when it is a Paradox table, and finishes or undoes an import that a
// crash interrupted. Returns one line telling what was imported, empty when nothing was.
//
// The steps: the new table is built under a temporary name and flushed; the original is renamed to
// its kept name; the new table is renamed into place. Killed before the second step the original is
// untouched and the temporary file is thrown away at the next start; killed after it the next start
// finds the name free and the temporary table complete, and renames it into place.
QString importIfParadox(const QString& hostPath, Kind kind);

} // namespace reg::legacy
