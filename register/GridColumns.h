#pragma once

#include "register/RegisterRow.h"

#include <QList>
#include <QStringList>

namespace reg {

// The search result grid's columns in order: field, title and width in pixels.
struct GridColumn {
    const char* field;
    QString title;
    int width;
};
const QList<GridColumn>& gridColumns();

// A row's cells as the grid shows them, in column order; a blank date is an empty cell.
QStringList gridCells(const RegisterRow& row);

} // namespace reg
