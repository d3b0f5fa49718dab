#pragma once

#include "register/RegisterAccess.h"

namespace reg {

class RegisterTables;

// Entry and search over the main window's data-access objects: the status list from StatusT, "MAX OF
// Seq" from VorlexQ, rows stored through VorlexT, the finished claims from VorlexQ4, the search in
// VorlexQ2.
class TablesAccess : public RegisterAccess {
public:
    explicit TablesAccess(RegisterTables& tables) : tables_(tables) {}

    QStringList statusNames() override;
    bool entryTableOpen() override;
    int maxSeq(const QString& claimno) override;
    void store(const RegisterRow& row) override;
    QStringList finishedClaims() override;
    void openSearch(const QStringList& lines, const QVariant& parameter) override;
    QList<RegisterRow> searchRows() override;
    void onSearchChanged(std::function<void()> listener) override;

private:
    RegisterTables& tables_;
};

} // namespace reg
