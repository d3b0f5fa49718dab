#pragma once

#include "register/RegisterRow.h"

#include <QStringList>
#include <QVariant>
#include <functional>

namespace reg {

// What entry and search need of the register's tables and queries. Every failure is a platform::Error
// carrying the engine's message.
class RegisterAccess {
public:
    virtual ~RegisterAccess() = default;

    // The status names of Status.DB, in table order.
    virtual QStringList statusNames() = 0;
    // Whether the register table is open for entry.
    virtual bool entryTableOpen() = 0;
    // The claim's largest Seq ("MAX OF Seq"): 0 when the claim has no rows.
    virtual int maxSeq(const QString& claimno) = 0;
    // Stores a row in the register; it is on disk when this returns.
    virtual void store(const RegisterRow& row) = 0;
    // Each claim number that has a row with the finished status, in the order the engine lists them.
    virtual QStringList finishedClaims() = 0;
    // Closes the search query, gives it the statement's lines and parameter 0 (none when null) and
    // opens it.
    virtual void openSearch(const QStringList& lines, const QVariant& parameter) = 0;
    // The rows of the search query; none while it is closed.
    virtual QList<RegisterRow> searchRows() = 0;
    // Called whenever the search query opens or closes, whoever opened it.
    virtual void onSearchChanged(std::function<void()> listener) = 0;
};

} // namespace reg
